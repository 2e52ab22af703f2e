// frame_test.cpp -- the 5-6-5 conversion of the frame and of decoded pictures.
#include <gtest/gtest.h>

#include "sim/platform/frame.h"

using namespace platform;

TEST(Frame565, WritesAndReadsTheWorkedValues) {
    EXPECT_EQ(pack_565(255, 255, 255), 0xFFFF);
    EXPECT_EQ(pack_565(255, 0, 255), 0xF81F);
    uint32_t r, g, b;
    unpack_565(0xF81F, r, g, b);
    EXPECT_EQ(r, 248u);
    EXPECT_EQ(g, 0u);
    EXPECT_EQ(b, 248u);
    // Channels above 255 keep only their field's bits.
    EXPECT_EQ(pack_565(256 + 8, 0, 0), pack_565(8, 0, 0));
}

// Rows convert pixel by pixel as pack_565 and unpack_565 do, and a quantized
// picture holds exactly what comes back from the frame.
TEST(Frame565, RowsAndQuantizingAgreeWithTheSinglePixel) {
    DecodedPicture picture;
    picture.width = 256;
    picture.height = 3;
    for (int i = 0; i < 256 * 3; ++i) {
        picture.rgb.push_back(uint8_t(i));
        picture.rgb.push_back(uint8_t(255 - i));
        picture.rgb.push_back(uint8_t(i * 7));
    }
    std::vector<uint16_t> row(256 * 3);
    rgb_to_565(picture.rgb.data(), 256 * 3, row.data());
    for (int i = 0; i < 256 * 3; ++i)
        ASSERT_EQ(row[i], pack_565(picture.rgb[3 * i], picture.rgb[3 * i + 1], picture.rgb[3 * i + 2])) << i;
    std::vector<uint8_t> back(picture.rgb.size());
    rgb_from_565(row.data(), 256 * 3, back.data());
    quantize_to_565(picture);
    EXPECT_TRUE(back == picture.rgb);
}
