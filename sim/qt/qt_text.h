// qt_text.h -- the six fonts and text drawn straight into a surface with Qt.
#pragma once
#include <QFont>
#include <QImage>

#include "sim/platform/pixel_format.h"
#include "sim/platform/platform.h"
#include "sim/platform/surface.h"

namespace platform {

constexpr int font_count = 6;
// Character cell heights (ascent + descent) of fonts 0..5, in pixels.
inline constexpr int font_cell_heights[font_count] = {24, 20, 16, 20, 16, 12};

struct QtFonts {
    QFont fonts[font_count];
};

// The face used for every font: "Verdana" where installed, else "DejaVu Sans".
// Needs a QGuiApplication.
QString text_face();

// Makes the six fonts, each at the largest pixel size whose cell height does
// not exceed its row of font_cell_heights.
void make_fonts(QtFonts& fonts);

// A QImage over the surface's own memory (no copy), or a null image when the
// surface does not exist or its format has no matching QImage format: 5-6-5
// at 16 bits (Format_RGB16), bytes blue, green, red at 24 bits
// (Format_BGR888), 0x00RRGGBB at 32 bits (Format_RGB32).
QImage wrap_surface(const Surface& surface, const PixelFormat& format);

// `cache` made to wrap `surface` unless it already does (same memory, size,
// pitch and format), so drawing every frame into the same surface allocates
// no new image. Returns the cache (null when the surface cannot be wrapped).
QImage& wrap_surface_cached(QImage& cache, const Surface& surface, const PixelFormat& format);

// One line of `text` (Latin-1) with its top-left corner at (x, y) in `font`,
// in one colour on a transparent background, painted into `target` (an image
// over a surface's memory). Unknown fonts or null images draw nothing.
void draw_text_into(const QtFonts& fonts, QImage& target, const char* text, int x, int y, int font,
                    Rgb colour);

// `text` wrapped at word boundaries into `box` (right and bottom exclusive),
// left aligned from the top, line breaks ("\n", "\r\n" or "\r") honoured,
// clipped to the box.
void draw_wrapped_into(const QtFonts& fonts, QImage& target, const char* text, Rect box, int font,
                       Rgb colour);

}  // namespace platform
