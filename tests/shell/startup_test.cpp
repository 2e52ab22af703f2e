// startup_test.cpp -- start-up, the first tick, a file chosen later, and the end.
#include <gtest/gtest.h>

#include "common/trace.h"
#include "shell_fixture.h"
#include "sim/shell/frame.h"
#include "sim/shell/keys.h"

using namespace shell_testing;

namespace {

std::vector<std::string> traced;
void capture_trace(const char* text) { traced.push_back(text); }

}  // namespace

TEST_F(ShellTest, CreationSeedsReportsTheSoundAndStartsTheFrameTimer) {
    fake.clock = 1234567;
    traced.clear();
    trace::Sink old = trace::set_sink(capture_trace);
    create();
    trace::set_sink(old);
    EXPECT_EQ(sim->random.state, 1234567u);
    EXPECT_EQ(fake.timer_period, 50);
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(traced, (std::vector<std::string>{"Arrancando DirectSound", "Arrancando DirectMusic"}));
}

TEST_F(ShellTest, MissingDefaultVisionStillReachesTheSimulation) {
    simulation();  // the fixture's folder has no vitrion.dat
    EXPECT_EQ(sim->pictures.scene.width, 0);
    const int presents = fake.presents;
    for (int i = 0; i < 5; ++i) shell::on_timer(*sim);
    EXPECT_EQ(fake.presents, presents + 5);
    // With no picture the frame is black but for the status line's hint.
    EXPECT_EQ(sim->frame.pixels[240 * 640 + 320], 0);
}

TEST_F(ShellTest, EscapeReleaseQuitsInEveryPhaseAndTheEndStopsTheTimer) {
    create();
    shell::on_key_up(*sim, shell::key_escape);
    EXPECT_EQ(fake.quit_requests, 1);
    shell::on_key_up(*sim, 'A');
    EXPECT_EQ(fake.quit_requests, 1);
    shell::on_destroy(*sim);
    EXPECT_EQ(fake.timer_period, 0);
}

// A file chooser that answers later (as a browser's does): F4 waits with the
// timer stopped and keys, pointer and paint ignored, then loads the answer;
// a cancelled answer ends the wait unchanged; a stray answer does nothing.
TEST_F(ShellTest, AFileChosenLaterIsLoadedWhenTheAnswerComes) {
    simulation();
    shell::on_file_chosen(*sim, "/nowhere.flt");  // nobody asked
    EXPECT_EQ(sim->busy, 0);

    fake.file_answers = {"?"};
    shell::on_key_down(*sim, shell::key_f4);
    EXPECT_EQ(sim->busy, 1);
    EXPECT_EQ(fake.timer_period, 0);
    const int presents = fake.presents;
    shell::on_paint(*sim);
    shell::on_key_down(*sim, shell::key_f4);  // ignored while waiting
    EXPECT_EQ(fake.presents, presents);
    EXPECT_EQ(fake.dialogs.size(), 1u);

    testing::internal::CaptureStderr();
    shell::on_file_chosen(*sim, folder.file("missing.flt").c_str());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("missing.flt"), std::string::npos) << said;
    EXPECT_EQ(sim->busy, 0);
    EXPECT_EQ(fake.timer_period, 50);
    EXPECT_EQ(std::string(sim->dialog_directory), folder.path());

    fake.file_answers = {"?"};
    shell::on_key_down(*sim, shell::key_f4);
    shell::on_file_chosen(*sim, nullptr);
    EXPECT_EQ(sim->busy, 0);
    EXPECT_EQ(fake.timer_period, 50);
    shell::on_file_chosen(*sim, nullptr);  // answered twice: the second is stray
    EXPECT_EQ(sim->busy, 0);
}
