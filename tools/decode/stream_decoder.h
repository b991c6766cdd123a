#pragma once
// Runs a recorded byte stream through the program's own receive path and
// prints the log lines it would append, timed by the stream itself.

#include <cstdint>
#include <deque>
#include <ostream>
#include <span>
#include <string>

#include "alerts/receive_path.h"

namespace veltra::decode {

inline constexpr int kBytesPerSecond = 720;  // 7200 bit/s, 10 bits a byte

// "H:MM:SS.mmm" for the moment `bytes` bytes have arrived at line rate,
// milliseconds truncated.
std::string StreamTime(std::uint64_t bytes);

class StreamDecoder : DisplayView, AlertHooks, MainWindowOps, LogSink, TimeOfDay, Prompt {
public:
    // Log lines (and with `events` the alert calls) go to `out`, one per
    // line; what the program would show in a box goes to `errors`.
    StreamDecoder(std::ostream& out, std::ostream& errors, bool events);
    StreamDecoder(const StreamDecoder&) = delete;
    StreamDecoder& operator=(const StreamDecoder&) = delete;

    // One receive event carrying `bytes`.
    void Receive(std::span<const std::uint8_t> bytes);
    // At the end of input: receive events without new bytes until one cuts
    // nothing out of the buffer, neither a frame nor a rejected candidate.
    // Stopping at the first event without a frame instead would lose frames
    // queued behind a rejected candidate, and what is printed would depend on
    // how the input was split into events.
    void Drain();

private:
    void ShowState(const DisplayState&) override {}
    void BeginAlert() override;
    void EndAlert() override;
    WindowState windowState() const override { return WindowState::Normal; }
    void setWindowState(WindowState) override {}
    void bringToFront() override {}
    void show() override {}
    std::optional<std::string> AppendLine(std::string_view line) override;
    std::string Name() const override { return "standard output"; }
    std::string longTime() const override;
    PromptAnswer show(const std::string& title, const std::string& text, PromptIcon,
                      PromptButtons) override;

    std::ostream& out_;
    std::ostream& errors_;
    bool events_;
    ReceivePath path_;
    std::uint64_t received_ = 0;
    // Stream positions of the sync bytes not yet known to have ended a
    // candidate; the first one is sync byte number `firstSync_` (from 0).
    std::deque<std::uint64_t> syncAt_;
    std::uint64_t firstSync_ = 0;
};

}  // namespace veltra::decode
