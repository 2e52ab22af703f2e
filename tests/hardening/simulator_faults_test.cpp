// simulator_faults_test.cpp -- the simulator on a fake platform under faults:
// vision files at and past every limit, a chosen file that vanishes, a
// capture where no file can be made.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstddef>
#include <filesystem>
#include <sstream>

#include "shell_fixture.h"
#include "sim/shell/keys.h"
#include "vision_at_limits.h"

using hardening::float_bits;
using hardening::header_field;
using hardening::LimitCase;
using hardening::Patch;
using hardening::record_field;
using hardening::streak_field;
using shell_testing::ShellTest;

namespace {

constexpr long slot_offset(int k) { return long(k * sizeof(vision::PictureSlot) + 256); }
constexpr long floater_count_at(int eye) { return long(offsetof(vision::Header, floater_count) + 4 * eye); }
constexpr int word_dot_count = 0, word_density = 1, word_size_x = 2, word_size_y = 3, word_transparency = 4,
              word_diffusion = 5, word_history = 6, word_movement_x = 7, word_movement_y = 8,
              word_points_offset = 9;

const int32_t nan_bits = float_bits(NAN), inf_bits = float_bits(INFINITY),
              minus_inf_bits = float_bits(-INFINITY), huge_bits = float_bits(1e30f),
              minus_huge_bits = float_bits(-1e30f);

// Every command key the simulator knows, and a few it does not.
const int every_key[] = {
    shell::key_f1, shell::key_f2, shell::key_f1, shell::key_f5, shell::key_f6, shell::key_f7,
    shell::key_space, '0', '1', '5', '9', 'M', 'M', 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K',
    'L', 'L', 'N', 'O', 'P', 'Q', 'R', 'S', 'T', 'U', 'V', 'W', 'X', 'Y', 'Z', shell::key_f8, shell::key_f3,
    shell::key_f4, 'L', 'M', 'P', 'O', shell::key_f3, 200, 0};

std::vector<LimitCase> limit_cases() {
    std::vector<LimitCase> cases;
    for (int32_t count : {100, 101, -1, INT_MAX, INT_MIN})
        cases.push_back({"floater_count", {{floater_count_at(0), count}, {floater_count_at(1), count}}});
    for (int32_t dots : {1024, 1025, -1, INT_MAX})
        cases.push_back({"dot_count", {{record_field(0, word_dot_count), dots}, {record_field(3, word_dot_count), dots}}});
    for (int32_t offset : {-1, INT_MAX, 0, 4, 545231})
        cases.push_back({"points_offset",
                         {{record_field(1, word_points_offset), offset}, {record_field(2, word_points_offset), offset}}});
    for (int32_t bits : {nan_bits, inf_bits, minus_inf_bits, huge_bits, minus_huge_bits})
        cases.push_back({"floats",
                         {{header_field(offsetof(vision::Header, cataract_clarity)), bits},
                          {header_field(offsetof(vision::Header, blood_cells_brightness)), bits},
                          {record_field(0, word_movement_x), bits},
                          {record_field(2, word_movement_y), bits},
                          {streak_field(0, offsetof(vision::Streak, brightness)), bits},
                          {streak_field(7, offsetof(vision::Streak, brightness)), bits}}});
    for (int32_t points : {6399, 6400, 6401, -1, INT_MAX})
        cases.push_back({"streak_point_count",
                         {{streak_field(0, offsetof(vision::Streak, point_count)), points},
                          {streak_field(9, offsetof(vision::Streak, point_count)), points},
                          {streak_field(3, offsetof(vision::Streak, when_seen)), points}}});
    for (int32_t value : {-1, INT_MAX, INT_MIN, 1001})
        cases.push_back({"strengths",
                         {{header_field(offsetof(vision::Header, myopia_dioptres)), value},
                          {header_field(offsetof(vision::Header, blood_cells_count)), value},
                          {header_field(offsetof(vision::Header, tint_red)), value},
                          {header_field(offsetof(vision::Header, tint_green)), value},
                          {header_field(offsetof(vision::Header, tint_blue)), int32_t(0u - uint32_t(value))}}});
    // Switches other than 0 and 1 count as off.
    for (int32_t value : {2, -1, INT_MAX})
        cases.push_back({"switches",
                         {{header_field(offsetof(vision::Header, myopia_on)), value},
                          {header_field(offsetof(vision::Header, sunglasses_on)), value},
                          {header_field(offsetof(vision::Header, cataracts_on)), value},
                          {header_field(offsetof(vision::Header, blood_cells_on)), value}}});
    for (int32_t value : {0, -1, INT_MAX, INT_MIN, 1000})
        cases.push_back({"record_words",
                         {{record_field(0, word_density), value}, {record_field(0, word_size_x), value},
                          {record_field(0, word_size_y), value}, {record_field(0, word_transparency), value},
                          {record_field(0, word_diffusion), value}, {record_field(0, word_history), value},
                          {record_field(3, word_density), value}, {record_field(3, word_diffusion), value}}});
    // Found by the simulator campaign: a record of 1,024 dots whose sizes
    // make every particle cover the screen; frames took seconds.
    for (int32_t transparency : {240, 0, 255})
        cases.push_back({"screen_sized_particles",
                         {{record_field(0, word_dot_count), 1024}, {record_field(0, word_size_x), 1982726312},
                          {record_field(0, word_size_y), 695608864}, {record_field(0, word_transparency), transparency},
                          {record_field(2, word_size_y), 695608864}}});
    for (int32_t offset : {-1, INT_MAX, 4, 600000000, 545232})
        cases.push_back({"picture_offsets",
                         {{slot_offset(0), offset}, {slot_offset(1), offset}, {slot_offset(2), offset},
                          {slot_offset(3), offset}}});
    return cases;
}

class VisionAtLimits : public shell_testing::ShellTest, public testing::WithParamInterface<LimitCase> {};

std::string describe(const LimitCase& c) {
    std::ostringstream text;
    hardening::PrintTo(c, &text);
    return text.str();
}

}  // namespace

// The file at its limits is both the default vision file (start-up, reset
// scene) and the personal one (F4); every key and a few pointer moves follow,
// with frames in between. The simulator must keep its counts inside the
// tables and keep running; the sanitizers watch every access.
TEST_P(VisionAtLimits, SimulatorKeepsRunningWithCountsInsideTheTables) {
    const LimitCase& c = GetParam();
    SCOPED_TRACE(describe(c));
    testing_support::TempDir pictures;
    const auto bytes = hardening::patched(hardening::base_vision_file(pictures.path()), c.patches);
    testing_support::write_file(folder.file("vitrion.dat"), bytes);
    testing_support::write_file(folder.file("mine.flt"), bytes);
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(folder.path().c_str()), 0);  // captures land in the test's folder

    simulation();
    EXPECT_EQ(hardening::broken_invariant(*sim), "") << "after the start";
    int step = 0;
    for (int key : every_key) {
        if (key == shell::key_f4) fake.file_answers = {folder.file("mine.flt")};
        shell::on_key_down(*sim, key);
        shell::on_mouse_move(*sim, (step * 97) % 640, (step * 53) % 480);
        if (++step % 4 == 0) shell::on_timer(*sim);
        ASSERT_EQ(hardening::broken_invariant(*sim), "") << "after key " << key;
    }
    shell::on_timer(*sim);
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_EQ(hardening::broken_invariant(*sim), "");
    EXPECT_EQ(fake.quit_requests, 0);
    EXPECT_EQ(fake.timer_period, 50);
    EXPECT_EQ(sim->busy, 0);
}

INSTANTIATE_TEST_SUITE_P(Fields, VisionAtLimits, testing::ValuesIn(limit_cases()),
                         [](const testing::TestParamInfo<LimitCase>& info) {
                             return std::string(info.param.name) + "_" + std::to_string(info.index);
                         });

namespace {

// A file dialog that deletes the chosen file before handing it over, as when
// the file vanishes between choosing and loading.
class VanishingChoice : public platform::NullPlatform {
public:
    int choose_file(const platform::FileRequest& request, char* path, int path_size) override {
        const int chosen = NullPlatform::choose_file(request, path, path_size);
        if (chosen == platform::file_chosen) std::filesystem::remove(path);
        return chosen;
    }
};

}  // namespace

TEST(SimulatorFaults, PersonalFileDeletedAfterChoosingKeepsTheDefaultVisionRunning) {
    VanishingChoice fake;
    auto sim = std::make_unique<shell::Simulator>(fake);
    testing_support::TempDir folder, pictures;
    const auto bytes = hardening::base_vision_file(pictures.path());
    testing_support::write_file(folder.file("vitrion.dat"), bytes);
    testing_support::write_file(folder.file("mine.flt"), bytes);
    shell::on_create(*sim);
    std::snprintf(sim->startup_directory, sizeof sim->startup_directory, "%s", folder.path().c_str());
    shell::on_timer(*sim);
    shell::on_left_button_down(*sim, 0, 0);
    ASSERT_EQ(sim->engine.simulation_started, 1);
    const int particles = sim->engine.particle_count;

    fake.file_answers = {folder.file("mine.flt")};
    shell::on_key_down(*sim, shell::key_f4);
    ASSERT_FALSE(std::filesystem::exists(folder.file("mine.flt")));
    // The default vision file is in use again: its path, its tint, its
    // floaters (with the random ones a default file adds) and a scene.
    EXPECT_EQ(sim->engine.default_vision_loaded, 1);
    EXPECT_EQ(std::string(sim->pictures.vision_path), folder.file("vitrion.dat"));
    EXPECT_EQ(sim->engine.glasses_red, 90);
    EXPECT_GT(sim->engine.particle_count, 0);
    EXPECT_NEAR(sim->engine.particle_count, particles, particles / 2 + 1);
    EXPECT_GT(sim->pictures.scene.width, 0);
    const int presents = fake.presents;
    for (int frame = 0; frame < 3; ++frame) shell::on_timer(*sim);
    EXPECT_EQ(fake.presents, presents + 3);
    EXPECT_EQ(fake.timer_period, 50);
    EXPECT_EQ(fake.quit_requests, 0);
    EXPECT_EQ(sim->busy, 0);
}

TEST_F(ShellTest, CaptureWhereNoFileCanBeMadeKeepsTheSimulatorRunning) {
    // /proc takes no new files, not even from root.
    simulation();
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir("/proc"), 0);
    fake.clock = 1700000999;
    const int presents = fake.presents;
    shell::on_key_down(*sim, shell::key_f8);
    shell::on_timer(*sim);
    shell::on_key_down(*sim, shell::key_f8);
    shell::on_timer(*sim);
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_FALSE(std::filesystem::exists("/proc/vitrion_capture_1700000999.jpg"));
    EXPECT_EQ(fake.presents, presents + 2);
    EXPECT_EQ(fake.quit_requests, 0);
    EXPECT_EQ(fake.timer_period, 50);
}

// Pictures are decoded from the vision file when needed: once it is gone,
// a scene change keeps the picture on screen, a reload of the default file
// keeps the settings and leaves no scene picture; frames go on throughout.
TEST(SimulatorFaults, VisionFileRemovedWhileRunningKeepsRunning) {
    platform::NullPlatform fake;
    auto sim = std::make_unique<shell::Simulator>(fake);
    testing_support::TempDir folder, pictures;
    testing_support::write_file(folder.file("vitrion.dat"), hardening::base_vision_file(pictures.path()));
    shell::on_create(*sim);
    std::snprintf(sim->startup_directory, sizeof sim->startup_directory, "%s", folder.path().c_str());
    shell::on_timer(*sim);
    shell::on_left_button_down(*sim, 0, 0);
    ASSERT_EQ(sim->engine.simulation_started, 1);
    ASSERT_GT(sim->pictures.scene.width, 0);
    const std::vector<uint8_t> scene_pixels = sim->pictures.scene.rgb;

    std::filesystem::remove(folder.file("vitrion.dat"));
    shell::on_key_down(*sim, 'L');
    shell::on_timer(*sim);
    EXPECT_EQ(sim->pictures.scene.rgb, scene_pixels) << "the scene picture stays as it was";
    shell::on_key_down(*sim, '3');  // a myopic blur works from the kept scene
    shell::on_timer(*sim);
    EXPECT_EQ(sim->myopia_active, 1);

    int presents = fake.presents;
    shell::on_key_down(*sim, shell::key_f3);
    EXPECT_EQ(sim->engine.glasses_red, 90) << "the settings read before stay";
    EXPECT_EQ(sim->pictures.scene.width, 0);
    for (int key : {int('L'), int('M'), int('5')}) {
        shell::on_key_down(*sim, key);
        shell::on_timer(*sim);
    }
    EXPECT_GE(fake.presents, presents + 3);
    EXPECT_EQ(hardening::broken_invariant(*sim), "");
    EXPECT_EQ(fake.quit_requests, 0);
    EXPECT_EQ(fake.timer_period, 50);
}
