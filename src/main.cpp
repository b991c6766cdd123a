// Main: loads the main window, which runs the program from then on.

#include <QApplication>

#include "app/form1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Veltrascope"));
    QApplication::setApplicationName(QStringLiteral("Veltrascope"));
    // No application display name: Qt would append it to every window title
    // ("Settings — Veltra Scope"), and each window's title is its own. The
    // desktop entry gives window lists and launchers the program's name.
    QApplication::setDesktopFileName(QStringLiteral("veltrascope"));
    // The window hides itself in the notification area; only its own unload
    // ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    veltra::Form1 form;
    // "--replay FILE", or a recording handed over by the file manager.
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--replay") && i + 1 < args.size()) {
            form.ReplayAtStart = args[++i];
        } else if (args[i] == QLatin1String("--speed") && i + 1 < args.size()) {
            form.ReplaySpeedAtStart = args[++i].toInt();
        } else if (!args[i].startsWith(QLatin1Char('-'))) {
            form.ReplayAtStart = args[i];
        }
    }
    form.Form_Load();
    return QApplication::exec();
}
