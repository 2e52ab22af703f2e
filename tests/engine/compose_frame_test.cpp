// compose_frame_test.cpp -- the frame order, its switches, the full-screen passes and the scene reset, against the literal version.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <random>

#include "reference/engine_fixtures.h"
#include "reference/engine_reference.h"
#include "reference/optical_filters_reference.h"
#include "sim/engine/engine.h"
#include "sim/platform/null_platform.h"
#include "support/pixel_compare.h"

namespace {

using engine_fixtures::pixel;
using engine_fixtures::random_frame;
using engine_fixtures::Rgb;
using engine_fixtures::state_difference;
using testing_support::frames_equal;

// The engine's surroundings: a vision document, the frame, the pictures, a
// platform and the generator.
struct Rig {
    std::unique_ptr<vision::Document> doc = std::make_unique<vision::Document>();
    platform::Frame frame;
    platform::Pictures pictures;
    platform::NullPlatform screen;
    Random rng;
    engine::EngineState state;
    engine::FrameView view;  // the eye open, no overlay

    engine::EngineContext context() { return {*doc, frame, pictures, screen, rng}; }
    void compose() { engine::compose_frame(state, context(), view); }
    const uint8_t* grey() const { return pictures.grey_map.empty() ? nullptr : pictures.grey_map.data(); }
};

void all_switches(engine::EngineState& s, int on) {
    s.floaters_active = s.sparks_active = s.stars_active = s.sac_refractions_active = on;
    s.flashes_active = s.cataracts_active = s.retina_shadow_active = s.sunglasses_active = on;
}

TEST(ComposeFrame, EverythingOffLeavesTheFrameUnchanged) {
    Rig rig;
    rig.state.simulation_started = 1;
    all_switches(rig.state, 0);
    std::mt19937 gen(1);
    engine_fixtures::random_particles(rig.state, gen, 500);
    rig.frame = random_frame(7);
    const platform::Frame before = rig.frame;
    const uint32_t rng_before = rig.rng.state;
    rig.compose();
    EXPECT_TRUE(frames_equal(before, rig.frame));
    EXPECT_EQ(rng_before, rig.rng.state);
}

TEST(ComposeFrame, IntroPhaseHonoursNoSwitchButTheFlashStillDraws) {
    Rig rig;
    rig.state.simulation_started = 0;
    all_switches(rig.state, 1);
    rig.doc->header.blood_cells_on = 1;
    std::mt19937 gen(2);
    engine_fixtures::random_particles(rig.state, gen, 500);
    rig.pictures.grey_map = engine_fixtures::random_grey_map(3);
    rig.frame = random_frame(8);
    const platform::Frame before = rig.frame;
    Random expected = rig.rng;
    expected.next();  // the flash's r mod 30
    rig.compose();
    EXPECT_TRUE(frames_equal(before, rig.frame));
    EXPECT_EQ(expected.state, rig.rng.state);

    // With the lid closed the whole screen goes nearly black, as the lids alone make it.
    rig.view.eyelid_position = 480;
    platform::Frame lids = before;
    reference::draw_eyelids(lids, 480, 100);
    rig.frame = before;
    rig.compose();
    EXPECT_TRUE(frames_equal(lids, rig.frame));
}

TEST(ComposeFrame, HelpScreenDimsAllButAOnePixelBorder) {
    Rig rig;
    rig.view.overlay_dimmed = 1;
    std::fill(rig.frame.pixels.begin(), rig.frame.pixels.end(), platform::pack_565(200, 100, 50));
    rig.compose();
    struct Probe {
        int x, y;
        uint32_t r, g, b;
    };
    // 200, 100, 50 are stored as 200, 100, 48; dimmed they read 56, 28, 0.
    const Probe probes[] = {{0, 0, 200, 100, 48},   {639, 240, 200, 100, 48}, {320, 479, 200, 100, 48},
                            {320, 0, 200, 100, 48}, {1, 1, 56, 28, 0},         {638, 478, 56, 28, 0}};
    for (const Probe& p : probes) {
        const Rgb c = pixel(rig.frame, p.x, p.y);
        EXPECT_EQ(p.r, c.r) << p.x << "," << p.y;
        EXPECT_EQ(p.g, c.g) << p.x << "," << p.y;
        EXPECT_EQ(p.b, c.b) << p.x << "," << p.y;
    }
}

// One full-screen pass alone, switched on in a started frame, against its
// literal version: the cataract haze at clarities a file may hold, the
// sunglasses at tints outside 0..255, the retina shadow over every pixel
// value and dark pixels, the flash, and the dimming both in the frame and as
// the pass of its own that follows a frame composed without it.
TEST(ComposeFrame, EachFullScreenPassEqualsItsLiteralVersion) {
    Rig rig;
    rig.state.simulation_started = 1;
    all_switches(rig.state, 0);
    auto check = [&](const char* what, uint32_t seed, auto&& literal) {
        SCOPED_TRACE(what);
        rig.frame = random_frame(seed);
        platform::Frame expected = rig.frame;
        literal(expected);
        rig.compose();
        ASSERT_TRUE(frames_equal(expected, rig.frame));
    };
    rig.state.cataracts_active = 1;
    for (float clarity : {0.9f, 1.0f, 0.1f, 0.05f, 0.5f, 0.25f, 0.7f, 0.999f, 0.0f, -2.0f, 1.5f, 250.0f, std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::quiet_NaN()}) {
        rig.state.cataract_clarity = clarity;
        check("haze", 10, [&](platform::Frame& f) { reference::draw_cataract_haze(f, clarity); });
    }
    rig.state.cataracts_active = 0;
    rig.state.sunglasses_active = 1;
    struct Tint { int r, g, b; };
    for (Tint t : {Tint{128, 128, 128}, Tint{0, 255, 7}, Tint{-5, 300, 65536}}) {
        rig.state.glasses_red = t.r, rig.state.glasses_green = t.g, rig.state.glasses_blue = t.b;
        check("sunglasses", 30, [&](platform::Frame& f) { reference::draw_sunglasses(f, t.r, t.g, t.b); });
    }
    rig.state.sunglasses_active = 0;
    rig.state.retina_shadow_active = 1;
    rig.pictures.grey_map = engine_fixtures::random_grey_map(5);
    check("shadow", 50, [&](platform::Frame& f) { reference::draw_retina_shadow(f, rig.grey()); });
    {
        SCOPED_TRACE("shadow over every value and dark pixels");
        for (int i = 0; i < platform::frame_pixels; ++i) rig.frame.pixels[i] = uint16_t(i * 7 + (i >> 16));
        for (int i = 0; i < platform::frame_pixels; i += 2) rig.frame.pixels[i] &= 0x18E3;
        platform::Frame expected = rig.frame;
        reference::draw_retina_shadow(expected, rig.grey());
        rig.compose();
        ASSERT_TRUE(frames_equal(expected, rig.frame));
    }
    rig.state.retina_shadow_active = 0;
    rig.state.flashes_active = 1;
    // The flash lights when the frame's draw is divisible by 30.
    while (Random(rig.rng).next_mod(30) != 0) rig.rng.next();
    check("flash", 21, [&](platform::Frame& f) { reference::draw_flash(f, rig.state.flash_strength); });
    rig.state.flashes_active = 0;
    rig.view.overlay_dimmed = 1;
    check("dimming", 22, [&](platform::Frame& f) { reference::draw_overlay_dimming(f); });
    rig.view.defer_overlay_dimming = 1;
    rig.frame = random_frame(23);
    platform::Frame expected = rig.frame;
    reference::draw_overlay_dimming(expected);
    rig.compose();
    engine::apply_overlay_dimming(rig.frame);
    EXPECT_TRUE(frames_equal(expected, rig.frame));
}

// Random switches, strengths, particles, streaks, eyelid and overlays over
// many frames (with drift and pointer movement between them): every frame,
// the generator and the tables must equal the literal version's, also when
// the overlay dimming is done as a pass of its own after the frame.
TEST(ComposeFrame, EqualsTheLiteralFrameOverRandomStatesAndFrames) {
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Rig rig;
        std::mt19937 gen(seed);
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
        rig.rng.seed(seed * 977);
        rig.doc->header.blood_cells_on = 1;
        engine_fixtures::random_streaks(rig.doc->header, gen, 700);
        rig.pictures.grey_map = engine_fixtures::random_grey_map(seed);
        engine::EngineState& a = rig.state;
        a.simulation_started = 1;
        a.blood_cell_count = 300;
        engine::rebuild_engine_tables(a, *rig.doc, rig.rng);
        engine_fixtures::random_particles(a, gen, 3000);
        engine::EngineState b = a;
        Random rng_b = rig.rng;

        for (int frame = 0; frame < 8; ++frame) {
            SCOPED_TRACE("frame " + std::to_string(frame));
            for (engine::EngineState* s : {&a, &b}) {
                gen.seed(seed * 1000 + frame);
                s->floaters_active = pick(0, 3) > 0;
                s->cataracts_active = pick(0, 1);
                s->sparks_active = pick(0, 3) > 0;
                s->stars_active = pick(0, 3) > 0;
                s->sac_refractions_active = pick(0, 3) > 0;
                s->sunglasses_active = pick(0, 1);
                s->retina_shadow_active = pick(0, 1);
                s->flashes_active = pick(0, 3) > 0;
                rig.view.overlay_dimmed = pick(0, 3) == 0;
                s->simulation_started = pick(0, 7) > 0;
                s->eye_mode = pick(0, 2);
                rig.view.eyelid_position = pick(0, 3) == 0 ? pick(0, 480) : 0;
                s->cataract_clarity = pick(1, 12) / 10.0f;  // above 1 from files
                s->glasses_red = pick(0, 255);
                s->glasses_green = pick(0, 255);
                s->glasses_blue = pick(0, 255);
                s->eye_movement = pick(0, 4);
            }
            // Half the frames leave the overlay dimming for its own pass.
            engine::FrameView view = rig.view;
            view.defer_overlay_dimming = pick(0, 1);
            rig.frame = random_frame(seed * 100 + frame);
            platform::Frame literal = rig.frame;
            engine::compose_frame(a, rig.context(), view);
            if (view.defer_overlay_dimming && view.overlay_dimmed) engine::apply_overlay_dimming(rig.frame);
            reference::compose_frame(b, rig.doc->header, rig.view, literal, rig.grey(), rng_b);
            ASSERT_TRUE(frames_equal(literal, rig.frame));
            ASSERT_EQ(rng_b.state, rig.rng.state);
            ASSERT_EQ("", state_difference(b, a));

            engine::advance_floater_dots(a);
            reference::advance_floater_dots(b);
            const int px = pick(0, 639), py = pick(0, 479);
            engine::eye_movement_input(a, px, py);
            reference::eye_movement_input(b, px, py);
            ASSERT_EQ("", state_difference(b, a));
        }
    }
}

TEST(SceneReset, DefaultVisionAddsFifteenRandomFloatersAndAPersonalOneNone) {
    for (int default_vision : {1, 0}) {
        SCOPED_TRACE(default_vision);
        Rig rig;
        rig.state.default_vision_loaded = default_vision;
        rig.state.particle_count = 1234;  // emptied first
        engine::EngineState b = rig.state;
        Random rng_b = rig.rng;
        engine::rebuild_engine_tables(rig.state, *rig.doc, rig.rng);
        reference::rebuild_engine_tables(b, *rig.doc, rng_b);
        if (default_vision) {
            EXPECT_GE(rig.state.particle_count, 15 * 10);
            EXPECT_LE(rig.state.particle_count, 15 * 2009);
        } else {
            EXPECT_EQ(0, rig.state.particle_count);
        }
        EXPECT_EQ(rng_b.state, rig.rng.state);
        EXPECT_EQ("", state_difference(b, rig.state));
        for (int i = 0; i < rig.state.blood_cell_count; ++i) ASSERT_EQ(5, rig.state.blood_cells[i].trail_length);
    }
}

TEST(SceneReset, CopiesTheFileStrengthsAndKeepsTheSwitches) {
    Rig rig;
    vision::Header& h = rig.doc->header;
    h.tint_red = 10, h.tint_green = 20, h.tint_blue = 30;
    h.myopia_dioptres = 7;
    h.cataract_clarity = 0.5f;
    h.blood_cells_brightness = 0.25f;
    rig.state.sunglasses_active = 1;
    rig.state.default_vision_loaded = 0;
    const struct {
        int file_count, expected;
    } counts[] = {{400, 400}, {5000, 1000}, {-3, 0}};
    for (const auto& c : counts) {
        h.blood_cells_count = c.file_count;
        engine::reset_scene_from_vision_settings(rig.state, rig.context());
        EXPECT_EQ(c.expected, rig.state.blood_cell_count) << c.file_count;
    }
    EXPECT_EQ(10, rig.state.glasses_red);
    EXPECT_EQ(20, rig.state.glasses_green);
    EXPECT_EQ(30, rig.state.glasses_blue);
    EXPECT_EQ(7, rig.state.myopia_level);
    EXPECT_EQ(0.5f, rig.state.cataract_clarity);
    EXPECT_EQ(0.25f, rig.state.blood_cell_brightness);
    EXPECT_EQ(1, rig.state.sunglasses_active);
    EXPECT_EQ(0, rig.pictures.scene.width);  // the document holds no picture
}

}  // namespace
