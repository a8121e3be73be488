#pragma once

#include <QDialog>
#include <array>
#include <vector>

#include "project/project_state.h"
#include "translate/ambiguity_walk.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace vlp::ui {

class PartEditor;

// What the dialog needs of the main window.
class AmbiguityHost {
public:
    virtual ~AmbiguityHost() = default;
    virtual Workspace& workspace() = 0;
    // Selects the range (core offsets) in the editor, gives it the focus and scrolls it into
    // view; the editor is shown already.
    virtual void RevealRange(PartEditor* editor, int start, int length) = 0;
};

// The ambiguity dialog: walks through the red bold words of all editors, offers the senses of
// each as radio buttons and replaces, skips or stops. The walk itself is the core's; this
// window only draws it.
class AmbiguityDialog : public QDialog {
    Q_OBJECT

public:
    AmbiguityDialog(AmbiguityHost& host, QWidget* parent);

    // The Ambiguity command. Shows the dialog and starts the walk; when the dialog is visible
    // already, only takes the editor list again and resets the position.
    void ShowAmbiguities(const std::vector<PartEditor*>& editors);
    // The editors are about to go (a new project): forget them and hide.
    void Reset();

    QRadioButton* Radio(int n) const { return radios_[static_cast<std::size_t>(n)]; }
    QLabel* Label1() const { return label1_; }
    QLabel* RemainingLabel() const { return remaining_; }
    QPushButton* Button1() const { return button1_; }
    QPushButton* Button2() const { return button2_; }
    QPushButton* Button3() const { return button3_; }
    const AmbiguityWalk& walk() const { return walk_; }
    int ShownEditor() const { return shownEditor_; }

    void Button1Click();  // replace
    void Button2Click();  // skip
    void Button3Click();  // close

private:
    void FormShow();
    // Draws what the walk found (or its end).
    void ShowCurrent();
    void HideShownEditor();

    AmbiguityHost& host_;
    std::array<QRadioButton*, kChoiceCount> radios_{};
    QLabel* label1_;
    QLabel* remaining_;
    QPushButton* button1_;
    QPushButton* button2_;
    QPushButton* button3_;

    std::vector<PartEditor*> editors_;
    AmbiguityWalk walk_;
    int shownEditor_ = -1;
};

}  // namespace vlp::ui
