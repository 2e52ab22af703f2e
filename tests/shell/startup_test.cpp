// startup_test.cpp -- window creation, sound failures, the first tick, display re-open and shutdown.
#include <gtest/gtest.h>

#include "common/trace.h"
#include "shell_fixture.h"
#include "sim/shell/frame.h"

using namespace shell_testing;

namespace {

std::vector<std::string> traced;
void capture_trace(const char* text) { traced.push_back(text); }

}  // namespace

TEST_F(ShellTest, SoundFailuresShowOneBoxAndDestroyTheWindow) {
    struct Case {
        int sound_ok, music_ok;
        const char* text;
    } cases[] = {
        {0, 1, "No pudo activarse DirectSound."},
        {1, 0, "No pudo activarse DirectMusic."},
        {0, 0, "No pudo activarse DirectMusic."},  // music replaces sound
    };
    for (const Case& c : cases) {
        NullPlatform p;
        p.sound_ok = c.sound_ok;
        p.music_ok = c.music_ok;
        auto s = std::make_unique<shell::Simulator>(p);
        traced.clear();
        trace::Sink old = trace::set_sink(capture_trace);
        EXPECT_EQ(shell::on_create(*s), 0);
        trace::set_sink(old);
        SCOPED_TRACE(testing::Message() << "sound " << c.sound_ok << " music " << c.music_ok);
        ASSERT_EQ(p.boxes.size(), 1u);
        EXPECT_EQ(p.boxes[0].text, c.text);
        EXPECT_EQ(p.boxes[0].caption, "Error iniciando");
        EXPECT_EQ(p.destroy_requests, 1);
        EXPECT_EQ(p.timer_starts, 0);
        EXPECT_EQ(p.cursor_visible, 1);
        EXPECT_EQ(traced.front(), "Arrancando DirectSound");
        if (!c.music_ok) {
            EXPECT_EQ(traced.back(), "ERROR: Arrancando DirectMusic");
        }
        // The destroy event then runs the shutdown: quit with code 0.
        shell::on_destroy(*s);
        EXPECT_EQ(p.quit_code, 0);
        EXPECT_EQ(p.sound_stops, 1);
    }
}

TEST_F(ShellTest, CreationSeedsHidesCursorAndStartsTheFrameTimer) {
    fake.clock = 1234567;
    create();
    EXPECT_EQ(sim->random.state, 1234567u);
    EXPECT_EQ(fake.cursor_visible, 0);
    EXPECT_EQ(fake.timer_running, 1);
    EXPECT_EQ(fake.last_timer_id, 555);
    EXPECT_EQ(fake.last_period, 50);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(sim->display.depth, 16);
}

TEST_F(ShellTest, DisplayFallsBackTo24BitsAndFailsWhenBothAreRefused) {
    fake.accept_16 = 0;
    create();
    EXPECT_EQ(sim->display.depth, 24);

    NullPlatform none;
    none.accept_16 = none.accept_24 = 0;
    auto s = std::make_unique<shell::Simulator>(none);
    ASSERT_EQ(shell::on_create(*s), 1);
    EXPECT_EQ(shell::open_display_at_startup(*s), 0);
    EXPECT_EQ(s->display.display_ready, 0);
}

TEST_F(ShellTest, MissingDefaultVisionStillReachesTheSimulation) {
    simulation();  // the fixture's folder has no vitrion.dat
    EXPECT_EQ(sim->engine.scene_picture, -1);
    const int presents = fake.presents;
    for (int i = 0; i < 5; ++i) shell::on_timer(*sim);
    EXPECT_EQ(fake.presents, presents + 5);
}

TEST_F(ShellTest, ActivationReopensOnlyAfterTheFirstTickAndNotOnClick) {
    create();
    const int sets = fake.mode_sets;
    shell::on_activate(*sim, 1);  // before the first tick
    EXPECT_EQ(fake.mode_sets, sets);
    shell::on_timer(*sim);
    shell::on_activate(*sim, 2);  // activated by a click
    EXPECT_EQ(fake.mode_sets, sets);
    shell::on_activate(*sim, 1);
    EXPECT_EQ(fake.mode_sets, sets + 1);
    EXPECT_EQ(sim->display.display_ready, 1);
}

TEST_F(ShellTest, ReopenFailureEndsThroughTheShutdown) {
    simulation();
    fake.accept_16 = fake.accept_24 = 0;
    EXPECT_EQ(shell::display_reopen(*sim), 0);
    EXPECT_EQ(fake.destroy_requests, 1);
    // Frames asked for meanwhile draw nothing and present nothing.
    const int presents = fake.presents;
    shell::on_timer(*sim);
    shell::on_paint(*sim);
    EXPECT_EQ(fake.presents, presents);
    shell::on_destroy(*sim);
    EXPECT_EQ(fake.quit_code, 0);
    EXPECT_EQ(fake.timer_running, 0);
}

TEST_F(ShellTest, EscapeReleaseDestroysTheWindowInEveryPhase) {
    create();
    shell::on_key_up(*sim, 27);
    EXPECT_EQ(fake.destroy_requests, 1);
    shell::on_key_up(*sim, 'A');
    EXPECT_EQ(fake.destroy_requests, 1);
}

TEST_F(ShellTest, ReopenInTheIntroDecodesTheIntroPictureAgain) {
    if (!use_default_vision()) GTEST_SKIP() << "the build made no vitrion.dat";
    intro();
    ASSERT_GE(sim->pictures.intro_picture, 0);
    shell::on_activate(*sim, 1);
    // The table was emptied: the intro picture is a fresh surface, not the
    // scene picture that reset scene made at the index it used to have.
    ASSERT_GE(sim->pictures.intro_picture, 0);
    EXPECT_NE(sim->pictures.intro_picture, sim->engine.scene_picture);
    EXPECT_FALSE(sim->display.pictures[sim->pictures.intro_picture].pixels.empty());
    shell::on_timer(*sim);
    EXPECT_EQ(sim->engine.simulation_started, 0);
}
