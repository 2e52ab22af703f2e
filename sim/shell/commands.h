// commands.h -- the key commands and the vision-file loads behind F3 and F4.
#pragma once
#include "sim/platform/frame.h"

namespace shell {

struct Simulator;

constexpr int eyelid_closed = platform::screen_height;  // key A stops here
constexpr int eyelid_step = 8;           // rows per key A / Q
constexpr int tint_step = 8;             // keys E, R, T
constexpr int blood_cell_step = 10;      // keys P, O
constexpr int auto_blink_on_interval = 4;  // key Z

inline constexpr char dialog_title[] = "Load Vitrion Vision File";
inline constexpr char dialog_extension[] = "flt";

// Runs the command of one key-down in the simulation (see keys.h for codes):
// the key's row of the one key table in commands.cpp, which says what the
// key needs from the vision file, whether it hides the help screen and what
// it does. A new key is one row there. Keys outside the table do nothing.
void run_key_command(Simulator& sim, int virtual_key);

// F1 and the mouse buttons: the help screen off, or on with the other two
// overlay screens off.
void toggle_help(Simulator& sim);

// F3: reads the default vision file again and resets the scene from it.
void load_default_vision(Simulator& sim);

// F4: lets the user choose a vision file and loads it; cancelling changes
// nothing but the help screen's switch. A chosen file that is missing,
// unreadable or shorter than a vision header is named with the reason on
// the standard error stream, and the default vision stays loaded. When the
// chooser answers later, loading waits (timer stopped, busy 1) until
// on_file_chosen.
void load_personal_vision(Simulator& sim);

// The second half of F4 once the chooser has answered: loads `path`, or
// ends the loading unchanged when it is nullptr (cancelled).
void finish_personal_vision(Simulator& sim, const char* path);

// F4 with `path` in place of the dialog's answer (the command line's file):
// the same steps, messages and result as choosing `path` in the dialog.
void load_vision_at_path(Simulator& sim, const char* path);

}  // namespace shell
