#pragma once
// What proportional layout needs of a window and of the controls on it. The
// window system behind these is free to refuse anything: a read of a missing
// property yields nothing, and a write that is missing, read-only or out of
// range returns false. Layout never stops on a refusal; it goes on with the
// next step.

#include <optional>
#include <string>
#include <string_view>

#include "platform/window.h"

namespace veltra {

// Property names a control may be asked for.
namespace prop {
inline constexpr std::string_view kLeft = "Left";
inline constexpr std::string_view kTop = "Top";
inline constexpr std::string_view kWidth = "Width";
inline constexpr std::string_view kHeight = "Height";
inline constexpr std::string_view kFontSize = "FontSize";  // point size of the control's font
inline constexpr std::string_view kAlign = "Align";        // > 0: docked to an edge of the window
inline constexpr std::string_view kX1 = "X1";
inline constexpr std::string_view kY1 = "Y1";
inline constexpr std::string_view kX2 = "X2";
inline constexpr std::string_view kY2 = "Y2";
inline constexpr std::string_view kBorderWidth = "BorderWidth";
}  // namespace prop

// Type names that layout treats specially.
namespace control_type {
inline constexpr std::string_view kLine = "Line";
inline constexpr std::string_view kStatusBar = "StatusBar";
inline constexpr std::string_view kTabbedDialog = "SSTab";
}  // namespace control_type

class LayoutControl {
public:
    virtual ~LayoutControl() = default;
    virtual std::string TypeName() const = 0;
    // Type name of the control that holds this one; nothing when it has none.
    virtual std::optional<std::string> ContainerTypeName() const = 0;
    // The control's tag text; nothing when it has none.
    virtual std::optional<std::string> Tag() const = 0;
    // Positions and sizes are in the parent's scale units.
    virtual std::optional<double> Get(std::string_view property) const = 0;
    virtual bool Set(std::string_view property, double value) = 0;
};

class LayoutParent {
public:
    virtual ~LayoutParent() = default;
    // Client area, in the window's scale units (those of its controls).
    virtual double InnerWidth() const = 0;
    virtual double InnerHeight() const = 0;
    // Whole window including its frame, in twips (what minimum sizes are
    // given in). Setting one may raise the window's resize handling again
    // before it returns, or later, or (when refused) never.
    virtual double OuterWidth() const = 0;
    virtual double OuterHeight() const = 0;
    virtual bool SetOuterWidth(double twips) = 0;
    virtual bool SetOuterHeight(double twips) = 0;
    virtual WindowState State() const = 0;
    // The control collection. ControlCount() takes the collection as it
    // stands at that moment; Control(i) then refers to that same collection
    // until the next ControlCount(), and yields nullptr for a position that
    // has no control (any more).
    virtual int ControlCount() = 0;
    virtual LayoutControl* Control(int index) = 0;
    // Shows or hides the control of that name; false when there is none.
    virtual bool SetControlVisible(std::string_view name, bool visible) = 0;
};

}  // namespace veltra
