// scene_sizes_test.cpp -- scenes of different sizes after L, F3 and F4, and a scene that will not decode.
//
// With the pointer at the bottom-right corner every frame pixel must come
// from the scene now shown, at the window the pointer asks for within that
// scene's own size, or be black where the scene has no pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/picture_fixtures.h"
#include "shell_fixture.h"
#include "sim/shell/frame.h"
#include "sim/shell/keys.h"
#include "visionfile/writer.h"

using namespace shell_testing;

namespace {

struct Size {
    int width, height;
};

// A camera's 1024 x 768 photo and a phone's 4032 x 3024 one as the
// simulator shows it (at a quarter), one after the other both ways.
constexpr std::pair<Size, Size> both_orders[] = {{{1024, 768}, {1008, 756}}, {{1008, 756}, {1024, 768}}};

// A scene picture as the independent reference decoder gives it.
using Scene = picture_fixtures::Reference;

class SceneSizesTest : public ShellTest {
protected:
    // A fresh simulator on a fresh fake, in the same start-up folder.
    void restart() {
        sim.reset();
        fake = NullPlatform{};
        sim = std::make_unique<shell::Simulator>(fake);
    }
    // Writes a vision file at `path` with a JPEG of sizes[k] in slot k (a
    // width of 0 leaves the slot empty, a negative one stores bytes that begin
    // as a JPEG but hold no picture) and returns the pictures by slot.
    std::vector<Scene> write_vision(const std::string& path, const std::vector<Size>& sizes) {
        auto doc = std::make_unique<vision::Document>();
        std::vector<Scene> scenes(sizes.size());
        for (size_t k = 0; k < sizes.size(); ++k) {
            if (sizes[k].width == 0) continue;
            const std::string file = path + ".slot" + std::to_string(k);
            // Starts as a JPEG does (the writer takes it) and holds no picture.
            picture_fixtures::Bytes bytes(200, 0x42);
            bytes[0] = 0xFF, bytes[1] = 0xD8, bytes[2] = 0xFF, bytes[3] = 0xE0;
            if (sizes[k].width > 0) {
                bytes = picture_fixtures::rgb_jpeg(sizes[k].width, sizes[k].height, int(k));
                scenes[k] = picture_fixtures::reference_decode(bytes);
            }
            testing_support::write_file(file, bytes);
            std::snprintf(doc->header.slots[k].picture_path, vision::path_size, "%s", file.c_str());
        }
        EXPECT_EQ(vision::write_vision_file(*doc, path.c_str()), 1);
        return scenes;
    }

    // One frame with nothing drawn over the scene and the pointer at the
    // bottom-right; then the frame pixels that are not what `scene` shows.
    int wrong_pixels(const Scene& scene, std::string& first_wrong) {
        sim->engine.floaters_active = 0;
        sim->eyelid_position = sim->blink_state = sim->auto_blink_interval = 0;
        sim->help_visible = 0;
        shell::on_mouse_move(*sim, 639, 479);
        std::fill(sim->frame.pixels.begin(), sim->frame.pixels.end(), uint16_t{0xA5A5});
        shell::frame_step(*sim);
        const Scene& p = scene;
        const int x0 = std::min(639, std::max(0, p.width - 640));
        const int y0 = std::min(479, std::max(0, p.height - 480));
        int wrong = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                uint16_t expected = 0;
                if (x < p.width && y < p.height) {
                    const uint8_t* rgb = &p.rgb[(size_t(y0 + y) * p.width + x0 + x) * 3];
                    expected = uint16_t((rgb[0] >> 3) << 11 | (rgb[1] >> 2) << 5 | rgb[2] >> 3);
                }
                if (sim->frame.pixels[y * 640 + x] == expected) continue;
                if (wrong++ == 0) first_wrong = std::to_string(x) + "," + std::to_string(y);
            }
        return wrong;
    }

    // Presses `key`, then expects the frame to show `scene` from `slot`.
    void press_and_expect(int key, const Scene& scene, int slot, const std::string& what) {
        shell::on_key_down(*sim, key);
        expect_shows(scene, slot, what.c_str());
    }

    void expect_shows(const Scene& scene, int slot, const char* after) {
        std::string first;
        EXPECT_EQ(sim->pictures.scene_slot, slot) << after;
        EXPECT_EQ(wrong_pixels(scene, first), 0)
            << after << ": scene of " << scene.width << " x " << scene.height
            << ", first wrong pixel at " << first;
    }
};

// L between two pictures a little apart in size, in both orders, and F3
// back to the first: the window reaches the bottom-right of the picture
// shown and nothing of the other one remains.
TEST_F(SceneSizesTest, NextSceneAndDefaultReloadShowOnlyTheCurrentPicture) {
    for (const auto& [first, second] : both_orders) {
        SCOPED_TRACE(std::to_string(first.width) + " then " + std::to_string(second.width));
        restart();
        const std::vector<Scene> scenes = write_vision(folder.file("vitrion.dat"), {first, second});
        simulation();
        expect_shows(scenes[0], 0, "start");
        press_and_expect(shell::key_letter('L'), scenes[1], 1, "L");
        press_and_expect(shell::key_letter('L'), scenes[0], 0, "L twice");
        shell::on_key_down(*sim, shell::key_letter('L'));
        press_and_expect(shell::key_f3, scenes[0], 0, "F3");
        press_and_expect(shell::key_letter('L'), scenes[1], 1, "L after F3");
    }
}

// A personal file of four sizes, one smaller than the screen: F4 and then L
// through every slot and round again to the largest after the smallest.
TEST_F(SceneSizesTest, PersonalFileCyclesThroughFourSizes) {
    write_vision(folder.file("vitrion.dat"), {{700, 500}});
    simulation();
    const std::string personal = folder.file("mine.flt");
    const std::vector<Scene> scenes =
        write_vision(personal, {{1280, 960}, {600, 400}, {1008, 756}, {1024, 768}});
    fake.file_answers = {personal};
    shell::on_key_down(*sim, shell::key_f4);
    ASSERT_EQ(sim->engine.default_vision_loaded, 0);
    expect_shows(scenes[0], 0, "F4");
    for (int step = 1; step <= 5; ++step)
        press_and_expect(shell::key_letter('L'), scenes[step % 4], step % 4, "L number " + std::to_string(step));
}

// A scene that will not decode, reached after a picture of another size
// had been put into the scene's surface, leaves that picture on screen,
// whole and at its own size, whichever of the two is larger.
TEST_F(SceneSizesTest, SceneThatWillNotDecodeKeepsThePreviousOneWhole) {
    testing::internal::CaptureStderr();
    for (const auto& [first, second] : both_orders) {
        SCOPED_TRACE(std::to_string(first.width) + " then " + std::to_string(second.width));
        restart();
        write_vision(folder.file("vitrion.dat"), {{700, 500}});
        simulation();
        const std::string personal = folder.file("broken.flt");
        const std::vector<Scene> scenes = write_vision(personal, {first, second, {-1, 0}});
        fake.file_answers = {personal};
        press_and_expect(shell::key_f4, scenes[0], 0, "F4");
        press_and_expect(shell::key_letter('L'), scenes[1], 1, "L");
        press_and_expect(shell::key_letter('L'), scenes[1], 2, "L onto the slot that will not decode");
        press_and_expect(shell::key_letter('L'), scenes[0], 0, "L round to the first slot");
    }
    testing::internal::GetCapturedStderr();
}

}  // namespace
