#pragma once

#include <QPointer>
#include <QTextEdit>
#include <memory>
#include <optional>
#include <string>

#include "translate/memory_editor.h"
#include "ui/qt_editor.h"

namespace vlp::ui {

class SectionFrame;

// One part of a section frame: the editor the core translates, walks, searches and saves.
// A project may hold thousands of parts, and a QTextEdit is costly to create and lay out, so
// the text lives in a MemoryEditor until the part first comes into view; then a QTextEdit is
// made and takes the text and its marks over. The core sees one editor throughout.
class PartEditor : public Editor {
public:
    PartEditor(SectionFrame* frame, int index, std::string_view text, int kind, std::string className);
    ~PartEditor() override;
    PartEditor(const PartEditor&) = delete;
    PartEditor& operator=(const PartEditor&) = delete;

    std::string Text() const override;
    std::string_view TextView(std::string& storage) const override;
    void SetText(std::string_view text) override;
    void SetMarks(const std::vector<Mark>& marks) override;
    std::vector<Mark> MarkedRuns() const override;
    void Replace(int start, int length, std::string_view text, int status) override;

    int kind() const { return kind_; }
    const std::string& className() const { return className_; }
    SectionFrame* frame() const { return frame_; }
    int index() const { return index_; }

    // The QTextEdit, made on first use ("RichEdit" + index + 1, a child of the frame).
    QTextEdit* Materialise();
    bool IsMaterialised() const { return edit_ != nullptr; }
    QTextEdit* widget() const { return edit_; }

    // Shown or hidden inside its frame (folding hides every part).
    bool IsShown() const { return shown_; }
    void SetShown(bool shown);

    int LineCount() const;
    // Lines × 15 + 6 pixels: as tall as its lines need, no scroll bars of its own.
    int Height() const { return LineCount() * kLineHeight + kEditorPadding; }
    // Where the frame puts it; applied to the widget once it exists.
    void SetGeometry(const QRect& rect);
    const QRect& geometry() const { return geometry_; }

    // Selects a range given in core offsets and shows the caret (materialises the part).
    void Select(int start, int length);
    // The end of the selection (the caret when nothing is selected), in core offsets.
    int SelectionEnd() const;

    std::optional<QtEditor::BadCharacter> FindUnencodable() const;

private:
    Editor& Active();
    const Editor& Active() const;
    // Recounts the lines of the in-memory text; true when the count changed.
    bool CountLines();

    SectionFrame* frame_;
    int index_;
    int kind_;
    std::string className_;
    MemoryEditor memory_;
    int memoryLines_ = 1;
    QPointer<QTextEdit> edit_;
    std::unique_ptr<QtEditor> qt_;
    bool shown_ = true;
    QRect geometry_;
};

}  // namespace vlp::ui
