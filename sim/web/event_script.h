// event_script.h -- a fixed script of events run against the simulator, with a hash of every frame.
//
// The page's test hook (#test=SCRIPT) and the desktop tool that gives the
// same frames on the null platform run the same scripts through this one
// runner, so the two builds can only differ in what they compute.
#pragma once
#include <string>

#include "sim/shell/shell.h"

namespace web_test {

// The clock the script sets: the platform's calendar seconds and steady milliseconds.
struct ScriptClock {
    long* calendar_seconds;
    long* steady_ms;
};

// Runs `script`: items separated by commas, each one of
//   t or tN   N frame-timer ticks (1 if no N); each tick advances the steady
//             clock by one frame period and adds the frame's hash to `hashes`
//   kN / uN   key N (a keys.h code) pressed / released
//   mX:Y      the pointer moved to (X, Y)
//   l / r     left button pressed and released / right button pressed
//   sN        the calendar clock moves N seconds on
// The simulator must have had on_create. Returns 1, or 0 at the first item
// it cannot read (hashes hold the frames until then).
int run_event_script(shell::Simulator& sim, const char* script, ScriptClock clock, std::string& hashes);

// FNV-1a (64 bits) of the frame's pixels, as 16 hexadecimal digits.
std::string frame_hash(const platform::Frame& frame);

}  // namespace web_test
