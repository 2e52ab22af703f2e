// compose_frame.cpp -- one frame: every active effect painted into the back surface in its fixed order.
#include <algorithm>

#include "sim/engine/engine.h"

namespace engine {

void compose_frame(EngineState& state, const EngineContext& context) {
    platform::Display& display = context.display;
    platform::LockedSurface s;
    if (!platform::lock_surface(display.back, s)) return;
    const platform::PixelFormat& f = display.format;
    const vision::Header& header = context.doc.header;
    const bool started = state.simulation_started == 1;
    const std::vector<uint8_t>& grey = context.pictures.grey_map;
    const uint8_t* grey_map = grey.size() >= size_t(screen_width) * screen_height ? grey.data() : nullptr;

    if (state.floaters_active == 1 && started) draw_floater_particles(state, s, f);
    if (state.cataracts_active == 1 && started) draw_cataract_haze(s, f, state.cataract_clarity);
    draw_eyelids(s, f, state.eyelid_position, state.eyelid_base);
    if (header.blood_cells_on == 1 && started)
        draw_blood_cells(s, f, state.blood_cells.data(), std::clamp(state.blood_cell_count, 0, blood_cell_capacity),
                         state.blood_cell_brightness, context.rng);
    if (state.sparks_active == 1 && started) draw_sparks(state, s, f, context.rng);
    if (state.stars_active == 1 && started) draw_stars(state, s, f, context.rng);
    if (state.sac_refractions_active == 1 && started) draw_sac_refractions(state, header, s, f);
    if (state.sunglasses_active == 1 && started)
        draw_sunglasses(s, f, state.glasses_red, state.glasses_green, state.glasses_blue);
    if (state.retina_shadow_active == 1 && started) draw_retina_shadow(s, f, grey_map);
    // The flash takes its draw whenever flashes are on, in the intro phase too.
    const bool flash = state.flashes_active == 1 && context.rng.next_mod(30) == 0 && started;
    const bool dim = state.help_visible == 1 || state.about_visible == 1 || state.personal_info_visible == 1;
    draw_flash_and_overlay_dimming(s, f, flash, state.flash_strength, dim);

    platform::unlock_surface(display.back);
}

}  // namespace engine
