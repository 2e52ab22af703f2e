// compose_frame.cpp -- one frame: every active effect painted into the back surface in its fixed order.
#include <algorithm>
#include <cmath>

#include "sim/engine/engine.h"
#include "sim/engine/pixel_ops.h"

namespace engine {

namespace {

// The last four steps (sunglasses, retina shadow, flash, overlay dimming) on
// 2-byte pixels whose fields cover all 16 bits run as one pass of table
// lookups, each table the step's result for every pixel value.
struct Tail16 {
    uint16_t sunglasses[65536];
    uint16_t retina[65536];
    uint16_t post[65536];       // flash and/or dimming, inside the dimmed area
    uint16_t post_edge[65536];  // flash alone: right-most column and bottom row
    platform::PixelFormat retina_format;
    int retina_ready = 0;
    int lens_ready = 0;
    int lens_from[screen_height], lens_to[screen_height];
};

Tail16 tail;

bool same_format(const platform::PixelFormat& a, const platform::PixelFormat& b) {
    return a.red_mask == b.red_mask && a.green_mask == b.green_mask && a.blue_mask == b.blue_mask &&
           a.red_shift == b.red_shift && a.green_shift == b.green_shift && a.blue_shift == b.blue_shift &&
           a.red_width == b.red_width && a.green_width == b.green_width && a.blue_width == b.blue_width;
}

// The retina shadow of every 2-byte value, taken from the shadow step itself
// run once over a scratch surface that holds every value in shadow.
void build_retina_table(const platform::PixelFormat& f) {
    std::vector<uint8_t> pixels(size_t(screen_width) * screen_height * 2);
    const std::vector<uint8_t> all_shadow(size_t(screen_width) * screen_height, 0);
    platform::LockedSurface scratch;
    scratch.base = pixels.data();
    scratch.pitch = screen_width * 2;
    scratch.width = screen_width;
    scratch.height = screen_height;
    scratch.bytes_per_pixel = 2;
    auto at = [&](uint32_t v) { return scratch.at(1 + int(v % 639), 1 + int(v / 639)); };
    for (uint32_t v = 0; v < 65536; ++v) store_pixel<2>(at(v), v);
    draw_retina_shadow(scratch, f, all_shadow.data());
    for (uint32_t v = 0; v < 65536; ++v) tail.retina[v] = static_cast<uint16_t>(load_pixel<2>(at(v)));
    tail.retina_format = f;
    tail.retina_ready = 1;
}

// Row y of the lens is columns [from, to): half-width trunc(cos(v x
// 0.005235833333333334) x 500) around column 320 for v = y - 240.
void build_lens() {
    for (int y = 0; y < screen_height; ++y) {
        const int half = static_cast<int>(std::cos((y - 240) * 0.005235833333333334) * 500.0);
        tail.lens_from[y] = std::max(320 - half, 0);
        tail.lens_to[y] = std::min(320 + half, screen_width);
    }
    tail.lens_ready = 1;
}

uint32_t overlay_dim(int channel, uint32_t c) {
    const int v = trunc_to_int(c * (channel == 2 ? 0.1 : 0.3));
    return static_cast<uint32_t>(std::min(v, 255));
}

void fused_tail16(const platform::LockedSurface& s, const platform::PixelFormat& f, const PlainFormat& pf,
                  const EngineState& state, bool sunglasses, const uint8_t* grey_map, bool flash, bool dim) {
    if (!tail.lens_ready) build_lens();
    if (grey_map && (!tail.retina_ready || !same_format(tail.retina_format, f))) build_retina_table(f);
    ChannelLut lut, flash_lut, dim_lut;
    if (sunglasses) {
        const uint32_t tint[3] = {uint32_t(state.glasses_red), uint32_t(state.glasses_green),
                                  uint32_t(state.glasses_blue)};
        build_channel_lut(lut, pf, 2, [&](int c, uint32_t v) { return v * tint[c] / 255u; });
        build_pixel_table16(tail.sunglasses, lut, pf);
    }
    const float factor = state.flash_strength + 1;
    build_channel_lut(flash_lut, pf, 2, [&](int, uint32_t c) { return brighten_channel(c, factor); });
    build_channel_lut(dim_lut, pf, 2, overlay_dim);
    const uint16_t* post = nullptr;  // inside 1..638 x 1..478
    const uint16_t* edge = nullptr;  // column 639 and row 479
    if (flash && dim) {
        compose_channel_luts(lut, flash_lut, dim_lut, pf);
        build_pixel_table16(tail.post, lut, pf);
        build_pixel_table16(tail.post_edge, flash_lut, pf);
        post = tail.post, edge = tail.post_edge;
    } else if (flash) {
        build_pixel_table16(tail.post, flash_lut, pf);
        post = edge = tail.post;
    } else if (dim) {
        build_pixel_table16(tail.post, dim_lut, pf);
        post = tail.post;
    }
    // Without a shadow every pixel reads as lit; the shaded value is looked up
    // and dropped, which costs less than a branch that vessel edges defeat.
    static uint8_t lit_row[screen_width];
    if (lit_row[0] == 0) std::fill(lit_row, lit_row + screen_width, uint8_t{1});
    const int cols = std::min(s.width, screen_width), rows = std::min(s.height, screen_height);
    for (int y = 0; y < rows; ++y) {
        uint8_t* row = s.at(0, y);
        const int from = sunglasses ? tail.lens_from[y] : 0, to = sunglasses ? tail.lens_to[y] : 0;
        if (y == 0) {  // row 0 only takes the sunglasses
            for (int x = from; x < std::min(to, cols); ++x)
                store_pixel<2>(row + 2 * x, tail.sunglasses[load_pixel<2>(row + 2 * x)]);
            continue;
        }
        const uint8_t* grey = grey_map ? grey_map + y * screen_width : lit_row;
        const uint16_t* inner = y < screen_height - 1 ? post : edge;
        if (from <= 0 && to > 0) store_pixel<2>(row, tail.sunglasses[load_pixel<2>(row)]);  // column 0
        auto run = [&](const uint16_t* table, int x0, int x1) {
            for (int x = x0; x < x1; ++x) {
                uint8_t* p = row + 2 * x;
                uint32_t v = load_pixel<2>(p);
                if (x >= from && x < to) v = tail.sunglasses[v];
                const uint32_t shade = 0u - uint32_t(grey[x] == 0);  // all ones in shadow
                v = (tail.retina[v] & shade) | (v & ~shade);
                if (table) v = table[v];
                store_pixel<2>(p, v);
            }
        };
        run(inner, 1, std::min(cols, screen_width - 1));
        run(edge, screen_width - 1, cols);
    }
}

}  // namespace

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
    const bool sunglasses = state.sunglasses_active == 1 && started;
    const uint8_t* shadow = state.retina_shadow_active == 1 && started ? grey_map : nullptr;
    // The flash takes its draw whenever flashes are on, in the intro phase too.
    const bool flash = state.flashes_active == 1 && context.rng.next_mod(30) == 0 && started;
    const bool dim = state.help_visible == 1 || state.about_visible == 1 || state.personal_info_visible == 1;
    const PlainFormat pf = plain_format(f, s.bytes_per_pixel);
    if (full_16(pf, s.bytes_per_pixel) && (sunglasses || shadow || flash || dim)) {
        fused_tail16(s, f, pf, state, sunglasses, shadow, flash, dim);
    } else {
        if (sunglasses) draw_sunglasses(s, f, state.glasses_red, state.glasses_green, state.glasses_blue);
        if (shadow) draw_retina_shadow(s, f, shadow);
        draw_flash_and_overlay_dimming(s, f, flash, state.flash_strength, dim);
    }

    platform::unlock_surface(display.back);
}

}  // namespace engine
