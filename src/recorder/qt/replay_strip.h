#pragma once
// The controls of a replay, in a strip under the face: play/pause, speed,
// position, the time of day there, the drive's alerts, and the way back to
// the live link.

#include <QFont>
#include <QSize>
#include <QToolBar>

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QToolButton;

namespace veltra::recorder {

class ReplaySession;

class ReplayStrip : public QToolBar {
    Q_OBJECT
public:
    explicit ReplayStrip(QWidget* parent = nullptr);

    // Follows `session` from now on; nullptr detaches.
    void attach(ReplaySession* session);
    // Picks the speed closest to `times` of 1x, 4x, 16x and 64x.
    void setSpeed(int times);
    // Text and icons at `factor` times their design size.
    void setScale(double factor);

    // Slider steps are tenths of a second of the drive.
    static constexpr int kStepBytes = 72;

signals:
    void alertsRequested();
    void backToLiveRequested();

private:
    void showPosition(quint64 offset);
    void showPlaying(bool playing);

    ReplaySession* session_ = nullptr;
    QToolButton* playPause_;
    QComboBox* speed_;
    QSlider* position_;
    QLabel* time_;
    QPushButton* alerts_;
    QPushButton* backToLive_;
    QFont designFont_;
    QSize designIconSize_;
};

}  // namespace veltra::recorder
