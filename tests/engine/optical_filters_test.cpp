// optical_filters_test.cpp -- the lens, haze and shadow rules seen in a frame, and the retina blood cells against the literal reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "reference/engine_fixtures.h"
#include "reference/optical_filters_reference.h"
#include "sim/engine/engine.h"
#include "sim/platform/null_platform.h"
#include "support/pixel_compare.h"

using engine_fixtures::pixel;
using engine_fixtures::random_frame;
using engine_fixtures::Rgb;

namespace {

constexpr int W = 640, H = 480;

// One started frame with only the switch `on` set in `state`.
void compose_with(engine::EngineState& state, platform::Frame& frame, platform::Pictures& pictures) {
    auto doc = std::make_unique<vision::Document>();
    platform::NullPlatform screen;
    Random rng;
    state.simulation_started = 1;
    state.floaters_active = 0;
    engine::compose_frame(state, engine::EngineContext{*doc, frame, pictures, screen, rng}, engine::FrameView{});
}

TEST(CataractHaze, ClarityAtOrBelowATenthBlanksChannelsTwoAndThree) {
    for (float clarity : {0.1f, 0.05f, -0.5f}) {
        platform::Frame f = random_frame(3);
        const platform::Frame before = f;
        engine::EngineState state;
        platform::Pictures pictures;
        state.cataracts_active = 1;
        state.cataract_clarity = clarity;
        compose_with(state, f, pictures);
        for (int y = 0; y < H; y += 7)
            for (int x = 0; x < W; x += 5) {
                const Rgb was = pixel(before, x, y), now = pixel(f, x, y);
                const float kept = static_cast<float>(was.r) * clarity;
                ASSERT_EQ(now.r, kept > 0 ? static_cast<uint32_t>(kept) & 0xF8u : 0u) << "clarity " << clarity;
                ASSERT_EQ(now.g, 0u) << "clarity " << clarity << " at " << x << "," << y;
                ASSERT_EQ(now.b, 0u) << "clarity " << clarity << " at " << x << "," << y;
            }
    }
}

TEST(Sunglasses, WhiteTintKeepsAndBlackTintBlackensTheLens) {
    platform::Frame f = random_frame(4);
    const platform::Frame before = f;
    engine::EngineState state;
    platform::Pictures pictures;
    state.sunglasses_active = 1;
    state.glasses_red = state.glasses_green = state.glasses_blue = 255;
    compose_with(state, f, pictures);
    EXPECT_TRUE(testing_support::frames_equal(before, f));

    state.glasses_red = state.glasses_green = state.glasses_blue = 0;
    compose_with(state, f, pictures);
    auto black = [&](int x, int y) { return f.pixels[y * W + x] == 0; };
    auto kept = [&](int x, int y) { return f.pixels[y * W + x] == before.pixels[y * W + x]; };
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

TEST(RetinaShadow, WhiteLosesOneStepExceptRowAndColumnZeroAndNoMapLeavesEveryPixel) {
    platform::Frame f;
    std::fill(f.pixels.begin(), f.pixels.end(), uint16_t{0xFFFF});
    engine::EngineState state;
    platform::Pictures pictures;
    pictures.grey_map.assign(W * H, 0);
    state.retina_shadow_active = 1;
    compose_with(state, f, pictures);
    // White reads 248, 252, 248; each channel loses one and is stored again.
    const uint16_t shaded = platform::pack_565(247, 251, 247);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(f.pixels[y * W + x], (x == 0 || y == 0) ? 0xFFFF : shaded) << x << "," << y;

    // Without a grey map (a default vision whose TGA would not read) the shadow draws nothing.
    std::fill(f.pixels.begin(), f.pixels.end(), uint16_t{0xFFFF});
    pictures.grey_map.clear();
    compose_with(state, f, pictures);
    EXPECT_TRUE(std::all_of(f.pixels.begin(), f.pixels.end(), [](uint16_t p) { return p == 0xFFFF; }));
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
        platform::Frame s = random_frame(8);
        const platform::Frame before = s;
        std::vector<engine::BloodCell> cells(engine::blood_cell_capacity);
        Random rng;
        for (auto& c : cells) engine::new_blood_cell_path(c, rng);
        for (int frame = 0; frame < 20; ++frame)
            engine::draw_blood_cells(s, cells.data(), 1000, brightness, rng);
        EXPECT_TRUE(testing_support::frames_equal(before, s)) << "brightness " << brightness;
    }
}

// Many frames with path renewals: the frames, the cell table and the
// generator must stay identical to the reference's. A count above the table
// counts as the table; rows never given a path (all zero) stay inert.
TEST(BloodCells, MatchReferenceOverManyFrames) {
    struct Case { int count, paths; float brightness; };
    uint32_t seed = 70;
    {
        for (Case c : {Case{600, 600, 0.08f}, Case{1500, 1000, 0.4f}, Case{1000, 300, 0.25f}, Case{10, 10, 3.0f},
                       Case{50, 50, -2.5f}}) {
            platform::Frame a = random_frame(++seed), b = a;
            std::vector<engine::BloodCell> fast(engine::blood_cell_capacity, engine::BloodCell{});
            Random rng_fast;
            rng_fast.seed(seed);
            for (int i = 0; i < c.paths; ++i) engine::new_blood_cell_path(fast[i], rng_fast);
            std::vector<engine::BloodCell> slow = fast;
            Random rng_slow = rng_fast;
            for (int frame = 0; frame < 60; ++frame) {
                engine::draw_blood_cells(a, fast.data(), c.count, c.brightness, rng_fast);
                reference::draw_blood_cells(b, slow.data(), c.count, c.brightness, rng_slow);
            }
            const std::string what = "count " + std::to_string(c.count);
            ASSERT_TRUE(testing_support::frames_equal(b, a)) << what;
            ASSERT_EQ(rng_fast.state, rng_slow.state) << what;
            ASSERT_EQ(std::memcmp(fast.data(), slow.data(), fast.size() * sizeof(engine::BloodCell)), 0) << what;
            ASSERT_NE(rng_fast.state, Random{}.state);
        }
    }
}

}  // namespace
