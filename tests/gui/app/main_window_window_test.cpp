// The main window's start-up, resize rule, mouse controls, connection
// commands and shut-down.

#include <QFile>
#include <QSystemTrayIcon>
#include <QTest>

#include "alerts/save_log.h"
#include "main_window_harness.h"
#include "shell/qt/border.h"
#include "shell/qt/twips.h"

namespace veltra::test {
namespace {

TEST_F(MainWindowTest, AnEmptyStoreStartsShownAtDesignSizeAndConnected) {
    load();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowState(), WindowState::Normal);
    EXPECT_EQ(face()->size(), QSize(TwipsToPx(9015), TwipsToPx(3540)));
    EXPECT_FALSE(IsFrameless(form.get()));
    EXPECT_TRUE(form->menuBar()->isVisible());
    EXPECT_FALSE(child("minimiseBox")->isVisible());
    EXPECT_FALSE(form->menus().logAlertDataAction->isChecked());
    EXPECT_FALSE(form->MuteHidden);
    EXPECT_TRUE(form->KeepAspect);
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(prompt.shown.empty());

    form.reset();
    port.close();
    store.set("AutoConnect", "0");
    load();
    EXPECT_FALSE(port.isOpen());
}

TEST_F(MainWindowTest, ConnectAndDisconnectFromEitherMenu) {
    store.set("AutoConnect", "0");
    load();
    MainWindowMenus& m = form->menus();
    const std::pair<QAction*, QAction*> pairs[] = {{m.connectAction, m.disconnectAction},
                                                   {m.popupConnectAction, m.popupDisconnectAction}};
    for (auto [connect, disconnect] : pairs) {
        connect->trigger();
        EXPECT_TRUE(port.isOpen()) << connect->objectName().toStdString();
        disconnect->trigger();
        EXPECT_FALSE(port.isOpen()) << disconnect->objectName().toStdString();
    }
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(MainWindowTest, NeverNarrowerThanTheMinimumWidth) {
    store.set("KeepAspectRatio", "0");
    load();
    form->resize(20, form->height());
    EXPECT_TRUE(WaitFor([&] { return form->width() == TwipsToPx(1680); })) << form->width();
}

// Inner width over inner height, with the mute strip and without it, with
// and without the title bar.
struct AspectCase {
    const char* hideMute;
    const char* hideTitlebar;
    double ratio;
};
void PrintTo(const AspectCase& c, std::ostream* os) {
    *os << "HideMute " << c.hideMute << ", HideTitlebar " << c.hideTitlebar;
}
class MainWindowAspectTest : public MainWindowTest,
                             public ::testing::WithParamInterface<AspectCase> {};

TEST_P(MainWindowAspectTest, HeightFollowsWidth) {
    store.set("HideMute", GetParam().hideMute);
    store.set("HideTitlebar", GetParam().hideTitlebar);
    load();
    for (int width : {700, 1100, 450}) {
        form->resize(width, 900);
        const bool held = WaitFor([&] {
            return face()->width() == width &&
                   face()->height() == qRound(face()->width() / GetParam().ratio);
        });
        EXPECT_TRUE(held) << face()->width() << "x" << face()->height();
        EXPECT_EQ(form->height() - face()->height(),
                  form->menuBar()->isVisible() ? form->menuBar()->height() : 0);
    }
}

INSTANTIATE_TEST_SUITE_P(MuteStrip, MainWindowAspectTest,
                         ::testing::Values(AspectCase{"0", "0", 2.543}, AspectCase{"1", "0", 1.873},
                                           AspectCase{"0", "1", 2.543},
                                           AspectCase{"1", "1", 1.873}));

TEST_F(MainWindowTest, WithoutTheMuteStripTheDisplayShiftsLeftAndTheWindowNarrows) {
    store.set("KeepAspectRatio", "0");
    const int fullWidth = make().width();
    form.reset();

    store.set("HideMute", "1");
    load();
    EXPECT_TRUE(form->MuteHidden);
    QWidget* displayPanel = child("displayPanel");
    const int muteStripOffsetLeft = child("muteStripOffset")->x();
    EXPECT_EQ(muteStripOffsetLeft, TwipsToPx(-2200));
    EXPECT_EQ(displayPanel->x(), muteStripOffsetLeft);
    EXPECT_EQ(form->width(), fullWidth + muteStripOffsetLeft);
    // The mute button lies wholly left of the window's visible area.
    EXPECT_LE(displayPanel->x() + child("muteButton")->geometry().right(), 0);
}

TEST_F(MainWindowTest, SavedGeometryIsRestoredInTwips) {
    store.set("KeepAspectRatio", "0");
    store.set("Width", "12000");
    store.set("Height", "4500");
    store.set("Left", "1500");
    store.set("Top", "900");
    load();
    EXPECT_TRUE(WaitFor([&] {
        return form->size() == QSize(TwipsToPx(12000), TwipsToPx(4500)) &&
               form->pos() == QPoint(TwipsToPx(1500), TwipsToPx(900));
    })) << form->width()
        << "x" << form->height() << " at " << form->x() << "," << form->y();
}

TEST_F(MainWindowTest, MuteButtonHoldsDtrWithAnyButton) {
    store.set("AutoConnect", "0");
    load();
    QWidget* muteButton = child("muteButton");
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        QTest::mousePress(muteButton, b, {}, QPoint(10, 10));
        EXPECT_TRUE(port.dtr) << b;
        EXPECT_TRUE(form->face().muteFacePressed()) << b;
        EXPECT_TRUE(form->alerts().MuteHeld) << b;
        // The mute button is not a handle of the window: no pop-up menu.
        EXPECT_FALSE(form->menus().popupMenu->isVisible()) << b;

        QTest::mouseRelease(muteButton, b, {}, QPoint(10, 10));
        EXPECT_FALSE(port.dtr) << b;
        EXPECT_FALSE(form->face().muteFacePressed()) << b;
        EXPECT_FALSE(form->alerts().MuteHeld) << b;
    }
    EXPECT_EQ(port.dtrHistory, (std::vector<bool>{true, false, true, false, true, false}));
}

TEST_F(MainWindowTest, MinimiseBoxMinimisesOnALeftClickOnly) {
    store.set("HideTitlebar", "1");
    load();
    QWidget* minimiseBox = child("minimiseBox");
    ASSERT_TRUE(minimiseBox->isVisible());
    QTest::mouseClick(minimiseBox, Qt::RightButton);
    EXPECT_EQ(form->windowState(), WindowState::Normal);
    QTest::mouseClick(child("minimiseGlyph"), Qt::LeftButton);
    EXPECT_EQ(form->windowState(), WindowState::Minimised);
    // There is no notification area here, so hiding the window would leave
    // no way back to it: it stays an ordinary minimised window.
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isMinimized());
}

TEST_F(MainWindowTest, ClosingWithoutLoggedDataAsksNothingAndSavesGeometry) {
    store.set("KeepAspectRatio", "0");
    load();
    form->resize(TwipsToPx(10000), TwipsToPx(4000));
    form->move(TwipsToPx(2000), TwipsToPx(1000));
    ASSERT_TRUE(WaitFor([&] { return form->width() == TwipsToPx(10000); }));
    form->menus().exitAction->trigger();
    EXPECT_TRUE(form->unloaded());
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(std::stod(store.get("Width")), std::round(PxToTwips(form->width())));
    EXPECT_EQ(std::stod(store.get("Height")), std::round(PxToTwips(form->height())));
    EXPECT_EQ(std::stod(store.get("Left")), std::round(PxToTwips(form->x())));
    EXPECT_EQ(std::stod(store.get("Top")), std::round(PxToTwips(form->y())));
}

TEST_F(MainWindowTest, ClosingWithLoggedDataAsksAndANoDiscardsTheLog) {
    store.set("LogData", "True");
    load();
    send(KaAlert());
    ASSERT_TRUE(QFile::exists(QString::fromStdString(workingLog())));
    prompt.answer = PromptAnswer::No;
    form->menus().popupExitAction->trigger();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, kExitQuestion);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(workingLog())));
    EXPECT_NE(store.get("Width"), "<absent>");
}

TEST_F(MainWindowTest, SavingAlertDataCopiesTheLogAndForgetsItOnlyWhenSaved) {
    load();
    form->menus().logAlertDataAction->trigger();
    send(KaAlert());
    QFile working(QString::fromStdString(workingLog()));
    ASSERT_TRUE(working.open(QIODevice::ReadOnly));
    const QByteArray logged = working.readAll();
    working.close();

    form->menus().saveAlertDataAction->trigger();  // cancelled
    EXPECT_EQ(saveDialog.asked, 1);
    EXPECT_FALSE(form->LastLogLine().empty());
    EXPECT_TRUE(working.exists());

    const QString target = dir.filePath(QStringLiteral("saved.txt"));
    saveDialog.answer = target.toStdString();
    form->menus().popupSaveAlertDataAction->trigger();
    QFile saved(target);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), logged);
    EXPECT_FALSE(working.exists());
    EXPECT_TRUE(form->LastLogLine().empty());
    // Nothing left to ask about at exit.
    form->close();
    EXPECT_TRUE(prompt.shown.empty());
}

}  // namespace
}  // namespace veltra::test
