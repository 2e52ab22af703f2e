// layout_test.cpp -- the new-document defaults and the byte layout they save to.
#include <gtest/gtest.h>

#include <cstring>

#include "doc_fixture.h"
#include "support/temp_dir.h"
#include "visionfile/writer.h"

using testing_support::TempDir;

namespace {
int32_t int_at(const std::vector<unsigned char>& bytes, size_t offset) {
    int32_t v;
    std::memcpy(&v, bytes.data() + offset, 4);
    return v;
}
float float_at(const std::vector<unsigned char>& bytes, size_t offset) {
    float v;
    std::memcpy(&v, bytes.data() + offset, 4);
    return v;
}
}  // namespace

TEST(NewDocument, SavedAtOnceGivesHeaderAndTwoEmptyRecords) {
    TempDir dir;
    auto doc = new_document();
    ASSERT_EQ(vision::write_vision_file(*doc, dir.file("new.flt").c_str()), 1);
    const auto bytes = testing_support::read_file(dir.file("new.flt"));
    ASSERT_EQ(bytes.size(), 545312u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + 260 * k), "Unused");
        EXPECT_EQ(int_at(bytes, 256 + 260 * k), 0);
    }
    EXPECT_EQ(int_at(bytes, 1044), 1);  // myopia_dioptres
    EXPECT_EQ(int_at(bytes, 1040), 0);
    for (int k = 0; k < 10; ++k) {
        const size_t entry = 33104 + 51212 * size_t(k);
        EXPECT_EQ(int_at(bytes, entry + 51200), 0);
        EXPECT_EQ(int_at(bytes, entry + 51204), 0);
        EXPECT_EQ(float_at(bytes, entry + 51208), 0.5f);
    }
    EXPECT_EQ(int_at(bytes, 545224), 1);
    EXPECT_EQ(int_at(bytes, 545228), 1);
    for (size_t record : {545232u, 545272u}) {
        EXPECT_EQ(int_at(bytes, record + 0), 0);    // dot_count
        EXPECT_EQ(int_at(bytes, record + 4), 4);    // dot_density
        EXPECT_EQ(int_at(bytes, record + 8), 1);
        EXPECT_EQ(int_at(bytes, record + 12), 1);
        EXPECT_EQ(int_at(bytes, record + 16), 240);
        EXPECT_EQ(float_at(bytes, record + 28), 0.8f);
        EXPECT_EQ(float_at(bytes, record + 32), 0.8f);
        EXPECT_EQ(int_at(bytes, record + 36), 545312);  // points_offset
    }
}

TEST(NewDocument, OneFloaterWithAPictureLaysOutAsDocumented) {
    TempDir dir;
    testing_support::write_file(dir.file("pic.jpg"), jpeg_like(1000, 0xAB));
    auto doc = new_document();
    set_path(*doc, 0, dir.file("pic.jpg").c_str());
    doc->header.floater_count[1] = 0;
    doc->records[0][0].dot_count = 3;
    for (int i = 0; i < 3; ++i) {
        doc->x[0][0][i] = 100 + i;
        doc->y[0][0][i] = 200 + i;
    }
    ASSERT_EQ(vision::write_vision_file(*doc, dir.file("one.flt").c_str()), 1);
    const auto bytes = testing_support::read_file(dir.file("one.flt"));
    ASSERT_EQ(bytes.size(), 546296u);
    EXPECT_EQ(int_at(bytes, 256), 545272);
    EXPECT_EQ(int_at(bytes, 256 + 260), 0);
    EXPECT_EQ(int_at(bytes, 545232 + 36), 546272);
    EXPECT_EQ(doc->header.slots[0].picture_offset, 545272);
    EXPECT_EQ(doc->records[0][0].points_offset, 546272);
    EXPECT_EQ(bytes[545272], 0xFF);
    EXPECT_EQ(bytes[546271], 0xAB);
    EXPECT_EQ(int_at(bytes, 546272), 100);
    EXPECT_EQ(int_at(bytes, 546280), 102);
    EXPECT_EQ(int_at(bytes, 546284), 200);
    EXPECT_EQ(int_at(bytes, 546292), 202);
}
