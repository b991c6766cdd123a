#include "shell/qt/face_caption.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "shell/qt/face_art.h"

namespace veltra {
namespace {

constexpr qreal kReferencePixels = 100.0;
// Legends are set narrow, as on the instrument's printed panel.
constexpr qreal kCondense = 0.86;
constexpr qreal kSlant = -0.21;

QFont LegendFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(static_cast<int>(kReferencePixels));
    font.setBold(true);
    font.setLetterSpacing(QFont::PercentageSpacing, 104);
    return font;
}

qreal ReferenceCapHeight() {
    static const qreal cap = [] {
        const qreal measured = QFontMetricsF(LegendFont()).capHeight();
        return measured > 0 ? measured : 0.72 * kReferencePixels;
    }();
    return cap;
}

}  // namespace

FaceCaption::FaceCaption(Qt::Alignment alignment, QWidget* parent)
    : QWidget(parent), alignment_(alignment), ink_(kLegendInk) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

FaceCaption::FaceCaption(const QString& text, Qt::Alignment alignment, QWidget* parent)
    : FaceCaption(alignment, parent) {
    addLine(text, 0.5, 0.62);
}

void FaceCaption::addLine(const QString& text, qreal centreY, qreal capHeight) {
    QPainterPath outline;
    outline.addText(0, 0, LegendFont(), text);
    lines_.push_back(Line{text, outline, centreY, capHeight});
    update();
}

void FaceCaption::setItalic(bool italic) {
    italic_ = italic;
    update();
}

void FaceCaption::setInk(QColor ink) {
    ink_ = ink;
    update();
}

QStringList FaceCaption::lines() const {
    QStringList texts;
    for (const Line& line : lines_) {
        texts << line.text;
    }
    return texts;
}

void FaceCaption::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = width();
    const qreal h = height();
    const qreal margin = 0.03 * w;
    for (const Line& line : lines_) {
        QPainterPath outline = line.outline;
        if (italic_) {
            outline = QTransform().shear(kSlant, 0).map(outline);
        }
        const QRectF ink = outline.boundingRect();
        if (ink.isEmpty()) {
            continue;
        }
        // Tall enough for the asked cap height, but never wider than the box.
        qreal sy = line.capHeight * h / ReferenceCapHeight();
        qreal sx = kCondense * sy;
        const qreal room = w - 2 * margin;
        if (ink.width() * sx > room) {
            const qreal shrink = room / (ink.width() * sx);
            sx *= shrink;
            sy *= shrink;
        }
        const qreal textW = ink.width() * sx;
        qreal x = margin;
        if (alignment_ & Qt::AlignRight) {
            x = w - margin - textW;
        } else if (alignment_ & Qt::AlignHCenter) {
            x = (w - textW) / 2;
        }
        const qreal baseline = line.centreY * h + ReferenceCapHeight() * sy / 2;
        QTransform place;
        place.translate(x - ink.left() * sx, baseline);
        place.scale(sx, sy);
        painter.fillPath(place.map(outline), ink_);
    }
}

}  // namespace veltra
