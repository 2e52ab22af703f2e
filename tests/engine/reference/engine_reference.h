// engine_reference.h -- literal per-pixel versions of the engine's floaters, light phenomena, eyelids and frame order.
//
// Each routine reads and writes one pixel at a time through read_pixel and
// write_pixel, in the loop order each effect is defined with (columns outer where the effect has
// them so), with the defined arithmetic, precision and order of random
// draws, and the same guards against values from files as the engine. Slow on
// purpose; the tests prove the engine equal to these, the benchmarks time them.
#pragma once
#include <cstdint>

#include "common/random.h"
#include "sim/engine/engine_state.h"
#include "reference/reference_pixels.h"
#include "visionfile/document.h"

namespace reference {

// Floaters.
void add_particle(engine::EngineState& state, int eye, float x, float y, int width, int height,
                  int transparency, float damping_x, float damping_y);
void dot_walk(engine::EngineState& state, Random& rng, int count, int width, int height, int transparency,
              float start_x, float start_y, float damping_x, float damping_y, int diffusion,
              int history_length, int x_bias, int y_bias, int eye);
void build_floaters_from_vision_file(engine::EngineState& state, const vision::Document& doc, Random& rng);
void add_random_floater(engine::EngineState& state, Random& rng, int size_bound);
void eye_movement_input(engine::EngineState& state, int x, int y);
void advance_floater_dots(engine::EngineState& state);
void draw_floater_particles(const engine::EngineState& state, platform::Frame& frame);

// Light phenomena and eyelids.
void draw_eyelids(platform::Frame& frame, int position, int base);
void new_spark(engine::EngineState& state, Random& rng, int index);
void draw_sparks(engine::EngineState& state, platform::Frame& frame,
                 Random& rng);
void new_star(engine::EngineState& state, Random& rng, int index);
void draw_stars(engine::EngineState& state, platform::Frame& frame,
                Random& rng);
void draw_sac_refractions(const engine::EngineState& state, const vision::Header& header,
                          platform::Frame& frame);
void draw_flash(platform::Frame& frame, float strength);
void draw_overlay_dimming(platform::Frame& frame);

// The frame order, with the optical filters' literal versions; grey_map may
// be nullptr.
void compose_frame(engine::EngineState& state, const vision::Header& header, const engine::FrameView& view,
                   platform::Frame& frame, const uint8_t* grey_map,
                   Random& rng);

// Reset steps 3 to 5: particles, blood cells, sparks, stars, random floaters.
void rebuild_engine_tables(engine::EngineState& state, const vision::Document& doc, Random& rng);

}  // namespace reference
