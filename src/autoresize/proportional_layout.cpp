#include "autoresize/proportional_layout.h"

#include <cmath>
#include <optional>
#include <string>

namespace veltra {
namespace {

// A read that yields nothing usable (missing, or not a finite number)
// leaves the field as it was.
void ReadInto(const LayoutControl& c, std::string_view name, float& field) {
    if (const auto v = c.Get(name); v && std::isfinite(*v)) {
        field = static_cast<float>(*v);
    }
}

// Products are kept at single precision, like the records they come from.
float Product(float factor, float value) {
    return static_cast<float>(static_cast<double>(factor) * static_cast<double>(value));
}

bool InsideTabbedDialog(const LayoutControl& c) {
    return c.ContainerTypeName() == control_type::kTabbedDialog;
}

bool StandsLeftOfOrigin(const LayoutControl& c) {
    const auto left = c.Get(prop::kLeft);
    return left && *left < 0;
}

// Clears the flag however the scope is left.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

}  // namespace

void ProportionalLayout::RecordLayout(LayoutParent& parent) {
    origScaleWidth_ = static_cast<float>(parent.InnerWidth());
    origScaleHeight_ = static_cast<float>(parent.InnerHeight());
    const int count = parent.ControlCount();
    for (int i = 0; i < count; ++i) {
        const LayoutControl* c = parent.Control(i);
        if (c == nullptr) {
            continue;
        }
        const std::string type = c->TypeName();
        if (type == control_type::kStatusBar && c->Get(prop::kAlign).value_or(0) > 0) {
            continue;  // docked: the window places it itself
        }
        if (c->Tag() == "NO") {
            continue;
        }
        ControlLayout r;
        r.Index = i;
        if (type == control_type::kLine) {
            ReadInto(*c, prop::kX1, r.Left);
            ReadInto(*c, prop::kY1, r.Top);
            ReadInto(*c, prop::kX2, r.Width);
            ReadInto(*c, prop::kY2, r.Height);
            ReadInto(*c, prop::kBorderWidth, r.BorderWidth);
        } else {
            // A control on a tab that is not showing is recorded at its place
            // on the tab, so that scaling moves the place, not the offset.
            if (const auto left = c->Get(prop::kLeft); left && std::isfinite(*left)) {
                const bool hidden = *left < 0 && InsideTabbedDialog(*c);
                r.Left = static_cast<float>(hidden ? *left + kHiddenTabOffset : *left);
            }
            ReadInto(*c, prop::kTop, r.Top);
            ReadInto(*c, prop::kWidth, r.Width);
            ReadInto(*c, prop::kHeight, r.Height);
            ReadInto(*c, prop::kFontSize, r.FontSize);
        }
        layouts_.push_back(r);
    }
}

void ProportionalLayout::ApplyLayout(LayoutParent& parent, const LayoutOptions& options) {
    if (adjustingHeight_) {
        return;  // the resize raised by our own height correction below
    }
    if (options.KeepAspectRatio && options.AspectRatioValue > 0 &&
        parent.State() == WindowState::Normal) {
        FlagScope adjusting(adjustingHeight_);
        const double wanted = static_cast<float>(parent.OuterWidth() * options.AspectRatioValue);
        parent.SetOuterHeight(wanted);
    }
    // The height is corrected first, so sy comes from the corrected size.
    if (!(origScaleWidth_ > 0) || !(origScaleHeight_ > 0)) {
        return;
    }
    const float sx = static_cast<float>(parent.InnerWidth() / origScaleWidth_);
    const float sy = static_cast<float>(parent.InnerHeight() / origScaleHeight_);
    const float fs = sx < sy ? sx : sy;
    // By position, not by iterator: a control's reaction to being moved may
    // reach back into the window and take a new snapshot.
    for (std::size_t n = 0; n < layouts_.size(); ++n) {
        const ControlLayout r = layouts_[n];
        LayoutControl* c = parent.Control(r.Index);
        if (c == nullptr) {
            continue;
        }
        if (c->TypeName() == control_type::kLine) {
            ScaleLine(*c, r, sx, sy);
        } else {
            ScaleControl(*c, r, sx, sy, fs, options.FontResizable);
        }
    }
}

void ProportionalLayout::ScaleLine(LayoutControl& c, const ControlLayout& r, float sx, float sy) {
    c.Set(prop::kX1, Product(sx, r.Left));
    c.Set(prop::kY1, Product(sy, r.Top));
    c.Set(prop::kX2, Product(sx, r.Width));
    c.Set(prop::kY2, Product(sy, r.Height));
    // A line's width is a whole number from 1 up; a thinner result is refused
    // and the line keeps the width it has.
    const float mean = static_cast<float>((static_cast<double>(sy) + sx) / 2);
    const double width = std::nearbyint(Product(mean, r.BorderWidth));
    if (width >= 1) {
        c.Set(prop::kBorderWidth, width);
    }
}

void ProportionalLayout::ScaleControl(LayoutControl& c, const ControlLayout& r, float sx, float sy,
                                      float fs, bool fontResizable) {
    // The font first: a control that sizes itself to its text is then given
    // its box afterwards.
    if (fontResizable) {
        c.Set(prop::kFontSize, Product(fs, r.FontSize));
    }
    if (StandsLeftOfOrigin(c) && InsideTabbedDialog(c)) {
        const double left = static_cast<double>(sx) * r.Left - kHiddenTabOffset;
        c.Set(prop::kLeft, static_cast<float>(left));
    } else {
        c.Set(prop::kLeft, Product(sx, r.Left));
    }
    c.Set(prop::kTop, Product(sy, r.Top));
    c.Set(prop::kWidth, Product(sx, r.Width));
    c.Set(prop::kHeight, Product(sy, r.Height));
}

}  // namespace veltra
