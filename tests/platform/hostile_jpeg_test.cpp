// hostile_jpeg_test.cpp -- JPEGs built to make decoding slow are refused quickly;
// real progressive pictures beside them still load.
#include <gtest/gtest.h>

#include <chrono>

#include "picture_fixtures.h"
#include "sim/platform/jpeg_decode.h"

using namespace picture_fixtures;

namespace {

// A progressive picture unless `coding` says otherwise.
Bytes progressive_jpeg(int width, int height, Coding coding = {true}) {
    return encode(pattern(width, height, 3), width, height, 3, JCS_RGB, 85, coding);
}

// `picture` with `extra` empty scans of the first component's AC
// coefficients inserted before its end marker: each costs ten bytes and
// makes the decoder walk every block of that component once more.
Bytes with_empty_scans(Bytes picture, int extra) {
    picture.resize(picture.size() - 2);  // the end-of-image marker
    const unsigned char scan[] = {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x01, 0x3F, 0x00};
    for (int i = 0; i < extra; ++i) picture.insert(picture.end(), scan, scan + sizeof scan);
    picture.insert(picture.end(), {0xFF, 0xD9});
    return picture;
}

// `picture` with the sample precision of its frame header set to `bits`.
Bytes with_precision(Bytes picture, uint8_t bits) {
    for (size_t i = 0; i + 4 < picture.size(); ++i)
        if (picture[i] == 0xFF && (picture[i + 1] == 0xC0 || picture[i + 1] == 0xC2)) {
            picture[i + 4] = bits;
            break;
        }
    return picture;
}

}  // namespace

TEST(HostileJpeg, UnusualCodingsDecodeAsTheLibraryDoesOrAreRefused) {
    struct Case {
        const char* what;
        Bytes jpeg;
        int loads;
    } cases[] = {
        {"arithmetic progressive", progressive_jpeg(200, 120, {true, true, 0}), 1},
        {"arithmetic sequential", progressive_jpeg(200, 120, {false, true, 0}), 1},
        {"restart marker every row", progressive_jpeg(200, 120, {false, false, 1}), 1},
        {"progressive with restart markers", progressive_jpeg(200, 120, {true, false, 2}), 1},
        {"12-bit samples", with_precision(progressive_jpeg(64, 64, {false, false, 0}), 12), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform::DecodedPicture out;
        ASSERT_EQ(platform::decode_jpeg_bytes(c.jpeg.data(), c.jpeg.size(), out), c.loads);
        if (c.loads) {
            EXPECT_EQ(out.rgb, reference_decode(c.jpeg).rgb);
        }
    }
}

TEST(HostileJpeg, ScanAndWorkLimitsRefuseSlowPicturesQuicklyAndPassRealOnes) {
    const Bytes photo = progressive_jpeg(1280, 960);
    const Bytes small = progressive_jpeg(64, 64);
    struct Case {
        const char* what;
        Bytes jpeg;
        int loads;
    } cases[] = {
        {"progressive photo", photo, 1},
        {"scan bomb", with_empty_scans(photo, 60000), 0},
        {"small picture, many scans under the limit", with_empty_scans(small, 250), 1},
        {"small picture past the scan limit", with_empty_scans(small, platform::max_jpeg_scans), 0},
        {"large picture, scans under the limit but too much work", with_empty_scans(photo, 250), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform::DecodedPicture out;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(platform::decode_jpeg_bytes(c.jpeg.data(), c.jpeg.size(), out), c.loads);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        // Unlimited, the scan bomb takes seconds; the bound is loose for sanitizer builds.
        EXPECT_LT(seconds, 2.0);
        if (c.loads) {
            const Reference ref = reference_decode(c.jpeg);
            EXPECT_EQ(out.width, ref.width);
            EXPECT_EQ(out.rgb, ref.rgb);
        }
        std::printf("%-56s %zu bytes, %.3f s\n", c.what, c.jpeg.size(), seconds);
    }
}
