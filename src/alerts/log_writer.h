#pragma once
// The alert log: one line per change of the display while logging is on,
// "time - content", where content is the detector's mode name or a
// 29-character record of lamps, digit, signal and arrows.

#include <optional>
#include <string>
#include <string_view>

#include "link/display_state.h"
#include "platform/clock.h"
#include "platform/prompt.h"

namespace veltra {

// The content part of a log line for this display.
std::string LogContent(const DisplayState& state);
// The same, written over `content`, whose memory is reused: a frame that
// changes nothing is composed and compared without allocating.
void ComposeLogContent(const DisplayState& state, std::string& content);

// Where log lines go. Each call appends one whole line and its line end.
class LogSink {
public:
    virtual ~LogSink() = default;
    // Nothing on success, else the reason the line could not be written.
    virtual std::optional<std::string> AppendLine(std::string_view line) = 0;
    // How the user knows the destination (a file's path).
    virtual std::string Name() const = 0;
};

class LogWriter {
public:
    LogWriter(LogSink& sink, const TimeOfDay& clock, Prompt& prompt)
        : sink_(sink), clock_(clock), prompt_(prompt) {}
    LogWriter(const LogWriter&) = delete;
    LogWriter& operator=(const LogWriter&) = delete;

    // Writes a line for `state` unless its content equals LastLogLine. A line
    // that cannot be written is lost; the user is told once, and again only
    // after a line has been written in between.
    void LogData(const DisplayState& state);

    // Content of the last line composed, written or not; empty when nothing
    // has been logged since start or since the log was last saved.
    std::string LastLogLine;

private:
    LogSink& sink_;
    const TimeOfDay& clock_;
    Prompt& prompt_;
    bool failureTold_ = false;
    // The content composed for the latest state, kept for its memory and so
    // that a repeated state is not composed again.
    std::string composed_;
    std::optional<DisplayState> composedFor_;
};

}  // namespace veltra
