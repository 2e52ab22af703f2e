// pictures_test.cpp -- JPEG pictures from vision files, the decoder's limits, and bad pictures.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "picture_fixtures.h"
#include "sim/platform/jpeg_decode.h"
#include "sim/platform/null_platform.h"
#include "support/pixel_compare.h"

using namespace platform;
using namespace picture_fixtures;
using testing_support::TempDir;

namespace {

// The reference's RGB with the low bits the frame cannot show cleared.
std::vector<uint8_t> quantized(const Reference& ref) {
    DecodedPicture p{ref.rgb, ref.width, ref.height};
    quantize_to_565(p);
    return p.rgb;
}

}  // namespace

TEST(LoadPicture, DecodesFromOffsetQuantizedAsTheFrameShowsIt) {
    TempDir dir;
    const Bytes jpeg = rgb_jpeg(97, 61, 1);  // odd sizes cross the library's block edges
    const long offset = embed(dir.file("v.dat"), jpeg);
    const Reference ref = reference_decode(jpeg);
    ASSERT_EQ(ref.width, 97);
    NullPlatform screen;
    DecodedPicture picture;
    ASSERT_EQ(load_picture(screen, dir.file("v.dat").c_str(), offset, picture), 1);
    EXPECT_EQ(picture.width, 97);
    EXPECT_EQ(picture.height, 61);
    EXPECT_TRUE(picture.rgb == quantized(ref));
    for (size_t i = 0; i < picture.rgb.size(); ++i)
        ASSERT_EQ(picture.rgb[i] & (i % 3 == 1 ? 3 : 7), 0) << "byte " << i;
}

// A picture that cannot be decoded leaves the one already there, size and all.
TEST(LoadPicture, AFailedLoadKeepsThePictureItWouldReplace) {
    TempDir dir;
    const long good = embed(dir.file("v.dat"), rgb_jpeg(20, 10, 2));
    NullPlatform screen;
    DecodedPicture picture;
    ASSERT_EQ(load_picture(screen, dir.file("v.dat").c_str(), good, picture), 1);
    const DecodedPicture before = picture;
    testing::internal::CaptureStderr();
    EXPECT_EQ(load_picture(screen, dir.file("v.dat").c_str(), good + 3, picture), 0);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(picture.width, 20);
    EXPECT_TRUE(picture.rgb == before.rgb);
}

// The limits the platform is asked for are the ones it decodes to.
TEST(LoadPicture, TheDecoderHonoursTheLimitsItIsGiven) {
    const Bytes jpeg = rgb_jpeg(400, 300, 3);
    DecodedPicture picture;
    ASSERT_EQ(decode_jpeg_bytes(jpeg.data(), jpeg.size(), picture, PictureLimits{200, 200L * 200}), 1);
    EXPECT_EQ(picture.width, 200);   // half: the largest eighth that fits
    EXPECT_EQ(picture.height, 150);
    ASSERT_EQ(decode_jpeg_bytes(jpeg.data(), jpeg.size(), picture, PictureLimits{4096, 100L * 100}), 1);
    EXPECT_EQ(picture.width * picture.height <= 100 * 100, true);
}

TEST(LoadPicture, GreyPictureComesOutAsEqualChannels) {
    TempDir dir;
    std::vector<uint8_t> grey(40 * 30);
    for (size_t i = 0; i < grey.size(); ++i) grey[i] = uint8_t(i * 7);
    const Bytes jpeg = encode(grey, 40, 30, 1, JCS_GRAYSCALE);
    const long offset = embed(dir.file("g.dat"), jpeg);
    DecodedPicture picture;
    ASSERT_EQ(decode_jpeg(dir.file("g.dat").c_str(), offset, picture), 1);
    const Reference ref = reference_decode(jpeg);
    EXPECT_EQ(picture.rgb, ref.rgb);
    for (size_t i = 0; i < picture.rgb.size(); i += 3) {
        ASSERT_EQ(picture.rgb[i], picture.rgb[i + 1]) << "pixel " << i / 3;
        ASSERT_EQ(picture.rgb[i], picture.rgb[i + 2]) << "pixel " << i / 3;
    }
}

TEST(LoadPicture, TruncatedPictureStillDecodes) {
    TempDir dir;
    Bytes jpeg = rgb_jpeg(64, 64, 3);
    jpeg.resize(jpeg.size() / 2);
    const long offset = embed(dir.file("t.dat"), jpeg, 100, 0);
    NullPlatform screen;
    DecodedPicture picture;
    testing::internal::CaptureStderr();
    EXPECT_EQ(load_picture(screen, dir.file("t.dat").c_str(), offset, picture), 1);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(picture.width, 64);
    EXPECT_EQ(picture.height, 64);
}

// Sets the size in the first SOF marker of a baseline JPEG.
Bytes with_declared_size(Bytes jpeg, int width, int height) {
    for (size_t i = 0; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = uint8_t(height >> 8);
            jpeg[i + 6] = uint8_t(height);
            jpeg[i + 7] = uint8_t(width >> 8);
            jpeg[i + 8] = uint8_t(width);
            return jpeg;
        }
    ADD_FAILURE() << "no SOF0 marker";
    return jpeg;
}

TEST(LoadPicture, BadPicturesGiveNoPictureAndNoCrash) {
    TempDir dir;
    const Bytes good = rgb_jpeg(32, 32, 4);
    std::vector<uint8_t> cmyk(32 * 32 * 4, 100);
    Bytes garbage(5000);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = uint8_t(i * 131 + 17);
    struct Case {
        const char* name;
        Bytes bytes;
        long offset_shift;  // added to the picture's offset
    } cases[] = {
        {"cmyk", encode(cmyk, 32, 32, 4, JCS_CMYK), 0},
        {"huge declared size", with_declared_size(good, 60000, 60000), 0},
        {"more blocks than a load may read", with_declared_size(good, 9000, 6000), 0},
        {"too wide even at an eighth", with_declared_size(good, 40000, 8), 0},
        {"garbage", garbage, 0},
        {"empty", Bytes{}, 0},
        {"offset past end", good, 1 << 20},
        {"negative offset", good, -5000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const long offset = embed(dir.file("bad.dat"), c.bytes, 64, 0) + c.offset_shift;
        NullPlatform screen;
        DecodedPicture picture;
        EXPECT_EQ(load_picture(screen, dir.file("bad.dat").c_str(), offset, picture), 0);
        EXPECT_EQ(picture.width, 0);
        EXPECT_TRUE(picture.rgb.empty());
    }
    NullPlatform screen;
    DecodedPicture picture;
    testing::internal::CaptureStderr();
    EXPECT_EQ(load_picture(screen, dir.file("missing.dat").c_str(), 0, picture), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "can't open " + dir.file("missing.dat") + "\n");
}

TEST(LoadPicture, ExactlyTheLargestScenePictureIsAccepted) {
    TempDir dir;
    const Bytes jpeg = rgb_jpeg(1280, 960, 5);
    const long offset = embed(dir.file("big.dat"), jpeg);
    DecodedPicture picture;
    EXPECT_EQ(decode_jpeg(dir.file("big.dat").c_str(), offset, picture), 1);
    EXPECT_EQ(picture.width * picture.height, max_picture_pixels);
}

TEST(LoadPicture, LargerPhotosComeOutScaledDownByTheLibrary) {
    // A photo of 2000 x 1500 fits at five eighths; a 12-megapixel phone
    // photo, progressive, at a quarter; declared one pixel wider than a
    // scene, a picture comes out at seven eighths.
    struct Case {
        const char* what;
        Bytes jpeg;
        unsigned eighths;
        int width, height;
    } cases[] = {
        {"2000 x 1500", rgb_jpeg(2000, 1500, 6), 5, 1250, 938},
        {"progressive phone photo",
         encode(pattern(4032, 3024, 7), 4032, 3024, 3, JCS_RGB, 85, Coding{true}), 2, 1008, 756},
        {"1281 x 960", rgb_jpeg(1281, 960, 8), 7, 1121, 840},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DecodedPicture picture;
        ASSERT_EQ(decode_jpeg_bytes(c.jpeg.data(), c.jpeg.size(), picture), 1);
        EXPECT_EQ(picture.width, c.width);
        EXPECT_EQ(picture.height, c.height);
        const Reference ref = reference_decode(c.jpeg, c.eighths);
        EXPECT_EQ(ref.width, c.width);
        EXPECT_TRUE(picture.rgb == ref.rgb) << "the library's own scaled pixels";
    }
}

TEST(DefaultVision, TheStartupFolderWinsAndTheInstalledFileStandsInOnlyWhenItIsMissing) {
    TempDir dir;
    // An installation: <prefix>/bin holds the program, <prefix>/share/vitrion the data.
    const std::string prefix = dir.file("prefix");
    std::filesystem::create_directories(prefix + "/bin");
    std::filesystem::create_directories(prefix + "/share/vitrion");
    std::filesystem::create_directories(dir.file("start"));
    const std::string start = dir.file("start");
    const std::string installed = prefix + "/share/vitrion/vitrion.dat";
    char path[vision_path_size];

    // Neither file: the usual place is named, so the failure message points there.
    EXPECT_EQ(find_default_vision(start.c_str(), (prefix + "/bin").c_str(), path, sizeof path), 0);
    EXPECT_EQ(std::string(path), start + "/vitrion.dat");

    testing_support::write_file(installed, {1});
    EXPECT_EQ(find_default_vision(start.c_str(), (prefix + "/bin").c_str(), path, sizeof path), 1);
    EXPECT_EQ(std::string(path), installed);

    testing_support::write_file(start + "/vitrion.dat", {2});
    EXPECT_EQ(find_default_vision(start.c_str(), (prefix + "/bin").c_str(), path, sizeof path), 0);
    EXPECT_EQ(std::string(path), start + "/vitrion.dat");
}
