// qt_text.h -- the six fonts and text drawn straight into a surface with Qt.
#pragma once
#include <QFont>
#include <QImage>

#include "sim/platform/platform.h"

namespace platform {

constexpr int font_count = 6;
// Character cell heights (ascent + descent) of fonts 0..5, in pixels.
inline constexpr int font_cell_heights[font_count] = {24, 20, 16, 20, 16, 12};

// Lines, shadows included, end left of this column: a few pixels clear of
// the screen's right edge, so that none runs into it or touches it. A line
// that would not is set narrower, down to min_fitted_pixel_size.
constexpr int text_right_limit = screen_width - 4;
constexpr int min_fitted_pixel_size = 8;

struct QtFonts {
    QFont fonts[font_count];
    QFont condensed[font_count];  // the same sizes in the face's condensed form
};

// How one line is set: in its font, or in the font's condensed form at
// `pixel_size`.
struct TextFace {
    int condensed = 0;
    int pixel_size = 0;
};

// The face used for every font: "Verdana" where installed, else "DejaVu Sans".
// Needs a QGuiApplication.
QString text_face();

// Makes the six fonts, each at the largest pixel size whose cell height does
// not exceed its row of font_cell_heights, and their condensed forms (the
// face's condensed fonts where installed, as "DejaVu Sans Condensed" is,
// else the face narrowed by Qt).
void make_fonts(QtFonts& fonts);

// The face for one line of `text` (Latin-1) at column x in `font`: the font
// itself when the line's ink ends left of text_right_limit, else its
// condensed form at the font's size or, when that is still too wide, the
// largest smaller pixel size at which it ends there (min_fitted_pixel_size
// at the least, where a line longer still may run off the edge). Every text
// stays at its position; only lines that would reach the edge get narrower.
TextFace fit_text(const QtFonts& fonts, const char* text, int x, int font);

// `cache` made a QImage (Format_RGB16) over the frame's own memory unless it
// already is one, so drawing every frame allocates no new image. Returns the
// cache.
QImage& wrap_frame(QImage& cache, Frame& frame);

// One line of `text` (Latin-1) with its top-left corner at (x, y) in `font`
// set as `face` says, in one colour on a transparent background, painted
// into `target` (an image over the frame's memory). Unknown fonts or null
// images draw nothing.
void draw_text_into(const QtFonts& fonts, QImage& target, const char* text, int x, int y, int font,
                    Rgb colour, TextFace face = {});

// `text` wrapped at word boundaries into `box` (right and bottom exclusive),
// left aligned from the top, line breaks ("\n", "\r\n" or "\r") honoured,
// clipped to the box.
void draw_wrapped_into(const QtFonts& fonts, QImage& target, const char* text, Rect box, int font,
                       Rgb colour);

}  // namespace platform
