// Main: loads the main window, which runs the program from then on.

#include <QApplication>

#include "app/form1.h"
#include "app/frame_timings.h"

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
    // Read once: without the variable the timing code is never reached.
    const auto timings = veltra::FrameTimings::FromEnvironment(form);
    form.Form_Load();
    return QApplication::exec();
}
