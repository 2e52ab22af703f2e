// pixel_compare.cpp -- surface comparison and random fill for tests.
#include "support/pixel_compare.h"

namespace testing_support {

::testing::AssertionResult surfaces_equal(const platform::Surface& expected,
                                          const platform::Surface& actual) {
    if (expected.width != actual.width || expected.height != actual.height ||
        expected.bits_per_pixel != actual.bits_per_pixel || expected.pitch != actual.pitch)
        return ::testing::AssertionFailure()
               << "surfaces differ in shape: " << expected.width << "x" << expected.height << "@"
               << expected.bits_per_pixel << " vs " << actual.width << "x" << actual.height << "@"
               << actual.bits_per_pixel;
    const int bytes = expected.bits_per_pixel / 8;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            const size_t at = static_cast<size_t>(y) * expected.pitch + static_cast<size_t>(x) * bytes;
            for (int b = 0; b < bytes; ++b) {
                if (expected.pixels[at + b] != actual.pixels[at + b]) {
                    uint32_t e = 0, a = 0;
                    for (int i = 0; i < bytes; ++i) {
                        e |= uint32_t(expected.pixels[at + i]) << (8 * i);
                        a |= uint32_t(actual.pixels[at + i]) << (8 * i);
                    }
                    return ::testing::AssertionFailure() << "first difference at pixel (" << x << ", " << y
                                                         << "): expected 0x" << std::hex << e << ", got 0x" << a;
                }
            }
        }
    }
    return ::testing::AssertionSuccess();
}

void fill_random(platform::Surface& surface, uint32_t seed) {
    uint32_t state = seed * 2654435761u + 1;
    for (uint8_t& byte : surface.pixels) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<uint8_t>(state);
    }
}

}  // namespace testing_support
