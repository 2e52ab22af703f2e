// form_mapping_test.cpp -- personal form and background slot mappings onto the vision header.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "editor/model/background_slots.h"
#include "editor/model/personal_form.h"
#include "support/temp_dir.h"

using namespace editor;

namespace {

std::unique_ptr<vision::Header> new_header() {
    auto doc = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*doc);
    auto header = std::make_unique<vision::Header>();
    std::memcpy(header.get(), &doc->header, sizeof *header);
    return header;
}

}  // namespace

TEST(PersonalForm, TrackbarsStoreAndShowTheirFields) {
    auto header = new_header();
    struct Case {
        int id, position;
    };
    for (Case c : {Case{id_blood_count, 1000}, {id_blood_count, 7}, {id_tint_red, 200},
                   {id_tint_green, 1}, {id_tint_blue, 255}}) {
        ASSERT_EQ(store_trackbar(*header, c.id, c.position), 1);
        EXPECT_EQ(trackbar_position(*header, c.id), c.position) << "trackbar " << c.id;
    }
    EXPECT_EQ(header->blood_cells_count, 7);
    EXPECT_EQ(header->tint_red, 200);
    EXPECT_EQ(header->tint_green, 1);
    EXPECT_EQ(header->tint_blue, 255);

    // Brightness and clarity: the product with 0.01 in double, kept as float.
    for (int position = 0; position <= 40; ++position) {
        store_trackbar(*header, id_blood_brightness, position);
        EXPECT_EQ(header->blood_cells_brightness, float(position * 0.01)) << "position " << position;
    }
    for (int position = 0; position <= 100; ++position) {
        store_trackbar(*header, id_cataract_clarity, position);
        EXPECT_EQ(header->cataract_clarity, float(1 - position * 0.01)) << "position " << position;
    }
    EXPECT_EQ(store_trackbar(*header, id_myopia, 3), 0);
}

TEST(PersonalForm, ShownPositionsTruncateInSinglePrecision) {
    auto header = new_header();
    struct Case {
        float brightness, clarity;
        int brightness_shown, clarity_shown;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (Case c : {Case{0.0f, 0.0f, 0, 100}, {0.4f, 1.0f, 40, 0}, {0.259f, 0.755f, 25, 24},
                   {0.07f, 0.93f, 7, 6},  // (1 - 0.93f) * 100 is 6.9999... in float
                   {nan, nan, 0, 0}, {1e30f, -1e30f, INT32_MAX, INT32_MAX}}) {
        header->blood_cells_brightness = c.brightness;
        header->cataract_clarity = c.clarity;
        EXPECT_EQ(trackbar_position(*header, id_blood_brightness), c.brightness_shown)
            << "brightness " << c.brightness;
        EXPECT_EQ(trackbar_position(*header, id_cataract_clarity), c.clarity_shown)
            << "clarity " << c.clarity;
    }
    // A new document: clarity 0 shows as 100 ("severe cataracts").
    EXPECT_EQ(trackbar_position(*new_header(), id_cataract_clarity), 100);
}

TEST(PersonalForm, CheckBoxesAndDioptres) {
    auto header = new_header();
    for (int id : check_box_ids) {
        int32_t* field = check_box_field(*header, id);
        ASSERT_NE(field, nullptr) << "id " << id;
        *field = 1;
    }
    EXPECT_EQ(header->myopia_on + header->blood_cells_on + header->retina_shadow_on +
                  header->cataracts_on + header->sunglasses_on + header->flashes_on +
                  header->stars_on + header->sparks_on + header->sac_refractions_on,
              9);
    EXPECT_EQ(check_box_field(*header, 220), nullptr);
    EXPECT_EQ(check_box_field(*header, id_blood_count), nullptr);

    for (int dioptres : {1, 10}) {
        header->myopia_dioptres = dioptres;
        EXPECT_EQ(dioptre_button(*header), 200 + dioptres);
    }
    for (int dioptres : {0, 11, -5}) {
        header->myopia_dioptres = dioptres;
        EXPECT_EQ(dioptre_button(*header), -1) << "dioptres " << dioptres;
    }
}

TEST(PersonalForm, CommentsAreCutAndKeepTheirLineBreaks) {
    auto header = new_header();
    store_comments(*header, "first line\nsecond");
    EXPECT_STREQ(header->comments, "first line\r\nsecond");
    EXPECT_EQ(comments_for_display(*header), "first line\nsecond");

    store_comments(*header, std::string(32000, 'a'));
    EXPECT_EQ(std::strlen(header->comments), 31999u);
    EXPECT_EQ(comments_for_display(*header).size(), 31999u);

    // A shorter text clears what a longer one left behind.
    store_comments(*header, "x");
    for (int i = 1; i < vision::comments_size; ++i) ASSERT_EQ(header->comments[i], 0) << "byte " << i;

    // A line break that no longer fits whole is not left half stored.
    store_comments(*header, std::string(31998, 'b') + "\nc");
    EXPECT_EQ(std::strlen(header->comments), 31998u);

    // A file whose comments fill all 32000 bytes without a NUL shows 31999.
    std::memset(header->comments, 'z', sizeof header->comments);
    EXPECT_EQ(comments_for_display(*header).size(), 31999u);
}

TEST(BackgroundSlots, PathsAreStoredWhenTheyFit) {
    auto header = new_header();
    const std::string longest(255, 'p');
    EXPECT_EQ(set_picture_path(*header, 1, longest), 1);
    EXPECT_EQ(picture_path(*header, 1), longest);
    EXPECT_EQ(set_picture_path(*header, 1, std::string(256, 'q')), 0);
    EXPECT_EQ(picture_path(*header, 1), longest);  // refused: unchanged
    EXPECT_EQ(set_picture_path(*header, 4, "/x.jpg"), 0);
    EXPECT_EQ(set_picture_path(*header, -1, "/x.jpg"), 0);
    EXPECT_EQ(set_picture_path(*header, 0, ""), 0);

    // A shorter path leaves no tail of the longer one.
    EXPECT_EQ(set_picture_path(*header, 1, "/a.jpg"), 1);
    EXPECT_EQ(header->slots[1].picture_path[6], 0);
    EXPECT_EQ(header->slots[1].picture_path[200], 0);

    erase_picture_path(*header, 1);
    EXPECT_EQ(picture_path(*header, 1), "Unused");
    EXPECT_EQ(is_unused_path(picture_path(*header, 1)), 1);
    for (const char* other : {"unused", "Unused ", "Unused.jpg", ""})
        EXPECT_EQ(is_unused_path(other), 0) << "'" << other << "'";

    // A file's slot without a NUL still reads as at most 255 bytes.
    std::memset(header->slots[2].picture_path, 'w', vision::path_size);
    EXPECT_EQ(picture_path(*header, 2).size(), 255u);
}

TEST(BackgroundSlots, JpegIsRecognisedByItsFirstBytes) {
    testing_support::TempDir dir;
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        PictureCheck expected;
    };
    const Case cases[] = {
        {"photo.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10}, PictureCheck::jpeg},
        {"short.jpg", {0xFF, 0xD8}, PictureCheck::not_jpeg},
        {"empty.jpg", {}, PictureCheck::not_jpeg},
        {"picture.png", {0x89, 'P', 'N', 'G'}, PictureCheck::not_jpeg},
    };
    for (const Case& c : cases) {
        testing_support::write_file(dir.file(c.name), c.bytes);
        EXPECT_EQ(check_picture_file(dir.file(c.name)), c.expected) << c.name;
    }
    EXPECT_EQ(check_picture_file(dir.file("absent.jpg")), PictureCheck::unreadable);
}
