#pragma once
// The pictures of the detector face, drawn as vector shapes so that they stay
// crisp in whatever box the proportional layout gives them.

#include <QColor>
#include <QRectF>

class QPainter;

namespace veltra {

// Colours of the display elements: the detector's lit and unlit red.
inline const QColor kLitRed{255, 0, 0};
inline const QColor kDarkRed{64, 0, 0};
// Printed legends on the black panel.
inline const QColor kLegendInk{214, 214, 214};

enum class FaceArt {
    None,
    FrontArrow,     // upward arrow
    SideArrow,      // horizontal double-headed arrow
    RearArrow,      // downward arrow
    Dot,            // signal meter dot
    Lamp,           // band lamp
    MuteButton,     // round grey push button
    Speaker,        // small speaker glyph beside the mute caption
    MinimiseGlyph,  // box with a bar at its bottom
};

// Bright is the lit look of a display element and the released face of the
// mute button; Dark is the unlit look and the pressed (darker) face.
enum class FaceLook { Bright, Dark };

struct FacePictureArt {
    FaceArt art = FaceArt::None;
    FaceLook look = FaceLook::Dark;
    bool operator==(const FacePictureArt&) const = default;
};

// Draws `picture` filling `box`; nothing for FaceArt::None.
void PaintFaceArt(QPainter& painter, const QRectF& box, FacePictureArt picture);

}  // namespace veltra
