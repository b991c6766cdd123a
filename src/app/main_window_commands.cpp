// The main window's menu commands.

#include <QCursor>

#include "alerts/log_toggle.h"
#include "app/about_box.h"
#include "app/drive_feature.h"
#include "app/main_window.h"
#include "app/readme_window.h"
#include "port/qt/port_dialog.h"
#include "settings_dialog/qt/settings_dialog.h"
#include "shell/modal_guard.h"
#include "shell/qt/face_widget.h"
#include "shell/readme_location.h"

namespace veltra {

void MainWindow::connectMenus() {
    MainWindowMenus& m = *menus_;
    connect(m.fileMenu, &QMenu::aboutToShow, this, &MainWindow::onFileMenuShown);
    connect(m.optionsMenu, &QMenu::aboutToShow, this, &MainWindow::onOptionsMenuShown);
    connect(m.helpMenu, &QMenu::aboutToShow, this, &MainWindow::onHelpMenuShown);
    connect(m.popupMenu, &QMenu::aboutToShow, this, &MainWindow::onPopupMenuShown);

    for (QAction* a : {m.connectAction, m.popupConnectAction}) {
        connect(a, &QAction::triggered, this, &MainWindow::onConnectTriggered);
    }
    for (QAction* a : {m.disconnectAction, m.popupDisconnectAction}) {
        connect(a, &QAction::triggered, this, &MainWindow::onDisconnectTriggered);
    }
    for (QAction* a : {m.saveAlertDataAction, m.popupSaveAlertDataAction}) {
        connect(a, &QAction::triggered, this, &MainWindow::onSaveAlertDataTriggered);
    }
    for (QAction* a : {m.exitAction, m.popupExitAction}) {
        connect(a, &QAction::triggered, this, &MainWindow::onExitTriggered);
    }
    for (QAction* a : {m.portAction, m.popupPortAction}) {
        connect(a, &QAction::triggered, this, &MainWindow::onPortTriggered);
    }
    for (QAction* a : {m.settingsAction, m.popupSettingsAction}) {
        connect(a, &QAction::triggered, this, &MainWindow::onSettingsTriggered);
    }
    // Checkable items flip their own mark before triggered; the toggle sets
    // both marks from the logging state instead.
    for (QAction* a : {m.logAlertDataAction, m.popupLogAlertDataAction}) {
        connect(a, &QAction::triggered, this, &MainWindow::onLogAlertDataTriggered);
    }
    connect(m.showRawAction, &QAction::triggered, this, &MainWindow::onShowRawTriggered);
    for (QAction* a : {m.readMeAction, m.popupReadMeAction}) {
        connect(a, &QAction::triggered, this, &MainWindow::onReadMeTriggered);
    }
    for (QAction* a : {m.aboutAction, m.popupAboutAction}) {
        connect(a, &QAction::triggered, this, &MainWindow::onAboutTriggered);
    }
}

void MainWindow::onFileMenuShown() {
    alerts_->NoAutoHide();
    menus_->saveAlertDataAction->setEnabled(!LastLogLine().empty());
}

void MainWindow::onOptionsMenuShown() {
    alerts_->NoAutoHide();
}

void MainWindow::onHelpMenuShown() {
    alerts_->NoAutoHide();
}

void MainWindow::onPopupMenuShown() {
    menus_->popupSaveAlertDataAction->setEnabled(!LastLogLine().empty());
}

void MainWindow::onConnectTriggered() {
    // A replay holds the display and keeps the port closed; the live link
    // takes both back.
    drives_->endReplay();
    connection_->Connect();
}

void MainWindow::onDisconnectTriggered() {
    connection_->Disconnect();
}

void MainWindow::onSaveAlertDataTriggered() {
    saver_->SaveAlertData(LastLogLine());
}

void MainWindow::onExitTriggered() {
    close();
}

void MainWindow::onPortTriggered() {
    ModalGuard(topMost(), *store_, [&] {
        PortDialog dialog(*store_, this);
        return runDialog(dialog);
    });
}

void MainWindow::onSettingsTriggered() {
    ModalGuard(topMost(), *store_, [&] {
        settings_dialog::SettingsDialog dialog(*store_, topMost(), this);
        return runDialog(dialog);
    });
    LoadSettings();
}

void MainWindow::setLogging(bool on) {
    menus_->logAlertDataAction->setChecked(on);
    menus_->popupLogAlertDataAction->setChecked(on);
    receivePath_->LogData = on;
    // The next frame is logged even if it repeats the last one.
    repeatWatch_->Forget();
}

void MainWindow::onLogAlertDataTriggered() {
    // The checked state before the click decides, whichever item was used.
    setLogging(ToggleLogging(*store_, receivePath_->LogData));
}

void MainWindow::onShowRawTriggered() {
    const bool on = !receivePath_->ShowRaw;
    menus_->showRawAction->setChecked(on);
    receivePath_->ShowRaw = on;
    face_->setRawVisible(on);
    // The label shows the next frame, even one that repeats the last.
    repeatWatch_->Forget();
}

void MainWindow::onReadMeTriggered() {
    const auto found = FindReadme(platform_.programDir.toStdString());
    if (!found) {
        return;
    }
    const QString path = QString::fromStdString(*found);
    if (platform_.openFile(path)) {
        return;
    }
    // No viewer on this desktop (no opener installed, or it would not start):
    // show the text in a window of our own, so the command is never a silent
    // no-op. One such window at a time, brought forward when asked again.
    auto* window = findChild<ReadmeWindow*>();
    if (window == nullptr) {
        window = new ReadmeWindow(this);
    }
    window->load(path);
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::onAboutTriggered() {
    ModalGuard(topMost(), *store_, [&] {
        AboutBox dialog(this);
        return runDialog(dialog);
    });
}

void MainWindow::popupMenuAtCursor() {
    bringToFront();
    menus_->popupMenu->popup(QCursor::pos());
}

}  // namespace veltra
