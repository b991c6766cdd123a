#include "alerts/receive_path.h"

namespace veltra {

ReceivePath::ReceivePath(DisplayView& view, AlertHooks& alerts, MainWindowOps& window, LogSink& log,
                         const TimeOfDay& clock, Prompt& prompt, RawLabel rawLabel)
    : rawLabel_(std::move(rawLabel)),
      receiver_(steps_),
      decoder_(view, alerts, window),
      writer_(log, clock, prompt) {}

void ReceivePath::OnBytesReceived(int commEvent, std::span<const std::uint8_t> bytes) {
    MSComm1_OnComm(commEvent, bytes);
    if (commEvent != 2) {
        return;
    }
    while (receiver_.HoldsWholeCandidate()) {
        const std::uint64_t cuts = receiver_.CutCount;
        MSComm1_OnComm(2, {});
        if (receiver_.CutCount == cuts) {
            return;  // cannot happen: a whole candidate is always cut
        }
    }
}

void ReceivePath::Steps::ShowRawFrame(std::string_view frame) {
    if (path_.rawLabel_) {
        path_.rawLabel_(frame);
    }
}

}  // namespace veltra
