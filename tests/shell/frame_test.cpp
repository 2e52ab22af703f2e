// frame_test.cpp -- the intro, the start of the simulation, blinking, paint and the pointer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "shell_fixture.h"
#include "sim/shell/frame.h"
#include "reference/engine_fixtures.h"
#include "support/pixel_compare.h"

using namespace shell_testing;

namespace {

bool drew(const NullPlatform& p, const std::string& text) {
    for (const DrawnText& t : p.texts)
        if (t.text == text) return true;
    return false;
}

}  // namespace

TEST_F(ShellTest, IntroEyelidOpensBySixAFrameThenRests) {
    create();
    std::vector<int> positions;
    for (int tick = 0; tick < 81; ++tick) {
        shell::on_timer(*sim);
        positions.push_back(sim->eyelid_position);
    }
    // Frame 1 turns the lid round at 480, then it opens by 6 a frame.
    for (int k = 0; k < 81; ++k) ASSERT_EQ(positions[k], 480 - 6 * k) << "intro frame " << k + 1;
    EXPECT_EQ(sim->blink_state, 2);
    shell::on_timer(*sim);
    EXPECT_EQ(sim->eyelid_position, 0);
    EXPECT_EQ(sim->blink_state, 0);
    EXPECT_EQ(sim->engine.simulation_started, 0);
}

TEST_F(ShellTest, SimulationStartsOnThe201stTick) {
    create();
    for (int tick = 0; tick < 200; ++tick) shell::on_timer(*sim);
    EXPECT_EQ(sim->engine.simulation_started, 0);
    EXPECT_FALSE(drew(fake, "Press F1 or click any mouse button to get help"));  // no hint in the intro
    shell::on_timer(*sim);
    EXPECT_EQ(sim->engine.simulation_started, 1);
    EXPECT_STREQ(sim->status_text, "Starting simulator, please wait...");
    EXPECT_EQ(sim->status_visible, 1);
    EXPECT_TRUE(drew(fake, "Starting simulator, please wait..."));  // on screen before the reset
}

TEST_F(ShellTest, LeftClickEndsTheIntroAndTicksStopCounting) {
    intro();
    shell::on_left_button_down(*sim, 300, 200);
    EXPECT_EQ(sim->engine.simulation_started, 1);
    EXPECT_EQ(sim->view_x, 0);  // the click's position is not taken
    const int ticks = sim->intro_ticks;
    for (int i = 0; i < 3; ++i) shell::on_timer(*sim);
    EXPECT_EQ(sim->intro_ticks, ticks);
    // While busy a click does not start anything.
    NullPlatform p;
    auto s = std::make_unique<shell::Simulator>(p);
    s->busy = 1;
    shell::on_left_button_down(*s, 1, 1);
    EXPECT_EQ(s->engine.simulation_started, 0);
}

TEST_F(ShellTest, RequestedBlinkClosesTurnsAndOpens) {
    simulation();
    sim->blink_state = 0;
    sim->eyelid_position = 0;
    sim->auto_blink_interval = 0;
    shell::on_timer(*sim);
    EXPECT_EQ(sim->eyelid_position, 0);  // idle without automatic blinks
    shell::on_key_down(*sim, ' ');
    EXPECT_EQ(sim->blink_state, 3);
    const int expected[] = {128, 256, 384, 384, 256, 128, 0};
    for (int expect : expected) {
        shell::on_timer(*sim);
        ASSERT_EQ(sim->eyelid_position, expect);
    }
    EXPECT_NE(sim->blink_state, 0);
    shell::on_timer(*sim);
    EXPECT_EQ(sim->blink_state, 0);
    EXPECT_EQ(sim->last_blink_time, fake.clock);
}

TEST_F(ShellTest, AutomaticBlinksWaitForTheIntervalThenDrawOncePerFrame) {
    simulation();
    sim->blink_state = 0;
    sim->eyelid_position = 0;
    sim->auto_blink_interval = 4;
    sim->last_blink_time = static_cast<int>(fake.clock);
    fake.clock += 4;  // not yet greater than last + 4
    const uint32_t before = sim->random.state;
    for (int i = 0; i < 300; ++i) shell::on_timer(*sim);
    EXPECT_EQ(sim->blink_state, 0);
    EXPECT_EQ(sim->random.state, before);  // no draw before the interval has passed

    fake.clock += 1;
    Random mirror = sim->random;
    int frames = 0;
    while (sim->blink_state == 0 && frames < 5000) {
        shell::on_timer(*sim);
        ++frames;
    }
    int expected_frames = 1;
    while (mirror.next() % 100 != 0) ++expected_frames;
    EXPECT_EQ(frames, expected_frames);
    EXPECT_EQ(sim->blink_state, 1);
    EXPECT_EQ(sim->eyelid_position, 128);
    EXPECT_EQ(sim->last_blink_time, fake.clock);
}

TEST_F(ShellTest, PaintWhileBusyDrawsNothing) {
    simulation();
    sim->busy = 1;
    const int presents = fake.presents;
    shell::on_paint(*sim);
    EXPECT_EQ(fake.presents, presents);
    EXPECT_TRUE(fake.texts.empty());
    sim->busy = 0;
    shell::on_paint(*sim);
    EXPECT_EQ(fake.presents, presents + 1);
}

TEST_F(ShellTest, RightClickInTheIntroShowsHelpInTheFirstSimulationFrame) {
    create();
    shell::on_timer(*sim);
    shell::on_right_button_down(*sim, 5, 5);
    EXPECT_EQ(sim->help_visible, 1);
    sim->intro_ticks = 190;  // counting to the start is proven elsewhere
    for (int tick = 191; tick <= 201; ++tick) shell::on_timer(*sim);
    EXPECT_FALSE(drew(fake, "Vitrion Simulator v2.0 Help"));  // intro frames draw no overlay text
    EXPECT_EQ(sim->engine.simulation_started, 1);
    shell::on_timer(*sim);
    EXPECT_TRUE(drew(fake, "Vitrion Simulator v2.0 Help"));
    EXPECT_EQ(sim->help_seen, 1);
}

TEST_F(ShellTest, PointerPansAndIsIgnoredWhileBusyOrInTheIntro) {
    intro();
    shell::on_mouse_move(*sim, 100, 50);
    EXPECT_EQ(sim->view_x, 0);
    shell::on_left_button_down(*sim, 0, 0);
    shell::on_mouse_move(*sim, 100, 50);
    EXPECT_EQ(sim->view_x, 100);
    EXPECT_EQ(sim->view_y, 50);
    sim->busy = 1;
    shell::on_mouse_move(*sim, 7, 7);
    shell::on_left_button_up(*sim, 7, 7);
    shell::on_right_button_down(*sim, 7, 7);
    EXPECT_EQ(sim->view_x, 100);
    EXPECT_EQ(sim->help_visible, 0);
    sim->busy = 0;
    shell::on_left_button_down(*sim, 9, 8);  // records the position and toggles help
    EXPECT_EQ(sim->view_x, 9);
    EXPECT_EQ(sim->help_visible, 1);
    shell::on_left_button_up(*sim, 11, 12);
    EXPECT_EQ(sim->view_y, 12);
}

// Scene pictures of any size, the pointer at every corner: the window never
// leaves the picture, a picture smaller than the screen sits at the top-left
// on black, and no frame shows what the previous one left.
TEST_F(ShellTest, SceneWindowStaysInsidePicturesOfAnySize) {
    simulation();
    engine::EngineState& e = sim->engine;
    e.floaters_active = sim->eyelid_position = sim->blink_state = sim->auto_blink_interval = 0;
    const platform::Frame& frame = sim->frame;
    for (const auto& [w, h] : {std::pair{1280, 960}, {1024, 768}, {600, 400}}) {
        platform::DecodedPicture& picture = sim->pictures.scene;
        picture = engine_fixtures::random_rgb(w, w, h);
        platform::quantize_to_565(picture);
        platform::refresh_shown(sim->pictures);
        for (const auto& [px, py] : {std::pair{0, 0}, {639, 0}, {0, 479}, {639, 479}}) {
            shell::on_mouse_move(*sim, px, py);
            const int cx = std::min(px, std::max(0, w - 640)), cy = std::min(py, std::max(0, h - 480));
            for (uint16_t left_over : {0x0000, 0xA5A5}) {
                std::fill(sim->frame.pixels.begin(), sim->frame.pixels.end(), left_over);
                shell::frame_step(*sim);
                std::vector<uint16_t> expected(platform::frame_pixels, 0);
                for (int y = 0; y < std::min(h, 480); ++y)
                    for (int x = 0; x < std::min(w, 640); ++x) {
                        const uint8_t* c = &picture.rgb[(size_t(cy + y) * w + cx + x) * 3];
                        expected[y * 640 + x] = uint16_t((c[0] >> 3) << 11 | (c[1] >> 2) << 5 | c[2] >> 3);
                    }
                ASSERT_TRUE(expected == frame.pixels) << w << "x" << h << " pointer " << px << "," << py;
            }
        }
    }
}
