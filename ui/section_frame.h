#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "project/project_state.h"
#include "translate/text_translation.h"
#include "ui/lazy_editor.h"

class QCheckBox;

namespace vlp::ui {

// One section of the project: a navy caption bar with a check box that folds and unfolds the
// frame, and under it one editor per part of the section.
class SectionFrame : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCaptionHeight = 17;

    // Named "Object" + number.
    SectionFrame(int number, QWidget* parent);
    ~SectionFrame() override;

    // Shows one parsed section: its caption and its parts.
    void LoadSection(const TStruct& section);
    // Appends one part; an empty text makes none.
    void AddEditor(std::string_view text, int kind, const std::string& className);

    QCheckBox* CheckBox1() const { return checkBox_; }
    QWidget* Panel1() const { return panel_; }
    int PartCount() const { return static_cast<int>(parts_.size()); }
    PartEditor* Part(int index) const { return parts_[static_cast<std::size_t>(index)].get(); }
    // The parts as translation and reassembly take them.
    TFrameStruct FrameStruct() const;

    bool IsFolded() const;
    // Caption bar plus the parts that are shown.
    int ContentHeight() const;
    // Makes the QTextEdit of every shown part that reaches into [top, bottom) (frame
    // coordinates).
    void MaterialiseBetween(int top, int bottom);

    // A part's height or visibility changed.
    void PartHeightChanged();

signals:
    void heightChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CheckBox1Click(bool checked);
    void LayoutParts();

    QWidget* panel_;
    QCheckBox* checkBox_;
    std::vector<std::unique_ptr<PartEditor>> parts_;
};

}  // namespace vlp::ui
