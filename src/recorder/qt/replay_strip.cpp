#include "recorder/qt/replay_strip.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>

#include "recorder/qt/replay_session.h"

namespace veltra::recorder {

namespace {

constexpr int kSpeeds[] = {1, 4, 16, 64};

}  // namespace

ReplayStrip::ReplayStrip(QWidget* parent) : QToolBar(parent) {
    setObjectName(QStringLiteral("replayStrip"));
    setMovable(false);
    setFloatable(false);
    setAllowedAreas(Qt::BottomToolBarArea);

    playPause_ = new QToolButton(this);
    playPause_->setObjectName(QStringLiteral("playPauseButton"));
    speed_ = new QComboBox(this);
    speed_->setObjectName(QStringLiteral("speedBox"));
    for (int s : kSpeeds) {
        speed_->addItem(QString::number(s) + QChar(0x00D7), s);
    }
    position_ = new QSlider(Qt::Horizontal, this);
    position_->setObjectName(QStringLiteral("positionSlider"));
    position_->setMinimumWidth(60);
    time_ = new QLabel(this);
    time_->setObjectName(QStringLiteral("timeLabel"));
    alerts_ = new QPushButton(QStringLiteral("Alerts..."), this);
    alerts_->setObjectName(QStringLiteral("alertsButton"));
    backToLive_ = new QPushButton(QStringLiteral("Back to live"), this);
    backToLive_->setObjectName(QStringLiteral("backToLiveButton"));
    for (QWidget* w : std::initializer_list<QWidget*>{playPause_, speed_, position_, time_, alerts_,
                                                      backToLive_}) {
        addWidget(w);
    }
    showPlaying(false);
    designFont_ = font();
    designIconSize_ = iconSize();

    connect(playPause_, &QToolButton::clicked, this, [this] {
        if (session_ != nullptr) {
            session_->playing() ? session_->pause() : session_->play();
        }
    });
    connect(speed_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (session_ != nullptr && i >= 0) {
            session_->setSpeed(speed_->itemData(i).toInt());
        }
    });
    // Dragging seeks as the slider moves; a programmatic move does not.
    connect(position_, &QSlider::sliderMoved, this, [this](int step) {
        if (session_ != nullptr) {
            session_->seek(std::uint64_t(step) * kStepBytes);
        }
    });
    connect(position_, &QSlider::actionTriggered, this, [this](int action) {
        if (session_ != nullptr && action != QAbstractSlider::SliderMove) {
            session_->seek(std::uint64_t(position_->sliderPosition()) * kStepBytes);
        }
    });
    connect(alerts_, &QPushButton::clicked, this, &ReplayStrip::alertsRequested);
    connect(backToLive_, &QPushButton::clicked, this, &ReplayStrip::backToLiveRequested);
}

void ReplayStrip::attach(ReplaySession* session) {
    if (session_ != nullptr) {
        disconnect(session_, nullptr, this, nullptr);
    }
    session_ = session;
    if (session_ == nullptr) {
        return;
    }
    position_->setRange(0, static_cast<int>(session_->drive().size() / kStepBytes));
    session_->setSpeed(speed_->currentData().toInt());
    connect(session_, &ReplaySession::positionChanged, this, &ReplayStrip::showPosition);
    connect(session_, &ReplaySession::playingChanged, this, &ReplayStrip::showPlaying);
    showPosition(session_->position());
    showPlaying(session_->playing());
}

void ReplayStrip::setSpeed(int times) {
    int best = 0;
    for (int i = 0; i < speed_->count(); ++i) {
        if (std::abs(speed_->itemData(i).toInt() - times) <
            std::abs(speed_->itemData(best).toInt() - times)) {
            best = i;
        }
    }
    speed_->setCurrentIndex(best);
}

void ReplayStrip::setScale(double factor) {
    QFont scaled = designFont_;
    if (designFont_.pointSizeF() > 0) {
        scaled.setPointSizeF(designFont_.pointSizeF() * factor);
    } else {
        scaled.setPixelSize(std::max(1, qRound(designFont_.pixelSize() * factor)));
    }
    // The buttons, box and label inherit it.
    setFont(scaled);
    setIconSize(designIconSize_ * factor);
}

void ReplayStrip::showPosition(quint64 offset) {
    if (!position_->isSliderDown()) {
        position_->setValue(static_cast<int>(offset / kStepBytes));
    }
    time_->setText(QString::fromStdString(TimeAtByte(offset, session_->start())));
}

void ReplayStrip::showPlaying(bool playing) {
    playPause_->setText(playing ? QStringLiteral("Pause") : QStringLiteral("Play"));
    playPause_->setIcon(
        style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    playPause_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    playPause_->setToolTip(playPause_->text());
}

}  // namespace veltra::recorder
