// still.cpp -- the simulator run on the null platform up to one frame of a loaded vision.
#include "sim/shell/still.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "sim/engine/engine.h"
#include "sim/platform/null_platform.h"
#include "sim/shell/engine_calls.h"
#include "sim/shell/frame.h"
#include "sim/shell/shell.h"

namespace shell {

namespace {

// Switches on every effect the document ticks, as the keys would, apart
// from the flash (see simulation_still).
void tick_effects(Simulator& sim) {
    const vision::Header& h = sim.document.header;
    engine::EngineState& e = sim.engine;
    e.floaters_active = 1;
    e.cataracts_active = h.cataracts_on == 1;
    e.sunglasses_active = h.sunglasses_on == 1;
    e.retina_shadow_active = h.retina_shadow_on == 1;
    e.stars_active = h.stars_on == 1;
    e.sparks_active = h.sparks_on == 1;
    e.sac_refractions_active = h.sac_refractions_on == 1;
    e.flashes_active = 0;
    if (h.myopia_on == 1) {
        sim.myopia_active = 1;
        e.myopia_level = h.myopia_dioptres;
        apply_myopia_blur(sim);
    }
}

}  // namespace

int simulation_still(const vision::Document& doc, int eye, const StillSources& sources,
                     std::vector<uint8_t>& rgb) {
    rgb.clear();
    platform::NullPlatform screen;
    screen.record_text = 0;
    auto sim = std::make_unique<Simulator>(screen);
    on_create(*sim);
    sim->random.seed(still_seed);
    if (sources.default_vision_folder)
        std::snprintf(sim->startup_directory, sizeof sim->startup_directory, "%s", sources.default_vision_folder);
    on_timer(*sim);                    // the start-up loader reads the default vision
    on_left_button_down(*sim, 0, 0);   // starts the simulation at once

    // What the F4 load does, with the document in place of a chosen file.
    sim->document = doc;
    std::snprintf(sim->pictures.vision_path, sizeof sim->pictures.vision_path, "%s",
                  sources.vision_path ? sources.vision_path : "");
    sim->engine.default_vision_loaded = 0;
    reset_scene(*sim);
    tick_effects(*sim);

    sim->engine.eye_mode = eye == 0 ? 0 : 1;
    sim->eyelid_position = 0;
    sim->blink_state = 0;
    sim->auto_blink_interval = 0;
    sim->status_visible = 0;
    sim->help_seen = 1;
    on_mouse_move(*sim, platform::screen_width / 2, platform::screen_height / 2);
    frame_step(*sim);
    rgb.resize(size_t(platform::frame_pixels) * 3);
    platform::rgb_from_565(sim->frame.pixels.data(), platform::frame_pixels, rgb.data());
    return 1;
}

}  // namespace shell
