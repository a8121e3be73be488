#pragma once

#include <QString>
#include <string>

#include "project/reporter.h"

class QWidget;

// Every message box and file dialog of the window goes through this interface, so tests can
// answer them without a modal loop.
namespace vlp::ui {

struct FileRequest {
    QString title;
    QString filter;         // "Vorlane Projekt VLP (*.vlp)"
    QString defaultSuffix;  // "vlp", added when the user types a name without one
    QString start;          // folder, or a proposed file name
};

class Prompts : public Reporter {
public:
    enum class Answer { Yes, No, Cancel };

    // Reporter: an expected problem from the core (Windows-1250 text).
    void Message(const std::string& text) override;

    virtual void Information(const QString& text) = 0;
    virtual void Error(const QString& text) = 0;
    virtual Answer Question(const QString& text) = 0;
    // The chosen file, or an empty string when the user cancelled.
    virtual QString OpenFileName(const FileRequest& request) = 0;
    virtual QString SaveFileName(const FileRequest& request) = 0;
};

// The real boxes and dialogs.
class DialogPrompts : public Prompts {
public:
    explicit DialogPrompts(QWidget* parent) : parent_(parent) {}
    void Information(const QString& text) override;
    void Error(const QString& text) override;
    Answer Question(const QString& text) override;
    QString OpenFileName(const FileRequest& request) override;
    QString SaveFileName(const FileRequest& request) override;

private:
    QWidget* parent_;
};

}  // namespace vlp::ui
