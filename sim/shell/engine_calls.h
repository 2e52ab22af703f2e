// engine_calls.h -- the engine and picture operations the shell runs, bound to the simulator state.
//
// One place that knows how the engine wants its state and context passed, so
// the shell's logic reads as a list of named steps.
#pragma once

namespace shell {

struct Simulator;

void reset_scene(Simulator& sim);
void compose_frame(Simulator& sim);
void advance_floater_dots(Simulator& sim);
void eye_movement_input(Simulator& sim, int x, int y);
void add_random_floater(Simulator& sim);
// Key K: particle_count -= r mod 1000, at least 0.
void drop_floaters(Simulator& sim);
// Sets the blood cell count; rows that become live get a fresh path.
void set_blood_cell_count(Simulator& sim, int count);
// Rebuilds the scene picture with the blur of myopia_level (0: unblurred).
void apply_myopia_blur(Simulator& sim);
// Loads the next scene picture into the current scene surface.
void next_scene(Simulator& sim);

}  // namespace shell
