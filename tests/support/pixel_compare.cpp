// pixel_compare.cpp -- frame comparison and random fill for tests.
#include "support/pixel_compare.h"

namespace testing_support {

::testing::AssertionResult frames_equal(const platform::Frame& expected, const platform::Frame& actual) {
    for (int i = 0; i < platform::frame_pixels; ++i)
        if (expected.pixels[i] != actual.pixels[i])
            return ::testing::AssertionFailure()
                   << "first difference at pixel (" << i % platform::screen_width << ", "
                   << i / platform::screen_width << "): expected 0x" << std::hex << expected.pixels[i] << ", got 0x"
                   << actual.pixels[i];
    return ::testing::AssertionSuccess();
}

void fill_random(platform::Frame& frame, uint32_t seed) {
    uint32_t state = seed * 2654435761u + 1;
    for (uint16_t& pixel : frame.pixels) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        pixel = static_cast<uint16_t>(state);
    }
}

}  // namespace testing_support
