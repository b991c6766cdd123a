#pragma once
// Plays a recorded drive into the face. Only the face is driven: no alert
// logic, no log and no port, so a replay never pulses DTR, never hides the
// window and never writes temp.log.

#include <QElapsedTimer>
#include <QObject>
#include <memory>
#include <optional>

#include "link/display_decoder.h"
#include "recorder/drive_alerts.h"
#include "recorder/drive_index.h"

class QTimer;

namespace veltra::recorder {

class ReplaySession : public QObject {
    Q_OBJECT
public:
    ReplaySession(DriveIndex drive, std::optional<DriveStart> start, DisplayView& face,
                  QObject* parent = nullptr);

    const DriveIndex& drive() const { return drive_; }
    const std::optional<DriveStart>& start() const { return start_; }
    const std::vector<DriveAlert>& alerts() const { return alerts_; }

    std::uint64_t position() const { return position_; }
    bool playing() const { return playing_; }
    int speed() const { return speed_; }

    void play();
    void pause();
    void setSpeed(int times);
    // Jumps to `offset` bytes into the drive and shows the display there.
    void seek(std::uint64_t offset);

signals:
    void positionChanged(quint64 offset);
    void playingChanged(bool playing);

private:
    void advance();
    void showAt(std::uint64_t offset);

    DriveIndex drive_;
    std::optional<DriveStart> start_;
    std::vector<DriveAlert> alerts_;
    DisplayView& face_;
    QTimer* ticker_;
    QElapsedTimer sinceTick_;
    std::uint64_t position_ = 0;
    // Bytes of stream time owed, kept fractional so slow speeds do not stall.
    double carry_ = 0;
    std::size_t shownFrames_ = static_cast<std::size_t>(-1);
    bool playing_ = false;
    int speed_ = 1;
};

}  // namespace veltra::recorder
