#include "shell/qt/face_picture.h"

#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>

namespace veltra {

FacePicture::FacePicture(FacePictureArt picture, QWidget* parent)
    : QWidget(parent), picture_(picture) {
    // Black around the drawing, like the panel it sits on.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FacePicture::setPicture(FacePictureArt picture) {
    // Every frame rewrites every element; repaint only what changed.
    if (picture == picture_) {
        return;
    }
    picture_ = picture;
    update();
}

void FacePicture::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // What the painter really draws on: the window's backing store image, or
    // the pixmap of a grab, which is drawn afresh.
    QPaintDevice* device = painter.paintEngine()->paintDevice();
    QImage* target = device->devType() == QInternal::Image ? static_cast<QImage*>(device) : nullptr;
    const QTransform toDevice = painter.deviceTransform();
    const QRect at = toDevice.mapRect(QRectF(rect())).toAlignedRect();
    const bool plain = toDevice.type() <= QTransform::TxScale;

    Drawn& drawn = drawn_[picture_.look == FaceLook::Bright ? 0 : 1];
    if (target != nullptr && plain && drawn.picture == picture_ && drawn.at == at &&
        drawn.bytesPerLine == target->bytesPerLine() && drawn.pixels.format() == target->format() &&
        !drawn.pixels.isNull()) {
        // Straight back into the image, pixel for pixel (the copy carries the
        // image's pixel ratio); the paint system's clip still limits it to
        // what needs repainting. The kept pixels are opaque, so copying them
        // gives what blending them would, without the blending's per-pixel
        // work (the backing store's format has an alpha channel).
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), drawn.pixels);
        return;
    }

    painter.fillRect(rect(), Qt::black);
    PaintFaceArt(painter, QRectF(rect()), picture_);

    // Keep the result when all of it was drawn and lies within the image.
    const bool whole = (QRegion(rect()) - event->region()).isEmpty();
    if (target != nullptr && plain && whole && target->rect().contains(at)) {
        painter.end();
        drawn = Drawn{picture_, target->copy(at), at, target->bytesPerLine()};
    }
}

}  // namespace veltra
