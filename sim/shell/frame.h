// frame.h -- the frame step, blinking, the intro and its start.
#pragma once

namespace shell {

struct Simulator;

constexpr int blink_speed = 128;          // rows the eyelid moves per frame while blinking
constexpr int blink_turn_offset = 340;    // closing turns to opening past eyelid_base + 340
constexpr int intro_speed_divisor = 20;   // the intro eyelid moves blink_speed / 20 a frame
constexpr int auto_blink_chance = 100;    // one in 100 per frame once the interval has passed
inline constexpr char starting_text[] = "Starting simulator, please wait...";

// Draws one frame: the intro picture behind the opening
// eyelid, or the scene window at the pointer with every effect, the overlay
// screens, the status line and one blink step.
void frame_step(Simulator& sim);

// Frame step and present at once, also outside the timer.
void draw_frame_now(Simulator& sim);

// One blink step of a simulation frame: a requested or automatic blink
// begins, the eyelid closes by blink_speed, turns past eyelid_base + 340 and
// opens again.
void blink_step(Simulator& sim);

// The intro's eyelid: the closing/opening steps only, at blink_speed / 20.
void intro_eyelid_step(Simulator& sim);

// From the intro to the simulation: status text, one frame, reset scene;
// then the command line's vision file, when one was given, as F4 loads it.
void start_sequence(Simulator& sim);

// Reads the default vision file (startup_directory + "/vitrion.dat") into
// the document and makes it vision_path. Returns the reader's result; the
// reason of a failure goes to the standard error stream.
int read_default_vision(Simulator& sim);

}  // namespace shell
