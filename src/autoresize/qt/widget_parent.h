#pragma once
// A top-level window seen as the parent of proportional layout.
//
// Its client area is the central widget of a QMainWindow (else the window
// itself), measured in pixels like its controls. Its outer size is the frame
// geometry, in twips at the window's logical DPI, which is what minimum sizes
// are given in.
//
// Its controls are the widgets below the client area, depth first in child
// order (each container before what it holds), leaving out separate windows
// (menus, dialogs) with everything in them, Qt's own inner parts of compound
// widgets (object names beginning "qt_"), and widgets a QLayout places:
// those are moved by their layout, and their children are still taken. The
// collection is taken when ControlCount() is asked and then kept, so that
// raising a widget (which reorders its siblings) does not shift positions.

#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

#include "autoresize/layout_parent.h"
#include "autoresize/qt/widget_control.h"

namespace veltra {

class WidgetParent : public LayoutParent {
public:
    explicit WidgetParent(QWidget* window);

    double InnerWidth() const override;
    double InnerHeight() const override;
    double OuterWidth() const override;
    double OuterHeight() const override;
    bool SetOuterWidth(double twips) override;
    bool SetOuterHeight(double twips) override;
    WindowState State() const override;
    int ControlCount() override;
    LayoutControl* Control(int index) override;
    bool SetControlVisible(std::string_view name, bool visible) override;

    QWidget* window() const { return window_; }
    // The widget whose size is the client area (nullptr once it is gone).
    QWidget* inner() const;
    // The widgets of the collection as last taken, in order.
    std::vector<QWidget*> controls() const;

private:
    QSize InnerSize() const;
    void Collect(QWidget* container);

    QPointer<QWidget> window_;
    std::vector<std::unique_ptr<WidgetControl>> controls_;
};

}  // namespace veltra
