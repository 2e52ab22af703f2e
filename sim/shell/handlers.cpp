// handlers.cpp -- the platform's events: start-up, timer, keys, pointer, paint, a chosen file, the end.
#include <unistd.h>

#include <cstring>

#include "common/trace.h"
#include "sim/shell/commands.h"
#include "sim/shell/engine_calls.h"
#include "sim/shell/frame.h"
#include "sim/shell/keys.h"
#include "sim/shell/recording.h"
#include "sim/shell/shell.h"

namespace shell {

void on_create(Simulator& sim) {
    platform::Platform& p = sim.platform;
    sim.random.seed(static_cast<uint32_t>(p.calendar_seconds()));

    // A working directory too long for the field would leave it empty and the
    // default vision file would be looked for at the root: "." names the same
    // folder.
    if (!getcwd(sim.startup_directory, sizeof sim.startup_directory))
        std::strcpy(sim.startup_directory, ".");

    // The sound services are only ever started, never played, so starting
    // them always succeeds.
    trace::log("Arrancando DirectSound");
    trace::log("Arrancando DirectMusic");
    p.set_frame_timer(frame_period_ms);
}

void on_timer(Simulator& sim) {
    engine::EngineState& e = sim.engine;
    if (sim.first_tick_done == 0) {
        sim.first_tick_done = 1;
        sim.platform.set_frame_timer(0);
        e.simulation_started = 0;
        e.default_vision_loaded = 1;
        if (!platform::run_startup_loader(sim.pictures, sim.platform, sim.document, sim.startup_directory)) {
            // The simulator runs on without a vision (black scene); a
            // second attempt puts the reason on the standard error stream.
            read_default_vision(sim);
        }
        sim.platform.set_frame_timer(frame_period_ms);
    }
    draw_frame_now(sim);
    if (e.simulation_started == 0) {
        ++sim.intro_ticks;
        if (sim.intro_ticks > intro_ticks_before_start || sim.skip_intro) start_sequence(sim);
    }
}

void on_key_down(Simulator& sim, int virtual_key) {
    if (sim.engine.simulation_started != 1 || sim.busy) return;
    run_key_command(sim, virtual_key);
}

void on_key_up(Simulator& sim, int virtual_key) {
    if (virtual_key == key_escape) sim.platform.quit();
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

void on_paint(Simulator& sim) {
    if (!sim.busy) draw_frame_now(sim);
}

void on_file_chosen(Simulator& sim, const char* path) {
    if (!sim.file_pending) return;
    sim.file_pending = 0;
    finish_personal_vision(sim, path);
}

void on_destroy(Simulator& sim) {
    end_recording_at_exit(sim);
    sim.platform.set_frame_timer(0);
}

}  // namespace shell
