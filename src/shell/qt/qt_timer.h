#pragma once
// A one-second timer for the core, on a QTimer.

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

#include "platform/timer.h"

namespace veltra {

class QtTimer : public QObject, public Timer {
    Q_OBJECT
public:
    // A coarse timer may tick up to a twentieth of its interval early or
    // late, and in return shares its wake-ups with the program's other
    // coarse timers.
    explicit QtTimer(QObject* parent = nullptr,
                     std::chrono::milliseconds interval = std::chrono::seconds(1),
                     Qt::TimerType type = Qt::PreciseTimer);

    // QTimer::start restarts a running timer; the core relies on a start
    // while running leaving the next tick where it was.
    void start() override;
    void stop() override;
    bool isActive() const override;
    void setOnTick(std::function<void()> handler) override;

    std::chrono::milliseconds interval() const;

private:
    void Tick();

    QTimer timer_;
    std::function<void()> onTick_;
};

}  // namespace veltra
