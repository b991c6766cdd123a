// Main: loads the main window, which runs the program from then on.

#include <QApplication>

#include "app/form1.h"
#include "app/shutdown_signals.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Veltrascope"));
    QApplication::setApplicationName(QStringLiteral("Veltrascope"));
    QApplication::setApplicationDisplayName(QStringLiteral("Veltra Scope"));
    // The window hides itself in the notification area; only its own unload
    // ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    veltra::Form1 form;
    // Logout, Ctrl-C and a closed terminal end the program as the close box
    // would, so that geometry, the working log and the port are looked after.
    veltra::ShutdownSignals shutdownSignals;
    QObject::connect(&shutdownSignals, &veltra::ShutdownSignals::shutdownRequested, &form,
                     [&form] { form.endWithoutQuestion(); });
    form.Form_Load();
    // A signal taken inside a box that start-up showed has ended the program
    // already; the loop it quit will not run again.
    if (form.unloaded()) {
        return 0;
    }
    return QApplication::exec();
}
