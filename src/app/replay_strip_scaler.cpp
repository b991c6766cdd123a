#include "app/replay_strip_scaler.h"

#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "app/form1.h"
#include "autoresize/qt/qt_auto_resize.h"
#include "recorder/qt/replay_strip.h"
#include "shell/qt/face_widget.h"

namespace veltra {

namespace {

// Font sizes closer than this are the same size on screen; not refitting
// for them keeps a resize from re-polishing the strip for nothing.
constexpr double kSameFactor = 0.005;

}  // namespace

ReplayStripScaler::ReplayStripScaler(Form1& form, recorder::ReplayStrip& strip)
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
                    form_.Form_Resize();
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
    const ProportionalLayout& layout = form_.resizer().component().Layout();
    const double refWidth = layout.OrigScaleWidth();
    const double refHeight = layout.OrigScaleHeight();
    if (!(refWidth > 0) || !(refHeight > 0)) {
        return;
    }
    const QWidget& face = form_.face();
    // The same rule as the face's captions (the smaller of the two scales),
    // with the strip counted in the height: face and strip share the height
    // below the menus, which the strip's own font does not change, so a
    // refit can never feed back into the next one.
    const double sx = face.width() / refWidth;
    const double sy = (face.height() + strip_.height()) / (refHeight + strip_.designHeight());
    const double wanted = std::min(sx, sy);
    if (!(wanted > 0) || std::abs(wanted - factor_) < kSameFactor) {
        return;
    }
    factor_ = wanted;
    strip_.setScale(factor_);
}

}  // namespace veltra
