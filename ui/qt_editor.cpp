#include "ui/qt_editor.h"

#include <QFontDatabase>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace vlp::ui {
namespace {

constexpr int kStatusProperty = QTextFormat::UserProperty + 1;

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 128, 0);

// Codes below 0x20 never belong to a marked run; a line feed or carriage return inside a line
// is shown as its control picture and counts the same.
bool IsControl(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x240A || c.unicode() == 0x240D;
}

QFont EditorFont() {
    static const QFont font = [] {
        QFont f = QFontDatabase::families().contains(QStringLiteral("Courier New"))
                      ? QFont(QStringLiteral("Courier New"))
                      : QFontDatabase::systemFont(QFontDatabase::FixedFont);
        f.setPixelSize(12);
        f.setStyleHint(QFont::TypeWriter);
        return f;
    }();
    return font;
}

QTextBlockFormat LineFormat() {
    QTextBlockFormat format;
    format.setLineHeight(kLineHeight, QTextBlockFormat::FixedHeight);
    return format;
}

// Runs the edit without recording it for undo: the core's edits are whole steps of the
// program (translation, replacing an ambiguity), not typing.
template <typename F>
void WithoutUndo(QTextDocument* document, F&& edit) {
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    edit();
    document->setUndoRedoEnabled(undo);
}

}  // namespace

void QtEditor::PrepareDocument(QTextDocument* document) {
    document->setDefaultFont(EditorFont());
    document->setDocumentMargin(2);
    QTextCursor cursor(document);
    cursor.select(QTextCursor::Document);
    cursor.mergeBlockFormat(LineFormat());
}

QTextCharFormat QtEditor::MarkFormat(int status) {
    QTextCharFormat format;
    switch (status) {
        case kMarkTranslated:
            format.setForeground(kBlue);
            break;
        case kMarkAmbiguous:
            format.setForeground(kRed);
            format.setFontWeight(QFont::Bold);
            break;
        case kMarkResolved:
            format.setForeground(kGreen);
            format.setFontWeight(QFont::Normal);
            break;
        default:
            return format;
    }
    format.setProperty(kStatusProperty, status);
    return format;
}

int QtEditor::StatusOf(const QTextCharFormat& format) {
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().color().rgb() == kRed.rgb() &&
        format.fontWeight() >= QFont::Bold)
        return kMarkAmbiguous;
    const int recorded = format.intProperty(kStatusProperty);
    return recorded == kMarkTranslated || recorded == kMarkResolved ? recorded : kUnmarked;
}

std::string QtEditor::Text() const {
    if (document_->blockCount() == 1 && document_->firstBlock().length() <= 1) return {};
    std::string out;
    out.reserve(static_cast<std::size_t>(document_->characterCount() + document_->blockCount()));
    for (QTextBlock block = document_->firstBlock(); block.isValid(); block = block.next()) {
        out += ToCp1250(block.text());
        out += "\r\n";
    }
    return out;
}

void QtEditor::InsertText(QTextCursor& cursor, std::string_view text, const QTextCharFormat& format,
                          bool keepFinalLineEnd) {
    // One QString with paragraph separators: the cursor makes a block of each line, with the
    // block format of the line it starts in.
    QString joined;
    joined.reserve(static_cast<qsizetype>(text.size()));
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find("\r\n", begin);
        const bool last = end == std::string_view::npos;
        if (last) end = text.size();
        joined += FromCp1250(text.substr(begin, end - begin));
        if (last) break;
        begin = end + 2;
        if (begin < text.size() || keepFinalLineEnd) joined += QChar::ParagraphSeparator;
    }
    cursor.insertText(joined, format);
}

void QtEditor::SetText(std::string_view text) {
    WithoutUndo(document_, [&] {
        QTextCursor cursor(document_);
        cursor.beginEditBlock();
        cursor.select(QTextCursor::Document);
        cursor.removeSelectedText();
        cursor.setBlockFormat(LineFormat());
        cursor.setCharFormat(QTextCharFormat());
        InsertText(cursor, text, QTextCharFormat(), false);
        cursor.endEditBlock();
    });
}

std::vector<int> QtEditor::LineStarts() const {
    std::vector<int> starts;
    starts.reserve(static_cast<std::size_t>(document_->blockCount()));
    int line = 0;
    for (QTextBlock block = document_->firstBlock(); block.isValid(); block = block.next(), ++line)
        starts.push_back(block.position() + line);
    return starts;
}

int QtEditor::ToPosition(const std::vector<int>& starts, int offset) const {
    if (offset <= 0 || starts.empty()) return 0;
    const auto it = std::upper_bound(starts.begin(), starts.end(), offset);
    const int line = static_cast<int>(it - starts.begin()) - 1;
    const QTextBlock block = document_->findBlockByNumber(line);
    const int column = std::min(offset - starts[static_cast<std::size_t>(line)], block.length() - 1);
    return block.position() + column;
}

int QtEditor::ToPosition(int offset) const {
    return ToPosition(LineStarts(), offset);
}

int QtEditor::ToOffset(int position) const {
    const QTextBlock block = document_->findBlock(position);
    return block.isValid() ? position + block.blockNumber() : 0;
}

void QtEditor::SetMarks(const std::vector<Mark>& marks) {
    if (marks.empty()) return;
    const std::vector<int> starts = LineStarts();
    WithoutUndo(document_, [&] {
        QTextCursor cursor(document_);
        cursor.beginEditBlock();
        for (const Mark& mark : marks) {
            const int begin = ToPosition(starts, mark.start);
            const int end = ToPosition(starts, mark.start + std::max(mark.length, 0));
            if (end <= begin) continue;
            cursor.setPosition(begin);
            cursor.setPosition(end, QTextCursor::KeepAnchor);
            cursor.setCharFormat(MarkFormat(mark.status));
        }
        cursor.endEditBlock();
    });
}

std::vector<Mark> QtEditor::MarkedRuns() const {
    std::vector<Mark> runs;
    int line = 0;
    for (QTextBlock block = document_->firstBlock(); block.isValid(); block = block.next(), ++line) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            const int status = StatusOf(fragment.charFormat());
            if (status == kUnmarked) continue;
            const QString text = fragment.text();
            const int base = fragment.position() + line;
            for (int i = 0; i < text.size(); ++i) {
                if (IsControl(text[i])) continue;
                const int offset = base + i;
                if (!runs.empty() && runs.back().status == status &&
                    runs.back().start + runs.back().length == offset)
                    ++runs.back().length;
                else
                    runs.push_back({offset, 1, status});
            }
        }
    }
    return runs;
}

void QtEditor::Replace(int start, int length, std::string_view text, int status) {
    const std::vector<int> starts = LineStarts();
    const int begin = ToPosition(starts, start);
    const int end = std::max(begin, ToPosition(starts, start + std::max(length, 0)));
    WithoutUndo(document_, [&] {
        QTextCursor cursor(document_);
        cursor.beginEditBlock();
        cursor.setPosition(begin);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        InsertText(cursor, text, MarkFormat(status), true);
        cursor.endEditBlock();
    });
}

std::optional<QtEditor::BadCharacter> QtEditor::FindUnencodable() const {
    int line = 1;
    for (QTextBlock block = document_->firstBlock(); block.isValid(); block = block.next(), ++line) {
        if (auto bad = ui::FindUnencodable(block.text()))
            return BadCharacter{bad->codePoint, line, bad->index + 1};
    }
    return std::nullopt;
}

}  // namespace vlp::ui
