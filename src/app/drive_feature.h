#pragma once
// The drive recorder as the main window offers it: every connection kept as
// a drive, "Replay Drive..." and the replay strip, the drive's "Alerts...",
// and Help > "Link Status...". The window wires it in with a few calls.

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "port/serial_port.h"
#include "recorder/link_counter.h"

class QAction;

namespace veltra {

class MainWindow;

namespace recorder {
class DriveRecorder;
class LinkStatusWindow;
class ReplaySession;
class ReplayStrip;
}  // namespace recorder

class ReplayStripScaler;

class DriveFeature : public QObject {
    Q_OBJECT
public:
    DriveFeature(MainWindow& form, SettingsStore& store, SerialPort& port, Prompt& prompt);
    ~DriveFeature() override;

    // Every received byte, before the receive path sees it.
    void onBytesReceived(std::span<const std::uint8_t> bytes);

    // Pauses the live link and plays `path`; false (and told) when the file
    // cannot be replayed.
    bool startReplay(const QString& path, int speed = 1);
    // Ends the replay and connects as "&Connect" does.
    void backToLive();
    // Ends the replay, if one is playing, and leaves the link closed.
    void endReplay();
    bool replaying() const { return session_ != nullptr; }
    // The strip's height while it shows, for the window's aspect rule.
    int stripHeight() const;

    recorder::DriveRecorder& recorder() { return *recorder_; }
    recorder::ReplaySession* session() { return session_.get(); }
    recorder::ReplayStrip& strip() { return *strip_; }
    ReplayStripScaler& stripScaler() { return *stripScaler_; }

    void chooseAndReplay();
    void showAlerts();
    void showLinkStatus();

private:
    void addMenuItems();
    void tell(const QString& text);

    MainWindow& form_;
    SettingsStore& store_;
    SerialPort& port_;
    Prompt& prompt_;
    recorder::LinkCounter counter_;
    recorder::DriveRecorder* recorder_ = nullptr;
    recorder::ReplayStrip* strip_ = nullptr;
    ReplayStripScaler* stripScaler_ = nullptr;
    std::unique_ptr<recorder::ReplaySession> session_;
    QPointer<recorder::LinkStatusWindow> linkStatus_;
};

}  // namespace veltra
