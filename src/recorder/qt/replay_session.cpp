#include "recorder/qt/replay_session.h"

#include <QTimer>

namespace veltra::recorder {

ReplaySession::ReplaySession(DriveIndex drive, std::optional<DriveStart> start, DisplayView& face,
                             QObject* parent)
    : QObject(parent),
      drive_(std::move(drive)),
      start_(start),
      alerts_(FindAlerts(drive_)),
      face_(face),
      ticker_(new QTimer(this)) {
    // 25 steps a second: smoother than the detector's own frame rate at 1x,
    // and at 64x each step still covers well under a second of the drive.
    ticker_->setInterval(40);
    connect(ticker_, &QTimer::timeout, this, &ReplaySession::advance);
    showAt(0);
}

void ReplaySession::play() {
    if (playing_) {
        return;
    }
    if (position_ >= drive_.size()) {
        seek(0);
    }
    playing_ = true;
    carry_ = 0;
    sinceTick_.start();
    ticker_->start();
    emit playingChanged(true);
}

void ReplaySession::pause() {
    if (!playing_) {
        return;
    }
    playing_ = false;
    ticker_->stop();
    emit playingChanged(false);
}

void ReplaySession::setSpeed(int times) {
    speed_ = times < 1 ? 1 : times;
}

void ReplaySession::seek(std::uint64_t offset) {
    position_ = std::min<std::uint64_t>(offset, drive_.size());
    carry_ = 0;
    showAt(position_);
    emit positionChanged(position_);
}

void ReplaySession::advance() {
    // By the clock, not by ticks: a late tick must not slow the drive down.
    const double seconds = static_cast<double>(sinceTick_.restart()) / 1000.0;
    carry_ += seconds * static_cast<double>(kBytesPerSecond) * speed_;
    const auto whole = static_cast<std::uint64_t>(carry_);
    carry_ -= static_cast<double>(whole);
    position_ = std::min<std::uint64_t>(position_ + whole, drive_.size());
    showAt(position_);
    emit positionChanged(position_);
    if (position_ >= drive_.size()) {
        pause();
    }
}

void ReplaySession::showAt(std::uint64_t offset) {
    const std::size_t taken = drive_.framesTakenBy(offset);
    if (taken == shownFrames_) {
        return;
    }
    shownFrames_ = taken;
    // A frame shows the whole display, so the last one taken is all that
    // matters for any position, forwards or backwards.
    face_.ShowState(taken == 0 ? DisplayState{} : StateOf(drive_.frameText(taken - 1)));
}

}  // namespace veltra::recorder
