// shell_bench.cpp -- the simulator's whole frame step on the default vision, text drawing stubbed out.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/bench_simulator.h"
#include "sim/platform/null_platform.h"
#include "sim/shell/frame.h"
#include "sim/shell/onscreen_text.h"
#include "sim/shell/shell.h"

namespace {

// Background copy, compose frame with every effect on, floater advance,
// overlay and status decisions and the blink step, after a reset scene of the
// default vision file; present and text rendering are no-ops of the fake.
void BM_FrameStepDefaultVision(benchmark::State& state) {
    const std::string directory = bin_directory();
    if (!std::filesystem::exists(directory + "/vitrion.dat")) {
        state.SkipWithError("vitrion.dat not found beside the benchmark program");
        return;
    }
    platform::NullPlatform fake;
    fake.record_text = 0;
    auto sim = std::make_unique<shell::Simulator>(fake);
    if (!start_every_effect(*sim, directory, state)) return;
    shell::set_status(*sim, "Both eyes");
    sim->view_x = 200;
    sim->view_y = 100;
    for (auto _ : state) {
        shell::frame_step(*sim);
        benchmark::DoNotOptimize(sim->frame.pixels.data());
    }
    state.counters["particles"] = sim->engine.particle_count;
}
BENCHMARK(BM_FrameStepDefaultVision)->Unit(benchmark::kMillisecond);

}  // namespace
