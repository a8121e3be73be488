#include "ui/section_frame.h"

#include <QCheckBox>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

#include "project/section_parts.h"
#include "ui/qt_text.h"

namespace vlp::ui {

SectionFrame::SectionFrame(int number, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Object%1").arg(number));

    panel_ = new QWidget(this);
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setAutoFillBackground(true);
    QPalette barPalette = panel_->palette();
    barPalette.setColor(QPalette::Window, QColor(0, 0, 128));
    panel_->setPalette(barPalette);

    checkBox_ = new QCheckBox(panel_);
    checkBox_->setObjectName(QStringLiteral("CheckBox1"));
    checkBox_->setChecked(true);
    checkBox_->setFocusPolicy(Qt::NoFocus);
    QFont captionFont = checkBox_->font();
    captionFont.setBold(true);
    captionFont.setPixelSize(11);
    checkBox_->setFont(captionFont);
    QPalette captionPalette = checkBox_->palette();
    captionPalette.setColor(QPalette::WindowText, Qt::yellow);
    captionPalette.setColor(QPalette::ButtonText, Qt::yellow);
    checkBox_->setPalette(captionPalette);
    connect(checkBox_, &QCheckBox::toggled, this, &SectionFrame::CheckBox1Click);

    resize(443, kCaptionHeight);
}

SectionFrame::~SectionFrame() = default;

void SectionFrame::LoadSection(const TStruct& section) {
    checkBox_->setText(FromCp1250(SectionCaption(section)));
    for (const PartText& part : SectionParts(section)) AddEditor(part.text, part.kind, part.className);
}

void SectionFrame::AddEditor(std::string_view text, int kind, const std::string& className) {
    if (text.empty()) return;
    parts_.push_back(std::make_unique<PartEditor>(this, PartCount(), text, kind, className));
    LayoutParts();
}

TFrameStruct SectionFrame::FrameStruct() const {
    TFrameStruct parts;
    parts.reserve(parts_.size());
    for (const auto& part : parts_) parts.push_back({part.get(), part->kind(), part->className()});
    return parts;
}

bool SectionFrame::IsFolded() const {
    return !checkBox_->isChecked();
}

int SectionFrame::ContentHeight() const {
    int height = kCaptionHeight;
    for (const auto& part : parts_)
        if (part->IsShown()) height += part->Height();
    return height;
}

void SectionFrame::CheckBox1Click(bool checked) {
    // Shown from the first to the last, hidden from the last to the first.
    if (checked) {
        for (auto& part : parts_) part->SetShown(true);
    } else {
        for (auto it = parts_.rbegin(); it != parts_.rend(); ++it) (*it)->SetShown(false);
    }
}

void SectionFrame::PartHeightChanged() {
    LayoutParts();
    emit heightChanged();
}

void SectionFrame::LayoutParts() {
    panel_->setGeometry(0, 0, width(), kCaptionHeight);
    checkBox_->setGeometry(0, 1, std::max(width(), 480), 15);
    int top = kCaptionHeight;
    for (auto& part : parts_) {
        const int height = part->Height();
        part->SetGeometry(QRect(0, top, width(), height));
        if (part->IsShown()) top += height;
    }
    update();
}

void SectionFrame::MaterialiseBetween(int top, int bottom) {
    for (auto& part : parts_) {
        if (!part->IsShown() || part->IsMaterialised()) continue;
        const QRect& rect = part->geometry();
        if (rect.bottom() >= top && rect.top() < bottom) part->Materialise();
    }
}

void SectionFrame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutParts();
}

void SectionFrame::paintEvent(QPaintEvent* event) {
    // A part not yet made into a QTextEdit is drawn as an empty editor, and made as soon as
    // the event loop comes round (the frames area normally makes it before it is seen).
    QPainter painter(this);
    bool pending = false;
    for (const auto& part : parts_) {
        if (!part->IsShown() || part->IsMaterialised() || !part->geometry().intersects(event->rect()))
            continue;
        painter.fillRect(part->geometry(), palette().base());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(part->geometry().adjusted(0, 0, -1, -1));
        pending = true;
    }
    if (pending) {
        const QRect exposed = event->rect();
        QTimer::singleShot(0, this,
                           [this, exposed] { MaterialiseBetween(exposed.top(), exposed.bottom() + 1); });
    }
}

}  // namespace vlp::ui
