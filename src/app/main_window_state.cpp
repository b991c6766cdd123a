#include "app/main_window.h"

#include <QTimer>

#include "app/drive_feature.h"
#include "app/main_window_constants.h"
#include "app/tray_host_watch.h"
#include "shell/qt/border.h"
#include "shell/qt/face_widget.h"
#include "shell/qt/twips.h"
#include "shell/qt/x11_taskbar.h"

namespace veltra {

using namespace main_window;

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
        // Minimised in an alert: the next frame, repeat or not, must come at
        // once to bring the window back.
        updateRepeatsQuiet();
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    onWindowResized();
}

}  // namespace veltra
