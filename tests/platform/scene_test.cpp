// scene_test.cpp -- the start-up loader and next scene.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "picture_fixtures.h"
#include "sim/platform/null_platform.h"
#include "visionfile/writer.h"

using namespace platform;
using namespace picture_fixtures;
using testing_support::TempDir;

namespace {

// Slot k's picture is (8 + 8k) x 8 so the loaded slot shows in the width.
int width_of_slot(int k) { return 8 + 8 * k; }

// Writes a vision file whose `slots` hold pictures (a TGA in slot 3 when
// `tga_in_3`) and returns its path; `doc` holds the written document.
std::string write_vision(const TempDir& dir, vision::Document& doc, std::initializer_list<int> slots,
                         bool tga_in_3 = false) {
    vision::reset_to_new_document(doc);
    for (int k : slots) {
        const std::string picture = dir.file("slot" + std::to_string(k));
        if (k == 3 && tga_in_3)
            testing_support::write_file(picture, tga(2, 1, {0, 0, 0, 255, 255, 255}));
        else
            testing_support::write_file(picture, rgb_jpeg(width_of_slot(k), 8, k));
        std::snprintf(doc.header.slots[k].picture_path, vision::path_size, "%s", picture.c_str());
    }
    const std::string path = dir.file("vitrion.dat");
    EXPECT_EQ(vision::write_vision_file(doc, path.c_str()), 1);
    return path;
}

struct Sim {
    std::unique_ptr<vision::Document> doc = std::make_unique<vision::Document>();
    Pictures pictures;
    NullPlatform screen;

    void use(const std::string& path) { std::snprintf(pictures.vision_path, vision_path_size, "%s", path.c_str()); }
    // Steps next scene `n` times and gives the slots landed on.
    std::vector<int> slots_visited(int n, int default_loaded) {
        std::vector<int> visited;
        for (int i = 0; i < n; ++i) {
            next_scene(pictures, screen, *doc, default_loaded, 0);
            visited.push_back(pictures.scene_slot);
            EXPECT_EQ(pictures.scene.width, width_of_slot(pictures.scene_slot));
        }
        return visited;
    }
};

}  // namespace

TEST(NextScene, CyclesThroughTheSlotsThatHoldPictures) {
    struct Case {
        std::initializer_list<int> slots;
        int default_loaded;
        std::vector<int> expected;
    } cases[] = {
        {{0, 1, 2}, 1, {0, 1, 0, 1}},        // the default file cycles 0 and 1 only
        {{0, 3}, 0, {0, 3, 0, 3}},           // a personal file uses all four slots
        {{1, 2}, 0, {1, 2, 1}},
        {{2}, 0, {2, 2}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        Sim sim;
        sim.use(write_vision(dir, *sim.doc, c.slots));
        sim.pictures.scene_slot = -1;
        EXPECT_EQ(sim.slots_visited(int(c.expected.size()), c.default_loaded), c.expected)
            << "default_vision_loaded " << c.default_loaded;
    }
}

TEST(NextScene, NoPictureLoadsNothing) {
    Sim sim;
    vision::reset_to_new_document(*sim.doc);
    sim.pictures.scene = DecodedPicture{{1, 2, 3}, 1, 1};
    sim.pictures.scene_slot = 1;
    next_scene(sim.pictures, sim.screen, *sim.doc, 1, 0);
    EXPECT_EQ(sim.pictures.scene.width, 1);
    EXPECT_EQ(sim.pictures.scene_slot, 1);
}

// A scene change drops the blur: the new scene is shown as decoded. A picture
// that cannot be decoded keeps the scene (blur included) for L and leaves none
// for a reset.
TEST(NextScene, ANewSceneIsUnblurredAndABrokenOneKeepsOrDropsTheOld) {
    TempDir dir;
    Sim sim;
    sim.use(write_vision(dir, *sim.doc, {0}));
    sim.pictures.scene_blurred = 1;
    next_scene(sim.pictures, sim.screen, *sim.doc, 0, 1);
    EXPECT_EQ(sim.pictures.scene.width, width_of_slot(0));
    EXPECT_EQ(sim.pictures.scene_blurred, 0);
    EXPECT_EQ(&shown_scene(sim.pictures), &sim.pictures.scene);

    sim.pictures.scene_blurred = 1;
    sim.doc->header.slots[0].picture_offset = 10;  // inside the header: not a JPEG
    testing::internal::CaptureStderr();
    next_scene(sim.pictures, sim.screen, *sim.doc, 0, 1);
    EXPECT_EQ(sim.pictures.scene.width, width_of_slot(0));
    EXPECT_EQ(sim.pictures.scene_blurred, 1);
    next_scene(sim.pictures, sim.screen, *sim.doc, 0, 0);
    EXPECT_EQ(sim.pictures.scene.width, 0);
    EXPECT_EQ(sim.pictures.scene_blurred, 0);
    testing::internal::GetCapturedStderr();
}

TEST(StartupLoader, ReadsTheIntroAndTheGreyMap) {
    TempDir dir;
    Sim sim;
    write_vision(dir, *sim.doc, {0, 1, 2, 3}, true);
    vision::reset_to_new_document(*sim.doc);
    EXPECT_EQ(run_startup_loader(sim.pictures, sim.screen, *sim.doc, dir.path().c_str()), 1);
    EXPECT_EQ(std::string(sim.pictures.vision_path), dir.path() + "/vitrion.dat");
    EXPECT_NE(sim.doc->header.slots[2].picture_offset, 0) << "the document was read";
    EXPECT_EQ(sim.pictures.intro.width, width_of_slot(2));
    ASSERT_EQ(sim.pictures.grey_map.size(), size_t(640 * 480));
    EXPECT_EQ(sim.pictures.grey_map[0], 0);
    EXPECT_EQ(sim.pictures.grey_map[1], 255);
    EXPECT_EQ(sim.pictures.grey_map[640], 255);
    EXPECT_EQ(sim.pictures.grey_map[2], 255) << "padding outside the 2 x 1 map";

    // A missing default file leaves no intro and no map.
    Sim empty;
    EXPECT_EQ(run_startup_loader(empty.pictures, empty.screen, *empty.doc, (dir.path() + "/nowhere").c_str()), 0);
    EXPECT_EQ(empty.pictures.intro.width, 0);
    EXPECT_TRUE(empty.pictures.grey_map.empty());
}
