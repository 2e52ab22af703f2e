// clip_encoder.h -- turns copied 640 x 480 frames into an animated WebP file, one frame at a time.
//
// This is the recorder's worker-side half and runs on whatever thread calls
// it; it knows nothing of threads or queues. The frame rows arrive in the
// display's own pixel format and are converted here, so that the frame loop
// only ever copies memory.
#pragma once
#include <cstddef>
#include <cstdint>

#include <webp/encode.h>
#include <webp/mux_types.h>

#include "sim/platform/pixel_format.h"

struct WebPAnimEncoder;

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

// One frame as the frame loop copied it: rows of frame_width pixels,
// `pitch` bytes apart, in `format` at `bytes_per_pixel` (2, 3 or 4).
struct FrameView {
    const uint8_t* pixels;
    int pitch;
    int bytes_per_pixel;
    platform::PixelFormat format;
};

// A failure text for the user, e.g. "No space left on device".
struct Reason {
    char text[reason_size] = {};
};

// The encoder of one clip. Plain state: open, add frames, finish, close.
struct Encoder {
    WebPAnimEncoder* animation = nullptr;
    EncodeSettings settings;
    WebPPicture picture{};   // one converted frame, allocated by encoder_open
    int frames = 0;          // frames added so far
    long last_timestamp_ms = -1;
};

// Prepares an encoder for a frame_width x frame_height clip that loops
// forever. Returns 1, or 0 with the reason (memory).
int encoder_open(Encoder& encoder, const EncodeSettings& settings, Reason& reason);

// Adds a frame shown from `timestamp_ms` (since the clip began) until the
// next frame's timestamp. Timestamps must increase. Returns 1, or 0 with the
// reason; the encoder is then unusable apart from encoder_close.
int encoder_add(Encoder& encoder, const FrameView& frame, long timestamp_ms, Reason& reason);

// Ends the clip at `end_timestamp_ms` (the last frame lasts until then) and
// assembles the file's bytes into `out`, which the caller releases with
// WebPDataClear. Returns 1, or 0 with the reason (no frames, memory, an end
// not after the last frame).
int encoder_finish(Encoder& encoder, long end_timestamp_ms, WebPData& out, Reason& reason);

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
