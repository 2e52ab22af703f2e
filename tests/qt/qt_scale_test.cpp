// qt_scale_test.cpp -- the present fast path against Qt's own pixel conversion.
#include <gtest/gtest.h>

#include "sim/platform/display.h"
#include "sim/qt/qt_scale.h"
#include "sim/qt/qt_text.h"
#include "support/pixel_compare.h"

using namespace platform;

TEST(QtScale, NearestNeighbourMatchesQtConversionForEveryFormat) {
    struct Format {
        int bits;
        PixelFormat format;
    } formats[] = {{16, format_565()}, {24, format_888()},
                   {32, pixel_format_from_masks(0xFF0000, 0x00FF00, 0x0000FF)}};
    const QSize sizes[] = {{640, 480}, {1024, 768}, {960, 720}, {700, 525}, {320, 240}};
    for (const Format& fm : formats) {
        Surface surface;
        ASSERT_EQ(create_surface(surface, 640, 480, fm.bits), 1);
        testing_support::fill_random(surface, 77u + fm.bits);
        const QImage source = wrap_surface(surface, fm.format);
        ASSERT_FALSE(source.isNull()) << fm.bits << " bits";
        // Qt's conversion is the reference for widening and byte order.
        const QImage reference = source.convertToFormat(QImage::Format_RGB32);
        ScaledFrame scaled;
        for (const QSize& size : sizes) {
            ASSERT_TRUE(scale_frame(source, size, scaled));
            ASSERT_EQ(scaled.image.size(), size);
            int mismatches = 0;
            for (int y = 0; y < size.height() && mismatches < 3; ++y)
                for (int x = 0; x < size.width() && mismatches < 3; ++x) {
                    const int sx = x * 640 / size.width(), sy = y * 480 / size.height();
                    const QRgb want = reference.pixel(sx, sy), got = scaled.image.pixel(x, y);
                    if (want != got) {
                        ++mismatches;
                        ADD_FAILURE() << fm.bits << " bits, " << size.width() << "x" << size.height()
                                      << " at " << x << "," << y << ": 0x" << std::hex << got
                                      << " instead of 0x" << want;
                    }
                }
        }
    }
}

TEST(QtScale, RefusesWhatItCannotScale) {
    ScaledFrame scaled;
    QImage grey(64, 48, QImage::Format_Grayscale8);
    grey.fill(0);
    EXPECT_FALSE(scale_frame(grey, QSize(128, 96), scaled));
    QImage rgb(64, 48, QImage::Format_RGB16);
    rgb.fill(0);
    EXPECT_FALSE(scale_frame(rgb, QSize(0, 96), scaled));
    EXPECT_FALSE(scale_frame(QImage(), QSize(128, 96), scaled));
}
