#pragma once
// The AutoResize component on a Qt window: owned by the window (a child
// QObject named "Resize" with the dynamic property Tag "NO"), it hears the
// window's resize and window-state changes and hands them to
// onParentResized.
//
// Create it once the window has its central widget. In the running program
// the component always runs (there is no designer), so it attaches at once.
// It has no box of its own on the window: it is not a widget.
//
// Size changes that the handling itself makes (minimum size, aspect ratio)
// come back as resize events either at once, nested inside the handling,
// or later from the window system; the component handles both the same way.

#include <QObject>
#include <QPointer>

#include "autoresize/auto_resize.h"
#include "autoresize/qt/widget_parent.h"

namespace veltra {

class QtAutoResize : public QObject {
    Q_OBJECT
public:
    // A new instance placed on `window`: new-instance properties.
    explicit QtAutoResize(QWidget* window);
    // An instance loaded with the window, from its saved properties.
    QtAutoResize(QWidget* window, const PropertyBag& saved);
    ~QtAutoResize() override;

    AutoResize& component() { return component_; }
    const AutoResize& component() const { return component_; }
    WidgetParent& parentWindow() { return parent_; }

    // Takes the window's layout as it stands now as the reference.
    void StoreSettings() { component_.StoreSettings(); }

signals:
    // A property set with a side effect changed the saved properties.
    void propertyChanged(const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Attach();

    WidgetParent parent_;
    AutoResize component_;
    QPointer<QWidget> watchedInner_;
};

}  // namespace veltra
