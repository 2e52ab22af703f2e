// light_phenomena_test.cpp -- eyelids, sparks, stars, sac refractions, flash and overlay dimming.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "reference/engine_fixtures.h"
#include "reference/engine_reference.h"
#include "sim/engine/engine.h"
#include "support/pixel_compare.h"

namespace {

using engine_fixtures::all_formats;
using engine_fixtures::FormatCase;
using engine_fixtures::locked_view;
using engine_fixtures::random_picture;
using engine_fixtures::state_difference;
using testing_support::surfaces_equal;

// A 24-bit surface of one grey level.
platform::Surface grey_888(uint8_t level) {
    platform::Surface s;
    platform::create_surface(s, 640, 480, 24);
    std::fill(s.pixels.begin(), s.pixels.end(), level);
    return s;
}

uint32_t red_at(const platform::Surface& s, int x, int y) { return s.pixels[y * s.pitch + x * 3 + 2]; }

TEST(Eyelids, WorkedPositions) {
    platform::Surface s = grey_888(255);
    const platform::Surface original = s;
    engine::draw_eyelids(locked_view(s), platform::format_888(), 1, 100);
    EXPECT_TRUE(surfaces_equal(original, s));  // row 0 at factor 256/256

    engine::draw_eyelids(locked_view(s), platform::format_888(), 100, 100);
    EXPECT_EQ(255u, red_at(s, 5, 99));              // the lid's edge keeps everything
    EXPECT_EQ(255u * 2 / 256, red_at(s, 5, 0));     // level trunc(255 - 2.56 x 99) = 1
    EXPECT_EQ(255u * 128 / 256, red_at(s, 5, 49));  // level trunc(255 - 2.56 x 50) = 127
    EXPECT_EQ(255u, red_at(s, 5, 100));
    EXPECT_EQ(255u, red_at(s, 5, 430));             // the lower lid's edge at 480 - 50
    EXPECT_EQ(255u * 253 / 256, red_at(s, 5, 431)); // level trunc(255 - 2.56) = 252
    EXPECT_EQ(255u, red_at(s, 5, 429));

    platform::Surface closed = grey_888(255);
    engine::draw_eyelids(locked_view(closed), platform::format_888(), 480, 100);
    // Every row lies beyond the soft edge of at least one lid: 255 keeps 1/256, which truncates to 0.
    for (int y = 0; y < 480; ++y) ASSERT_EQ(0u, red_at(closed, 300, y)) << y;
}

TEST(Eyelids, EqualTheLiteralLidsAtEveryPosition) {
    for (const FormatCase& fc : all_formats()) {
        for (int position : {0, 1, 2, 7, 99, 100, 101, 200, 320, 321, 400, 479, 480}) {
            SCOPED_TRACE(std::string(fc.name) + " position " + std::to_string(position));
            platform::Surface a = random_picture(fc.bits, position), b = a;
            engine::draw_eyelids(locked_view(a), fc.format, position, 100);
            reference::draw_eyelids(locked_view(b), fc.format, position, 100);
            ASSERT_TRUE(surfaces_equal(b, a));
        }
    }
}

TEST(Flash, BrightensByOnePointThreeClampedAndSparesRowAndColumnZero) {
    platform::Surface s = grey_888(200);
    platform::write_pixel(platform::format_888(), 100, 100, 100, s.pixels.data() + 10 * s.pitch + 10 * 3, 3);
    engine::draw_flash_and_overlay_dimming(locked_view(s), platform::format_888(), 1, 0.3f, 0);
    EXPECT_EQ(255u, red_at(s, 5, 5));
    EXPECT_EQ(130u, red_at(s, 10, 10));
    EXPECT_EQ(200u, red_at(s, 0, 5));
    EXPECT_EQ(200u, red_at(s, 5, 0));
    EXPECT_EQ(255u, red_at(s, 639, 479));
}

TEST(FlashAndDimming, EqualTheLiteralPassesAtEveryPixelSize) {
    for (const FormatCase& fc : all_formats()) {
        SCOPED_TRACE(fc.name);
        platform::Surface a = random_picture(fc.bits, 21), b = a;
        engine::draw_flash_and_overlay_dimming(locked_view(a), fc.format, 1, 0.3f, 0);
        reference::draw_flash(locked_view(b), fc.format, 0.3f);
        ASSERT_TRUE(surfaces_equal(b, a));
        engine::draw_flash_and_overlay_dimming(locked_view(a), fc.format, 0, 0.0f, 1);
        reference::draw_overlay_dimming(locked_view(b), fc.format);
        ASSERT_TRUE(surfaces_equal(b, a));
    }
}

// Stars and sparks over many frames: pixels, rows and draws as the literal version.
TEST(StarsAndSparks, EqualTheLiteralVersionOverManyFrames) {
    for (const FormatCase& fc : all_formats()) {
        SCOPED_TRACE(fc.name);
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
            platform::Surface sa = random_picture(fc.bits, frame), sb = sa;
            engine::draw_sparks(a, locked_view(sa), fc.format, rng_a);
            engine::draw_stars(a, locked_view(sa), fc.format, rng_a);
            reference::draw_sparks(b, locked_view(sb), fc.format, rng_b);
            reference::draw_stars(b, locked_view(sb), fc.format, rng_b);
            ASSERT_TRUE(surfaces_equal(sb, sa)) << "frame " << frame;
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
        platform::Surface s = grey_888(100);
        const platform::Surface before = s;
        engine::draw_sparks(state, locked_view(s), platform::format_888(), rng);
        if (frame >= 4) {
            EXPECT_TRUE(surfaces_equal(before, s)) << frame;  // x0 = 600 + 10.9 frame >= 640
        }
        EXPECT_EQ(frame + 1, state.sparks[0].age);
    }
    EXPECT_EQ(1u, rng.state);  // never renewed so far
}

// Brightness 0.4: the centre gains 1.4, the sides exactly 1.2, the corners
// nothing (also where a 5-6-5 pixel would show a one-step loss).
TEST(Sparks, CornersKeepTheirLightAndSidesGainExactlyAFifth) {
    for (const FormatCase& fc : {all_formats()[0], all_formats()[2]}) {
        engine::EngineState state;
        state.spark_count = 1;
        state.sparks[0] = engine::Spark{100, 100, 0, 0, 26, 0};
        platform::Surface s = random_picture(fc.bits, 1);
        const platform::LockedSurface view = locked_view(s);
        for (int i = 0; i < 9; ++i) platform::write_pixel(fc.format, 200, 200, 200, view.at(100 + i % 3, 100 + i / 3), fc.bits / 8);
        Random rng;
        engine::draw_sparks(state, view, fc.format, rng);
        for (int i = 0; i < 9; ++i) {
            uint32_t r = 0, g = 0, b = 0;
            platform::read_pixel(fc.format, view.at(100 + i % 3, 100 + i / 3), fc.bits / 8, r, g, b);
            const int sides = (i % 3 != 1) + (i / 3 != 1);  // 255 narrowed to 5 bits reads 248
            const uint32_t expected = sides == 2 ? 200u : sides == 1 ? 240u : fc.bits == 16 ? 248u : 255u;
            EXPECT_TRUE(r == expected && b == expected) << fc.name << " pixel " << i << ": " << r << "," << b;
        }
    }
}

TEST(Stars, APeakOfOneHoldsThenRenewsInTheFirstFrameAfter) {
    engine::EngineState state;
    state.star_count = 1;
    state.stars[0] = engine::Star{100, 100, 1.0f, 1.0f, 0.01f, 3, 0};
    Random rng;
    for (int frame = 0; frame < 3; ++frame) {
        platform::Surface s = grey_888(100);
        engine::draw_stars(state, locked_view(s), platform::format_888(), rng);
        EXPECT_EQ(100u, red_at(s, 102, 102));                    // factor 1.0 in red
        EXPECT_EQ(106u, s.pixels[102 * s.pitch + 102 * 3 + 1]);  // and 1.06 in green
        EXPECT_EQ(1.0f, state.stars[0].brightness);
        EXPECT_EQ(1u, rng.state) << frame;
    }
    platform::Surface s = grey_888(100);
    engine::draw_stars(state, locked_view(s), platform::format_888(), rng);
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
        platform::Surface s = grey_888(100);
        engine::draw_sac_refractions(state, *header, locked_view(s), platform::format_888());
        for (int k = 0; k < 10; ++k)
            EXPECT_EQ(c.drawn[k] == 'x' ? 150u : 100u, red_at(s, 10 + k, 10))
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
    for (const FormatCase& fc : all_formats()) {
        for (int movement = 0; movement <= 4; ++movement) {
            SCOPED_TRACE(std::string(fc.name) + " movement " + std::to_string(movement));
            engine::EngineState state;
            state.eye_movement = movement;
            platform::Surface a = random_picture(fc.bits, movement), b = a;
            engine::draw_sac_refractions(state, *header, locked_view(a), fc.format);
            reference::draw_sac_refractions(state, *header, locked_view(b), fc.format);
            ASSERT_TRUE(surfaces_equal(b, a));
        }
    }
}

}  // namespace
