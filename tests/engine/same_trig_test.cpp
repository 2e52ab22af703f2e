// same_trig_test.cpp -- the build-independent cosine and sine against the C library and a wider reference.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "sim/engine/same_trig.h"

namespace {

// The sunglasses' lens: every row's half-width is what the desktop library gave.
TEST(SameTrig, LensHalfWidthsOfEveryRowAreTheLibrarys) {
    for (int y = 0; y < 480; ++y) {
        const double x = (y - 240) * 0.005235833333333334;
        EXPECT_EQ(static_cast<int>(engine::same_cos(x) * 500.0), static_cast<int>(std::cos(x) * 500.0)) << y;
    }
}

// Blood-cell angles (degrees -400..800 as radians), in every quadrant: each
// result lies within one unit in the last place of the long-double value,
// and the trail positions the engine truncates them to are the library's.
TEST(SameTrig, BloodCellAnglesAreWithinAnUlpAndGiveTheLibrarysPositions) {
    std::mt19937_64 gen(7);
    std::uniform_real_distribution<double> degrees(-400.0, 800.0), radius(5.0, 300.0);
    for (int i = 0; i < 200000; ++i) {
        const double r = degrees(gen) * 0.01745277777777778;
        for (int want_sin = 0; want_sin < 2; ++want_sin) {
            const double ours = want_sin ? engine::same_sin(r) : engine::same_cos(r);
            const long double wide = want_sin ? std::sin(static_cast<long double>(r)) : std::cos(static_cast<long double>(r));
            const double ulp = std::nextafter(std::fabs(ours), 2.0) - std::fabs(ours);
            ASSERT_LE(std::fabs(static_cast<long double>(ours) - wide), static_cast<long double>(ulp)) << r;
            const double library = want_sin ? std::sin(r) : std::cos(r);
            const float cell_radius = static_cast<float>(radius(gen));
            ASSERT_EQ(static_cast<int>(ours * cell_radius + 320), static_cast<int>(library * cell_radius + 320)) << r;
        }
    }
}

// Every trail position a blood cell can take: cells start at whole angles
// 0..719 and step by whole degrees 10..19 either way, so trail dot k sits
// at angle - k x step x 0.7 degrees; centres are whole pixels and radii 2..5.
// Where our value differs from the library's, no centre or radius may give
// another whole pixel than the library gave.
TEST(SameTrig, EveryBloodCellTrailPositionIsTheLibrarys) {
    int differing = 0;
    for (int angle = 0; angle < 720; ++angle)
        for (int step = 10; step < 20; ++step)
            for (int k = 0; k < 5; ++k) {
                const double degrees = angle - static_cast<float>(k) * static_cast<float>(step) * 0.7;
                const double radians = degrees * 0.01745277777777778;
                for (int want_sin = 0; want_sin < 2; ++want_sin) {
                    const double ours = want_sin ? engine::same_sin(radians) : engine::same_cos(radians);
                    const double library = want_sin ? std::sin(radians) : std::cos(radians);
                    if (ours == library) continue;
                    ++differing;
                    for (float radius = 2; radius <= 5; ++radius)
                        for (int centre = 0; centre < 640; ++centre)
                            ASSERT_EQ(static_cast<int>(ours * radius + centre), static_cast<int>(library * radius + centre))
                                << degrees << " degrees, radius " << radius << ", centre " << centre;
                }
            }
    RecordProperty("differing_values", differing);
}

// Angles only damaged files hold: huge, infinite, not a number.
TEST(SameTrig, HugeAndNonFiniteAnglesGiveValuesInRangeOrNaN) {
    for (double x : {1.0e7, -3.0e12, 1.0e300, 3.4e38}) {
        EXPECT_LE(std::fabs(engine::same_cos(x)), 1.0) << x;
        EXPECT_LE(std::fabs(engine::same_sin(x)), 1.0) << x;
    }
    EXPECT_TRUE(std::isnan(engine::same_cos(INFINITY)));
    EXPECT_TRUE(std::isnan(engine::same_sin(NAN)));
}

}  // namespace
