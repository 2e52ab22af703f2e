// intro.cpp -- the intro picture: a stylised eye over a dark blue field, and the title.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "noise.h"
#include "scenes.h"

namespace defaultvision {
namespace {

constexpr float eye_x = 320.0f, eye_y = 185.0f;
constexpr float iris_radius = 112.0f, pupil_radius = 40.0f;

Colour iris_at(const ValueNoise& n, float dx, float dy, float r) {
    const float angle = std::atan2(dy, dx);
    // Radial fibres: noise sampled finely across the angle, coarsely along the radius.
    const float fibres = n.fractal(angle * 40.0f, r / 18.0f, 4);
    const float t = (r - pupil_radius) / (iris_radius - pupil_radius);
    Colour inner{0.62f, 0.48f, 0.20f}, outer{0.16f, 0.42f, 0.52f};
    Colour c = mix(inner, outer, smoothstep(0.15f, 0.6f, t));
    c = scale(c, 0.55f + 0.75f * fibres);
    c = scale(c, 1.0f - 0.55f * smoothstep(0.80f, 1.0f, t));  // darker limbal ring
    return c;
}

void draw_eye(Canvas& canvas) {
    const ValueNoise n(909);
    for (int y = 0; y < intro_height; ++y)
        for (int x = 0; x < intro_width; ++x) {
            const float fx = float(x), fy = float(y);
            // Background: deep blue, lighter towards the eye.
            const float glow = clamp01(1.0f - std::hypot(fx - eye_x, fy - eye_y) / 420.0f);
            Colour c = mix(Colour{0.02f, 0.04f, 0.10f}, Colour{0.10f, 0.20f, 0.36f}, glow * glow);
            const float dx = fx - eye_x, dy = fy - eye_y;
            // Almond-shaped opening between two arcs.
            const float open = 1.0f - (dx / 230.0f) * (dx / 230.0f);
            const float lid = 118.0f * std::sqrt(std::fmax(open, 0.0f));
            if (open > 0.0f && std::fabs(dy) < lid) {
                const float edge = clamp01((lid - std::fabs(dy)) / 3.0f);
                Colour white = scale(Colour{0.93f, 0.92f, 0.90f}, 0.70f + 0.30f * clamp01(1.0f - std::fabs(dx) / 260.0f));
                const float r = std::hypot(dx, dy);
                if (r < iris_radius) {
                    white = r < pupil_radius ? Colour{0.02f, 0.02f, 0.03f} : iris_at(n, dx, dy, r);
                    white = mix(white, Colour{0.02f, 0.02f, 0.03f}, clamp01(1.0f - (r - pupil_radius) / 2.0f) * (r > pupil_radius ? 1.0f : 0.0f));
                }
                // Shadow of the upper lid.
                white = scale(white, 0.55f + 0.45f * smoothstep(-lid, -lid + 45.0f, dy));
                c = mix(c, white, edge);
            }
            canvas.at(x, y) = c;
        }
    // Catch-light.
    for (int y = -14; y <= 14; ++y)
        for (int x = -14; x <= 14; ++x) {
            const float d = std::hypot(float(x), float(y));
            canvas.blend(int(eye_x) - 36 + x, int(eye_y) - 34 + y, Colour{1, 1, 1}, clamp01((14.0f - d) / 6.0f) * 0.9f);
        }
    // A faint floater drifting across the eye: a curled grey thread.
    for (int i = 0; i < 900; ++i) {
        const float t = float(i) / 900.0f;
        const float px = 175.0f + 300.0f * t;
        const float py = 120.0f + 40.0f * std::sin(t * 7.0f) + 25.0f * t;
        canvas.blend(int(px), int(py), Colour{0.05f, 0.05f, 0.06f}, 0.25f);
        canvas.blend(int(px), int(py) + 1, Colour{0.05f, 0.05f, 0.06f}, 0.15f);
    }
}

}  // namespace

Canvas draw_intro() {
    Canvas canvas(intro_width, intro_height);
    draw_eye(canvas);

    const std::vector<uint8_t> rgb = to_rgb_bytes(canvas);
    QImage image(rgb.data(), intro_width, intro_height, intro_width * 3, QImage::Format_RGB888);
    image = image.convertToFormat(QImage::Format_RGB32);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        QFont title("DejaVu Sans", 30, QFont::Bold);
        title.setPixelSize(36);
        painter.setFont(title);
        const QRect title_box(0, 340, intro_width, 50);
        painter.setPen(QColor(0, 0, 0, 160));
        painter.drawText(title_box.translated(2, 2), Qt::AlignCenter, "Vitrion simulator v2.0");
        painter.setPen(QColor(240, 244, 250));
        painter.drawText(title_box, Qt::AlignCenter, "Vitrion simulator v2.0");
        QFont subtitle("DejaVu Sans");
        subtitle.setPixelSize(17);
        painter.setFont(subtitle);
        painter.setPen(QColor(170, 196, 222));
        painter.drawText(QRect(0, 392, intro_width, 26), Qt::AlignCenter, "See the world through eyes with floaters");
        subtitle.setPixelSize(13);
        painter.setFont(subtitle);
        painter.setPen(QColor(120, 140, 165));
        painter.drawText(QRect(0, 440, intro_width, 20), Qt::AlignCenter, "Click to start");
    }
    for (int y = 0; y < intro_height; ++y)
        for (int x = 0; x < intro_width; ++x) {
            const QRgb p = image.pixel(x, y);
            canvas.at(x, y) = Colour{float(qRed(p)) / 255.0f, float(qGreen(p)) / 255.0f, float(qBlue(p)) / 255.0f};
        }
    return canvas;
}

}  // namespace defaultvision
