#include "port/connection.h"

#include <gtest/gtest.h>

#include "port/port_errors.h"
#include "support/fake_serial_port.h"
#include "support/fakes.h"

namespace veltra {
namespace {

using test::FakeSerialPort;
using Strings = std::vector<std::string>;

const std::string kLost = "Error: Veltra Scope Not Connected!";

class ConnectionTest : public ::testing::Test {
protected:
    LineSpeedSetter speedSetter() {
        return [this](SerialPort& p, std::int32_t speed) -> PortResult {
            speeds.push_back(speed);
            EXPECT_TRUE(p.isOpen());
            return speedFailure;
        };
    }
    // Calls recorded on the port, without the property writes.
    Strings portOps() const {
        Strings ops;
        for (const auto& c : port.calls) {
            if (c == "open" || c == "close") {
                ops.push_back(c);
            }
        }
        return ops;
    }
    Strings texts() const {
        Strings t;
        for (const auto& s : prompt.shown) {
            t.push_back(s.text);
        }
        return t;
    }

    FakeSerialPort port;
    test::MemorySettingsStore store;
    test::FakeTimer watchdogTimer;
    test::FakePrompt prompt;
    test::FakeWindow window;
    std::int32_t recvCount = 0;
    int defaults = 0;
    std::vector<std::int32_t> speeds;
    PortResult speedFailure;
    Connection link{port,
                    store,
                    watchdogTimer,
                    prompt,
                    window,
                    [this] { return recvCount; },
                    [this] { ++defaults; },
                    speedSetter()};
};

TEST_F(ConnectionTest, ConnectConfiguresOpensSetsTheSpeedAndWatchesSilently) {
    store.set("CommPort", "4");
    link.Connect();
    EXPECT_EQ(port.calls,
              (Strings{"CommPort=4", "Settings=4800,n,8,1", "DTREnable=0", "EOFEnable=0",
                       "Handshaking=0", "InBufferSize=30000", "InputLen=0", "InputMode=1",
                       "NullDiscard=0", "OutBufferSize=30000", "ParityReplace=?", "RThreshold=1",
                       "RTSEnable=1", "SThreshold=0", "open"}));
    EXPECT_EQ(speeds, (std::vector<std::int32_t>{7200}));
    EXPECT_TRUE(link.IsPortOpen());
    EXPECT_TRUE(watchdogTimer.isActive());
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(window.log.empty());

    // Already open: nothing at all.
    port.calls.clear();
    link.Connect();
    EXPECT_TRUE(port.calls.empty());
    EXPECT_EQ(speeds.size(), 1u);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(ConnectionTest, FailingStepsAreReportedInOrderAndSkipped) {
    store.set("OnTop", "1");
    port.failures["Settings"] = {9003, "bad settings"};
    port.failures["RTSEnable"] = {9020, "no RTS"};
    link.Connect();
    EXPECT_EQ(texts(), (Strings{"Error 9003: bad settings", "Error 9020: no RTS"}));
    for (const auto& s : prompt.shown) {
        EXPECT_EQ(s.title, "Error");
        EXPECT_EQ(s.icon, PromptIcon::Exclamation);
        EXPECT_EQ(s.buttons, PromptButtons::Ok);
    }
    EXPECT_EQ(window.log, (Strings{"nottopmost", "topmost", "nottopmost", "topmost"}));
    // Every step after a failure was still written, and the port opened.
    EXPECT_EQ(port.calls.back(), "open");
    EXPECT_EQ(port.calls.size(), 15u);
    EXPECT_TRUE(watchdogTimer.isActive());
}

TEST_F(ConnectionTest, CommPortThatIsNoNumberIsReportedAndTheHeldPortKept) {
    for (const char* bad : {"abc", "", "1e9"}) {
        port.calls.clear();
        prompt.shown.clear();
        store.set("CommPort", bad);
        link.InitPort();
        ASSERT_EQ(prompt.shown.size(), 1u) << bad;
        EXPECT_EQ(prompt.shown[0].text.rfind("Error 9030: ", 0), 0u) << prompt.shown[0].text;
        // Appended into one string: "\"" + std::string(bad) + "\"" trips a false
        // -Wrestrict in g++ 12 at -O3.
        const std::string quoted = std::string(1, '"').append(bad).append(1, '"');
        EXPECT_NE(prompt.shown[0].text.find(quoted), std::string::npos);
        EXPECT_EQ(port.calls.front(), "Settings=4800,n,8,1") << bad;
        EXPECT_EQ(port.calls.size(), 13u);
    }
    // Absent: the reader's default, port 1.
    store.values.clear();
    port.calls.clear();
    link.InitPort();
    EXPECT_EQ(port.calls.front(), "CommPort=1");
}

TEST_F(ConnectionTest, OpenFailureIsReportedAndLeavesTheLinkClosed) {
    port.failures["open"] = {9010, "Cannot open /dev/ttyS0: No such file or directory"};
    link.Connect();
    EXPECT_EQ(texts(), (Strings{"Error 9010: Cannot open /dev/ttyS0: No such file or directory"}));
    EXPECT_FALSE(link.IsPortOpen());
    EXPECT_FALSE(watchdogTimer.isActive());
    EXPECT_TRUE(speeds.empty());
}

TEST_F(ConnectionTest, SpeedFailureLeavesThePortOpenButUnwatched) {
    speedFailure = PortError{8015, "Could not set port to specified baud rate"};
    link.Connect();
    EXPECT_EQ(texts(), (Strings{"Error 8015: Could not set port to specified baud rate"}));
    EXPECT_TRUE(link.IsPortOpen());
    EXPECT_FALSE(watchdogTimer.isActive());

    // Unwatched is still connected: Connect does nothing, Disconnect closes.
    link.Connect();
    EXPECT_EQ(speeds.size(), 1u);
    link.Disconnect();
    EXPECT_FALSE(link.IsPortOpen());
    EXPECT_EQ(defaults, 1);
    EXPECT_EQ(prompt.shown.size(), 1u);
}

TEST_F(ConnectionTest, DisconnectStopsClosesAndResetsSilentlyInAnyState) {
    link.Disconnect();
    EXPECT_EQ(defaults, 1);
    EXPECT_TRUE(portOps().empty());

    link.Connect();
    link.Disconnect();
    EXPECT_FALSE(watchdogTimer.isActive());
    EXPECT_EQ(portOps(), (Strings{"open", "close"}));
    EXPECT_EQ(defaults, 2);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(ConnectionTest, WatchdogPassesWhileTheCountMovesAndTripsOnTheFirstStillTick) {
    link.Connect();
    recvCount = 5;
    watchdogTimer.tick();
    EXPECT_EQ(link.LastRecvCount, 5);
    recvCount = 0;  // the count wrapped: still a move
    watchdogTimer.tick();
    EXPECT_EQ(link.LastRecvCount, 0);
    EXPECT_TRUE(prompt.shown.empty());

    store.set("OnTop", "1");
    prompt.duringShow = [&] {
        // Stopped before the message, port still open while it is up.
        EXPECT_FALSE(watchdogTimer.isActive());
        EXPECT_TRUE(port.isOpen());
        EXPECT_FALSE(window.topMost);
        EXPECT_EQ(defaults, 0);
    };
    watchdogTimer.tick();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Veltra Scope");
    EXPECT_EQ(prompt.shown[0].text, kLost);
    EXPECT_EQ(prompt.shown[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(prompt.shown[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(window.log, (Strings{"nottopmost", "topmost"}));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(watchdogTimer.isActive());
    EXPECT_EQ(defaults, 1);
    EXPECT_EQ(link.LastRecvCount, 0);
}

TEST_F(ConnectionTest, FirstTickWithoutDataReportsTheLossOnce) {
    link.Connect();
    // However long the message stays up, no second one follows.
    prompt.duringShow = [&] {
        for (int i = 0; i < 5; ++i) {
            watchdogTimer.tick();
        }
    };
    watchdogTimer.tick();
    EXPECT_EQ(texts(), (Strings{kLost}));
    EXPECT_EQ(portOps(), (Strings{"open", "close"}));
}

TEST_F(ConnectionTest, DataArrivingWhileTheMessageIsUpIsStillReceived) {
    std::vector<std::uint8_t> received;
    port.setReceiveHandler([&](int event, std::span<const std::uint8_t> bytes) {
        EXPECT_EQ(event, kCommEventReceive);
        received.insert(received.end(), bytes.begin(), bytes.end());
        ++recvCount;
    });
    link.Connect();
    const std::uint8_t frame[] = {0xFE, 0x01};
    prompt.duringShow = [&] { port.receive(frame); };
    watchdogTimer.tick();
    EXPECT_EQ(received, (std::vector<std::uint8_t>{0xFE, 0x01}));
    // Closed all the same once the message is dismissed.
    EXPECT_FALSE(port.isOpen());
}

TEST_F(ConnectionTest, CountsSurviveReconnectingSoAMovedCountBuysOneTick) {
    link.Connect();
    watchdogTimer.tick();  // trips: no data
    ASSERT_EQ(prompt.shown.size(), 1u);
    recvCount = 7;  // moved after the last tick of that connection
    link.Connect();
    watchdogTimer.tick();
    EXPECT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(link.LastRecvCount, 7);
    watchdogTimer.tick();
    EXPECT_EQ(prompt.shown.size(), 2u);
}

TEST_F(ConnectionTest, ANewConnectionMadeWhileTheMessageIsUpIsLeftAlone) {
    link.Connect();
    prompt.duringShow = [&] {
        prompt.duringShow = nullptr;
        link.Disconnect();
        recvCount = 3;
        link.Connect();
    };
    watchdogTimer.tick();
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(watchdogTimer.isActive());
    EXPECT_EQ(portOps(), (Strings{"open", "close", "open"}));
}

TEST_F(ConnectionTest, ConnectFromWithinItsOwnErrorBoxDoesNothing) {
    port.failures["Settings"] = {9003, "bad settings"};
    prompt.duringShow = [&] { link.Connect(); };
    link.Connect();
    EXPECT_EQ(texts(), (Strings{"Error 9003: bad settings"}));
    EXPECT_EQ(portOps(), (Strings{"open"}));
    EXPECT_EQ(speeds.size(), 1u);
}

}  // namespace
}  // namespace veltra
