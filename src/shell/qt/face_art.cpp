#include "shell/qt/face_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

namespace veltra {
namespace {

// Room left around a lit shape for its glow, as a share of the box's smaller side.
constexpr qreal kGlowShare = 0.13;

qreal GlowExtent(const QRectF& box) {
    return std::max<qreal>(1.5, kGlowShare * std::min(box.width(), box.height()));
}

// A soft halo: the outline stroked several times, wider and fainter outwards.
void PaintGlow(QPainter& p, const QPainterPath& shape, qreal extent) {
    constexpr int kRings = 6;
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = kRings; i >= 1; --i) {
        QColor halo = kLitRed;
        halo.setAlpha(24);
        p.setPen(QPen(halo, 2.0 * extent * i / kRings, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(shape);
    }
    p.restore();
}

// Fills a display element: solid red with a faint sheen towards the top, so a
// lit element reads as a lamp behind a lens and an unlit one as dark glass.
void PaintElement(QPainter& p, const QPainterPath& shape, FaceLook look, qreal glowExtent) {
    const bool lit = look == FaceLook::Bright;
    if (lit) {
        PaintGlow(p, shape, glowExtent);
    }
    p.fillPath(shape, lit ? kLitRed : kDarkRed);
    const QRectF r = shape.boundingRect();
    QLinearGradient sheen(r.topLeft(), r.bottomLeft());
    sheen.setColorAt(0.0, QColor(255, lit ? 150 : 90, lit ? 130 : 80, lit ? 110 : 28));
    sheen.setColorAt(0.55, QColor(255, 255, 255, 0));
    p.fillPath(shape, sheen);
}

QPainterPath UpArrow(const QRectF& r) {
    const qreal headH = 0.62 * r.height();
    const qreal shaftW = 0.38 * r.width();
    const qreal cx = r.center().x();
    QPainterPath path;
    path.moveTo(cx, r.top());
    path.lineTo(r.right(), r.top() + headH);
    path.lineTo(cx + shaftW / 2, r.top() + headH);
    path.lineTo(cx + shaftW / 2, r.bottom());
    path.lineTo(cx - shaftW / 2, r.bottom());
    path.lineTo(cx - shaftW / 2, r.top() + headH);
    path.lineTo(r.left(), r.top() + headH);
    path.closeSubpath();
    return path;
}

QPainterPath DoubleArrow(const QRectF& r) {
    const qreal headL = std::min(0.22 * r.width(), 1.1 * r.height());
    const qreal shaftH = 0.46 * r.height();
    const qreal cy = r.center().y();
    QPainterPath path;
    path.moveTo(r.left(), cy);
    path.lineTo(r.left() + headL, r.top());
    path.lineTo(r.left() + headL, cy - shaftH / 2);
    path.lineTo(r.right() - headL, cy - shaftH / 2);
    path.lineTo(r.right() - headL, r.top());
    path.lineTo(r.right(), cy);
    path.lineTo(r.right() - headL, r.bottom());
    path.lineTo(r.right() - headL, cy + shaftH / 2);
    path.lineTo(r.left() + headL, cy + shaftH / 2);
    path.lineTo(r.left() + headL, r.bottom());
    path.closeSubpath();
    return path;
}

void PaintArrow(QPainter& p, const QRectF& box, FaceArt art, FaceLook look) {
    const qreal glow = GlowExtent(box);
    const QRectF r = box.adjusted(glow, glow, -glow, -glow);
    QPainterPath shape;
    if (art == FaceArt::SideArrow) {
        shape = DoubleArrow(r);
    } else {
        shape = UpArrow(r);
        if (art == FaceArt::RearArrow) {
            // The rear arrow is the front one turned upside down.
            QTransform flip;
            flip.translate(0, r.top() + r.bottom());
            flip.scale(1, -1);
            shape = flip.map(shape);
        }
    }
    PaintElement(p, shape, look, glow);
}

void PaintDot(QPainter& p, const QRectF& box, FaceLook look) {
    const qreal side = std::min(box.width(), box.height());
    const qreal glow = GlowExtent(box);
    QPainterPath shape;
    shape.addEllipse(box.center(), side / 2 - glow, side / 2 - glow);
    PaintElement(p, shape, look, glow);
}

void PaintLamp(QPainter& p, const QRectF& box, FaceLook look) {
    const qreal glow = GlowExtent(box);
    const QRectF r = box.adjusted(glow, glow, -glow, -glow);
    const qreal radius = 0.22 * std::min(r.width(), r.height());
    QPainterPath shape;
    shape.addRoundedRect(r, radius, radius);
    PaintElement(p, shape, look, glow);
}

void PaintMuteButton(QPainter& p, const QRectF& box, FaceLook look) {
    const bool released = look == FaceLook::Bright;
    const QPointF c = box.center();
    const qreal side = std::min(box.width(), box.height());
    const qreal bezel = 0.48 * side;
    const qreal face = 0.40 * side;

    // The collar the button sits in, lit from the top left.
    QLinearGradient ring(c - QPointF(bezel, bezel), c + QPointF(bezel, bezel));
    ring.setColorAt(0.0, QColor(92, 92, 92));
    ring.setColorAt(1.0, QColor(18, 18, 18));
    p.setPen(Qt::NoPen);
    p.setBrush(ring);
    p.drawEllipse(c, bezel, bezel);

    // The cap: convex when released, pushed in (darker, lit from below) when held.
    const QPointF light =
        released ? c - QPointF(0.35 * face, 0.4 * face) : c + QPointF(0.3 * face, 0.35 * face);
    QRadialGradient cap(light, 1.6 * face);
    cap.setColorAt(0.0, released ? QColor(236, 236, 236) : QColor(128, 128, 128));
    cap.setColorAt(0.55, released ? QColor(170, 170, 170) : QColor(88, 88, 88));
    cap.setColorAt(1.0, released ? QColor(104, 104, 104) : QColor(46, 46, 46));
    p.setBrush(cap);
    p.setPen(QPen(QColor(20, 20, 20), std::max<qreal>(1.0, 0.02 * side)));
    p.drawEllipse(c, released ? face : 0.97 * face, released ? face : 0.97 * face);
}

void PaintSpeaker(QPainter& p, const QRectF& box) {
    // A speaker with a stroke through it, fitted into the narrow box.
    const qreal s = std::min(box.width(), box.height() / 1.2);
    const QRectF r(box.center().x() - s / 2, box.center().y() - 0.6 * s, s, 1.2 * s);
    QPainterPath body;
    body.moveTo(r.left(), r.top() + 0.38 * r.height());
    body.lineTo(r.left() + 0.3 * r.width(), r.top() + 0.38 * r.height());
    body.lineTo(r.left() + 0.75 * r.width(), r.top() + 0.1 * r.height());
    body.lineTo(r.left() + 0.75 * r.width(), r.top() + 0.9 * r.height());
    body.lineTo(r.left() + 0.3 * r.width(), r.top() + 0.62 * r.height());
    body.lineTo(r.left(), r.top() + 0.62 * r.height());
    body.closeSubpath();
    p.fillPath(body, kLegendInk);
    p.setPen(QPen(kLegendInk, std::max<qreal>(1.0, 0.1 * s), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(r.left() + 0.05 * s, r.top() + 0.15 * r.height()),
               QPointF(r.right() - 0.05 * s, r.top() + 0.85 * r.height()));
}

void PaintMinimiseGlyph(QPainter& p, const QRectF& box) {
    const qreal side = std::min(box.width(), box.height());
    const qreal pen = std::max<qreal>(1.0, 0.08 * side);
    const QRectF frame = box.adjusted(pen, pen, -pen, -pen);
    p.setPen(QPen(kLegendInk, pen));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);
    const qreal barH = 0.18 * frame.height();
    p.fillRect(QRectF(frame.left() + 0.2 * frame.width(), frame.bottom() - 2.0 * barH,
                      0.6 * frame.width(), barH),
               kLegendInk);
}

}  // namespace

void PaintFaceArt(QPainter& painter, const QRectF& box, FacePictureArt picture) {
    if (box.width() <= 0 || box.height() <= 0) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    switch (picture.art) {
        case FaceArt::None:
            break;
        case FaceArt::FrontArrow:
        case FaceArt::SideArrow:
        case FaceArt::RearArrow:
            PaintArrow(painter, box, picture.art, picture.look);
            break;
        case FaceArt::Dot:
            PaintDot(painter, box, picture.look);
            break;
        case FaceArt::Lamp:
            PaintLamp(painter, box, picture.look);
            break;
        case FaceArt::MuteButton:
            PaintMuteButton(painter, box, picture.look);
            break;
        case FaceArt::Speaker:
            PaintSpeaker(painter, box);
            break;
        case FaceArt::MinimiseGlyph:
            PaintMinimiseGlyph(painter, box);
            break;
    }
    painter.restore();
}

}  // namespace veltra
