#pragma once
// One segment of the digit: a thick line between two points of its
// container, like a line control. Its own geometry is the box the stroke
// covers; moving an end point moves and resizes the widget. The proportional
// layout finds it by the dynamic property "veltraType" = "Line" and drives it
// through X1, Y1, X2, Y2 and BorderWidth.

#include <QColor>
#include <QWidget>

namespace veltra {

class SegmentLine : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int X1 READ x1 WRITE setX1)
    Q_PROPERTY(int Y1 READ y1 WRITE setY1)
    Q_PROPERTY(int X2 READ x2 WRITE setX2)
    Q_PROPERTY(int Y2 READ y2 WRITE setY2)
    Q_PROPERTY(int BorderWidth READ borderWidth WRITE setBorderWidth)
    Q_PROPERTY(QColor BorderColor READ borderColor WRITE setBorderColor)
public:
    explicit SegmentLine(QWidget* container);

    int x1() const { return x1_; }
    int y1() const { return y1_; }
    int x2() const { return x2_; }
    int y2() const { return y2_; }
    int borderWidth() const { return borderWidth_; }
    QColor borderColor() const { return color_; }

    void setX1(int v);
    void setY1(int v);
    void setX2(int v);
    void setY2(int v);
    void setLine(int x1, int y1, int x2, int y2);
    // Widths below 1 pixel are refused; the line keeps its width.
    void setBorderWidth(int width);
    void setBorderColor(QColor color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fitToStroke();

    int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    int borderWidth_ = 1;
    QColor color_;
};

}  // namespace veltra
