// canvas.h -- the editor's off-screen drawing surface, toolkit-free.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace editor {

constexpr int canvas_width = 960;
constexpr int canvas_height = 720;

// 0x00RRGGBB pixels, rows from the top. The widgets show it through a QImage
// that wraps `pixels` without copying.
struct Canvas {
    int width = canvas_width;
    int height = canvas_height;
    std::vector<uint32_t> pixels = std::vector<uint32_t>(size_t(canvas_width) * canvas_height, 0);

    uint32_t& at(int x, int y) { return pixels[size_t(y) * width + x]; }
    uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

constexpr uint32_t rgb(int red, int green, int blue) {
    return uint32_t(red & 255) << 16 | uint32_t(green & 255) << 8 | uint32_t(blue & 255);
}
constexpr int red_of(uint32_t pixel) { return int(pixel >> 16) & 255; }
constexpr int green_of(uint32_t pixel) { return int(pixel >> 8) & 255; }
constexpr int blue_of(uint32_t pixel) { return int(pixel) & 255; }

}  // namespace editor
