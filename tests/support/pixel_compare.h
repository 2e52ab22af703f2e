// pixel_compare.h -- compares surfaces and reports the first differing pixel.
#pragma once
#include <gtest/gtest.h>

#include "sim/platform/surface.h"

namespace testing_support {

// Success when both surfaces have the same size, format and bytes; otherwise
// names the first differing pixel and both values.
::testing::AssertionResult surfaces_equal(const platform::Surface& expected,
                                          const platform::Surface& actual);

// Fills a surface with pixels drawn from a simple generator seeded by `seed`.
void fill_random(platform::Surface& surface, uint32_t seed);

}  // namespace testing_support
