// platform.h -- everything the simulator asks of the windowing system.
//
// The shell and the display code reach the platform only through this
// interface. The Qt adapter implements it for the real program; the null
// platform (null_platform.h) records calls and plays a clock, so the whole
// simulator runs without a screen.
#pragma once
#include <chrono>
#include <cstdint>

#include "sim/platform/pixel_format.h"
#include "sim/platform/surface.h"

namespace platform {

struct Rgb {
    uint8_t red, green, blue;
};

struct Rect {
    int left, top, right, bottom;
};

class Platform {
public:
    virtual ~Platform() = default;

    // --- display ---
    // Switches the output to width x height at bits_per_pixel and reports the
    // pixel format. Returns 1, or 0 when that depth is refused.
    virtual int set_display_mode(int width, int height, int bits_per_pixel, PixelFormat& format) = 0;
    // Gives the output up (before a retry at another depth and at shutdown).
    virtual void close_display_mode() = 0;
    // Shows the back surface on the screen (once per frame).
    virtual void present(const Surface& back) = 0;

    // --- window, timer, cursor ---
    // Starts (or restarts) the frame timer `id` with `period_ms`; ticks that
    // fall due while one is being handled are merged, never queued.
    virtual void start_timer(int id, int period_ms) = 0;
    virtual void stop_timer(int id) = 0;
    // Shows (1) or hides (0) the mouse cursor over the window.
    virtual void show_cursor(int show) = 0;
    // A modal message box with an OK button.
    virtual void message_box(const char* text, const char* caption) = 0;
    // Destroys the window; the platform then delivers the destroy event.
    virtual void destroy_window() = 0;
    // Ends the event loop with `code` once the current handler returns.
    virtual void post_quit(int code) = 0;

    // --- text, drawn straight into a surface in the display's format ---
    // One line at top-left (x, y) in font `font` (0..5), transparent background.
    virtual void draw_text(Surface& target, const PixelFormat& format, const char* text,
                           int x, int y, int font, Rgb colour) = 0;
    // Text wrapped at word boundaries into `box`, line breaks honoured,
    // nothing drawn outside the box.
    virtual void draw_wrapped_text(Surface& target, const PixelFormat& format, const char* text,
                                   Rect box, int font, Rgb colour) = 0;

    // --- files and clock ---
    // The open-file dialog: `filter` holds name/pattern pairs, `filter_pairs`
    // of them. Returns nonzero and the full path in `path` (a buffer of
    // `path_size` bytes) when the user chose an existing file, 0 when cancelled.
    virtual int choose_file_to_open(char* path, int path_size, const char* title,
                                    const char* const* filter, int filter_pairs,
                                    const char* default_extension,
                                    const char* initial_directory) = 0;
    // Seconds since 1970.
    virtual long calendar_seconds() = 0;
    // Milliseconds of a steady clock with any origin; times clip frames.
    virtual long steady_milliseconds() {
        using namespace std::chrono;
        return long(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }

    // --- sound: started and stopped, never played ---
    virtual int start_sound_device() = 0;
    virtual int start_music() = 0;
    virtual void stop_sound() = 0;
};

}  // namespace platform
