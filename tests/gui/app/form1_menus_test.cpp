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
#include "form1_harness.h"
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

QStringList AllActions(Form1& form) {
    QStringList out;
    for (const QAction* a : form.menuBar()->actions()) {
        out << a->objectName() + QLatin1Char(' ') + a->text();
        Describe(a->menu(), QStringLiteral("  "), out);
    }
    out << QStringLiteral("mnuPopup ") + form.menus().mnuPopup->title();
    Describe(form.menus().mnuPopup, QStringLiteral("  "), out);
    return out;
}

TEST_F(Form1Test, MenuTreeHasEveryCaptionAndNameInOrder) {
    load();
    const QStringList expected = {
        "mnuFile &File",
        "  mnuMonitor &Connect",
        "  mnuStop &Disconnect",
        "  mnusep -",
        "  mnuSaveAlertData Save &Alert Data...",
        "  mnusep2 -",
        "  mnuExit &Exit",
        // The drive recorder's items follow every existing one.
        "  replaySeparator -",
        "  replayDriveAction Replay Drive...",
        "mnuOptions &Options",
        "  mnuPort &Port...",
        "  mnuSettings &Settings...",
        "  mnuLogData &Log Alert Data",
        "  mnuShowRaw &Show Raw Messages hidden",
        "mnuHelp &Help",
        "  mnutest test hidden",
        "  mnuReadMe &ReadMe...",
        "  mnuAbout &About...",
        "  linkStatusAction Link Status...",
        "mnuPopup &Popup",
        "  mnuPopupConnect &Connect",
        "  mnuPopDisconnect &Disconnect",
        "  mnusep333 -",
        "  mnuPopSaveAlertData Save &Alert Data...",
        "  mnusep33 -",
        "  mnuPOPOptions &Options",
        "    mnuPOPPort &Port...",
        "    mnuPOPSettings &Settings...",
        "    mnuPOPLogAlertData &Log Alert Data",
        "  mnuPOPHelp &Help",
        "    mnuPOPReadme &ReadMe",
        "    mnuPOPAbout &About",
        "    popLinkStatusAction Link Status...",
        "  mnusepexit -",
        "  mnuPOPExit &Exit",
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

TEST_F(Form1Test, OpeningMenusCancelsAutoHideAndEnablesSaveOnlyWithLoggedData) {
    store.set("AutoHide", "1");
    store.set("AutoHideTime", "30");
    load();
    Form1Menus& m = form->menus();
    auto* timer2 = child<QtTimer>("Timer2");

    emit m.mnuFile->aboutToShow();
    emit m.mnuPopup->aboutToShow();
    EXPECT_FALSE(m.mnuSaveAlertData->isEnabled());
    EXPECT_FALSE(m.mnuPopSaveAlertData->isEnabled());

    form->menus().mnuLogData->trigger();
    send(KaAlert());
    ASSERT_FALSE(form->LastLogLine().empty());
    // Refreshed only when each menu opens.
    EXPECT_FALSE(m.mnuSaveAlertData->isEnabled());
    emit m.mnuPopup->aboutToShow();
    EXPECT_TRUE(m.mnuPopSaveAlertData->isEnabled());
    EXPECT_FALSE(m.mnuSaveAlertData->isEnabled());
    emit m.mnuFile->aboutToShow();
    EXPECT_TRUE(m.mnuSaveAlertData->isEnabled());

    // The pop-up menu leaves a pending auto-hide alone; the menu bar's
    // menus cancel it.
    for (QMenu* menu : {m.mnuFile, m.mnuOptions, m.mnuHelp}) {
        form->alerts().EndAlert();
        ASSERT_TRUE(timer2->isActive());
        emit m.mnuPopup->aboutToShow();
        EXPECT_TRUE(timer2->isActive());
        emit menu->aboutToShow();
        EXPECT_FALSE(timer2->isActive()) << menu->objectName().toStdString();
    }
}

TEST_F(Form1Test, RightPressOnTheFaceCancelsAutoHideAndOpensThePopup) {
    store.set("AutoHide", "1");
    store.set("AutoHideTime", "30");
    load();
    form->alerts().EndAlert();
    QTest::mousePress(child("Frame3"), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_FALSE(child<QtTimer>("Timer2")->isActive());
    EXPECT_TRUE(WaitFor([&] { return form->menus().mnuPopup->isVisible(); }));
    form->menus().mnuPopup->close();
}

TEST_F(Form1Test, BothLogItemsToggleLoggingTogetherAndRememberIt) {
    load();
    Form1Menus& m = form->menus();
    QFile log(QString::fromStdString(workingLog()));

    m.mnuLogData->trigger();
    EXPECT_TRUE(m.mnuLogData->isChecked());
    EXPECT_TRUE(m.mnuPOPLogAlertData->isChecked());
    EXPECT_EQ(store.get("LogData"), "True");
    send(KaAlert());
    ASSERT_TRUE(log.exists());
    const qint64 logged = log.size();
    EXPECT_GT(logged, 0);

    m.mnuPOPLogAlertData->trigger();
    EXPECT_FALSE(m.mnuLogData->isChecked());
    EXPECT_FALSE(m.mnuPOPLogAlertData->isChecked());
    EXPECT_EQ(store.get("LogData"), "False");
    send(DisplayState{});
    EXPECT_EQ(log.size(), logged);

    // The next start begins as the user left it.
    m.mnuPOPLogAlertData->trigger();
    form.reset();
    load();
    EXPECT_TRUE(form->menus().mnuLogData->isChecked());
    EXPECT_TRUE(form->menus().mnuPOPLogAlertData->isChecked());
}

TEST_F(Form1Test, ShowRawUncoversTheRawLabelWithEachFrame) {
    load();
    QWidget* frame1 = child("Frame1");
    auto* label2 = child<QLabel>("Label2");
    const double dpi = form->face().logicalDpi();

    form->menus().mnuShowRaw->trigger();
    EXPECT_TRUE(form->menus().mnuShowRaw->isChecked());
    EXPECT_EQ(frame1->height(), TwipsToPixels(5775, dpi));
    EXPECT_TRUE(label2->isVisibleTo(frame1));
    EXPECT_LT(label2->geometry().bottom(), frame1->height());
    send(KaAlert());
    EXPECT_FALSE(label2->text().isEmpty());

    form->menus().mnuShowRaw->trigger();
    EXPECT_FALSE(form->menus().mnuShowRaw->isChecked());
    EXPECT_EQ(frame1->height(), TwipsToPixels(5190, dpi));
    EXPECT_GT(label2->y(), frame1->height());
}

TEST_F(Form1Test, ReadMeOpensTheFileBesideTheProgramOnlyWhenItIsThere) {
    load();
    form->menus().mnuReadMe->trigger();
    form->menus().mnuPOPReadme->trigger();
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(prompt.shown.empty());

    QFile readme(dir.filePath(QStringLiteral("readme.txt")));
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.close();
    form->menus().mnuReadMe->trigger();
    form->menus().mnuPOPReadme->trigger();
    const QString path = dir.path() + QStringLiteral("/readme.txt");
    EXPECT_EQ(opened, (std::vector<QString>{path, path}));
}

TEST_F(Form1Test, WithoutAViewerTheReadMeOpensInAReadOnlyWindowOfItsOwn) {
    load();
    viewerOpens = false;
    QFile readme(dir.filePath(QStringLiteral("readme.txt")));
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.write("Veltra Scope 1.2.0\n  Bands   four lamps\n");
    readme.close();

    form->menus().mnuReadMe->trigger();
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
    form->menus().mnuPOPReadme->trigger();
    EXPECT_EQ(form->findChildren<ReadmeWindow*>().size(), 1);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("changed\n"));

    // Its Close button ends it; the next command makes a new one.
    QPointer<ReadmeWindow> closed(window);
    window->findChild<QPushButton*>(QStringLiteral("readmeClose"))->click();
    EXPECT_TRUE(WaitFor([&] { return closed.isNull(); }));
    form->menus().mnuReadMe->trigger();
    EXPECT_EQ(form->findChildren<ReadmeWindow*>().size(), 1);
    EXPECT_EQ(opened.size(), 3u);
}

TEST_F(Form1Test, AboutBoxShowsNameVersionAndALockedLicence) {
    load();
    onDialog = [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("About..."));
        const auto* name = d.findChild<QLabel*>(QStringLiteral("Label1"));
        EXPECT_EQ(name->text(), QStringLiteral("Veltra Scope"));
        EXPECT_EQ(name->font().family(), QStringLiteral("Arial"));
        EXPECT_DOUBLE_EQ(name->font().pointSizeF(), 20.25);
        EXPECT_TRUE(name->font().bold());
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("v1.2.0"));
        auto* licence = d.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
        EXPECT_TRUE(licence->isReadOnly());
        EXPECT_FALSE(licence->toPlainText().isEmpty());
        const QString before = licence->toPlainText();
        QTest::keyClicks(licence, QStringLiteral("typed"));
        EXPECT_EQ(licence->toPlainText(), before);
        auto* ok = d.findChild<QAbstractButton*>(QStringLiteral("Command1"));
        EXPECT_EQ(ok->text(), QStringLiteral("&OK"));
        ok->click();
        return d.result();
    };
    form->menus().mnuAbout->trigger();
    form->menus().mnuPOPAbout->trigger();
    EXPECT_EQ(dialogs, (std::vector<QString>{"Form4", "Form4"}));
}

TEST_F(Form1Test, PortCommandsRunThePortDialog) {
    load();
    form->menus().mnuPort->trigger();
    form->menus().mnuPOPPort->trigger();
    EXPECT_EQ(dialogs, (std::vector<QString>{"Form2", "Form2"}));
}

TEST_F(Form1Test, SettingsCommandsReapplyFrameAndAspectWhetherConfirmedOrNot) {
    store.set("KeepAspectRatio", "0");
    load();
    Form1Menus& m = form->menus();
    ASSERT_TRUE(resizeFace(QSize(900, 500)));
    const QPoint place = form->pos();

    // Confirmed: hide the title bar and keep the aspect ratio.
    onDialog = [&](QDialog& d) {
        d.findChild<QAbstractButton*>(QStringLiteral("Check6"))->click();
        d.findChild<QAbstractButton*>(QStringLiteral("Check8"))->click();
        d.findChild<QAbstractButton*>(QStringLiteral("Command1"))->click();
        return d.result();
    };
    m.mnuSettings->trigger();
    EXPECT_EQ(dialogs, (std::vector<QString>{"frmSettings"}));
    EXPECT_EQ(store.get("HideTitlebar"), "1");
    EXPECT_TRUE(IsFrameless(form.get()));
    EXPECT_FALSE(m.topMenusVisible());
    EXPECT_FALSE(form->menuBar()->isVisible());
    EXPECT_TRUE(child("Frame7")->isVisible());
    EXPECT_TRUE(form->KeepAspect);
    ASSERT_TRUE(WaitFor([&] { return face()->height() == qRound(face()->width() / 2.543); }))
        << face()->width() << "x" << face()->height();

    // Cancelled, with the options changed meanwhile by hand: applied all
    // the same.
    onDialog = [&](QDialog& d) {
        store.set("HideTitlebar", "0");
        store.set("KeepAspectRatio", "0");
        d.findChild<QAbstractButton*>(QStringLiteral("Command2"))->click();
        return d.result();
    };
    m.mnuPOPSettings->trigger();
    EXPECT_FALSE(IsFrameless(form.get()));
    EXPECT_TRUE(m.topMenusVisible());
    EXPECT_FALSE(child("Frame7")->isVisible());
    EXPECT_FALSE(form->KeepAspect);
    // Switching the frame neither hides nor moves the window.
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->pos(), place);
}

}  // namespace
}  // namespace veltra::test
