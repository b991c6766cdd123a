#pragma once
// The receive event of the serial line: counts events, keeps the received
// bytes as hex text, cuts display frames out of it at the sync byte and hands
// each frame of the right length on.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/comm_event.h"

namespace veltra {

// Where accepted frames go. The checked states are asked for at each frame,
// right before the step they govern.
class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual bool ShowRawChecked() const = 0;
    // `frame` is valid for the length of the call only.
    virtual void ShowRawFrame(std::string_view frame) = 0;
    virtual void Process(std::string_view frame) = 0;
    virtual bool LogDataChecked() const = 0;
    virtual void LogData() = 0;
};

inline constexpr std::size_t kFrameTextLength = 74;  // 25 bytes, blank separated

class FrameReceiver {
public:
    explicit FrameReceiver(FrameSink& sink) : sink_(sink) {}
    FrameReceiver(const FrameReceiver&) = delete;
    FrameReceiver& operator=(const FrameReceiver&) = delete;

    // One communications event. Only kCommEventReceive does anything; it
    // hands on every complete frame in the buffer, in order. May be re-entered
    // from inside the sink's calls: the nested event is counted and its bytes
    // are queued behind the frames still to come.
    void onBytesReceived(int commEvent, std::span<const std::uint8_t> Input);

    // Hex text received and not yet consumed. Valid until the next event.
    std::string_view RecvBuffer() const { return std::string_view(buffer_).substr(head_); }
    // True when the buffer holds a sync byte with another one after it: the
    // next receive event cuts a candidate even if it brings no bytes.
    bool HoldsWholeCandidate() const;
    // Memory the buffer holds, consumed text included.
    std::size_t Footprint() const { return buffer_.capacity(); }
    // Receive events seen, 1..1000 then 0 again; the link watchdog reads it.
    std::int32_t RecvCount = 0;
    // Candidates cut out of the buffer so far, accepted or not. Each one ends
    // at the next sync byte of the stream, so the n-th cut is the one that
    // sync byte number n + 1 (counting from 1) completed.
    std::uint64_t CutCount = 0;

    // Above this many characters the buffer is compacted (see Compact).
    static constexpr std::size_t kCompactAbove = 4096;

private:
    // Cuts the next candidate off the front of the buffer: nothing when the
    // buffer holds no whole one, false when it is rejected for its length,
    // true when it is a frame, copied into `frame`.
    std::optional<bool> CutFrame(std::array<char, kFrameTextLength>& frame);
    void Append(std::span<const std::uint8_t> bytes);
    // Position of the first sync byte at or after `from` in RecvBuffer.
    std::size_t FindSync(std::size_t from);
    void Consume(std::size_t n);
    void Compact();

    FrameSink& sink_;
    // RecvBuffer is buffer_ from head_ on. Consumed text is erased lazily:
    // when a large batch queues thousands of frames, taking each one off the
    // front must not move all the others.
    std::string buffer_;
    std::size_t head_ = 0;
    std::size_t compactAt_ = kCompactAbove;
    // Where the next search for a sync byte may start: none begins before
    // it, save one at the very front of the buffer. Reset whenever the
    // front moves.
    std::size_t scanFrom_ = 0;
    // An event is handing frames on; a nested one leaves them to it.
    bool handingOn_ = false;
};

}  // namespace veltra
