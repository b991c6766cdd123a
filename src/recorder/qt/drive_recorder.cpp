#include "recorder/qt/drive_recorder.h"

#include <QDateTime>
#include <QStandardPaths>
#include <QTimer>

#include "recorder/drive_settings.h"
#include "recorder/drive_writer.h"

namespace veltra::recorder {

QString DrivesFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Veltrascope/drives");
}

DriveRecorder::DriveRecorder(SettingsStore& store, const SerialPort& port, Prompt& prompt,
                             QString folder, QObject* parent)
    : QObject(parent), store_(store), port_(port), prompt_(prompt), folder_(std::move(folder)) {
    writer_ =
        std::make_unique<DriveWriter>(folder_.toStdString(), [this](const std::string& message) {
            // From the writer's thread: the message waits for the user's.
            QMetaObject::invokeMethod(
                this, [this, m = QString::fromStdString(message)] { onFailure(m); },
                Qt::QueuedConnection);
        });
    second_ = new QTimer(this);
    second_->setInterval(1000);
    connect(second_, &QTimer::timeout, this, &DriveRecorder::onSecond);
    second_->start();
}

DriveRecorder::~DriveRecorder() {
    // Joins the thread, which may still call back: do it while this object
    // is whole.
    writer_.reset();
}

void DriveRecorder::onBytesReceived(std::span<const std::uint8_t> bytes) {
    if (!connectionSeen_) {
        connectionSeen_ = true;
        if (RecordDrivesOn(store_)) {
            const QDateTime now = QDateTime::currentDateTime();
            const QDate d = now.date();
            const QTime t = now.time();
            writer_->Begin({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), 0},
                           std::uint64_t(DrivesLimitMB(store_)) << 20);
        }
    }
    writer_->Append(bytes);
}

void DriveRecorder::endDrive() {
    connectionSeen_ = false;
    writer_->End();
}

void DriveRecorder::onSecond() {
    if (connectionSeen_ && !port_.isOpen()) {
        endDrive();
    }
    // The second's bytes go to disk now, while the program is awake for its
    // other whole-second checks (this timer is coarse, as theirs are).
    writer_->WriteSoon();
}

QString DriveRecorder::currentDrive() const {
    return QString::fromStdString(writer_->currentPath().string());
}

std::uint64_t DriveRecorder::currentBytes() const {
    return writer_->currentBytes();
}

void DriveRecorder::flush() {
    writer_->Flush();
}

void DriveRecorder::onFailure(const QString& message) {
    prompt_.show("Veltra Scope", "The drive cannot be recorded: " + message.toStdString(),
                 PromptIcon::Exclamation, PromptButtons::Ok);
}

}  // namespace veltra::recorder
