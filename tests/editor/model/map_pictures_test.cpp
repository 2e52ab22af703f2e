// map_pictures_test.cpp -- the map picture's rings and picture copies into the canvas.
#include <gtest/gtest.h>

#include "editor/model/map_pictures.h"

using namespace editor;

namespace {

struct Span {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;
};

// Extent of the ring pixels inside [x0, x1] x [y0, y1].
Span ring_span(const PixelPicture& picture, int x0, int y0, int x1, int y1,
               uint32_t colour = map_ellipse_colour) {
    Span span;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (picture.at(x, y) == colour) {
                span.left = std::min(span.left, x);
                span.right = std::max(span.right, x);
                span.top = std::min(span.top, y);
                span.bottom = std::max(span.bottom, y);
                ++span.count;
            }
    return span;
}

}  // namespace

TEST(MapPictures, EyePictureIsBlack640x480) {
    const PixelPicture eye = make_eye_picture();
    ASSERT_EQ(eye.width, 640);
    ASSERT_EQ(eye.height, 480);
    for (uint32_t pixel : eye.pixels) ASSERT_EQ(pixel, 0u);
}

TEST(MapPictures, RingsSpanExactlyTheirBoxes) {
    const PixelPicture map = make_map_picture();
    ASSERT_EQ(map.width, 800);
    ASSERT_EQ(map.height, 600);
    // Only white and the ring colour occur.
    for (uint32_t pixel : map.pixels)
        ASSERT_TRUE(pixel == rgb(255, 255, 255) || pixel == map_ellipse_colour) << std::hex << pixel;

    // The inner ring lies wholly inside the outer one; the band between them
    // (x 40..60 on the centre row) must stay white, which separates them.
    const Span whole = ring_span(map, 0, 0, 799, 599);
    EXPECT_EQ(whole.left, 28);
    EXPECT_EQ(whole.right, 774);
    EXPECT_EQ(whole.top, 21);
    EXPECT_EQ(whole.bottom, 579);
    const Span inner = ring_span(map, 79, 59, 720, 539);
    // Pixels of the outer ring fall inside the inner box only near its corners;
    // the extreme rows and columns at the middle belong to the inner ring.
    EXPECT_EQ(map.at(79, 299), map_ellipse_colour);
    EXPECT_EQ(map.at(720, 299), map_ellipse_colour);
    EXPECT_EQ(map.at(78, 299), rgb(255, 255, 255));
    EXPECT_EQ(map.at(721, 299), rgb(255, 255, 255));
    for (int x : {399, 400}) {
        EXPECT_EQ(map.at(x, 59), map_ellipse_colour) << "x " << x;
        EXPECT_EQ(map.at(x, 539), map_ellipse_colour) << "x " << x;
        EXPECT_EQ(map.at(x, 58), rgb(255, 255, 255)) << "x " << x;
        EXPECT_EQ(map.at(x, 540), rgb(255, 255, 255)) << "x " << x;
    }
    EXPECT_GT(inner.count, 0);
}

TEST(MapPictures, RingIsAThinClosedCurve) {
    // Every pixel of a closed one-pixel outline has at least two ring
    // neighbours, and no 2 x 2 block is filled (the line is one pixel wide).
    for (const EllipseBox& box : {map_outer_ellipse, map_inner_ellipse, EllipseBox{3, 4, 12, 9}}) {
        PixelPicture picture;
        picture.width = 800;
        picture.height = 600;
        picture.pixels.assign(800 * 600, 0);
        draw_ellipse(picture, box, 1);
        for (int y = box.top; y <= box.bottom; ++y)
            for (int x = box.left; x <= box.right; ++x) {
                if (picture.at(x, y) != 1) continue;
                int neighbours = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if ((dx || dy) && picture.at(x + dx, y + dy) == 1) ++neighbours;
                ASSERT_GE(neighbours, 2) << "box " << box.left << "," << box.top << " at " << x << "," << y;
                ASSERT_FALSE(picture.at(x + 1, y) == 1 && picture.at(x, y + 1) == 1 &&
                             picture.at(x + 1, y + 1) == 1)
                    << "box " << box.left << "," << box.top << " 2x2 block at " << x << "," << y;
            }
        const Span span = ring_span(picture, 0, 0, 799, 599, 1);
        EXPECT_EQ(span.left, box.left);
        EXPECT_EQ(span.right, box.right);
        EXPECT_EQ(span.top, box.top);
        EXPECT_EQ(span.bottom, box.bottom);
    }
}

TEST(MapPictures, CopyIsClippedToPictureAndCanvas) {
    PixelPicture picture;
    picture.width = 4;
    picture.height = 3;
    for (int i = 0; i < 12; ++i) picture.pixels.push_back(uint32_t(i + 1));
    struct Case {
        int dst_x, dst_y, width, height, src_x, src_y;
        int probe_x, probe_y;
        uint32_t expected;
    };
    const Case cases[] = {
        {0, 0, 4, 3, 0, 0, 3, 2, 12},           // whole picture
        {10, 10, 2, 2, 1, 1, 11, 11, 11},       // sub-rectangle
        {-1, -1, 4, 3, 0, 0, 0, 0, 6},          // negative destination moves the source
        {958, 718, 4, 3, 0, 0, 959, 719, 6},    // cut at the canvas's far edge
        {0, 0, 10, 10, 2, 2, 1, 0, 12},         // cut at the picture's edge
        {0, 0, 10, 10, 2, 2, 2, 0, 0},          //   ... nothing beyond it
    };
    for (const Case& c : cases) {
        Canvas canvas;
        copy_picture(canvas, picture, c.dst_x, c.dst_y, c.width, c.height, c.src_x, c.src_y);
        EXPECT_EQ(canvas.at(c.probe_x, c.probe_y), c.expected)
            << "copy to " << c.dst_x << "," << c.dst_y << " size " << c.width << "x" << c.height
            << " from " << c.src_x << "," << c.src_y;
    }
    Canvas canvas;
    copy_picture(canvas, PixelPicture{}, 0, 0, 10, 10);  // an empty picture draws nothing
    EXPECT_EQ(canvas.at(0, 0), 0u);
}
