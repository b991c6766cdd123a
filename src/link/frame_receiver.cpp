#include "link/frame_receiver.h"

#include <algorithm>
#include <array>

#include "link/hex.h"

namespace veltra {
namespace {

constexpr std::string_view kSync = "FE";
// A candidate of 26 or more bytes ("FE" and 25 groups of three characters)
// can never be cut to exactly 74 characters; this much of it is enough to
// keep it over-long.
constexpr std::size_t kOverLongKeep = 78;
// Large batches are converted and compacted in slices of this many bytes so
// that their hex text never sits in memory whole.
constexpr std::size_t kSliceBytes = 1024;

}  // namespace

void FrameReceiver::onBytesReceived(int commEvent, std::span<const std::uint8_t> Input) {
    if (commEvent != kCommEventReceive) {
        return;
    }
    RecvCount = RecvCount + 1 > 1000 ? 0 : RecvCount + 1;
    // Let the compaction threshold follow the buffer back down once queued
    // frames have been taken out.
    compactAt_ = std::min(compactAt_, std::max(kCompactAbove, 2 * RecvBuffer().size()));

    Append(Input);

    // An event that arrives while an earlier one is still handing frames on
    // (one of the sink's calls ran a nested event loop) only counts itself
    // and queues its bytes: the earlier one takes them out after the frames
    // it already holds, so every frame is decoded and logged in the order
    // the detector sent it.
    if (handingOn_) {
        return;
    }
    handingOn_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{handingOn_};

    // Every complete frame goes on within this event. Taking only one would
    // leave the rest queued after any batch that carried several (a stall
    // of the program, an adapter that delivers in packets), and with one
    // frame arriving per event the display would lag the detector for good.
    // Each frame is copied to the stack: nested events append to the buffer
    // while the sink works, and a frame that changes nothing must cost no
    // allocation.
    std::array<char, kFrameTextLength> text;
    while (const std::optional<bool> accepted = CutFrame(text)) {
        if (!*accepted) {
            continue;
        }
        const std::string_view frame(text.data(), text.size());
        if (sink_.ShowRawChecked()) {
            sink_.ShowRawFrame(frame);
        }
        sink_.Process(frame);
        if (sink_.LogDataChecked()) {
            sink_.LogData();
        }
    }
}

std::optional<bool> FrameReceiver::CutFrame(std::array<char, kFrameTextLength>& frame) {
    // Resynchronise: the buffer starts at the first sync byte.
    const std::size_t first = RecvBuffer().starts_with(kSync) ? 0 : FindSync(0);
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    if (first > 0) {
        Consume(first);
    }
    const std::size_t next = FindSync(2);
    if (next == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view text = RecvBuffer();
    // Everything up to the blank in front of the next sync byte; that blank
    // stays and is dropped by the next resynchronisation.
    const std::string_view cut = text.substr(0, next - 1);
    ++CutCount;
    const bool accepted = cut.size() == kFrameTextLength;
    if (accepted) {
        std::copy(cut.begin(), cut.end(), frame.begin());
    }
    Consume(cut.size());
    return accepted;
}

// Searches resume where the last fruitless one ended: a line delivered a
// byte at a time into a long stretch without a sync byte must not rescan the
// whole stretch for every byte.
std::size_t FrameReceiver::FindSync(std::size_t from) {
    const std::string_view text = RecvBuffer();
    const std::size_t at = text.find(kSync, std::max(from, scanFrom_));
    if (at == std::string_view::npos && !text.empty()) {
        // A sync byte may still begin in the last character.
        scanFrom_ = std::max(scanFrom_, text.size() - 1);
    }
    return at;
}

bool FrameReceiver::HoldsWholeCandidate() const {
    const std::string_view text = RecvBuffer();
    const std::size_t first = text.find(kSync);
    return first != std::string_view::npos && text.find(kSync, first + 2) != std::string_view::npos;
}

void FrameReceiver::Append(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const std::size_t n = std::min(bytes.size(), kSliceBytes);
        AppendHexText(buffer_, bytes.first(n));
        bytes = bytes.subspan(n);
        if (RecvBuffer().size() > compactAt_) {
            Compact();
        }
    }
}

// The consumed text is erased once it is at least as long as what is left,
// so every character is moved at most once more on average.
void FrameReceiver::Consume(std::size_t n) {
    head_ += n;
    scanFrom_ = 0;
    if (2 * head_ >= buffer_.size()) {
        buffer_.erase(0, head_);
        head_ = 0;
    }
}

// Drops only text that can never become part of an accepted frame, without
// changing how many candidates the buffer holds or where each one ends, so
// every frame still comes out, and on the same event, as without the bound:
//  - with no sync byte in the buffer, all of it (the next sync byte would
//    drop it anyway);
//  - text before the first sync byte (likewise);
//  - the middle of an over-long candidate, which is kept over-long so that it
//    is still rejected when it is cut.
void FrameReceiver::Compact() {
    const std::string_view text = RecvBuffer();
    std::size_t start = text.find(kSync);
    if (start == std::string_view::npos) {
        buffer_.clear();
    } else {
        std::string kept;
        kept.reserve(text.size() - start);
        while (start != std::string_view::npos) {
            const std::size_t next = text.find(kSync, start + 2);
            // The candidate's text including the blank before the next sync.
            const std::size_t end = next == std::string_view::npos ? text.size() : next;
            // Candidates start on a whole group, so the kept part ends with
            // a group's blank and the next sync byte still follows a blank.
            kept.append(text.substr(start, std::min(end - start, kOverLongKeep)));
            start = next;
        }
        buffer_.swap(kept);
        buffer_.shrink_to_fit();
    }
    head_ = 0;
    scanFrom_ = 0;
    // Queued candidates cannot be dropped; let the buffer grow before the
    // next scan so that compaction costs stay proportional to the input.
    compactAt_ = std::max(kCompactAbove, 2 * buffer_.size());
}

}  // namespace veltra
