#include "ui/lazy_editor.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

#include "ui/section_frame.h"

namespace vlp::ui {

PartEditor::PartEditor(SectionFrame* frame, int index, std::string_view text, int kind, std::string className)
    : frame_(frame), index_(index), kind_(kind), className_(std::move(className)) {
    memory_.SetText(text);
    CountLines();
}

PartEditor::~PartEditor() {
    // The widget belongs to the frame; when the part goes first, take the widget with it.
    if (edit_) delete edit_.data();
}

Editor& PartEditor::Active() {
    return qt_ ? static_cast<Editor&>(*qt_) : memory_;
}
const Editor& PartEditor::Active() const {
    return qt_ ? static_cast<const Editor&>(*qt_) : memory_;
}

std::string PartEditor::Text() const {
    return Active().Text();
}

std::string_view PartEditor::TextView(std::string& storage) const {
    return Active().TextView(storage);
}

void PartEditor::SetText(std::string_view text) {
    Active().SetText(text);
    if (CountLines()) frame_->PartHeightChanged();
}

void PartEditor::SetMarks(const std::vector<Mark>& marks) {
    Active().SetMarks(marks);
}

std::vector<Mark> PartEditor::MarkedRuns() const {
    return Active().MarkedRuns();
}

void PartEditor::Replace(int start, int length, std::string_view text, int status) {
    Active().Replace(start, length, text, status);
    if (CountLines()) frame_->PartHeightChanged();
}

bool PartEditor::CountLines() {
    if (qt_) return false;  // the document reports its own changes
    const std::string_view text = memory_.View();
    int lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n", at + 2)) ++lines;
    if (!text.empty() && !text.ends_with("\r\n")) ++lines;
    const int before = memoryLines_;
    memoryLines_ = std::max(lines, 1);
    return before != memoryLines_;
}

int PartEditor::LineCount() const {
    return qt_ ? qt_->document()->blockCount() : memoryLines_;
}

QTextEdit* PartEditor::Materialise() {
    if (edit_) return edit_;
    auto* edit = new QTextEdit(frame_);
    edit->setObjectName(QStringLiteral("RichEdit%1").arg(index_ + 1));
    edit->setLineWrapMode(QTextEdit::NoWrap);
    edit->setAcceptRichText(false);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setFrameStyle(QFrame::Box | QFrame::Plain);
    edit->setLineWidth(1);

    // Fill a document that no widget shows yet: formatting it mark by mark costs nothing
    // before it is laid out.
    auto* document = new QTextDocument(edit);
    QtEditor::PrepareDocument(document);
    auto qt = std::make_unique<QtEditor>(document);
    qt->SetText(memory_.Text());
    qt->SetMarks(memory_.MarkedRuns());
    document->setUndoRedoEnabled(true);
    edit->setDocument(document);
    edit->setFont(document->defaultFont());
    edit->setTabStopDistance(48);

    qt_ = std::move(qt);
    edit_ = edit;
    memory_ = MemoryEditor();
    QObject::connect(document, &QTextDocument::blockCountChanged, edit,
                     [this] { frame_->PartHeightChanged(); });
    edit->setGeometry(geometry_);
    edit->setVisible(shown_);
    return edit;
}

void PartEditor::SetShown(bool shown) {
    if (shown_ == shown) return;
    shown_ = shown;
    if (edit_) edit_->setVisible(shown);
    frame_->PartHeightChanged();
}

void PartEditor::SetGeometry(const QRect& rect) {
    geometry_ = rect;
    if (edit_) edit_->setGeometry(rect);
}

void PartEditor::Select(int start, int length) {
    QTextEdit* edit = Materialise();
    QTextCursor cursor(edit->document());
    cursor.setPosition(qt_->ToPosition(start));
    cursor.setPosition(qt_->ToPosition(start + length), QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
}

int PartEditor::SelectionEnd() const {
    if (!qt_) return 0;
    return qt_->ToOffset(edit_->textCursor().selectionEnd());
}

std::optional<QtEditor::BadCharacter> PartEditor::FindUnencodable() const {
    // A MemoryEditor holds Windows-1250 bytes already.
    return qt_ ? qt_->FindUnencodable() : std::nullopt;
}

}  // namespace vlp::ui
