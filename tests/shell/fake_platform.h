// fake_platform.h -- a Platform that records what the simulator asks of it and plays a settable clock.
#pragma once
#include <string>
#include <vector>

#include "sim/platform/platform.h"

namespace shell_testing {

struct DrawnText {
    std::string text;
    int x, y;       // top-left (for wrapped text: the box's left and top)
    int font;
    platform::Rgb colour;
    int wrapped;    // 1 for draw_wrapped_text
    platform::Rect box;
};

struct MessageBox {
    std::string text, caption;
};

struct FileDialogCall {
    std::string title, default_extension, initial_directory;
    std::vector<std::string> filter;
};

class FakePlatform : public platform::Platform {
public:
    // --- settings the test controls ---
    long clock = 1000000;             // calendar seconds
    int accept_16 = 1, accept_24 = 1; // display depths the fake screen takes
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

    int set_display_mode(int, int, int bits_per_pixel, platform::PixelFormat& format) override {
        ++mode_sets;
        if (bits_per_pixel == 16 && accept_16) { format = platform::format_565(); return 1; }
        if (bits_per_pixel == 24 && accept_24) { format = platform::format_888(); return 1; }
        return 0;
    }
    void close_display_mode() override { ++mode_closes; }
    void present(const platform::Surface&) override { ++presents; }

    void start_timer(int id, int period_ms) override {
        timer_running = 1;
        ++timer_starts;
        last_timer_id = id;
        last_period = period_ms;
    }
    void stop_timer(int) override {
        timer_running = 0;
        ++timer_stops;
    }
    void show_cursor(int show) override { cursor_visible = show; }
    void message_box(const char* text, const char* caption) override {
        boxes.push_back({text, caption});
    }
    void destroy_window() override { ++destroy_requests; }
    void post_quit(int code) override {
        quit_posted = 1;
        quit_code = code;
    }

    void draw_text(platform::Surface&, const platform::PixelFormat&, const char* text, int x, int y,
                   int font, platform::Rgb colour) override {
        if (record_text) texts.push_back({text, x, y, font, colour, 0, {}});
    }
    void draw_wrapped_text(platform::Surface&, const platform::PixelFormat&, const char* text,
                           platform::Rect box, int font, platform::Rgb colour) override {
        if (record_text) texts.push_back({text, box.left, box.top, font, colour, 1, box});
    }

    int choose_file_to_open(char* path, int path_size, const char* title, const char* const* filter,
                            int filter_pairs, const char* default_extension,
                            const char* initial_directory) override {
        FileDialogCall call{title, default_extension, initial_directory, {}};
        for (int i = 0; i < 2 * filter_pairs; ++i) call.filter.push_back(filter[i]);
        dialogs.push_back(call);
        if (file_answers.empty()) return 0;
        const std::string answer = file_answers.front();
        file_answers.erase(file_answers.begin());
        if (answer.empty() || int(answer.size()) >= path_size) return 0;
        answer.copy(path, answer.size());
        path[answer.size()] = '\0';
        return 1;
    }
    long calendar_seconds() override { return clock; }

    int start_sound_device() override { return sound_ok; }
    int start_music() override { return music_ok; }
    void stop_sound() override { ++sound_stops; }

    // Texts drawn in the given colour (shadows are black).
    std::vector<DrawnText> texts_in(platform::Rgb colour) const {
        std::vector<DrawnText> out;
        for (const DrawnText& t : texts)
            if (t.colour.red == colour.red && t.colour.green == colour.green &&
                t.colour.blue == colour.blue)
                out.push_back(t);
        return out;
    }
};

}  // namespace shell_testing
