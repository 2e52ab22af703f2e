// light_phenomena_test.cpp -- eyelids, sparks, stars and sac refractions: worked values and the literal version.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "reference/engine_fixtures.h"
#include "reference/engine_reference.h"
#include "sim/engine/engine.h"
#include "support/pixel_compare.h"

namespace {

using engine_fixtures::random_frame;
using engine_fixtures::state_difference;
using testing_support::frames_equal;

// A frame of one grey level (stored as 5-6-5 keeps it: 255 reads 248, 100
// reads 96 in red and blue and 100 in green).
platform::Frame grey(uint8_t level) {
    platform::Frame f;
    std::fill(f.pixels.begin(), f.pixels.end(), platform::pack_565(level, level, level));
    return f;
}

uint32_t red_at(const platform::Frame& f, int x, int y) { return engine_fixtures::pixel(f, x, y).r; }

TEST(Eyelids, WorkedPositions) {
    platform::Frame s = grey(255);
    const platform::Frame original = s;
    engine::draw_eyelids(s, 1, 100);
    EXPECT_TRUE(frames_equal(original, s));  // row 0 at factor 256/256

    engine::draw_eyelids(s, 100, 100);
    EXPECT_EQ(248u, red_at(s, 5, 99));       // the lid's edge keeps everything
    EXPECT_EQ(0u, red_at(s, 5, 0));          // level trunc(255 - 2.56 x 99) = 1: 31 x 2 / 256
    EXPECT_EQ(15u * 8, red_at(s, 5, 49));    // level trunc(255 - 2.56 x 50) = 127: 31 x 128 / 256
    EXPECT_EQ(248u, red_at(s, 5, 100));
    EXPECT_EQ(248u, red_at(s, 5, 430));      // the lower lid's edge at 480 - 50
    EXPECT_EQ(30u * 8, red_at(s, 5, 431));   // level trunc(255 - 2.56) = 252: 31 x 253 / 256
    EXPECT_EQ(248u, red_at(s, 5, 429));

    platform::Frame closed = grey(255);
    engine::draw_eyelids(closed, 480, 100);
    // Every row lies beyond the soft edge of at least one lid: 1/256 of the light truncates to 0.
    for (int y = 0; y < 480; ++y) ASSERT_EQ(0u, red_at(closed, 300, y)) << y;
}

TEST(Eyelids, EqualTheLiteralLidsAtEveryPosition) {
    for (int position : {0, 1, 2, 7, 99, 100, 101, 200, 320, 321, 400, 479, 480}) {
        SCOPED_TRACE("position " + std::to_string(position));
        platform::Frame a = random_frame(position), b = a;
        engine::draw_eyelids(a, position, 100);
        reference::draw_eyelids(b, position, 100);
        ASSERT_TRUE(frames_equal(b, a));
    }
}

// Stars and sparks over many frames: pixels, rows and draws as the literal version.
TEST(StarsAndSparks, EqualTheLiteralVersionOverManyFrames) {
    {
        engine::EngineState a;
        a.star_count = 300;
        a.spark_count = 300;
        Random rng_a;
        rng_a.seed(99);
        for (int i = 0; i < a.spark_count; ++i) engine::new_spark(a, rng_a, i);
        for (int i = 0; i < a.star_count; ++i) engine::new_star(a, rng_a, i);
        a.stars[0].x = -2;  // partly off the screen
        a.stars[1].y = 477;
        engine::EngineState b = a;
        Random rng_b = rng_a;
        for (int frame = 0; frame < 60; ++frame) {
            platform::Frame sa = random_frame(frame), sb = sa;
            engine::draw_sparks(a, sa, rng_a);
            engine::draw_stars(a, sa, rng_a);
            reference::draw_sparks(b, sb, rng_b);
            reference::draw_stars(b, sb, rng_b);
            ASSERT_TRUE(frames_equal(sb, sa)) << "frame " << frame;
            ASSERT_EQ(rng_b.state, rng_a.state) << "frame " << frame;
            ASSERT_EQ("", state_difference(b, a)) << "frame " << frame;
        }
    }
}

TEST(Sparks, AFastSparkLeavesTheScreenAndLivesOnUndrawn) {
    engine::EngineState state;
    state.spark_count = 1;
    state.sparks[0] = engine::Spark{600, 100, 10.9f, -10.9f, 26, 0};
    Random rng;
    for (int frame = 0; frame < 20; ++frame) {
        platform::Frame s = grey(100);
        const platform::Frame before = s;
        engine::draw_sparks(state, s, rng);
        if (frame >= 4) {
            EXPECT_TRUE(frames_equal(before, s)) << frame;  // x0 = 600 + 10.9 frame >= 640
        }
        EXPECT_EQ(frame + 1, state.sparks[0].age);
    }
    EXPECT_EQ(1u, rng.state);  // never renewed so far
}

// Brightness 0.4: the centre gains 1.4 (255, stored as 248), the sides
// exactly 1.2, the corners nothing (no one-step loss either).
TEST(Sparks, CornersKeepTheirLightAndSidesGainExactlyAFifth) {
    engine::EngineState state;
    state.spark_count = 1;
    state.sparks[0] = engine::Spark{100, 100, 0, 0, 26, 0};
    platform::Frame s = random_frame(1);
    for (int i = 0; i < 9; ++i) s.row(100 + i / 3)[100 + i % 3] = platform::pack_565(200, 200, 200);
    Random rng;
    engine::draw_sparks(state, s, rng);
    for (int i = 0; i < 9; ++i) {
        const engine_fixtures::Rgb c = engine_fixtures::pixel(s, 100 + i % 3, 100 + i / 3);
        const int sides = (i % 3 != 1) + (i / 3 != 1);
        const uint32_t expected = sides == 2 ? 200u : sides == 1 ? 240u : 248u;
        EXPECT_TRUE(c.r == expected && c.b == expected) << "pixel " << i << ": " << c.r << "," << c.b;
    }
}

TEST(Stars, APeakOfOneHoldsThenRenewsInTheFirstFrameAfter) {
    engine::EngineState state;
    state.star_count = 1;
    state.stars[0] = engine::Star{100, 100, 1.0f, 1.0f, 0.01f, 3, 0};
    Random rng;
    for (int frame = 0; frame < 3; ++frame) {
        platform::Frame s = grey(100);
        engine::draw_stars(state, s, rng);
        EXPECT_EQ(96u, red_at(s, 102, 102));                          // factor 1.0 in red
        EXPECT_EQ(104u, engine_fixtures::pixel(s, 102, 102).g);      // and 1.06 in green: 106 stored as 104
        EXPECT_EQ(1.0f, state.stars[0].brightness);
        EXPECT_EQ(1u, rng.state) << frame;
    }
    platform::Frame s = grey(100);
    engine::draw_stars(state, s, rng);
    EXPECT_NE(1u, rng.state);  // renewed
    EXPECT_EQ(0, state.stars[0].held_frames);
}

TEST(SacRefractions, EyeModeAndMovementChooseTheStreaks) {
    auto header = std::make_unique<vision::Header>();
    for (int k = 0; k < 10; ++k) {
        header->streak[k].point_count = 1;
        header->streak[k].x[0] = 10 + k;
        header->streak[k].y[0] = 10;
        header->streak[k].brightness = 0.5f;
        header->streak[k].when_seen = k % 4;  // 0 always, 1 sideways, 2 up-down, 3 any
    }
    const struct {
        int eye_mode, movement;
        const char* drawn;  // streak k drawn when drawn[k] == 'x'
    } cases[] = {{2, 0, "x...x...x."}, {2, 1, "xx.xxx.xxx"}, {2, 2, "xx.xxx.xxx"}, {2, 3, "x.xxx.xxx."},
                 {2, 4, "x.xxx.xxx."}, {0, 1, "xx.xx....."}, {1, 0, "........x."}, {1, 3, "......xxx."}};
    for (const auto& c : cases) {
        engine::EngineState state;
        state.eye_mode = c.eye_mode;
        state.eye_movement = c.movement;
        platform::Frame s = grey(100);
        engine::draw_sac_refractions(state, *header, s);
        for (int k = 0; k < 10; ++k)
            EXPECT_EQ(c.drawn[k] == 'x' ? 144u : 96u, red_at(s, 10 + k, 10))
                << "eye_mode " << c.eye_mode << " movement " << c.movement << " streak " << k;
    }
}

TEST(SacRefractions, EqualTheLiteralStreaksAndIgnoreImpossibleCounts) {
    auto header = std::make_unique<vision::Header>();
    std::mt19937 gen(5);
    engine_fixtures::random_streaks(*header, gen, 6399);
    header->streak[3].point_count = 1000000;
    header->streak[4].point_count = -7;
    header->streak[5].brightness = -3.0f;  // from a damaged file
    for (int movement = 0; movement <= 4; ++movement) {
        SCOPED_TRACE("movement " + std::to_string(movement));
        engine::EngineState state;
        state.eye_movement = movement;
        platform::Frame a = random_frame(movement), b = a;
        engine::draw_sac_refractions(state, *header, a);
        reference::draw_sac_refractions(state, *header, b);
        ASSERT_TRUE(frames_equal(b, a));
    }
}

}  // namespace
