// The window tells the port which arrivals it must see at once: a frame that
// repeats the last one waits, unless the window would show or do something
// for it.
#include <QFile>
#include <QLabel>

#include "main_window_harness.h"

namespace veltra::test {
namespace {

// Each arrival carries one frame and completes the one before it.
class ArrivalTest : public MainWindowTest {
protected:
    bool arrive(const DisplayState& state) { return port.arrive(EncodeFrame(state)); }
    static DisplayState KBand() {
        DisplayState s;
        s.Band[kK] = true;
        return s;
    }
};

TEST_F(ArrivalTest, ARepeatWaitsUnlessTheWindowWouldShowOrDoSomethingForIt) {
    load();
    const DisplayState k = KBand();
    EXPECT_FALSE(arrive(k));
    EXPECT_TRUE(arrive(k)) << "the first frame";
    EXPECT_FALSE(arrive(k)) << "a repeat";

    // The raw label and the log take the next frame, repeat or not.
    form->menus().showRawAction->trigger();
    EXPECT_TRUE(arrive(k));
    EXPECT_FALSE(child<QLabel>("rawMessageLabel")->text().isEmpty());
    EXPECT_FALSE(arrive(k));
    form->menus().logAlertDataAction->trigger();
    EXPECT_TRUE(arrive(k));
    EXPECT_GT(QFile(QString::fromStdString(workingLog())).size(), 0);
    EXPECT_FALSE(arrive(k));

    // During an alert each frame brings a minimised window back: a repeat
    // waits only while the window is on screen.
    const DisplayState alert = KaAlert();
    EXPECT_FALSE(arrive(alert)) << "completes a repeat of the K band";
    EXPECT_TRUE(arrive(alert)) << "begins the alert";
    EXPECT_FALSE(arrive(alert)) << "a repeat of the alert, the window on screen";
    form->setWindowState(WindowState::Minimised);
    EXPECT_TRUE(arrive(alert)) << "a repeat of the alert, the window minimised";
    EXPECT_EQ(form->windowState(), WindowState::Normal) << "that frame brought it back";
    EXPECT_FALSE(arrive(k)) << "completes a repeat of the alert, the window back";
    EXPECT_TRUE(arrive(k)) << "ends the alert";
    form->setWindowState(WindowState::Minimised);
    EXPECT_FALSE(arrive(k)) << "no alert: a minimised window stays so";
    EXPECT_EQ(form->windowState(), WindowState::Minimised);
    form->setWindowState(WindowState::Normal);

    // A disconnected display is blank: the first frame after it is news.
    form->onDisconnectTriggered();
    EXPECT_TRUE(arrive(k));
    EXPECT_FALSE(arrive(k));

    // The watchdog counts arrivals that wait too.
    const int delivered = port.pendingDeliveries;
    form->connection().onWatchdogTick();
    EXPECT_EQ(port.pendingDeliveries, delivered + 1);
}

}  // namespace
}  // namespace veltra::test
