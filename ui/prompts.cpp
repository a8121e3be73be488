#include "ui/prompts.h"

#include <QFileDialog>
#include <QMessageBox>

#include "ui/qt_text.h"

namespace vlp::ui {
namespace {

const QString kTitle = QStringLiteral("VLP translator");

// The messages keep the system's CR line breaks; a label breaks lines at LF.
QString ForDisplay(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

void Prompts::Message(const std::string& text) {
    Information(FromCp1250(text));
}

void DialogPrompts::Information(const QString& text) {
    QMessageBox::information(parent_, kTitle, ForDisplay(text));
}

void DialogPrompts::Error(const QString& text) {
    QMessageBox::critical(parent_, kTitle, ForDisplay(text));
}

Prompts::Answer DialogPrompts::Question(const QString& text) {
    const auto button =
        QMessageBox::question(parent_, kTitle, ForDisplay(text),
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (button == QMessageBox::Yes) return Answer::Yes;
    if (button == QMessageBox::No) return Answer::No;
    return Answer::Cancel;
}

QString DialogPrompts::OpenFileName(const FileRequest& request) {
    QFileDialog dialog(parent_, request.title, request.start, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QString DialogPrompts::SaveFileName(const FileRequest& request) {
    QFileDialog dialog(parent_, request.title, request.start, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.start.isEmpty()) dialog.selectFile(request.start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace vlp::ui
