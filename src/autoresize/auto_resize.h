#pragma once
// The AutoResize component: placed on a window (its parent), it records the
// layout of every other control of that window once (StoreSettings) and, on
// every later resize of the window, enforces a minimum outer size, optionally
// holds a fixed height-to-width ratio, and rescales every recorded control.
//
// The host (the window that holds it) loads and saves its properties, tells
// it whether it runs or is being designed, and forwards the window's resize
// events to onParentResized.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "autoresize/layout_parent.h"
#include "autoresize/property_bag.h"
#include "autoresize/proportional_layout.h"

namespace veltra {

enum class HostMode { Design, Run };

class AutoResize {
public:
    // New-instance (and loading) defaults.
    static constexpr bool kDefaultEnabled = true;
    static constexpr bool kDefaultFontResizable = true;
    static constexpr bool kDefaultKeepAspectRatio = false;
    static constexpr double kDefaultAspectRatioValue = 0;
    static constexpr std::int32_t kDefaultHMin = 3000;
    static constexpr std::int32_t kDefaultWMin = 4800;
    // The component's own box, in twips: it never has another size.
    static constexpr double kBoxSize = 400;

    // `parent` is the window the component sits on (nullptr while it sits on
    // none); it is not owned and must outlive the component or be detached.
    explicit AutoResize(LayoutParent* parent, HostMode mode = HostMode::Run);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v) { enabled_ = v; }
    bool FontResizable() const { return fontResizable_; }
    void SetFontResizable(bool v) { fontResizable_ = v; }
    bool KeepAspectRatio() const { return keepAspectRatio_; }
    // Also takes AspectRatioValue from the parent's current outer size (or
    // 0 when switched off) and tells the host that the property changed.
    void SetKeepAspectRatio(bool v);
    double AspectRatioValue() const { return aspectRatioValue_; }
    void SetAspectRatioValue(double v) { aspectRatioValue_ = v; }
    std::int32_t HMin() const { return hMin_; }
    void SetHMin(std::int32_t v) { hMin_ = v; }
    std::int32_t WMin() const { return wMin_; }
    void SetWMin(std::int32_t v) { wMin_ = v; }

    // Host-side identity of the instance on its form.
    const std::string& Name() const { return name_; }
    void SetName(std::string v) { name_ = std::move(v); }
    const std::string& Tag() const { return tag_; }
    void SetTag(std::string v) { tag_ = std::move(v); }

    // Called with the property's name whenever a property set with a side
    // effect changed the saved state.
    void SetOnPropertyChanged(std::function<void(std::string_view)> hook) {
        onPropertyChanged_ = std::move(hook);
    }

    // Host events.
    void initProperties();
    void readProperties(const PropertyBag& bag);
    void writeProperties(PropertyBag& bag) const;
    void onBoxResized();
    void onParentLoaded() {}
    void onParentResized();

    // Takes a new reference layout from the parent as it stands now.
    void StoreSettings();
    void RecordLayout();
    void ApplyLayout();

    // The window whose resize events reach the component: set on loading in
    // run mode only.
    LayoutParent* ParentForm() const { return parentForm_; }
    // The window goes away before the component: forget it.
    void Detach();

    HostMode Mode() const { return mode_; }
    double BoxWidth() const { return boxWidth_; }
    double BoxHeight() const { return boxHeight_; }
    // The host (a designer) resizes the component's box.
    void ResizeBox(double width, double height);

    const ProportionalLayout& Layout() const { return layout_; }
    std::int32_t LayoutCount() const { return layout_.LayoutCount(); }
    bool AdjustingHeight() const { return layout_.AdjustingHeight(); }

private:
    LayoutParent* parent_;
    LayoutParent* parentForm_ = nullptr;
    HostMode mode_;
    bool enabled_ = kDefaultEnabled;
    bool fontResizable_ = kDefaultFontResizable;
    bool keepAspectRatio_ = kDefaultKeepAspectRatio;
    double aspectRatioValue_ = kDefaultAspectRatioValue;
    std::int32_t hMin_ = kDefaultHMin;
    std::int32_t wMin_ = kDefaultWMin;
    std::string name_;
    std::string tag_;
    double boxWidth_ = kBoxSize;
    double boxHeight_ = kBoxSize;
    std::function<void(std::string_view)> onPropertyChanged_;
    ProportionalLayout layout_;
};

}  // namespace veltra
