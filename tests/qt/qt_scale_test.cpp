// qt_scale_test.cpp -- the software present against Qt's own pixel conversion.
#include <gtest/gtest.h>

#include "sim/qt/qt_scale.h"
#include "sim/qt/qt_text.h"
#include "support/pixel_compare.h"

using namespace platform;

namespace {
constexpr QRgb untouched = 0xFF123456u;
}

// The frame into areas of several sizes placed inside a larger target: each
// area pixel is the nearest source pixel, nothing outside the area is
// written.
TEST(QtScale, NearestNeighbourIntoTheAreaOnly) {
    const QRect areas[] = {{0, 0, 640, 480}, {171, 0, 1024, 768}, {0, 23, 960, 720}, {5, 7, 700, 525},
                           {1, 1, 320, 240}};
    QImage target(1300, 800, QImage::Format_RGB32);
    QImage source(640, 480, QImage::Format_RGB16);
    uint32_t state = 93u;
    for (int y = 0; y < 480; ++y)
        for (int i = 0; i < source.bytesPerLine(); ++i) source.scanLine(y)[i] = uchar((state = state * 1103515245u + 12345u) >> 23);
    // Qt's conversion is the reference for widening and byte order.
    const QImage reference = source.convertToFormat(QImage::Format_RGB32);
    ScaleTables tables;
    for (const QRect& area : areas) {
        target.fill(untouched);
        ASSERT_TRUE(scale_into(source, target, area, tables));
        int mismatches = 0;
        for (int y = 0; y < target.height() && mismatches < 3; ++y)
            for (int x = 0; x < target.width() && mismatches < 3; ++x) {
                QRgb want = untouched;
                if (area.contains(x, y))
                    want = reference.pixel((x - area.left()) * 640 / area.width(), (y - area.top()) * 480 / area.height());
                const QRgb got = target.pixel(x, y);
                if (want != got) {
                    ++mismatches;
                    ADD_FAILURE() << "area " << area.x() << "," << area.y() << " " << area.width() << "x"
                                  << area.height() << " at " << x << "," << y << ": 0x" << std::hex << got
                                  << " instead of 0x" << want;
                }
            }
    }
}

TEST(QtScale, RefusesWhatItCannotScaleAndWritesNothing) {
    ScaleTables tables;
    QImage target(200, 100, QImage::Format_RGB32);
    target.fill(untouched);
    QImage rgb(64, 48, QImage::Format_RGB16);
    rgb.fill(0);
    QImage grey(64, 48, QImage::Format_Grayscale8);
    grey.fill(0);
    EXPECT_FALSE(scale_into(grey, target, QRect(0, 0, 128, 96), tables));
    EXPECT_FALSE(scale_into(target, target, QRect(0, 0, 128, 96), tables)) << "only the 5-6-5 frame is scaled";
    EXPECT_FALSE(scale_into(rgb, target, QRect(0, 0, 0, 96), tables));
    EXPECT_FALSE(scale_into(rgb, target, QRect(100, 0, 128, 96), tables));  // past the right edge
    EXPECT_FALSE(scale_into(QImage(), target, QRect(0, 0, 128, 96), tables));
    QImage small_target(200, 100, QImage::Format_RGB16);
    EXPECT_FALSE(scale_into(rgb, small_target, QRect(0, 0, 128, 96), tables));
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x) ASSERT_EQ(target.pixel(x, y), untouched);
}
