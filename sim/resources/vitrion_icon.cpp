// vitrion_icon.cpp -- paints the eye-and-floaters icon with QPainter.
#include "sim/resources/vitrion_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

// Everything is drawn in a 256 x 256 design space and scaled.
constexpr double design_size = 256.0;

// The almond outline of the open eye.
QPainterPath eye_outline() {
    QPainterPath path;
    path.moveTo(12, 128);
    path.cubicTo(60, 40, 196, 40, 244, 128);
    path.cubicTo(196, 216, 60, 216, 12, 128);
    path.closeSubpath();
    return path;
}

// A floater: a soft dark thread bent along a few control points.
void draw_floater(QPainter& p, const QPainterPath& thread, double width, int alpha) {
    QPen pen(QColor(20, 16, 24, alpha), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(thread);
}

void paint_icon(QPainter& p, int size) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / design_size, size / design_size);

    const QPainterPath eye = eye_outline();

    // White of the eye, slightly shaded towards the corners.
    QRadialGradient sclera(128, 128, 130);
    sclera.setColorAt(0.0, QColor(255, 255, 255));
    sclera.setColorAt(0.75, QColor(232, 236, 242));
    sclera.setColorAt(1.0, QColor(196, 204, 216));
    p.setPen(Qt::NoPen);
    p.setBrush(sclera);
    p.drawPath(eye);

    p.save();
    p.setClipPath(eye);

    // Iris: blue rings darkening outwards, with radial fibres.
    QRadialGradient iris(128, 128, 58);
    iris.setColorAt(0.0, QColor(120, 200, 255));
    iris.setColorAt(0.55, QColor(40, 120, 210));
    iris.setColorAt(0.9, QColor(18, 60, 130));
    iris.setColorAt(1.0, QColor(10, 30, 70));
    p.setBrush(iris);
    p.drawEllipse(QPointF(128, 128), 58, 58);
    p.setPen(QPen(QColor(170, 225, 255, 70), 2));
    for (int i = 0; i < 24; ++i) {
        p.save();
        p.translate(128, 128);
        p.rotate(i * 15.0);
        p.drawLine(QPointF(26, 0), QPointF(52, 0));
        p.restore();
    }

    // Pupil and a highlight.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(8, 8, 14));
    p.drawEllipse(QPointF(128, 128), 24, 24);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawEllipse(QPointF(110, 108), 11, 9);
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawEllipse(QPointF(146, 146), 5, 4);

    // Floaters drifting over the eye: a long thread, a ring and a few dots.
    QPainterPath thread;
    thread.moveTo(60, 92);
    thread.cubicTo(90, 70, 110, 120, 150, 96);
    thread.cubicTo(175, 82, 190, 110, 205, 100);
    draw_floater(p, thread, 7, 190);
    QPainterPath curl;
    curl.moveTo(150, 196);
    curl.cubicTo(170, 170, 140, 160, 168, 140);
    curl.cubicTo(185, 128, 196, 150, 214, 138);
    draw_floater(p, curl, 5, 170);
    p.setPen(QPen(QColor(20, 16, 24, 160), 4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(84, 152), 13, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 16, 24, 180));
    p.drawEllipse(QPointF(106, 176), 5, 5);
    p.drawEllipse(QPointF(118, 186), 3.5, 3.5);
    p.drawEllipse(QPointF(96, 186), 3, 3);
    p.restore();

    // Lid line.
    p.setPen(QPen(QColor(30, 34, 48), 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(eye);
}

}  // namespace

QImage vitrion_icon_image(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint_icon(painter, size);
    return image;
}

QIcon vitrion_icon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(QPixmap::fromImage(vitrion_icon_image(size)));
    return icon;
}
