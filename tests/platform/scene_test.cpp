// scene_test.cpp -- the start-up loader, next scene and the RGB work buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "picture_fixtures.h"
#include "support/pixel_compare.h"
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
    Display display = display_at(16);
    int scene_picture = -1;

    void use(const std::string& path) {
        std::snprintf(pictures.vision_path, vision_path_size, "%s", path.c_str());
        pictures.rgb_work.assign(rgb_work_size, 0);
    }
    // Steps next scene `n` times into a new surface and gives the slots landed on.
    std::vector<int> slots_visited(int n, int default_loaded) {
        std::vector<int> visited;
        for (int i = 0; i < n; ++i) {
            next_scene(pictures, display, *doc, default_loaded, scene_picture, -1);
            visited.push_back(pictures.scene_slot);
            EXPECT_EQ(display.pictures[scene_picture].width, width_of_slot(pictures.scene_slot));
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

TEST(NextScene, OnlySlotOneLoadsSlotOneAgainIntoTheSameSurface) {
    TempDir dir;
    Sim sim;
    sim.use(write_vision(dir, *sim.doc, {1}));
    sim.pictures.scene_slot = 1;
    sim.scene_picture = create_picture_surface(sim.display, width_of_slot(1), 8);
    next_scene(sim.pictures, sim.display, *sim.doc, 1, sim.scene_picture, sim.scene_picture);
    const Surface first = sim.display.pictures[0];
    testing_support::fill_random(sim.display.pictures[0], 3);
    next_scene(sim.pictures, sim.display, *sim.doc, 1, sim.scene_picture, sim.scene_picture);
    EXPECT_EQ(sim.pictures.scene_slot, 1);
    EXPECT_EQ(sim.scene_picture, 0);
    EXPECT_EQ(sim.display.picture_count, 1);
    EXPECT_EQ(sim.display.pictures[0].pixels, first.pixels);
}

TEST(NextScene, NoPictureLoadsNothing) {
    TempDir dir;
    Sim sim;
    sim.use(write_vision(dir, *sim.doc, {2, 3}));  // neither usable by the default file
    sim.pictures.scene_slot = -1;
    sim.scene_picture = 42;
    next_scene(sim.pictures, sim.display, *sim.doc, 1, sim.scene_picture, -1);
    EXPECT_EQ(sim.scene_picture, 42);
    EXPECT_EQ(sim.pictures.scene_slot, -1);
    EXPECT_EQ(sim.display.picture_count, 0);
}

TEST(NextScene, SurfaceOfAnotherSizeTakesThePicturesSizeAndTheBufferThePicture) {
    TempDir dir;
    Sim sim;
    sim.use(write_vision(dir, *sim.doc, {0}));
    sim.scene_picture = create_picture_surface(sim.display, 30, 12);
    testing_support::fill_random(sim.display.pictures[0], 9);
    std::fill(sim.pictures.rgb_work.begin(), sim.pictures.rgb_work.end(), uint8_t{0x77});
    next_scene(sim.pictures, sim.display, *sim.doc, 0, sim.scene_picture, sim.scene_picture);
    ASSERT_EQ(sim.scene_picture, 0);
    const Surface& s = sim.display.pictures[0];
    ASSERT_EQ(s.width, width_of_slot(0));
    ASSERT_EQ(s.height, 8);
    // The buffer holds the picture in rows as wide as the picture.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            uint32_t r, g, b;
            read_pixel(sim.display.format, &s.pixels[y * s.pitch + x * 2], 2, r, g, b);
            const uint8_t* rgb = &sim.pictures.rgb_work[(y * 8 + x) * 3];
            ASSERT_EQ(rgb[0], r) << x << "," << y;
            ASSERT_EQ(rgb[1], g) << x << "," << y;
            ASSERT_EQ(rgb[2], b) << x << "," << y;
        }
    EXPECT_EQ(sim.pictures.rgb_work[8 * 8 * 3], 0x77) << "nothing past the picture";
}

TEST(NextScene, BrokenPictureKeepsTheExistingSurface) {
    TempDir dir;
    Sim sim;
    sim.use(write_vision(dir, *sim.doc, {0}));
    sim.doc->header.slots[0].picture_offset = 10;  // inside the header: not a JPEG
    sim.scene_picture = create_picture_surface(sim.display, 8, 8);
    testing::internal::CaptureStderr();
    next_scene(sim.pictures, sim.display, *sim.doc, 0, sim.scene_picture, sim.scene_picture);
    EXPECT_EQ(sim.scene_picture, 0);
    next_scene(sim.pictures, sim.display, *sim.doc, 0, sim.scene_picture, -1);
    EXPECT_EQ(sim.scene_picture, -1);
    testing::internal::GetCapturedStderr();
}

TEST(StartupLoader, ReadsIntroGreyMapAndAllocatesTheBuffer) {
    TempDir dir;
    Sim sim;
    write_vision(dir, *sim.doc, {0, 1, 2, 3}, true);
    vision::reset_to_new_document(*sim.doc);
    EXPECT_EQ(run_startup_loader(sim.pictures, sim.display, *sim.doc, dir.path().c_str()), 1);
    EXPECT_EQ(std::string(sim.pictures.vision_path), dir.path() + "/vitrion.dat");
    EXPECT_NE(sim.doc->header.slots[2].picture_offset, 0) << "the document was read";
    ASSERT_EQ(sim.pictures.intro_picture, 0);
    EXPECT_EQ(sim.display.pictures[0].width, width_of_slot(2));
    ASSERT_EQ(sim.pictures.grey_map.size(), size_t(640 * 480));
    EXPECT_EQ(sim.pictures.grey_map[0], 0);
    EXPECT_EQ(sim.pictures.grey_map[1], 255);
    EXPECT_EQ(sim.pictures.grey_map[640], 255);
    EXPECT_EQ(sim.pictures.grey_map[2], 255) << "padding outside the 2 x 1 map";
    EXPECT_EQ(sim.pictures.rgb_work.size(), size_t(rgb_work_size));

    // A missing default file leaves no intro and no map, but still the buffer.
    Sim empty;
    EXPECT_EQ(run_startup_loader(empty.pictures, empty.display, *empty.doc, (dir.path() + "/nowhere").c_str()), 0);
    EXPECT_EQ(empty.pictures.intro_picture, -1);
    EXPECT_TRUE(empty.pictures.grey_map.empty());
    EXPECT_EQ(empty.pictures.rgb_work.size(), size_t(rgb_work_size));
}
