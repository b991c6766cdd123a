#include "app/frame_timings.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>
#include <chrono>
#include <cstdio>

#include "app/main_window.h"
#include "shell/qt/face_widget.h"

namespace veltra {
namespace {

std::int64_t Now() {
    // steady_clock is CLOCK_MONOTONIC, the clock a benchmark reads too.
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

std::unique_ptr<FrameTimings> FrameTimings::FromEnvironment(MainWindow& window) {
    if (!qEnvironmentVariableIsSet("VELTRA_FRAME_TIMINGS")) {
        return nullptr;
    }
    return std::make_unique<FrameTimings>(window);
}

FrameTimings::FrameTimings(MainWindow& window) : window_(window) {
    // Repaints of the window's widgets are gathered into one update request
    // to the window; the first paint comes with the window's first expose.
    QCoreApplication::instance()->installEventFilter(this);
    window_.port().setReceiveHandler([this](int event, std::span<const std::uint8_t> bytes) {
        const std::int64_t read = Now();
        const DisplayState before = window_.face().shownState();
        received_ += bytes.size();
        const std::uint64_t received = received_;
        window_.onPortBytes(event, bytes);
        if (window_.face().shownState() != before) {
            // The cut left the buffer at the blank before the sync byte that
            // completed the frame: " FE .. .. ", three characters a byte.
            const std::size_t left = window_.receivePath().receiver().RecvBuffer().size() / 3;
            pending_.push_back(Pending{read, Now(), received - left, received});
        }
    });
}

FrameTimings::~FrameTimings() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool FrameTimings::eventFilter(QObject* watched, QEvent* event) {
    const bool update = event->type() == QEvent::UpdateRequest && watched == &window_;
    const bool expose =
        event->type() == QEvent::Expose && !windowPainted_ && watched == window_.windowHandle();
    if (!update && !expose) {
        return false;
    }
    // Handle the event here, so the time taken afterwards includes the paint.
    watched->event(event);
    const std::int64_t painted = Now();
    if (expose && window_.windowHandle()->isExposed()) {
        windowPainted_ = true;
        std::fprintf(stderr, "veltra-timing window-painted %lld\n",
                     static_cast<long long>(painted));
    }
    for (const Pending& p : pending_) {
        std::fprintf(stderr, "veltra-timing frame %lld %lld %lld %llu %llu\n",
                     static_cast<long long>(p.read), static_cast<long long>(p.decoded),
                     static_cast<long long>(painted), static_cast<unsigned long long>(p.completing),
                     static_cast<unsigned long long>(p.received));
    }
    pending_.clear();
    return true;
}

}  // namespace veltra
