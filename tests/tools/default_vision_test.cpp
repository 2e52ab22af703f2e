// default_vision_test.cpp -- the default vision file the build draws holds what the simulator needs.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "sim/platform/jpeg_decode.h"
#include "sim/platform/pictures.h"
#include "visionfile/reader.h"

namespace {

struct JpegShape {
    int width = 0, height = 0, components = 0;
};

// Reads only the JPEG header at `offset` (the library's defaults end the
// process on a bad header, which is a failed test either way).
JpegShape jpeg_shape(const char* path, long offset) {
    JpegShape shape;
    std::FILE* file = std::fopen(path, "rb");
    if (!file || std::fseek(file, offset, SEEK_SET) != 0) return shape;
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    shape = {int(info.image_width), int(info.image_height), info.num_components};
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return shape;
}

class DefaultVision : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        doc = std::make_unique<vision::Document>().release();
        std::memset(doc, 0, sizeof *doc);
        opened = vision::read_vision_file(*doc, VITRION_DAT_PATH);
    }
    static void TearDownTestSuite() { delete doc; }
    static vision::Document* doc;
    static int opened;
};
vision::Document* DefaultVision::doc = nullptr;
int DefaultVision::opened = 0;

}  // namespace

TEST_F(DefaultVision, HoldsScenesIntroAndGreyMap) {
    ASSERT_EQ(opened, 1) << VITRION_DAT_PATH;
    const vision::PictureSlot* slots = doc->header.slots;
    for (int k : {0, 1}) {
        const JpegShape s = jpeg_shape(VITRION_DAT_PATH, slots[k].picture_offset);
        EXPECT_EQ(s.width, 1280) << "slot " << k;
        EXPECT_EQ(s.height, 960) << "slot " << k;
        EXPECT_EQ(s.components, 3) << "slot " << k;
        platform::DecodedPicture picture;
        EXPECT_EQ(platform::decode_jpeg(VITRION_DAT_PATH, slots[k].picture_offset, picture), 1) << "slot " << k;
    }
    const JpegShape intro = jpeg_shape(VITRION_DAT_PATH, slots[2].picture_offset);
    EXPECT_EQ(intro.width, 640);
    EXPECT_EQ(intro.height, 480);

    std::vector<uint8_t> map;
    int w = 0, h = 0;
    ASSERT_EQ(platform::read_grey_map(VITRION_DAT_PATH, slots[3].picture_offset, map, &w, &h), 1);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    size_t vessels = 0;
    for (uint8_t v : map) vessels += v == 0;
    const double share = double(vessels) / double(map.size());
    EXPECT_GT(share, 0.01) << "vessel share " << share;
    EXPECT_LT(share, 0.08) << "vessel share " << share;
    // The vessel-free centre: none in a small disc left of the middle.
    for (int y = 238; y < 258; ++y)
        for (int x = 252; x < 272; ++x) ASSERT_NE(map[y * 640 + x], 0) << x << "," << y;
}

TEST_F(DefaultVision, EveryEffectIsOnWithModerateStrengths) {
    ASSERT_EQ(opened, 1);
    const vision::Header& h = doc->header;
    for (int flag : {h.myopia_on, h.blood_cells_on, h.cataracts_on, h.flashes_on, h.sac_refractions_on, h.stars_on,
                     h.sparks_on, h.retina_shadow_on, h.sunglasses_on})
        EXPECT_EQ(flag, 1);
    EXPECT_GE(h.myopia_dioptres, 1);
    EXPECT_LE(h.myopia_dioptres, 10);
    EXPECT_GT(h.blood_cells_count, 0);
    EXPECT_LE(h.blood_cells_count, 1000);
    EXPECT_GT(h.blood_cells_brightness, 0.0f);
    EXPECT_LE(h.blood_cells_brightness, 0.4f);
    EXPECT_GT(h.cataract_clarity, 0.0f);
    EXPECT_LT(h.cataract_clarity, 1.0f);
    EXPECT_GT(std::strlen(h.comments), 40u);
    EXPECT_LT(std::strlen(h.comments), size_t(vision::comments_size));
}

TEST_F(DefaultVision, FloatersAndStreaksLieWhereTheEditorPutsThem) {
    ASSERT_EQ(opened, 1);
    for (int eye = 0; eye < vision::eyes; ++eye) {
        const int count = doc->header.floater_count[eye];
        EXPECT_GE(count, 2) << "eye " << eye;
        EXPECT_LE(count, 10) << "eye " << eye;
        for (int k = 0; k < count; ++k) {
            const vision::FloaterRecord& r = doc->records[eye][k];
            SCOPED_TRACE(testing::Message() << "eye " << eye << " floater " << k);
            EXPECT_GT(r.dot_count, 0);
            EXPECT_LE(r.dot_count, vision::max_dots);
            EXPECT_GE(r.dot_density, 1);
            EXPECT_LE(r.dot_density, 10);
            EXPECT_GE(r.transparency, 200);
            EXPECT_LE(r.transparency, 254);
            EXPECT_GE(r.movement_x, 0.5f);
            EXPECT_LE(r.movement_x, 0.99f);
            for (int i = 0; i < r.dot_count; ++i) {
                ASSERT_GT(doc->x[eye][k][i], 0);
                ASSERT_LT(doc->x[eye][k][i], 800);
                ASSERT_GT(doc->y[eye][k][i], 0);
                ASSERT_LT(doc->y[eye][k][i], 600);
            }
        }
    }
    int streaks[2] = {0, 0};
    for (int e = 0; e < vision::streak_entries; ++e) {
        const vision::Streak& s = doc->header.streak[e];
        if (s.point_count == 0) continue;
        ++streaks[e / vision::streaks_per_eye];
        EXPECT_LE(s.point_count, vision::streak_max_points);
        EXPECT_GE(s.when_seen, 0);
        EXPECT_LE(s.when_seen, 3);
        for (int p = 0; p < s.point_count; ++p) {
            ASSERT_GT(s.x[p], 0) << "streak " << e;
            ASSERT_LT(s.x[p], 640) << "streak " << e;
            ASSERT_GT(s.y[p], 0) << "streak " << e;
            ASSERT_LT(s.y[p], 480) << "streak " << e;
        }
    }
    EXPECT_GE(streaks[0], 1);
    EXPECT_GE(streaks[1], 1);
}
