#pragma once
// Recordings of drives are named by the local time their connection began,
// so the name alone tells the time of day at every byte of the stream (the
// detector sends back to back at 720 bytes a second, and a pause of more
// than a second ends the connection through the link watchdog).

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltra::recorder {

inline constexpr std::string_view kDriveSuffix = ".vsdrive";
// 7200 bit/s with a start and a stop bit per byte.
inline constexpr std::uint64_t kBytesPerSecond = 720;

struct DriveStart {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    // Tells drives begun within the same second apart: 0 for the first.
    int serial = 0;
    auto operator<=>(const DriveStart&) const = default;
};

// "2024-05-01_14-03-22.vsdrive", with "_2" before the suffix for serial 2.
std::string DriveFileName(const DriveStart& start);
// The start of a drive named by DriveFileName; nothing for any other name.
// `name` is a file name, not a path.
std::optional<DriveStart> ParseDriveFileName(std::string_view name);

// "HH:MM:SS" on a 24-hour clock, wrapping past midnight.
std::string ClockText(std::uint64_t secondsOfDay);
// "H:MM:SS", time into the drive.
std::string ElapsedText(std::uint64_t seconds);
// The time of day at byte `offset` of a drive that began at `start`; the
// elapsed time prefixed with "+" when the start is unknown.
std::string TimeAtByte(std::uint64_t offset, const std::optional<DriveStart>& start);

}  // namespace veltra::recorder
