// The main window's menu commands.

#include <QCursor>

#include "alerts/log_toggle.h"
#include "app/drive_feature.h"
#include "app/form1.h"
#include "app/form4.h"
#include "app/readme_window.h"
#include "port/qt/form2.h"
#include "settings_dialog/qt/frm_settings.h"
#include "shell/modal_guard.h"
#include "shell/qt/face_widget.h"
#include "shell/readme_location.h"

namespace veltra {

void Form1::connectMenus() {
    Form1Menus& m = *menus_;
    connect(m.mnuFile, &QMenu::aboutToShow, this, &Form1::mnuFile_Click);
    connect(m.mnuOptions, &QMenu::aboutToShow, this, &Form1::mnuOptions_Click);
    connect(m.mnuHelp, &QMenu::aboutToShow, this, &Form1::mnuHelp_Click);
    connect(m.mnuPopup, &QMenu::aboutToShow, this, &Form1::mnuPopup_Click);

    for (QAction* a : {m.mnuMonitor, m.mnuPopupConnect}) {
        connect(a, &QAction::triggered, this, &Form1::mnuMonitor_Click);
    }
    for (QAction* a : {m.mnuStop, m.mnuPopDisconnect}) {
        connect(a, &QAction::triggered, this, &Form1::mnuStop_Click);
    }
    for (QAction* a : {m.mnuSaveAlertData, m.mnuPopSaveAlertData}) {
        connect(a, &QAction::triggered, this, &Form1::mnuSaveAlertData_Click);
    }
    for (QAction* a : {m.mnuExit, m.mnuPOPExit}) {
        connect(a, &QAction::triggered, this, &Form1::mnuExit_Click);
    }
    for (QAction* a : {m.mnuPort, m.mnuPOPPort}) {
        connect(a, &QAction::triggered, this, &Form1::mnuPort_Click);
    }
    for (QAction* a : {m.mnuSettings, m.mnuPOPSettings}) {
        connect(a, &QAction::triggered, this, &Form1::mnuSettings_Click);
    }
    // Checkable items flip their own mark before triggered; the toggle sets
    // both marks from the logging state instead.
    for (QAction* a : {m.mnuLogData, m.mnuPOPLogAlertData}) {
        connect(a, &QAction::triggered, this, &Form1::mnuLogData_Click);
    }
    connect(m.mnuShowRaw, &QAction::triggered, this, &Form1::mnuShowRaw_Click);
    for (QAction* a : {m.mnuReadMe, m.mnuPOPReadme}) {
        connect(a, &QAction::triggered, this, &Form1::mnuReadMe_Click);
    }
    for (QAction* a : {m.mnuAbout, m.mnuPOPAbout}) {
        connect(a, &QAction::triggered, this, &Form1::mnuAbout_Click);
    }
}

void Form1::mnuFile_Click() {
    alerts_->NoAutoHide();
    menus_->mnuSaveAlertData->setEnabled(!LastLogLine().empty());
}

void Form1::mnuOptions_Click() {
    alerts_->NoAutoHide();
}

void Form1::mnuHelp_Click() {
    alerts_->NoAutoHide();
}

void Form1::mnuPopup_Click() {
    menus_->mnuPopSaveAlertData->setEnabled(!LastLogLine().empty());
}

void Form1::mnuMonitor_Click() {
    // A replay holds the display and keeps the port closed; the live link
    // takes both back.
    drives_->endReplay();
    connection_->Connect();
}

void Form1::mnuStop_Click() {
    connection_->Disconnect();
}

void Form1::mnuSaveAlertData_Click() {
    saver_->SaveAlertData(LastLogLine());
}

void Form1::mnuExit_Click() {
    close();
}

void Form1::mnuPort_Click() {
    ModalGuard(topMost(), *store_, [&] {
        Form2 dialog(*store_, this);
        return runDialog(dialog);
    });
}

void Form1::mnuSettings_Click() {
    ModalGuard(topMost(), *store_, [&] {
        settings_dialog::frmSettings dialog(*store_, topMost(), this);
        return runDialog(dialog);
    });
    LoadSettings();
}

void Form1::setLogging(bool on) {
    menus_->mnuLogData->setChecked(on);
    menus_->mnuPOPLogAlertData->setChecked(on);
    receivePath_->LogData = on;
}

void Form1::mnuLogData_Click() {
    // The checked state before the click decides, whichever item was used.
    setLogging(ToggleLogging(*store_, receivePath_->LogData));
}

void Form1::mnuShowRaw_Click() {
    const bool on = !receivePath_->ShowRaw;
    menus_->mnuShowRaw->setChecked(on);
    receivePath_->ShowRaw = on;
    face_->setRawVisible(on);
}

void Form1::mnuReadMe_Click() {
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

void Form1::mnuAbout_Click() {
    ModalGuard(topMost(), *store_, [&] {
        Form4 dialog(this);
        return runDialog(dialog);
    });
}

void Form1::popupMenuAtCursor() {
    bringToFront();
    menus_->mnuPopup->popup(QCursor::pos());
}

}  // namespace veltra
