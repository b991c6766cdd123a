#include "shell/qt/face_picture.h"

#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <cstring>

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
    if (copyDrawn(event->region())) {
        return;
    }
    QPainter painter(this);
    // What the painter really draws on: the window's backing store image, or
    // the pixmap of a grab, which is drawn afresh.
    QPaintDevice* device = painter.paintEngine()->paintDevice();
    QImage* target = device->devType() == QInternal::Image ? static_cast<QImage*>(device) : nullptr;
    const QTransform toDevice = painter.deviceTransform();
    const QRect at = toDevice.mapRect(QRectF(rect())).toAlignedRect();
    const bool plain = toDevice.type() <= QTransform::TxScale;

    Drawn& drawn = drawnForLook();
    if (target != nullptr && plain && drawn.fits(picture_, at, *target)) {
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

bool FacePicture::copyDrawn(const QRegion& region) {
    // Only where the paint system hands this widget the window's own image,
    // at one device pixel per pixel. Anything else (a grab, a shared painter,
    // a scaled screen) goes through a painter.
    if (sharedPainter() != nullptr) {
        return false;
    }
    QPoint offset;
    QPaintDevice* device = redirected(&offset);
    if (device == nullptr || device->devType() != QInternal::Image) {
        return false;
    }
    auto* target = static_cast<QImage*>(device);
    const Drawn& drawn = drawnForLook();
    // The painter maps this widget's point p to p - offset in the image.
    const QRect at = rect().translated(-offset);
    if (target->devicePixelRatio() != 1.0 || target->depth() % 8 != 0 ||
        !drawn.fits(picture_, at, *target)) {
        return false;
    }
    const int bytesPerPixel = target->depth() / 8;
    const qsizetype pitch = target->bytesPerLine();
    uchar* bits = target->bits();
    // A painter would clip to the region being repainted: beyond it lie
    // other widgets' pixels, which this paint must not touch.
    for (const QRect& part : region) {
        const QRect box = part.intersected(rect()).translated(-offset).intersected(target->rect());
        const auto rowBytes = static_cast<size_t>(box.width()) * bytesPerPixel;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            const uchar* from = drawn.pixels.constScanLine(y - at.top()) +
                                static_cast<qsizetype>(box.left() - at.left()) * bytesPerPixel;
            std::memcpy(bits + y * pitch + static_cast<qsizetype>(box.left()) * bytesPerPixel, from,
                        rowBytes);
        }
    }
    return true;
}

}  // namespace veltra
