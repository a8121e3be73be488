#pragma once

#include <QScrollArea>
#include <vector>

namespace vlp::ui {

class SectionFrame;

// The scrolling area of the "project" tab ("ScrollBox1"). Frames stack from the top, 5 pixels
// apart, as wide as the view; only the parts that come into view get their QTextEdit.
class FramesArea : public QScrollArea {
    Q_OBJECT

public:
    static constexpr int kFrameGap = 5;

    explicit FramesArea(QWidget* parent);
    ~FramesArea() override;

    // A new frame under the last one, named "Object" + its 1-based position.
    SectionFrame* AddFrame();
    // Destroys every frame, from the last to the first.
    void Clear();
    const std::vector<SectionFrame*>& Frames() const { return frames_; }

    // Stacks the frames again (after a fold, or a part that grew).
    void Relayout();
    // Many frames change at once (Show all): stack them once at the end.
    void BeginBatch();
    void EndBatch();

    // Scrolls so that `rect` (in the coordinates of `child`, a descendant) is in view.
    void Reveal(QWidget* child, const QRect& rect);
    void MaterialiseVisible();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* content_;
    std::vector<SectionFrame*> frames_;
    int batch_ = 0;
    bool pending_ = false;
    bool stale_ = false;  // frames added or changed since they were last stacked
};

}  // namespace vlp::ui
