#pragma once
// A picture box of the face. Display elements show a copy of a hidden
// template's picture; an element is lit exactly when it shows the lit
// template's picture.

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
    FacePictureArt picture_;
};

}  // namespace veltra
