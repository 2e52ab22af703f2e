// shell_bench.cpp -- the simulator's whole frame step on the default vision, text drawing stubbed out.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/bin_directory.h"
#include "shell/fake_platform.h"
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
    shell_testing::FakePlatform fake;
    fake.record_text = 0;
    auto sim = std::make_unique<shell::Simulator>(fake);
    shell::on_create(*sim);
    std::snprintf(sim->startup_directory, sizeof sim->startup_directory, "%s", directory.c_str());
    if (!shell::open_display_at_startup(*sim)) {
        state.SkipWithError("display did not open");
        return;
    }
    shell::on_timer(*sim);          // start-up loader
    shell::start_sequence(*sim);    // reset scene from the default vision
    engine::EngineState& e = sim->engine;
    e.floaters_active = e.cataracts_active = e.sparks_active = e.stars_active = 1;
    e.sac_refractions_active = e.sunglasses_active = e.retina_shadow_active = 1;
    e.flashes_active = 1;
    sim->blink_state = 0;
    sim->eyelid_position = 0;
    shell::set_status(*sim, "Both eyes");
    sim->view_x = 200;
    sim->view_y = 100;
    for (auto _ : state) {
        shell::frame_step(*sim);
        benchmark::DoNotOptimize(sim->display.back.pixels.data());
    }
    state.counters["particles"] = e.particle_count;
}
BENCHMARK(BM_FrameStepDefaultVision)->Unit(benchmark::kMillisecond);

}  // namespace
