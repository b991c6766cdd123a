#include "shell/qt/face_panel.h"

#include <QPaintEvent>
#include <QPainter>

namespace veltra {

FacePanel::FacePanel(QColor fill, QWidget* parent) : QWidget(parent), fill_(fill) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FacePanel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), fill_);
}

}  // namespace veltra
