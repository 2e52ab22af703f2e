// all_effects_frame.h -- the frame with every effect that the frame benchmarks time, natively and in the browser.
#pragma once
#include <memory>
#include <random>
#include <vector>

#include "reference/engine_fixtures.h"
#include "sim/engine/engine.h"
#include "sim/platform/pictures.h"

namespace all_effects {

// One 640 x 480 16-bit frame with every effect: 99,999 floater particles of 1
// to 4 pixels on a side (born in bursts by the dot walk, as floaters are, or
// scattered uniformly over the screen as the worst case for the caches), eyelids at 240 rows, 1000 blood cells, stars,
// sparks, ten visible streaks of 6399 points, cataract, sunglasses, retina
// shadow, a flash and the help overlay. The generator is started from a seed
// chosen so that this very frame's flash draw is 0 mod 30: the flash is really
// drawn, by the ordinary code path, in every timed frame.
template <class Screen>
struct AllEffectsFrameOn {
    std::unique_ptr<vision::Document> doc = std::make_unique<vision::Document>();
    platform::Frame frame;
    platform::Pictures pictures;
    Screen screen;
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

    explicit AllEffectsFrameOn(bool scattered) {
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

}  // namespace all_effects
