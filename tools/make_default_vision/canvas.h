// canvas.h -- a floating-point RGB picture the default vision's drawings paint into.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace defaultvision {

struct Colour {
    float r, g, b;  // 0..1
};

inline Colour mix(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Colour scale(Colour c, float k) { return {c.r * k, c.g * k, c.b * k}; }

struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;

    Canvas(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h), Colour{0, 0, 0}) {}
    Colour& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    const Colour& at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

    // Blends `c` over the pixel with weight `alpha` (ignored outside).
    void blend(int x, int y, Colour c, float alpha) {
        if (inside(x, y)) at(x, y) = mix(at(x, y), c, alpha);
    }
};

// 8-bit red, green, blue rows from the top, each channel rounded and clamped.
std::vector<uint8_t> to_rgb_bytes(const Canvas& canvas);

// Saves the canvas as a JPEG through the simulator's own encoder. Returns 1/0.
int save_jpeg(const Canvas& canvas, const char* path, int quality);

}  // namespace defaultvision
