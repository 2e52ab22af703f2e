// compose_frame_test.cpp -- the frame order, its switches and the scene reset, against the literal version.
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

// The engine's surroundings: a vision document, a display with a back
// surface in one format, the pictures and the generator.
struct Rig {
    std::unique_ptr<vision::Document> doc = std::make_unique<vision::Document>();
    platform::Display display;
    platform::Pictures pictures;
    Random rng;
    engine::EngineState state;
    engine::FrameView view;  // the eye open, no overlay

    explicit Rig(const FormatCase& fc) {
        display.format = fc.format;
        platform::create_surface(display.back, 640, 480, fc.bits);
    }
    engine::EngineContext context() { return {*doc, display, pictures, rng}; }
    void compose() { engine::compose_frame(state, context(), view); }
    const uint8_t* grey() const { return pictures.grey_map.empty() ? nullptr : pictures.grey_map.data(); }
};

void all_switches(engine::EngineState& s, int on) {
    s.floaters_active = s.sparks_active = s.stars_active = s.sac_refractions_active = on;
    s.flashes_active = s.cataracts_active = s.retina_shadow_active = s.sunglasses_active = on;
}

TEST(ComposeFrame, EverythingOffLeavesTheSurfaceUnchanged) {
    for (const FormatCase& fc : all_formats()) {
        SCOPED_TRACE(fc.name);
        Rig rig(fc);
        rig.state.simulation_started = 1;
        all_switches(rig.state, 0);
                std::mt19937 gen(1);
        engine_fixtures::random_particles(rig.state, gen, 500);
        rig.display.back = random_picture(fc.bits, 7);
        const platform::Surface before = rig.display.back;
        const uint32_t rng_before = rig.rng.state;
        rig.compose();
        EXPECT_TRUE(surfaces_equal(before, rig.display.back));
        EXPECT_EQ(rng_before, rig.rng.state);
    }
}

TEST(ComposeFrame, IntroPhaseHonoursNoSwitchButTheFlashStillDraws) {
    for (const FormatCase& fc : all_formats()) {
        SCOPED_TRACE(fc.name);
        Rig rig(fc);
        rig.state.simulation_started = 0;
        all_switches(rig.state, 1);
        rig.doc->header.blood_cells_on = 1;
                std::mt19937 gen(2);
        engine_fixtures::random_particles(rig.state, gen, 500);
        rig.pictures.grey_map = engine_fixtures::random_grey_map(3);
        rig.display.back = random_picture(fc.bits, 8);
        const platform::Surface before = rig.display.back;
        Random expected = rig.rng;
        expected.next();  // the flash's r mod 30
        rig.compose();
        EXPECT_TRUE(surfaces_equal(before, rig.display.back));
        EXPECT_EQ(expected.state, rig.rng.state);

        // With the lid closed the whole screen goes nearly black, as the lids alone make it.
        rig.view.eyelid_position = 480;
        platform::Surface lids = before;
        reference::draw_eyelids(locked_view(lids), fc.format, 480, 100);
        rig.display.back = before;
        rig.compose();
        EXPECT_TRUE(surfaces_equal(lids, rig.display.back));
    }
}

TEST(ComposeFrame, NothingHappensWhenTheBackSurfaceCannotBeLocked) {
    Rig rig(all_formats()[0]);
    rig.state.simulation_started = 1;
    all_switches(rig.state, 1);
    rig.view.overlay_dimmed = 1;
    engine::rebuild_engine_tables(rig.state, *rig.doc, rig.rng);
    rig.display.back = random_picture(16, 9);
    const platform::Surface before = rig.display.back;
    const engine::EngineState state_before = rig.state;
    const uint32_t rng_before = rig.rng.state;
    rig.display.back.locked = 1;
    rig.compose();
    EXPECT_TRUE(surfaces_equal(before, rig.display.back));
    EXPECT_EQ(rng_before, rig.rng.state);
    EXPECT_EQ("", state_difference(state_before, rig.state));
}

TEST(ComposeFrame, HelpScreenDimsAllButAOnePixelBorder) {
    Rig rig(all_formats()[2]);  // 24 bits
        rig.view.overlay_dimmed = 1;
    const platform::PixelFormat& f = rig.display.format;
    const platform::LockedSurface view = locked_view(rig.display.back);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) platform::write_pixel(f, 200, 100, 50, view.at(x, y), 3);
    rig.compose();
    struct Probe {
        int x, y;
        uint32_t r, g, b;
    };
    const Probe probes[] = {{0, 0, 200, 100, 50},   {639, 240, 200, 100, 50}, {320, 479, 200, 100, 50},
                            {320, 0, 200, 100, 50}, {1, 1, 60, 30, 5},         {638, 478, 60, 30, 5}};
    for (const Probe& p : probes) {
        uint32_t r = 0, g = 0, b = 0;
        platform::read_pixel(f, view.at(p.x, p.y), 3, r, g, b);
        EXPECT_EQ(p.r, r) << p.x << "," << p.y;
        EXPECT_EQ(p.g, g) << p.x << "," << p.y;
        EXPECT_EQ(p.b, b) << p.x << "," << p.y;
    }
}

// Random switches, strengths, particles, streaks, eyelid and overlays over
// many frames (with drift and pointer movement between them): every frame,
// the generator and the tables must equal the literal version's, also when
// the overlay dimming is done as a pass of its own after the frame.
TEST(ComposeFrame, EqualsTheLiteralFrameOverRandomStatesAndFrames) {
    for (const FormatCase& fc : all_formats()) {
        for (uint32_t seed = 1; seed <= 2; ++seed) {
            SCOPED_TRACE(std::string(fc.name) + " seed " + std::to_string(seed));
            Rig rig(fc);
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
            platform::Surface surface_b;

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
                rig.display.back = random_picture(fc.bits, seed * 100 + frame);
                surface_b = rig.display.back;
                engine::compose_frame(a, rig.context(), view);
                if (view.defer_overlay_dimming && view.overlay_dimmed) engine::apply_overlay_dimming(rig.display);
                reference::compose_frame(b, rig.doc->header, rig.view, locked_view(surface_b), fc.format, rig.grey(),
                                         rng_b);
                ASSERT_TRUE(surfaces_equal(surface_b, rig.display.back));
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
}

TEST(SceneReset, DefaultVisionAddsFifteenRandomFloatersAndAPersonalOneNone) {
    for (int default_vision : {1, 0}) {
        SCOPED_TRACE(default_vision);
        Rig rig(all_formats()[0]);
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
    Rig rig(all_formats()[0]);
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
    EXPECT_EQ(-1, rig.state.scene_picture);  // the document holds no picture
}

}  // namespace
