// clip_recorder.h -- records frames into an animated WebP file on a worker thread.
//
// The frame loop hands each composed frame to recorder_add_frame, which only
// copies the frame into a free slot of a small queue and
// returns; a worker thread converts and encodes the queued frames and, when
// the clip ends, writes the file under a temporary name beside the target
// and renames it. The frame loop is never made to wait for the worker: when
// every slot is still waiting to be encoded the new frame is dropped, and
// the frame before it simply stays on screen longer in the clip (frames
// carry their own times, so the clip keeps real time; only its smoothness
// suffers). The only waits are recorder_cancel and recorder_wait, for the
// moments the program loads a vision file or ends.
#pragma once
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "sim/clip/clip_encoder.h"
#include "sim/platform/frame.h"

namespace clip {

constexpr int queue_frames = 8;  // 0.4 s of frames at 20 a second
constexpr int slot_pixels = frame_width * frame_height;
constexpr int name_size = 96;

enum class RecorderState { idle, recording, finishing };

// What the worker reports when it has stopped.
enum class Outcome { running, saved, failed };

// Queue bookkeeping of one slot; the pixels live in Recorder::frames.
struct SlotInfo {
    long timestamp_ms = 0;
};

// One recorder for the program's whole run. Fields above `mutex` belong to
// the frame loop's thread; the worker only reads the two names, which stay
// as they are while it runs, and the pixels of slots the frame loop has
// published to it. Fields below `mutex` are shared with the worker and read
// or written only while holding `mutex`.
struct Recorder {
    Recorder() = default;
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;
    ~Recorder();  // cancels a clip still being recorded

    RecorderState state = RecorderState::idle;
    EncodeSettings settings;  // used by the next recorder_start
    char file_name[name_size] = {};
    char temporary_name[name_size] = {};
    long last_timestamp_ms = -1;  // of the last frame queued
    int frames_queued = 0;
    int frames_dropped = 0;
    // queue_frames * slot_pixels, allocated by the first recorder_start and
    // kept for the rest of the run.
    std::unique_ptr<uint16_t[]> frames;
    std::thread worker;

    std::mutex mutex;
    std::condition_variable wake;
    SlotInfo slots[queue_frames];
    int head = 0;        // oldest queued slot
    int count = 0;       // queued slots, the one being encoded included
    int finish_requested = 0;
    int cancel_requested = 0;
    long end_timestamp_ms = 0;
    Outcome outcome = Outcome::running;
    Reason reason;       // why the clip failed
};

// Starts a clip that will be saved as `file_name` in the working directory:
// creates its temporary file there at once (so a folder that cannot be
// written is reported now, not after the recording) and starts the worker.
// Returns 1, or 0 with the reason; the recorder then stays idle.
int recorder_start(Recorder& recorder, const char* file_name, Reason& reason);

// Queues a copy of the frame shown from `timestamp_ms` (since the clip
// began; must exceed the last frame's). Returns 1 when queued, 0 when the
// frame was dropped: queue full, a timestamp not after the last one, the
// worker already stopped, or no recording. Never waits for the worker.
int recorder_add_frame(Recorder& recorder, const platform::Frame& frame, long timestamp_ms);

// Ends the recording: the worker encodes what is queued, ends the clip at
// `end_timestamp_ms` and writes the file. Returns at once; recorder_poll
// tells when the file is there.
void recorder_finish(Recorder& recorder, long end_timestamp_ms);

// While finishing (or after the worker failed): saved or failed once the
// worker has stopped, which also joins it and makes the recorder idle again;
// running meanwhile. Failure texts land in `reason`. Idle recorders: running.
Outcome recorder_poll(Recorder& recorder, Reason& reason);

// Throws the clip away: the worker stops after the frame it is encoding, the
// temporary file is removed and nothing appears under the clip's name.
// Waits for the worker. Idle recorders: nothing happens.
void recorder_cancel(Recorder& recorder);

// Waits for a finishing clip to be written; returns as recorder_poll. A
// clip still recording is not waited for (as recorder_poll).
Outcome recorder_wait(Recorder& recorder, Reason& reason);

}  // namespace clip
