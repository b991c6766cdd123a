#pragma once
// One recorded control: where it stood, and its font size or line width, at
// the moment the reference layout was taken.

#include <cstdint>

namespace veltra {

struct ControlLayout {
    // Position of the control in the parent's control collection, from 0.
    std::int32_t Index = 0;
    // An ordinary control's Left, Top, Width, Height; a line's X1, Y1, X2, Y2.
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
    // Point size of an ordinary control's font (0 when it has none).
    float FontSize = 0;
    // A line's width (unused for other controls).
    float BorderWidth = 0;
};

}  // namespace veltra
