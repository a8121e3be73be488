#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vlp::ui {

// The find dialog: the text to look for, Find Next and Cancel. The search always runs
// forward, ignores case and matches any substring, so it offers no options.
class FindDialog : public QDialog {
    Q_OBJECT

public:
    explicit FindDialog(QWidget* parent);

    QString FindText() const;
    void SetFindText(const QString& text);
    QLineEdit* TextEdit() const { return edit_; }
    QPushButton* FindNextButton() const { return findNext_; }

signals:
    void find();

private:
    QLineEdit* edit_;
    QPushButton* findNext_;
};

}  // namespace vlp::ui
