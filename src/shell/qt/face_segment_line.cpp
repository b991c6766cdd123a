#include "shell/qt/face_segment_line.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "shell/qt/face_art.h"

namespace veltra {

SegmentLine::SegmentLine(QWidget* container) : QWidget(container), color_(kDarkRed) {
    setProperty("veltraType", QStringLiteral("Line"));
    // A press on a segment belongs to the panel that holds the digit.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    fitToStroke();
}

void SegmentLine::setX1(int v) {
    x1_ = v;
    fitToStroke();
}

void SegmentLine::setY1(int v) {
    y1_ = v;
    fitToStroke();
}

void SegmentLine::setX2(int v) {
    x2_ = v;
    fitToStroke();
}

void SegmentLine::setY2(int v) {
    y2_ = v;
    fitToStroke();
}

void SegmentLine::setLine(int x1, int y1, int x2, int y2) {
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    fitToStroke();
}

void SegmentLine::setBorderWidth(int width) {
    if (width < 1) {
        return;
    }
    borderWidth_ = width;
    fitToStroke();
}

void SegmentLine::setBorderColor(QColor color) {
    if (color == color_) {
        return;
    }
    color_ = color;
    update();
}

void SegmentLine::fitToStroke() {
    // Round caps reach half the width beyond each end in every direction.
    const int half = (borderWidth_ + 1) / 2;
    const int left = std::min(x1_, x2_) - half;
    const int top = std::min(y1_, y2_) - half;
    setGeometry(left, top, std::abs(x2_ - x1_) + 2 * half, std::abs(y2_ - y1_) + 2 * half);
    update();
}

void SegmentLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF from(x1_ - x(), y1_ - y());
    const QPointF to(x2_ - x(), y2_ - y());
    painter.setPen(QPen(color_, borderWidth_, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);
    if (color_ == kLitRed && borderWidth_ >= 3) {
        // The hot core of a lit segment.
        painter.setPen(
            QPen(QColor(255, 96, 72, 150), 0.3 * borderWidth_, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(from, to);
    }
}

}  // namespace veltra
