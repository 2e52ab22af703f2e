// null_platform.cpp -- the screenless Platform: display modes in memory, calls recorded, a settable clock.
#include "sim/platform/null_platform.h"

namespace platform {

int NullPlatform::set_display_mode(int, int, int bits_per_pixel, PixelFormat& format) {
    ++mode_sets;
    if (bits_per_pixel == 16 && accept_16) { format = format_565(); return 1; }
    if (bits_per_pixel == 24 && accept_24) { format = format_888(); return 1; }
    return 0;
}

void NullPlatform::close_display_mode() { ++mode_closes; }
void NullPlatform::present(const Surface&) { ++presents; }

void NullPlatform::start_timer(int id, int period_ms) {
    timer_running = 1;
    ++timer_starts;
    last_timer_id = id;
    last_period = period_ms;
}

void NullPlatform::stop_timer(int) {
    timer_running = 0;
    ++timer_stops;
}

void NullPlatform::show_cursor(int show) { cursor_visible = show; }
void NullPlatform::message_box(const char* text, const char* caption) { boxes.push_back({text, caption}); }
void NullPlatform::destroy_window() { ++destroy_requests; }

void NullPlatform::post_quit(int code) {
    quit_posted = 1;
    quit_code = code;
}

void NullPlatform::draw_text(Surface&, const PixelFormat&, const char* text, int x, int y, int font,
                             Rgb colour) {
    if (record_text) texts.push_back({text, x, y, font, colour, 0, {}});
}

void NullPlatform::draw_wrapped_text(Surface&, const PixelFormat&, const char* text, Rect box, int font,
                                     Rgb colour) {
    if (record_text) texts.push_back({text, box.left, box.top, font, colour, 1, box});
}

int NullPlatform::choose_file_to_open(char* path, int path_size, const char* title, const char* const* filter,
                                      int filter_pairs, const char* default_extension,
                                      const char* initial_directory) {
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

long NullPlatform::calendar_seconds() { return clock; }
int NullPlatform::start_sound_device() { return sound_ok; }
int NullPlatform::start_music() { return music_ok; }
void NullPlatform::stop_sound() { ++sound_stops; }

std::vector<DrawnText> NullPlatform::texts_in(Rgb colour) const {
    std::vector<DrawnText> out;
    for (const DrawnText& t : texts)
        if (t.colour.red == colour.red && t.colour.green == colour.green && t.colour.blue == colour.blue)
            out.push_back(t);
    return out;
}

}  // namespace platform
