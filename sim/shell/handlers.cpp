// handlers.cpp -- the window's events: creation, timer, keys, pointer, activation, paint, destruction.
#include <unistd.h>

#include <cstring>

#include "common/trace.h"
#include "sim/platform/display.h"
#include "sim/shell/commands.h"
#include "sim/shell/engine_calls.h"
#include "sim/shell/frame.h"
#include "sim/shell/keys.h"
#include "sim/shell/recording.h"
#include "sim/shell/shell.h"

namespace shell {

namespace {

// Which sound service failed; the music failure wins when both fail.
constexpr int sound_failed = 2;
constexpr int music_failed = 3;

}  // namespace

int on_create(Simulator& sim) {
    platform::Platform& p = sim.platform;
    sim.random.seed(static_cast<uint32_t>(p.calendar_seconds()));

    // A working directory too long for the field would leave it empty and the
    // default vision file would be looked for at the root: "." names the same
    // folder.
    if (!getcwd(sim.startup_directory, sizeof sim.startup_directory))
        std::strcpy(sim.startup_directory, ".");

    int failure = 0;
    trace::log("Arrancando DirectSound");
    if (!p.start_sound_device()) {
        trace::log("ERROR: Arrancando DirectSound");
        failure = sound_failed;
    }
    trace::log("Arrancando DirectMusic");
    if (!p.start_music()) {
        trace::log("ERROR: Arrancando DirectMusic");
        failure = music_failed;
    }
    if (failure == 0) {
        p.show_cursor(0);
        p.start_timer(frame_timer_id, frame_period_ms);
        return 1;
    }
    p.message_box(failure == sound_failed ? "No pudo activarse DirectSound."
                                          : "No pudo activarse DirectMusic.",
                  "Error iniciando");
    p.destroy_window();
    return 0;
}

int open_display_at_startup(Simulator& sim) {
    trace::log("Arrancando DirectDraw");
    return platform::open_display_with_fallback(sim.display, sim.platform);
}

void on_timer(Simulator& sim) {
    engine::EngineState& e = sim.engine;
    if (sim.first_tick_done == 0) {
        sim.first_tick_done = 1;
        if (sim.display.display_ready == 1) {
            sim.platform.stop_timer(frame_timer_id);
            e.simulation_started = 0;
            e.default_vision_loaded = 1;
            if (!platform::run_startup_loader(sim.pictures, sim.display, sim.document,
                                              sim.startup_directory)) {
                // The simulator runs on without a vision (black scene); a
                // second attempt puts the reason on the standard error stream.
                read_default_vision(sim);
            }
            sim.platform.start_timer(frame_timer_id, frame_period_ms);
        }
    }
    if (sim.display.display_ready == 1) draw_frame_now(sim);
    if (e.simulation_started == 0) {
        ++sim.intro_ticks;
        if (sim.intro_ticks > intro_ticks_before_start || sim.skip_intro) start_sequence(sim);
    }
}

void on_key_down(Simulator& sim, int virtual_key) {
    if (sim.engine.simulation_started != 1) return;
    run_key_command(sim, virtual_key);
}

void on_key_up(Simulator& sim, int virtual_key) {
    if (virtual_key == key_escape) sim.platform.destroy_window();
}

void on_mouse_move(Simulator& sim, int x, int y) {
    if (sim.engine.simulation_started != 1 || sim.busy) return;
    sim.view_x = x;
    sim.view_y = y;
    eye_movement_input(sim, x, y);
}

void on_left_button_down(Simulator& sim, int x, int y) {
    if (sim.busy) return;
    if (sim.engine.simulation_started == 0) {
        start_sequence(sim);
        return;
    }
    sim.view_x = x;
    sim.view_y = y;
    toggle_help(sim);
}

void on_left_button_up(Simulator& sim, int x, int y) {
    if (sim.busy) return;
    sim.view_x = x;
    sim.view_y = y;
}

void on_right_button_down(Simulator& sim, int, int) {
    if (sim.busy) return;
    toggle_help(sim);
}

void on_activate(Simulator& sim, int whole_parameter) {
    if (whole_parameter == 1 && sim.first_tick_done > 0) display_reopen(sim);
}

void on_paint(Simulator& sim) {
    if (!sim.busy) draw_frame_now(sim);
}

void on_destroy(Simulator& sim) {
    end_recording_at_exit(sim);
    sim.platform.stop_timer(frame_timer_id);
    sim.platform.stop_sound();
    platform::close_display(sim.display, sim.platform);
    sim.platform.post_quit(0);
}

}  // namespace shell
