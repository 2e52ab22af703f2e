// engine.h -- the rendering engine's operations: compose frame, scene reset, floaters, light phenomena, eyelids.
//
// Every operation works on the one EngineState and draws its random numbers
// from the simulator's one generator, in a fixed order: the sequence of draws
// is part of each operation's contract. Drawing operations work on the 5-6-5
// frame and give the same pixels as reading every pixel with unpack_565,
// working on its channels and writing it back with pack_565.
#pragma once
#include <cstdint>

#include "common/random.h"
#include "sim/engine/dot_walk.h"
#include "sim/engine/engine_state.h"
#include "sim/engine/optical_filters.h"
#include "sim/platform/frame.h"
#include "sim/platform/pictures.h"
#include "sim/platform/platform.h"
#include "visionfile/document.h"

namespace engine {

// What compose_frame and the scene reset reach beyond the engine state.
struct EngineContext {
    vision::Document& doc;         // the loaded vision file
    platform::Frame& frame;        // what compose_frame draws into
    platform::Pictures& pictures;  // grey map, scene, scene slot
    platform::Platform& platform;  // decodes the scene pictures
    Random& rng;                   // the simulator's one generator
};

// ---------------------------------------------------------------- frame

// Composes one frame into the frame, in this order: floater particles,
// cataract haze, eyelids, blood cells, sparks, stars, sac refractions,
// sunglasses, retina shadow, flash, overlay dimming. In the intro phase
// (simulation_started 0) only the eyelids and the overlay dimming are drawn,
// but an active flash switch still takes its draw. In the simulation
// dim_factor is first set from the eyelid position.
// With view.defer_overlay_dimming 1 the overlay dimming is left out, and
// apply_overlay_dimming afterwards gives exactly the pixels of the whole
// frame.
void compose_frame(EngineState& state, const EngineContext& context, const FrameView& view);

// The overlay dimming alone: the last step of a frame composed with
// defer_overlay_dimming. Keeps 30 %, 30 % and 10 % of the channels, leaving
// the outermost row and column on each side alone.
void apply_overlay_dimming(platform::Frame& frame);

// The floaters' dimming for an eyelid position: 1 - position x 0.00019607843.
float dim_factor_for_eyelid(int eyelid_position);

// ---------------------------------------------------------------- reset

// Copies the vision header's strengths into the state: tint into glasses_*,
// myopia_dioptres into myopia_level, cataract clarity, blood cell count
// (limited to 0..1000) and brightness. Switches, eye_mode and the eyelid are
// kept; myopia_active is not changed.
void apply_vision_settings(EngineState& state, const vision::Header& header);

// Empties the particle table and builds the vision file's floaters, gives
// every live blood cell, spark and star a fresh state (in that order) and,
// while the default vision file is in use, adds 15 random floaters of size
// bound 2000.
void rebuild_engine_tables(EngineState& state, const vision::Document& doc, Random& rng);

// The whole reset: apply_vision_settings, then the first scene picture
// (scene slot -1, next_scene; none when it cannot be decoded), then
// rebuild_engine_tables.
void reset_scene_from_vision_settings(EngineState& state, const EngineContext& context);

// ---------------------------------------------------------------- floaters

// Appends one particle at (trunc(x), trunc(y)) with zero velocity; nothing
// when particle_count is already particle_limit. Huge or NaN positions from
// files saturate instead of overflowing.
void add_particle(EngineState& state, int eye, float x, float y, int width, int height,
                  int transparency, float damping_x, float damping_y);

// The dot walk that appends particles: walks `walk.count` positions (see
// dot_walk.h) and adds a width x height particle at each. The walk is cut
// short where the table would be full, so the particles added and the draws
// they needed are exactly those of the full walk.
void walk_particles(EngineState& state, Random& rng, const DotWalk& walk, int eye,
                    int transparency, float damping_x, float damping_y);

// Builds the particles of every floater record of eye 0, then eye 1, from the
// stored dots (map position - (80, 60)). Does not empty the table first.
void build_floaters_from_vision_file(EngineState& state, const vision::Document& doc, Random& rng);

// The size bound of the random floaters of the default vision and key J.
constexpr int random_floater_size_bound = 2000;

// Adds one random floater of 10..size_bound+9 particles of 1 x 1 pixel
// (shortened to fit the table; nothing when it is full).
void add_random_floater(EngineState& state, Random& rng, int size_bound);

// A pointer movement to (x, y): pushes every particle by a twentieth of the
// movement and, every third call, samples the movement direction into
// eye_movement (vertical wins over horizontal).
void eye_movement_input(EngineState& state, int x, int y);

// Moves every particle by its velocity, damps the velocity and updates the
// integer position.
void advance_floater_dots(EngineState& state);

// The rows [first, end) the eyelids at `position` leave lit; the rows above
// and below they turn black.
struct LitRows {
    int first = 0, end = platform::screen_height;
};
LitRows lit_rows(int position, int base);

// Darkens the pixels under the particles of the selected eye(s), in table
// order (row 0 and column 0 are never touched). Particles of up to 4 x 4
// pixels that lie wholly outside `lit` may be left out (the eyelids blacken
// those rows next). Uses state.unlit_next as scratch; what it draws depends
// on the particles alone.
void draw_floater_particles(EngineState& state, platform::Frame& frame, const LitRows& lit = {});

// Key K: particle_count drops by one draw mod 1000, not below 0. Returns the
// new count.
int drop_floaters(EngineState& state, Random& rng);

// Keys O / P: sets blood_cell_count to new_count limited to 0..1000. Rows
// that had a path since the last reset resume with the state they kept;
// rows that never had one get a fresh path, in row order (they would stay
// invisible otherwise).
void set_blood_cell_count(EngineState& state, Random& rng, int new_count);

// ---------------------------------------------------------------- light and eyelids

// The upper lid over the top `position` rows and the lower lid over the
// bottom position/2 rows, each fading over `base` rows from unchanged at its
// edge to 1/256 of the light.
void draw_eyelids(platform::Frame& frame, int position, int base);

// A fresh spark near the spark centre; about one birth in a hundred moves the
// centre. Writes state.sparks[index].
void new_spark(EngineState& state, Random& rng, int index);

// Draws every live spark as a 3 x 3 point, moves it and renews it after its life.
void draw_sparks(EngineState& state, platform::Frame& frame, Random& rng);

// A fresh star somewhere on the screen. Writes state.stars[index].
void new_star(EngineState& state, Random& rng, int index);

// Draws every live star as a 5 x 5 block and steps its swell/hold/fade cycle.
void draw_stars(EngineState& state, platform::Frame& frame, Random& rng);

// Brightens the outline points of the streaks of the selected eye(s) that
// the current eye movement makes visible.
void draw_sac_refractions(const EngineState& state, const vision::Header& header, platform::Frame& frame);

}  // namespace engine
