// clip_test.cpp -- F9 clips through the whole simulator on the null platform, read back with libwebp's demuxer.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <webp/demux.h>

#include "sim/platform/null_platform.h"
#include "sim/shell/keys.h"
#include "sim/shell/onscreen_text.h"
#include "sim/shell/shell.h"
#include "support/temp_dir.h"

namespace {

using platform::NullPlatform;

// The null platform with a steady clock the test moves, and text that really marks
// the frame, so a clip holding any text would show it. `composed` keeps the
// frame as it was when the frame's first text was drawn.
class ClipFake : public NullPlatform {
public:
    std::vector<uint16_t> composed;
    int text_in_frame = 0;

    void draw_text(platform::Frame& target, const platform::TextRun& run) override {
        if (!text_in_frame) composed = target.pixels;
        text_in_frame = 1;
        for (int row = run.y; row < run.y + 8 && row < 480; ++row)
            for (int column = run.x; column < run.x + 40 && column < 640; ++column)
                target.row(row)[column] = 0xFFFF;
        NullPlatform::draw_text(target, run);
    }
    void present(const platform::Frame& frame) override {
        text_in_frame = 0;
        NullPlatform::present(frame);
    }
};

struct DecodedClip {
    int width = 0, height = 0, frames = 0, loop_count = -1;
    std::vector<int> end_ms;            // each frame's end on the clip's clock
    std::vector<uint8_t> first_frame;   // RGBA
    std::vector<std::vector<uint8_t>> kept;  // the first frames asked for, RGBA
};

// Reads a clip with libwebp's animation decoder, keeping the pixels of its
// first `keep` frames too; 0 when it is not one.
int decode_clip(const std::string& path, DecodedClip& out, int keep = 0) {
    const std::vector<unsigned char> bytes = testing_support::read_file(path);
    WebPData data{bytes.data(), bytes.size()};
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) return 0;
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
    if (!decoder) return 0;
    WebPAnimInfo info;
    WebPAnimDecoderGetInfo(decoder, &info);
    out.width = int(info.canvas_width);
    out.height = int(info.canvas_height);
    out.frames = int(info.frame_count);
    out.loop_count = int(info.loop_count);
    while (WebPAnimDecoderHasMoreFrames(decoder)) {
        uint8_t* pixels = nullptr;
        int end = 0;
        if (!WebPAnimDecoderGetNext(decoder, &pixels, &end)) break;
        if (out.end_ms.empty()) out.first_frame.assign(pixels, pixels + out.width * out.height * 4);
        if (int(out.kept.size()) < keep) out.kept.emplace_back(pixels, pixels + out.width * out.height * 4);
        out.end_ms.push_back(end);
    }
    WebPAnimDecoderDelete(decoder);
    return int(out.end_ms.size()) == out.frames;
}

std::vector<std::string> files_in(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ClipTest : public testing::Test {
protected:
    ClipFake fake;
    std::unique_ptr<shell::Simulator> sim = std::make_unique<shell::Simulator>(fake);
    testing_support::TempDir folder;  // start-up and working directory
    std::filesystem::path old_directory = std::filesystem::current_path();
    int frame = 0;

    void SetUp() override {
        const auto source = std::filesystem::path(VITRION_BIN_DIR) / "vitrion.dat";
        if (!std::filesystem::exists(source)) GTEST_SKIP() << "the build made no vitrion.dat";
        std::filesystem::copy_file(source, folder.file("vitrion.dat"));
        std::filesystem::current_path(folder.path());  // clips land beside the captures
        start();
    }
    // A simulator on a fresh fake, from window creation into the simulation;
    // every start gives the same generator seed and the same frames.
    void start() {
        sim.reset();
        fake = ClipFake{};
        frame = 0;
        sim = std::make_unique<shell::Simulator>(fake);
        fake.clock = 1700000000;
        shell::on_create(*sim);
        std::snprintf(sim->startup_directory, sizeof sim->startup_directory, "%s",
                      folder.path().c_str());
        shell::on_timer(*sim);                   // start-up loader
        shell::on_left_button_down(*sim, 0, 0);  // into the simulation
        ASSERT_EQ(sim->engine.simulation_started, 1);
    }
    void TearDown() override { std::filesystem::current_path(old_directory); }

    // One frame-timer tick 50 ms after the last, the pointer moved a little
    // so that every frame differs from the one before. Unless `hurry`, first
    // waits (in real time) until the queue has room, as the real frame rate
    // leaves the worker time to keep up.
    void tick(int hurry = 0) {
        for (int i = 0; i < 2000 && !hurry; ++i) {
            {
                std::lock_guard<std::mutex> hold(sim->clip.recorder.mutex);
                if (sim->clip.recorder.count < clip::queue_frames) break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        fake.steady_ms += 50;
        ++frame;
        shell::on_mouse_move(*sim, 100 + frame % 200, 80 + frame % 3);
        shell::on_timer(*sim);
    }
    // Ticks on (in real time too) until the worker has finished the clip.
    void tick_until_saved() {
        for (int i = 0; i < 1000 && sim->clip.recorder.state != clip::RecorderState::idle; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            tick();
        }
        ASSERT_EQ(sim->clip.recorder.state, clip::RecorderState::idle);
    }
    std::string status() const { return sim->status_text; }
    std::string clip_name() const { return "vitrion_clip_" + std::to_string(fake.clock) + ".webp"; }
};

TEST_F(ClipTest, LosslessClipHoldsTheComposedFramesWithTheirTimes) {
    sim->clip.recorder.settings.lossless = 1;
    shell::on_key_down(*sim, shell::key_f9);
    EXPECT_EQ(status(), "Recording clip: 0 s (F9 stops)");
    tick();
    const std::vector<uint16_t> first = fake.composed;
    ASSERT_NE(first, sim->frame.pixels) << "text is drawn after the frame is taken";
    for (int i = 0; i < 24; ++i) tick();  // 25 frames: 1.25 s
    EXPECT_EQ(status(), "Recording clip: 1 s (F9 stops)");
    shell::on_key_down(*sim, shell::key_f9);
    tick_until_saved();
    EXPECT_EQ(status(), "Clip saved: " + clip_name());
    EXPECT_EQ(files_in(folder.path()), (std::vector<std::string>{"vitrion.dat", clip_name()}));

    DecodedClip decoded;
    ASSERT_TRUE(decode_clip(folder.file(clip_name()), decoded));
    EXPECT_EQ(decoded.width, 640);
    EXPECT_EQ(decoded.height, 480);
    EXPECT_EQ(decoded.loop_count, 0);
    ASSERT_EQ(decoded.frames, 25);
    for (int i = 0; i < 25; ++i) EXPECT_EQ(decoded.end_ms[i], 50 * (i + 1)) << "frame " << i;
    // Pixel for pixel the 5-6-5 frame read as 8-bit channels.
    int differing = 0;
    for (int i = 0; i < 640 * 480; ++i) {
        uint32_t red = 0, green = 0, blue = 0;
        platform::unpack_565(first[i], red, green, blue);
        const uint8_t* got = decoded.first_frame.data() + 4 * i;
        differing += got[0] != red || got[1] != green || got[2] != blue || got[3] != 255;
    }
    EXPECT_EQ(differing, 0);
}

// The same frames three times: with the help or about screen up the clip
// holds what it holds with no screen, while the screen shows the dimmed
// frame exactly as it does when no clip is being recorded.
TEST_F(ClipTest, ClipWithAScreenUpHoldsTheFramesOfNoScreen) {
    constexpr int frames = 6;
    // The clip's frames (RGBA) and the frames shown (5-6-5, before any text)
    // of one run.
    struct Run {
        std::vector<std::vector<uint8_t>> clip;
        std::vector<std::vector<uint16_t>> shown;
    };
    auto run = [&](int help, int about, int recording) {
        Run r;
        start();
        sim->clip.recorder.settings.lossless = 1;
        sim->eyelid_position = sim->blink_state = 0;  // the scene in sight from the first frame
        sim->help_visible = help;
        sim->about_visible = about;
        if (recording) shell::on_key_down(*sim, shell::key_f9);
        for (int i = 0; i < frames; ++i) {
            tick();
            r.shown.push_back(fake.composed);
        }
        if (!recording) return r;
        shell::on_key_down(*sim, shell::key_f9);
        tick_until_saved();
        DecodedClip decoded;
        EXPECT_TRUE(decode_clip(folder.file(clip_name()), decoded, frames));
        std::filesystem::remove(folder.file(clip_name()));
        r.clip = decoded.kept;
        return r;
    };
    const Run plain = run(0, 0, 1);
    ASSERT_EQ(plain.clip.size(), size_t(frames));
    for (const auto& [help, about] : {std::pair{1, 0}, {0, 1}}) {
        SCOPED_TRACE(help ? "help" : "about");
        const Run with_screen = run(help, about, 1);
        const Run shown_only = run(help, about, 0);
        for (int i = 0; i < frames; ++i) {
            EXPECT_TRUE(with_screen.clip[i] == plain.clip[i]) << "clip frame " << i;
            EXPECT_TRUE(with_screen.shown[i] == shown_only.shown[i]) << "shown frame " << i;
            EXPECT_FALSE(with_screen.shown[i] == plain.shown[i]) << "the screen dims frame " << i;
        }
    }
}

TEST_F(ClipTest, LossyClipIsCloseToTheFrameAndEndsByItselfAfterTwentySeconds) {
    shell::on_key_down(*sim, shell::key_f9);
    tick();
    const std::vector<uint16_t> first = fake.composed;
    // 200 ms a frame: the 100th frame starts at 19.8 s and the next tick ends the clip.
    for (int i = 0; i < 100 && sim->clip.recorder.state == clip::RecorderState::recording; ++i) {
        fake.steady_ms += 150;
        tick();
    }
    EXPECT_EQ(sim->clip.recorder.state, clip::RecorderState::finishing);
    EXPECT_EQ(status(), "Saving clip: " + clip_name() + "...");
    tick_until_saved();
    EXPECT_EQ(status(), "Clip saved: " + clip_name());

    DecodedClip decoded;
    ASSERT_TRUE(decode_clip(folder.file(clip_name()), decoded));
    ASSERT_EQ(decoded.frames, 100);
    EXPECT_EQ(decoded.end_ms.front(), 200);
    EXPECT_EQ(decoded.end_ms.back(), 19850);  // the last frame lasts one frame period
    double squared = 0;
    for (int i = 0; i < 640 * 480; ++i) {
        uint32_t rgb[3] = {};
        platform::unpack_565(first[i], rgb[0], rgb[1], rgb[2]);
        for (int c = 0; c < 3; ++c) {
            const double d = double(decoded.first_frame[4 * i + c]) - double(rgb[c]);
            squared += d * d;
        }
    }
    const double psnr = 10 * std::log10(255.0 * 255.0 / (squared / (640 * 480 * 3)));
    EXPECT_GT(psnr, 28.0) << "the first frame is not the composed frame";
}

TEST_F(ClipTest, FramesComingFasterThanTheEncoderAreDroppedButTheClipKeepsTime) {
    shell::on_key_down(*sim, shell::key_f9);
    for (int i = 0; i < 60; ++i) tick(1);  // far faster than real time
    const clip::Recorder& r = sim->clip.recorder;
    EXPECT_EQ(r.frames_queued + r.frames_dropped, 60);
    const int queued = r.frames_queued;
    const long last = r.last_timestamp_ms;
    shell::on_key_down(*sim, shell::key_f9);
    tick_until_saved();
    DecodedClip decoded;
    ASSERT_TRUE(decode_clip(folder.file(clip_name()), decoded));
    EXPECT_EQ(decoded.frames, queued);
    EXPECT_EQ(decoded.end_ms.back(), last + 50);
    for (int end : decoded.end_ms) EXPECT_EQ(end % 50, 0);
}

TEST_F(ClipTest, ACutOrFailedClipLeavesNoFileAndTheSimulatorRunning) {
    const std::vector<std::string> only_vision{"vitrion.dat"};

    // F4, even when the dialog is then cancelled.
    shell::on_key_down(*sim, shell::key_f9);
    for (int i = 0; i < 5; ++i) tick();
    fake.file_answers = {""};
    shell::on_key_down(*sim, shell::key_f4);
    EXPECT_EQ(status(), "Clip not saved: a vision file was loaded while recording");
    EXPECT_EQ(sim->clip.recorder.state, clip::RecorderState::idle);
    EXPECT_EQ(files_in(folder.path()), only_vision);
    EXPECT_EQ(fake.timer_period, 50);

    // A disk that fills while the clip is written.
    shell::on_key_down(*sim, shell::key_f9);
    for (int i = 0; i < 5; ++i) tick();
    rlimit old_limit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old_limit;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    shell::on_key_down(*sim, shell::key_f9);
    tick_until_saved();
    setrlimit(RLIMIT_FSIZE, &old_limit);
    std::signal(SIGXFSZ, old_handler);
    EXPECT_EQ(status(), "Clip not saved: File too large");
    EXPECT_EQ(files_in(folder.path()), only_vision);

    // F9 twice before any frame: nothing to save.
    shell::on_key_down(*sim, shell::key_f9);
    shell::on_key_down(*sim, shell::key_f9);
    tick_until_saved();
    EXPECT_EQ(status(), "Clip not saved: no frames were recorded");
    EXPECT_EQ(files_in(folder.path()), only_vision);

    // A folder that cannot be written: said at once. As root, permissions do
    // not bind, so the child drops to an unprivileged user.
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 ? setuid(65534) != 0 : chmod(folder.path().c_str(), 0555) != 0) _exit(99);
        shell::on_key_down(*sim, shell::key_f8);
        const int capture_said = status() == "Screen not saved: Permission denied";
        shell::on_key_down(*sim, shell::key_f9);
        const int said = capture_said &&
                         status() == "Clip not saved: cannot write in this folder: Permission denied";
        const int presents = fake.presents;
        tick();
        _exit(said && sim->clip.recorder.state == clip::RecorderState::idle &&
                      fake.presents == presents + 1 ? 0 : 1);
    }
    int child_status = 0;
    waitpid(child, &child_status, 0);
    chmod(folder.path().c_str(), 0755);
    EXPECT_TRUE(WIFEXITED(child_status) && WEXITSTATUS(child_status) == 0) << child_status;
    EXPECT_EQ(files_in(folder.path()), only_vision);

    // Escape: the program ends and the clip with it.
    shell::on_key_down(*sim, shell::key_f9);
    for (int i = 0; i < 5; ++i) tick();
    shell::on_key_up(*sim, shell::key_escape);
    ASSERT_EQ(fake.quit_requests, 1);
    shell::on_destroy(*sim);
    EXPECT_EQ(files_in(folder.path()), only_vision);
}

TEST_F(ClipTest, F8NamesTheCaptureAndHelpListsF9) {
    shell::on_key_down(*sim, shell::key_f8);
    const std::string capture = "vitrion_capture_" + std::to_string(fake.clock) + ".jpg";
    EXPECT_EQ(status(), "Screen saved: " + capture);
    EXPECT_TRUE(std::filesystem::exists(folder.file(capture)));

    // Every effect on: F9 below F8 and nothing cut for lack of room.
    vision::Header& h = sim->document.header;
    h.myopia_on = h.blood_cells_on = h.cataracts_on = h.flashes_on = h.sac_refractions_on = 1;
    h.stars_on = h.sparks_on = h.retina_shadow_on = h.sunglasses_on = 1;
    shell::HelpItem items[shell::help_item_capacity];
    const int n = shell::help_layout(h, items);
    EXPECT_LT(n, shell::help_item_capacity);
    int f9_rows = 0;
    for (int i = 0; i < n; ++i)
        if (std::string(items[i].text) == "F9" && items[i].x == 440 && items[i].row == 10) ++f9_rows;
    EXPECT_EQ(f9_rows, 1);
}

}  // namespace
