// qt_text.cpp -- fonts by cell height and text painted into surface memory.
#include "sim/qt/qt_text.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

namespace platform {

QString text_face() {
    static const QString face = QFontDatabase::families().contains(QStringLiteral("Verdana"))
                                    ? QStringLiteral("Verdana")
                                    : QStringLiteral("DejaVu Sans");
    return face;
}

void make_fonts(QtFonts& fonts) {
    const QString face = text_face();
    for (int i = 0; i < font_count; ++i) {
        QFont font(face);
        font.setStyleStrategy(QFont::PreferAntialias);
        // Pixel size sets the em height; the cell (ascent + descent) is taller,
        // so shrink until the cell fits the wanted height.
        int size = font_cell_heights[i];
        font.setPixelSize(size);
        while (size > 4 && QFontMetrics(font).height() > font_cell_heights[i]) font.setPixelSize(--size);
        fonts.fonts[i] = font;
        // Semi-condensed is the width of the face's condensed fonts where it
        // has them ("DejaVu Sans Condensed"): asking for exactly that picks
        // them as they are, without narrowing them further.
        fonts.condensed[i] = font;
        fonts.condensed[i].setStretch(QFont::SemiCondensed);
    }
}

namespace {

// Column of the rightmost ink of `text` drawn at x in `font`.
int ink_right(const QFont& font, const QString& text, int x) {
    return x + QFontMetrics(font).boundingRect(text).right();
}

QFont face_font(const QtFonts& fonts, int font, TextFace face) {
    if (!face.condensed) return fonts.fonts[font];
    QFont condensed = fonts.condensed[font];
    if (face.pixel_size > 0 && face.pixel_size != condensed.pixelSize()) condensed.setPixelSize(face.pixel_size);
    return condensed;
}

}  // namespace

TextFace fit_text(const QtFonts& fonts, const char* text, int x, int font) {
    TextFace face;
    if (!text || !*text || font < 0 || font >= font_count) return face;
    const QString line = QString::fromLatin1(text);
    constexpr int last_column = text_right_limit - 1;
    if (ink_right(fonts.fonts[font], line, x) <= last_column) return face;
    face.condensed = 1;
    QFont condensed = fonts.condensed[font];
    for (face.pixel_size = condensed.pixelSize(); face.pixel_size > min_fitted_pixel_size; --face.pixel_size) {
        condensed.setPixelSize(face.pixel_size);
        if (ink_right(condensed, line, x) <= last_column) break;
    }
    return face;
}

QImage& wrap_frame(QImage& cache, Frame& frame) {
    // A writable image over the memory: a read-only one would copy itself on
    // the first paint.
    uchar* bits = reinterpret_cast<uchar*>(frame.pixels.data());
    if (cache.isNull() || cache.constBits() != bits)
        cache = QImage(bits, screen_width, screen_height, screen_width * 2, QImage::Format_RGB16);
    return cache;
}

namespace {

// A painter on the frame's memory with the font and pen set, or false.
bool begin_text(QPainter& painter, QImage& image, const QtFonts& fonts, int font, Rgb colour,
                TextFace face = {}) {
    if (image.isNull() || font < 0 || font >= font_count) return false;
    if (!painter.begin(&image)) return false;
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(face_font(fonts, font, face));
    painter.setPen(QColor(colour.red, colour.green, colour.blue));
    return true;
}

}  // namespace

void draw_text_into(const QtFonts& fonts, QImage& target, const char* text, int x, int y, int font,
                    Rgb colour, TextFace face) {
    if (!text || !*text) return;
    QPainter painter;
    if (!begin_text(painter, target, fonts, font, colour, face)) return;
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), QString::fromLatin1(text));
}

void draw_wrapped_into(const QtFonts& fonts, QImage& target, const char* text, Rect box, int font,
                       Rgb colour) {
    if (!text || !*text || box.right <= box.left || box.bottom <= box.top) return;
    QPainter painter;
    if (!begin_text(painter, target, fonts, font, colour)) return;
    QString s = QString::fromLatin1(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QRect rect(box.left, box.top, box.right - box.left, box.bottom - box.top);
    painter.setClipRect(rect);
    painter.drawText(rect, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, s);
}

}  // namespace platform
