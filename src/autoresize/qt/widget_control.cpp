#include "autoresize/qt/widget_control.h"

#include <QMetaProperty>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QVariant>

#include <cmath>

namespace veltra {
namespace {

// Point sizes are kept to 1/10000 pt: fine enough for any size a font is
// asked for (14.625), coarse enough that a size which went through single
// precision (9.1 -> 9.1000003...) comes back as the size it was.
double TidyPointSize(double points) {
    return std::round(points * 10000) / 10000;
}

bool InPixelRange(double v) {
    return std::isfinite(v) && std::fabs(v) <= static_cast<double>(QWIDGETSIZE_MAX);
}

int Pixels(double v) {
    return static_cast<int>(std::lround(v));
}

// A page of a tab widget sits in the tab widget's private stack.
const QTabWidget* TabWidgetOfPage(const QWidget* page) {
    const QWidget* stack = page->parentWidget();
    if (stack == nullptr || qobject_cast<const QStackedWidget*>(stack) == nullptr) {
        return nullptr;
    }
    return qobject_cast<const QTabWidget*>(stack->parentWidget());
}

std::optional<std::string> DynamicText(const QWidget* w, const char* name) {
    const QVariant v = w->property(name);
    if (!v.isValid()) {
        return std::nullopt;
    }
    return v.toString().toStdString();
}

}  // namespace

std::string WidgetControl::TypeNameOf(const QWidget* w) {
    if (const auto declared = DynamicText(w, "veltraType"); declared && !declared->empty()) {
        return *declared;
    }
    if (qobject_cast<const QTabWidget*>(w) != nullptr) {
        return std::string(control_type::kTabbedDialog);
    }
    if (qobject_cast<const QStatusBar*>(w) != nullptr) {
        return std::string(control_type::kStatusBar);
    }
    return w->metaObject()->className();
}

std::string WidgetControl::TypeName() const {
    return widget_ ? TypeNameOf(widget_) : std::string();
}

std::optional<std::string> WidgetControl::ContainerTypeName() const {
    const QWidget* container = widget_ ? widget_->parentWidget() : nullptr;
    if (container == nullptr) {
        return std::nullopt;
    }
    // The controls of a tab are held by the tab widget, not by its page.
    if (TabWidgetOfPage(container) != nullptr) {
        return std::string(control_type::kTabbedDialog);
    }
    return TypeNameOf(container);
}

std::optional<std::string> WidgetControl::Tag() const {
    return widget_ ? DynamicText(widget_, "Tag") : std::nullopt;
}

std::optional<double> WidgetControl::Get(std::string_view property) const {
    if (!widget_) {
        return std::nullopt;
    }
    const QRect g = widget_->geometry();
    if (property == prop::kLeft) {
        return g.x();
    }
    if (property == prop::kTop) {
        return g.y();
    }
    if (property == prop::kWidth) {
        return g.width();
    }
    if (property == prop::kHeight) {
        return g.height();
    }
    if (property == prop::kFontSize) {
        const double points = widget_->font().pointSizeF();
        return points > 0 ? std::optional<double>(points) : std::nullopt;  // pixel-sized: none
    }
    if (property == prop::kAlign) {
        const QVariant v = widget_->property("Align");
        return v.isValid() ? v.toDouble() : 0.0;
    }
    const QMetaObject* meta = widget_->metaObject();
    const int index = meta->indexOfProperty(std::string(property).c_str());
    if (index < 0 || !meta->property(index).isReadable()) {
        return std::nullopt;
    }
    bool ok = false;
    const double v = meta->property(index).read(widget_).toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

bool WidgetControl::Set(std::string_view property, double value) {
    if (!widget_ || !InPixelRange(value)) {
        return false;
    }
    if (property == prop::kLeft) {
        widget_->move(Pixels(value), widget_->y());
        return true;
    }
    if (property == prop::kTop) {
        widget_->move(widget_->x(), Pixels(value));
        return true;
    }
    if (property == prop::kWidth || property == prop::kHeight) {
        if (value < 0) {
            return false;
        }
        const bool width = property == prop::kWidth;
        widget_->resize(width ? Pixels(value) : widget_->width(),
                        width ? widget_->height() : Pixels(value));
        return true;
    }
    if (property == prop::kFontSize) {
        return SetFontSize(value);
    }
    if (property == prop::kAlign) {
        return false;  // docking is the window's business
    }
    return SetDeclared(property, value);
}

bool WidgetControl::SetFontSize(double points) {
    const double wanted = TidyPointSize(points);
    if (!(wanted > 0) || widget_->font().pointSizeF() <= 0) {
        return false;
    }
    // Setting the same size again would still pin the font to this widget
    // and re-polish it; a font the widget inherits should stay inherited.
    if (widget_->font().pointSizeF() == wanted) {
        return true;
    }
    QFont font = widget_->font();
    font.setPointSizeF(wanted);
    widget_->setFont(font);
    return true;
}

bool WidgetControl::SetDeclared(std::string_view property, double value) {
    const QMetaObject* meta = widget_->metaObject();
    const int index = meta->indexOfProperty(std::string(property).c_str());
    if (index < 0) {
        return false;
    }
    const QMetaProperty p = meta->property(index);
    if (!p.isWritable()) {
        return false;
    }
    switch (p.metaType().id()) {
        case QMetaType::Int:
            return p.write(widget_, Pixels(value));
        case QMetaType::Double:
            return p.write(widget_, value);
        case QMetaType::Float:
            return p.write(widget_, static_cast<float>(value));
        default:
            return p.write(widget_, QVariant(value));
    }
}

}  // namespace veltra
