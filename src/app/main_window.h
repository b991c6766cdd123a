#pragma once
// The main window: the detector's display replica, the serial link, the
// alert timers, the menus and the notification-area icon. It owns every part
// of the program for the life of the program.

#include <QMainWindow>
#include <QPoint>
#include <functional>
#include <memory>

#include "alerts/alert_lifecycle.h"
#include "alerts/log_writer.h"
#include "alerts/receive_path.h"
#include "alerts/save_log.h"
#include "app/main_window_menus.h"
#include "link/display_decoder.h"
#include "link/repeat_watch.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "platform/window.h"
#include "port/connection.h"
#include "port/serial_port.h"

class QDialog;

namespace veltra {

class FaceWidget;
class Tray;
class TrayHostWatch;
class QtTimer;
class QtTopMost;
class QtEventPump;
class QtTaskQueue;
class QtMonotonicClock;
class QtTimeOfDay;
class QtAutoResize;
class DriveFeature;
class StoreWriteNotice;

// What the window takes from its surroundings. Anything left empty gets the
// real thing; tests put in stand-ins.
struct MainWindowPlatform {
    SettingsStore* store = nullptr;
    SerialPort* port = nullptr;
    Prompt* prompt = nullptr;
    SaveLogDialog* saveDialog = nullptr;
    LogFiles* logFiles = nullptr;
    std::string workingLog;
    // Shows a dialog modally and returns its result.
    std::function<int(QDialog&)> execDialog;
    // Opens a file with the desktop's viewer; false when there is none.
    std::function<bool(const QString& path)> openFile;
    // Where "readme.txt" is looked for; the program's directory by default.
    QString programDir;
};

class MainWindow : public QMainWindow, public MainWindowOps {
    Q_OBJECT
public:
    explicit MainWindow(MainWindowPlatform platform = {});
    ~MainWindow() override;

    void restoreSettings();
    void onWindowResized();
    void SaveSettings();
    void LoadSettings();
    // Ends the program as the close box does, but asks nothing: nobody may
    // be there to answer (logout, Ctrl-C, a closed terminal). The working
    // log is kept for the next run.
    void endWithoutQuestion();

    // MainWindowOps: what the decoder and the alert logic do to the window.
    WindowState windowState() const override;
    void setWindowState(WindowState state) override;
    void bringToFront() override;
    void show() override;

    // Menu commands, as the menus and the notification area call them.
    void onFileMenuShown();
    void onOptionsMenuShown();
    void onHelpMenuShown();
    void onPopupMenuShown();
    void onConnectTriggered();
    void onDisconnectTriggered();
    void onSaveAlertDataTriggered();
    void onExitTriggered();
    void onPortTriggered();
    void onSettingsTriggered();
    void onLogAlertDataTriggered();
    void onShowRawTriggered();
    void onReadMeTriggered();
    void onAboutTriggered();

    // Mouse on the window's face.
    void onFaceMousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint global);
    void onFaceMouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint global);
    void onFaceMouseReleased();
    void onMuteButtonPressed();
    void onMuteButtonReleased();
    void onMinimiseBoxClicked();
    // An arrival from the port: kept for the drive recording, then received.
    void onPortBytes(int event, std::span<const std::uint8_t> bytes);
    // Every display element unlit (a link ended, a replay ended).
    void resetDisplay();

    // State the tests and the other parts read.
    bool MuteHidden = false;
    bool KeepAspect = false;
    MainWindowMenus& menus() { return *menus_; }
    FaceWidget& face() { return *face_; }
    ReceivePath& receivePath() { return *receivePath_; }
    Connection& connection() { return *connection_; }
    AlertLifecycle& alerts() { return *alerts_; }
    SerialPort& port() { return *port_; }
    Tray& tray() { return *tray_; }
    QtAutoResize& resizer() { return *autoResize; }
    TopMostOps& topMost();
    std::string& LastLogLine() { return receivePath_->logWriter().LastLogLine; }
    bool unloaded() const { return unloaded_; }
    DriveFeature& drives() { return *drives_; }
    // A drive to replay instead of connecting at start (--replay FILE).
    QString ReplayAtStart;
    // Its speed (1, 4, 16 or 64; --speed N), 1 when not given.
    int ReplaySpeedAtStart = 1;

    // Twips of the window as the settings store keeps them.
    double twipsWidth() const;
    double twipsHeight() const;

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    class Hooks;
    void buildPlatform(MainWindowPlatform& p);
    void buildParts();
    void connectMenus();
    void shutDown(bool askAboutLog = true);
    void releasePort();
    void placeFromStore();
    void setLogging(bool on);
    void applyFrame(bool frameless);
    void restoreFromTray();
    // Tells the port whether a repeated frame may wait: it may unless an
    // alert is on while the window is minimised, when each frame brings the
    // window back. Asked again after every arrival and every change of the
    // window's state.
    void updateRepeatsQuiet();
    void popupMenuAtCursor();
    int runDialog(QDialog& dialog);
    bool trayAvailable() const;
    void onTrayHostChanged(bool available);

    MainWindowPlatform platform_;
    // Owned defaults for what the platform did not supply.
    std::unique_ptr<SettingsStore> ownStore_;
    std::unique_ptr<Prompt> ownPrompt_;
    std::unique_ptr<SaveLogDialog> ownSaveDialog_;
    std::unique_ptr<LogFiles> ownLogFiles_;
    SettingsStore* store_ = nullptr;
    SerialPort* port_ = nullptr;
    Prompt* prompt_ = nullptr;

    std::unique_ptr<QtTopMost> topMost_;
    std::unique_ptr<Prompt> guardedPrompt_;
    // Runs work once the current event has returned; the receive path's
    // boxes and its immediate mute go through it.
    std::unique_ptr<QtTaskQueue> later_;
    std::unique_ptr<Prompt> receivePrompt_;
    std::unique_ptr<QtMonotonicClock> clock_;
    std::unique_ptr<QtEventPump> pump_;
    std::unique_ptr<QtTimeOfDay> timeOfDay_;
    std::unique_ptr<LogSink> logSink_;
    QtTimer* watchdogTimer = nullptr;
    QtTimer* autoHideTimer = nullptr;
    QtTimer* autoMuteTimer = nullptr;
    FaceWidget* face_ = nullptr;
    std::unique_ptr<MainWindowMenus> menus_;
    Tray* tray_ = nullptr;
    TrayHostWatch* trayHostWatch_ = nullptr;
    std::unique_ptr<Hooks> hooks_;
    std::unique_ptr<AlertLifecycle> alerts_;
    std::unique_ptr<ReceivePath> receivePath_;
    // Shared with the port's reading thread, which may outlive this window's
    // members by the time the port, a child, is destroyed.
    std::shared_ptr<RepeatWatch> repeatWatch_;
    std::unique_ptr<Connection> connection_;
    std::unique_ptr<LogSaver> saver_;
    std::unique_ptr<DriveFeature> drives_;
    std::unique_ptr<StoreWriteNotice> storeNotice_;
    // Rescales the whole face with the window.
    QtAutoResize* autoResize = nullptr;

    bool loaded_ = false;
    bool unloaded_ = false;
    bool hiddenByMinimise_ = false;
    bool inResize_ = false;
    QPoint dragOffset_;
    bool dragByHand_ = false;
};

}  // namespace veltra
