#pragma once
// The command line of veltrascope-sim.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace veltra::sim {

struct Options {
    std::string scenario = "mixed";
    std::optional<std::string> play;  // raw capture to send instead of a scenario
    std::optional<std::string> out;   // no value: a new pty
    std::optional<double> seconds;    // stream time
    double speed = 1;                 // multiple of the line rate when paced
    std::uint64_t seed = 1;
    bool faults = false;
    bool loop = false;
    bool fast = false;
    bool keepOpen = false;  // wait for the next reader when one leaves
    bool help = false;
    bool version = false;
};

struct ParsedOptions {
    Options options;
    std::string error;  // empty when the command line is good
};

// `args` without the program name.
ParsedOptions ParseOptions(std::span<const std::string_view> args);

std::string HelpText();

}  // namespace veltra::sim
