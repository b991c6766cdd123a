// The QSerialPort-backed port on a real pseudo-terminal.
#include "port/qt/qt_serial_port.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <numeric>
#include <random>

#include "port/baud_rate.h"
#include "port/port_errors.h"
#include "port_pty.h"
#include "support/fakes.h"
#include "support/qt_wait.h"

namespace veltra {
namespace {

using Bytes = std::vector<std::uint8_t>;

bool Has(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

class QtSerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        store.setValue(kPortsSection, "COM3", pty.path());
        ASSERT_FALSE(port.setCommPort(3));
        ASSERT_FALSE(port.setSettings("4800,n,8,1"));
        port.setReceiveHandler([this](int event, std::span<const std::uint8_t> bytes) {
            events.push_back(event);
            EXPECT_FALSE(bytes.empty());
            received.insert(received.end(), bytes.begin(), bytes.end());
        });
    }
    // Waits until `count` bytes have arrived.
    bool receivedAll(std::size_t count) {
        return test::WaitUntil([&] { return received.size() >= count; }) &&
               received.size() == count;
    }

    test::Pty pty;
    test::MemorySettingsStore store;
    QtSerialPort port{store};
    Bytes received;
    std::vector<int> events;
};

TEST_F(QtSerialPortTest, EveryByteWrittenToTheLineReachesTheHandlerInOrder) {
    ASSERT_FALSE(port.open());
    EXPECT_GE(port.nativeHandle(), 0);
    // Every byte value, 0x00, 0x1A and 0xFF included, in several writes.
    Bytes sent(std::size_t{256} * 3);
    for (std::size_t i = 0; i < sent.size(); ++i) {
        sent[i] = static_cast<std::uint8_t>(i);
    }
    for (std::size_t at = 0; at < sent.size(); at += 100) {
        ASSERT_TRUE(
            pty.write(std::span(sent).subspan(at, std::min<std::size_t>(100, sent.size() - at))));
    }
    ASSERT_TRUE(receivedAll(sent.size())) << received.size();
    EXPECT_EQ(received, sent);
    EXPECT_EQ(std::count(events.begin(), events.end(), kCommEventReceive),
              static_cast<long>(events.size()));
}

TEST_F(QtSerialPortTest, ABurstLargerThanTheReceiveBufferArrivesWhole) {
    ASSERT_FALSE(port.setInBufferSize(30000));
    ASSERT_FALSE(port.open());
    Bytes sent(100000);
    std::iota(sent.begin(), sent.end(), std::uint8_t{1});
    ASSERT_TRUE(pty.write(sent));
    ASSERT_TRUE(receivedAll(sent.size())) << received.size();
    EXPECT_EQ(received, sent);
}

// Noise with no frame in it is never urgent; a flood of it must not be
// slowed down to the pace of the hold limit.
TEST_F(QtSerialPortTest, ABurstThatIsNeverUrgentStillArrivesWhole) {
    port.setUrgencyTest([](std::span<const std::uint8_t>) { return false; });
    port.setHoldLimit(std::chrono::hours(1));
    ASSERT_FALSE(port.setInBufferSize(30000));
    ASSERT_FALSE(port.open());
    Bytes sent(100000);
    std::iota(sent.begin(), sent.end(), std::uint8_t{1});
    ASSERT_TRUE(pty.write(sent));
    // Everything but the last backlog comes unasked; that waits for the
    // hold limit or, here, for the asking.
    ASSERT_TRUE(test::WaitUntil([&] { return received.size() >= sent.size() - 15000; }))
        << received.size();
    EXPECT_TRUE(test::WaitUntil([&] {
        port.deliverPending();
        return received.size() >= sent.size();
    }));
    EXPECT_EQ(received, sent);
}

// Thresholds other than the program's own are the library's to honour: it
// reads, and an event comes only once enough bytes wait.
TEST_F(QtSerialPortTest, OtherThresholdsAreReadByTheLibrary) {
    ASSERT_FALSE(port.setRThreshold(3));
    ASSERT_FALSE(port.open());
    EXPECT_FALSE(port.readsOnThread());
    ASSERT_TRUE(pty.write(Bytes{1, 2, 3, 4}));
    ASSERT_TRUE(receivedAll(4));
    EXPECT_EQ(received, (Bytes{1, 2, 3, 4}));
}

TEST_F(QtSerialPortTest, PropertiesAreRefusedWhileOpenExceptDtr) {
    ASSERT_FALSE(port.open());
    auto e = port.setSettings("9600,n,8,1");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->number, port_errors::kWriteWhileOpen);
    EXPECT_TRUE(Has(e->description, pty.path())) << e->description;
    EXPECT_EQ(port.setCommPort(4)->number, port_errors::kWriteWhileOpen);
    EXPECT_EQ(port.setRtsEnable(false)->number, port_errors::kWriteWhileOpen);
    EXPECT_EQ(port.config().commPort(), 3);
    EXPECT_EQ(port.open()->number, port_errors::kAlreadyOpen);

    // A pty has no modem lines: driving DTR is no error.
    EXPECT_FALSE(port.setDtrEnable(true));
    EXPECT_FALSE(port.setDtrEnable(false));

    port.close();
    EXPECT_EQ(port.nativeHandle(), -1);
    EXPECT_FALSE(port.setSettings("9600,n,8,1"));
    ASSERT_FALSE(port.open());
    EXPECT_EQ(ReadLineSpeed(pty.slave()), 9600);
}

TEST_F(QtSerialPortTest, OpenFailuresNameTheDeviceAndTheSystemsReason) {
    store.setValue(kPortsSection, "COM5", "/nonexistent/ttyVS");
    ASSERT_FALSE(port.setCommPort(5));
    auto e = port.open();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->number, port_errors::kDeviceMissing);
    EXPECT_TRUE(Has(e->description, "/nonexistent/ttyVS")) << e->description;
    EXPECT_TRUE(Has(e->description, "No such file or directory")) << e->description;

    // Without an entry, port n is /dev/ttyS<n-1>.
    ASSERT_FALSE(port.setCommPort(200));
    EXPECT_EQ(port.devicePath(), "/dev/ttyS199");
    e = port.open();
    ASSERT_TRUE(e);
    EXPECT_TRUE(Has(e->description, "/dev/ttyS199")) << e->description;

    store.setValue(kPortsSection, "COM6", "/dev/null");
    ASSERT_FALSE(port.setCommPort(6));
    e = port.open();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->number, port_errors::kNotSerialDevice);
    EXPECT_TRUE(Has(e->description, "not a serial device")) << e->description;
    EXPECT_FALSE(port.isOpen());

    // The same device held by another port.
    ASSERT_FALSE(port.setCommPort(3));
    QtSerialPort other(store);
    ASSERT_FALSE(other.setCommPort(3));
    ASSERT_FALSE(other.open());
    e = port.open();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->number, port_errors::kDeviceBusy);
    EXPECT_TRUE(Has(e->description, "in use by another program")) << e->description;
    other.close();
    EXPECT_FALSE(port.open());
}

// A device that refuses this user, as a serial port owned by the dialout
// group does: the system answers the open with EACCES. As root no real
// device can be made to refuse, so the refusal comes from here.
class RefusingSerialPort : public QSerialPort {
public:
    bool open(OpenMode) override {
        setErrorString(QString::fromLocal8Bit(std::strerror(EACCES)));
        errno = EACCES;
        return false;
    }
};

TEST(QtSerialPortRefused, PermissionDeniedNamesTheDeviceTheReasonAndTheDialoutGroup) {
    test::MemorySettingsStore store;
    store.setValue(kPortsSection, "COM2", "/dev/ttyUSB7");
    QtSerialPort port(store, new RefusingSerialPort);
    ASSERT_FALSE(port.setCommPort(2));
    const auto e = port.open();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->number, port_errors::kPermissionDenied);
    EXPECT_TRUE(Has(e->description, "/dev/ttyUSB7")) << e->description;
    EXPECT_TRUE(Has(e->description, "Permission denied")) << e->description;
    EXPECT_TRUE(Has(e->description, "dialout group")) << e->description;
    EXPECT_FALSE(port.isOpen());
    // Refused, not busy and not missing: the hint is the only one given.
    EXPECT_FALSE(Has(e->description, "in use by another program")) << e->description;
    EXPECT_FALSE(Has(e->description, "does not exist")) << e->description;
}

TEST_F(QtSerialPortTest, NullDiscardDropsZeroBytesOnTheLine) {
    ASSERT_FALSE(port.setNullDiscard(true));
    ASSERT_FALSE(port.open());
    ASSERT_TRUE(pty.write(Bytes{0x00, 0x41, 0x00, 0x00, 0x42, 0xFF, 0x00, 0x43}));
    ASSERT_TRUE(receivedAll(4));
    EXPECT_EQ(received, (Bytes{0x41, 0x42, 0xFF, 0x43}));
}

TEST_F(QtSerialPortTest, WithParityCheckingOnCleanBytesPassUnchanged) {
    // Error marking escapes 0xFF and uses 0x00 in its marks; clean data of
    // those values must come through as sent.
    ASSERT_FALSE(port.setSettings("4800,e,8,1"));
    ASSERT_FALSE(port.setParityReplace("?"));
    ASSERT_FALSE(port.open());
    Bytes sent{0xFF, 0x00, 0x41, 0xFF, 0xFF, 0x00, 0xFF};
    ASSERT_TRUE(pty.write(sent));
    ASSERT_TRUE(receivedAll(sent.size())) << received.size();
    EXPECT_EQ(received, sent);
}

TEST_F(QtSerialPortTest, AVanishedDeviceClosesThePort) {
    ASSERT_FALSE(port.open());
    ASSERT_TRUE(pty.write(Bytes{0x41}));
    ASSERT_TRUE(receivedAll(1));
    pty.closeMaster();
    EXPECT_TRUE(test::WaitUntil([&] { return !port.isOpen(); }));
    // The device node went with it.
    auto e = port.open();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->number, port_errors::kDeviceMissing);
}

TEST_F(QtSerialPortTest, AVanishedDeviceClosesThePortWhileTheProgramReadsIt) {
    // With no urgency test every read is urgent: reading moves to the program.
    ASSERT_FALSE(port.open());
    for (std::uint8_t i = 1; i <= PortReader::kUrgentToPark; ++i) {
        ASSERT_TRUE(pty.write(Bytes{i}));
        ASSERT_TRUE(receivedAll(i));
    }
    ASSERT_TRUE(test::WaitUntil([&] { return !port.readsOnThread(); }));
    pty.closeMaster();
    EXPECT_TRUE(test::WaitUntil([&] { return !port.isOpen(); }));
}

// Arrivals the urgency test passes over wait, in order, until one it
// passes comes, until asked for, until the port closes, or for the hold
// limit; none is lost.
TEST_F(QtSerialPortTest, ArrivalsThatAreNotUrgentWaitInOrderAndAreNeverLost) {
    std::atomic<std::size_t> seen{0};
    port.setUrgencyTest([&](std::span<const std::uint8_t> bytes) {
        seen += bytes.size();
        return std::find(bytes.begin(), bytes.end(), 0x55) != bytes.end();
    });
    port.setHoldLimit(std::chrono::hours(1));
    ASSERT_FALSE(port.open());
    ASSERT_TRUE(port.readsOnThread());
    auto arrived = [&](std::size_t count) {
        return test::WaitUntil([&] { return seen == count; });
    };

    // The reading thread asks about an arrival only once it is done with
    // the one before: by the second question, the first is held.
    ASSERT_TRUE(pty.write(Bytes{1, 2, 3}));
    ASSERT_TRUE(arrived(3));
    ASSERT_TRUE(pty.write(Bytes{4}));
    ASSERT_TRUE(arrived(4));
    QCoreApplication::processEvents();
    EXPECT_TRUE(received.empty());

    ASSERT_TRUE(pty.write(Bytes{0x55, 6}));
    ASSERT_TRUE(receivedAll(6));
    EXPECT_EQ(received, (Bytes{1, 2, 3, 4, 0x55, 6}));
    EXPECT_EQ(events.size(), 3U) << "one receive event per read";

    ASSERT_TRUE(pty.write(Bytes{7}));
    ASSERT_TRUE(arrived(7));
    EXPECT_TRUE(test::WaitUntil([&] {
        port.deliverPending();
        return received.size() == 7;
    }));

    // Every urgent arrival wakes the program, not only the first.
    ASSERT_TRUE(pty.write(Bytes{0x55}));
    ASSERT_TRUE(receivedAll(8));

    ASSERT_TRUE(pty.write(Bytes{9}));
    ASSERT_TRUE(arrived(9));
    port.close();
    EXPECT_EQ(received.size(), 9U) << "closing hands on what was read";

    port.setHoldLimit(std::chrono::milliseconds(20));
    ASSERT_FALSE(port.open());
    ASSERT_TRUE(pty.write(Bytes{10}));
    ASSERT_TRUE(receivedAll(10));
    EXPECT_EQ(received.back(), 10);
}

// While every read is urgent the thread only adds a wake-up to each, so the
// program reads the port itself until the reads turn quiet; no byte is lost
// or reordered as reading moves back and forth.
TEST_F(QtSerialPortTest, ReadingMovesToTheProgramWhileEveryReadIsUrgentAndBack) {
    std::atomic<bool> urgent{true};
    port.setUrgencyTest([&](std::span<const std::uint8_t>) { return urgent.load(); });
    port.setHoldLimit(std::chrono::hours(1));
    ASSERT_FALSE(port.open());
    ASSERT_TRUE(port.readsOnThread());
    Bytes sent;
    auto send = [&](std::uint8_t byte) {
        sent.push_back(byte);
        return pty.write(Bytes{byte}) && receivedAll(sent.size());
    };
    for (int i = 0; i < PortReader::kUrgentToPark; ++i) {
        ASSERT_TRUE(send(static_cast<std::uint8_t>(i)));
    }
    EXPECT_TRUE(test::WaitUntil([&] { return !port.readsOnThread(); }));

    // Read by the program, quiet reads are handed on at once, until enough
    // of them in a row give reading back to the thread.
    urgent = false;
    for (int i = 0; i < PortReader::kQuietToResume; ++i) {
        ASSERT_TRUE(send(static_cast<std::uint8_t>(10 + i)));
    }
    EXPECT_TRUE(port.readsOnThread());

    // A storm of both kinds, reads of every size, with reading moving often.
    port.setHoldLimit(std::chrono::milliseconds(20));
    std::mt19937 random(7);
    for (int write = 0; write < 400; ++write) {
        urgent = (write / 10) % 2 == 0;
        Bytes piece(1 + random() % 40);
        for (std::uint8_t& b : piece) {
            b = static_cast<std::uint8_t>(random());
        }
        sent.insert(sent.end(), piece.begin(), piece.end());
        ASSERT_TRUE(pty.write(piece));
        if (write % 5 == 0) {
            QCoreApplication::processEvents();
        }
    }
    ASSERT_TRUE(receivedAll(sent.size())) << received.size() << " of " << sent.size();
    EXPECT_EQ(received, sent);
}

}  // namespace
}  // namespace veltra
