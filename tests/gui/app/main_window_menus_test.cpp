// The main window's menus and the commands behind them.

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "app/readme_window.h"
#include "app/tray.h"
#include "main_window_harness.h"
#include "shell/qt/border.h"
#include "shell/qt/qt_timer.h"
#include "shell/qt/twips.h"

namespace veltra::test {
namespace {

// One line per item, depth first: indent, object name, caption ("-" for a
// separator), and "hidden" for an item that is not shown.
void Describe(const QMenu* menu, const QString& indent, QStringList& out) {
    for (const QAction* a : menu->actions()) {
        QString line = indent + a->objectName() + QLatin1Char(' ') +
                       (a->isSeparator() ? QStringLiteral("-") : a->text());
        if (!a->isVisible()) {
            line += QStringLiteral(" hidden");
        }
        out << line;
        if (a->menu() != nullptr) {
            Describe(a->menu(), indent + QStringLiteral("  "), out);
        }
    }
}

QStringList AllActions(MainWindow& form) {
    QStringList out;
    for (const QAction* a : form.menuBar()->actions()) {
        out << a->objectName() + QLatin1Char(' ') + a->text();
        Describe(a->menu(), QStringLiteral("  "), out);
    }
    out << QStringLiteral("popupMenu ") + form.menus().popupMenu->title();
    Describe(form.menus().popupMenu, QStringLiteral("  "), out);
    return out;
}

TEST_F(MainWindowTest, MenuTreeHasEveryCaptionAndNameInOrder) {
    load();
    const QStringList expected = {
        "fileMenu &File",
        "  connectAction &Connect",
        "  disconnectAction &Disconnect",
        "  fileSaveSeparator -",
        "  saveAlertDataAction Save &Alert Data...",
        "  fileExitSeparator -",
        "  exitAction &Exit",
        // The drive recorder's items follow every existing one.
        "  replaySeparator -",
        "  replayDriveAction Replay Drive...",
        "optionsMenu &Options",
        "  portAction &Port...",
        "  settingsAction &Settings...",
        "  logAlertDataAction &Log Alert Data",
        "  showRawAction &Show Raw Messages hidden",
        "helpMenu &Help",
        "  hiddenTestAction test hidden",
        "  readMeAction &ReadMe...",
        "  aboutAction &About...",
        "  linkStatusAction Link Status...",
        "popupMenu &Popup",
        "  popupConnectAction &Connect",
        "  popupDisconnectAction &Disconnect",
        "  popupSaveSeparator -",
        "  popupSaveAlertDataAction Save &Alert Data...",
        "  popupOptionsSeparator -",
        "  popupOptionsMenu &Options",
        "    popupPortAction &Port...",
        "    popupSettingsAction &Settings...",
        "    popupLogAlertDataAction &Log Alert Data",
        "  popupHelpMenu &Help",
        "    popupReadMeAction &ReadMe",
        "    popupAboutAction &About",
        "    popLinkStatusAction Link Status...",
        "  popupExitSeparator -",
        "  popupExitAction &Exit",
        "  popReplaySeparator -",
        "  popReplayDriveAction Replay Drive...",
    };
    EXPECT_EQ(AllActions(*form).join('\n').toStdString(), expected.join('\n').toStdString());
    // Nothing carries a shortcut key or starts out checked.
    for (const QAction* a : form->findChildren<QAction*>()) {
        EXPECT_TRUE(a->shortcut().isEmpty()) << a->objectName().toStdString();
        EXPECT_FALSE(a->isChecked()) << a->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, OpeningMenusCancelsAutoHideAndEnablesSaveOnlyWithLoggedData) {
    store.set("AutoHide", "1");
    store.set("AutoHideTime", "30");
    load();
    MainWindowMenus& m = form->menus();
    auto* autoHideTimer = child<QtTimer>("autoHideTimer");

    emit m.fileMenu->aboutToShow();
    emit m.popupMenu->aboutToShow();
    EXPECT_FALSE(m.saveAlertDataAction->isEnabled());
    EXPECT_FALSE(m.popupSaveAlertDataAction->isEnabled());

    form->menus().logAlertDataAction->trigger();
    send(KaAlert());
    ASSERT_FALSE(form->LastLogLine().empty());
    // Refreshed only when each menu opens.
    EXPECT_FALSE(m.saveAlertDataAction->isEnabled());
    emit m.popupMenu->aboutToShow();
    EXPECT_TRUE(m.popupSaveAlertDataAction->isEnabled());
    EXPECT_FALSE(m.saveAlertDataAction->isEnabled());
    emit m.fileMenu->aboutToShow();
    EXPECT_TRUE(m.saveAlertDataAction->isEnabled());

    // The pop-up menu leaves a pending auto-hide alone; the menu bar's
    // menus cancel it.
    for (QMenu* menu : {m.fileMenu, m.optionsMenu, m.helpMenu}) {
        form->alerts().EndAlert();
        ASSERT_TRUE(autoHideTimer->isActive());
        emit m.popupMenu->aboutToShow();
        EXPECT_TRUE(autoHideTimer->isActive());
        emit menu->aboutToShow();
        EXPECT_FALSE(autoHideTimer->isActive()) << menu->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, RightPressOnTheFaceCancelsAutoHideAndOpensThePopup) {
    store.set("AutoHide", "1");
    store.set("AutoHideTime", "30");
    load();
    form->alerts().EndAlert();
    QTest::mousePress(child("bandPanel"), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_FALSE(child<QtTimer>("autoHideTimer")->isActive());
    EXPECT_TRUE(WaitFor([&] { return form->menus().popupMenu->isVisible(); }));
    form->menus().popupMenu->close();
}

TEST_F(MainWindowTest, BothLogItemsToggleLoggingTogetherAndRememberIt) {
    load();
    MainWindowMenus& m = form->menus();
    QFile log(QString::fromStdString(workingLog()));

    m.logAlertDataAction->trigger();
    EXPECT_TRUE(m.logAlertDataAction->isChecked());
    EXPECT_TRUE(m.popupLogAlertDataAction->isChecked());
    EXPECT_EQ(store.get("LogData"), "True");
    send(KaAlert());
    ASSERT_TRUE(log.exists());
    const qint64 logged = log.size();
    EXPECT_GT(logged, 0);

    m.popupLogAlertDataAction->trigger();
    EXPECT_FALSE(m.logAlertDataAction->isChecked());
    EXPECT_FALSE(m.popupLogAlertDataAction->isChecked());
    EXPECT_EQ(store.get("LogData"), "False");
    send(DisplayState{});
    EXPECT_EQ(log.size(), logged);

    // The next start begins as the user left it.
    m.popupLogAlertDataAction->trigger();
    form.reset();
    load();
    EXPECT_TRUE(form->menus().logAlertDataAction->isChecked());
    EXPECT_TRUE(form->menus().popupLogAlertDataAction->isChecked());
}

TEST_F(MainWindowTest, ShowRawUncoversTheRawLabelWithEachFrame) {
    load();
    QWidget* displayPanel = child("displayPanel");
    auto* rawMessageLabel = child<QLabel>("rawMessageLabel");
    const double dpi = form->face().logicalDpi();

    form->menus().showRawAction->trigger();
    EXPECT_TRUE(form->menus().showRawAction->isChecked());
    EXPECT_EQ(displayPanel->height(), TwipsToPixels(5775, dpi));
    EXPECT_TRUE(rawMessageLabel->isVisibleTo(displayPanel));
    EXPECT_LT(rawMessageLabel->geometry().bottom(), displayPanel->height());
    send(KaAlert());
    EXPECT_FALSE(rawMessageLabel->text().isEmpty());

    form->menus().showRawAction->trigger();
    EXPECT_FALSE(form->menus().showRawAction->isChecked());
    EXPECT_EQ(displayPanel->height(), TwipsToPixels(5190, dpi));
    EXPECT_GT(rawMessageLabel->y(), displayPanel->height());
}

TEST_F(MainWindowTest, ReadMeOpensTheFileBesideTheProgramOnlyWhenItIsThere) {
    load();
    form->menus().readMeAction->trigger();
    form->menus().popupReadMeAction->trigger();
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(prompt.shown.empty());

    QFile readme(dir.filePath(QStringLiteral("readme.txt")));
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.close();
    form->menus().readMeAction->trigger();
    form->menus().popupReadMeAction->trigger();
    const QString path = dir.path() + QStringLiteral("/readme.txt");
    EXPECT_EQ(opened, (std::vector<QString>{path, path}));
}

TEST_F(MainWindowTest, WithoutAViewerTheReadMeOpensInAReadOnlyWindowOfItsOwn) {
    load();
    viewerOpens = false;
    QFile readme(dir.filePath(QStringLiteral("readme.txt")));
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.write("Veltra Scope 1.2.0\n  Bands   four lamps\n");
    readme.close();

    form->menus().readMeAction->trigger();
    auto* window = form->findChild<ReadmeWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("readme.txt \u2014 Veltra Scope"));
    auto* text = window->findChild<QPlainTextEdit*>(QStringLiteral("readmeText"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("Veltra Scope 1.2.0\n  Bands   four lamps\n"));
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_TRUE(prompt.shown.empty());

    // Asked again (from the pop-up menu), the same window comes forward with
    // the file as it is now.
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.write("changed\n");
    readme.close();
    form->menus().popupReadMeAction->trigger();
    EXPECT_EQ(form->findChildren<ReadmeWindow*>().size(), 1);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("changed\n"));

    // Its Close button ends it; the next command makes a new one.
    QPointer<ReadmeWindow> closed(window);
    window->findChild<QPushButton*>(QStringLiteral("readmeClose"))->click();
    EXPECT_TRUE(WaitFor([&] { return closed.isNull(); }));
    form->menus().readMeAction->trigger();
    EXPECT_EQ(form->findChildren<ReadmeWindow*>().size(), 1);
    EXPECT_EQ(opened.size(), 3u);
}

TEST_F(MainWindowTest, AboutBoxShowsNameVersionAndALockedLicence) {
    load();
    onDialog = [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("About..."));
        const auto* name = d.findChild<QLabel*>(QStringLiteral("programName"));
        EXPECT_EQ(name->text(), QStringLiteral("Veltra Scope"));
        EXPECT_EQ(name->font().family(), QStringLiteral("Arial"));
        EXPECT_DOUBLE_EQ(name->font().pointSizeF(), 20.25);
        EXPECT_TRUE(name->font().bold());
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("versionLabel"))->text(),
                  QStringLiteral("v1.2.0"));
        auto* licence = d.findChild<QPlainTextEdit*>(QStringLiteral("licenceText"));
        EXPECT_TRUE(licence->isReadOnly());
        EXPECT_FALSE(licence->toPlainText().isEmpty());
        const QString before = licence->toPlainText();
        QTest::keyClicks(licence, QStringLiteral("typed"));
        EXPECT_EQ(licence->toPlainText(), before);
        auto* ok = d.findChild<QAbstractButton*>(QStringLiteral("okButton"));
        EXPECT_EQ(ok->text(), QStringLiteral("&OK"));
        ok->click();
        return d.result();
    };
    form->menus().aboutAction->trigger();
    form->menus().popupAboutAction->trigger();
    EXPECT_EQ(dialogs, (std::vector<QString>{"AboutBox", "AboutBox"}));
}

TEST_F(MainWindowTest, PortCommandsRunThePortDialog) {
    load();
    form->menus().portAction->trigger();
    form->menus().popupPortAction->trigger();
    EXPECT_EQ(dialogs, (std::vector<QString>{"PortDialog", "PortDialog"}));
}

TEST_F(MainWindowTest, SettingsCommandsReapplyFrameAndAspectWhetherConfirmedOrNot) {
    store.set("KeepAspectRatio", "0");
    load();
    MainWindowMenus& m = form->menus();
    ASSERT_TRUE(resizeFace(QSize(900, 500)));
    const QPoint place = form->pos();

    // Confirmed: hide the title bar and keep the aspect ratio.
    onDialog = [&](QDialog& d) {
        d.findChild<QAbstractButton*>(QStringLiteral("hideTitleBarBox"))->click();
        d.findChild<QAbstractButton*>(QStringLiteral("keepAspectBox"))->click();
        d.findChild<QAbstractButton*>(QStringLiteral("okButton"))->click();
        return d.result();
    };
    m.settingsAction->trigger();
    EXPECT_EQ(dialogs, (std::vector<QString>{"SettingsDialog"}));
    EXPECT_EQ(store.get("HideTitlebar"), "1");
    EXPECT_TRUE(IsFrameless(form.get()));
    EXPECT_FALSE(m.topMenusVisible());
    EXPECT_FALSE(form->menuBar()->isVisible());
    EXPECT_TRUE(child("minimiseBox")->isVisible());
    EXPECT_TRUE(form->KeepAspect);
    ASSERT_TRUE(WaitFor([&] { return face()->height() == qRound(face()->width() / 2.543); }))
        << face()->width() << "x" << face()->height();

    // Cancelled, with the options changed meanwhile by hand: applied all
    // the same.
    onDialog = [&](QDialog& d) {
        store.set("HideTitlebar", "0");
        store.set("KeepAspectRatio", "0");
        d.findChild<QAbstractButton*>(QStringLiteral("cancelButton"))->click();
        return d.result();
    };
    m.popupSettingsAction->trigger();
    EXPECT_FALSE(IsFrameless(form.get()));
    EXPECT_TRUE(m.topMenusVisible());
    EXPECT_FALSE(child("minimiseBox")->isVisible());
    EXPECT_FALSE(form->KeepAspect);
    // Switching the frame neither hides nor moves the window.
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->pos(), place);
}

}  // namespace
}  // namespace veltra::test
