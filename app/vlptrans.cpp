// The window: creates the main window and the ambiguity dialog and runs the event loop until
// the main window closes. The first command-line argument names a project to open.
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "ui/ambiguity_dialog.h"
#include "ui/main_window.h"

namespace {

// Development aid: `--screenshot-dir DIR project.vlp` opens the project, picks the first
// language it can translate into, translates, opens the ambiguity dialog, saves pictures of
// the window and the dialog into DIR and quits without saving anything.
void TakeScreenshots(vlp::ui::MainWindow& window, const QString& dir) {
    QDir().mkpath(dir);
    auto save = [&](QWidget* widget, const char* name) {
        widget->grab().save(QDir(dir).filePath(QString::fromLatin1(name)));
    };
    QApplication::processEvents();
    save(&window, "main_project_opened.png");
    for (int k = 0; k < 7; ++k) {
        QToolButton* button = window.LanguageButton(k);
        if (window.LanguageButtonShown(k) && button->isEnabled()) {
            button->click();
            break;
        }
    }
    window.TranslateButton()->trigger();
    QApplication::processEvents();
    save(&window, "main_project_translated.png");
    window.AmbiguityButton()->trigger();
    QApplication::processEvents();
    save(&window, "main_project_ambiguity.png");
    save(window.ambiguityDialog(), "ambiguity_dialog.png");
    // Both windows as the screen shows them (a real display only; offscreen has no screen).
    if (QScreen* screen = window.screen()) {
        const QRect both = window.frameGeometry().united(window.ambiguityDialog()->frameGeometry());
        const QPixmap shot = screen->grabWindow(0, both.x(), both.y(), both.width(), both.height());
        if (!shot.isNull()) shot.save(QDir(dir).filePath(QStringLiteral("window_with_ambiguity_dialog.png")));
    }
    window.ambiguityDialog()->Button3Click();
    window.TabControl1()->setCurrentIndex(1);
    QApplication::processEvents();
    save(&window, "main_names.png");
    QCoreApplication::exit(0);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vlptrans"));
#ifdef VLP_VERSION
    QCoreApplication::setApplicationVersion(QStringLiteral(VLP_VERSION));
#endif
    // Without a desktop icon theme the tool bar falls back to the style's own images; a
    // common freedesktop theme, when installed, gives it proper ones.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));

    QStringList arguments = QCoreApplication::arguments().mid(1);
    QString screenshotDir;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--screenshot-dir"));
        at >= 0 && at + 1 < arguments.size()) {
        screenshotDir = arguments.at(at + 1);
        arguments.remove(at, 2);
    }

    vlp::ui::MainWindowOptions options;
    options.arguments = arguments;
    vlp::ui::MainWindow window(std::move(options));
    auto* ambiguity = new vlp::ui::AmbiguityDialog(window, &window);
    window.SetAmbiguityDialog(ambiguity);
    window.show();
    if (!screenshotDir.isEmpty())
        QTimer::singleShot(300, &window,
                           [&window, screenshotDir] { TakeScreenshots(window, screenshotDir); });
    return QApplication::exec();
}
