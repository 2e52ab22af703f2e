// engine_bench.cpp -- frame composition and floater drift timings, each with its literal per-pixel twin.
//
// Run: build/bin/vitrion_bench --benchmark_filter='ComposeFrame|EyeMovement|AdvanceFloater'
//      --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>

#include "all_effects_frame.h"
#include "reference/engine_fixtures.h"
#include "reference/engine_reference.h"
#include "sim/engine/engine.h"
#include "sim/platform/null_platform.h"

namespace {

using AllEffectsFrame = all_effects::AllEffectsFrameOn<platform::NullPlatform>;

template <bool Scattered>
void compose_all_effects(benchmark::State& st) {
    static AllEffectsFrame frame(Scattered);
    for (auto _ : st) {
        st.PauseTiming();
        frame.restore(frame.seed);
        st.ResumeTiming();
        engine::compose_frame(frame.state, frame.context(), frame.view);
        benchmark::DoNotOptimize(frame.frame.pixels.data());
    }
}

template <bool Scattered>
void compose_all_effects_reference(benchmark::State& st) {
    static AllEffectsFrame frame(Scattered);
    for (auto _ : st) {
        st.PauseTiming();
        frame.restore(frame.seed);
        st.ResumeTiming();
        reference::compose_frame(frame.state, frame.doc->header, frame.view, frame.frame, frame.pictures.grey_map.data(),
                                 frame.rng);
        benchmark::DoNotOptimize(frame.frame.pixels.data());
    }
}

void BM_ComposeFrameAllEffects(benchmark::State& st) { compose_all_effects<false>(st); }
void BM_ComposeFrameAllEffects_Reference(benchmark::State& st) { compose_all_effects_reference<false>(st); }
void BM_ComposeFrameAllEffectsScattered(benchmark::State& st) { compose_all_effects<true>(st); }
void BM_ComposeFrameAllEffectsScattered_Reference(benchmark::State& st) { compose_all_effects_reference<true>(st); }
BENCHMARK(BM_ComposeFrameAllEffects)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeFrameAllEffects_Reference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeFrameAllEffectsScattered)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeFrameAllEffectsScattered_Reference)->Unit(benchmark::kMillisecond);

// The floater step of the all-effects frame alone (born in bursts). The same
// frame is darkened again in every iteration: the cost does not depend on
// the pixel values.
template <auto Draw>
void draw_floaters(benchmark::State& st) {
    static AllEffectsFrame frame(false);
    for (auto _ : st) {
        Draw(frame.state, frame.frame);
        benchmark::DoNotOptimize(frame.frame.pixels.data());
    }
}

void draw_engine_floaters(engine::EngineState& s, platform::Frame& f) { engine::draw_floater_particles(s, f); }
void BM_DrawFloaterParticles(benchmark::State& st) { draw_floaters<draw_engine_floaters>(st); }
void BM_DrawFloaterParticles_Reference(benchmark::State& st) { draw_floaters<reference::draw_floater_particles>(st); }
BENCHMARK(BM_DrawFloaterParticles)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawFloaterParticles_Reference)->Unit(benchmark::kMicrosecond);

// A damaged file's floaters: the whole table (99,999 rows) of particles that
// each cover the screen, at the default transparency. Each frame starts from
// a fresh white picture. No frame may take half a second; drawn literally
// this one takes minutes.
void BM_DrawScreenSizedParticlesOfADamagedFile(benchmark::State& st) {
    static engine::EngineState state;
    if (state.particle_count == 0)
        for (int i = 0; i < engine::particle_limit; ++i)
            engine::add_particle(state, i % 2, -50.0f - i % 7, -30.0f - i % 5, 1 << 20, 1 << 20, 240, 0.9f, 0.9f);
    static platform::Frame back;
    for (auto _ : st) {
        st.PauseTiming();
        std::fill(back.pixels.begin(), back.pixels.end(), uint16_t{0xFFFF});
        st.ResumeTiming();
        engine::draw_floater_particles(state, back);
        benchmark::DoNotOptimize(back.pixels.data());
    }
}
BENCHMARK(BM_DrawScreenSizedParticlesOfADamagedFile)->Unit(benchmark::kMillisecond);

// 99,999 particles with some velocity and damping.
struct FullTable {
    engine::EngineState state;
    FullTable() {
        std::mt19937 gen(7);
        engine_fixtures::random_particles(state, gen, engine::particle_limit);
    }
};

template <void (*Input)(engine::EngineState&, int, int)>
void eye_movement(benchmark::State& st) {
    static FullTable table;
    int x = 320;
    for (auto _ : st) {
        x = x == 320 ? 340 : 320;
        Input(table.state, x, 240);
        benchmark::DoNotOptimize(table.state.particles.velocity_x.data());
    }
}

void BM_EyeMovementInput(benchmark::State& st) { eye_movement<engine::eye_movement_input>(st); }
void BM_EyeMovementInput_Reference(benchmark::State& st) { eye_movement<reference::eye_movement_input>(st); }
BENCHMARK(BM_EyeMovementInput)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EyeMovementInput_Reference)->Unit(benchmark::kMicrosecond);

// Particles in motion, as after an eye movement. Left alone, the damped
// velocities would sink into subnormal floats after some hundreds of calls and
// the benchmark would time the processor's slow subnormal arithmetic (which a
// real floater passes through only briefly, on its way to rest) instead of the
// loop: so the velocities are put back, untimed, every 64 calls.
template <void (*Advance)(engine::EngineState&)>
void advance(benchmark::State& st) {
    static FullTable table;
    const std::vector<float> velocity_x = table.state.particles.velocity_x;
    const std::vector<float> velocity_y = table.state.particles.velocity_y;
    int calls = 0;
    for (auto _ : st) {
        if (++calls % 64 == 0) {
            st.PauseTiming();
            table.state.particles.velocity_x = velocity_x;
            table.state.particles.velocity_y = velocity_y;
            st.ResumeTiming();
        }
        Advance(table.state);
        benchmark::DoNotOptimize(table.state.particles.position_x.data());
    }
}

void BM_AdvanceFloaterDots(benchmark::State& st) { advance<engine::advance_floater_dots>(st); }
void BM_AdvanceFloaterDots_Reference(benchmark::State& st) { advance<reference::advance_floater_dots>(st); }
BENCHMARK(BM_AdvanceFloaterDots)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AdvanceFloaterDots_Reference)->Unit(benchmark::kMicrosecond);

}  // namespace
