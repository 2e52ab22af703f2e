// null_platform.h -- a Platform without a screen: it records what the simulator asks of it and plays a settable clock.
//
// It runs the whole simulator in memory: tests, benchmarks and fuzz targets
// drive it through the shell, and the editor draws stills of a vision with it.
#pragma once
#include <string>
#include <vector>

#include "sim/platform/platform.h"

namespace platform {

// One draw_text or draw_wrapped_text call.
struct DrawnText {
    std::string text;
    int x, y;       // top-left (for wrapped text: the box's left and top)
    int font;
    Rgb colour;
    int wrapped;    // 1 for draw_wrapped_text
    Rect box;
};

struct MessageBox {
    std::string text, caption;
};

struct FileDialogCall {
    std::string title, default_extension, initial_directory;
    std::vector<std::string> filter;
};

// Every display mode it takes succeeds in memory, present only counts, text
// is recorded but never drawn into the surface, and the file dialog answers
// from `file_answers`.
class NullPlatform : public Platform {
public:
    // --- settings the caller controls ---
    long clock = 1000000;             // calendar seconds
    int accept_16 = 1, accept_24 = 1; // display depths the null screen takes
    int sound_ok = 1, music_ok = 1;
    int record_text = 1;              // 0: draw_text does nothing at all
    std::vector<std::string> file_answers;  // next dialog answers; "" = cancel

    // --- what the simulator did ---
    std::vector<MessageBox> boxes;
    std::vector<DrawnText> texts;
    std::vector<FileDialogCall> dialogs;
    int timer_running = 0, timer_starts = 0, timer_stops = 0;
    int last_timer_id = 0, last_period = 0;
    int cursor_visible = 1;
    int destroy_requests = 0;
    int quit_posted = 0, quit_code = -1;
    int presents = 0;
    int mode_sets = 0, mode_closes = 0;
    int sound_stops = 0;

    int set_display_mode(int width, int height, int bits_per_pixel, PixelFormat& format) override;
    void close_display_mode() override;
    void present(const Surface& back) override;
    void start_timer(int id, int period_ms) override;
    void stop_timer(int id) override;
    void show_cursor(int show) override;
    void message_box(const char* text, const char* caption) override;
    void destroy_window() override;
    void post_quit(int code) override;
    void draw_text(Surface& target, const PixelFormat& format, const char* text, int x, int y, int font,
                   Rgb colour) override;
    void draw_wrapped_text(Surface& target, const PixelFormat& format, const char* text, Rect box, int font,
                           Rgb colour) override;
    // Answers with the first of `file_answers` (taken off the list): 0 when
    // the list is empty, the answer is "" or does not fit `path`.
    int choose_file_to_open(char* path, int path_size, const char* title, const char* const* filter,
                            int filter_pairs, const char* default_extension,
                            const char* initial_directory) override;
    long calendar_seconds() override;
    int start_sound_device() override;
    int start_music() override;
    void stop_sound() override;

    // Texts drawn in the given colour (shadows are black).
    std::vector<DrawnText> texts_in(Rgb colour) const;
};

}  // namespace platform
