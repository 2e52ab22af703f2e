// map_pictures.cpp -- makes the black streak picture and the ringed floater map picture.
#include "editor/model/map_pictures.h"

#include <algorithm>
#include <cmath>

namespace editor {
namespace {

PixelPicture filled_picture(int width, int height, uint32_t colour) {
    PixelPicture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(size_t(width) * height, colour);
    return picture;
}

void plot(PixelPicture& picture, int x, int y, uint32_t colour) {
    if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return;
    picture.pixels[size_t(y) * picture.width + x] = colour;
}

int round_half_up(double value) { return int(std::floor(value + 0.5)); }

}  // namespace

PixelPicture make_eye_picture() {
    return filled_picture(eye_picture_width, eye_picture_height, rgb(0, 0, 0));
}

PixelPicture make_map_picture() {
    PixelPicture picture = filled_picture(map_picture_width, map_picture_height, rgb(255, 255, 255));
    draw_ellipse(picture, map_outer_ellipse, map_ellipse_colour);
    draw_ellipse(picture, map_inner_ellipse, map_ellipse_colour);
    return picture;
}

void draw_ellipse(PixelPicture& picture, const EllipseBox& box, uint32_t colour) {
    // Centre and radii in pixel-centre coordinates, so a box with an even
    // width gets a half-pixel centre and both sides are still touched.
    const double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
    const double rx = (box.right - box.left) / 2.0, ry = (box.bottom - box.top) / 2.0;
    if (rx <= 0 || ry <= 0) return;
    // One point per column and one per row: together they leave no gaps where
    // the outline runs steep or flat, and neither leaves the box.
    for (int x = box.left; x <= box.right; ++x) {
        const double t = (x - cx) / rx;
        const double dy = ry * std::sqrt(std::max(0.0, 1.0 - t * t));
        plot(picture, x, round_half_up(cy - dy), colour);
        plot(picture, x, round_half_up(cy + dy), colour);
    }
    for (int y = box.top; y <= box.bottom; ++y) {
        const double t = (y - cy) / ry;
        const double dx = rx * std::sqrt(std::max(0.0, 1.0 - t * t));
        plot(picture, round_half_up(cx - dx), y, colour);
        plot(picture, round_half_up(cx + dx), y, colour);
    }
}

void copy_picture(Canvas& canvas, const PixelPicture& picture, int dst_x, int dst_y,
                  int width, int height, int src_x, int src_y) {
    if (picture.pixels.empty()) return;
    // Clip against the source and the destination, moving both origins together.
    auto clip = [](int& src, int& dst, int& length, int src_limit, int dst_limit) {
        if (src < 0) { dst -= src; length += src; src = 0; }
        if (dst < 0) { src -= dst; length += dst; dst = 0; }
        length = std::min({length, src_limit - src, dst_limit - dst});
    };
    clip(src_x, dst_x, width, picture.width, canvas.width);
    clip(src_y, dst_y, height, picture.height, canvas.height);
    if (width <= 0 || height <= 0) return;
    for (int row = 0; row < height; ++row) {
        const uint32_t* from = &picture.pixels[size_t(src_y + row) * picture.width + src_x];
        std::copy(from, from + width, &canvas.at(dst_x, dst_y + row));
    }
}

}  // namespace editor
