// pixel_compare.h -- compares frames and reports the first differing pixel.
#pragma once
#include <gtest/gtest.h>

#include "sim/platform/frame.h"

namespace testing_support {

// Success when both frames hold the same pixels; otherwise names the first
// differing pixel and both values.
::testing::AssertionResult frames_equal(const platform::Frame& expected, const platform::Frame& actual);

// Fills a frame with pixels drawn from a simple generator seeded by `seed`.
void fill_random(platform::Frame& frame, uint32_t seed);

}  // namespace testing_support
