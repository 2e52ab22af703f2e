// compose_frame.cpp -- one frame: every active effect painted into the back surface in its fixed order.
#include <algorithm>
#include <cstring>
#include <vector>

#include "sim/engine/engine.h"
#include "sim/engine/frame_tables.h"
#include "sim/engine/pixels.h"

namespace engine {

namespace {

// Pixels x0..x1-1 of a 5-6-5 row through one chain table, indexed by the
// pixel and, in bit 16, whether the grey map puts it in shadow. A plain
// function rather than a lambda over references, so that the row pointers
// stay in registers and are not reloaded after every pixel store.
void chain_run(const uint16_t* chain, uint8_t* row, const uint8_t* grey, int x0, int x1) {
    for (int x = x0; x < x1; ++x) {
        uint8_t* p = row + 2 * x;
        const uint32_t in_shadow = grey ? uint32_t(grey[x] == 0) : 0u;
        store_pixel<2>(p, chain[load_pixel<2>(p) | in_shadow << 16]);
    }
}

// Sunglasses, retina shadow, flash and overlay dimming on the 5-6-5 display
// as one pass: inside 1..638 x 1..478 each pixel takes one lookup in the
// chain table chosen by whether it lies inside the lens and in shadow. The
// outer rows and columns, which take fewer of the steps, go through the
// channel tables: row 0 and column 0 only the lens, column 639 and row 479
// the lens, the shadow and the flash but no dimming.
void tail_565(FrameTables& tables, const platform::LockedSurface& s, const TailKey& key, const uint8_t* grey_map) {
    const TailTables& t = tail_tables(tables, key);
    const uint16_t* shade = grey_map ? retina_shadow_table(tables) : nullptr;
    const int cols = frame_cols(s), rows = frame_rows(s);
    const int inner_cols = std::min(cols, screen_width - 1);
    for (int y = 0; y < rows; ++y) {
        uint8_t* row = s.at(0, y);
        const LensRow lens = key.sunglasses ? lens_row(y) : LensRow{0, 0};
        const int from = lens.from, to = lens.to;
        auto at_edge = [&](int x, const ChannelLut* post) {
            uint32_t v = load_pixel<2>(row + 2 * x);
            if (x >= from && x < to) v = apply_channel_lut_565(t.sunglasses, v);
            if (y > 0 && x > 0 && grey_map && grey_map[y * screen_width + x] == 0) v = shade[v];
            if (y > 0 && x > 0 && post) v = apply_channel_lut_565(*post, v);
            store_pixel<2>(row + 2 * x, v);
        };
        const ChannelLut* edge = t.has_edge ? &t.edge : nullptr;
        if (y == 0 || y == screen_height - 1) {
            for (int x = 0; x < cols; ++x) at_edge(x, edge);
            continue;
        }
        at_edge(0, nullptr);
        if (cols == screen_width) at_edge(screen_width - 1, edge);
        const uint8_t* grey = grey_map ? grey_map + y * screen_width : nullptr;
        chain_run(t.chain[0].data(), row, grey, 1, std::min(from, inner_cols));
        chain_run(t.chain[1].data(), row, grey, std::max(from, 1), std::min(to, inner_cols));
        chain_run(t.chain[0].data(), row, grey, std::max(to, 1), inner_cols);
    }
}

}  // namespace

void compose_frame(EngineState& state, const EngineContext& context, const FrameView& view) {
    platform::Display& display = context.display;
    platform::LockedSurface s;
    if (!platform::lock_surface(display.back, s)) return;
    const platform::PixelFormat& f = display.format;
    const vision::Header& header = context.doc.header;
    const bool started = state.simulation_started == 1;
    const std::vector<uint8_t>& grey = context.pictures.grey_map;
    const uint8_t* grey_map = grey.size() >= size_t(screen_width) * screen_height ? grey.data() : nullptr;
    // The display's 5-6-5 format takes the kept whole-value tables; every
    // other format the per-effect passes.
    const bool tables = is_565(f, s.bytes_per_pixel);

    if (started) state.dim_factor = dim_factor_for_eyelid(view.eyelid_position);
    if (state.floaters_active == 1 && started) draw_floater_particles(state, s, f);
    if (state.cataracts_active == 1 && started) {
        if (tables) {
            // Two small lookups per pixel; a row the eyelids are about to
            // turn black is not hazed first.
            const float clarity = state.cataract_clarity;
            ChannelLut lut;
            SplitLut565 haze;
            build_channel_lut(lut, plain_format(f, 2), 2,
                              [clarity](int c, uint32_t v) { return haze_channel(c, v, clarity); });
            build_split_lut565(haze, lut);
            for (int y = 0; y < frame_rows(s); ++y) {
                uint32_t factors[2];
                const int steps = eyelid_row_factors(y, view.eyelid_position, eyelid_base, factors);
                if (eyelid_blackens_row(steps, factors)) continue;
                uint8_t* p = s.at(0, y);
                for (int x = 0; x < frame_cols(s); ++x, p += 2)
                    store_pixel<2>(p, apply_split_lut565(haze, load_pixel<2>(p)));
            }
        } else
            draw_cataract_haze(s, f, state.cataract_clarity);
    }
    draw_eyelids(s, f, view.eyelid_position, eyelid_base);
    if (header.blood_cells_on == 1 && started)
        draw_blood_cells(s, f, state.blood_cells.data(), std::clamp(state.blood_cell_count, 0, blood_cell_capacity),
                         state.blood_cell_brightness, context.rng);
    if (state.sparks_active == 1 && started) draw_sparks(state, s, f, context.rng);
    if (state.stars_active == 1 && started) draw_stars(state, s, f, context.rng);
    if (state.sac_refractions_active == 1 && started) draw_sac_refractions(state, header, s, f);
    const bool sunglasses = state.sunglasses_active == 1 && started;
    const uint8_t* shadow = state.retina_shadow_active == 1 && started ? grey_map : nullptr;
    // The flash takes its draw whenever flashes are on, in the intro phase too.
    const bool flash = state.flashes_active == 1 && context.rng.next_mod(30) == 0 && started;
    const bool dim = view.overlay_dimmed == 1 && view.defer_overlay_dimming != 1;
    if (tables && (sunglasses || shadow || flash || dim)) {
        TailKey key;
        key.sunglasses = sunglasses;
        key.shadow = shadow != nullptr;
        key.flash = flash;
        key.dim = dim;
        if (sunglasses) {
            key.tint[0] = state.glasses_red;
            key.tint[1] = state.glasses_green;
            key.tint[2] = state.glasses_blue;
        }
        if (flash) std::memcpy(&key.strength_bits, &state.flash_strength, sizeof key.strength_bits);
        tail_565(state.tables, s, key, shadow);
    } else {
        if (sunglasses) draw_sunglasses(s, f, state.glasses_red, state.glasses_green, state.glasses_blue);
        if (shadow) draw_retina_shadow(s, f, shadow);
        draw_flash_and_overlay_dimming(s, f, flash, state.flash_strength, dim);
    }

    platform::unlock_surface(display.back);
}

void apply_overlay_dimming(platform::Display& display) {
    platform::LockedSurface s;
    if (!platform::lock_surface(display.back, s)) return;
    // Dimming is the last step of every frame and a channel rule of its own,
    // so the separate pass gives the pixels the one-pass tail gives.
    draw_flash_and_overlay_dimming(s, display.format, 0, 0.0f, 1);
    platform::unlock_surface(display.back);
}

}  // namespace engine
