// platform.h -- everything the simulator asks of the system it runs on, in nine calls.
//
// The shell reaches the screen, the clock, the timer, files chosen by the
// user and picture decoding only through this interface; it holds no toolkit
// type. The Qt adapter implements it on the desktop, the null platform
// (null_platform.h) in memory for tests, and a browser adapter can implement
// it with nothing that blocks but the file chooser, which may answer later.
// The adapter delivers its events to the shell's handlers (sim/shell/shell.h),
// one at a time, never while a handler runs.
#pragma once
#include <cstdint>

#include "sim/platform/frame.h"

namespace platform {

struct Rgb {
    uint8_t red, green, blue;
};

struct Rect {
    int left, top, right, bottom;
};

// One run of text to draw into the frame, on a transparent background.
struct TextRun {
    const char* text;
    int x = 0, y = 0;  // top-left of the line (unwrapped runs)
    int font = 0;      // 0 title (24 px), 1 heading (20 px), 2 entry (16 px)
    Rgb colour{0, 0, 0};
    int wrapped = 0;   // 1: broken at word boundaries into `box`, line breaks kept
    Rect box{0, 0, 0, 0};  // wrapped runs: nothing is drawn outside it
};

// What the file chooser offers: `filter` holds `filter_pairs` name/pattern
// pairs ("flt", "*.flt", ...), the first preselected; only existing files
// may be chosen.
struct FileRequest {
    const char* title;
    const char* const* filter;
    int filter_pairs;
    const char* default_extension;
    const char* initial_directory;
};

// Answers of choose_file.
constexpr int file_cancelled = 0;
constexpr int file_chosen = 1;
constexpr int file_pending = -1;

// The size limits of a decoded picture.
struct PictureLimits {
    int max_side;     // neither side longer
    long max_pixels;  // width x height at most
};

class Platform {
public:
    virtual ~Platform() = default;

    // Shows the finished frame (every effect and text drawn) on the screen,
    // scaled to it as the platform sees fit. Called once per drawn frame.
    // The frame lives as long as the simulator and is not changed until the
    // next frame step: the platform may keep repainting the screen from it.
    virtual void present(const Frame& frame) = 0;

    // Draws `run` into the frame in the platform's fonts, each pixel written
    // as pack_565 would store the blended colour. An unwrapped line that
    // would reach the right edge may be set narrower; a run drawn one pixel
    // up and to the left of the previous one with the same text (a text after
    // its shadow) takes the same face.
    virtual void draw_text(Frame& frame, const TextRun& run) = 0;

    // Decodes the JPEG that starts at byte `offset` of the file at `path`
    // (the data ends where the JPEG ends) into RGB rows, at most `limits` in
    // size: a larger picture comes out reduced, as picture_size::decoded_scale
    // says; one that cannot be shown at an eighth of its size, or cannot be
    // decoded, is refused. The reason of a failure goes to the standard
    // error stream. Returns 1, or 0 with `out` empty. Synchronous.
    virtual int decode_jpeg(const char* path, long offset, const PictureLimits& limits,
                            DecodedPicture& out) = 0;

    // Starts the frame timer with `period_ms` (> 0), or stops it (0). Each
    // tick calls shell::on_timer; ticks that fall due while a handler runs
    // are merged into one, never queued.
    virtual void set_frame_timer(int period_ms) = 0;

    // The clock: seconds since 1970, and milliseconds of a steady clock with
    // any origin (it times clips and never goes back).
    virtual long calendar_seconds() = 0;
    virtual long steady_milliseconds() = 0;

    // Asks the user for a file to open, as `request` describes. Either
    // answers now: file_chosen with the full path in `path` (`path_size`
    // bytes, terminated) or file_cancelled; or file_pending, and later, from
    // its own event loop, calls shell::on_file_chosen with the path (nullptr
    // when cancelled). The frame timer is stopped meanwhile; events other
    // than that answer may still arrive and are ignored while loading.
    virtual int choose_file(const FileRequest& request, char* path, int path_size) = 0;

    // Shows `text` under `caption` to the user with an OK button; may return
    // before the user has dismissed it.
    virtual void show_message(const char* text, const char* caption) = 0;

    // Ends the program: the platform calls shell::on_destroy exactly once
    // (possibly before quit returns), delivers no other event, and leaves
    // its event loop with exit code 0.
    virtual void quit() = 0;
};

}  // namespace platform
