// optical_filters_blur_test.cpp -- the myopic box blur: kernels, exact division, edges and the literal reference.
#include <gtest/gtest.h>

#include "reference/engine_fixtures.h"
#include "support/pixel_compare.h"
#include "reference/optical_filters_reference.h"
#include "sim/engine/optical_filters.h"

using engine_fixtures::random_rgb;

namespace {

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

TEST(MyopiaBlur, LevelZeroCopiesTheScene) {
    const platform::DecodedPicture scene = random_rgb(5, 33, 17);
    platform::DecodedPicture blurred = random_rgb(9, 3, 3);
    ASSERT_EQ(engine::apply_myopia_blur(scene, blurred, 0), 1);
    EXPECT_EQ(blurred.rgb, scene.rgb);
    EXPECT_EQ(blurred.width, 33);
    EXPECT_EQ(blurred.height, 17);
}

// One dioptre averages 5 columns by 3 rows, counting pixels beyond the
// picture as black: the two outer columns and the outer rows come out darker.
TEST(MyopiaBlur, OneDioptreIsFiveWideThreeHighWithDarkEdges) {
    const int width = 12, height = 8;
    platform::DecodedPicture scene{std::vector<uint8_t>(width * height * 3, 150), width, height}, blurred;
    engine::apply_myopia_blur(scene, blurred, 1);
    struct Case { int x, y; uint32_t value; };
    for (Case c : {Case{5, 4, 150}, Case{0, 4, 150 * 9 / 15}, Case{1, 4, 150 * 12 / 15}, Case{2, 4, 150},
                   Case{11, 4, 150 * 9 / 15}, Case{10, 4, 150 * 12 / 15}, Case{5, 0, 150 * 10 / 15},
                   Case{5, 7, 150 * 10 / 15}, Case{5, 1, 150}, Case{0, 0, 150 * 6 / 15}}) {
        const uint8_t* p = &blurred.rgb[(c.y * width + c.x) * 3];
        EXPECT_EQ(p[0], c.value) << "(" << c.x << ", " << c.y << ")";
        EXPECT_EQ(p[2], c.value) << "(" << c.x << ", " << c.y << ")";
    }
}

// Every level and several shapes (including pictures narrower and lower than
// the kernel) against the per-pixel reference.
TEST(MyopiaBlur, MatchesReference) {
    struct Shape { int width, height; };
    uint32_t seed = 100;
    for (Shape shape : {Shape{37, 23}, Shape{1, 1}, Shape{3, 40}, Shape{50, 2}, Shape{1280, 960}}) {
        const platform::DecodedPicture scene = random_rgb(++seed, shape.width, shape.height);
        for (int level = 0; level <= engine::max_myopia_level; level += shape.width > 100 ? 5 : 1) {
            platform::DecodedPicture fast, slow;
            engine::apply_myopia_blur(scene, fast, level);
            reference::apply_myopia_blur(scene, slow, level);
            ASSERT_EQ(fast.width, slow.width);
            ASSERT_EQ(fast.height, slow.height);
            ASSERT_TRUE(fast.rgb == slow.rgb) << shape.width << "x" << shape.height << " level " << level;
        }
    }
}

TEST(MyopiaBlur, LevelsFromAFileAreClamped) {
    const platform::DecodedPicture scene = random_rgb(3, 20, 20);
    struct Case { int level, same_as; };
    for (Case c : {Case{-4, 0}, Case{11, 10}, Case{1000000, 10}, Case{INT32_MIN, 0}}) {
        platform::DecodedPicture a, b;
        engine::apply_myopia_blur(scene, a, c.level);
        engine::apply_myopia_blur(scene, b, c.same_as);
        EXPECT_TRUE(a.rgb == b.rgb) << "level " << c.level;
    }
}

TEST(MyopiaBlur, NoSceneGivesNoBlur) {
    platform::DecodedPicture blurred = random_rgb(3, 20, 20);
    EXPECT_EQ(engine::apply_myopia_blur(platform::DecodedPicture{}, blurred, 3), 0);
    EXPECT_TRUE(blurred.rgb.empty());
    // Pixels that do not match the size are no picture either.
    platform::DecodedPicture short_scene = random_rgb(3, 20, 20);
    short_scene.rgb.resize(100);
    EXPECT_EQ(engine::apply_myopia_blur(short_scene, blurred, 3), 0);
}

}  // namespace
