#pragma once
// The alerts of a recorded drive, found by the program's own decoder (an
// alert lasts while signal dot 0 is lit), and the list the program and
// veltrascope-decode show for them.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "recorder/drive_index.h"
#include "recorder/drive_name.h"

namespace veltra::recorder {

struct DriveAlert {
    std::uint64_t startAt = 0;  // bytes received when the alert began
    std::uint64_t endAt = 0;    // ... when it ended; the drive's size when it had not
    bool ended = false;
    std::array<bool, 4> bands{};  // by Band: Laser, Ka, K, X
    int peakDots = 0;             // most signal dots lit at once
    bool front = false, side = false, rear = false;
};

std::vector<DriveAlert> FindAlerts(const DriveIndex& drive);

// One row of the list, as both the window and the command line show it.
struct AlertRow {
    std::string start;     // time of day, "HH:MM:SS" (see TimeAtByte)
    std::string duration;  // seconds, one decimal
    std::string bands;     // "X K Ka Laser" order, blank separated
    int peakDots = 0;
    std::string arrows;  // "front side rear", blank separated
};

AlertRow DescribeAlert(const DriveAlert& alert, const std::optional<DriveStart>& start);
std::vector<AlertRow> DescribeAlerts(const std::vector<DriveAlert>& alerts,
                                     const std::optional<DriveStart>& start);

// A table for people, a header line first; "No alerts." when there are none.
std::string AlertTable(const std::vector<AlertRow>& rows);
// CSV with a header line, lines ending in CR LF as spreadsheets expect.
std::string AlertCsv(const std::vector<AlertRow>& rows);

// Where to seek to look at an alert: a second before it began.
std::uint64_t SeekBefore(const DriveAlert& alert);

}  // namespace veltra::recorder
