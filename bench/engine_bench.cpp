// engine_bench.cpp -- frame composition and floater drift timings, each with its literal per-pixel twin.
//
// Run: build/bin/vitrion_bench --benchmark_filter='ComposeFrame|EyeMovement|AdvanceFloater'
//      --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>

#include "reference/engine_fixtures.h"
#include "reference/engine_reference.h"
#include "sim/engine/engine.h"
#include "sim/platform/null_platform.h"

namespace {

// One 640 x 480 16-bit frame with every effect: 99,999 floater particles of 1
// to 4 pixels on a side (born in bursts by the dot walk, as floaters are, or
// scattered uniformly over the screen as the worst case for the caches), eyelids at 240 rows, 1000 blood cells, stars,
// sparks, ten visible streaks of 6399 points, cataract, sunglasses, retina
// shadow, a flash and the help overlay. The generator is started from a seed
// chosen so that this very frame's flash draw is 0 mod 30: the flash is really
// drawn, by the ordinary code path, in every timed frame.
struct AllEffectsFrame {
    std::unique_ptr<vision::Document> doc = std::make_unique<vision::Document>();
    platform::Frame frame;
    platform::Pictures pictures;
    platform::NullPlatform screen;
    Random rng;
    engine::EngineState state;
    engine::FrameView view{240, 1};  // eyelids at 240 rows, the help overlay
    platform::Frame background;
    // What one frame changes besides the pixels, restored before each frame.
    std::vector<engine::BloodCell> cells;
    std::vector<engine::Star> stars;
    std::vector<engine::Spark> sparks;
    int centre_x = 0, centre_y = 0;
    uint32_t seed = 0;

    explicit AllEffectsFrame(bool scattered) {
        background = engine_fixtures::random_frame(42);
        pictures.grey_map = engine_fixtures::random_grey_map(42);
        std::mt19937 gen(42);
        engine_fixtures::random_streaks(doc->header, gen, vision::streak_max_points);
        for (vision::Streak& s : doc->header.streak) s.when_seen = 0;
        doc->header.blood_cells_on = 1;
        state.blood_cell_count = 1000;
        state.default_vision_loaded = 0;
        engine::rebuild_engine_tables(state, *doc, rng);
        if (scattered) {
            engine_fixtures::random_particles(state, gen, engine::particle_limit);
        } else {
            state.particle_count = 0;
            Random walk_rng;
            auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
            while (state.particle_count < engine::particle_limit) {
                engine::DotWalk walk;
                walk.count = pick(200, 3000);
                walk.width = pick(1, 4);
                walk.height = pick(1, 4);
                walk.start_x = static_cast<float>(pick(0, 639));
                walk.start_y = static_cast<float>(pick(0, 479));
                walk.diffusion = pick(0, 3);
                walk.history_length = pick(0, 9);
                engine::walk_particles(state, walk_rng, walk, pick(0, 1), pick(150, 254), 0.9f, 0.9f);
            }
        }
        state.simulation_started = 1;
        state.floaters_active = state.cataracts_active = state.sparks_active = state.stars_active = 1;
        state.sac_refractions_active = state.sunglasses_active = state.retina_shadow_active = 1;
        state.flashes_active = 1;
        state.cataract_clarity = 0.9f;
        cells = state.blood_cells;
        stars = state.stars;
        sparks = state.sparks;
        centre_x = state.spark_centre_x;
        centre_y = state.spark_centre_y;
        seed = find_flashing_seed();
    }

    engine::EngineContext context() { return {*doc, frame, pictures, screen, rng}; }

    // Restores everything one frame changes, then seeds the generator.
    void restore(uint32_t with_seed) {
        state.blood_cells = cells;
        state.stars = stars;
        state.sparks = sparks;
        state.spark_centre_x = centre_x;
        state.spark_centre_y = centre_y;
        frame.pixels = background.pixels;
        rng.seed(with_seed);
    }

    // A seed whose frame ends with a flash draw of 0 mod 30: the flash draw is
    // the frame's last one, so it is the draw after a frame without flashes.
    uint32_t find_flashing_seed() {
        for (uint32_t s = 1;; ++s) {
            restore(s);
            state.flashes_active = 0;
            engine::compose_frame(state, context(), view);
            state.flashes_active = 1;
            Random next = rng;
            if (next.next() % 30 == 0) return s;
        }
    }
};

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
