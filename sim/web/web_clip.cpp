// web_clip.cpp -- F9 in the page: the clip's frames recorded by the browser's MediaRecorder (WebM) and downloaded.
//
// The shell's recording logic (the seconds on the status line, the limit,
// the cuts) runs unchanged over these calls. Each frame the shell hands over
// (composed, before dimming and text, as on the desktop) is painted into a
// canvas of its own whose stream the browser records; the clip is offered
// as a download when it ends. The name the shell picks ends in .webm here.
#include <emscripten.h>

#include <cstdio>
#include <cstring>

#include "sim/clip/clip_recorder.h"

// clang-format off
EM_JS(int, page_clip_start, (const char* name), { return VitrionPage.clipStart(UTF8ToString(name)); });
EM_JS(void, page_clip_frame, (const uint16_t* pixels), { VitrionPage.clipFrame(pixels); });
EM_JS(void, page_clip_finish, (), { VitrionPage.clipFinish(); });
EM_JS(int, page_clip_state, (), { return VitrionPage.clipState(); });  // 0 recording/saving, 1 saved, 2 failed
EM_JS(void, page_clip_cancel, (), { VitrionPage.clipCancel(); });
// clang-format on

namespace clip {

Recorder::~Recorder() = default;

int recorder_start(Recorder& r, const char* file_name, Reason& reason) {
    if (r.state != RecorderState::idle) return 0;
    std::snprintf(r.file_name, sizeof r.file_name, "%s", file_name);
    if (char* dot = std::strrchr(r.file_name, '.'); dot && std::strcmp(dot, ".webp") == 0)
        std::snprintf(dot, sizeof r.file_name - size_t(dot - r.file_name), ".webm");
    if (!page_clip_start(r.file_name)) {
        std::snprintf(reason.text, sizeof reason.text, "this browser cannot record the canvas");
        r.file_name[0] = '\0';
        return 0;
    }
    r.state = RecorderState::recording;
    r.last_timestamp_ms = -1;
    r.frames_queued = r.frames_dropped = 0;
    return 1;
}

int recorder_add_frame(Recorder& r, const platform::Frame& frame, long timestamp_ms) {
    if (r.state != RecorderState::recording || timestamp_ms <= r.last_timestamp_ms) {
        ++r.frames_dropped;
        return 0;
    }
    page_clip_frame(frame.pixels.data());
    r.last_timestamp_ms = timestamp_ms;
    ++r.frames_queued;
    return 1;
}

void recorder_finish(Recorder& r, long) {
    if (r.state != RecorderState::recording) return;
    page_clip_finish();
    r.state = RecorderState::finishing;
}

Outcome recorder_poll(Recorder& r, Reason& reason) {
    if (r.state != RecorderState::finishing) return Outcome::running;
    const int state = page_clip_state();
    if (state == 0) return Outcome::running;
    r.state = RecorderState::idle;
    if (state == 1) return Outcome::saved;
    std::snprintf(reason.text, sizeof reason.text, "the browser could not finish the recording");
    return Outcome::failed;
}

void recorder_cancel(Recorder& r) {
    if (r.state == RecorderState::idle) return;
    page_clip_cancel();
    r.state = RecorderState::idle;
}

// The page cannot wait: a clip still being finished is finished by the browser.
Outcome recorder_wait(Recorder& r, Reason& reason) { return recorder_poll(r, reason); }

}  // namespace clip
