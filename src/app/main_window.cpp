#include "app/main_window.h"

#include <QDialog>
#include <QMenuBar>

#include "alerts/file_log_sink.h"
#include "alerts/qt/qt_time_of_day.h"
#include "app/drive_feature.h"
#include "app/main_window_constants.h"
#include "app/tray.h"
#include "app/tray_host_watch.h"
#include "autoresize/qt/qt_auto_resize.h"
#include "shell/guarded_prompt.h"
#include "shell/posted_prompt.h"
#include "shell/qt/face_icon.h"
#include "shell/qt/face_widget.h"
#include "shell/qt/qt_event_pump.h"
#include "shell/qt/qt_monotonic_clock.h"
#include "shell/qt/qt_task_queue.h"
#include "shell/qt/qt_timer.h"
#include "shell/qt/qt_top_most.h"
#include "shell/qt/twips.h"
#include "shell/store_write_notice.h"

namespace veltra {

using namespace main_window;

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

void MainWindow::buildParts() {
    topMost_ = std::make_unique<QtTopMost>(this);
    guardedPrompt_ = std::make_unique<GuardedPrompt>(*prompt_, *topMost_, *store_);
    later_ = std::make_unique<QtTaskQueue>(this);
    receivePrompt_ = std::make_unique<PostedPrompt>(*guardedPrompt_, *later_);
    clock_ = std::make_unique<QtMonotonicClock>();
    pump_ = std::make_unique<QtEventPump>();
    timeOfDay_ = std::make_unique<QtTimeOfDay>();
    logSink_ = std::make_unique<FileLogSink>(platform_.workingLog);

    // The watchdog only asks whether anything arrived since its last tick:
    // a coarse timer serves it, and wakes the program together with the
    // tray and recorder checks instead of once more a second.
    watchdogTimer = new QtTimer(this, std::chrono::seconds(1), Qt::CoarseTimer);
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
    // The port wakes the program only for arrivals that complete a frame
    // with something new to show; the rest wait up to a second.
    repeatWatch_ = std::make_shared<RepeatWatch>();
    port_->setUrgencyTest(
        [watch = repeatWatch_](std::span<const std::uint8_t> bytes) { return watch->Feed(bytes); });
    connection_ = std::make_unique<Connection>(
        *port_, *store_, *watchdogTimer, *prompt_, *topMost_,
        [this] {
            // Whatever arrived since the last tick counts, waiting or not.
            port_->deliverPending();
            return receivePath_->receiver().RecvCount;
        },
        [this] { resetDisplay(); });
    storeNotice_ = std::make_unique<StoreWriteNotice>(*guardedPrompt_);
    saver_ = std::make_unique<LogSaver>(*platform_.saveDialog, *prompt_, *topMost_, *store_,
                                        *platform_.logFiles, platform_.workingLog);

    drives_ = std::make_unique<DriveFeature>(*this, *store_, *port_, *guardedPrompt_);
    port_->setReceiveHandler(
        [this](int event, std::span<const std::uint8_t> bytes) { onPortBytes(event, bytes); });
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

void MainWindow::onPortBytes(int event, std::span<const std::uint8_t> bytes) {
    // Kept before it is processed: a prompt opened by processing must not
    // hold the recording back.
    drives_->onBytesReceived(bytes);
    receivePath_->OnBytesReceived(event, bytes);
    updateRepeatsQuiet();
}

void MainWindow::updateRepeatsQuiet() {
    if (!repeatWatch_ || !receivePath_) {
        return;  // still being built
    }
    repeatWatch_->SetRepeatsQuiet(
        !(receivePath_->decoder().InAlert && windowState() == WindowState::Minimised));
}

void MainWindow::resetDisplay() {
    receivePath_->decoder().SetDefaults();
    repeatWatch_->Forget();
}

TopMostOps& MainWindow::topMost() {
    return *topMost_;
}

int MainWindow::runDialog(QDialog& dialog) {
    return platform_.execDialog(dialog);
}

}  // namespace veltra
