#include "autoresize/qt/qt_auto_resize.h"

#include <QEvent>

namespace veltra {

QtAutoResize::QtAutoResize(QWidget* window)
    : QObject(window), parent_(window), component_(&parent_, HostMode::Run) {
    component_.initProperties();
    // A new instance attaches the way a loaded one does.
    PropertyBag current;
    component_.writeProperties(current);
    component_.readProperties(current);
    Attach();
}

QtAutoResize::QtAutoResize(QWidget* window, const PropertyBag& saved)
    : QObject(window), parent_(window), component_(&parent_, HostMode::Run) {
    component_.SetName("Resize");
    component_.SetTag("NO");
    component_.readProperties(saved);
    Attach();
}

QtAutoResize::~QtAutoResize() {
    component_.Detach();
}

void QtAutoResize::Attach() {
    setObjectName(QString::fromStdString(component_.Name()));
    setProperty("Tag", QString::fromStdString(component_.Tag()));
    component_.SetOnPropertyChanged([this](std::string_view name) {
        emit propertyChanged(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
    });
    // The client area's own resize comes after the window has placed it, so
    // the handling sees the new client size; state changes come to the
    // window.
    watchedInner_ = parent_.inner();
    if (watchedInner_) {
        watchedInner_->installEventFilter(this);
    }
    if (QWidget* w = parent_.window(); w != nullptr && w != watchedInner_) {
        w->installEventFilter(this);
    }
}

bool QtAutoResize::eventFilter(QObject* watched, QEvent* event) {
    const bool resized = event->type() == QEvent::Resize && watched == watchedInner_;
    const bool stateChanged =
        event->type() == QEvent::WindowStateChange && watched == parent_.window();
    if (resized || stateChanged) {
        component_.onParentResized();
    }
    return false;
}

}  // namespace veltra
