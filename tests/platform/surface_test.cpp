// surface_test.cpp -- pixel formats, the surface table and rectangle copies.
#include <gtest/gtest.h>

#include <cstring>

#include "sim/platform/display.h"
#include "sim/platform/pixel_format.h"
#include "sim/platform/surface.h"

using namespace platform;

TEST(PixelFormat, MasksGiveShiftAndWidth) {
    struct Case { uint32_t mask; int shift, width; };
    for (Case c : {Case{0xF800, 11, 5}, Case{0x07E0, 5, 6}, Case{0x001F, 0, 5}, Case{0x7C00, 10, 5},
                   Case{0xFF00, 8, 8}, Case{0xFF0000, 16, 8}}) {
        int shift, width;
        mask_shift_width(c.mask, shift, width);
        EXPECT_EQ(shift, c.shift) << std::hex << c.mask;
        EXPECT_EQ(width, c.width) << std::hex << c.mask;
    }
}

TEST(PixelFormat, WritesAndReads565) {
    const PixelFormat f = format_565();
    uint8_t p[2];
    write_pixel(f, 255, 255, 255, p, 2);
    EXPECT_EQ(p[0] | p[1] << 8, 0xFFFF);
    write_pixel(f, 255, 0, 255, p, 2);
    EXPECT_EQ(p[0] | p[1] << 8, 0xF81F);
    uint32_t r = 1, g = 1, b = 1;
    read_pixel(f, p, 2, r, g, b);
    EXPECT_EQ(r, 248u);
    EXPECT_EQ(g, 0u);
    EXPECT_EQ(b, 248u);
    // Full 8-bit channels come back with their low bits cleared.
    write_pixel(f, 0x57, 0x57, 0x57, p, 2);
    read_pixel(f, p, 2, r, g, b);
    EXPECT_EQ(r, 0x50u);
    EXPECT_EQ(g, 0x54u);
    EXPECT_EQ(b, 0x50u);
}

TEST(PixelFormat, WritesAndReads24And32BitsInByteOrder) {
    const PixelFormat f = format_888();
    uint8_t p[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    write_pixel(f, 1, 2, 3, p, 3);
    EXPECT_EQ(p[0], 3);
    EXPECT_EQ(p[1], 2);
    EXPECT_EQ(p[2], 1);
    EXPECT_EQ(p[3], 0xEE) << "a 3-byte write stores three bytes";
    uint32_t r, g, b;
    read_pixel(f, p, 3, r, g, b);
    EXPECT_EQ(r, 1u);
    EXPECT_EQ(g, 2u);
    EXPECT_EQ(b, 3u);
    // 24- and 32-bit writes do not narrow: green 0x1FF spills into red.
    write_pixel(f, 0, 0x1FF, 0, p, 4);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 0xFF);
    EXPECT_EQ(p[2], 1);
    EXPECT_EQ(p[3], 0);
}

TEST(PixelFormat, OtherSizesStoreAndReadNothing) {
    const PixelFormat f = format_888();
    uint8_t p[4] = {5, 6, 7, 8};
    write_pixel(f, 255, 255, 255, p, 1);
    EXPECT_EQ(p[0], 5);
    uint32_t r = 9, g = 9, b = 9;
    read_pixel(f, p, 5, r, g, b);
    EXPECT_EQ(r, 9u);
}

TEST(PixelFormat, RowReadsAndWritesEqualPixelReadsAndWritesForEverySize) {
    // A row of every byte pattern position, read in one go and pixel by
    // pixel; then written back both ways.
    uint8_t row[4 * 97];
    for (size_t i = 0; i < sizeof row; ++i) row[i] = uint8_t(i * 37 + 11);
    for (const PixelFormat& f : {format_565(), format_888(), pixel_format_from_masks(0x7C00, 0x03E0, 0x001F)})
        for (int bpp : {2, 3, 4}) {
            uint8_t got[3 * 97];
            read_rgb_row(f, row, bpp, 97, got);
            for (int x = 0; x < 97; ++x) {
                uint32_t r = 0, g = 0, b = 0;
                read_pixel(f, row + x * bpp, bpp, r, g, b);
                ASSERT_EQ(got[3 * x], uint8_t(r)) << bpp << " bytes, pixel " << x;
                ASSERT_EQ(got[3 * x + 1], uint8_t(g)) << bpp << " bytes, pixel " << x;
                ASSERT_EQ(got[3 * x + 2], uint8_t(b)) << bpp << " bytes, pixel " << x;
            }
            uint8_t by_row[4 * 97 + 1], by_pixel[4 * 97 + 1];
            std::memset(by_row, 0xEE, sizeof by_row);
            std::memset(by_pixel, 0xEE, sizeof by_pixel);
            write_rgb_row(f, row, 97, by_row, bpp);  // any bytes as colours, not only ones read back
            for (int x = 0; x < 97; ++x) write_pixel(f, row[3 * x], row[3 * x + 1], row[3 * x + 2], by_pixel + x * bpp, bpp);
            ASSERT_EQ(0, std::memcmp(by_row, by_pixel, sizeof by_row)) << bpp << " bytes";
        }
    uint8_t got[6] = {1, 2, 3, 4, 5, 6};
    read_rgb_row(format_888(), row, 5, 2, got);
    for (uint8_t v : got) EXPECT_EQ(v, 0) << "a size without pixels reads as black";
}

namespace {
Display display_at(int depth) {
    Display d;
    d.depth = depth;
    d.format = depth == 16 ? format_565() : format_888();
    create_surface(d.back, 640, 480, depth);
    return d;
}
}  // namespace

TEST(SurfaceTable, HandsOutIndexesInOrderAndAFailureUsesNone) {
    Display d = display_at(16);
    EXPECT_EQ(create_picture_surface(d, 10, 10), 0);
    EXPECT_EQ(create_picture_surface(d, 0, 10), -1);
    EXPECT_EQ(create_picture_surface(d, 20, 5), 1);
    release_picture_surfaces(d, 0, 2);
    EXPECT_TRUE(d.pictures[0].pixels.empty());
    EXPECT_EQ(create_picture_surface(d, 10, 10), 2) << "indexes are not reused until the table is emptied";
    d.picture_count = 1000;
    EXPECT_EQ(create_picture_surface(d, 10, 10), -1) << "a full table refuses";
}

TEST(SurfaceTable, LockIsExclusiveAndNeedsPixels) {
    Surface s;
    LockedSurface view;
    EXPECT_EQ(lock_surface(s, view), 0);
    ASSERT_EQ(create_surface(s, 3, 2, 24), 1);
    ASSERT_EQ(lock_surface(s, view), 1);
    EXPECT_EQ(view.pitch, 9);
    EXPECT_EQ(view.bytes_per_pixel, 3);
    EXPECT_EQ(view.at(2, 1), s.pixels.data() + 15);
    LockedSurface again;
    EXPECT_EQ(lock_surface(s, again), 0);
    unlock_surface(s);
    EXPECT_EQ(lock_surface(s, again), 1);
}

TEST(CopyPicture, CopiesTheWindowAndRefusesARectangleOutsideThePicture) {
    for (int depth : {16, 24}) {
        Display d = display_at(depth);
        const int big = create_picture_surface(d, 1280, 960);
        const int small = create_picture_surface(d, 640, 480);
        const int bytes = depth / 8;
        for (size_t i = 0; i < d.pictures[big].pixels.size(); ++i) d.pictures[big].pixels[i] = uint8_t(i * 7);
        copy_picture_to_back(d, big, 0, 0, 640, 480, 640, 480);
        EXPECT_EQ(d.back.pixels[0], d.pictures[big].pixels[480 * d.pictures[big].pitch + 640 * bytes]);
        const auto before = d.back.pixels;
        copy_picture_to_back(d, small, 0, 0, 640, 480, 1, 0);
        copy_picture_to_back(d, big, 0, 0, 640, 480, 641, 0);
        copy_picture_to_back(d, 7, 0, 0, 640, 480, 0, 0);  // empty entry
        copy_picture_to_back(d, -1, 0, 0, 640, 480, 0, 0);
        EXPECT_EQ(d.back.pixels, before);
    }
}

namespace {
// A display that refuses the depths it is told to refuse.
class ModeOnlyPlatform : public Platform {
public:
    int refuse_16 = 0, refuse_24 = 0, closes = 0, presents = 0;
    int set_display_mode(int, int, int bpp, PixelFormat& f) override {
        if ((bpp == 16 && refuse_16) || (bpp == 24 && refuse_24)) return 0;
        f = bpp == 16 ? format_565() : format_888();
        return 1;
    }
    void close_display_mode() override { ++closes; }
    void present(const Surface&) override { ++presents; }
    void start_timer(int, int) override {}
    void stop_timer(int) override {}
    void show_cursor(int) override {}
    void message_box(const char*, const char*) override {}
    void destroy_window() override {}
    void post_quit(int) override {}
    void draw_text(Surface&, const PixelFormat&, const char*, int, int, int, Rgb) override {}
    void draw_wrapped_text(Surface&, const PixelFormat&, const char*, Rect, int, Rgb) override {}
    int choose_file_to_open(char*, int, const char*, const char* const*, int, const char*, const char*) override {
        return 0;
    }
    long calendar_seconds() override { return 0; }
    int start_sound_device() override { return 1; }
    int start_music() override { return 1; }
    void stop_sound() override {}
};
}  // namespace

TEST(OpenDisplay, Prefers16BitsAndFallsBackTo24) {
    ModeOnlyPlatform p;
    Display d;
    ASSERT_EQ(open_display_with_fallback(d, p), 1);
    EXPECT_EQ(d.depth, 16);
    EXPECT_EQ(d.back.bits_per_pixel, 16);
    EXPECT_EQ(d.format.green_width, 6);
    close_display(d, p);

    p.refuse_16 = 1;
    Display d24;
    ASSERT_EQ(open_display_with_fallback(d24, p), 1);
    EXPECT_EQ(d24.depth, 24);
    EXPECT_EQ(d24.back.pitch, 1920);
    EXPECT_EQ(d24.display_ready, 1);

    p.refuse_24 = 1;
    Display none;
    EXPECT_EQ(open_display_with_fallback(none, p), 0);
    EXPECT_EQ(none.display_ready, 0);
    EXPECT_TRUE(none.back.pixels.empty());
}
