#include "app/main_window_menus.h"

namespace veltra {

namespace {

QAction* Item(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QAction* Separator(QMenu* menu, const char* name) {
    QAction* a = menu->addSeparator();
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QMenu* SubMenu(QMenu* parent, const char* name, const QString& caption) {
    QMenu* m = parent->addMenu(caption);
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    return m;
}

QMenu* TopMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    return m;
}

}  // namespace

MainWindowMenus::MainWindowMenus(QMenuBar* bar, QWidget* owner) : bar_(bar) {
    fileMenu = TopMenu(bar, "fileMenu", QStringLiteral("&File"));
    connectAction = Item(fileMenu, "connectAction", QStringLiteral("&Connect"));
    disconnectAction = Item(fileMenu, "disconnectAction", QStringLiteral("&Disconnect"));
    Separator(fileMenu, "fileSaveSeparator");
    saveAlertDataAction =
        Item(fileMenu, "saveAlertDataAction", QStringLiteral("Save &Alert Data..."));
    Separator(fileMenu, "fileExitSeparator");
    exitAction = Item(fileMenu, "exitAction", QStringLiteral("&Exit"));

    optionsMenu = TopMenu(bar, "optionsMenu", QStringLiteral("&Options"));
    portAction = Item(optionsMenu, "portAction", QStringLiteral("&Port..."));
    settingsAction = Item(optionsMenu, "settingsAction", QStringLiteral("&Settings..."));
    logAlertDataAction = Item(optionsMenu, "logAlertDataAction", QStringLiteral("&Log Alert Data"));
    logAlertDataAction->setCheckable(true);
    showRawAction = Item(optionsMenu, "showRawAction", QStringLiteral("&Show Raw Messages"));
    showRawAction->setCheckable(true);
    showRawAction->setVisible(false);

    helpMenu = TopMenu(bar, "helpMenu", QStringLiteral("&Help"));
    hiddenTestAction = Item(helpMenu, "hiddenTestAction", QStringLiteral("test"));
    hiddenTestAction->setVisible(false);
    readMeAction = Item(helpMenu, "readMeAction", QStringLiteral("&ReadMe..."));
    aboutAction = Item(helpMenu, "aboutAction", QStringLiteral("&About..."));

    popupMenu = new QMenu(QStringLiteral("&Popup"), owner);
    popupMenu->setObjectName(QStringLiteral("popupMenu"));
    popupConnectAction = Item(popupMenu, "popupConnectAction", QStringLiteral("&Connect"));
    popupDisconnectAction = Item(popupMenu, "popupDisconnectAction", QStringLiteral("&Disconnect"));
    Separator(popupMenu, "popupSaveSeparator");
    popupSaveAlertDataAction =
        Item(popupMenu, "popupSaveAlertDataAction", QStringLiteral("Save &Alert Data..."));
    Separator(popupMenu, "popupOptionsSeparator");
    popupOptionsMenu = SubMenu(popupMenu, "popupOptionsMenu", QStringLiteral("&Options"));
    popupPortAction = Item(popupOptionsMenu, "popupPortAction", QStringLiteral("&Port..."));
    popupSettingsAction =
        Item(popupOptionsMenu, "popupSettingsAction", QStringLiteral("&Settings..."));
    popupLogAlertDataAction =
        Item(popupOptionsMenu, "popupLogAlertDataAction", QStringLiteral("&Log Alert Data"));
    popupLogAlertDataAction->setCheckable(true);
    popupHelpMenu = SubMenu(popupMenu, "popupHelpMenu", QStringLiteral("&Help"));
    popupReadMeAction = Item(popupHelpMenu, "popupReadMeAction", QStringLiteral("&ReadMe"));
    popupAboutAction = Item(popupHelpMenu, "popupAboutAction", QStringLiteral("&About"));
    Separator(popupMenu, "popupExitSeparator");
    popupExitAction = Item(popupMenu, "popupExitAction", QStringLiteral("&Exit"));
}

void MainWindowMenus::setTopMenusVisible(bool visible) {
    fileMenu->menuAction()->setVisible(visible);
    optionsMenu->menuAction()->setVisible(visible);
    helpMenu->menuAction()->setVisible(visible);
    bar_->setVisible(visible);
}

bool MainWindowMenus::topMenusVisible() const {
    return fileMenu->menuAction()->isVisible();
}

}  // namespace veltra
