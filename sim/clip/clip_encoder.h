// clip_encoder.h -- turns copied 640 x 480 frames into an animated WebP file, one frame at a time.
//
// This is the recorder's worker-side half and runs on whatever thread calls
// it; it knows nothing of threads or queues. The frames arrive as the 5-6-5
// frame holds them and are converted here, so that the frame loop only ever
// copies memory. The encoding library stays inside clip_encoder.cpp: nothing
// that includes this header sees its headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace clip {

constexpr int frame_width = 640;
constexpr int frame_height = 480;
constexpr int reason_size = 160;  // failure texts, terminating zero included

// How frames are compressed. The defaults keep a 10-second clip of the
// default vision with the view and floaters moving under 4 MB and encode a
// frame well inside one frame period on one core (docs/performance.md).
struct EncodeSettings {
    float quality = 50.0f;  // lossy quality, 0..100
    int method = 2;         // 0 (fastest) .. 6 (smallest)
    int lossless = 0;       // 1: every pixel kept exactly (a much larger file)
};

// A failure text for the user, e.g. "No space left on device".
struct Reason {
    char text[reason_size] = {};
};

// The encoding library's state of one clip, private to clip_encoder.cpp.
struct Animation;

// The encoder of one clip. Plain state: open, add frames, finish, close.
struct Encoder {
    Animation* animation = nullptr;  // made by encoder_open
    EncodeSettings settings;
    int frames = 0;          // frames added so far
    long last_timestamp_ms = -1;
};

// Prepares an encoder for a frame_width x frame_height clip that loops
// forever. Returns 1, or 0 with the reason (memory).
int encoder_open(Encoder& encoder, const EncodeSettings& settings, Reason& reason);

// Adds a frame shown from `timestamp_ms` (since the clip began) until the
// next frame's timestamp. Timestamps must increase. Returns 1, or 0 with the
// reason; the encoder is then unusable apart from encoder_close.
// `frame` holds frame_width x frame_height 5-6-5 pixels, rows from the top.
int encoder_add(Encoder& encoder, const uint16_t* frame, long timestamp_ms, Reason& reason);

// Ends the clip at `end_timestamp_ms` (the last frame lasts until then) and
// assembles the file's bytes into `out`. Returns 1, or 0 with the reason
// (no frames, memory, an end not after the last frame).
int encoder_finish(Encoder& encoder, long end_timestamp_ms, std::vector<uint8_t>& out, Reason& reason);

// Releases everything; safe on an encoder that was never opened.
void encoder_close(Encoder& encoder);

// Writes `size` bytes to the open file `fd` (a temporary created beside the
// target), flushes them to the disk, closes fd and renames `temporary_path`
// to `final_path`. On any failure the temporary is removed, nothing appears
// under final_path and 0 comes back with the system's reason. fd is closed
// in every case.
int write_and_rename(int fd, const char* temporary_path, const char* final_path,
                     const uint8_t* data, size_t size, Reason& reason);

}  // namespace clip
