#pragma once
// Proportional layout: a snapshot of where every control of a window stands
// (RecordLayout), scaled to the window's current client size on demand
// (ApplyLayout). Scale factors are always taken against the snapshot's
// reference size, never against the previous size, so rounding to whole
// device units never accumulates and the reference size puts every control
// back exactly.

#include <cstdint>
#include <vector>

#include "autoresize/control_layout.h"
#include "autoresize/layout_parent.h"

namespace veltra {

struct LayoutOptions {
    bool FontResizable = true;
    bool KeepAspectRatio = false;
    // Outer height / outer width to hold the window at; 0 or less: none.
    double AspectRatioValue = 0;
};

// Controls on the pages of a tabbed dialog that are not showing stand this
// far to the left of their places.
inline constexpr double kHiddenTabOffset = 75000;

class ProportionalLayout {
public:
    // Forgets every record (LayoutCount becomes 0).
    void Clear() { layouts_.clear(); }
    // Takes the reference size and appends one record per control that
    // takes part in the layout.
    void RecordLayout(LayoutParent& parent);
    // Corrects the window's height for the aspect ratio when asked to, then
    // scales every record to the client size. When the reference client
    // width or height was 0 no scale factor exists and no control is touched.
    void ApplyLayout(LayoutParent& parent, const LayoutOptions& options);

    std::int32_t LayoutCount() const { return static_cast<std::int32_t>(layouts_.size()); }
    const std::vector<ControlLayout>& Layouts() const { return layouts_; }
    float OrigScaleWidth() const { return origScaleWidth_; }
    float OrigScaleHeight() const { return origScaleHeight_; }
    // True only while ApplyLayout itself sets the window's outer height.
    bool AdjustingHeight() const { return adjustingHeight_; }

private:
    void ScaleLine(LayoutControl& c, const ControlLayout& r, float sx, float sy);
    void ScaleControl(LayoutControl& c, const ControlLayout& r, float sx, float sy, float fs,
                      bool fontResizable);

    std::vector<ControlLayout> layouts_;
    float origScaleWidth_ = 0;
    float origScaleHeight_ = 0;
    bool adjustingHeight_ = false;
};

}  // namespace veltra
