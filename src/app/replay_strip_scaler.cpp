#include "app/replay_strip_scaler.h"

#include <QEvent>
#include <QTimer>
#include <cmath>

#include "app/main_window.h"
#include "autoresize/qt/qt_auto_resize.h"
#include "recorder/qt/replay_strip.h"
#include "shell/qt/face_widget.h"

namespace veltra {

namespace {

// Font sizes closer than this are the same size on screen; not refitting
// for them keeps a resize from re-polishing the strip for nothing.
constexpr double kSameFactor = 0.005;

}  // namespace

ReplayStripScaler::ReplayStripScaler(MainWindow& form, recorder::ReplayStrip& strip)
    : QObject(&strip), form_(form), strip_(strip) {
    form_.face().installEventFilter(this);
    strip_.installEventFilter(this);
}

bool ReplayStripScaler::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        if (watched == &strip_) {
            // A taller or shorter strip takes its height from the face; the
            // window's aspect rule then sets the window's height again. Later,
            // not now: the strip is resized from inside the window's own
            // layout pass, which the aspect rule must not re-enter.
            if (!aspectQueued_) {
                aspectQueued_ = true;
                QTimer::singleShot(0, this, [this] {
                    aspectQueued_ = false;
                    form_.onWindowResized();
                });
            }
        } else {
            follow();
        }
    } else if (event->type() == QEvent::Show && watched == &strip_) {
        follow();
    }
    return QObject::eventFilter(watched, event);
}

void ReplayStripScaler::follow() {
    // Hidden, it takes no height; it is fitted again as it shows.
    if (!strip_.isVisible()) {
        return;
    }
    const double refWidth = form_.resizer().component().Layout().OrigScaleWidth();
    if (!(refWidth > 0)) {
        return;
    }
    // By the width alone. Under the aspect rule that is the factor of the
    // face's own captions. A factor taken from the height would chase its
    // own tail: the face's height gives way to the strip's, which the factor
    // sets.
    const double wanted = form_.face().width() / refWidth;
    if (!(wanted > 0) || std::abs(wanted - factor_) < kSameFactor) {
        return;
    }
    factor_ = wanted;
    strip_.setScale(factor_);
}

}  // namespace veltra
