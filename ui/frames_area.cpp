#include "ui/frames_area.h"

#include <QScrollBar>
#include <algorithm>

#include "ui/section_frame.h"

namespace vlp::ui {

FramesArea::FramesArea(QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("ScrollBox1"));
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    content_ = new QWidget;
    content_->setObjectName(QStringLiteral("FramesContent"));
    setWidget(content_);
    verticalScrollBar()->setSingleStep(15);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &FramesArea::MaterialiseVisible);
}

FramesArea::~FramesArea() {
    disconnect(verticalScrollBar(), nullptr, this, nullptr);
    Clear();
}

SectionFrame* FramesArea::AddFrame() {
    auto* frame = new SectionFrame(static_cast<int>(frames_.size()) + 1, content_);
    frames_.push_back(frame);
    stale_ = true;
    connect(frame, &SectionFrame::heightChanged, this, &FramesArea::Relayout);
    // While the area is shown a new child must be shown by hand; while it is hidden (an open
    // in progress) the frames appear with it.
    if (content_->isVisible()) frame->show();
    return frame;
}

void FramesArea::Clear() {
    for (auto it = frames_.rbegin(); it != frames_.rend(); ++it) delete *it;
    frames_.clear();
    content_->resize(viewport()->width(), 0);
}

void FramesArea::BeginBatch() {
    ++batch_;
}

void FramesArea::EndBatch() {
    if (--batch_ == 0 && pending_) Relayout();
}

void FramesArea::Relayout() {
    if (batch_ > 0) {
        pending_ = true;
        stale_ = true;
        return;
    }
    pending_ = false;
    stale_ = false;
    const int width = viewport()->width();
    int top = 0;
    for (SectionFrame* frame : frames_) {
        const int height = frame->ContentHeight();
        frame->setGeometry(0, top, width, height);
        top += height + kFrameGap;
    }
    content_->resize(width, std::max(top - kFrameGap, 0));
    MaterialiseVisible();
}

void FramesArea::MaterialiseVisible() {
    // Until the frames are stacked their positions say nothing about what is in view.
    if (frames_.empty() || stale_) return;
    // A little more than the view, so that scrolling by a line finds the editors ready.
    const int margin = viewport()->height() / 2;
    const int top = verticalScrollBar()->value() - margin;
    const int bottom = verticalScrollBar()->value() + viewport()->height() + margin;
    auto first = std::lower_bound(frames_.begin(), frames_.end(), top, [](const SectionFrame* frame, int y) {
        return frame->geometry().bottom() < y;
    });
    for (auto it = first; it != frames_.end() && (*it)->y() < bottom; ++it)
        (*it)->MaterialiseBetween(top - (*it)->y(), bottom - (*it)->y());
}

void FramesArea::Reveal(QWidget* child, const QRect& rect) {
    const QPoint topLeft = child->mapTo(content_, rect.topLeft());
    ensureVisible(topLeft.x(), topLeft.y() + rect.height() / 2, 0, std::max(rect.height(), 40));
}

void FramesArea::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    Relayout();
}

}  // namespace vlp::ui
