#pragma once
// A borderless panel of the face: a plain filled box that holds other parts.

#include <QColor>
#include <QWidget>

namespace veltra {

class FacePanel : public QWidget {
    Q_OBJECT
public:
    FacePanel(QColor fill, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_;
};

}  // namespace veltra
