// engine_calls.h -- the engine and picture operations the shell runs, bound to the simulator state.
//
// One place that knows how the engine wants its state and context passed, so
// the shell's logic reads as a list of named steps.
#pragma once

namespace shell {

struct Simulator;

void reset_scene(Simulator& sim);
// Composes the frame. With `defer_dimming` 1 while an
// overlay screen is up, the overlay dimming is left out and 1 returned: the
// caller then ends the frame with dim_for_overlay. Otherwise returns 0.
int compose_frame(Simulator& sim, int defer_dimming = 0);
// The overlay dimming that compose_frame left out.
void dim_for_overlay(Simulator& sim);
void advance_floater_dots(Simulator& sim);
void eye_movement_input(Simulator& sim, int x, int y);
void add_random_floater(Simulator& sim);
// Key K: particle_count -= r mod 1000, at least 0.
void drop_floaters(Simulator& sim);
// Sets the blood cell count; rows that become live get a fresh path.
void set_blood_cell_count(Simulator& sim, int count);
// Rebuilds the scene picture with the blur of myopia_level (0: unblurred).
void apply_myopia_blur(Simulator& sim);
// Loads the next scene picture; one that cannot be decoded leaves the scene as it was.
void next_scene(Simulator& sim);

}  // namespace shell
