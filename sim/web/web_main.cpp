// web_main.cpp -- vitrion_player: the simulator in a web page.
//
// The page (page.js) owns the canvas and the browser's events and calls the
// functions below, one at a time, never while one runs; each hands its event
// to the shell as the desktop adapter does. The page is a set of C entry
// points rather than one main loop, so the simulator lives in the one
// WebApp below for as long as the page is open.
#include <emscripten.h>

#include <iterator>
#include <memory>
#include <string>

#include "sim/shell/command_line.h"
#include "sim/shell/shell.h"
#include "sim/web/event_script.h"
#include "sim/web/web_pictures.h"
#include "sim/web/web_platform.h"

namespace {

struct WebApp {
    platform::WebPlatform platform;
    std::unique_ptr<shell::Simulator> sim;  // made by web_start
    std::string script_result;
};

WebApp& app() {
    static WebApp the_app;
    return the_app;
}

shell::Simulator* running() { return app().sim.get(); }

}  // namespace

extern "C" {

// Plans the pictures of the vision file at `path` for the page to decode
// (see plan_vision_pictures): `out` takes up to 4 x (offset, width, height).
EMSCRIPTEN_KEEPALIVE int web_plan_pictures(const char* path, int32_t* out) {
    return platform::plan_vision_pictures(app().platform, path, out);
}

EMSCRIPTEN_KEEPALIVE void web_store_picture(const char* path, int offset, const uint8_t* rgba, int width,
                                            int height) {
    platform::store_picture(app().platform, path, offset, rgba, width, height);
}

// Starts the simulator as `vitrion_sim --no-intro FILE` does (FILE "" for
// none), in the working directory that holds vitrion.dat. In test mode the
// clock stands still until a script moves it, no timer runs and no text is
// drawn.
EMSCRIPTEN_KEEPALIVE void web_start(const char* vision_path, int test_mode) {
    WebApp& a = app();
    if (a.sim) return;
    a.platform.test.on = test_mode;
    a.sim = std::make_unique<shell::Simulator>(a.platform);
    shell::SimCommandLine line;
    line.no_intro = 1;
    std::snprintf(line.file, sizeof line.file, "%s", vision_path ? vision_path : "");
    shell::apply_sim_command_line(*a.sim, line);
    shell::on_create(*a.sim);
}

// Test hook: runs an event script (event_script.h) and returns the frame
// hashes, one a line, and "script error" at the end when an item was unreadable.
EMSCRIPTEN_KEEPALIVE const char* web_run_script(const char* script) {
    WebApp& a = app();
    a.script_result.clear();
    if (!a.sim || !a.platform.test.on) return "";
    const web_test::ScriptClock clock{&a.platform.test.calendar_seconds, &a.platform.test.steady_ms};
    if (!web_test::run_event_script(*a.sim, script, clock, a.script_result)) a.script_result += "script error\n";
    return a.script_result.c_str();
}

EMSCRIPTEN_KEEPALIVE void web_tick() {
    if (shell::Simulator* s = running()) shell::on_timer(*s);
}
EMSCRIPTEN_KEEPALIVE void web_key_down(int key) {
    if (shell::Simulator* s = running()) shell::on_key_down(*s, key);
}
EMSCRIPTEN_KEEPALIVE void web_mouse_move(int x, int y) {
    if (shell::Simulator* s = running()) shell::on_mouse_move(*s, x, y);
}
EMSCRIPTEN_KEEPALIVE void web_left_down(int x, int y) {
    if (shell::Simulator* s = running()) shell::on_left_button_down(*s, x, y);
}
EMSCRIPTEN_KEEPALIVE void web_left_up(int x, int y) {
    if (shell::Simulator* s = running()) shell::on_left_button_up(*s, x, y);
}
EMSCRIPTEN_KEEPALIVE void web_right_down(int x, int y) {
    if (shell::Simulator* s = running()) shell::on_right_button_down(*s, x, y);
}
EMSCRIPTEN_KEEPALIVE void web_paint() {
    if (shell::Simulator* s = running()) shell::on_paint(*s);
}
// The picked file's path once its pictures are decoded, or null when the
// picker was cancelled.
EMSCRIPTEN_KEEPALIVE void web_file_chosen(const char* path) {
    if (shell::Simulator* s = running()) shell::on_file_chosen(*s, path);
}

// Which effect keys the loaded vision enables, for the page's touch bar:
// bit 0 retina shadow, 1 sunglasses, 2 blood cells, 3 myopia, 4 cataracts,
// 5 flashes, 6 stars, 7 sac refractions, 8 sparks.
EMSCRIPTEN_KEEPALIVE int web_enabled_effects() {
    shell::Simulator* s = running();
    if (!s) return 0;
    const vision::Header& h = s->document.header;
    const int on[] = {h.retina_shadow_on, h.sunglasses_on, h.blood_cells_on, h.myopia_on, h.cataracts_on,
                      h.flashes_on,       h.stars_on,      h.sac_refractions_on, h.sparks_on};
    int bits = 0;
    for (int i = 0; i < int(std::size(on)); ++i)
        if (on[i] == 1) bits |= 1 << i;
    return bits;
}

// Test hook of the frame-rate run: every effect on, as the all-effects
// benchmark has them.
EMSCRIPTEN_KEEPALIVE void web_all_effects_on() {
    shell::Simulator* s = running();
    if (!s) return;
    engine::EngineState& e = s->engine;
    e.floaters_active = e.cataracts_active = e.sparks_active = e.stars_active = 1;
    e.sac_refractions_active = e.sunglasses_active = e.retina_shadow_active = e.flashes_active = 1;
}

}  // extern "C"

int main() { return 0; }
