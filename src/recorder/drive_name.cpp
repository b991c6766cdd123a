#include "recorder/drive_name.h"

#include <cstdio>

namespace veltra::recorder {

namespace {

// Reads exactly `digits` decimal digits at `pos`.
std::optional<int> Digits(std::string_view s, std::size_t pos, std::size_t digits) {
    if (pos + digits > s.size()) {
        return std::nullopt;
    }
    int n = 0;
    for (std::size_t i = pos; i < pos + digits; ++i) {
        if (s[i] < '0' || s[i] > '9') {
            return std::nullopt;
        }
        n = n * 10 + (s[i] - '0');
    }
    return n;
}

}  // namespace

std::string DriveFileName(const DriveStart& s) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d_%02d-%02d-%02d", s.year, s.month, s.day,
                  s.hour, s.minute, s.second);
    std::string name = text;
    if (s.serial > 0) {
        name += '_';
        name += std::to_string(s.serial);
    }
    return name + std::string(kDriveSuffix);
}

std::optional<DriveStart> ParseDriveFileName(std::string_view name) {
    if (!name.ends_with(kDriveSuffix)) {
        return std::nullopt;
    }
    name.remove_suffix(kDriveSuffix.size());
    // 0123456789012345678
    // 2024-05-01_14-03-22
    if (name.size() < 19 || name[4] != '-' || name[7] != '-' || name[10] != '_' ||
        name[13] != '-' || name[16] != '-') {
        return std::nullopt;
    }
    DriveStart s;
    const auto year = Digits(name, 0, 4), month = Digits(name, 5, 2), day = Digits(name, 8, 2),
               hour = Digits(name, 11, 2), minute = Digits(name, 14, 2),
               second = Digits(name, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second || *month < 1 || *month > 12 ||
        *day < 1 || *day > 31 || *hour > 23 || *minute > 59 || *second > 60) {
        return std::nullopt;
    }
    s = {*year, *month, *day, *hour, *minute, *second, 0};
    if (name.size() > 19) {
        const std::string_view rest = name.substr(20);
        if (name[19] != '_' || rest.empty() || rest.size() > 6) {
            return std::nullopt;
        }
        const auto serial = Digits(rest, 0, rest.size());
        if (!serial || *serial < 1) {
            return std::nullopt;
        }
        s.serial = *serial;
    }
    return s;
}

std::string ClockText(std::uint64_t secondsOfDay) {
    const std::uint64_t t = secondsOfDay % 86400;
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", static_cast<unsigned>(t / 3600),
                  static_cast<unsigned>(t / 60 % 60), static_cast<unsigned>(t % 60));
    return text;
}

std::string ElapsedText(std::uint64_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%llu:%02u:%02u",
                  static_cast<unsigned long long>(seconds / 3600),
                  static_cast<unsigned>(seconds / 60 % 60), static_cast<unsigned>(seconds % 60));
    return text;
}

std::string TimeAtByte(std::uint64_t offset, const std::optional<DriveStart>& start) {
    const std::uint64_t into = offset / kBytesPerSecond;
    if (!start) {
        // Appended rather than prefixed: g++ 12 at -O3 reports a false overlap
        // for a literal put in front of a temporary string.
        std::string text(1, '+');
        text += ElapsedText(into);
        return text;
    }
    const auto startOfDay =
        static_cast<std::uint64_t>(start->hour * 3600 + start->minute * 60 + start->second);
    return ClockText(startOfDay + into);
}

}  // namespace veltra::recorder
