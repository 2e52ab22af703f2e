// optical_filters_test_support.h -- pixel formats and surfaces shared by the optical filter tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/platform/pixel_format.h"
#include "sim/platform/surface.h"
#include "support/pixel_compare.h"

namespace filter_tests {

// A pixel layout under test: the two display formats at their sizes, the
// 24-bit channels in 4 bytes, and two less common layouts.
struct Layout {
    std::string name;
    platform::PixelFormat format;
    int bits;
};

inline std::vector<Layout> layouts() {
    return {{"565/16", platform::format_565(), 16},
            {"888/24", platform::format_888(), 24},
            {"888/32", platform::format_888(), 32},
            {"555/16", platform::pixel_format_from_masks(0x7C00, 0x03E0, 0x001F), 16},
            {"bgr/24", platform::pixel_format_from_masks(0x0000FF, 0x00FF00, 0xFF0000), 24}};
}

// A width x height surface of random pixels.
inline platform::Surface random_surface(int width, int height, int bits, uint32_t seed) {
    platform::Surface s;
    platform::create_surface(s, width, height, bits);
    testing_support::fill_random(s, seed);
    return s;
}

// Locks `s` afresh (any earlier lock of the test is dropped).
inline platform::LockedSurface locked(platform::Surface& s) {
    platform::unlock_surface(s);
    platform::LockedSurface l;
    platform::lock_surface(s, l);
    return l;
}

// The channels read_pixel gives at (x, y).
struct Rgb {
    uint32_t r = 0, g = 0, b = 0;
};
inline Rgb pixel(const platform::Surface& s, const platform::PixelFormat& f, int x, int y) {
    Rgb c;
    const int bytes = s.bits_per_pixel / 8;
    platform::read_pixel(f, s.pixels.data() + y * s.pitch + x * bytes, bytes, c.r, c.g, c.b);
    return c;
}

}  // namespace filter_tests
