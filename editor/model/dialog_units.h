// dialog_units.h -- dialog template units to pixels for the 8-point dialog font.
#pragma once

namespace editor {

struct PixelRect {
    int x, y, width, height;
};

// 1.5 pixels per horizontal unit and 1.625 per vertical unit, rounded to the
// nearest pixel, so every control sits where its template puts it.
constexpr int dialog_x(int units) { return (units * 3 + (units >= 0 ? 1 : -1)) / 2; }
constexpr int dialog_y(int units) { return (units * 13 + (units >= 0 ? 4 : -4)) / 8; }

constexpr PixelRect from_dialog_units(int x, int y, int width, int height) {
    return {dialog_x(x), dialog_y(y), dialog_x(width), dialog_y(height)};
}

static_assert(dialog_x(7) == 11 && dialog_x(10) == 15 && dialog_y(8) == 13 && dialog_y(14) == 23);

}  // namespace editor
