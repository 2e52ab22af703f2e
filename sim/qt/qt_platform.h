// qt_platform.h -- the Platform interface carried out with Qt: the window,
// display modes, present, timer, cursor, message boxes, text, file dialog.
#pragma once
#include <QString>

#include "sim/platform/platform.h"
#include "sim/shell/shell.h"
#include "sim/qt/qt_text.h"
#include "sim/qt/qt_window.h"

namespace platform {

class QtPlatform : public Platform {
public:
    // Creates the (hidden) window titled `title`, presenting as `choice`
    // asks (by default as the environment says, else automatically), and the
    // six fonts. Needs a QApplication.
    explicit QtPlatform(const QString& title, PresentChoice choice = present_choice_from_environment());

    SimWindow& window() { return window_; }

    // Refuse the 16-bit mode from now on, as a display without it would; the
    // display then falls back to 24 bits.
    void set_refuse_16_bits(bool refuse) { refuse_16_bits_ = refuse; }

    // Whether post_quit was called, and its code (the event loop may not be
    // running yet when start-up fails).
    bool quit_posted() const { return quit_posted_; }
    int quit_code() const { return quit_code_; }

    int set_display_mode(int width, int height, int bits_per_pixel, PixelFormat& format) override;
    void close_display_mode() override;
    void present(const Surface& back) override;

    void start_timer(int id, int period_ms) override;
    void stop_timer(int id) override;
    void show_cursor(int show) override;
    void message_box(const char* text, const char* caption) override;
    void destroy_window() override;
    void post_quit(int code) override;

    // A line that would reach the screen's right edge is set narrower
    // (fit_text). The same line drawn next one pixel up and to the left of
    // the last one, as a text is drawn after its shadow, takes the face the
    // shadow took, so the two always match.
    void draw_text(Surface& target, const PixelFormat& format, const char* text,
                   int x, int y, int font, Rgb colour) override;
    void draw_wrapped_text(Surface& target, const PixelFormat& format, const char* text,
                           Rect box, int font, Rgb colour) override;

    int choose_file_to_open(char* path, int path_size, const char* title,
                            const char* const* filter, int filter_pairs,
                            const char* default_extension,
                            const char* initial_directory) override;
    long calendar_seconds() override;

    int start_sound_device() override;
    int start_music() override;
    void stop_sound() override;

private:
    SimWindow window_;
    QtFonts fonts_;
    PixelFormat format_;     // of the open mode
    // Images over surface memory, kept from frame to frame (see wrap_surface_cached).
    QImage present_image_;
    QImage text_image_;
    // The last line drawn and the face it took (see draw_text).
    char last_text_[256] = {};
    int last_x_ = 0, last_y_ = 0, last_font_ = -1;
    TextFace last_face_;
    bool mode_open_ = false;
    bool refuse_16_bits_ = false;
    bool quit_posted_ = false;
    int quit_code_ = 0;
    // The one frame timer the shell uses; other identifiers are ignored.
    static constexpr int frame_timer_id = shell::frame_timer_id;
};

}  // namespace platform
