// engine_state.h -- the rendering engine's state: switches, strengths, eyelid, pointer samples and particle tables.
//
// One EngineState lives for the whole run (inside the simulator). Keys write
// its switches and strengths between frames; compose_frame reads them. What
// only the shell steps (the eyelid, blinking, the overlay screens, the myopia
// switch) is the shell's; compose_frame is handed what it draws. Every
// table is allocated once, when the state is made, at its full capacity; the
// counts say how many rows are live. Switches are 0 or 1.
#pragma once
#include <cstdint>
#include <vector>

#include "sim/engine/frame_tables.h"
#include "sim/platform/frame.h"
#include "sim/engine/optical_filters.h"

namespace engine {

using platform::screen_height;  // 640 x 480, defined once by the display
using platform::screen_width;

constexpr int particle_capacity = 100000;  // rows of the particle table
constexpr int particle_limit = 99999;      // rows that may be used
// The longest walk per stored dot the editor makes (its dot density slider
// ends at 10); longer walks come only from damaged files.
constexpr int full_walk_limit = 10;
constexpr int star_capacity = 1000;
constexpr int eyelid_base = 100;  // rows of an eyelid's soft edge
constexpr int spark_capacity = 1000;

// The floater particles, stored column by column (one array per field) so the
// per-frame passes over every row stay cache-friendly. Row i is
// (eye[i], x[i], y[i], ...); rows 0..particle_count-1 are live.
struct ParticleTable {
    std::vector<int32_t> eye = std::vector<int32_t>(particle_capacity);           // 0 left, 1 right
    std::vector<int32_t> x = std::vector<int32_t>(particle_capacity);             // trunc(position_x)
    std::vector<int32_t> y = std::vector<int32_t>(particle_capacity);             // trunc(position_y)
    std::vector<int32_t> width = std::vector<int32_t>(particle_capacity);         // pixels
    std::vector<int32_t> height = std::vector<int32_t>(particle_capacity);        // pixels
    std::vector<int32_t> transparency = std::vector<int32_t>(particle_capacity);  // higher = fainter
    std::vector<float> velocity_x = std::vector<float>(particle_capacity);        // pixels per frame
    std::vector<float> velocity_y = std::vector<float>(particle_capacity);
    std::vector<float> position_x = std::vector<float>(particle_capacity);        // exact position
    std::vector<float> position_y = std::vector<float>(particle_capacity);
    std::vector<float> damping_x = std::vector<float>(particle_capacity);         // velocity factor per frame
    std::vector<float> damping_y = std::vector<float>(particle_capacity);
};

// A star: a 5 x 5 block that swells to its peak, holds there and fades.
struct Star {
    float x, y;            // top-left pixel
    float brightness;      // current factor, starts at 1.0
    float peak;            // 1.0..1.499
    float rate;            // brightness change per frame
    int32_t hold_frames;   // frames to stay at the peak, 25..49
    int32_t held_frames;   // frames spent at the peak so far
};

// A spark: a 3 x 3 point that flies in a straight line until its life ends.
struct Spark {
    float x, y;                    // top-left pixel
    float velocity_x, velocity_y;  // pixels per frame
    int32_t life;                  // frames to live, 2..26
    int32_t age;                   // frames lived so far
};

// What the shell shows in this frame that the engine draws.
struct FrameView {
    int eyelid_position = 0;  // rows covered by the upper lid; 0 = open
    int overlay_dimmed = 0;   // 1 while a help, about or personal screen is shown
    // 1: compose_frame leaves the overlay dimming out, for the caller to add
    // with apply_overlay_dimming once it has taken the undimmed frame.
    int defer_overlay_dimming = 0;
};

struct EngineState {
    int eye_mode = 2;                // 0 left eye only, 1 right eye only, 2 both
    float dim_factor = 1.0f;         // 1 - eyelid_position / 5100, set by compose_frame
    int floaters_active = 1;
    int blood_cell_count = 600;      // live blood cells, 0..1000
    int blood_cells_with_path = 0;   // rows 0..n-1 were given a path since the last reset
    float blood_cell_brightness = 0.08f;
    int spark_count = 10;
    float spark_brightness = 0.4f;
    int star_count = 10;
    int glasses_red = 128;
    int glasses_green = 128;
    int glasses_blue = 128;
    float flash_strength = 0.3f;
    float cataract_clarity = 0.9f;   // 1.0 clear, lower = stronger cataract
    int default_vision_loaded = 1;   // 1 default vision file, 0 a personal one
    int spark_centre_x = 600;
    int spark_centre_y = 100;
    int reference_x = -1;            // pointer at the last movement sample
    int reference_y = -1;
    float previous_x = -1.0f;        // pointer at the previous movement call
    float previous_y = -1.0f;
    int movement_samples = 0;        // calls since the last sample, 0..2
    int eye_movement = 0;            // 0 none, 1 right, 2 left, 3 down, 4 up
    int sparks_active = 0;
    int stars_active = 0;
    int sac_refractions_active = 0;
    int flashes_active = 0;
    int cataracts_active = 0;
    int retina_shadow_active = 0;
    int sunglasses_active = 0;
    int myopia_level = 0;            // dioptres of the next blur, 0..10
    int simulation_started = 0;      // 0 in the intro phase
    int particle_count = 0;          // live rows of `particles`

    ParticleTable particles;
    std::vector<BloodCell> blood_cells = std::vector<BloodCell>(blood_cell_capacity, BloodCell{});
    std::vector<Star> stars = std::vector<Star>(star_capacity, Star{});
    std::vector<Spark> sparks = std::vector<Spark>(spark_capacity, Spark{});
    FrameTables tables;  // kept between frames by compose_frame
    // Scratch of draw_floater_particles for particles larger than the editor
    // makes (from damaged files): per screen row, 641 entries pointing at
    // the next pixel that may not be black yet. Allocated on first need.
    std::vector<uint16_t> unlit_next;
};

}  // namespace engine
