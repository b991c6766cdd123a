#include "app/main_window.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

#include "app/drive_feature.h"
#include "app/main_window_constants.h"
#include "app/tray.h"
#include "autoresize/qt/qt_auto_resize.h"
#include "shell/qt/face_widget.h"
#include "shell/qt/qt_timer.h"
#include "shell/qt/qt_top_most.h"
#include "shell/qt/twips.h"
#include "shell/settings.h"
#include "shell/store_write_notice.h"
#include "shell/window_placement.h"

namespace veltra {

using namespace main_window;

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

}  // namespace veltra
