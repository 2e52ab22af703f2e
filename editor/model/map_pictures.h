// map_pictures.h -- the editor's background pictures for the drawing dialogs, toolkit-free.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "editor/model/canvas.h"

namespace editor {

// A picture as 0x00RRGGBB pixels, rows from the top (the canvas's format).
struct PixelPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

constexpr int eye_picture_width = 640;    // BKGRP640480EYE
constexpr int eye_picture_height = 480;
constexpr int map_picture_width = 800;    // BKGRP640480EYE2
constexpr int map_picture_height = 600;
constexpr uint32_t map_ellipse_colour = rgb(173, 252, 255);

// Inclusive bounding boxes of the two rings of the map picture.
struct EllipseBox {
    int left, top, right, bottom;
};
constexpr EllipseBox map_outer_ellipse{28, 21, 774, 579};
constexpr EllipseBox map_inner_ellipse{79, 59, 720, 539};

// BKGRP640480EYE: 640 x 480, entirely black (the streak picture's ground).
PixelPicture make_eye_picture();

// BKGRP640480EYE2: 800 x 600 white with the two one-pixel light-cyan rings
// above (the floater map's ground).
PixelPicture make_map_picture();

// Draws a connected one-pixel outline of the axis-aligned ellipse inscribed
// in `box` (inclusive), touching all four sides; pixels outside `picture`
// are skipped.
void draw_ellipse(PixelPicture& picture, const EllipseBox& box, uint32_t colour);

// Copies the width x height rectangle at (src_x, src_y) of `picture` to
// (dst_x, dst_y) of `canvas` unchanged, clipped to both; an empty picture
// copies nothing.
void copy_picture(Canvas& canvas, const PixelPicture& picture, int dst_x, int dst_y,
                  int width, int height, int src_x = 0, int src_y = 0);

}  // namespace editor
