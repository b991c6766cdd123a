#include "autoresize/auto_resize.h"

#include <cmath>

namespace veltra {
namespace {
constexpr std::string_view kFrame = "displayPanel";
}  // namespace

AutoResize::AutoResize(LayoutParent* parent, HostMode mode) : parent_(parent), mode_(mode) {}

void AutoResize::SetKeepAspectRatio(bool v) {
    keepAspectRatio_ = v;
    if (!v) {
        aspectRatioValue_ = 0;
    } else if (parent_ != nullptr) {
        // Without a usable size there is no ratio to take; keep the old one.
        const double width = parent_->OuterWidth();
        const double ratio = parent_->OuterHeight() / width;
        if (width > 0 && std::isfinite(ratio)) {
            aspectRatioValue_ = ratio;
        }
    }
    if (onPropertyChanged_) {
        onPropertyChanged_("KeepAspectRatio");
    }
}

void AutoResize::initProperties() {
    fontResizable_ = kDefaultFontResizable;
    keepAspectRatio_ = kDefaultKeepAspectRatio;
    hMin_ = kDefaultHMin;
    wMin_ = kDefaultWMin;
    aspectRatioValue_ = kDefaultAspectRatioValue;
    enabled_ = kDefaultEnabled;
    tag_ = "NO";
    name_ = "Resize";
}

void AutoResize::readProperties(const PropertyBag& bag) {
    fontResizable_ = bag.ReadBool("FontResizable", kDefaultFontResizable);
    SetKeepAspectRatio(bag.ReadBool("KeepAspectRatio", kDefaultKeepAspectRatio));
    // The saved ratio wins over the one the setter just took.
    aspectRatioValue_ = bag.ReadDouble("AspectRatioValue", kDefaultAspectRatioValue);
    enabled_ = bag.ReadBool("Enabled", kDefaultEnabled);
    hMin_ = bag.ReadInt("HMin", kDefaultHMin);
    wMin_ = bag.ReadInt("WMin", kDefaultWMin);
    if (mode_ == HostMode::Run) {
        parentForm_ = parent_;
    }
}

void AutoResize::writeProperties(PropertyBag& bag) const {
    if (fontResizable_ != kDefaultFontResizable) {
        bag.WriteProperty("FontResizable", fontResizable_);
    }
    if (keepAspectRatio_ != kDefaultKeepAspectRatio) {
        bag.WriteProperty("KeepAspectRatio", keepAspectRatio_);
    }
    bag.WriteProperty("AspectRatioValue", aspectRatioValue_);
    if (hMin_ != kDefaultHMin) {
        bag.WriteProperty("HMin", hMin_);
    }
    if (wMin_ != kDefaultWMin) {
        bag.WriteProperty("WMin", wMin_);
    }
    if (enabled_ != kDefaultEnabled) {
        bag.WriteProperty("Enabled", enabled_);
    }
}

void AutoResize::onBoxResized() {
    boxWidth_ = kBoxSize;
    boxHeight_ = kBoxSize;
}

void AutoResize::ResizeBox(double width, double height) {
    boxWidth_ = width;
    boxHeight_ = height;
    onBoxResized();
}

void AutoResize::Detach() {
    parent_ = nullptr;
    parentForm_ = nullptr;
}

void AutoResize::onParentResized() {
    LayoutParent* form = parentForm_;
    if (form == nullptr) {
        return;
    }
    // A window without "displayPanel" is laid out all the same.
    form->SetControlVisible(kFrame, false);
    if (form->State() == WindowState::Minimised) {
        return;  // "displayPanel" stays hidden until a later resize completes
    }
    if (!enabled_) {
        // Nothing to rescale, but the face must not stay blank.
        form->SetControlVisible(kFrame, true);
        return;
    }
    // Each of these may run this whole handling again, nested, before it
    // returns; the nested run then finds the minimum met.
    if (form->OuterHeight() < hMin_) {
        form->SetOuterHeight(hMin_);
    }
    if (form->OuterWidth() < wMin_) {
        form->SetOuterWidth(wMin_);
    }
    ApplyLayout();
    form->SetControlVisible(kFrame, true);
}

void AutoResize::StoreSettings() {
    if (mode_ == HostMode::Design) {
        return;
    }
    layout_.Clear();
    RecordLayout();
}

void AutoResize::RecordLayout() {
    if (mode_ == HostMode::Design || parent_ == nullptr) {
        return;
    }
    layout_.RecordLayout(*parent_);
}

void AutoResize::ApplyLayout() {
    if (mode_ == HostMode::Design || parent_ == nullptr) {
        return;
    }
    layout_.ApplyLayout(*parent_, {fontResizable_, keepAspectRatio_, aspectRatioValue_});
}

}  // namespace veltra
