// picture_resources.cpp -- paints the title artwork and wraps the map pictures as QImages.
#include "editor/picture_resources.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "common/random.h"

namespace editor {
namespace {

constexpr double pi = 3.14159265358979323846;

// The almond outline of the open eye, centred at (cx, cy).
QPainterPath eye_outline(double cx, double cy, double half_width, double half_height) {
    QPainterPath path;
    path.moveTo(cx - half_width, cy);
    path.cubicTo(cx - half_width * 0.55, cy - half_height * 1.35, cx + half_width * 0.55,
                 cy - half_height * 1.35, cx + half_width, cy);
    path.cubicTo(cx + half_width * 0.55, cy + half_height * 1.25, cx - half_width * 0.55,
                 cy + half_height * 1.25, cx - half_width, cy);
    path.closeSubpath();
    return path;
}

void paint_background(QPainter& painter) {
    QRadialGradient sky(QPointF(320, 200), 420);
    sky.setColorAt(0.0, QColor(34, 58, 96));
    sky.setColorAt(0.55, QColor(14, 24, 48));
    sky.setColorAt(1.0, QColor(3, 5, 12));
    painter.fillRect(QRectF(0, 0, presentation_width, presentation_height), sky);
}

void paint_eye(QPainter& painter, Random& random) {
    const double cx = 320, cy = 200, half_width = 205, half_height = 92;
    const QPainterPath outline = eye_outline(cx, cy, half_width, half_height);

    // Soft glow around the eye.
    QRadialGradient glow(QPointF(cx, cy), half_width * 1.25);
    glow.setColorAt(0.0, QColor(120, 170, 230, 70));
    glow.setColorAt(1.0, QColor(120, 170, 230, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(QPointF(cx, cy), half_width * 1.25, half_height * 2.2);

    painter.save();
    painter.setClipPath(outline);
    QRadialGradient sclera(QPointF(cx, cy - 10), half_width);
    sclera.setColorAt(0.0, QColor(250, 250, 252));
    sclera.setColorAt(0.7, QColor(226, 228, 236));
    sclera.setColorAt(1.0, QColor(170, 160, 170));
    painter.setBrush(sclera);
    painter.drawPath(outline);

    // Iris with fibres, then the pupil and a catch-light.
    const double iris_radius = 78, pupil_radius = 30;
    QRadialGradient iris(QPointF(cx, cy), iris_radius);
    iris.setColorAt(0.0, QColor(150, 200, 190));
    iris.setColorAt(0.45, QColor(52, 130, 150));
    iris.setColorAt(0.9, QColor(22, 66, 92));
    iris.setColorAt(1.0, QColor(10, 30, 45));
    painter.setBrush(iris);
    painter.drawEllipse(QPointF(cx, cy), iris_radius, iris_radius);
    for (int i = 0; i < 140; ++i) {
        const double angle = 2 * pi * i / 140 + (random.next_mod(100) - 50) * 0.0008;
        const double inner = pupil_radius + 2 + random.next_mod(8);
        const double outer = iris_radius - 4 - random.next_mod(14);
        const int light = 150 + random.next_mod(90);
        painter.setPen(QPen(QColor(light, 230, 225, 40 + random.next_mod(50)), 1.1));
        painter.drawLine(QPointF(cx + inner * std::cos(angle), cy + inner * std::sin(angle)),
                         QPointF(cx + outer * std::cos(angle), cy + outer * std::sin(angle)));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(6, 8, 12));
    painter.drawEllipse(QPointF(cx, cy), pupil_radius, pupil_radius);
    painter.setBrush(QColor(255, 255, 255, 215));
    painter.drawEllipse(QPointF(cx - 26, cy - 28), 13, 9);
    painter.setBrush(QColor(255, 255, 255, 120));
    painter.drawEllipse(QPointF(cx + 22, cy + 20), 5, 4);

    // Shadow of the upper lid on the eyeball.
    QLinearGradient lid_shadow(QPointF(cx, cy - half_height * 1.1), QPointF(cx, cy - half_height * 0.3));
    lid_shadow.setColorAt(0.0, QColor(40, 20, 30, 140));
    lid_shadow.setColorAt(0.35, QColor(40, 20, 30, 60));
    lid_shadow.setColorAt(0.7, QColor(40, 20, 30, 15));
    lid_shadow.setColorAt(1.0, QColor(40, 20, 30, 0));
    painter.setBrush(lid_shadow);
    painter.drawRect(QRectF(cx - half_width, cy - half_height * 1.2, 2 * half_width, half_height));
    painter.restore();

    // Lids: a strong upper line, a lighter lower one, and a few lashes.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(230, 236, 250), 3.5, Qt::SolidLine, Qt::RoundCap));
    QPainterPath upper;
    upper.moveTo(cx - half_width, cy);
    upper.cubicTo(cx - half_width * 0.55, cy - half_height * 1.35, cx + half_width * 0.55,
                  cy - half_height * 1.35, cx + half_width, cy);
    painter.drawPath(upper);
    painter.setPen(QPen(QColor(200, 210, 235, 170), 2.0, Qt::SolidLine, Qt::RoundCap));
    QPainterPath lower;
    lower.moveTo(cx - half_width, cy);
    lower.cubicTo(cx - half_width * 0.55, cy + half_height * 1.25, cx + half_width * 0.55,
                  cy + half_height * 1.25, cx + half_width, cy);
    painter.drawPath(lower);
    // Lashes: short curves along the upper lid's outward normal, leaning
    // towards the nearer corner.
    painter.setPen(QPen(QColor(225, 232, 248, 210), 1.8, Qt::SolidLine, Qt::RoundCap));
    for (int i = 1; i < 14; ++i) {
        const double t = i / 14.0;
        const QPointF base = upper.pointAtPercent(t);
        const double angle = (upper.angleAtPercent(t) + 90) * pi / 180;
        const QPointF normal(std::cos(angle), -std::sin(angle));
        const QPointF tangent(normal.y() * -1, normal.x());
        const double length = 10 + 9 * std::sin(t * pi);
        const double lean = (t - 0.5) * 1.2;
        const QPointF tip = base + normal * length + tangent * (lean * length);
        const QPointF bend = base + normal * (length * 0.6) + tangent * (lean * length * 0.2);
        QPainterPath lash(base);
        lash.quadTo(bend, tip);
        painter.drawPath(lash);
    }
}

// Grey strands and clusters floating over everything, as a person with
// floaters sees them: soft-edged, half transparent.
void paint_floaters(QPainter& painter, Random& random) {
    for (int strand = 0; strand < 7; ++strand) {
        QPointF point(40 + random.next_mod(560), 30 + random.next_mod(420));
        QPainterPath path(point);
        double heading = random.next_mod(628) / 100.0;
        for (int segment = 0; segment < 4; ++segment) {
            heading += (random.next_mod(200) - 100) / 80.0;
            const double length = 25 + random.next_mod(35);
            const QPointF control = point + QPointF(std::cos(heading + 0.8) * length,
                                                    std::sin(heading + 0.8) * length);
            point += QPointF(std::cos(heading) * length, std::sin(heading) * length);
            path.quadTo(control, point);
        }
        const int alpha = 28 + random.next_mod(30);
        for (int blur = 3; blur >= 0; --blur) {
            painter.setPen(QPen(QColor(70, 80, 95, alpha / (blur + 1)), 2.0 + blur * 2.5,
                                Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPath(path);
        }
    }
    painter.setPen(Qt::NoPen);
    for (int cluster = 0; cluster < 9; ++cluster) {
        const QPointF centre(30 + random.next_mod(580), 20 + random.next_mod(440));
        for (int dot = 0; dot < 6; ++dot) {
            const QPointF at = centre + QPointF(random.next_mod(30) - 15, random.next_mod(30) - 15);
            const double radius = 2 + random.next_mod(5);
            QRadialGradient blob(at, radius * 2);
            blob.setColorAt(0.0, QColor(60, 68, 80, 90));
            blob.setColorAt(1.0, QColor(60, 68, 80, 0));
            painter.setBrush(blob);
            painter.drawEllipse(at, radius * 2, radius * 2);
        }
    }
}

void paint_title(QPainter& painter) {
    QFont title("DejaVu Serif");
    title.setPixelSize(64);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    painter.setFont(title);
    const QRectF title_box(0, 318, presentation_width, 80);
    painter.setPen(QColor(90, 150, 230, 90));
    for (int dx = -2; dx <= 2; dx += 2)
        for (int dy = -2; dy <= 2; dy += 2)
            painter.drawText(title_box.translated(dx, dy), Qt::AlignCenter, "Vitrion");
    painter.setPen(QColor(240, 246, 255));
    painter.drawText(title_box, Qt::AlignCenter, "Vitrion");

    QFont subtitle("DejaVu Sans");
    subtitle.setPixelSize(17);
    subtitle.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    painter.setFont(subtitle);
    painter.setPen(QColor(170, 200, 240));
    painter.drawText(QRectF(0, 396, presentation_width, 26), Qt::AlignCenter, "VISION FILE EDITOR");

    QFont line("DejaVu Sans");
    line.setPixelSize(13);
    line.setItalic(true);
    painter.setFont(line);
    painter.setPen(QColor(130, 150, 185));
    painter.drawText(QRectF(0, 432, presentation_width, 22), Qt::AlignCenter,
                     "Show others the floaters you see");
}

QImage paint_presentation() {
    QImage image(presentation_width, presentation_height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    Random random;  // fixed sequence: the artwork is the same on every run
    paint_background(painter);
    paint_eye(painter, random);
    paint_floaters(painter, random);
    paint_title(painter);
    painter.end();
    return image;
}

}  // namespace

QImage presentation_picture() {
    static const QImage image = paint_presentation();
    return image;
}

QImage to_image(const PixelPicture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (int y = 0; y < picture.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.width; ++x) line[x] = 0xff000000u | picture.at(x, y);
    }
    return image;
}

PixelPicture to_pixel_picture(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    PixelPicture picture;
    picture.width = rgb.width();
    picture.height = rgb.height();
    picture.pixels.resize(size_t(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < picture.width; ++x)
            picture.pixels[size_t(y) * picture.width + x] = line[x] & 0x00ffffffu;
    }
    return picture;
}

QImage eye_picture_image() {
    static const QImage image = to_image(make_eye_picture());
    return image;
}

QImage map_picture_image() {
    static const QImage image = to_image(make_map_picture());
    return image;
}

QImage canvas_image(Canvas& canvas) {
    // RGB32 ignores the top byte, so the canvas's 0x00RRGGBB pixels show as they are.
    return QImage(reinterpret_cast<uchar*>(canvas.pixels.data()), canvas.width, canvas.height,
                  canvas.width * int(sizeof(uint32_t)), QImage::Format_RGB32);
}

}  // namespace editor
