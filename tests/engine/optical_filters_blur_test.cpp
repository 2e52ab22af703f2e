// optical_filters_blur_test.cpp -- the myopic box blur: kernels, exact division, edges and the literal reference.
#include <gtest/gtest.h>

#include "reference/engine_fixtures.h"
#include "support/pixel_compare.h"
#include "reference/optical_filters_reference.h"
#include "sim/engine/optical_filters.h"
#include "sim/platform/pictures.h"

using engine_fixtures::all_formats;
using engine_fixtures::FormatCase;
using engine_fixtures::locked_view;
using engine_fixtures::pixel;
using engine_fixtures::random_picture;
using engine_fixtures::Rgb;

namespace {

std::vector<uint8_t> random_rgb(int width, int height, uint32_t seed) {
    platform::Surface s = random_picture(24, seed, width, height);
    return s.pixels;  // 3 bytes per pixel, rows width wide
}

TEST(MyopiaBlur, KernelPerLevel) {
    struct Row { int half_width, half_height, divisor; };
    const Row table[] = {{0, 0, 1},   {2, 1, 15},   {3, 3, 49},   {5, 4, 99},    {6, 6, 169},  {8, 7, 255},
                         {9, 9, 361}, {11, 10, 483}, {12, 12, 625}, {14, 13, 783}, {15, 15, 961}};
    for (int level = 0; level <= engine::max_myopia_level; ++level) {
        const engine::BlurKernel k = engine::blur_kernel(level);
        EXPECT_EQ(k.half_width, table[level].half_width) << "level " << level;
        EXPECT_EQ(k.half_height, table[level].half_height) << "level " << level;
        EXPECT_EQ(k.divisor, table[level].divisor) << "level " << level;
    }
}

// The reciprocal multiply must equal integer division for every sum a kernel
// of 8-bit channels can produce.
TEST(MyopiaBlur, ReciprocalDivisionIsExactOverAllSums) {
    for (int level = 0; level <= engine::max_myopia_level; ++level) {
        const uint32_t d = static_cast<uint32_t>(engine::blur_kernel(level).divisor);
        const uint64_t m = engine::blur_reciprocal(static_cast<int>(d));
        for (uint32_t sum = 0; sum <= 255 * d; ++sum)
            ASSERT_EQ(static_cast<uint32_t>((sum * m) >> 32), sum / d) << "sum " << sum << " divisor " << d;
    }
}

TEST(MyopiaBlur, LevelZeroCopiesTheWorkBuffer) {
    const std::vector<uint8_t> rgb = random_rgb(33, 17, 5);
    platform::Surface scene = random_picture(24, 9, 33, 17);
    const platform::PixelFormat bgr = platform::pixel_format_from_masks(0x0000FF, 0x00FF00, 0xFF0000);
    engine::apply_myopia_blur(scene, bgr, rgb.data(), 0);
    EXPECT_EQ(scene.pixels, rgb);  // this layout stores channel 1 first
}

// One dioptre averages 5 columns by 3 rows, counting pixels beyond the
// picture as black: the two outer columns and the outer rows come out darker.
TEST(MyopiaBlur, OneDioptreIsFiveWideThreeHighWithDarkEdges) {
    const int width = 12, height = 8;
    std::vector<uint8_t> rgb(width * height * 3, 150);
    platform::Surface scene = random_picture(24, 1, width, height);
    const platform::PixelFormat f = platform::format_888();
    engine::apply_myopia_blur(scene, f, rgb.data(), 1);
    struct Case { int x, y; uint32_t value; };
    for (Case c : {Case{5, 4, 150}, Case{0, 4, 150 * 9 / 15}, Case{1, 4, 150 * 12 / 15}, Case{2, 4, 150},
                   Case{11, 4, 150 * 9 / 15}, Case{10, 4, 150 * 12 / 15}, Case{5, 0, 150 * 10 / 15},
                   Case{5, 7, 150 * 10 / 15}, Case{5, 1, 150}, Case{0, 0, 150 * 6 / 15}}) {
        const Rgb p = pixel(scene, f, c.x, c.y);
        EXPECT_EQ(p.r, c.value) << "(" << c.x << ", " << c.y << ")";
        EXPECT_EQ(p.b, c.value) << "(" << c.x << ", " << c.y << ")";
    }
}

// Every level, several shapes (including pictures narrower and lower than
// the kernel) and every layout against the per-pixel reference.
TEST(MyopiaBlur, MatchesReference) {
    struct Shape { int width, height; };
    uint32_t seed = 100;
    for (const FormatCase& layout : all_formats()) {
        for (Shape shape : {Shape{37, 23}, Shape{1, 1}, Shape{3, 40}, Shape{50, 2}}) {
            const std::vector<uint8_t> rgb = random_rgb(shape.width, shape.height, ++seed);
            for (int level = 0; level <= engine::max_myopia_level; ++level) {
                platform::Surface fast = random_picture(layout.bits, seed, shape.width, shape.height);
                platform::Surface slow = fast;
                engine::apply_myopia_blur(fast, layout.format, rgb.data(), level);
                reference::apply_myopia_blur(slow, layout.format, rgb.data(), level);
                ASSERT_TRUE(testing_support::surfaces_equal(slow, fast))
                    << layout.name << " " << shape.width << "x" << shape.height << " level " << level;
                EXPECT_EQ(fast.locked, 0) << "surface left locked";
            }
        }
    }
}

TEST(MyopiaBlur, LevelsFromAFileAreClamped) {
    const std::vector<uint8_t> rgb = random_rgb(20, 20, 3);
    struct Case { int level, same_as; };
    for (Case c : {Case{-4, 0}, Case{11, 10}, Case{1000000, 10}, Case{INT32_MIN, 0}}) {
        platform::Surface a = random_picture(16, 8, 20, 20), b = a;
        engine::apply_myopia_blur(a, platform::format_565(), rgb.data(), c.level);
        engine::apply_myopia_blur(b, platform::format_565(), rgb.data(), c.same_as);
        EXPECT_TRUE(testing_support::surfaces_equal(b, a)) << "level " << c.level;
    }
}

TEST(MyopiaBlur, LeavesSceneAloneWhenItCannotWork) {
    const std::vector<uint8_t> rgb = random_rgb(20, 20, 3);
    platform::Surface busy = random_picture(16, 4, 20, 20);
    const platform::Surface before = busy;
    busy.locked = 1;
    engine::apply_myopia_blur(busy, platform::format_565(), rgb.data(), 3);
    EXPECT_EQ(busy.pixels, before.pixels) << "a locked surface is skipped";
    EXPECT_EQ(busy.locked, 1);

    busy.locked = 0;
    engine::apply_myopia_blur(busy, platform::format_565(), nullptr, 3);
    EXPECT_EQ(busy.pixels, before.pixels) << "no work buffer";

    // A picture larger than the work buffer would read past it (ASan checks).
    platform::Surface huge = random_picture(16, 2, 1281, 960);
    const std::vector<uint8_t> huge_before = huge.pixels;
    engine::apply_myopia_blur(huge, platform::format_565(), rgb.data(), 3);
    EXPECT_EQ(huge.pixels, huge_before);
    EXPECT_EQ(huge.locked, 0);
}

}  // namespace
