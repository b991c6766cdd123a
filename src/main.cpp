// Main: answers --help and --version, makes sure a display can be reached,
// then loads the main window, which runs the program from then on.

#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <string_view>
#include <vector>

#include "app/frame_timings.h"
#include "app/main_window.h"
#include "app/shutdown_signals.h"
#include "shell/command_line.h"
#include "shell/display_choice.h"
#include "shell/qt/x11_display_probe.h"
#include "shell/version.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    switch (veltra::ParseCommandLine(args)) {
        case veltra::CommandLineAction::ShowHelp:
            std::cout << veltra::ProgramHelpText();
            return std::cout.flush() ? 0 : 2;
        case veltra::CommandLineAction::ShowVersion:
            std::cout << veltra::VersionBanner("veltrascope");
            return std::cout.flush() ? 0 : 2;
        case veltra::CommandLineAction::Run:
            break;
    }
    const veltra::DisplaySetting display =
        veltra::ReadDisplaySetting(args, std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                                   std::getenv("WAYLAND_DISPLAY"), std::getenv("XDG_SESSION_TYPE"));
    if (veltra::NeedsX11(display) && !veltra::X11DisplayAnswers(display.x11Display)) {
        std::cerr << veltra::kNoDisplayMessage << '\n';
        return 2;
    }

    // A changed frame repaints a few small elements of the face. Put through
    // X shared memory, an area must not be painted again before the X server
    // has read it, and Qt waits for the server (a round trip) whenever it
    // would: most changed frames then wake the program twice. Sent down the
    // connection, those few pixels need no wait. Only the X connection made
    // now reads the variable; programs started later do not inherit it.
    const bool sharedMemoryChosen = qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM");
    if (!sharedMemoryChosen) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
    QApplication app(argc, argv);
    if (!sharedMemoryChosen) {
        qunsetenv("QT_XCB_NO_MITSHM");
    }
    QApplication::setOrganizationName(QStringLiteral("Veltrascope"));
    QApplication::setApplicationName(QStringLiteral("Veltrascope"));
    // No application display name: Qt would append it to every window title
    // ("Settings — Veltra Scope"), and each window's title is its own. The
    // desktop file name lets a compositor and launchers match the window with
    // its menu entry and icon.
    QApplication::setDesktopFileName(QStringLiteral("veltrascope"));
    // The window hides itself in the notification area; only its own unload
    // ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    veltra::MainWindow form;
    // Read once: without the variable the timing code is never reached.
    const auto timings = veltra::FrameTimings::FromEnvironment(form);
    // "--replay FILE", or a recording handed over by the file manager.
    // Qt has taken its own options out of these by now.
    const QStringList rest = QApplication::arguments();
    for (qsizetype i = 1; i < rest.size(); ++i) {
        if (rest[i] == QLatin1String("--replay") && i + 1 < rest.size()) {
            form.ReplayAtStart = rest[++i];
        } else if (rest[i] == QLatin1String("--speed") && i + 1 < rest.size()) {
            form.ReplaySpeedAtStart = rest[++i].toInt();
        } else if (!rest[i].startsWith(QLatin1Char('-'))) {
            form.ReplayAtStart = rest[i];
        }
    }
    // Logout, Ctrl-C and a closed terminal end the program as the close box
    // would, so that geometry, the working log and the port are looked after.
    veltra::ShutdownSignals shutdownSignals;
    QObject::connect(&shutdownSignals, &veltra::ShutdownSignals::shutdownRequested, &form,
                     [&form] { form.endWithoutQuestion(); });
    form.restoreSettings();
    // A signal taken inside a box that start-up showed has ended the program
    // already; the loop it quit will not run again.
    if (form.unloaded()) {
        return 0;
    }
    return QApplication::exec();
}
