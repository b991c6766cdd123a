#include "app/tray_host_watch.h"

#include <QSystemTrayIcon>

namespace veltra {

namespace {
constexpr int kPollMs = 1000;
}

TrayHostWatch::TrayHostWatch(QObject* parent, std::function<void(bool)> changed,
                             std::function<bool()> available)
    : QObject(parent), changed_(std::move(changed)), probe_(std::move(available)) {
    if (!probe_) {
        probe_ = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    }
    available_ = probe_();
    poll_.setObjectName(QStringLiteral("trayHostPoll"));
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &TrayHostWatch::check);
    poll_.start();
}

void TrayHostWatch::check() {
    const bool now = probe_();
    if (now != available_) {
        available_ = now;
        changed_(now);
    }
}

}  // namespace veltra
