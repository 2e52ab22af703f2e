// still_test.cpp -- the still of a vision: the chosen eye's floaters, the ticked effects, the same every time.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "sim/platform/pictures.h"
#include "sim/platform/frame.h"
#include "sim/shell/still.h"
#include "support/temp_dir.h"
#include "visionfile/document.h"
#include "visionfile/writer.h"

namespace {

constexpr int width = platform::screen_width, height = platform::screen_height;

// A new document with one dense floater in `eye` around map (400, 300),
// the middle of the screen.
std::unique_ptr<vision::Document> one_floater(int eye) {
    auto doc = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*doc);
    doc->header.floater_count[0] = doc->header.floater_count[1] = 1;
    vision::FloaterRecord& r = doc->records[eye][0];
    r.dot_count = 30;
    r.dot_density = 10;
    r.dot_size_x = r.dot_size_y = 3;
    r.transparency = 200;
    for (int d = 0; d < r.dot_count; ++d) {
        doc->x[eye][0][d] = 385 + d;
        doc->y[eye][0][d] = 300;
    }
    return doc;
}

// Sum of the red, green and blue bytes around screen (320, 240).
long centre_light(const std::vector<uint8_t>& rgb) {
    long sum = 0;
    for (int y = 230; y < 250; ++y)
        for (int x = 300; x < 340; ++x)
            for (int c = 0; c < 3; ++c) sum += rgb[(size_t(y) * width + x) * 3 + c];
    return sum;
}

shell::StillSources default_scene() {
    shell::StillSources sources;
    sources.default_vision_folder = VITRION_BIN_DIR;
    return sources;
}

std::vector<uint8_t> still_of(const vision::Document& doc, int eye) {
    std::vector<uint8_t> rgb;
    EXPECT_EQ(shell::simulation_still(doc, eye, default_scene(), rgb), 1);
    EXPECT_EQ(rgb.size(), size_t(width) * height * 3);
    return rgb;
}

TEST(Still, ShowsTheFloatersOfItsOwnEyeOverTheDefaultSceneTheSameEveryTime) {
    const auto left = one_floater(0);
    const std::vector<uint8_t> left_eye = still_of(*left, 0);
    const std::vector<uint8_t> right_eye = still_of(*left, 1);
    if (centre_light(right_eye) == 0) GTEST_SKIP() << "the build has no default vision to look at";
    // The left eye's floater darkens the middle of the left eye's still only.
    EXPECT_LT(centre_light(left_eye), centre_light(right_eye) * 9 / 10);
    EXPECT_EQ(still_of(*left, 0), left_eye);
    const auto right = one_floater(1);
    EXPECT_EQ(still_of(*right, 0), right_eye);  // no floater in the left eye: the bare scene
}

TEST(Still, TicksTheEffectsTheFileTicks) {
    const auto doc = one_floater(0);
    const std::vector<uint8_t> plain = still_of(*doc, 1);
    if (centre_light(plain) == 0) GTEST_SKIP() << "the build has no default vision to look at";
    doc->header.sunglasses_on = 1;
    doc->header.tint_red = doc->header.tint_green = doc->header.tint_blue = 40;
    const std::vector<uint8_t> tinted = still_of(*doc, 1);
    EXPECT_LT(centre_light(tinted), centre_light(plain) / 2);

    doc->header.sunglasses_on = 0;
    doc->header.myopia_on = 1;
    doc->header.myopia_dioptres = 10;
    EXPECT_NE(still_of(*doc, 1), plain);  // blurred
}

TEST(Still, ShowsTheFirstSceneTheVisionFileHolds) {
    testing_support::TempDir dir;
    const std::vector<uint8_t> dark(size_t(1280) * 960 * 3, 8);
    const std::string picture = dir.file("dark.jpg");
    ASSERT_EQ(platform::write_jpeg(picture.c_str(), 90, dark.data(), 1280, 960), 1);
    auto doc = one_floater(0);
    std::snprintf(doc->header.slots[1].picture_path, vision::path_size, "%s", picture.c_str());
    const std::string file = dir.file("dark.flt");
    ASSERT_EQ(vision::write_vision_file(*doc, file.c_str()), 1);
    shell::StillSources sources = default_scene();
    sources.vision_path = file.c_str();
    std::vector<uint8_t> rgb;
    ASSERT_EQ(shell::simulation_still(*doc, 1, sources, rgb), 1);
    EXPECT_LT(centre_light(rgb), 20L * 40 * 3 * 16);  // the dark picture, not the default scene
}

TEST(Still, WithoutAnySceneTheFrameIsBlack) {
    const auto doc = one_floater(0);
    shell::StillSources nowhere;
    nowhere.default_vision_folder = "/nonexistent";
    std::vector<uint8_t> rgb;
    ASSERT_EQ(shell::simulation_still(*doc, 0, nowhere, rgb), 1);
    EXPECT_EQ(centre_light(rgb), 0);
}

}  // namespace
