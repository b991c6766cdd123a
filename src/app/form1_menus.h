#pragma once
// The main window's menu tree: the menu bar's File, Options and Help menus and
// the pop-up menu that repeats their commands for the frameless and hidden
// window. Every menu and item carries its name as its object name.

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace veltra {

struct Form1Menus {
    // Builds the whole tree: the three top menus into `bar`, the pop-up menu
    // `mnuPopup` as a free menu owned by `owner`.
    Form1Menus(QMenuBar* bar, QWidget* owner);

    QMenu* mnuFile;
    QAction* mnuMonitor;
    QAction* mnuStop;
    QAction* mnuSaveAlertData;
    QAction* mnuExit;

    QMenu* mnuOptions;
    QAction* mnuPort;
    QAction* mnuSettings;
    QAction* mnuLogData;
    QAction* mnuShowRaw;

    QMenu* mnuHelp;
    QAction* mnutest;
    QAction* mnuReadMe;
    QAction* mnuAbout;

    QMenu* mnuPopup;
    QAction* mnuPopupConnect;
    QAction* mnuPopDisconnect;
    QAction* mnuPopSaveAlertData;
    QMenu* mnuPOPOptions;
    QAction* mnuPOPPort;
    QAction* mnuPOPSettings;
    QAction* mnuPOPLogAlertData;
    QMenu* mnuPOPHelp;
    QAction* mnuPOPReadme;
    QAction* mnuPOPAbout;
    QAction* mnuPOPExit;

    // Shows or hides the three top menus; with all three hidden the menu bar
    // disappears.
    void setTopMenusVisible(bool visible);
    bool topMenusVisible() const;

private:
    QMenuBar* bar_;
};

}  // namespace veltra
