// capture_test.cpp -- screen capture to JPEG and the JPEG writer's failures.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "picture_fixtures.h"

using namespace platform;
using namespace picture_fixtures;
using testing_support::TempDir;

namespace {

// Runs in `dir` while it lives, so captures land there.
class InDirectory {
public:
    explicit InDirectory(const std::string& dir) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~InDirectory() { std::filesystem::current_path(previous_); }

private:
    std::filesystem::path previous_;
};

}  // namespace

TEST(Capture, SavesTheFrameAsJpegNamedByTheSecond) {
    TempDir dir;
    Frame frame;
    const std::vector<uint8_t> rgb = pattern(640, 480, 0);
    rgb_to_565(rgb.data(), frame_pixels, frame.pixels.data());
    {
        InDirectory here(dir.path());
        EXPECT_EQ(capture_screen(frame, 1234567890L), 1);
    }
    const Reference got = reference_decode(testing_support::read_file(dir.file("vitrion_capture_1234567890.jpg")));
    ASSERT_EQ(got.width, 640);
    ASSERT_EQ(got.height, 480);
    // Quality 50 with subsampled colour blurs the sharp blue stripes a
    // little; a shifted, flipped or swapped image would be off by far more.
    long long total_error = 0;
    int worst = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            uint32_t c[3];
            unpack_565(frame.pixels[y * 640 + x], c[0], c[1], c[2]);
            for (int k = 0; k < 3; ++k) {
                const int e = std::abs(int(got.rgb[(y * 640 + x) * 3 + k]) - int(c[k]));
                total_error += e;
                worst = std::max(worst, e);
            }
        }
    EXPECT_LT(double(total_error) / (640 * 480 * 3), 8.0);
    EXPECT_LT(worst, 100);
}

TEST(Capture, FileThatCannotBeCreatedIsReportedAndSkipped) {
    TempDir dir;
    Frame frame;
    std::filesystem::create_directory(dir.file("vitrion_capture_7.jpg"));  // the name is taken by a folder
    InDirectory here(dir.path());
    testing::internal::CaptureStderr();
    EXPECT_EQ(capture_screen(frame, 7), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "no puede abrirse el fichero :vitrion_capture_7.jpg \n");
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("vitrion_capture_7.jpg")));
}

TEST(WriteJpeg, WriteFailureLeavesNoHalfWrittenFile) {
    TempDir dir;
    // Noise compresses badly, so the file outgrows a 4 KB size limit.
    std::vector<uint8_t> noise(320 * 240 * 3);
    uint32_t state = 1;
    for (auto& b : noise) b = uint8_t((state = state * 1103515245u + 12345u) >> 23);
    rlimit old_limit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old_limit;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    testing::internal::CaptureStderr();
    const int ok = write_jpeg(dir.file("out.jpg").c_str(), 90, noise.data(), 320, 240);
    testing::internal::GetCapturedStderr();
    setrlimit(RLIMIT_FSIZE, &old_limit);
    std::signal(SIGXFSZ, old_handler);
    EXPECT_EQ(ok, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.jpg")));

    // Writing through a device name fails the same way but removes nothing.
    testing::internal::CaptureStderr();
    EXPECT_EQ(write_jpeg("/dev/full", 50, noise.data(), 320, 240), 0);
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::filesystem::exists("/dev/full"));

    EXPECT_EQ(write_jpeg(dir.file("none.jpg").c_str(), 50, nullptr, 320, 240), 0);
    EXPECT_EQ(write_jpeg(dir.file("none.jpg").c_str(), 50, noise.data(), 0, 240), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.jpg")));
}
