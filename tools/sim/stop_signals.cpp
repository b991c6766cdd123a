#include "stop_signals.h"

#include <poll.h>
#include <signal.h>

#include <cerrno>

namespace veltra::sim {
namespace {

volatile sig_atomic_t g_stopSignal = 0;
sigset_t g_waitMask;

void OnStopSignal(int signo) {
    g_stopSignal = signo;
}

}  // namespace

void InstallStopSignals() {
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    sigprocmask(SIG_BLOCK, &stops, &g_waitMask);
    sigdelset(&g_waitMask, SIGINT);
    sigdelset(&g_waitMask, SIGTERM);

    struct sigaction sa = {};
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

bool StopRequested() {
    return g_stopSignal != 0;
}

const char* StopSignalName() {
    switch (g_stopSignal) {
        case SIGINT:
            return "SIGINT";
        case SIGTERM:
            return "SIGTERM";
        default:
            return "";
    }
}

short WaitFor(int fd, short events, std::optional<SteadyClock::time_point> deadline) {
    for (;;) {
        if (StopRequested()) {
            return 0;
        }
        timespec ts{};
        timespec* timeout = nullptr;
        if (deadline) {
            auto left = *deadline - SteadyClock::now();
            if (left < SteadyClock::duration::zero()) {
                left = SteadyClock::duration::zero();
            }
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            ts.tv_sec = static_cast<time_t>(ns / 1000000000);
            ts.tv_nsec = static_cast<long>(ns % 1000000000);
            timeout = &ts;
        }
        pollfd p{fd, events, 0};
        const int r = ppoll(&p, 1, timeout, &g_waitMask);
        if (r > 0) {
            return p.revents;
        }
        if (r == 0) {
            // A timeout. ppoll may wake a hair early; only the clock decides.
            if (!deadline || SteadyClock::now() >= *deadline) {
                return 0;
            }
            continue;
        }
        if (errno != EINTR) {
            return 0;
        }
    }
}

}  // namespace veltra::sim
