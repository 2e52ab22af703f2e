// command_line_test.cpp -- vitrion_sim's arguments: parsing, and a file given
// on the command line loaded frame for frame as F4 loads it, failures included.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "shell_fixture.h"
#include "sim/shell/command_line.h"
#include "sim/shell/keys.h"
#include "visionfile/reader.h"
#include "visionfile/writer.h"

using shell_testing::NullPlatform;
using shell_testing::ShellTest;

namespace {

int parse(std::vector<const char*> args, shell::SimCommandLine& line, std::string* error = nullptr) {
    args.insert(args.begin(), "vitrion_sim");
    char text[256] = {};
    const int ok = shell::parse_sim_command_line(int(args.size()), args.data(), line, text, sizeof text);
    if (error) *error = text;
    return ok;
}

TEST(SimCommandLine, OptionsFileAndMistakes) {
    shell::SimCommandLine line;
    ASSERT_EQ(parse({}, line), 1);
    EXPECT_EQ(line.no_intro, 0);
    EXPECT_STREQ(line.file, "");

    ASSERT_EQ(parse({"--no-intro", "/v/mine.flt"}, line), 1);
    EXPECT_EQ(line.no_intro, 1);
    EXPECT_STREQ(line.file, "/v/mine.flt");

    // A relative file names the working directory's; after "--" a name
    // starting with '-' is a file.
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(parse({"--", "-odd.flt"}, line), 1);
    EXPECT_EQ(std::string(line.file), std::string(here) + "/-odd.flt");
    EXPECT_EQ(line.no_intro, 0);

    std::string error;
    EXPECT_EQ(parse({"--intro"}, line, &error), 0);
    EXPECT_NE(error.find("--intro"), std::string::npos);
    EXPECT_EQ(parse({"a.flt", "b.flt"}, line, &error), 0);
    EXPECT_NE(error.find("b.flt"), std::string::npos);
    const std::string long_name(5000, 'x');
    EXPECT_EQ(parse({long_name.c_str()}, line, &error), 0);
    EXPECT_STREQ(line.file, "");
    ASSERT_EQ(parse({"--help"}, line), 1);
    EXPECT_EQ(line.help, 1);
}

// Two simulators side by side in one start-up folder holding the build's
// default vision, and a personal vision with floaters, sunglasses and a scene
// picture of its own.
class SimCommandLineRun : public ShellTest {
protected:
    NullPlatform other_fake;
    std::unique_ptr<shell::Simulator> other = std::make_unique<shell::Simulator>(other_fake);
    std::string personal;

    void SetUp() override {
        if (!use_default_vision()) GTEST_SKIP() << "the build made no default vision";
        auto defaults = std::make_unique<vision::Document>();
        ASSERT_EQ(vision::read_vision_file(*defaults, folder.file("vitrion.dat").c_str()), 1);
        // A scene picture: the default vision's first one, cut out of it.
        const auto bytes = testing_support::read_file(folder.file("vitrion.dat"));
        const long from = defaults->header.slots[0].picture_offset;
        const long to = defaults->header.slots[1].picture_offset;
        ASSERT_GT(to, from);
        testing_support::write_file(folder.file("scene.jpg"),
                                    std::vector<unsigned char>(bytes.begin() + from, bytes.begin() + to));

        auto doc = std::make_unique<vision::Document>();
        vision::reset_to_new_document(*doc);
        std::snprintf(doc->header.slots[0].picture_path, sizeof doc->header.slots[0].picture_path, "%s",
                      folder.file("scene.jpg").c_str());
        doc->header.sunglasses_on = 1;
        doc->header.tint_red = 200;
        vision::FloaterRecord& floater = doc->records[0][0];
        floater.dot_count = 40;
        for (int i = 0; i < floater.dot_count; ++i) {
            doc->x[0][0][i] = 300 + 3 * i;
            doc->y[0][0][i] = 200 + i;
        }
        personal = folder.file("mine.flt");
        ASSERT_EQ(vision::write_vision_file(*doc, personal.c_str()), 1);
    }

    // Start-up for `s`, in the test's start-up folder.
    void create_in_folder(shell::Simulator& s) {
        shell::on_create(s);
        std::snprintf(s.startup_directory, sizeof s.startup_directory, "%s", folder.path().c_str());
    }

    // Both run `ticks` more frames; every frame and the particles must match.
    void expect_same_frames(int ticks) {
        for (int t = 0; t < ticks; ++t) {
            shell::on_timer(*sim);
            shell::on_timer(*other);
            ASSERT_EQ(sim->frame.pixels, other->frame.pixels) << "frame " << t;
            ASSERT_EQ(sim->engine.particle_count, other->engine.particle_count);
        }
    }

    void start_with_file(shell::Simulator& s, const std::string& file, int no_intro) {
        shell::SimCommandLine line;
        line.no_intro = no_intro;
        std::snprintf(line.file, sizeof line.file, "%s", file.c_str());
        shell::apply_sim_command_line(s, line);
        create_in_folder(s);
    }

    // The other simulator as a person starts it: bare, a click after the
    // first tick, F4 choosing `file`.
    void start_bare_and_press_f4(const std::string& file) {
        create_in_folder(*other);
        shell::on_timer(*other);
        shell::on_left_button_down(*other, 0, 0);
        other_fake.file_answers = {file};
        shell::on_key_down(*other, shell::key_f4);
    }
};

TEST_F(SimCommandLineRun, FileWithoutIntroGivesTheFramesOfAClickAndF4) {
    start_with_file(*sim, personal, 1);
    shell::on_timer(*sim);  // the first tick starts the simulation and loads the file
    ASSERT_EQ(sim->engine.simulation_started, 1);
    EXPECT_EQ(sim->engine.default_vision_loaded, 0);
    EXPECT_STREQ(sim->pictures.vision_path, personal.c_str());
    EXPECT_GT(sim->engine.particle_count, 0);
    EXPECT_EQ(sim->busy, 0);
    EXPECT_EQ(fake.timer_period, 50);

    start_bare_and_press_f4(personal);
    ASSERT_EQ(other->engine.default_vision_loaded, 0);
    expect_same_frames(30);
    // F4 afterwards opens where the command line's file lies.
    shell::on_key_down(*sim, shell::key_f4);
    ASSERT_EQ(fake.dialogs.size(), 1u);
    EXPECT_EQ(fake.dialogs[0].initial_directory, folder.path());
}

TEST_F(SimCommandLineRun, FileWithIntroIsLoadedOnceTheSimulationStarts) {
    start_with_file(*sim, personal, 0);
    for (int t = 0; t <= shell::intro_ticks_before_start; ++t) {
        shell::on_timer(*sim);
        if (sim->engine.simulation_started) break;
        ASSERT_EQ(sim->engine.default_vision_loaded, 1) << "tick " << t;
    }
    ASSERT_EQ(sim->engine.simulation_started, 1);
    EXPECT_EQ(sim->intro_ticks, shell::intro_ticks_before_start + 1);
    EXPECT_EQ(sim->engine.default_vision_loaded, 0);
    // F3 still gives the default vision, and a later start loads nothing.
    shell::on_key_down(*sim, shell::key_f3);
    EXPECT_EQ(sim->engine.default_vision_loaded, 1);
    EXPECT_STREQ(sim->startup_file, "");
}

TEST_F(SimCommandLineRun, MissingUnreadableOrDamagedFileKeepsTheDefaultAsF4Does) {
    const std::string damaged = folder.file("damaged.flt");
    testing_support::write_file(damaged, std::vector<unsigned char>(1000, 0x41));
    const std::string locked = folder.file("locked.flt");
    std::filesystem::copy_file(personal, locked);
    ASSERT_EQ(chmod(locked.c_str(), 0), 0);
    std::vector<std::pair<std::string, std::string>> cases = {
        {folder.file("gone.flt"), "No such file or directory"},
        {damaged, "damaged or not a vision file"},
        {folder.path(), "Is a directory"},
    };
    if (geteuid() != 0) cases.push_back({locked, "Permission denied"});  // root reads it anyway

    auto defaults = std::make_unique<vision::Document>();
    ASSERT_EQ(vision::read_vision_file(*defaults, folder.file("vitrion.dat").c_str()), 1);
    for (const auto& [file, reason] : cases) {
        fake = NullPlatform{};
        other_fake = NullPlatform{};
        sim = std::make_unique<shell::Simulator>(fake);
        other = std::make_unique<shell::Simulator>(other_fake);

        testing::internal::CaptureStderr();
        start_with_file(*sim, file, 1);
        shell::on_timer(*sim);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("vitrion_sim: cannot read vision file " + file + ": " + reason, 0), 0u) << said;
        EXPECT_EQ(sim->engine.default_vision_loaded, 1) << file;
        EXPECT_EQ(std::memcmp(&sim->document.header, &defaults->header, sizeof defaults->header), 0) << file;
        EXPECT_EQ(fake.quit_requests, 0);
        ASSERT_EQ(fake.messages.size(), 1u) << file;
        EXPECT_NE(fake.messages[0].text.find(file + "\n\n" + reason), std::string::npos) << fake.messages[0].text;

        testing::internal::CaptureStderr();
        start_bare_and_press_f4(file);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), said);
        expect_same_frames(5);
    }
}

}  // namespace
