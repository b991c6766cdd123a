// Main: loads the main window, which runs the program from then on.

#include <QApplication>

#include "app/form1.h"
#include "app/frame_timings.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Veltrascope"));
    QApplication::setApplicationName(QStringLiteral("Veltrascope"));
    QApplication::setApplicationDisplayName(QStringLiteral("Veltra Scope"));
    // The window hides itself in the notification area; only its own unload
    // ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    veltra::Form1 form;
    // Read once: without the variable the timing code is never reached.
    const auto timings = veltra::FrameTimings::FromEnvironment(form);
    form.Form_Load();
    return QApplication::exec();
}
