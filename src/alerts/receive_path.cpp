#include "alerts/receive_path.h"

namespace veltra {

ReceivePath::ReceivePath(DisplayView& view, AlertHooks& alerts, MainWindowOps& window, LogSink& log,
                         const TimeOfDay& clock, Prompt& prompt, RawLabel rawLabel)
    : rawLabel_(std::move(rawLabel)),
      receiver_(steps_),
      decoder_(view, alerts, window),
      writer_(log, clock, prompt) {}

void ReceivePath::Steps::ShowRawFrame(std::string_view frame) {
    if (path_.rawLabel_) {
        path_.rawLabel_(frame);
    }
}

}  // namespace veltra
