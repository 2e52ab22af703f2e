// recording.cpp -- the shell's clip commands, the frame hook, and the F8 capture message.
#include "sim/shell/recording.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/trace.h"
#include "sim/platform/capture.h"
#include "sim/platform/pictures.h"
#include "sim/shell/onscreen_text.h"
#include "sim/shell/shell.h"

namespace shell {

namespace {

// Shows the seconds counted so far unless another message is on the status
// line; `force` puts the count there whatever is shown.
void show_seconds(Simulator& sim, int seconds, int force) {
    ClipRecording& c = sim.clip;
    const int ours = std::strcmp(sim.status_text, c.shown_text) == 0;
    const int free = sim.status_visible == 0 || ours;
    if (!force && !(free && (seconds != c.shown_second || sim.status_visible == 0))) return;
    std::snprintf(c.shown_text, sizeof c.shown_text, "Recording clip: %d s (F9 stops)", seconds);
    c.shown_second = seconds;
    set_status(sim, c.shown_text);
}

// Asks for the clip to be saved; the last frame lasts one frame period.
void finish(Simulator& sim) {
    clip::Recorder& r = sim.clip.recorder;
    clip::recorder_finish(r, r.last_timestamp_ms + frame_period_ms);
    sim.clip.shown_text[0] = '\0';
    set_status_format(sim, "Saving clip: %s...", r.file_name);
}

void report(Simulator& sim, clip::Outcome outcome, const clip::Reason& reason) {
    const clip::Recorder& r = sim.clip.recorder;
    if (outcome == clip::Outcome::running) return;
    trace::log("clip %s: %d frames queued, %d dropped", r.file_name, r.frames_queued, r.frames_dropped);
    if (outcome == clip::Outcome::saved)
        set_status_format(sim, "Clip saved: %s", r.file_name);
    else
        set_status_format(sim, "Clip not saved: %s", reason.text);
}

}  // namespace

void toggle_recording(Simulator& sim) {
    ClipRecording& c = sim.clip;
    clip::Recorder& r = c.recorder;
    if (r.state == clip::RecorderState::recording) {
        finish(sim);
        return;
    }
    if (r.state == clip::RecorderState::finishing) {
        set_status_format(sim, "Saving clip: %s...", r.file_name);
        return;
    }
    char name[platform::saved_name_size];
    std::snprintf(name, sizeof name, "vitrion_clip_%ld.webp", sim.platform.calendar_seconds());
    clip::Reason reason;
    if (!clip::recorder_start(r, name, reason)) {
        set_status_format(sim, "Clip not saved: %s", reason.text);
        return;
    }
    c.first_frame_pending = 1;
    show_seconds(sim, 0, 1);
}

int clip_takes_frames(const Simulator& sim) {
    return sim.clip.recorder.state == clip::RecorderState::recording;
}

void record_frame(Simulator& sim) {
    ClipRecording& c = sim.clip;
    clip::Recorder& r = c.recorder;
    if (r.state == clip::RecorderState::idle) return;
    if (r.state == clip::RecorderState::recording) {
        const long now = sim.platform.steady_milliseconds();
        if (c.first_frame_pending) {
            c.start_ms = now;
            c.first_frame_pending = 0;
        }
        const long elapsed = now - c.start_ms;
        if (elapsed >= clip_limit_ms) {
            finish(sim);
        } else {
            clip::recorder_add_frame(r, sim.frame, elapsed);
            show_seconds(sim, int(elapsed / 1000), 0);
        }
    }
    clip::Reason reason;
    report(sim, clip::recorder_poll(r, reason), reason);
}

void cut_recording(Simulator& sim) {
    clip::Recorder& r = sim.clip.recorder;
    if (r.state != clip::RecorderState::recording) return;
    clip::recorder_cancel(r);
    sim.clip.shown_text[0] = '\0';
    set_status(sim, "Clip not saved: a vision file was loaded while recording");
}

void end_recording_at_exit(Simulator& sim) {
    clip::Recorder& r = sim.clip.recorder;
    if (r.state == clip::RecorderState::recording) {
        clip::recorder_cancel(r);
        return;
    }
    clip::Reason reason;
    if (clip::recorder_wait(r, reason) == clip::Outcome::failed)
        std::fprintf(stderr, "vitrion_sim: clip %s not saved: %s\n", r.file_name, reason.text);
}

void capture_command(Simulator& sim) {
    const long seconds = sim.platform.calendar_seconds();
    char name[platform::saved_name_size];
    platform::capture_file_name(seconds, name, sizeof name);
    errno = 0;
    if (platform::capture_screen(sim.frame, seconds)) {
        set_status_format(sim, "Screen saved: %s", name);
    } else {
        const int error = errno;
        set_status_format(sim, "Screen not saved: %s", std::strerror(error ? error : EIO));
    }
}

}  // namespace shell
