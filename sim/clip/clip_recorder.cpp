// clip_recorder.cpp -- the frame copies, the bounded queue and the encoding worker of a clip.
#include "sim/clip/clip_recorder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <system_error>

namespace clip {

namespace {

void set_reason(Reason& reason, const char* text) {
    std::snprintf(reason.text, sizeof reason.text, "%s", text);
}

// The worker: encodes queued frames in order until told to finish or
// cancel, then writes the file or removes the temporary. Owns `fd`. The
// settings come as a copy: the frame loop may change the recorder's for the
// next clip meanwhile.
void work(Recorder* recorder, int fd, EncodeSettings settings) {
    Recorder& r = *recorder;
    Encoder encoder;
    Reason reason;
    int ok = encoder_open(encoder, settings, reason);
    int cancelled = 0;
    long end_timestamp_ms = 0;
    while (ok) {
        int index = 0;
        SlotInfo info;
        {
            std::unique_lock<std::mutex> hold(r.mutex);
            r.wake.wait(hold, [&] { return r.count > 0 || r.finish_requested || r.cancel_requested; });
            if (r.cancel_requested) {
                cancelled = 1;
                break;
            }
            if (r.count == 0) {  // finish requested and everything encoded
                end_timestamp_ms = r.end_timestamp_ms;
                break;
            }
            index = r.head;
            info = r.slots[index];
        }
        ok = encoder_add(encoder, r.frames.get() + size_t(index) * slot_pixels, info.timestamp_ms, reason);
        std::lock_guard<std::mutex> hold(r.mutex);
        r.head = (r.head + 1) % queue_frames;
        --r.count;
    }

    Outcome outcome = Outcome::failed;
    if (ok && !cancelled) {
        std::vector<uint8_t> data;
        if (encoder_finish(encoder, end_timestamp_ms, data, reason)) {
            encoder_close(encoder);  // its memory is not needed while writing
            if (write_and_rename(fd, r.temporary_name, r.file_name, data.data(), data.size(), reason))
                outcome = Outcome::saved;
            fd = -1;  // closed by write_and_rename
        }
    }
    if (cancelled) set_reason(reason, "the recording was cut short");
    encoder_close(encoder);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(r.temporary_name);
    }
    std::lock_guard<std::mutex> hold(r.mutex);
    r.reason = reason;
    r.outcome = outcome;
}

// Joins the stopped worker and makes the recorder ready for the next clip.
void back_to_idle(Recorder& r) {
    if (r.worker.joinable()) r.worker.join();
    r.state = RecorderState::idle;
    r.head = r.count = 0;
    r.finish_requested = r.cancel_requested = 0;
    r.outcome = Outcome::running;
    r.reason = Reason{};
}

}  // namespace

Recorder::~Recorder() {
    if (worker.joinable()) recorder_cancel(*this);
}

int recorder_start(Recorder& r, const char* file_name, Reason& reason) {
    if (r.state != RecorderState::idle) {
        set_reason(reason, "the last clip is still being saved");
        return 0;
    }
    if (std::snprintf(r.file_name, sizeof r.file_name, "%s", file_name) >= int(sizeof r.file_name) ||
        std::snprintf(r.temporary_name, sizeof r.temporary_name, ".%s.%ld.part", file_name,
                      long(getpid())) >= int(sizeof r.temporary_name)) {
        set_reason(reason, "the clip's name is too long");
        return 0;
    }
    if (!r.frames) {
        r.frames.reset(new (std::nothrow) uint16_t[size_t(queue_frames) * slot_pixels]);
        if (!r.frames) {
            set_reason(reason, "out of memory");
            return 0;
        }
    }
    // Beside the final file, so that the rename never crosses file systems;
    // O_NOFOLLOW: a link planted under the temporary name is not written through.
    const int fd = ::open(r.temporary_name, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        std::snprintf(reason.text, sizeof reason.text, "cannot write in this folder: %s",
                      std::strerror(errno));
        return 0;
    }
    back_to_idle(r);
    r.last_timestamp_ms = -1;
    r.frames_queued = r.frames_dropped = 0;
    try {
        r.worker = std::thread(work, &r, fd, r.settings);
    } catch (const std::system_error&) {
        ::close(fd);
        ::unlink(r.temporary_name);
        set_reason(reason, "no thread could be started to encode the clip");
        return 0;
    }
    r.state = RecorderState::recording;
    return 1;
}

int recorder_add_frame(Recorder& r, const platform::Frame& frame, long timestamp_ms) {
    if (r.state != RecorderState::recording) return 0;
    if (timestamp_ms <= r.last_timestamp_ms) return 0;
    int index = 0;
    {
        std::lock_guard<std::mutex> hold(r.mutex);
        if (r.outcome != Outcome::running || r.count == queue_frames) {
            ++r.frames_dropped;
            return 0;
        }
        // The worker only reads slots head .. head + count - 1, so this one
        // is ours until it is published below.
        index = (r.head + r.count) % queue_frames;
    }
    std::memcpy(r.frames.get() + size_t(index) * slot_pixels, frame.pixels.data(), sizeof(uint16_t) * slot_pixels);
    {
        std::lock_guard<std::mutex> hold(r.mutex);
        r.slots[index] = SlotInfo{timestamp_ms};
        ++r.count;
    }
    r.wake.notify_one();
    r.last_timestamp_ms = timestamp_ms;
    ++r.frames_queued;
    return 1;
}

void recorder_finish(Recorder& r, long end_timestamp_ms) {
    if (r.state != RecorderState::recording) return;
    {
        std::lock_guard<std::mutex> hold(r.mutex);
        r.finish_requested = 1;
        r.end_timestamp_ms = end_timestamp_ms;
    }
    r.wake.notify_one();
    r.state = RecorderState::finishing;
}

Outcome recorder_poll(Recorder& r, Reason& reason) {
    if (r.state == RecorderState::idle) return Outcome::running;
    Outcome outcome;
    {
        std::lock_guard<std::mutex> hold(r.mutex);
        outcome = r.outcome;
        if (outcome == Outcome::failed) reason = r.reason;
    }
    if (outcome != Outcome::running) back_to_idle(r);
    return outcome;
}

void recorder_cancel(Recorder& r) {
    if (r.state == RecorderState::idle && !r.worker.joinable()) return;
    {
        std::lock_guard<std::mutex> hold(r.mutex);
        r.cancel_requested = 1;
    }
    r.wake.notify_one();
    back_to_idle(r);
}

Outcome recorder_wait(Recorder& r, Reason& reason) {
    // A clip still recording would keep the worker waiting for frames.
    if (r.state != RecorderState::finishing) return recorder_poll(r, reason);
    if (r.worker.joinable()) r.worker.join();
    return recorder_poll(r, reason);
}

}  // namespace clip
