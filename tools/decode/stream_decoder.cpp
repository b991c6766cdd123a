#include "stream_decoder.h"

#include <cstdio>

#include "link/frame_encoder.h"

namespace veltra::decode {

std::string StreamTime(std::uint64_t bytes) {
    const std::uint64_t ms = bytes * 1000 / kBytesPerSecond;
    char text[48];
    std::snprintf(text, sizeof text, "%llu:%02u:%02u.%03u",
                  static_cast<unsigned long long>(ms / 3600000),
                  static_cast<unsigned>(ms / 60000 % 60), static_cast<unsigned>(ms / 1000 % 60),
                  static_cast<unsigned>(ms % 1000));
    return text;
}

StreamDecoder::StreamDecoder(std::ostream& out, std::ostream& errors, bool events)
    : out_(out), errors_(errors), events_(events), path_(*this, *this, *this, *this, *this, *this) {
    path_.LogData = true;
}

void StreamDecoder::Receive(std::span<const std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) {
        if (b == kSyncByte) {
            syncAt_.push_back(received_);
        }
        ++received_;
    }
    path_.onBytesReceived(kCommEventReceive, bytes);
    // Cut number n was ended by sync byte number n; earlier ones are done.
    const std::uint64_t cuts = path_.receiver().CutCount;
    while (!syncAt_.empty() && firstSync_ < cuts) {
        syncAt_.pop_front();
        ++firstSync_;
    }
}

void StreamDecoder::Drain() {
    for (;;) {
        const std::uint64_t before = path_.receiver().CutCount;
        Receive({});
        if (path_.receiver().CutCount == before) {
            return;
        }
    }
}

void StreamDecoder::BeginAlert() {
    if (events_) {
        out_ << "BeginAlert\n";
    }
}

void StreamDecoder::EndAlert() {
    if (events_) {
        out_ << "EndAlert\n";
    }
}

std::optional<std::string> StreamDecoder::AppendLine(std::string_view line) {
    out_ << line << '\n';
    if (!out_) {
        return std::string("write error");
    }
    return std::nullopt;
}

// Asked while a frame is being logged: the frame was cut when the sync byte
// that ends it arrived, and at line rate that is when the program would
// have logged it.
std::string StreamDecoder::longTime() const {
    const std::uint64_t ending = path_.receiver().CutCount;  // its sync byte number
    if (ending < firstSync_ || ending - firstSync_ >= syncAt_.size()) {
        return StreamTime(received_);  // cannot happen: every cut ends at a sync byte
    }
    return StreamTime(syncAt_[ending - firstSync_] + 1);
}

PromptAnswer StreamDecoder::show(const std::string& title, const std::string& text, PromptIcon,
                                 PromptButtons) {
    errors_ << title << ": " << text << '\n';
    return PromptAnswer::Ok;
}

}  // namespace veltra::decode
