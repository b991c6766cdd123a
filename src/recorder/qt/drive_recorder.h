#pragma once
// Keeps every connection's bytes as a drive in the per-user data folder,
// when "RecordDrives" is on (the default), within "DrivesLimitMB". The disk
// work runs on the writer's own thread; a failure is told once per drive.

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "port/serial_port.h"

class QTimer;

namespace veltra::recorder {

class DriveWriter;

// $XDG_DATA_HOME/Veltrascope/drives
QString DrivesFolder();

class DriveRecorder : public QObject {
    Q_OBJECT
public:
    DriveRecorder(SettingsStore& store, const SerialPort& port, Prompt& prompt, QString folder,
                  QObject* parent = nullptr);
    ~DriveRecorder() override;

    // Every received byte, as the receive handler gets it. The first bytes
    // of a connection start its drive.
    void onBytesReceived(std::span<const std::uint8_t> bytes);
    // The connection is over (also noticed within a second of the port
    // closing by itself).
    void endDrive();

    QString currentDrive() const;
    std::uint64_t currentBytes() const;
    // Waits until the bytes handed over so far are on disk.
    void flush();

private:
    void onFailure(const QString& message);
    // Ends a drive whose port closed by itself, and has the second's bytes
    // written.
    void onSecond();

    SettingsStore& store_;
    const SerialPort& port_;
    Prompt& prompt_;
    QString folder_;
    std::unique_ptr<DriveWriter> writer_;
    QTimer* second_ = nullptr;
    // Whether this connection's bytes have been seen, recorded or not.
    bool connectionSeen_ = false;
};

}  // namespace veltra::recorder
