#include "alerts/alert_lifecycle.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

#include "support/fake_serial_port.h"
#include "support/fakes.h"

namespace veltra {
namespace {

using namespace std::chrono_literals;
using test::FakeClock;
using test::FakeEventPump;
using test::FakeSerialPort;
using test::FakeTimer;
using test::FakeWindow;
using test::MemorySettingsStore;

// Records the clock at every DTR change, so the pulse length can be read.
class TimedPort : public FakeSerialPort {
public:
    explicit TimedPort(const FakeClock& clock) : clock_(clock) {}
    PortResult setDtrEnable(bool on) override {
        changes.push_back({on, clock_.now()});
        return FakeSerialPort::setDtrEnable(on);
    }
    struct Change {
        bool on;
        std::chrono::nanoseconds at;
    };
    std::vector<Change> changes;

private:
    const FakeClock& clock_;
};

class AlertLifecycleTest : public ::testing::Test {
protected:
    AlertLifecycleTest() {
        // Every round of pending events takes a little time.
        pump.hook = [this] { clock.advance(step); };
    }
    int pulses() const {
        int n = 0;
        for (bool on : port.dtrHistory) {
            n += on ? 1 : 0;
        }
        return n;
    }
    // Ticks autoMuteTimer until a pulse goes out; returns the tick that sent it.
    int ticksUntilMute(int limit = 200) {
        const int before = pulses();
        for (int t = 1; t <= limit; ++t) {
            autoMuteTimer.tick();
            if (pulses() != before) {
                return t;
            }
        }
        return -1;
    }
    int ticksUntilMinimised(int limit = 200) {
        window.state = WindowState::Normal;
        for (int t = 1; t <= limit; ++t) {
            autoHideTimer.tick();
            if (window.state == WindowState::Minimised) {
                return t;
            }
        }
        return -1;
    }

    MemorySettingsStore store;
    FakeTimer autoHideTimer;
    FakeTimer autoMuteTimer;
    FakeClock clock;
    TimedPort port{clock};
    FakeWindow window;
    FakeEventPump pump;
    test::FakeTaskQueue later;
    std::chrono::nanoseconds step = 7ms;
    AlertLifecycle life{store, autoHideTimer, autoMuteTimer, port, window, clock, pump, later};
};

TEST_F(AlertLifecycleTest, FirstMuteAfterStartComesATickLaterThanLaterOnes) {
    // An empty store: auto-mute on, five seconds.
    life.BeginAlert();
    EXPECT_TRUE(autoMuteTimer.isActive());
    EXPECT_EQ(ticksUntilMute(), 6);
    EXPECT_FALSE(autoMuteTimer.isActive());
    EXPECT_EQ(port.dtrHistory, (std::vector<bool>{true, false}));
    life.EndAlert();

    life.BeginAlert();
    EXPECT_EQ(ticksUntilMute(), 5);
    store.set("AutoMuteTime", "3");
    life.BeginAlert();
    EXPECT_EQ(ticksUntilMute(), 3);
    EXPECT_EQ(pulses(), 3);
}

// BeginAlert runs inside the receive event, which must return before the
// pulse's 100 ms wait: the pulse goes out right after it.
TEST_F(AlertLifecycleTest, ZeroMuteTimePulsesOnceTheReceiveEventHasReturned) {
    store.set("AutoMuteTime", "0");
    life.BeginAlert();
    EXPECT_TRUE(port.dtrHistory.empty());
    EXPECT_EQ(pump.calls, 0) << "no nested wait inside BeginAlert";
    later.RunAll();
    EXPECT_EQ(port.dtrHistory, (std::vector<bool>{true, false}));
    EXPECT_FALSE(autoMuteTimer.isActive());

    // Auto-mute is on only for the number 1.
    for (const char* off : {"0", "2", "-1"}) {
        store.set("AutoMute", off);
        life.BeginAlert();
        later.RunAll();
        EXPECT_EQ(pulses(), 1) << off;
        EXPECT_FALSE(autoMuteTimer.isActive()) << off;
    }
}

TEST_F(AlertLifecycleTest, PendingMuteOutlivesTheAlertAndIsNotRestartedOrCancelled) {
    life.BeginAlert();
    autoMuteTimer.tick();
    autoMuteTimer.tick();
    life.EndAlert();  // a two-second alert
    autoMuteTimer.tick();
    life.BeginAlert();               // a new alert while the mute is pending
    store.set("AutoMute", "0");      // switching it off does not stop it
    EXPECT_EQ(ticksUntilMute(), 3);  // the sixth tick since the first alert
    EXPECT_EQ(autoMuteTimer.starts, 1);
}

TEST_F(AlertLifecycleTest, ACancelledMuteNeverGoesOutAndTheNextAlertIsTimedAsAfterAMute) {
    life.BeginAlert();
    autoMuteTimer.tick();
    autoMuteTimer.tick();
    autoMuteTimer.tick();
    life.CancelMute();
    EXPECT_FALSE(autoMuteTimer.isActive());
    EXPECT_EQ(ticksUntilMute(50), -1);
    EXPECT_TRUE(port.dtrHistory.empty());
    // Not three ticks into the old count: the full five seconds again.
    life.BeginAlert();
    EXPECT_EQ(ticksUntilMute(), 5);
}

TEST_F(AlertLifecycleTest, LoweringTheMuteTimeBelowTheCountMutesAtTheNextTick) {
    life.BeginAlert();
    for (int i = 0; i < 4; ++i) {
        autoMuteTimer.tick();
    }
    EXPECT_EQ(pulses(), 0);
    store.set("AutoMuteTime", "2");
    EXPECT_EQ(ticksUntilMute(), 1);
}

TEST_F(AlertLifecycleTest, EmptyOrNonNumericTimesCountAsZero) {
    for (const char* text : {"", "  ", "abc", "x5"}) {
        const int before = pulses();
        store.set("AutoMuteTime", text);
        life.BeginAlert();
        later.RunAll();
        EXPECT_EQ(pulses(), before + 1) << '"' << text << '"';

        store.set("AutoHideTime", text);
        window.state = WindowState::Normal;
        life.EndAlert();
        EXPECT_EQ(window.state, WindowState::Minimised) << '"' << text << '"';
        EXPECT_FALSE(autoHideTimer.isActive());
    }

    // The tick handlers read such a text as 0 too: a pending count completes.
    store.set("AutoMuteTime", "9");
    store.set("AutoHideTime", "9");
    life.BeginAlert();
    life.EndAlert();
    store.set("AutoMuteTime", "none");
    store.set("AutoHideTime", "");
    EXPECT_EQ(ticksUntilMute(), 1);
    EXPECT_EQ(ticksUntilMinimised(), 1);
}

TEST_F(AlertLifecycleTest, AutoHideMinimisesAtTheTickAfterItsTime) {
    life.BeginAlert();
    life.EndAlert();
    EXPECT_TRUE(autoHideTimer.isActive());
    EXPECT_EQ(ticksUntilMinimised(), 6);
    EXPECT_FALSE(autoHideTimer.isActive());

    // Each alert starts its own count from zero.
    store.set("AutoHideTime", "2");
    life.BeginAlert();
    life.EndAlert();
    EXPECT_EQ(ticksUntilMinimised(), 3);
}

TEST_F(AlertLifecycleTest, ANewAlertOrAClickCancelsThePendingAutoHide) {
    using Cancel = std::function<void()>;
    for (const Cancel& cancel :
         {Cancel([this] { life.BeginAlert(); }), Cancel([this] { life.NoAutoHide(); })}) {
        window.state = WindowState::Normal;
        life.BeginAlert();
        life.EndAlert();
        autoHideTimer.tick();
        autoHideTimer.tick();
        autoHideTimer.tick();
        cancel();
        EXPECT_FALSE(autoHideTimer.isActive());
        EXPECT_EQ(life.HideTicks, 0);
        EXPECT_EQ(window.state, WindowState::Normal);

        life.EndAlert();  // the whole count again
        EXPECT_EQ(ticksUntilMinimised(), 6);
    }
}

TEST_F(AlertLifecycleTest, HoldingTheMuteButtonPausesTheAutoHideCount) {
    life.BeginAlert();
    life.EndAlert();
    autoHideTimer.tick();
    autoHideTimer.tick();
    life.MuteHeld = true;
    for (int i = 0; i < 10; ++i) {
        autoHideTimer.tick();
    }
    EXPECT_EQ(window.state, WindowState::Normal);
    EXPECT_TRUE(autoHideTimer.isActive());
    life.MuteHeld = false;
    EXPECT_EQ(ticksUntilMinimised(), 4);
}

TEST_F(AlertLifecycleTest, AutoHideSettingsAreReadAtEachUse) {
    store.set("AutoHideTime", "0");
    life.EndAlert();
    EXPECT_EQ(window.log, (std::vector<std::string>{"minimise"}));
    EXPECT_FALSE(autoHideTimer.isActive());

    window.state = WindowState::Normal;
    store.set("AutoHide", "0");
    store.set("AutoHideTime", "5");
    life.EndAlert();
    EXPECT_FALSE(autoHideTimer.isActive());
    EXPECT_EQ(window.state, WindowState::Normal);
}

TEST_F(AlertLifecycleTest, ThePulseLastsJustOver100msWhilePendingEventsRun) {
    std::vector<bool> dtrDuringEvents;
    pump.hook = [&] {
        dtrDuringEvents.push_back(port.dtr);
        clock.advance(step);
    };
    for (auto s : {1ms, 7ms, 50ms, 100ms}) {
        step = s;
        port.changes.clear();
        dtrDuringEvents.clear();
        life.AutoMute();
        ASSERT_EQ(port.changes.size(), 2u);
        EXPECT_TRUE(port.changes[0].on);
        EXPECT_FALSE(port.changes[1].on);
        const auto length = port.changes[1].at - port.changes[0].at;
        EXPECT_GT(length, 100ms) << s.count();
        EXPECT_LE(length, 100ms + s) << s.count();  // no longer than it must be
        EXPECT_FALSE(dtrDuringEvents.empty());
        EXPECT_EQ(dtrDuringEvents, std::vector<bool>(dtrDuringEvents.size(), true));
    }
}

TEST_F(AlertLifecycleTest, EventsRunDuringThePulseMayReenterIt) {
    // A frame ends the alert and another begins one during the pulse, and a
    // due autoMuteTimer tick pulses inside it: the nested pulse completes, then the
    // outer one, then the new alert's own.
    store.set("AutoMuteTime", "0");
    store.set("AutoHideTime", "1");
    int round = 0;
    pump.hook = [&] {
        clock.advance(step);
        if (++round == 3) {
            life.EndAlert();
            autoHideTimer.tick();
            life.BeginAlert();
            life.AutoMute();  // as a due autoMuteTimer tick does
        }
    };
    life.BeginAlert();
    later.RunAll();
    EXPECT_EQ(port.dtrHistory, (std::vector<bool>{true, true, false, false, true, false}));
    EXPECT_FALSE(port.dtr);
    ASSERT_EQ(port.changes.size(), 6u);
    EXPECT_GT(port.changes[3].at - port.changes[0].at, 100ms);
    EXPECT_FALSE(autoHideTimer.isActive());  // the nested BeginAlert dropped the auto-hide
}

TEST_F(AlertLifecycleTest, AnImmediateMuteDoesNotLetAPendingAutoHideMinimise) {
    // The previous alert's auto-hide is due at its next tick when the next
    // alert begins with an immediate mute; that tick arrives during the pulse.
    store.set("AutoHideTime", "1");
    life.BeginAlert();
    life.EndAlert();
    autoHideTimer.tick();
    store.set("AutoMuteTime", "0");
    pump.hook = [&] {
        clock.advance(step);
        autoHideTimer.tick();
    };
    life.BeginAlert();
    later.RunAll();
    EXPECT_EQ(pulses(), 1);
    EXPECT_EQ(window.state, WindowState::Normal);
    EXPECT_TRUE(window.log.empty());
}

}  // namespace
}  // namespace veltra
