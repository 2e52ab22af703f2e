// web_platform.h -- the Platform in a web page: canvas, page fonts, the browser's timer, clock, file picker and pictures.
//
// Everything reaches the page through a few JavaScript functions of page.js
// (the VitrionPage object); nothing leaves the page. JPEGs are decoded by the
// browser before the shell needs them (decoding there never blocks), kept in
// `pictures`, and handed out by decode_jpeg, which stays synchronous.
#pragma once
#include <string>
#include <vector>

#include "sim/platform/platform.h"

namespace platform {

// One picture the page decoded ahead: the file and offset it came from, and
// either its pixels at the size the limits allow or the reason it failed.
struct PredecodedPicture {
    std::string path;
    long offset = 0;
    DecodedPicture picture;
    std::string failure;  // empty when decoded
};

// What the page's test hook needs instead of the browser's clock, timer and
// fonts: a settable clock, no timer, no text (frames as the null platform
// gives them).
struct WebTestMode {
    int on = 0;
    long calendar_seconds = 1000000;
    long steady_ms = 0;
};

class WebPlatform : public Platform {
public:
    std::vector<PredecodedPicture> pictures;
    WebTestMode test;

    void present(const Frame& frame) override;
    void draw_text(Frame& frame, const TextRun& run) override;
    int decode_jpeg(const char* path, long offset, const PictureLimits& limits, DecodedPicture& out) override;
    void set_frame_timer(int period_ms) override;
    long calendar_seconds() override;
    long steady_milliseconds() override;
    // Opens the page's file picker: always file_pending (the page answers
    // through shell::on_file_chosen once the picked file's pictures are
    // decoded), or file_cancelled in test mode.
    int choose_file(const FileRequest& request, char* path, int path_size) override;
    void show_message(const char* text, const char* caption) override;
    // A page is never closed by its content: leaves full screen.
    void quit() override;
};

// The help screen's line for Escape as the page shows it: the page leaves
// full screen on Escape instead of ending. Other texts come back unchanged.
const char* web_text(const char* text);

}  // namespace platform
