// recording.h -- the shell's clip commands: F9, the frame hook, and the ends a clip can come to.
//
// A clip holds the frames exactly as composed, before the dimming under an
// overlay screen and before any text, so it shows what the eye sees whether
// or not a screen is up; it is timed by the platform's steady clock, for at
// most clip_limit_ms. The status line counts its seconds and then names the
// saved file or the reason it was not saved.
#pragma once

#include "sim/clip/clip_recorder.h"

namespace shell {

struct Simulator;

constexpr long clip_limit_ms = 20000;
constexpr int clip_status_size = 96;

// The shell's part of a recording (a field of the simulator state).
struct ClipRecording {
    clip::Recorder recorder;  // its `settings` are used by the next F9
    long start_ms = 0;         // steady clock at the clip's first frame
    int first_frame_pending = 0;
    int shown_second = -1;     // the count the status line shows
    char shown_text[clip_status_size] = {};  // our last counting text
};

// F9: starts a clip named "vitrion_clip_<calendar second>.webp" in the
// working directory, or ends the one being recorded and has it saved.
void toggle_recording(Simulator& sim);

// 1 while a clip is being recorded: the frame step then hands record_frame
// the frame before any overlay dimming.
int clip_takes_frames(const Simulator& sim);

// Called by the frame step right after the frame is composed: queues a copy
// of it while recording, ends the clip at clip_limit_ms, keeps the seconds
// count on the status line (other messages take its place while they last)
// and reports the saved file or the failure once the worker is done.
void record_frame(Simulator& sim);

// A vision file is about to be loaded: a clip being recorded is thrown away
// (nothing is written under its name) and the status line says so. A clip
// already being saved carries on.
void cut_recording(Simulator& sim);

// The window is being destroyed: a clip being recorded is thrown away, one
// being saved is waited for.
void end_recording_at_exit(Simulator& sim);

// F8: saves the screen and puts "Screen saved: <file name>", or the reason it
// could not be saved, on the status line.
void capture_command(Simulator& sim);

}  // namespace shell
