#include "ui/ambiguity_dialog.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/busy_cursor.h"
#include "ui/lazy_editor.h"
#include "ui/qt_text.h"

namespace vlp::ui {

AmbiguityDialog::AmbiguityDialog(AmbiguityHost& host, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      host_(host) {
    setObjectName(QStringLiteral("AmbForm"));
    setWindowTitle(QStringLiteral("« ambiguity »"));
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 8, 37, 5);
    layout->setSpacing(0);
    auto* group = new QButtonGroup(this);
    for (int n = 0; n < kChoiceCount; ++n) {
        auto* radio = new QRadioButton(this);
        radio->setObjectName(QStringLiteral("rb%1").arg(n));
        radio->setMinimumSize(321, 17);
        radio->hide();
        group->addButton(radio, n);
        layout->addWidget(radio);
        radios_[static_cast<std::size_t>(n)] = radio;
    }

    label1_ = new QLabel(QStringLiteral("no more «ambiguity» ..."), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    QFont big = label1_->font();
    big.setPixelSize(16);
    label1_->setFont(big);
    label1_->hide();
    layout->addWidget(label1_);

    remaining_ = new QLabel(this);
    remaining_->setObjectName(QStringLiteral("RemainingLabel"));
    layout->addStretch(1);
    layout->addWidget(remaining_);
    layout->addSpacing(6);

    button1_ = new QPushButton(QStringLiteral("replace"), this);
    button1_->setObjectName(QStringLiteral("Button1"));
    button1_->setDefault(true);
    button1_->setAutoDefault(true);
    button2_ = new QPushButton(QStringLiteral("skip"), this);
    button2_->setObjectName(QStringLiteral("Button2"));
    button3_ = new QPushButton(QStringLiteral("close"), this);
    button3_->setObjectName(QStringLiteral("Button3"));
    for (QPushButton* button : {button1_, button2_, button3_}) button->setFixedSize(75, 25);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button1_);
    buttons->addSpacing(13);
    buttons->addWidget(button2_);
    buttons->addSpacing(85);
    buttons->addWidget(button3_);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    connect(button1_, &QPushButton::clicked, this, &AmbiguityDialog::Button1Click);
    connect(button2_, &QPushButton::clicked, this, &AmbiguityDialog::Button2Click);
    connect(button3_, &QPushButton::clicked, this, &AmbiguityDialog::Button3Click);

    setMinimumSize(400, 174);
    resize(400, 174);
    move(480, 237);
}

void AmbiguityDialog::ShowAmbiguities(const std::vector<PartEditor*>& editors) {
    std::vector<Editor*> list(editors.begin(), editors.end());
    if (isVisible()) {
        // The dialog does not become visible anew: no search until the next replace or skip.
        HideShownEditor();
        editors_ = editors;
        walk_.Restart(list);
        return;
    }
    editors_ = editors;
    walk_.Start(list);
    shownEditor_ = -1;
    show();
    raise();
    FormShow();
}

void AmbiguityDialog::Reset() {
    HideShownEditor();
    editors_.clear();
    walk_.Start({});
    hide();
}

void AmbiguityDialog::FormShow() {
    label1_->hide();
    button1_->show();
    button2_->show();
    button1_->setFocus();
    BusyCursor busy;
    walk_.FindNext(host_.workspace());
    ShowCurrent();
}

void AmbiguityDialog::Button1Click() {
    if (walk_.AtEnd() || editors_.empty()) return;
    int checked = -1;
    for (int n = 0; n < kChoiceCount && checked < 0; ++n)
        if (!radios_[static_cast<std::size_t>(n)]->isHidden() &&
            radios_[static_cast<std::size_t>(n)]->isChecked())
            checked = n;
    if (checked < 0) return;  // nothing chosen: nothing to replace
    BusyCursor busy;
    walk_.Replace(host_.workspace(), checked);
    ShowCurrent();
}

void AmbiguityDialog::Button2Click() {
    if (walk_.AtEnd() || editors_.empty()) return;
    BusyCursor busy;
    walk_.Skip(host_.workspace());
    ShowCurrent();
}

void AmbiguityDialog::Button3Click() {
    HideShownEditor();
    hide();
}

void AmbiguityDialog::HideShownEditor() {
    if (shownEditor_ >= 0 && shownEditor_ < static_cast<int>(editors_.size()))
        editors_[static_cast<std::size_t>(shownEditor_)]->SetShown(false);
    shownEditor_ = -1;
}

void AmbiguityDialog::ShowCurrent() {
    for (QRadioButton* radio : radios_) radio->hide();
    if (walk_.AtEnd() || walk_.CurrentEditor() != shownEditor_) HideShownEditor();

    if (walk_.AtEnd()) {
        label1_->show();
        button1_->hide();
        button2_->hide();
        remaining_->clear();
        button3_->setFocus();
        return;
    }

    const auto& candidates = walk_.Candidates();
    const int count = std::min(static_cast<int>(candidates.size()), kChoiceCount);
    for (int n = 0; n < count; ++n) {
        QRadioButton* radio = radios_[static_cast<std::size_t>(n)];
        radio->setText(FromCp1250(candidates[static_cast<std::size_t>(n)].caption));
        radio->show();
    }
    // Wide enough for the longest sense; the description often says what tells them apart.
    if (const int wanted = sizeHint().width(); wanted > width()) resize(wanted, height());
    const int checked = walk_.CheckedCandidate();
    if (checked >= 0 && checked < count) radios_[static_cast<std::size_t>(checked)]->setChecked(true);

    const int remaining = walk_.RemainingCount();
    remaining_->setText(remaining == 1 ? QStringLiteral("1 ambiguous word left")
                                       : QStringLiteral("%1 ambiguous words left").arg(remaining));

    PartEditor* editor = editors_[static_cast<std::size_t>(walk_.CurrentEditor())];
    if (!editor->IsShown()) {
        editor->SetShown(true);
        shownEditor_ = walk_.CurrentEditor();
    }
    host_.RevealRange(editor, walk_.WordStart(), walk_.WordLength());
}

}  // namespace vlp::ui
