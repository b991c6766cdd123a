#include "app/form1_menus.h"

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

Form1Menus::Form1Menus(QMenuBar* bar, QWidget* owner) : bar_(bar) {
    mnuFile = TopMenu(bar, "mnuFile", QStringLiteral("&File"));
    mnuMonitor = Item(mnuFile, "mnuMonitor", QStringLiteral("&Connect"));
    mnuStop = Item(mnuFile, "mnuStop", QStringLiteral("&Disconnect"));
    Separator(mnuFile, "mnusep");
    mnuSaveAlertData = Item(mnuFile, "mnuSaveAlertData", QStringLiteral("Save &Alert Data..."));
    Separator(mnuFile, "mnusep2");
    mnuExit = Item(mnuFile, "mnuExit", QStringLiteral("&Exit"));

    mnuOptions = TopMenu(bar, "mnuOptions", QStringLiteral("&Options"));
    mnuPort = Item(mnuOptions, "mnuPort", QStringLiteral("&Port..."));
    mnuSettings = Item(mnuOptions, "mnuSettings", QStringLiteral("&Settings..."));
    mnuLogData = Item(mnuOptions, "mnuLogData", QStringLiteral("&Log Alert Data"));
    mnuLogData->setCheckable(true);
    mnuShowRaw = Item(mnuOptions, "mnuShowRaw", QStringLiteral("&Show Raw Messages"));
    mnuShowRaw->setCheckable(true);
    mnuShowRaw->setVisible(false);

    mnuHelp = TopMenu(bar, "mnuHelp", QStringLiteral("&Help"));
    mnutest = Item(mnuHelp, "mnutest", QStringLiteral("test"));
    mnutest->setVisible(false);
    mnuReadMe = Item(mnuHelp, "mnuReadMe", QStringLiteral("&ReadMe..."));
    mnuAbout = Item(mnuHelp, "mnuAbout", QStringLiteral("&About..."));

    mnuPopup = new QMenu(QStringLiteral("&Popup"), owner);
    mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    mnuPopupConnect = Item(mnuPopup, "mnuPopupConnect", QStringLiteral("&Connect"));
    mnuPopDisconnect = Item(mnuPopup, "mnuPopDisconnect", QStringLiteral("&Disconnect"));
    Separator(mnuPopup, "mnusep333");
    mnuPopSaveAlertData =
        Item(mnuPopup, "mnuPopSaveAlertData", QStringLiteral("Save &Alert Data..."));
    Separator(mnuPopup, "mnusep33");
    mnuPOPOptions = SubMenu(mnuPopup, "mnuPOPOptions", QStringLiteral("&Options"));
    mnuPOPPort = Item(mnuPOPOptions, "mnuPOPPort", QStringLiteral("&Port..."));
    mnuPOPSettings = Item(mnuPOPOptions, "mnuPOPSettings", QStringLiteral("&Settings..."));
    mnuPOPLogAlertData =
        Item(mnuPOPOptions, "mnuPOPLogAlertData", QStringLiteral("&Log Alert Data"));
    mnuPOPLogAlertData->setCheckable(true);
    mnuPOPHelp = SubMenu(mnuPopup, "mnuPOPHelp", QStringLiteral("&Help"));
    mnuPOPReadme = Item(mnuPOPHelp, "mnuPOPReadme", QStringLiteral("&ReadMe"));
    mnuPOPAbout = Item(mnuPOPHelp, "mnuPOPAbout", QStringLiteral("&About"));
    Separator(mnuPopup, "mnusepexit");
    mnuPOPExit = Item(mnuPopup, "mnuPOPExit", QStringLiteral("&Exit"));
}

void Form1Menus::setTopMenusVisible(bool visible) {
    mnuFile->menuAction()->setVisible(visible);
    mnuOptions->menuAction()->setVisible(visible);
    mnuHelp->menuAction()->setVisible(visible);
    bar_->setVisible(visible);
}

bool Form1Menus::topMenusVisible() const {
    return mnuFile->menuAction()->isVisible();
}

}  // namespace veltra
