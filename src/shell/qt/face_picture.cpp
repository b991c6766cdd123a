#include "shell/qt/face_picture.h"

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

void FacePicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    PaintFaceArt(painter, QRectF(rect()), picture_);
}

}  // namespace veltra
