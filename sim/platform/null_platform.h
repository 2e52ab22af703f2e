// null_platform.h -- a Platform without a screen: it records what the simulator asks of it and plays a settable clock.
//
// It runs the whole simulator in memory: tests, benchmarks and fuzz targets
// drive it through the shell, and the editor draws stills of a vision with
// it. Pictures are decoded with libjpeg, as on the desktop.
#pragma once
#include <string>
#include <vector>

#include "sim/platform/platform.h"

namespace platform {

struct DrawnText {
    std::string text;
    int x, y;  // top-left (wrapped runs: the box's left and top)
    int font;
    Rgb colour;
    int wrapped;
    Rect box;
};

struct ShownMessage {
    std::string text, caption;
};

struct FileDialogCall {
    std::string title, default_extension, initial_directory;
    std::vector<std::string> filter;
};

// Present counts, text is recorded but never drawn into the frame, and the
// file chooser answers from `file_answers`.
class NullPlatform : public Platform {
public:
    // --- settings the caller controls ---
    long clock = 1000000;    // calendar seconds
    long steady_ms = 0;      // the steady clock
    int record_text = 1;     // 0: draw_text does nothing at all
    std::vector<std::string> file_answers;  // next answers; "" cancels, "?" answers later

    // --- what the simulator did ---
    std::vector<ShownMessage> messages;
    std::vector<DrawnText> texts;
    std::vector<FileDialogCall> dialogs;
    int timer_period = 0;    // of the running frame timer, 0 when stopped
    int timer_starts = 0, timer_stops = 0;
    int quit_requests = 0;
    int presents = 0;

    void present(const Frame& frame) override;
    void draw_text(Frame& frame, const TextRun& run) override;
    int decode_jpeg(const char* path, long offset, const PictureLimits& limits, DecodedPicture& out) override;
    void set_frame_timer(int period_ms) override;
    long calendar_seconds() override;
    long steady_milliseconds() override;
    // Takes the first of `file_answers` off the list: file_cancelled when
    // the list is empty, the answer is "" or does not fit `path`;
    // file_pending for "?".
    int choose_file(const FileRequest& request, char* path, int path_size) override;
    void show_message(const char* text, const char* caption) override;
    void quit() override;

    // Texts drawn in the given colour (shadows are black).
    std::vector<DrawnText> texts_in(Rgb colour) const;
};

}  // namespace platform
