// engine_calls.cpp -- the engine and picture operations the shell runs, bound to the simulator state.
#include "sim/shell/engine_calls.h"

#include <algorithm>

#include "sim/engine/engine.h"
#include "sim/shell/commands.h"
#include "sim/shell/shell.h"

namespace shell {

namespace {

engine::EngineContext context_of(Simulator& sim) {
    return engine::EngineContext{sim.document, sim.frame, sim.pictures, sim.platform, sim.random};
}

}  // namespace

void reset_scene(Simulator& sim) {
    engine::reset_scene_from_vision_settings(sim.engine, context_of(sim));
}

int compose_frame(Simulator& sim, int defer_dimming) {
    engine::FrameView view;
    view.eyelid_position = sim.eyelid_position;
    view.overlay_dimmed = sim.help_visible == 1 || sim.about_visible == 1 || sim.personal_info_visible == 1;
    view.defer_overlay_dimming = view.overlay_dimmed && defer_dimming == 1;
    engine::compose_frame(sim.engine, context_of(sim), view);
    return view.defer_overlay_dimming;
}

void dim_for_overlay(Simulator& sim) { engine::apply_overlay_dimming(sim.frame); }

void advance_floater_dots(Simulator& sim) { engine::advance_floater_dots(sim.engine); }

void eye_movement_input(Simulator& sim, int x, int y) {
    engine::eye_movement_input(sim.engine, x, y);
}

void add_random_floater(Simulator& sim) {
    engine::add_random_floater(sim.engine, sim.random, engine::random_floater_size_bound);
}

void drop_floaters(Simulator& sim) { engine::drop_floaters(sim.engine, sim.random); }

void set_blood_cell_count(Simulator& sim, int count) {
    engine::set_blood_cell_count(sim.engine, sim.random, count);
}

void apply_myopia_blur(Simulator& sim) {
    platform::Pictures& p = sim.pictures;
    // The level comes from a file (M uses myopia_dioptres): keep the blur in
    // the range it is made for.
    const int level = std::clamp(sim.engine.myopia_level, 0, engine::max_myopia_level);
    p.scene_blurred = engine::apply_myopia_blur(p.scene, p.blurred, level);
    platform::refresh_shown(p);
}

void next_scene(Simulator& sim) {
    platform::next_scene(sim.pictures, sim.platform, sim.document, sim.engine.default_vision_loaded, 1);
}

}  // namespace shell
