#pragma once

#include <QTextCharFormat>
#include <optional>
#include <string>
#include <vector>

#include "translate/editor.h"
#include "ui/qt_text.h"

class QTextCursor;
class QTextDocument;

namespace vlp::ui {

// The core's editor interface over a Qt text document. The core counts a line end as the two
// characters CR LF, the document as one block separator, so every offset is mapped. Works on
// a document that is shown in a QTextEdit as well as on one that is not (yet).
class QtEditor : public Editor {
public:
    explicit QtEditor(QTextDocument* document) : document_(document) {}

    std::string Text() const override;
    void SetText(std::string_view text) override;
    void SetMarks(const std::vector<Mark>& marks) override;
    std::vector<Mark> MarkedRuns() const override;
    void Replace(int start, int length, std::string_view text, int status) override;

    QTextDocument* document() const { return document_; }

    // Core offset -> document position and back.
    int ToPosition(int offset) const;
    int ToOffset(int position) const;

    // A character that Windows-1250 cannot hold, with its 1-based line and column.
    struct BadCharacter {
        char32_t codePoint = 0;
        int line = 0;
        int column = 0;
    };
    std::optional<BadCharacter> FindUnencodable() const;

    // The look and the recorded status of each mark.
    static QTextCharFormat MarkFormat(int status);
    // Red and bold is ambiguous whoever coloured it; otherwise the recorded status counts.
    static int StatusOf(const QTextCharFormat& format);
    // Font, margins and line height every part editor's document gets.
    static void PrepareDocument(QTextDocument* document);

private:
    // Core offset of the start of every block.
    std::vector<int> LineStarts() const;
    int ToPosition(const std::vector<int>& starts, int offset) const;
    // Inserts CR LF separated lines; a final CR LF ends the last line without starting
    // another unless `keepFinalLineEnd`.
    void InsertText(QTextCursor& cursor, std::string_view text, const QTextCharFormat& format,
                    bool keepFinalLineEnd);

    QTextDocument* document_;
};

inline constexpr int kLineHeight = 15;    // pixels per editor line
inline constexpr int kEditorPadding = 6;  // frame and margins, top and bottom together

}  // namespace vlp::ui
