#pragma once
// The main window's menu tree: the menu bar's File, Options and Help menus and
// the pop-up menu that repeats their commands for the frameless and hidden
// window. Every menu and item carries its name as its object name.

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace veltra {

struct MainWindowMenus {
    // Builds the whole tree: the three top menus into `bar`, the pop-up menu
    // `popupMenu` as a free menu owned by `owner`.
    MainWindowMenus(QMenuBar* bar, QWidget* owner);

    QMenu* fileMenu;
    QAction* connectAction;
    QAction* disconnectAction;
    QAction* saveAlertDataAction;
    QAction* exitAction;

    QMenu* optionsMenu;
    QAction* portAction;
    QAction* settingsAction;
    QAction* logAlertDataAction;
    QAction* showRawAction;

    QMenu* helpMenu;
    QAction* hiddenTestAction;
    QAction* readMeAction;
    QAction* aboutAction;

    QMenu* popupMenu;
    QAction* popupConnectAction;
    QAction* popupDisconnectAction;
    QAction* popupSaveAlertDataAction;
    QMenu* popupOptionsMenu;
    QAction* popupPortAction;
    QAction* popupSettingsAction;
    QAction* popupLogAlertDataAction;
    QMenu* popupHelpMenu;
    QAction* popupReadMeAction;
    QAction* popupAboutAction;
    QAction* popupExitAction;

    // Shows or hides the three top menus; with all three hidden the menu bar
    // disappears.
    void setTopMenusVisible(bool visible);
    bool topMenusVisible() const;

private:
    QMenuBar* bar_;
};

}  // namespace veltra
