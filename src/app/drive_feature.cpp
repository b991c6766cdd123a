#include "app/drive_feature.h"

#include <QFileDialog>
#include <QMenu>
#include <variant>

#include "app/main_window.h"
#include "app/replay_strip_scaler.h"
#include "port/baud_rate.h"
#include "port/qt/qt_serial_port.h"
#include "recorder/drive_file.h"
#include "recorder/qt/alert_list_dialog.h"
#include "recorder/qt/drive_recorder.h"
#include "recorder/qt/link_status_window.h"
#include "recorder/qt/replay_session.h"
#include "recorder/qt/replay_strip.h"
#include "shell/modal_guard.h"
#include "shell/qt/face_widget.h"

namespace veltra {

DriveFeature::DriveFeature(MainWindow& form, SettingsStore& store, SerialPort& port, Prompt& prompt)
    : QObject(&form), form_(form), store_(store), port_(port), prompt_(prompt) {
    recorder_ = new recorder::DriveRecorder(store_, port_, prompt_, recorder::DrivesFolder(), this);
    strip_ = new recorder::ReplayStrip(&form_);
    form_.addToolBar(Qt::BottomToolBarArea, strip_);
    strip_->hide();
    stripScaler_ = new ReplayStripScaler(form_, *strip_);
    connect(strip_, &recorder::ReplayStrip::alertsRequested, this, &DriveFeature::showAlerts);
    connect(strip_, &recorder::ReplayStrip::backToLiveRequested, this, &DriveFeature::backToLive);
    addMenuItems();
}

DriveFeature::~DriveFeature() = default;

void DriveFeature::addMenuItems() {
    MainWindowMenus& m = form_.menus();
    // After the existing items, so that every existing position stays.
    m.fileMenu->addSeparator()->setObjectName(QStringLiteral("replaySeparator"));
    QAction* replay = m.fileMenu->addAction(QStringLiteral("Replay Drive..."));
    replay->setObjectName(QStringLiteral("replayDriveAction"));
    connect(replay, &QAction::triggered, this, &DriveFeature::chooseAndReplay);
    QAction* status = m.helpMenu->addAction(QStringLiteral("Link Status..."));
    status->setObjectName(QStringLiteral("linkStatusAction"));
    connect(status, &QAction::triggered, this, &DriveFeature::showLinkStatus);
    // The pop-up menu repeats them for the frameless and the hidden window.
    m.popupMenu->addSeparator()->setObjectName(QStringLiteral("popReplaySeparator"));
    QAction* popReplay = m.popupMenu->addAction(QStringLiteral("Replay Drive..."));
    popReplay->setObjectName(QStringLiteral("popReplayDriveAction"));
    connect(popReplay, &QAction::triggered, this, &DriveFeature::chooseAndReplay);
    QAction* popStatus = m.popupHelpMenu->addAction(QStringLiteral("Link Status..."));
    popStatus->setObjectName(QStringLiteral("popLinkStatusAction"));
    connect(popStatus, &QAction::triggered, this, &DriveFeature::showLinkStatus);
}

void DriveFeature::onBytesReceived(std::span<const std::uint8_t> bytes) {
    counter_.Count(bytes);
    recorder_->onBytesReceived(bytes);
}

void DriveFeature::tell(const QString& text) {
    prompt_.show("Veltra Scope", text.toStdString(), PromptIcon::Exclamation, PromptButtons::Ok);
}

void DriveFeature::chooseAndReplay() {
    const QString path = ModalGuard(form_.topMost(), store_, [this] {
        return QFileDialog::getOpenFileName(&form_, QStringLiteral("Replay Drive"),
                                            recorder::DrivesFolder(),
                                            QStringLiteral("Drives (*.vsdrive);;All Files (*)"));
    });
    if (!path.isEmpty()) {
        startReplay(path);
    }
}

bool DriveFeature::startReplay(const QString& path, int speed) {
    auto loaded = recorder::LoadDrive(path.toStdString());
    if (auto* problem = std::get_if<std::string>(&loaded)) {
        tell(QStringLiteral("Cannot replay the drive: %1").arg(QString::fromStdString(*problem)));
        return false;
    }
    auto& drive = std::get<recorder::LoadedDrive>(loaded);
    recorder::DriveIndex index(std::move(drive.bytes));
    if (index.frames().empty()) {
        tell(QStringLiteral("Cannot replay the drive: \"%1\" holds no display frames (%2 bytes).")
                 .arg(path)
                 .arg(index.size()));
        return false;
    }
    // The live link pauses: port closed, watchdog stopped, nothing recorded.
    form_.connection().Disconnect();
    recorder_->endDrive();
    form_.alerts().NoAutoHide();
    // An alert of the live link may still have its mute counting down; the
    // pulse would go out in the middle of the replay, which acts on nothing.
    form_.alerts().CancelMute();
    strip_->attach(nullptr);
    session_ =
        std::make_unique<recorder::ReplaySession>(std::move(index), drive.start, form_.face());
    strip_->setSpeed(speed);
    strip_->attach(session_.get());
    strip_->show();
    form_.onWindowResized();
    session_->play();
    return true;
}

void DriveFeature::backToLive() {
    if (!session_) {
        return;
    }
    // Connecting ends the replay first.
    form_.onConnectTriggered();
}

void DriveFeature::endReplay() {
    if (!session_) {
        return;
    }
    strip_->attach(nullptr);
    session_.reset();
    strip_->hide();
    form_.resetDisplay();
    form_.onWindowResized();
}

int DriveFeature::stripHeight() const {
    return strip_->isVisible() ? strip_->height() : 0;
}

void DriveFeature::showAlerts() {
    if (!session_) {
        return;
    }
    recorder::AlertListDialog dialog(
        session_->alerts(), session_->start(),
        [this](std::uint64_t offset) {
            if (session_) {
                session_->seek(offset);
            }
        },
        [this] {
            return QFileDialog::getSaveFileName(&form_, QStringLiteral("Export"), QString(),
                                                QStringLiteral("CSV Files (*.csv)"));
        },
        [this](const QString& text) { tell(text); }, &form_);
    ModalGuard(form_.topMost(), store_, [&] { return dialog.exec(); });
}

void DriveFeature::showLinkStatus() {
    if (linkStatus_) {
        linkStatus_->raise();
        linkStatus_->activateWindow();
        return;
    }
    linkStatus_ = new recorder::LinkStatusWindow(
        counter_,
        [this] {
            recorder::LinkFacts f;
            if (port_.isOpen()) {
                if (auto* qt = dynamic_cast<QtSerialPort*>(&port_)) {
                    f.device = QString::fromStdString(qt->devicePath());
                }
                f.lineSpeed = ReadLineSpeed(port_.nativeHandle()).value_or(0);
            }
            f.drive = recorder_->currentDrive();
            f.driveBytes = recorder_->currentBytes();
            return f;
        },
        &form_);
    linkStatus_->setAttribute(Qt::WA_DeleteOnClose);
    linkStatus_->show();
}

}  // namespace veltra
