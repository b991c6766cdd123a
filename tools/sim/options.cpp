#include "options.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "scenario.h"

namespace veltra::sim {
namespace {

// Longer runs than this are surely a typo (and would outlast the machine).
constexpr double kMaxSeconds = 1e9;
// Beyond this a pty cannot carry the stream one frame per write anyway.
constexpr double kMaxSpeed = 1000;

std::string ScenarioNames() {
    std::string names;
    for (const ScenarioInfo& s : Scenarios()) {
        names += (names.empty() ? "" : ", ") + std::string(s.name);
    }
    return names;
}

std::optional<double> ParseSeconds(std::string_view text) {
    const std::string s(text);
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (s.empty() || end != s.c_str() + s.size() || !std::isfinite(v) || v <= 0 ||
        v > kMaxSeconds) {
        return std::nullopt;
    }
    return v;
}

std::optional<double> ParseSpeed(std::string_view text) {
    const std::string s(text);
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (s.empty() || end != s.c_str() + s.size() || !std::isfinite(v) || v <= 0 || v > kMaxSpeed) {
        return std::nullopt;
    }
    return v;
}

std::optional<std::uint64_t> ParseSeed(std::string_view text) {
    std::uint64_t v = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return v;
}

}  // namespace

ParsedOptions ParseOptions(std::span<const std::string_view> args) {
    ParsedOptions r;
    Options& o = r.options;
    bool scenarioGiven = false;
    for (std::size_t i = 0; i < args.size() && r.error.empty(); ++i) {
        std::string_view arg = args[i];
        std::optional<std::string_view> inlineValue;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != arg.npos) {
            inlineValue = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
        }
        auto flag = [&](bool& target) {
            if (inlineValue) {
                r.error = "option " + std::string(arg) + " takes no value";
            }
            target = true;
        };
        auto value = [&]() -> std::optional<std::string_view> {
            if (inlineValue) {
                return inlineValue;
            }
            if (i + 1 < args.size()) {
                return args[++i];
            }
            r.error = "option " + std::string(arg) + " needs a value";
            return std::nullopt;
        };

        if (arg == "--help" || arg == "-h") {
            flag(o.help);
        } else if (arg == "--version") {
            flag(o.version);
        } else if (arg == "--faults") {
            flag(o.faults);
        } else if (arg == "--loop") {
            flag(o.loop);
        } else if (arg == "--fast") {
            flag(o.fast);
        } else if (arg == "--keep-open") {
            flag(o.keepOpen);
        } else if (arg == "--scenario") {
            if (auto v = value()) {
                o.scenario = std::string(*v);
                scenarioGiven = true;
                if (!IsScenario(o.scenario)) {
                    r.error =
                        "unknown scenario '" + o.scenario + "'; choose one of " + ScenarioNames();
                }
            }
        } else if (arg == "--play") {
            if (auto v = value()) {
                o.play = std::string(*v);
            }
        } else if (arg == "--out") {
            if (auto v = value()) {
                o.out = std::string(*v);
            }
        } else if (arg == "--seconds") {
            if (auto v = value()) {
                o.seconds = ParseSeconds(*v);
                if (!o.seconds) {
                    r.error = "--seconds needs a number of seconds above 0 and up to 1e9, not '" +
                              std::string(*v) + "'";
                }
            }
        } else if (arg == "--speed") {
            if (auto v = value()) {
                if (auto speed = ParseSpeed(*v)) {
                    o.speed = *speed;
                } else {
                    r.error = "--speed needs a number above 0 and up to 1000, not '" +
                              std::string(*v) + "'";
                }
            }
        } else if (arg == "--seed") {
            if (auto v = value()) {
                if (auto seed = ParseSeed(*v)) {
                    o.seed = *seed;
                } else {
                    r.error = "--seed needs a whole number from 0 to 18446744073709551615, not '" +
                              std::string(*v) + "'";
                }
            }
        } else if (arg.starts_with("-")) {
            r.error = "unknown option '" + std::string(arg) + "'";
        } else {
            r.error = "unexpected argument '" + std::string(arg) + "'";
        }
    }
    if (r.error.empty() && o.play && scenarioGiven) {
        r.error = "--play and --scenario exclude each other: a capture replaces the scenario";
    }
    if (r.error.empty() && o.out && o.out->empty()) {
        r.error = "--out needs a path";
    }
    if (r.error.empty() && o.play && o.play->empty()) {
        r.error = "--play needs a file";
    }
    return r;
}

std::string HelpText() {
    std::string text = R"(Usage: veltrascope-sim [OPTION]...
Plays the detector: sends its display frames (25 bytes, the first the sync
byte 0xFE) back to back at the line rate of 7200 bit/s 8N1, 720 bytes/s.

By default it creates a pseudo-terminal, prints the device to connect to as
the first line on stdout, waits until something opens that device, and then
streams. It stops at the end of the stream, on SIGINT or SIGTERM, or when
the reader closes the device (unless --keep-open is given).

Options:
  --scenario NAME  what the display shows (default: mixed; list below)
  --play FILE      send the raw capture FILE instead of a scenario
  --out PATH       write to a device, FIFO or file (created or emptied)
                   instead of a new pseudo-terminal; "-" is stdout. A serial
                   port is set raw, 8N1, 7200 bit/s
  --seconds N      stream exactly N seconds of stream time (N x 720 bytes, a
                   decimal number), paced or not; a scenario shorter than that
                   keeps showing its last display, a capture ends with its
                   last byte unless --loop is given
  --loop           repeat the scenario or the capture (for ever, without
                   --seconds)
  --fast           no pacing: write as fast as the output takes the bytes
  --keep-open      when the reader closes the pseudo-terminal (or FIFO), wait
                   for the next reader and go on from where the stream
                   stopped, instead of ending; a program can then disconnect
                   and connect again, as it can to a real detector
  --speed X        pace at X times the line rate (default 1), still one
                   frame per write: a long drive in a short time
  --faults         spoil about one frame in twelve with a lost byte, an extra
                   byte, a burst of noise bytes after it, or a 0xFE inside it;
                   a receiver must reject each spoiled frame by its sync and
                   length, as no fault forges a well-formed frame
  --seed N         seed of the scenario's timing and signal strength and of
                   the faults (default 1): the same seed gives the same bytes
  --help           show this text
  --version        show the version and exit

Scenarios (an alert is the time during which signal dot 0 is lit; the seed
changes the timing, never which alerts happen or on which bands):
)";
    for (const ScenarioInfo& s : Scenarios()) {
        std::string summary(s.summary);
        std::string indented;
        for (char c : summary) {
            indented += c;
            if (c == '\n') {
                indented += "           ";
            }
        }
        text += "  " + std::string(s.name) + std::string(9 - s.name.size(), ' ') + indented + "\n";
    }
    text += R"(
Exit status: 0 when the stream ended, was stopped by a signal, or its reader
left; 1 when writing failed; 2 for a bad command line or an unusable file.
)";
    return text;
}

}  // namespace veltra::sim
