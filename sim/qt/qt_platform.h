// qt_platform.h -- the Platform interface carried out with Qt: present, text,
// JPEG decoding (libjpeg), the frame timer, the clock, the file dialog, messages, quit.
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
    // fonts. The cursor is hidden over the window. Needs a QApplication.
    explicit QtPlatform(const QString& title, PresentChoice choice = present_choice_from_environment());

    SimWindow& window() { return window_; }

    // Whether quit was asked for (the event loop may not be running yet).
    bool quit_requested() const { return quit_requested_; }

    void present(const Frame& frame) override;
    // A line that would reach the screen's right edge is set narrower
    // (fit_text). The same line drawn next one pixel up and to the left of
    // the last one, as a text is drawn after its shadow, takes the face the
    // shadow took, so the two always match.
    void draw_text(Frame& frame, const TextRun& run) override;
    int decode_jpeg(const char* path, long offset, const PictureLimits& limits, DecodedPicture& out) override;
    void set_frame_timer(int period_ms) override;
    long calendar_seconds() override;
    long steady_milliseconds() override;
    // A modal file dialog, answered at once; the cursor shows while it is open.
    int choose_file(const FileRequest& request, char* path, int path_size) override;
    void show_message(const char* text, const char* caption) override;
    // Destroys the window (which delivers its `destroyed` event) and ends
    // the event loop with code 0.
    void quit() override;

private:
    SimWindow window_;
    QtFonts fonts_;
    QImage present_image_;  // over the presented frame's memory
    QImage text_image_;     // over the frame drawn into
    // The last line drawn and the face it took (see draw_text).
    char last_text_[256] = {};
    int last_x_ = 0, last_y_ = 0, last_font_ = -1;
    TextFace last_face_;
    bool quit_requested_ = false;
};

}  // namespace platform
