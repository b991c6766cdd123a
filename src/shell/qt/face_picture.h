#pragma once
// A picture box of the face. Display elements show a copy of a hidden
// template's picture; an element is lit exactly when it shows the lit
// template's picture.

#include <QImage>
#include <QRect>
#include <QWidget>

#include "shell/qt/face_art.h"

namespace veltra {

class FacePicture : public QWidget {
    Q_OBJECT
public:
    FacePicture(FacePictureArt picture, QWidget* parent);

    FacePictureArt picture() const { return picture_; }
    void setPicture(FacePictureArt picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Puts the current look's kept pixels straight into the window's image,
    // within `region`, without a painter: a painter costs more to begin
    // than the copy itself. False when they cannot be used here.
    bool copyDrawn(const QRegion& region);

    // The pixels a look was drawn as, taken from the window's image right
    // after drawing it, and where in that image they were. Drawing the art
    // strokes its glow several times; copying the pixels back costs next to
    // nothing. They are used only at the very place, size, pixel ratio and
    // image layout they were drawn for: the raster engine rounds blends a
    // little differently at different memory alignments, and the copy must
    // be exactly what drawing afresh would give.
    struct Drawn {
        FacePictureArt picture;
        QImage pixels;
        QRect at;  // device pixels in the target image
        qsizetype bytesPerLine = 0;

        // Whether these are `art`'s pixels, drawn at `place` in an image laid
        // out as `target` is.
        bool fits(FacePictureArt art, QRect place, const QImage& target) const {
            return !pixels.isNull() && picture == art && at == place &&
                   bytesPerLine == target.bytesPerLine() && pixels.format() == target.format();
        }
    };
    Drawn& drawnForLook() { return drawn_[picture_.look == FaceLook::Bright ? 0 : 1]; }

    FacePictureArt picture_;
    Drawn drawn_[2];  // one per look, as an element switches between them
};

}  // namespace veltra
