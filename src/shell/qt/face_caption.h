#pragma once
// A printed legend of the face. The text is drawn as outlines scaled to the
// widget's box, so it follows the proportional layout like a picture would,
// without any font sizing.

#include <QColor>
#include <QPainterPath>
#include <QString>
#include <QWidget>
#include <vector>

namespace veltra {

class FaceCaption : public QWidget {
    Q_OBJECT
public:
    // One line of text filling the box's height.
    FaceCaption(const QString& text, Qt::Alignment alignment, QWidget* parent);
    // An empty caption; add its lines with addLine.
    FaceCaption(Qt::Alignment alignment, QWidget* parent);

    // A line whose capital letters are `capHeight` of the box's height tall
    // and centred at `centreY` of it (both shares of the height, 0..1).
    void addLine(const QString& text, qreal centreY, qreal capHeight);
    // Slant the text, as for a brand name.
    void setItalic(bool italic);
    void setInk(QColor ink);
    QStringList lines() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Line {
        QString text;
        QPainterPath outline;  // at the reference size, baseline at y 0
        qreal centreY;
        qreal capHeight;
    };

    Qt::Alignment alignment_;
    QColor ink_;
    bool italic_ = false;
    std::vector<Line> lines_;
};

}  // namespace veltra
