// clip_bench.cpp -- clip recording: the frame step with and without a recording, and the encoder's cost per frame.
#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_simulator.h"
#include "sim/platform/null_platform.h"
#include "sim/clip/clip_encoder.h"
#include "sim/shell/frame.h"
#include "sim/shell/keys.h"
#include "sim/shell/onscreen_text.h"
#include "sim/shell/recording.h"
#include "sim/shell/shell.h"

namespace {

// CPU seconds this thread has used: the frame loop's own cost, unaffected
// by the worker's CPU time or by other programs taking the core meanwhile
// (the machine these figures come from is shared).
double thread_cpu_seconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
}

// The null platform, its steady clock moved 50 ms per frame.
using PacedFake = platform::NullPlatform;

// The default vision with every effect on, in the simulation, in a fresh
// temporary working directory (clips are written there). Null when the
// default vision is missing.
struct Scene {
    PacedFake fake;
    std::unique_ptr<shell::Simulator> sim;
    std::filesystem::path folder;
    std::filesystem::path old_directory = std::filesystem::current_path();
    int frame = 0;

    int open(benchmark::State& state) {
        const std::string directory = bin_directory();
        if (!std::filesystem::exists(directory + "/vitrion.dat")) {
            state.SkipWithError("vitrion.dat not found beside the benchmark program");
            return 0;
        }
        folder = std::filesystem::temp_directory_path() /
                 ("vitrion-clip-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        fake.record_text = 0;
        sim = std::make_unique<shell::Simulator>(fake);
        return start_every_effect(*sim, directory, state);
    }
    ~Scene() {
        sim.reset();  // ends any clip before its folder goes
        std::filesystem::current_path(old_directory);
        std::error_code ignored;
        if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
    }
    // The gaze sweeps the scene as a person looking around would, so the
    // view pans and the floaters drift in every frame.
    void move_gaze() {
        const double t = frame * 0.05;
        shell::on_mouse_move(*sim, int(320 + 300 * std::sin(t * 1.6)), int(240 + 200 * std::sin(t * 1.0)));
        ++frame;
        fake.steady_ms += 50;
    }
};

// The frame step alone (arg 0) and while a clip records (args 1 and 2): the
// difference is what recording adds to the frame loop, the frame copy into
// the queue. Between frames, untimed, the benchmark stands in for the rest of
// the real 50 ms frame period: it runs through 64 MB of other memory (more
// than the processor's caches hold), as presenting, the window system and
// (while recording) the encoder would, so every variant starts its frame
// with the same cold caches; and it waits,
// with arg 1 until the worker has encoded every queued frame, so the timed
// step shows the frame loop's own extra work, with arg 2 only until the
// queue has room, so the worker encodes while the step runs and, on a
// machine whose cores are busy, competes with it for a core. Every timed
// frame really copies (frames_dropped stays 0).
void frame_step_recording(benchmark::State& state, int recording, int help) {
    Scene scene;
    if (!scene.open(state)) return;
    shell::Simulator& sim = *scene.sim;
    const int queued_at_most = recording == 1 ? 0 : clip::queue_frames - 1;
    sim.help_visible = help;
    if (recording) shell::on_key_down(sim, shell::key_f9);
    std::vector<uint8_t> other_memory(64 << 20, 1);
    for (auto _ : state) {
        scene.move_gaze();
        for (size_t i = 0; i < other_memory.size(); i += 64) ++other_memory[i];
        benchmark::DoNotOptimize(other_memory.data());
        for (int i = 0; recording && i < 5000; ++i) {
            {
                std::lock_guard<std::mutex> hold(sim.clip.recorder.mutex);
                if (sim.clip.recorder.count <= queued_at_most) break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        const double start = thread_cpu_seconds();
        shell::frame_step(sim);
        state.SetIterationTime(thread_cpu_seconds() - start);
        benchmark::DoNotOptimize(sim.frame.pixels.data());
    }
    state.counters["frames_copied"] = sim.clip.recorder.frames_queued;
    state.counters["frames_dropped"] = sim.clip.recorder.frames_dropped;
}
void BM_FrameStepRecording(benchmark::State& state) { frame_step_recording(state, int(state.range(0)), 0); }
// At most 399 frames, so that the 20-second limit never ends the clip mid-run.
BENCHMARK(BM_FrameStepRecording)
    ->Arg(0)->Arg(1)->Arg(2)->Iterations(300)->UseManualTime()->Unit(benchmark::kMillisecond);

// The same with the help screen up, not recording (0) and recording with the
// worker idle (1): while recording, the overlay dimming is a pass of its own
// after the clip's copy.
void BM_FrameStepRecordingWithHelp(benchmark::State& state) {
    frame_step_recording(state, int(state.range(0)), 1);
}
BENCHMARK(BM_FrameStepRecordingWithHelp)
    ->Arg(0)->Arg(1)->Iterations(300)->UseManualTime()->Unit(benchmark::kMillisecond);

// What recording adds to each frame on its own: the frame hook (the copy of
// the back surface into a queue slot and its bookkeeping), timed alone after
// an untimed frame step, with cold caches and an idle worker as above.
void BM_RecordFrameHook(benchmark::State& state) {
    Scene scene;
    if (!scene.open(state)) return;
    shell::Simulator& sim = *scene.sim;
    shell::on_key_down(sim, shell::key_f9);
    std::vector<uint8_t> other_memory(64 << 20, 1);
    for (auto _ : state) {
        for (int i = 0; i < 5000; ++i) {
            {
                std::lock_guard<std::mutex> hold(sim.clip.recorder.mutex);
                if (sim.clip.recorder.count == 0) break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        scene.move_gaze();
        sim.clip.recorder.state = clip::RecorderState::idle;  // the step itself adds no frame
        shell::frame_step(sim);
        sim.clip.recorder.state = clip::RecorderState::recording;
        for (size_t i = 0; i < other_memory.size(); i += 64) ++other_memory[i];
        benchmark::DoNotOptimize(other_memory.data());
        const double start = thread_cpu_seconds();
        shell::record_frame(sim);
        state.SetIterationTime(thread_cpu_seconds() - start);
    }
    state.counters["frames_copied"] = sim.clip.recorder.frames_queued;
    state.counters["frames_dropped"] = sim.clip.recorder.frames_dropped;
}
BENCHMARK(BM_RecordFrameHook)->Iterations(300)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The worker's work for a 10-second clip (200 frames at 20 a second) of the
// default vision with the gaze moving: converting and encoding each frame,
// then assembling the file, all on this one thread, timed by its CPU time.
// Reports the time per frame and the clip's size; the frames themselves are
// made untimed.
void BM_ClipEncodeTenSeconds(benchmark::State& state) {
    Scene scene;
    if (!scene.open(state)) return;
    shell::Simulator& sim = *scene.sim;
    clip::EncodeSettings settings;
    if (state.range(0) >= 0) settings.quality = float(state.range(0));
    if (state.range(1) >= 0) settings.method = int(state.range(1));
    size_t bytes = 0;
    double encode_seconds = 0;
    for (auto _ : state) {
        clip::Encoder encoder;
        clip::Reason reason;
        if (!clip::encoder_open(encoder, settings, reason)) {
            state.SkipWithError(reason.text);
            return;
        }
        double seconds = 0;
        for (int i = 0; i < 200; ++i) {
            scene.move_gaze();
            shell::frame_step(sim);
            const double start = thread_cpu_seconds();
            const int added = clip::encoder_add(encoder, sim.frame.pixels.data(), 50L * i, reason);
            seconds += thread_cpu_seconds() - start;
            if (!added) {
                state.SkipWithError(reason.text);
                return;
            }
        }
        std::vector<uint8_t> data;
        const double start = thread_cpu_seconds();
        const int finished = clip::encoder_finish(encoder, 50L * 200, data, reason);
        seconds += thread_cpu_seconds() - start;
        if (!finished) {
            state.SkipWithError(reason.text);
            return;
        }
        state.SetIterationTime(seconds);
        encode_seconds += seconds;
        bytes = data.size();
        clip::encoder_close(encoder);
    }
    state.counters["clip_MB"] = double(bytes) / 1e6;
    state.counters["encode_ms_per_frame"] = 1000.0 * encode_seconds / (200.0 * double(state.iterations()));
}
// Args: quality and method (-1: the recorder's defaults).
BENCHMARK(BM_ClipEncodeTenSeconds)->Args({-1, -1})->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
