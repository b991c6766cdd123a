#include "app/shutdown_signals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace veltra {

namespace {

constexpr std::array kShutdownSignals = {SIGTERM, SIGINT, SIGHUP};

// A signal handler may do next to nothing safely; writing one byte to a
// socket is one of the few things it may. The event loop reads the other
// end and does the real work on the user-interface thread.
int gSignalPipe[2] = {-1, -1};

extern "C" void OnShutdownSignal(int signalNumber) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    (void)::write(gSignalPipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent) {
    if (gSignalPipe[0] >= 0) {
        throw std::logic_error("shutdown signals are already handled");
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gSignalPipe) != 0) {
        throw std::runtime_error("cannot create the signal socket pair");
    }
    notifier_ = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ShutdownSignals::onSignalPipeReadable);
    struct sigaction action {};
    action.sa_handler = OnShutdownSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kShutdownSignals) {
        ::sigaction(s, &action, nullptr);
    }
}

ShutdownSignals::~ShutdownSignals() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int s : kShutdownSignals) {
        ::sigaction(s, &action, nullptr);
    }
    delete notifier_;
    ::close(gSignalPipe[0]);
    ::close(gSignalPipe[1]);
    gSignalPipe[0] = gSignalPipe[1] = -1;
}

void ShutdownSignals::onSignalPipeReadable() {
    unsigned char byte = 0;
    while (::read(gSignalPipe[0], &byte, 1) == 1) {
        emit shutdownRequested(byte);
    }
}

}  // namespace veltra
