// frame.cpp -- rows of RGB bytes to and from the 5-6-5 frame.
#include "sim/platform/frame.h"

#include <cstddef>

namespace platform {

void rgb_to_565(const uint8_t* rgb, int count, uint16_t* out) {
    for (int x = 0; x < count; ++x, rgb += 3) out[x] = pack_565(rgb[0], rgb[1], rgb[2]);
}

void rgb_from_565(const uint16_t* pixels, int count, uint8_t* rgb) {
    for (int x = 0; x < count; ++x, rgb += 3) {
        uint32_t r, g, b;
        unpack_565(pixels[x], r, g, b);
        rgb[0] = uint8_t(r);
        rgb[1] = uint8_t(g);
        rgb[2] = uint8_t(b);
    }
}

void quantize_to_565(DecodedPicture& picture) {
    static constexpr uint8_t keep[3] = {0xF8, 0xFC, 0xF8};
    uint8_t* p = picture.rgb.data();
    const size_t n = picture.rgb.size() / 3;
    for (size_t i = 0; i < n; ++i, p += 3) {
        p[0] &= keep[0];
        p[1] &= keep[1];
        p[2] &= keep[2];
    }
}

}  // namespace platform
