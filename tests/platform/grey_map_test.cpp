// grey_map_test.cpp -- the grey map read from an embedded 24-bit TGA.
#include <gtest/gtest.h>

#include "picture_fixtures.h"

using namespace platform;
using namespace picture_fixtures;
using testing_support::TempDir;

namespace {

// Reads a TGA embedded at offset 77 of a file.
struct Read {
    int ok = 0, width = -1, height = -1;
    std::vector<uint8_t> map;
};
Read read_embedded(const TempDir& dir, const Bytes& tga_bytes) {
    const long offset = embed(dir.file("m.dat"), tga_bytes, 77, 0);
    Read r;
    r.ok = read_grey_map(dir.file("m.dat").c_str(), offset, r.map, &r.width, &r.height);
    return r;
}

}  // namespace

TEST(GreyMap, GreyIsTheByteSumDividedByThreeRoundedDown) {
    TempDir dir;
    struct Case { uint8_t b, g, r; int grey; } cases[] = {
        {255, 255, 255, 255}, {1, 1, 0, 0}, {1, 1, 1, 1}, {0, 0, 0, 0}, {2, 2, 1, 1}, {255, 255, 254, 254}, {90, 0, 0, 30},
    };
    std::vector<uint8_t> row;
    for (const Case& c : cases) row.insert(row.end(), {c.b, c.g, c.r});
    const Read r = read_embedded(dir, tga(int(std::size(cases)), 1, row));
    ASSERT_EQ(r.ok, 1);
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(r.map[i], cases[i].grey) << "pixel " << int(cases[i].b) << "," << int(cases[i].g) << ","
                                           << int(cases[i].r);
}

TEST(GreyMap, RowsAreReadBottomFirstWhateverTheOriginFlagAndIdField) {
    TempDir dir;
    // Three rows of two pixels, file order bottom row first: 30, 60, 90.
    std::vector<uint8_t> rows;
    for (int v : {30, 60, 90})
        for (int i = 0; i < 6; ++i) rows.push_back(uint8_t(v));
    TraceCapture trace;
    for (uint8_t descriptor : {uint8_t(0x00), uint8_t(0x20)}) {
        const Read r = read_embedded(dir, tga(2, 3, rows, descriptor, "hello"));
        ASSERT_EQ(r.ok, 1);
        EXPECT_EQ(r.width, 2);
        EXPECT_EQ(r.height, 3);
        EXPECT_EQ(r.map, (std::vector<uint8_t>{90, 90, 60, 60, 30, 30})) << "descriptor " << int(descriptor);
    }
    EXPECT_TRUE(trace.saw("TGA: tx 2"));
    EXPECT_TRUE(trace.saw("TGA: ty 3"));
    EXPECT_TRUE(trace.saw("TGA: idlength 5"));
}

TEST(GreyMap, WrongHeadersGiveNoMap) {
    TempDir dir;
    const std::vector<uint8_t> px(4 * 4 * 4, 10);
    struct Case { const char* name; Bytes bytes; } cases[] = {
        {"run-length", tga(4, 4, px, 0, "", 10)},
        {"32 bits", tga(4, 4, px, 0, "", 2, 32)},
        {"colour map", tga(4, 4, px, 0, "", 2, 24, 1)},
        {"zero width", tga(0, 4, px)},
        {"absurd size", tga(65535, 65535, px)},
        {"header cut short", Bytes(10, 0)},
    };
    for (const Case& c : cases) {
        TraceCapture trace;
        const Read r = read_embedded(dir, c.bytes);
        EXPECT_EQ(r.ok, 0) << c.name;
        EXPECT_TRUE(r.map.empty()) << c.name;
        EXPECT_TRUE(trace.saw("Error cargando TGA (1).")) << c.name;
    }
    std::vector<uint8_t> map{1, 2, 3};
    int w, h;
    EXPECT_EQ(read_grey_map(dir.file("missing").c_str(), 0, map, &w, &h), 0);
    EXPECT_TRUE(map.empty());
}

TEST(GreyMap, PixelsTheFileDoesNotHoldAreOutOfShadow) {
    TempDir dir;
    // 4 x 2 map whose file holds the bottom row and half of the top row.
    std::vector<uint8_t> rows(4 * 3 + 2 * 3, 0);
    const Read r = read_embedded(dir, tga(4, 2, rows));
    ASSERT_EQ(r.ok, 1);
    EXPECT_EQ(r.map, (std::vector<uint8_t>{0, 0, 255, 255, 0, 0, 0, 0}));
}

TEST(GreyMap, FittingLaysAnyMapOutAs640By480) {
    std::vector<uint8_t> small(3 * 2, 0);
    small[1 * 3 + 2] = 7;
    std::vector<uint8_t> fitted;
    fit_grey_map(small, 3, 2, fitted);
    ASSERT_EQ(fitted.size(), size_t(640 * 480));
    EXPECT_EQ(fitted[0], 0);
    EXPECT_EQ(fitted[640 + 2], 7);
    EXPECT_EQ(fitted[3], 255) << "beyond the map's width";
    EXPECT_EQ(fitted[2 * 640], 255) << "beyond the map's height";

    std::vector<uint8_t> wide(700 * 1, 0);
    fit_grey_map(wide, 700, 1, fitted);
    EXPECT_EQ(fitted[639], 0);
    EXPECT_EQ(fitted[640], 255) << "a wider map is cut, not wrapped";
}
