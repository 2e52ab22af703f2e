// optical_filters_test.cpp -- cataract haze, sunglasses, retina shadow and blood cells: visible rules and the literal reference.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "reference/engine_fixtures.h"
#include "support/pixel_compare.h"
#include "reference/optical_filters_reference.h"
#include "sim/engine/optical_filters.h"

using engine_fixtures::all_formats;
using engine_fixtures::FormatCase;
using engine_fixtures::locked_view;
using engine_fixtures::pixel;
using engine_fixtures::random_picture;
using engine_fixtures::Rgb;

namespace {

constexpr int W = 640, H = 480;

// Runs `fast` and `slow` on copies of the same random frame and compares.
template <class Fast, class Slow>
::testing::AssertionResult same_as_reference(const FormatCase& layout, uint32_t seed, Fast fast, Slow slow) {
    platform::Surface a = random_picture(layout.bits, seed, W, H), b = a;
    fast(locked_view(a), layout.format);
    slow(locked_view(b), layout.format);
    return testing_support::surfaces_equal(b, a);
}

// ---- Cataract haze ----

TEST(CataractHaze, ClarityAtOrBelowATenthBlanksChannelsTwoAndThree) {
    const platform::PixelFormat f = platform::format_888();
    for (float clarity : {0.1f, 0.05f, -0.5f}) {
        platform::Surface s = random_picture(24, 3, W, H);
        const platform::Surface before = s;
        engine::draw_cataract_haze(locked_view(s), f, clarity);
        for (int y = 0; y < H; y += 7)
            for (int x = 0; x < W; x += 5) {
                const Rgb was = pixel(before, f, x, y), now = pixel(s, f, x, y);
                const float kept = static_cast<float>(was.r) * clarity;
                ASSERT_EQ(now.r, kept > 0 ? static_cast<uint32_t>(kept) : 0u) << "clarity " << clarity;
                ASSERT_EQ(now.g, 0u) << "clarity " << clarity << " at " << x << "," << y;
                ASSERT_EQ(now.b, 0u) << "clarity " << clarity << " at " << x << "," << y;
            }
    }
}

TEST(CataractHaze, MatchesReference) {
    const float clarities[] = {0.9f, 1.0f, 0.1f, 0.3f, 0.05f, -2.0f, 1.5f, 3.7f, 250.0f,
                               std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                               std::numeric_limits<float>::quiet_NaN()};
    uint32_t seed = 10;
    for (const FormatCase& layout : all_formats())
        for (float clarity : clarities)
            ASSERT_TRUE(same_as_reference(
                layout, ++seed,
                [&](const platform::LockedSurface& s, const platform::PixelFormat& f) { engine::draw_cataract_haze(s, f, clarity); },
                [&](const platform::LockedSurface& s, const platform::PixelFormat& f) { reference::draw_cataract_haze(s, f, clarity); }))
                << layout.name << " clarity " << clarity;
}

// ---- Sunglasses ----

TEST(Sunglasses, WhiteTintKeepsAndBlackTintBlackensTheLens) {
    const platform::PixelFormat f = platform::format_888();
    platform::Surface s = random_picture(24, 4, W, H);
    const platform::Surface before = s;
    engine::draw_sunglasses(locked_view(s), f, 255, 255, 255);
    EXPECT_EQ(s.pixels, before.pixels);

    engine::draw_sunglasses(locked_view(s), f, 0, 0, 0);
    auto black = [&](int x, int y) { const Rgb c = pixel(s, f, x, y); return c.r == 0 && c.g == 0 && c.b == 0; };
    auto kept = [&](int x, int y) { return std::memcmp(&s.pixels[y * s.pitch + x * 3], &before.pixels[y * s.pitch + x * 3], 3) == 0; };
    // The lens: full width in rows 73..407, narrowing to 166..473 at the top
    // and 163..476 at the bottom.
    struct Row { int y, from, to; };
    for (Row r : {Row{0, 166, 473}, Row{479, 163, 476}, Row{73, 0, 639}, Row{407, 0, 639}, Row{240, 0, 639}}) {
        for (int x = 0; x < W; ++x) {
            const bool inside = x >= r.from && x <= r.to;
            ASSERT_TRUE(inside ? black(x, r.y) : kept(x, r.y)) << "row " << r.y << " column " << x;
        }
    }
    EXPECT_TRUE(kept(0, 72));
    EXPECT_TRUE(kept(639, 408));
}

TEST(Sunglasses, MatchesReference) {
    struct Tint { int r, g, b; };
    uint32_t seed = 30;
    for (const FormatCase& layout : all_formats())
        for (Tint t : {Tint{128, 128, 128}, Tint{0, 255, 7}, Tint{248, 3, 200}, Tint{-5, 300, 65536}})
            ASSERT_TRUE(same_as_reference(
                layout, ++seed,
                [&](const platform::LockedSurface& s, const platform::PixelFormat& f) { engine::draw_sunglasses(s, f, t.r, t.g, t.b); },
                [&](const platform::LockedSurface& s, const platform::PixelFormat& f) { reference::draw_sunglasses(s, f, t.r, t.g, t.b); }))
                << layout.name << " tint " << t.r << "," << t.g << "," << t.b;
}

// ---- Retina shadow ----

TEST(RetinaShadow, WhiteLosesOneExceptRowAndColumnZero) {
    const platform::PixelFormat f = platform::format_888();
    platform::Surface s;
    platform::create_surface(s, W, H, 24);
    std::fill(s.pixels.begin(), s.pixels.end(), 255);
    const std::vector<uint8_t> map(W * H, 0);
    engine::draw_retina_shadow(locked_view(s), f, map.data());
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const uint32_t expected = (x == 0 || y == 0) ? 255 : 254;
            const Rgb c = pixel(s, f, x, y);
            ASSERT_TRUE(c.r == expected && c.g == expected && c.b == expected) << x << "," << y;
        }
}

TEST(RetinaShadow, NoMapLeavesEveryByte) {
    platform::Surface s = random_picture(32, 6, W, H);  // a rewrite would clear the fourth bytes
    const platform::Surface before = s;
    engine::draw_retina_shadow(locked_view(s), platform::format_888(), nullptr);
    EXPECT_EQ(s.pixels, before.pixels);
}

// Random maps over random pictures, plus every 16-bit value and many dark
// pixels (zero averages, negative intermediate channels).
TEST(RetinaShadow, MatchesReference) {
    uint32_t seed = 50;
    for (const FormatCase& layout : all_formats()) {
        for (int variant = 0; variant < 3; ++variant) {
            platform::Surface a = random_picture(layout.bits, ++seed, W, H);
            const int bytes = layout.bits / 8;
            if (variant == 1 && bytes == 2)
                for (int i = 0; i < W * H; ++i) {
                    a.pixels[2 * i] = uint8_t(i);
                    a.pixels[2 * i + 1] = uint8_t(i >> 8);
                }
            if (variant == 2)
                for (uint8_t& byte : a.pixels) byte &= 0x0F;
            platform::Surface b = a;
            std::vector<uint8_t> map(W * H);
            testing_support::fill_random(b, seed);  // reuse the generator for the map below
            for (size_t i = 0; i < map.size(); ++i) map[i] = b.pixels[i % b.pixels.size()] & (variant == 0 ? 1 : 0);
            b = a;
            engine::draw_retina_shadow(locked_view(a), layout.format, map.data());
            reference::draw_retina_shadow(locked_view(b), layout.format, map.data());
            ASSERT_TRUE(testing_support::surfaces_equal(b, a)) << layout.name << " variant " << variant;
        }
    }
}

// ---- Retina blood cells ----

TEST(BloodCells, NewPathDrawsInOrderWithinRanges) {
    Random rng;
    rng.seed(12345);
    for (int i = 0; i < 2000; ++i) {
        Random replay = rng;
        engine::BloodCell c{};
        engine::new_blood_cell_path(c, rng);
        const int r[7] = {replay.next(), replay.next(), replay.next(), replay.next(),
                          replay.next(), replay.next(), replay.next()};
        ASSERT_EQ(rng.state, replay.state) << "seven draws per path";
        EXPECT_EQ(c.centre_x, float(r[0] % 640));
        EXPECT_EQ(c.centre_y, float(r[1] % 480));
        EXPECT_EQ(c.trail_length, 5);
        const int direction = r[2] % 2 ? 1 : -1;
        ASSERT_EQ(c.direction, direction);
        if (direction == 1) {
            EXPECT_EQ(c.start_angle, float(r[3] % 360));
            EXPECT_EQ(c.end_angle, float(r[4] % 360 + r[3] % 360));
            EXPECT_EQ(c.step, float(r[5] % 10 + 10));
        } else {
            EXPECT_EQ(c.start_angle, float(r[3] % 360 + 360));
            EXPECT_EQ(c.end_angle, float(r[4] % 360));
            EXPECT_EQ(c.step, float(-10 - r[5] % 10));
        }
        EXPECT_EQ(c.angle, c.start_angle);
        EXPECT_EQ(c.radius, float(r[6] % 4 + 2));
        EXPECT_GE(std::fabs(c.step), 10.0f);
        EXPECT_LE(std::fabs(c.step), 19.0f);
        if (HasFailure()) return;
    }
}

TEST(BloodCells, ZeroBrightnessDrawsNothing) {
    for (float brightness : {0.0f, std::numeric_limits<float>::quiet_NaN()}) {
        platform::Surface s = random_picture(24, 8, W, H);
        const platform::Surface before = s;
        std::vector<engine::BloodCell> cells(engine::blood_cell_capacity);
        Random rng;
        for (auto& c : cells) engine::new_blood_cell_path(c, rng);
        for (int frame = 0; frame < 20; ++frame)
            engine::draw_blood_cells(locked_view(s), platform::format_888(), cells.data(), 1000, brightness, rng);
        EXPECT_EQ(s.pixels, before.pixels) << "brightness " << brightness;
    }
}

// Many frames with path renewals: the frames, the cell table and the
// generator must stay identical to the reference's. A count above the table
// counts as the table; rows never given a path (all zero) stay inert.
TEST(BloodCells, MatchReferenceOverManyFrames) {
    struct Case { int count, paths; float brightness; };
    uint32_t seed = 70;
    for (const FormatCase& layout : all_formats()) {
        for (Case c : {Case{600, 600, 0.08f}, Case{1500, 1000, 0.4f}, Case{1000, 300, 0.25f}, Case{10, 10, 3.0f},
                       Case{50, 50, -2.5f}}) {
            platform::Surface a = random_picture(layout.bits, ++seed, W, H), b = a;
            std::vector<engine::BloodCell> fast(engine::blood_cell_capacity, engine::BloodCell{});
            Random rng_fast;
            rng_fast.seed(seed);
            for (int i = 0; i < c.paths; ++i) engine::new_blood_cell_path(fast[i], rng_fast);
            std::vector<engine::BloodCell> slow = fast;
            Random rng_slow = rng_fast;
            for (int frame = 0; frame < 60; ++frame) {
                engine::draw_blood_cells(locked_view(a), layout.format, fast.data(), c.count, c.brightness, rng_fast);
                reference::draw_blood_cells(locked_view(b), layout.format, slow.data(), c.count, c.brightness, rng_slow);
            }
            const std::string what = std::string(layout.name) + " count " + std::to_string(c.count);
            ASSERT_TRUE(testing_support::surfaces_equal(b, a)) << what;
            ASSERT_EQ(rng_fast.state, rng_slow.state) << what;
            ASSERT_EQ(std::memcmp(fast.data(), slow.data(), fast.size() * sizeof(engine::BloodCell)), 0) << what;
            ASSERT_NE(rng_fast.state, Random{}.state);
        }
    }
}

}  // namespace
