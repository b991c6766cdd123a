#include "port/port_errors.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "port/device_path.h"
#include "port/error_report.h"
#include "support/fakes.h"

namespace veltra {
namespace {

using test::MemorySettingsStore;

bool Has(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

TEST(PortErrors, OpenFailuresNameTheDeviceTheReasonAndTheFix) {
    struct Case {
        int osError;
        int number;
        std::string_view fix;
    };
    for (const Case& c : {Case{ENOENT, port_errors::kDeviceMissing, "does not exist"},
                          Case{EACCES, port_errors::kPermissionDenied, "dialout group"},
                          Case{EPERM, port_errors::kPermissionDenied, "dialout group"},
                          Case{EBUSY, port_errors::kDeviceBusy, "in use by another program"},
                          Case{ENOTTY, port_errors::kNotSerialDevice, "not a serial device"},
                          Case{EIO, port_errors::kOpenFailed, "No serial hardware"},
                          Case{EINVAL, port_errors::kOpenFailed, ""}}) {
        PortError e = port_errors::OpenFailure("/dev/ttyUSB0", c.osError, "the system's reason");
        EXPECT_EQ(e.number, c.number) << c.osError;
        EXPECT_TRUE(Has(e.description, "/dev/ttyUSB0")) << e.description;
        EXPECT_TRUE(Has(e.description, "the system's reason")) << e.description;
        EXPECT_TRUE(Has(e.description, c.fix)) << e.description;
    }
}

TEST(PortErrors, TheReadMeGivesTheSameDialoutCommandAsTheMessage) {
    const std::string message =
        port_errors::OpenFailure("/dev/ttyS0", EACCES, "Permission denied").description;
    EXPECT_TRUE(Has(message, port_errors::kDialoutCommand)) << message;
    const auto source = std::filesystem::path(VELTRA_TEST_DATA).parent_path().parent_path();
    std::ifstream in(source / "data" / "readme.txt");
    ASSERT_TRUE(in) << "readme.txt not found";
    const std::string readme((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    EXPECT_TRUE(Has(readme, port_errors::kDialoutCommand));
    // Only the one command: no second way to say it.
    EXPECT_FALSE(Has(readme, "adduser"));
}

TEST(PortErrors, LineSpeedFailuresCarryTheirFixedNumbersAndTexts) {
    EXPECT_EQ(ErrorReportText(port_errors::PortNotOpen()),
              "Error 8018: Operation valid only when the port is open");
    EXPECT_EQ(ErrorReportText(port_errors::StateNotRead()),
              "Error 8021: Could not read current state of the port");
    EXPECT_EQ(ErrorReportText(port_errors::BaudRateNotSet()),
              "Error 8015: Could not set port to specified baud rate");
}

TEST(PortErrors, ErrorReportIsGuardedAndReentersTheTopmostBandWhenOnTopIsSet) {
    MemorySettingsStore store;
    test::FakePrompt prompt;
    test::FakeWindow window;
    store.set("OnTop", "1");
    prompt.duringShow = [&] { EXPECT_FALSE(window.topMost); };
    ShowErrorReport(prompt, window, store, PortError{9999, "Something failed"});
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Error");
    EXPECT_EQ(prompt.shown[0].text, "Error 9999: Something failed");
    EXPECT_EQ(prompt.shown[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(prompt.shown[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(window.log, (std::vector<std::string>{"nottopmost", "topmost"}));

    store.set("OnTop", "0");
    window.log.clear();
    ShowErrorReport(prompt, window, store, PortError{1, "x"});
    EXPECT_EQ(window.log, (std::vector<std::string>{"nottopmost"}));
}

TEST(DevicePath, PortsSectionMapsThePortElseTheNumberedSerialDevice) {
    MemorySettingsStore store;
    EXPECT_EQ(PortsKey(3), "COM3");
    EXPECT_EQ(DevicePathFor(store, 1), "/dev/ttyS0");
    EXPECT_EQ(DevicePathFor(store, 10), "/dev/ttyS9");
    store.setValue(kPortsSection, "COM3", " /dev/ttyUSB0 ");
    EXPECT_EQ(DevicePathFor(store, 3), "/dev/ttyUSB0");
    store.setValue(kPortsSection, "COM4", "  ");
    EXPECT_EQ(DevicePathFor(store, 4), "/dev/ttyS3");
    // Only the "Ports" section counts.
    store.set("COM5", "/dev/ttyACM0");
    EXPECT_EQ(DevicePathFor(store, 5), "/dev/ttyS4");
}

}  // namespace
}  // namespace veltra
