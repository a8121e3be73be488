// The window: creates the main window and the ambiguity dialog and runs the event loop until
// the main window closes. The first command-line argument names a project to open.
#include <QApplication>
#include <QIcon>

#include "ui/ambiguity_dialog.h"
#include "ui/main_window.h"

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

    vlp::ui::MainWindowOptions options;
    options.arguments = QCoreApplication::arguments().mid(1);
    vlp::ui::MainWindow window(std::move(options));
    auto* ambiguity = new vlp::ui::AmbiguityDialog(window, &window);
    window.SetAmbiguityDialog(ambiguity);
    window.show();
    return QApplication::exec();
}
