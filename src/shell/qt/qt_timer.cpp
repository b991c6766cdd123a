#include "shell/qt/qt_timer.h"

namespace veltra {

QtTimer::QtTimer(QObject* parent, std::chrono::milliseconds interval, Qt::TimerType type)
    : QObject(parent) {
    timer_.setTimerType(type);
    timer_.setInterval(interval);
    connect(&timer_, &QTimer::timeout, this, &QtTimer::Tick);
}

void QtTimer::start() {
    if (!timer_.isActive()) {
        timer_.start();
    }
}

void QtTimer::stop() {
    timer_.stop();
}

bool QtTimer::isActive() const {
    return timer_.isActive();
}

void QtTimer::setOnTick(std::function<void()> handler) {
    onTick_ = std::move(handler);
}

std::chrono::milliseconds QtTimer::interval() const {
    return timer_.intervalAsDuration();
}

void QtTimer::Tick() {
    // A copy, so a handler may replace itself (or stop this timer) safely.
    auto handler = onTick_;
    if (handler) {
        handler();
    }
}

}  // namespace veltra
