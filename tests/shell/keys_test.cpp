// keys_test.cpp -- the key table: texts, limits, header flags, F3/F4/F8 and a long random hammering.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "shell_fixture.h"
#include "sim/shell/keys.h"
#include "visionfile/writer.h"

using namespace shell_testing;

namespace {

void press(shell::Simulator& s, int key) { shell::on_key_down(s, key); }

}  // namespace

TEST_F(ShellTest, AdjustingKeysClampOrWrapAndReportExactly) {
    simulation();
    enable_every_effect();
    engine::EngineState& e = sim->engine;
    struct Case {
        const char* what;
        std::function<void()> prepare;
        int key;
        const char* text;
        std::function<bool()> holds;
    } cases[] = {
        {"E wraps", [&] { e.glasses_red = 248; }, 'E', "Changing sun glasses color red to 0",
         [&] { return e.glasses_red == 0; }},
        {"E after wrap", [] {}, 'E', "Changing sun glasses color red to 8",
         [&] { return e.glasses_red == 8; }},
        {"R", [&] { e.glasses_green = 128; }, 'R', "Changing sun glasses color green to 136",
         [&] { return e.glasses_green == 136; }},
        {"T", [&] { e.glasses_blue = 255; }, 'T', "Changing sun glasses color blue to 0",
         [&] { return e.glasses_blue == 0; }},
        {"P to max", [&] { e.blood_cell_count = 995; }, 'P', "Incrementing blood cells to: MAX(1000)",
         [&] { return e.blood_cell_count == 1000; }},
        {"P at max", [] {}, 'P', "Incrementing blood cells to: MAX(1000)",
         [&] { return e.blood_cell_count == 1000; }},
        {"P", [&] { e.blood_cell_count = 600; }, 'P', "Incrementing blood cells to: 610",
         [&] { return e.blood_cell_count == 610; }},
        {"O to min", [&] { e.blood_cell_count = 5; }, 'O', "Decrementing blood cells to: MIN(0)",
         [&] { return e.blood_cell_count == 0; }},
        {"O", [&] { e.blood_cell_count = 20; }, 'O', "Decrementing blood cells to: 10",
         [&] { return e.blood_cell_count == 10; }},
        {"I to max", [&] { e.blood_cell_brightness = 0.395f; }, 'I',
         "Incrementing blood cells bright to: MAX(0.400000)",
         [&] { return e.blood_cell_brightness == 0.4f; }},
        {"I", [&] { e.blood_cell_brightness = 0.08f; }, 'I', "Incrementing blood cells bright to: 0.090000",
         [&] { return e.blood_cell_brightness == static_cast<float>(double(0.08f) + 0.01); }},
        {"U to min", [&] { e.blood_cell_brightness = 0.005f; }, 'U',
         "Decrementing blood cells bright to: MIN(0.000000)",
         [&] { return e.blood_cell_brightness == 0.0f; }},
        {"B to min", [&] { e.cataract_clarity = 0.15f; e.cataracts_active = 0; }, 'B',
         "Incrementing cataracts", [&] { return e.cataract_clarity == 0.1f && e.cataracts_active == 1; }},
        {"V to max", [&] { e.cataract_clarity = 0.95f; }, 'V', "Decrementing cataracts",
         [&] { return e.cataract_clarity == 1.0f; }},
        {"F5", [] {}, shell::key_f5, "Both eyes", [&] { return e.eye_mode == 2; }},
        {"F6", [] {}, shell::key_f6, "Only LEFT eye", [&] { return e.eye_mode == 0; }},
        {"F7", [] {}, shell::key_f7, "Only RIGHT eye", [&] { return e.eye_mode == 1; }},
        {"Z off", [&] { sim->auto_blink_interval = 1; }, 'Z', "Auto blink OFF",
         [&] { return sim->auto_blink_interval == 0; }},
        {"Z on", [] {}, 'Z', "Auto blink ON", [&] { return sim->auto_blink_interval == 4; }},
        {"N off", [&] { e.floaters_active = 1; }, 'N', "Deactivating floaters",
         [&] { return e.floaters_active == 0; }},
        {"X on", [&] { e.sac_refractions_active = 0; }, 'X', "Aactivating sac refractions",
         [&] { return e.sac_refractions_active == 1; }},
        {"F on", [&] { e.flashes_active = 0; }, 'F', "Flashes at random times activateds",
         [&] { return e.flashes_active == 1; }},
        {"F off", [] {}, 'F', "Flashes deactivateds", [&] { return e.flashes_active == 0; }},
        {"W on", [&] { e.sunglasses_active = 0; }, 'W', "Sun glasses ON",
         [&] { return e.sunglasses_active == 1; }},
        {"Y on", [&] { e.retina_shadow_active = 0; }, 'Y', "Activating retina shadow",
         [&] { return e.retina_shadow_active == 1; }},
        {"C on", [&] { e.stars_active = 0; }, 'C', "Activating stars", [&] { return e.stars_active == 1; }},
        {"D on", [&] { e.sparks_active = 0; }, 'D', "Activating sparks", [&] { return e.sparks_active == 1; }},
        {"G off", [&] { e.cataracts_active = 1; }, 'G', "Deactivating cataracts",
         [&] { return e.cataracts_active == 0; }},
        {"digit 0", [] {}, '0', "Creating miopy: -10 diop., please wait...",
         [&] { return e.myopia_level == 10 && sim->myopia_active == 1; }},
        {"digit 7", [] {}, '7', "Creating miopy: -7 diop., please wait...",
         [&] { return e.myopia_level == 7; }},
        {"M off", [] {}, 'M', "Deactivating miopy, please wait...",
         [&] { return e.myopia_level == 0 && sim->myopia_active == 0; }},
        {"M on uses the file's dioptres", [] {}, 'M', "Creating miopy: -3 diop., please wait...",
         [&] { return e.myopia_level == 3 && sim->myopia_active == 1; }},
        {"L", [] {}, 'L', "Changing scene", [] { return true; }},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.prepare();
        sim->help_visible = 1;
        sim->status_visible = 0;
        press(*sim, c.key);
        EXPECT_STREQ(sim->status_text, c.text);
        EXPECT_EQ(sim->status_visible, 1);
        EXPECT_TRUE(c.holds());
        EXPECT_EQ(sim->help_visible, 0);
    }
}

TEST_F(ShellTest, EveryToggleReportsBothWaysAndSilentKeysStillHideHelp) {
    simulation();
    enable_every_effect();
    engine::EngineState& e = sim->engine;
    struct Toggle {
        int key;
        int* flag;
        const char* off_text;
        const char* on_text;
    } toggles[] = {
        {'N', &e.floaters_active, "Deactivating floaters", "Activating floaters"},
        {'Y', &e.retina_shadow_active, "Deactivating retina shadow", "Activating retina shadow"},
        {'W', &e.sunglasses_active, "Sun glasses OFF", "Sun glasses ON"},
        {'G', &e.cataracts_active, "Deactivating cataracts", "Activating cataracts"},
        {'F', &e.flashes_active, "Flashes deactivateds", "Flashes at random times activateds"},
        {'C', &e.stars_active, "Deactivating stars", "Activating stars"},
        {'X', &e.sac_refractions_active, "Deactivating sac refractions", "Aactivating sac refractions"},
        {'D', &e.sparks_active, "Deactivating sparks", "Activating sparks"},
    };
    for (const Toggle& t : toggles) {
        SCOPED_TRACE(static_cast<char>(t.key));
        *t.flag = 0;
        press(*sim, t.key);
        EXPECT_EQ(*t.flag, 1);
        EXPECT_STREQ(sim->status_text, t.on_text);
        sim->help_visible = 1;
        press(*sim, t.key);
        EXPECT_EQ(*t.flag, 0);
        EXPECT_STREQ(sim->status_text, t.off_text);
        EXPECT_EQ(sim->help_visible, 0);
    }

    // Keys that set no status text hide the help screen all the same.
    for (int key : {int(shell::key_space), int('A'), int('Q'), int(shell::key_f3)}) {
        sim->help_visible = 1;
        sim->status_visible = 0;
        press(*sim, key);
        EXPECT_EQ(sim->help_visible, 0) << key;
        EXPECT_EQ(sim->status_visible, 0) << key;
        if (key == shell::key_space) {
            EXPECT_EQ(sim->blink_state, 3);
        }
    }
}

TEST_F(ShellTest, EyelidAndFloaterKeys) {
    simulation();
    engine::EngineState& e = sim->engine;
    sim->eyelid_position = 476;
    press(*sim, 'A');
    EXPECT_EQ(sim->eyelid_position, 480);
    sim->eyelid_position = 3;
    press(*sim, 'Q');
    EXPECT_EQ(sim->eyelid_position, 0);

    e.floaters_active = 0;
    const int count = e.particle_count;
    const uint32_t state = sim->random.state;
    sim->status_visible = 0;
    press(*sim, 'K');  // floaters off: nothing, not even a draw
    EXPECT_EQ(e.particle_count, count);
    EXPECT_EQ(sim->random.state, state);
    EXPECT_EQ(sim->status_visible, 0);
    press(*sim, 'J');
    EXPECT_EQ(e.floaters_active, 1);
    EXPECT_GT(e.particle_count, count);
    EXPECT_EQ(std::string(sim->status_text), "Incrementing floaters to: " + std::to_string(e.particle_count));
    press(*sim, 'K');
    EXPECT_EQ(std::string(sim->status_text), "Decrementing floaters to: " + std::to_string(e.particle_count));
}

TEST_F(ShellTest, KeysOfEffectsTheFileLacksOnlyHideHelp) {
    simulation();  // every header flag 0
    engine::EngineState& e = sim->engine;
    const engine::EngineState before = e;
    for (char key : {'W', 'E', 'R', 'T', 'P', 'O', 'I', 'U', 'M', '1', '0', 'G', 'B', 'V', 'F', 'C',
                    'X', 'D', 'Y'}) {
        SCOPED_TRACE(static_cast<char>(key));
        sim->help_visible = 1;
        press(*sim, key);
        EXPECT_EQ(sim->help_visible, 0);
        EXPECT_EQ(sim->status_visible, 0);
    }
    EXPECT_EQ(e.glasses_red, before.glasses_red);
    EXPECT_EQ(e.blood_cell_count, before.blood_cell_count);
    EXPECT_EQ(e.cataracts_active, 0);
    EXPECT_EQ(sim->myopia_active, 0);
    // V needs the cataracts switched on as well.
    sim->document.header.cataracts_on = 1;
    e.cataract_clarity = 0.5f;
    press(*sim, 'V');
    EXPECT_EQ(e.cataract_clarity, 0.5f);
}

TEST_F(ShellTest, OverlayKeysAndKeysOutsideTheTable) {
    simulation();
    press(*sim, shell::key_f1);
    EXPECT_EQ(sim->help_visible, 1);
    press(*sim, shell::key_f2);
    EXPECT_EQ(sim->personal_info_visible, 1);
    EXPECT_EQ(sim->help_visible, 0);
    press(*sim, 'S');
    EXPECT_EQ(sim->about_visible, 1);
    EXPECT_EQ(sim->personal_info_visible, 0);
    press(*sim, shell::key_f1);
    EXPECT_EQ(sim->help_visible, 1);
    EXPECT_EQ(sim->about_visible, 0);
    // H, keypad digits (96..105) and other codes change nothing at all.
    for (int key : {int('H'), 96, 101, 105, 0, 255, 300, -1, 'A' + 256}) {
        press(*sim, key);
        EXPECT_EQ(sim->help_visible, 1) << key;
    }
}

TEST_F(ShellTest, KeysAreIgnoredInTheIntro) {
    intro();
    enable_every_effect();
    engine::EngineState& e = sim->engine;
    sim->help_visible = 1;
    const int eyelid = sim->eyelid_position;
    for (int key = 0; key < 256; ++key)
        if (key != shell::key_f3 && key != shell::key_f4) press(*sim, key);
    press(*sim, shell::key_f4);
    EXPECT_EQ(sim->help_visible, 1);
    EXPECT_EQ(sim->eyelid_position, eyelid);
    EXPECT_EQ(e.glasses_red, 128);
    EXPECT_EQ(sim->status_visible, 0);
    EXPECT_TRUE(fake.dialogs.empty());
    EXPECT_EQ(fake.quit_requests, 0);
}

TEST_F(ShellTest, CancelledVisionDialogOnlyHidesHelp) {
    simulation();
    engine::EngineState& e = sim->engine;
    sim->help_visible = 1;
    e.glasses_red = 40;
    const int timer_starts = fake.timer_starts;
    press(*sim, shell::key_f4);
    ASSERT_EQ(fake.dialogs.size(), 1u);
    const FileDialogCall& call = fake.dialogs[0];
    EXPECT_EQ(call.title, "Load Vitrion Vision File");
    EXPECT_EQ(call.filter, (std::vector<std::string>{"flt", "*.flt", "All files", "*.*"}));
    EXPECT_EQ(call.default_extension, "flt");
    EXPECT_EQ(call.initial_directory, folder.path());
    EXPECT_EQ(sim->help_visible, 0);
    EXPECT_EQ(e.glasses_red, 40);
    EXPECT_EQ(sim->busy, 0);
    EXPECT_EQ(fake.timer_period, 50);
    EXPECT_EQ(fake.timer_starts, timer_starts + 1);
}

TEST_F(ShellTest, ChosenVisionFileIsLoadedAndItsFolderRemembered) {
    simulation();
    testing_support::TempDir other;
    auto doc = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*doc);
    doc->header.sunglasses_on = 1;
    doc->header.tint_red = 16;
    const std::string path = other.file("mine.flt");
    ASSERT_EQ(vision::write_vision_file(*doc, path.c_str()), 1);

    fake.file_answers = {path, other.file("gone.flt")};
    press(*sim, shell::key_f4);
    EXPECT_EQ(sim->engine.default_vision_loaded, 0);
    EXPECT_STREQ(sim->pictures.vision_path, path.c_str());
    EXPECT_EQ(sim->engine.glasses_red, 16);
    EXPECT_EQ(sim->busy, 0);
    EXPECT_EQ(fake.timer_period, 50);

    // A file that vanished after it was chosen: the default stays in use.
    press(*sim, shell::key_f4);
    ASSERT_EQ(fake.dialogs.size(), 2u);
    EXPECT_EQ(fake.dialogs[1].initial_directory, other.path());
    EXPECT_EQ(sim->engine.default_vision_loaded, 1);
    EXPECT_EQ(fake.quit_requests, 0);
    EXPECT_EQ(fake.timer_period, 50);
}

TEST_F(ShellTest, CaptureKeyWritesAFileNamedByTheClockAndSurvivesFailure) {
    simulation();
    testing_support::TempDir work;
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(work.path().c_str()), 0);
    fake.clock = 1700000123;
    sim->help_visible = 1;
    press(*sim, shell::key_f8);
    const bool written = std::filesystem::exists(work.file("vitrion_capture_1700000123.jpg"));
    EXPECT_EQ(sim->help_visible, 1);  // F8 keeps the overlays
    std::filesystem::permissions(work.path(), std::filesystem::perms::owner_read |
                                                  std::filesystem::perms::owner_exec);
    fake.clock += 1;
    press(*sim, shell::key_f8);  // read-only folder: no file, the simulator carries on
    shell::on_timer(*sim);
    std::filesystem::permissions(work.path(), std::filesystem::perms::owner_all);
    ASSERT_EQ(chdir(old), 0);
    EXPECT_TRUE(written);
    EXPECT_EQ(fake.quit_requests, 0);
}

TEST_F(ShellTest, RandomKeysAndPointerEventsNeverBreakTheSimulator) {
    use_default_vision();  // with pictures when the build has made the file
    simulation();
    enable_every_effect();
    sim->document.header.comments[0] = 'x';
    fake.record_text = 0;
    Random script;
    script.seed(7);
    static const int keys[] = {'A', 'Q', 'Z', 'S', 'N', 'J', 'K', 'Y', 'W', 'E', 'R', 'T', 'P',
                               'O', 'I', 'U', 'G', 'B', 'V', 'F', 'C', 'X', 'D', ' ',
                               shell::key_f1, shell::key_f2, shell::key_f5, shell::key_f6,
                               shell::key_f7, 'H'};
    // Keys that decode pictures or rebuild the blur: rarer, they are slow.
    static const int heavy_keys[] = {shell::key_f3, shell::key_f4, 'L', '5', 'M'};
    const int key_count = sizeof keys / sizeof keys[0];
    for (int frame = 0; frame < 120; ++frame) {
        for (int event = 0; event < 10; ++event) {
            const int x = script.next_mod(2000) - 500;
            const int y = script.next_mod(2000) - 500;
            switch (script.next_mod(7)) {
                case 0: shell::on_mouse_move(*sim, x, y); break;
                case 1: shell::on_left_button_down(*sim, x, y); break;
                case 2: shell::on_left_button_up(*sim, x, y); break;
                case 3: shell::on_right_button_down(*sim, x, y); break;
                case 4:
                    if (script.next_mod(100) == 0) shell::on_paint(*sim);
                    break;
                default:
                    if (script.next_mod(60) == 0)
                        press(*sim, heavy_keys[script.next_mod(5)]);
                    else
                        press(*sim, keys[script.next_mod(key_count)]);
                    break;
            }
        }
        if (frame % 15 == 0) fake.clock += 1;
        shell::on_timer(*sim);
        ASSERT_GE(sim->engine.particle_count, 0);
        ASSERT_LE(sim->engine.particle_count, engine::particle_limit);
        ASSERT_GE(sim->eyelid_position, 0);
        ASSERT_LE(sim->eyelid_position, 480 + 340 + 128);
    }
    // Every slow command at least once, each followed by a frame.
    for (int key : heavy_keys) {
        press(*sim, key);
        shell::on_timer(*sim);
    }
    shell::on_paint(*sim);
    shell::on_timer(*sim);
    EXPECT_EQ(fake.quit_requests, 0);
    EXPECT_EQ(fake.timer_period, 50);
}
