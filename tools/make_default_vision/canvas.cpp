// canvas.cpp -- converting and saving the default vision's drawings.
#include "canvas.h"

#include "sim/platform/pictures.h"

namespace defaultvision {
namespace {
uint8_t channel(float v) {
    const float scaled = v * 255.0f + 0.5f;
    if (!(scaled > 0.0f)) return 0;
    if (scaled >= 255.0f) return 255;
    return uint8_t(scaled);
}
}  // namespace

std::vector<uint8_t> to_rgb_bytes(const Canvas& canvas) {
    std::vector<uint8_t> out(canvas.pixels.size() * 3);
    for (size_t i = 0; i < canvas.pixels.size(); ++i) {
        out[3 * i] = channel(canvas.pixels[i].r);
        out[3 * i + 1] = channel(canvas.pixels[i].g);
        out[3 * i + 2] = channel(canvas.pixels[i].b);
    }
    return out;
}

int save_jpeg(const Canvas& canvas, const char* path, int quality) {
    const std::vector<uint8_t> rgb = to_rgb_bytes(canvas);
    return platform::write_jpeg(path, quality, rgb.data(), canvas.width, canvas.height);
}

}  // namespace defaultvision
