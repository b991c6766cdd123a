#pragma once
// One widget seen as a control of proportional layout. Positions and sizes
// are the widget's pixel geometry relative to its own parent widget, as
// floats: layout only ever forms ratios of them, so the window's units do not
// matter. Writes round to whole pixels.
//
// Type names: the dynamic property "veltraType" when a widget sets it (the
// face's segment lines say "Line" and offer the int properties X1, Y1, X2,
// Y2 and BorderWidth); a QTabWidget is "SSTab", a QStatusBar "StatusBar";
// any other widget its class name. "Tag" and "Align" are dynamic properties
// (no tag, and Align 0, when absent). Any other name is the widget's declared
// Q_PROPERTY of that name, if it has one: a write never creates a property.

#include <QPointer>
#include <QWidget>

#include "autoresize/layout_parent.h"

namespace veltra {

class WidgetControl : public LayoutControl {
public:
    explicit WidgetControl(QWidget* widget) : widget_(widget) {}

    std::string TypeName() const override;
    std::optional<std::string> ContainerTypeName() const override;
    std::optional<std::string> Tag() const override;
    std::optional<double> Get(std::string_view property) const override;
    bool Set(std::string_view property, double value) override;

    // nullptr once the widget is gone; every read then fails and every
    // write is refused.
    QWidget* widget() const { return widget_; }
    static std::string TypeNameOf(const QWidget* widget);

private:
    bool SetFontSize(double points);
    bool SetDeclared(std::string_view property, double value);

    QPointer<QWidget> widget_;
};

}  // namespace veltra
