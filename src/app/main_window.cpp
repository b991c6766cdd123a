#include "app/main_window.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QIcon>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include "alerts/qt/qt_time_of_day.h"
#include "alerts/qt/save_dialog.h"
#include "alerts/qt/working_log.h"
#include "app/drive_feature.h"
#include "app/tray.h"
#include "app/tray_host_watch.h"
#include "autoresize/qt/qt_auto_resize.h"
#include "port/qt/qt_serial_port.h"
#include "shell/guarded_prompt.h"
#include "shell/posted_prompt.h"
#include "shell/qt/border.h"
#include "shell/qt/face_icon.h"
#include "shell/qt/face_widget.h"
#include "shell/qt/qt_event_pump.h"
#include "shell/qt/qt_monotonic_clock.h"
#include "shell/qt/qt_prompt.h"
#include "shell/qt/qt_settings_store.h"
#include "shell/qt/qt_task_queue.h"
#include "shell/qt/qt_timer.h"
#include "shell/qt/qt_top_most.h"
#include "shell/qt/twips.h"
#include "shell/qt/x11_taskbar.h"
#include "shell/settings.h"
#include "shell/store_write_notice.h"
#include "shell/window_placement.h"

namespace veltra {

namespace {

// The window's design size: the display's inner area in twips.
constexpr double kDesignInnerWidth = 9015;
constexpr double kDesignInnerHeight = 3540;
// The mute strip is this many twips wide; muteStripOffset's Left is minus that.
constexpr double kMuteStrip = 2200;
// The window is never left narrower than this many twips.
constexpr double kMinimumWidth = 1680;
// Inner width / inner height of the display with and without the mute strip.
constexpr double kFullAspect = 2.543;
constexpr double kNarrowAspect = 1.873;
// What a window manager's frame adds around the window at most, as far as
// fitting a restored window on the screen goes: borders and a title bar.
constexpr double kFrameAllowanceWidth = 240;
constexpr double kFrameAllowanceHeight = 600;

}  // namespace

// The decoder's calls at the start and end of an alert go to the alert logic.
class MainWindow::Hooks : public AlertHooks {
public:
    explicit Hooks(MainWindow& form) : form_(form) {}
    void BeginAlert() override { form_.alerts_->BeginAlert(); }
    void EndAlert() override { form_.alerts_->EndAlert(); }

private:
    MainWindow& form_;
};

MainWindow::MainWindow(MainWindowPlatform platform) : platform_(std::move(platform)) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Veltra Scope"));
    setWindowIcon(ProgramIcon());
    // A sizable frame with title bar and minimise box, but no maximise box.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    buildPlatform(platform_);
    buildParts();
    connectMenus();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildPlatform(MainWindowPlatform& p) {
    if (p.store == nullptr) {
        auto store = std::make_unique<QtSettingsStore>();
        // Built before the prompt it uses; no write happens until start-up.
        store->setOnWriteFailed([this](const std::string& message) {
            if (storeNotice_) {
                storeNotice_->onWriteFailed(message);
            }
        });
        p.store = store.get();
        ownStore_ = std::move(store);
    }
    store_ = p.store;
    if (p.port == nullptr) {
        p.port = new QtSerialPort(*store_, this);
    }
    port_ = p.port;
    if (p.prompt == nullptr) {
        ownPrompt_ = std::make_unique<QtPrompt>(this);
        p.prompt = ownPrompt_.get();
    }
    prompt_ = p.prompt;
    if (p.saveDialog == nullptr) {
        ownSaveDialog_ = std::make_unique<QtSaveDialog>(this);
        p.saveDialog = ownSaveDialog_.get();
    }
    if (p.logFiles == nullptr) {
        ownLogFiles_ = std::make_unique<DiskLogFiles>();
        p.logFiles = ownLogFiles_.get();
    }
    if (p.workingLog.empty()) {
        p.workingLog = WorkingLogPath().toStdString();
    }
    if (!p.execDialog) {
        p.execDialog = [](QDialog& d) { return d.exec(); };
    }
    if (!p.openFile) {
        p.openFile = [](const QString& path) {
            return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        };
    }
    if (p.programDir.isEmpty()) {
        p.programDir = QCoreApplication::applicationDirPath();
    }
}

void MainWindow::buildParts() {
    topMost_ = std::make_unique<QtTopMost>(this);
    guardedPrompt_ = std::make_unique<GuardedPrompt>(*prompt_, *topMost_, *store_);
    later_ = std::make_unique<QtTaskQueue>(this);
    receivePrompt_ = std::make_unique<PostedPrompt>(*guardedPrompt_, *later_);
    clock_ = std::make_unique<QtMonotonicClock>();
    pump_ = std::make_unique<QtEventPump>();
    timeOfDay_ = std::make_unique<QtTimeOfDay>();
    logSink_ = std::make_unique<FileLogSink>(platform_.workingLog);

    watchdogTimer = new QtTimer(this);
    watchdogTimer->setObjectName(QStringLiteral("watchdogTimer"));
    autoHideTimer = new QtTimer(this);
    autoHideTimer->setObjectName(QStringLiteral("autoHideTimer"));
    autoMuteTimer = new QtTimer(this);
    autoMuteTimer->setObjectName(QStringLiteral("autoMuteTimer"));

    face_ = new FaceWidget(this);
    setCentralWidget(face_);
    menus_ = std::make_unique<MainWindowMenus>(menuBar(), this);

    hooks_ = std::make_unique<Hooks>(*this);
    alerts_ = std::make_unique<AlertLifecycle>(*store_, *autoHideTimer, *autoMuteTimer, *port_,
                                               *this, *clock_, *pump_, *later_);
    receivePath_ =
        std::make_unique<ReceivePath>(*face_, *hooks_, *this, *logSink_, *timeOfDay_,
                                      *receivePrompt_, [this](std::string_view frame) {
                                          face_->setRawText(QString::fromLatin1(
                                              frame.data(), static_cast<qsizetype>(frame.size())));
                                      });
    connection_ = std::make_unique<Connection>(
        *port_, *store_, *watchdogTimer, *prompt_, *topMost_,
        [this] { return receivePath_->receiver().RecvCount; },
        [this] { receivePath_->decoder().SetDefaults(); });
    storeNotice_ = std::make_unique<StoreWriteNotice>(*guardedPrompt_);
    saver_ = std::make_unique<LogSaver>(*platform_.saveDialog, *prompt_, *topMost_, *store_,
                                        *platform_.logFiles, platform_.workingLog);

    drives_ = std::make_unique<DriveFeature>(*this, *store_, *port_, *guardedPrompt_);
    port_->setReceiveHandler([this](int event, std::span<const std::uint8_t> bytes) {
        // Kept before it is processed: a prompt opened by processing must
        // not hold the recording back.
        drives_->onBytesReceived(bytes);
        receivePath_->OnBytesReceived(event, bytes);
    });
    watchdogTimer->setOnTick([this] { connection_->onWatchdogTick(); });
    autoHideTimer->setOnTick([this] { alerts_->onAutoHideTick(); });
    autoMuteTimer->setOnTick([this] { alerts_->onAutoMuteTick(); });

    connect(face_, &FaceWidget::faceMouseDown, this, &MainWindow::onFaceMousePressed);
    connect(face_, &FaceWidget::faceMouseMove, this, &MainWindow::onFaceMouseMoved);
    connect(face_, &FaceWidget::faceMouseUp, this, [this] { onFaceMouseReleased(); });
    connect(face_, &FaceWidget::muteMouseDown, this, [this] { onMuteButtonPressed(); });
    connect(face_, &FaceWidget::muteMouseUp, this, [this] { onMuteButtonReleased(); });
    connect(face_, &FaceWidget::minimiseClicked, this, &MainWindow::onMinimiseBoxClicked);

    trayHostWatch_ =
        new TrayHostWatch(this, [this](bool available) { onTrayHostChanged(available); });
    tray_ = new Tray(this, Tray::Hooks{
                               [this] { return windowState() == WindowState::Minimised; },
                               [this] { restoreFromTray(); },
                               [this] { popupMenuAtCursor(); },
                           });
    // The window's own instance of the proportional layout: no aspect ratio
    // of its own (the window keeps that), and small minimum sizes.
    PropertyBag resizeProperties;
    resizeProperties.WriteProperty("AspectRatioValue", 0.0);
    resizeProperties.WriteProperty("HMin", std::int32_t{500});
    resizeProperties.WriteProperty("WMin", std::int32_t{1000});
    autoResize = new QtAutoResize(this, resizeProperties);

    // The design size: the display's inner area, with the menu bar above it.
    resize(TwipsToPx(kDesignInnerWidth),
           TwipsToPx(kDesignInnerHeight) + menuBar()->sizeHint().height());
}

TopMostOps& MainWindow::topMost() {
    return *topMost_;
}

void MainWindow::restoreSettings() {
    using settings::ReadBool;
    using settings::Use;
    // 1. Without the mute strip the display moves left and the window narrows.
    MuteHidden = ReadBool(*store_, "HideMute", Use::Start);
    if (MuteHidden) {
        QWidget* displayPanel = face_->findChild<QWidget*>(QStringLiteral("displayPanel"));
        QWidget* muteStripOffset = face_->findChild<QWidget*>(QStringLiteral("muteStripOffset"));
        displayPanel->move(muteStripOffset->x(), displayPanel->y());
        resize(width() + muteStripOffset->x(), height());
    }
    // 2. Proportions are taken from the layout as it stands now.
    autoResize->StoreSettings();
    // 3. The saved geometry, within the floor and on a screen.
    placeFromStore();
    // 4. Frameless when asked.
    if (ReadBool(*store_, "HideTitlebar", Use::Start)) {
        applyFrame(true);
    }
    // 5. Shown, with its icon in the notification area.
    tray_->AddTrayIcon(QStringLiteral("Veltra Scope"));
    loaded_ = true;
    // 6. Logging as it was left.
    setLogging(ReadBool(*store_, "LogData", Use::Start));
    // 7. Connect at start.
    if (ReplayAtStart.isEmpty() && ReadBool(*store_, "AutoConnect", Use::Start)) {
        onConnectTriggered();
    }
    // 8. Above all other windows.
    if (ReadBool(*store_, "OnTop", Use::Start)) {
        topMost_->SetTopMost();
    }
    // 9. The aspect rule holds from the next resize on.
    KeepAspect = ReadBool(*store_, "KeepAspectRatio", Use::Start);
    // 10. Straight to the notification area.
    if (ReadBool(*store_, "AutoMinimize", Use::Start)) {
        setWindowState(WindowState::Minimised);
    }
    if (!ReplayAtStart.isEmpty()) {
        drives_->startReplay(ReplayAtStart, ReplaySpeedAtStart);
    }
}

void MainWindow::placeFromStore() {
    // A key that is absent or does not convert reads back as the NaN default.
    const double pxPerTwip = ScreenLogicalDpi() / kTwipsPerInch;
    auto stored = [&](const char* key) -> std::optional<double> {
        const float twips = settings::ReadSingle(*store_, key, std::nanf(""));
        return std::isnan(twips) ? std::nullopt : std::optional<double>(twips * pxPerTwip);
    };
    const StoredGeometry geometry{stored("Width"), stored("Height"), stored("Left"), stored("Top")};

    QScreen* home = screen();
    if (geometry.left || geometry.top) {
        // Bounded before rounding: a stored number may be far beyond int.
        auto coordinate = [](std::optional<double> v) {
            return static_cast<int>(std::clamp(v.value_or(0.0), -1e7, 1e7));
        };
        const QPoint at(coordinate(geometry.left), coordinate(geometry.top));
        if (QScreen* there = QGuiApplication::screenAt(at)) {
            home = there;
        }
    }
    std::vector<PixelRect> screens;
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect r = s->availableGeometry();
        screens.push_back({r.x(), r.y(), r.width(), r.height()});
    }
    const QRect homeArea =
        home != nullptr ? home->availableGeometry() : QRect(0, 0, 1 << 16, 1 << 16);
    PlacementLimits limits{{x(), y(), width(), height()},
                           TwipsToPx(kMinimumWidth),
                           screens,
                           {homeArea.x(), homeArea.y(), homeArea.width(), homeArea.height()}};
    limits.frameWidth = TwipsToPx(kFrameAllowanceWidth);
    limits.frameHeight = TwipsToPx(kFrameAllowanceHeight);
    // The aspect rule takes over at the first resize after the window is
    // shown; the menu bar is above the display unless the frame is hidden.
    if (settings::ReadBool(*store_, "KeepAspectRatio", settings::Use::Start)) {
        limits.aspect = MuteHidden ? kNarrowAspect : kFullAspect;
        limits.aspectExtraHeight = menuBar()->sizeHint().height();
    }
    const WindowPlacement p = PlaceWindow(geometry, limits);
    resize(p.width, p.height);
    // Moving before the first show tells the window manager the user chose
    // the place; without a stored place the window manager chooses.
    if (p.x || p.y) {
        move(p.x.value_or(x()), p.y.value_or(y()));
    }
}

bool MainWindow::trayAvailable() const {
    return trayHostWatch_->available();
}

void MainWindow::onTrayHostChanged(bool available) {
    // Off the taskbar only while the icon has a notification area to live
    // in; otherwise a minimised window could be reached by nothing.
    if (isVisible()) {
        SkipTaskbar(this, available);
    }
    if (available) {
        // A minimised window now goes to the notification area, as it would
        // have had the tray host been there all along.
        onWindowResized();
    } else if (hiddenByMinimise_) {
        // Its icon has gone with the tray host: back as an ordinary
        // minimised window, which the taskbar holds.
        hiddenByMinimise_ = false;
        showMinimized();
    }
}

void MainWindow::onWindowResized() {
    if (!loaded_ || inResize_) {
        return;
    }
    if (isMaximized()) {
        return;
    }
    if (isMinimized()) {
        // Minimised means gone from the screen; the icon is the way back.
        // Without a notification area a hidden window could not be reached,
        // so it then stays an ordinary minimised window.
        if (trayAvailable() && isVisible()) {
            hiddenByMinimise_ = true;
            QWidget::hide();
        }
        return;
    }
    inResize_ = true;
    if (width() < TwipsToPx(kMinimumWidth)) {
        resize(TwipsToPx(kMinimumWidth), height());
    }
    if (KeepAspect) {
        QWidget* displayPanel = face_->findChild<QWidget*>(QStringLiteral("displayPanel"));
        displayPanel->hide();
        const double ratio = MuteHidden ? kNarrowAspect : kFullAspect;
        // The display's own area keeps the ratio; a menu bar above it adds
        // its height.
        const int menuHeight =
            menus_->topMenusVisible() ? height() - face_->height() : drives_->stripHeight();
        const int inner = qRound(face_->width() / ratio);
        if (height() != menuHeight + inner) {
            resize(width(), menuHeight + inner);
        }
        displayPanel->show();
    }
    inResize_ = false;
}

void MainWindow::SaveSettings() {
    settings::WriteNumber(*store_, "Width", static_cast<float>(qRound(twipsWidth())));
    settings::WriteNumber(*store_, "Height", static_cast<float>(qRound(twipsHeight())));
    settings::WriteNumber(*store_, "Left", static_cast<float>(qRound(PxToTwips(x()))));
    settings::WriteNumber(*store_, "Top", static_cast<float>(qRound(PxToTwips(y()))));
}

void MainWindow::LoadSettings() {
    KeepAspect = settings::ReadBool(*store_, "KeepAspectRatio", settings::Use::LoadSettings);
    applyFrame(settings::ReadBool(*store_, "HideTitlebar", settings::Use::LoadSettings));
    onWindowResized();
}

void MainWindow::applyFrame(bool frameless) {
    menus_->setTopMenusVisible(!frameless);
    face_->setFrameless(frameless);
    ApplyBorderStyle(this, frameless ? kFrameless : kSizable);
}

double MainWindow::twipsWidth() const {
    return PxToTwips(width());
}

double MainWindow::twipsHeight() const {
    return PxToTwips(height());
}

WindowState MainWindow::windowState() const {
    if (isMinimized() || hiddenByMinimise_) {
        return WindowState::Minimised;
    }
    if (isMaximized()) {
        return WindowState::Maximised;
    }
    return WindowState::Normal;
}

void MainWindow::setWindowState(WindowState state) {
    switch (state) {
        case WindowState::Minimised:
            QWidget::setWindowState((QWidget::windowState() & ~Qt::WindowMaximized) |
                                    Qt::WindowMinimized);
            // Some window managers answer asynchronously; hide now all the same.
            onWindowResized();
            break;
        case WindowState::Normal:
            hiddenByMinimise_ = false;
            QWidget::setWindowState(QWidget::windowState() &
                                    ~(Qt::WindowMinimized | Qt::WindowMaximized));
            break;
        case WindowState::Maximised:
            break;  // the window offers no way to maximise
    }
}

void MainWindow::bringToFront() {
    raise();
    activateWindow();
}

void MainWindow::show() {
    hiddenByMinimise_ = false;
    if (QWidget::windowState() & Qt::WindowMinimized) {
        QWidget::setWindowState(QWidget::windowState() & ~Qt::WindowMinimized);
    }
    QWidget::show();
}

void MainWindow::restoreFromTray() {
    setWindowState(WindowState::Normal);
    bringToFront();
    show();
    bringToFront();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The window manager drops "skip taskbar" when a window is withdrawn.
    QTimer::singleShot(0, this, [this] { SkipTaskbar(this, trayAvailable()); });
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        onWindowResized();
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    onWindowResized();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    shutDown();
}

void MainWindow::endWithoutQuestion() {
    // Whatever box is up now closes with the event loops, unanswered: the
    // exit question must not read that as "No" and delete the working log.
    saver_->Abandon();
    if (unloaded_) {
        // The close box got here first and its question (or the save it led
        // to) is up: ending every event loop lets that unload run to its end,
        // which saves the geometry and lowers DTR as any end does.
        QCoreApplication::exit(0);
        return;
    }
    shutDown(false);
}

void MainWindow::shutDown(bool askAboutLog) {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    if (!askAboutLog) {
        storeNotice_->setQuiet(true);
    } else if (!LastLogLine().empty()) {
        saver_->AskToSaveOnExit(LastLogLine());
    }
    SaveSettings();
    releasePort();
    tray_->RemoveTrayIcon();
    QCoreApplication::quit();
}

void MainWindow::releasePort() {
    // Left to the process's end, the port would be closed by the kernel with
    // whatever DTR held then; a detector reads a raised DTR as "mute".
    watchdogTimer->stop();
    autoMuteTimer->stop();
    if (port_->isOpen()) {
        (void)port_->setDtrEnable(false);
        port_->close();
    }
}

int MainWindow::runDialog(QDialog& dialog) {
    return platform_.execDialog(dialog);
}

}  // namespace veltra
