// compose_frame.cpp -- one frame: every active effect painted into the back surface in its fixed order.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "sim/engine/engine.h"
#include "sim/engine/pixel_ops.h"

namespace engine {

namespace {

// On 2-byte pixels whose fields cover all 16 bits every step that maps a
// pixel on its own is one table of its result for each of the 65536 values.
// The tables depend only on the pixel format and the step's strengths, which
// change with keys, not from frame to frame: they are kept and rebuilt only
// when what they were made from changes.

bool same_format(const platform::PixelFormat& a, const platform::PixelFormat& b) {
    return a.red_mask == b.red_mask && a.green_mask == b.green_mask && a.blue_mask == b.blue_mask &&
           a.red_shift == b.red_shift && a.green_shift == b.green_shift && a.blue_shift == b.blue_shift &&
           a.red_width == b.red_width && a.green_width == b.green_width && a.blue_width == b.blue_width;
}

uint32_t float_bits(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

// Fills table[v] with what `step` makes of the 2-byte value v, by running the
// step itself once over a scratch surface that holds every value (away from
// row 0 and column 0, which some steps leave alone).
template <class Step>
void tabulate_step(uint16_t* table, Step&& step) {
    std::vector<uint8_t> pixels(size_t(screen_width) * screen_height * 2);
    platform::LockedSurface scratch;
    scratch.base = pixels.data();
    scratch.pitch = screen_width * 2;
    scratch.width = screen_width;
    scratch.height = screen_height;
    scratch.bytes_per_pixel = 2;
    auto at = [&](uint32_t v) { return scratch.at(1 + int(v % 639), 1 + int(v / 639)); };
    for (uint32_t v = 0; v < 65536; ++v) store_pixel<2>(at(v), v);
    step(scratch);
    for (uint32_t v = 0; v < 65536; ++v) table[v] = static_cast<uint16_t>(load_pixel<2>(at(v)));
}

// The retina shadow of every value, kept per pixel format.
struct RetinaTable {
    int ready = 0;
    platform::PixelFormat format;
    uint16_t value[65536];
};
RetinaTable retina;

const uint16_t* retina_table(const platform::PixelFormat& f) {
    if (!retina.ready || !same_format(retina.format, f)) {
        const std::vector<uint8_t> all_shadow(size_t(screen_width) * screen_height, 0);
        tabulate_step(retina.value, [&](const platform::LockedSurface& s) { draw_retina_shadow(s, f, all_shadow.data()); });
        retina.format = f;
        retina.ready = 1;
    }
    return retina.value;
}

// The cataract haze of every value, kept per format and clarity.
struct CataractTable {
    int ready = 0;
    platform::PixelFormat format;
    uint32_t clarity_bits = 0;
    uint16_t value[65536];
    int has_split = 0;  // the haze works on each channel alone: two small lookups do
    SplitLut16 split;
};
CataractTable cataract;

const CataractTable& cataract_table(const platform::PixelFormat& f, const PlainFormat& pf, float clarity) {
    if (!cataract.ready || !same_format(cataract.format, f) || cataract.clarity_bits != float_bits(clarity)) {
        tabulate_step(cataract.value, [&](const platform::LockedSurface& s) { draw_cataract_haze(s, f, clarity); });
        cataract.has_split = split_from_table16(cataract.split, cataract.value, pf);
        cataract.format = f;
        cataract.clarity_bits = float_bits(clarity);
        cataract.ready = 1;
    }
    return cataract;
}

// Cataract haze then eyelids, one row at a time while the row is in the
// cache. A row a lid turns black (a factor of 1 zeroes every field) is not
// hazed first, and a factor of 256 keeps a row.
void cataract_and_eyelids16(const platform::LockedSurface& s, const platform::PixelFormat& f, const PlainFormat& pf,
                            float clarity, int position, int base) {
    const CataractTable& haze = cataract_table(f, pf, clarity);
#if defined(__SSE2__)
    const Lanes16 lanes = lanes16(pf);
#endif
    const int rows = std::min(s.height, screen_height), cols = std::min(s.width, screen_width);
    for (int y = 0; y < rows; ++y) {
        uint32_t factors[2];
        const int steps = eyelid_row_factors(y, position, base, factors);
        uint8_t* row = s.at(0, y);
        if (steps > 0 && (factors[0] == 1 || (steps == 2 && factors[1] == 1))) {
            std::fill(row, row + 2 * cols, uint8_t{0});
            continue;
        }
        if (haze.has_split && haze.split.low_bits == 5) {  // 5-6-5 in either order: fixed shifts
            for (int x = 0; x < cols; ++x) {
                const uint32_t v = load_pixel<2>(row + 2 * x);
                store_pixel<2>(row + 2 * x, haze.split.high[v >> 5] | haze.split.low[v & 31]);
            }
        } else if (haze.has_split) {
            for (int x = 0; x < cols; ++x)
                store_pixel<2>(row + 2 * x, apply_split_lut16(haze.split, load_pixel<2>(row + 2 * x)));
        } else {
            for (int x = 0; x < cols; ++x) store_pixel<2>(row + 2 * x, haze.value[load_pixel<2>(row + 2 * x)]);
        }
        for (int k = 0; k < steps; ++k) {
            if (factors[k] == 256) continue;
#if defined(__SSE2__)
            darken_row16(row, cols, factors[k], lanes);
#else
            for (int x = 0; x < cols; ++x) darken_plain<2>(pf, row + 2 * x, factors[k]);
#endif
        }
    }
}

// What the last four steps (sunglasses, retina shadow, flash, overlay
// dimming) are made from.
struct TailKey {
    platform::PixelFormat format;
    int sunglasses = 0, shadow = 0, flash = 0, dim = 0;
    int tint[3] = {0, 0, 0};
    uint32_t strength_bits = 0;
};

bool same_key(const TailKey& a, const TailKey& b) {
    return same_format(a.format, b.format) && a.sunglasses == b.sunglasses && a.shadow == b.shadow &&
           a.flash == b.flash && a.dim == b.dim && a.tint[0] == b.tint[0] && a.tint[1] == b.tint[1] &&
           a.tint[2] == b.tint[2] && a.strength_bits == b.strength_bits;
}

// The last four steps for one key. Inside 1..638 x 1..478 a pixel takes
// chain[lens][shadow << 16 | value]: sunglasses when inside the lens, the
// shadow where the grey map is 0, then flash and/or dimming. The outer rows
// and columns, which take fewer of the steps, use the channel tables.
struct TailTables {
    int ready = 0;
    TailKey key;
    ChannelLut sunglasses, inner, edge;  // edge: the flash alone, on column 639 and row 479
    int has_inner = 0, has_edge = 0;
    uint16_t chain[2][2 * 65536];
};

// Two sets, so that frames with and without a flash both find theirs.
TailTables tails[2];
int newest_tail = 0;

inline uint32_t tail_pixel(const TailTables& t, const PlainFormat& pf, const uint16_t* shade_table, uint32_t v,
                           bool lens, bool shade, const ChannelLut* post) {
    if (lens) v = apply_channel_lut(t.sunglasses, pf, v);
    if (shade) v = shade_table[v];
    if (post) v = apply_channel_lut(*post, pf, v);
    return v;
}

const TailTables& tail_tables(const TailKey& key, const PlainFormat& pf) {
    for (int k : {newest_tail, 1 - newest_tail})
        if (tails[k].ready && same_key(tails[k].key, key)) return tails[newest_tail = k];
    newest_tail = 1 - newest_tail;
    TailTables& t = tails[newest_tail];
    t.key = key;
    const uint32_t tint[3] = {uint32_t(key.tint[0]), uint32_t(key.tint[1]), uint32_t(key.tint[2])};
    build_channel_lut(t.sunglasses, pf, 2, [&](int c, uint32_t v) { return v * tint[c] / 255u; });
    float strength;
    std::memcpy(&strength, &key.strength_bits, sizeof strength);
    const float factor = strength + 1;
    ChannelLut flash_lut, dim_lut;
    build_channel_lut(flash_lut, pf, 2, [&](int, uint32_t c) { return brighten_channel(c, factor); });
    build_channel_lut(dim_lut, pf, 2, [](int channel, uint32_t c) {
        const int v = trunc_to_int(c * (channel == 2 ? 0.1 : 0.3));
        return static_cast<uint32_t>(std::min(v, 255));
    });
    t.has_inner = key.flash || key.dim;
    t.has_edge = key.flash;
    if (key.flash && key.dim) compose_channel_luts(t.inner, flash_lut, dim_lut, pf);
    else t.inner = key.flash ? flash_lut : dim_lut;
    t.edge = flash_lut;
    const uint16_t* shade_table = key.shadow ? retina_table(key.format) : nullptr;
    const ChannelLut* post = t.has_inner ? &t.inner : nullptr;
    for (int lens = 0; lens < 2; ++lens) {
        if (lens && !key.sunglasses) continue;
        for (int shade = 0; shade < 2; ++shade) {
            if (shade && !key.shadow) continue;
            uint16_t* out = t.chain[lens] + (shade << 16);
            for (uint32_t v = 0; v < 65536; ++v)
                out[v] = static_cast<uint16_t>(tail_pixel(t, pf, shade_table, v, lens, shade, post));
        }
    }
    t.ready = 1;
    return t;
}

void fused_tail16(const platform::LockedSurface& s, const platform::PixelFormat& f, const PlainFormat& pf,
                  const EngineState& state, bool sunglasses, const uint8_t* grey_map, bool flash, bool dim) {
    TailKey key;
    key.format = f;
    key.sunglasses = sunglasses;
    key.shadow = grey_map != nullptr;
    key.flash = flash;
    key.dim = dim;
    if (sunglasses) key.tint[0] = state.glasses_red, key.tint[1] = state.glasses_green, key.tint[2] = state.glasses_blue;
    if (flash) key.strength_bits = float_bits(state.flash_strength);
    const TailTables& t = tail_tables(key, pf);
    const uint16_t* shade_table = grey_map ? retina_table(f) : nullptr;
    const ChannelLut* edge = t.has_edge ? &t.edge : nullptr;
    static const std::array<std::pair<int, int>, screen_height> lens = [] {
        // Row y of the lens is columns [from, to): half-width trunc(cos(v x
        // 0.005235833333333334) x 500) around column 320 for v = y - 240.
        std::array<std::pair<int, int>, screen_height> rows{};
        for (int y = 0; y < screen_height; ++y) {
            const int half = static_cast<int>(std::cos((y - 240) * 0.005235833333333334) * 500.0);
            rows[y] = {std::max(320 - half, 0), std::min(320 + half, screen_width)};
        }
        return rows;
    }();
    const int cols = std::min(s.width, screen_width), rows = std::min(s.height, screen_height);
    const int inner_cols = std::min(cols, screen_width - 1);  // columns 1..638 take the chain tables
    for (int y = 0; y < rows; ++y) {
        uint8_t* row = s.at(0, y);
        const int from = sunglasses ? lens[y].first : 0, to = sunglasses ? lens[y].second : 0;
        auto at_edge = [&](int x, const ChannelLut* post) {
            const bool shade = y > 0 && x > 0 && grey_map && grey_map[y * screen_width + x] == 0;
            const uint32_t v = tail_pixel(t, pf, shade_table, load_pixel<2>(row + 2 * x), x >= from && x < to,
                                          shade, y > 0 && x > 0 ? post : nullptr);
            store_pixel<2>(row + 2 * x, v);
        };
        if (y == 0 || y == screen_height - 1) {  // row 0 only takes the sunglasses; row 479 the flash
            for (int x = 0; x < cols; ++x) at_edge(x, edge);
            continue;
        }
        at_edge(0, nullptr);
        if (cols == screen_width) at_edge(screen_width - 1, edge);
        const uint8_t* grey = grey_map ? grey_map + y * screen_width : nullptr;
        auto run = [&](int in_lens, int x0, int x1) {
            const uint16_t* chain = t.chain[in_lens];
            if (grey) {
                for (int x = x0; x < x1; ++x) {
                    uint8_t* p = row + 2 * x;
                    store_pixel<2>(p, chain[load_pixel<2>(p) | uint32_t(grey[x] == 0) << 16]);
                }
            } else {
                for (int x = x0; x < x1; ++x) store_pixel<2>(row + 2 * x, chain[load_pixel<2>(row + 2 * x)]);
            }
        };
        run(0, 1, std::min(from, inner_cols));
        run(1, std::max(from, 1), std::min(to, inner_cols));
        run(0, std::max(to, 1), inner_cols);
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
    const PlainFormat pf = plain_format(f, s.bytes_per_pixel);
    const bool wide16 = full_16(pf, s.bytes_per_pixel);
    if (state.cataracts_active == 1 && started && wide16) {
        cataract_and_eyelids16(s, f, pf, state.cataract_clarity, state.eyelid_position, state.eyelid_base);
    } else {
        if (state.cataracts_active == 1 && started) draw_cataract_haze(s, f, state.cataract_clarity);
        draw_eyelids(s, f, state.eyelid_position, state.eyelid_base);
    }
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
    if (wide16 && (sunglasses || shadow || flash || dim)) {
        fused_tail16(s, f, pf, state, sunglasses, shadow, flash, dim);
    } else {
        if (sunglasses) draw_sunglasses(s, f, state.glasses_red, state.glasses_green, state.glasses_blue);
        if (shadow) draw_retina_shadow(s, f, shadow);
        draw_flash_and_overlay_dimming(s, f, flash, state.flash_strength, dim);
    }

    platform::unlock_surface(display.back);
}

}  // namespace engine
