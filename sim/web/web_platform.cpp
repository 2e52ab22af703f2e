// web_platform.cpp -- the Platform calls answered by the page (page.js's VitrionPage).
#include "sim/web/web_platform.h"

#include <emscripten.h>

#include <cstdio>
#include <cstring>

#include "common/latin1.h"

// clang-format off
EM_JS(void, page_present, (const uint16_t* pixels), { VitrionPage.present(pixels); });
EM_JS(void, page_draw_text, (uint16_t* pixels, const char* text, int x, int y, int font, int red, int green,
                             int blue, int wrapped, int left, int top, int right, int bottom), {
    VitrionPage.drawText(pixels, UTF8ToString(text), x, y, font, [red, green, blue], wrapped,
                         [left, top, right, bottom]);
});
EM_JS(void, page_set_timer, (int period_ms), { VitrionPage.setTimer(period_ms); });
EM_JS(double, page_now_ms, (), { return Date.now(); });
EM_JS(double, page_steady_ms, (), { return performance.now(); });
EM_JS(void, page_choose_file, (), { VitrionPage.chooseFile(); });
EM_JS(void, page_message, (const char* text, const char* caption), {
    VitrionPage.message(UTF8ToString(text), UTF8ToString(caption));
});
EM_JS(void, page_leave_full_screen, (), { VitrionPage.leaveFullScreen(); });
// clang-format on

namespace platform {

const char* web_text(const char* text) {
    return std::strcmp(text, "Exit the simulator.") == 0 ? "Leave full screen." : text;
}

void WebPlatform::present(const Frame& frame) { page_present(frame.pixels.data()); }

void WebPlatform::draw_text(Frame& frame, const TextRun& run) {
    if (test.on || !run.text) return;
    // Texts are Latin-1 (as the vision file stores them); the page takes UTF-8.
    char utf8[2 * 32000 + 1];
    common::latin1_to_utf8(web_text(run.text), utf8, sizeof utf8);
    page_draw_text(frame.pixels.data(), utf8, run.x, run.y, run.font, run.colour.red, run.colour.green,
                   run.colour.blue, run.wrapped, run.box.left, run.box.top, run.box.right, run.box.bottom);
}

int WebPlatform::decode_jpeg(const char* path, long offset, const PictureLimits& limits, DecodedPicture& out) {
    out = DecodedPicture{};
    for (const PredecodedPicture& p : pictures) {
        if (p.offset != offset || p.path != path) continue;
        if (!p.failure.empty()) {
            std::fprintf(stderr, "%s\n", p.failure.c_str());
            return 0;
        }
        const DecodedPicture& d = p.picture;
        if (d.width > limits.max_side || d.height > limits.max_side ||
            long(d.width) * d.height > limits.max_pixels) {
            std::fprintf(stderr, "JPEG picture of %d x %d refused\n", d.width, d.height);
            return 0;
        }
        out = d;
        return 1;
    }
    std::fprintf(stderr, "can't open %s\n", path);
    return 0;
}

void WebPlatform::set_frame_timer(int period_ms) {
    if (!test.on) page_set_timer(period_ms > 0 ? period_ms : 0);
}

long WebPlatform::calendar_seconds() { return test.on ? test.calendar_seconds : long(page_now_ms() / 1000.0); }
long WebPlatform::steady_milliseconds() { return test.on ? test.steady_ms : long(page_steady_ms()); }

int WebPlatform::choose_file(const FileRequest&, char*, int) {
    if (test.on) return file_cancelled;
    page_choose_file();
    return file_pending;
}

void WebPlatform::show_message(const char* text, const char* caption) { page_message(text, caption); }

void WebPlatform::quit() { page_leave_full_screen(); }

}  // namespace platform
