// The connection with the real port, a real one-second timer and a
// pseudo-terminal playing the detector.
#include <gtest/gtest.h>

#include <QTimer>

#include "port/baud_rate.h"
#include "port/connection.h"
#include "port/qt/qt_serial_port.h"
#include "port_pty.h"
#include "shell/qt/qt_timer.h"
#include "support/fakes.h"
#include "support/qt_wait.h"

namespace veltra {
namespace {

// Counts the ticks of the real timer it passes on.
class CountingTimer : public Timer {
public:
    void start() override { inner_.start(); }
    void stop() override { inner_.stop(); }
    bool isActive() const override { return inner_.isActive(); }
    void setOnTick(std::function<void()> handler) override {
        inner_.setOnTick([this, handler = std::move(handler)] {
            ++ticks;
            handler();
        });
    }
    int ticks = 0;

private:
    QtTimer inner_;
};

class ConnectionOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        store.set("CommPort", "3");
        store.setValue(kPortsSection, "COM3", pty.path());
        port.setReceiveHandler([this](int, std::span<const std::uint8_t> bytes) {
            ++recvCount;  // the receive path's moving count
            received += bytes.size();
        });
    }
    // Plays a detector that keeps talking, a few bytes every 100 ms.
    void startTalking() {
        talker.setInterval(100);
        QObject::connect(&talker, &QTimer::timeout, [this] {
            const std::uint8_t bytes[] = {0xFE, 0x00, 0x1A};
            pty.write(bytes);
        });
        talker.start();
    }

    test::Pty pty;
    test::MemorySettingsStore store;
    QtSerialPort port{store};
    CountingTimer watchdogTimer;
    test::FakePrompt prompt;
    test::FakeWindow window;
    std::int32_t recvCount = 0;
    std::size_t received = 0;
    int defaults = 0;
    QTimer talker;
    Connection link{port,
                    store,
                    watchdogTimer,
                    prompt,
                    window,
                    [this] { return recvCount; },
                    [this] { ++defaults; }};
};

TEST_F(ConnectionOnPty, ConnectPutsTheLineAt7200AndDtrChangesKeepIt) {
    link.Connect();
    ASSERT_TRUE(prompt.shown.empty()) << prompt.shown[0].text;
    ASSERT_TRUE(link.IsPortOpen());
    EXPECT_EQ(ReadLineSpeed(pty.slave()), 7200);
    EXPECT_EQ(ReadLineSpeed(port.nativeHandle()), 7200);
    // The mute pulse drives DTR on the open port; the library must not
    // re-apply the 4800 of the settings string on the way.
    for (bool on : {true, false, true, false}) {
        ASSERT_FALSE(port.setDtrEnable(on));
        EXPECT_EQ(ReadLineSpeed(pty.slave()), 7200);
    }
    link.Disconnect();
    EXPECT_FALSE(link.IsPortOpen());
}

TEST_F(ConnectionOnPty, WatchdogStaysQuietWhileDataFlowsAndTripsWhenTheLineFallsSilent) {
    link.Connect();
    ASSERT_TRUE(link.IsPortOpen());
    startTalking();
    ASSERT_TRUE(test::WaitUntil([&] { return watchdogTimer.ticks >= 3; }));
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_GT(received, 0u);

    prompt.duringShow = [&] { EXPECT_TRUE(port.isOpen()); };
    talker.stop();
    ASSERT_TRUE(test::WaitUntil([&] { return !prompt.shown.empty(); }));
    EXPECT_EQ(prompt.shown[0].text, "Error: Veltra Scope Not Connected!");
    EXPECT_EQ(prompt.shown[0].title, "Veltra Scope");
    EXPECT_FALSE(link.IsPortOpen());
    EXPECT_FALSE(watchdogTimer.isActive());
    EXPECT_EQ(defaults, 1);

    // Reconnecting works, and a silent line trips again.
    link.Connect();
    ASSERT_TRUE(link.IsPortOpen());
    ASSERT_TRUE(test::WaitUntil([&] { return prompt.shown.size() == 2; }));
    EXPECT_FALSE(link.IsPortOpen());
}

TEST_F(ConnectionOnPty, ADetectorThatGoesAwayTripsTheWatchdog) {
    link.Connect();
    startTalking();
    ASSERT_TRUE(test::WaitUntil([&] { return received > 0; }));
    talker.stop();
    pty.closeMaster();
    ASSERT_TRUE(test::WaitUntil([&] { return !prompt.shown.empty(); }));
    EXPECT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Error: Veltra Scope Not Connected!");
    EXPECT_FALSE(link.IsPortOpen());
    EXPECT_EQ(defaults, 1);
}

TEST_F(ConnectionOnPty, AMissingDeviceIsReportedWithTheSystemsReason) {
    store.set("CommPort", "9");
    store.setValue(kPortsSection, "COM9", "/nonexistent/ttyVS9");
    link.Connect();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Error");
    EXPECT_EQ(prompt.shown[0].text.rfind("Error 9010: Cannot open /nonexistent/ttyVS9: "
                                         "No such file or directory.",
                                         0),
              0u)
        << prompt.shown[0].text;
    EXPECT_FALSE(link.IsPortOpen());
    EXPECT_FALSE(watchdogTimer.isActive());
}

}  // namespace
}  // namespace veltra
