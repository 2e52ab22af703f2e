// compose_frame.cpp -- one frame: every active effect painted into the frame in its fixed order.
#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "sim/engine/engine.h"
#include "sim/engine/frame_tables.h"
#include "sim/engine/pixels.h"

namespace engine {

namespace {

// Pixels x0..x1-1 of a row through one chain table, indexed by the pixel
// and, in bit 16, whether the grey map puts it in shadow. A plain function
// rather than a lambda over references, so that the row pointers stay in
// registers and are not reloaded after every pixel store.
void chain_run(const uint16_t* chain, uint16_t* row, const uint8_t* grey, int x0, int x1) {
    if (!grey) {
        for (int x = x0; x < x1; ++x) row[x] = chain[row[x]];
        return;
    }
    for (int x = x0; x < x1; ++x) row[x] = chain[row[x] | uint32_t(grey[x] == 0) << 16];
}

// Sunglasses, retina shadow, flash and overlay dimming as one pass: inside
// 1..638 x 1..478 each pixel takes one lookup in the chain table chosen by
// whether it lies inside the lens and in shadow. The outer rows and columns,
// which take fewer of the steps, go through the channel tables: row 0 and
// column 0 only the lens, column 639 and row 479 the lens, the shadow and
// the flash but no dimming.
void draw_tail(FrameTables& tables, platform::Frame& frame, const TailKey& key, const uint8_t* grey_map,
               const LitRows& lit) {
    const TailTables& t = tail_tables(tables, key);
    const uint16_t* shade = grey_map ? retina_shadow_table(tables) : nullptr;
    const Lut565* flash = key.flash ? &t.flash : nullptr;
    constexpr int inner_cols = screen_width - 1;
    for (int y = lit.first; y < lit.end; ++y) {
        uint16_t* row = frame.row(y);
        const LensRow lens = key.sunglasses ? lens_row(y) : LensRow{0, 0};
        const int from = lens.from, to = lens.to;
        auto at_edge = [&](int x, const Lut565* post) {
            uint32_t v = row[x];
            if (x >= from && x < to) v = t.sunglasses(v);
            if (y > 0 && x > 0 && grey_map && grey_map[y * screen_width + x] == 0) v = shade[v];
            if (y > 0 && x > 0 && post) v = (*post)(v);
            row[x] = uint16_t(v);
        };
        if (y == 0 || y == screen_height - 1) {
            for (int x = 0; x < screen_width; ++x) at_edge(x, flash);
            continue;
        }
        at_edge(0, nullptr);
        at_edge(screen_width - 1, flash);
        const uint8_t* grey = grey_map ? grey_map + y * screen_width : nullptr;
        chain_run(t.chain[0].data(), row, grey, 1, std::min(from, inner_cols));
        chain_run(t.chain[1].data(), row, grey, std::max(from, 1), std::min(to, inner_cols));
        chain_run(t.chain[0].data(), row, grey, std::max(to, 1), inner_cols);
    }
}

// Two small lookups per pixel, or where each field's haze is one multiply
// (clarities from 0 up to just below 1), eight pixels in a few SSE2 steps.
// A row the eyelids are about to turn black is not hazed first.
void draw_cataract_haze(FrameTables& tables, platform::Frame& frame, float clarity, const LitRows& lit) {
    const HazeTables& t = haze_tables(tables, clarity);
    int y = lit.first;
#if defined(__SSE2__)
    const int mr = t.multiplier[0], mg = t.multiplier[1], mb = t.multiplier[2];
    if (mr >= 0 && mg >= 0 && mb >= 0) {
        const __m128i m_red = _mm_set1_epi16(short(mr)), m_green = _mm_set1_epi16(short(mg)),
                      m_blue = _mm_set1_epi16(short(mb)), six_bits = _mm_set1_epi16(63), five_bits = _mm_set1_epi16(31);
        for (; y < lit.end; ++y) {
            __m128i* p = reinterpret_cast<__m128i*>(frame.row(y));
            for (int x = 0; x < screen_width / 8; ++x) {
                const __m128i v = _mm_loadu_si128(p + x);
                const __m128i r = _mm_mulhi_epu16(_mm_srli_epi16(v, 11), m_red);
                const __m128i g = _mm_mulhi_epu16(_mm_and_si128(_mm_srli_epi16(v, 5), six_bits), m_green);
                const __m128i b = _mm_mulhi_epu16(_mm_and_si128(v, five_bits), m_blue);
                _mm_storeu_si128(p + x, _mm_or_si128(_mm_or_si128(_mm_slli_epi16(r, 11), _mm_slli_epi16(g, 5)), b));
            }
        }
    }
#endif
    for (; y < lit.end; ++y) {
        uint16_t* p = frame.row(y);
        for (int x = 0; x < screen_width; ++x) p[x] = t.lut(p[x]);
    }
}

}  // namespace

void compose_frame(EngineState& state, const EngineContext& context, const FrameView& view) {
    platform::Frame& frame = context.frame;
    const vision::Header& header = context.doc.header;
    const bool started = state.simulation_started == 1;
    const std::vector<uint8_t>& grey = context.pictures.grey_map;
    const uint8_t* grey_map = grey.size() >= size_t(platform::frame_pixels) ? grey.data() : nullptr;

    // Rows the eyelids turn black stay black to the end of the frame: every
    // later step multiplies the channels or maps 0 to 0. The steps before
    // the eyelids leave them alone and the steps after skip them.
    const LitRows lit = lit_rows(view.eyelid_position, eyelid_base);
    if (started) state.dim_factor = dim_factor_for_eyelid(view.eyelid_position);
    if (state.floaters_active == 1 && started) draw_floater_particles(state, frame, lit);
    if (state.cataracts_active == 1 && started) draw_cataract_haze(state.tables, frame, state.cataract_clarity, lit);
    draw_eyelids(frame, view.eyelid_position, eyelid_base);
    if (header.blood_cells_on == 1 && started)
        draw_blood_cells(frame, state.blood_cells.data(), std::clamp(state.blood_cell_count, 0, blood_cell_capacity),
                         state.blood_cell_brightness, context.rng);
    if (state.sparks_active == 1 && started) draw_sparks(state, frame, context.rng);
    if (state.stars_active == 1 && started) draw_stars(state, frame, context.rng);
    if (state.sac_refractions_active == 1 && started) draw_sac_refractions(state, header, frame);
    TailKey key;
    key.sunglasses = state.sunglasses_active == 1 && started;
    const uint8_t* shadow = state.retina_shadow_active == 1 && started ? grey_map : nullptr;
    key.shadow = shadow != nullptr;
    // The flash takes its draw whenever flashes are on, in the intro phase too.
    key.flash = state.flashes_active == 1 && context.rng.next_mod(30) == 0 && started;
    key.dim = view.overlay_dimmed == 1 && view.defer_overlay_dimming != 1;
    if (!(key.sunglasses || key.shadow || key.flash || key.dim)) return;
    if (key.sunglasses) {
        key.tint[0] = state.glasses_red;
        key.tint[1] = state.glasses_green;
        key.tint[2] = state.glasses_blue;
    }
    if (key.flash) std::memcpy(&key.strength_bits, &state.flash_strength, sizeof key.strength_bits);
    draw_tail(state.tables, frame, key, shadow, lit);
}

void apply_overlay_dimming(platform::Frame& frame) {
    // Dimming is the last step of every frame and a channel rule of its own,
    // so the separate pass gives the pixels the one-pass tail gives:
    // 1 <= x < 639, 1 <= y < 479.
    Lut565 dim;
    build_lut565(dim, overlay_dim_channel);
    for (int y = 1; y < screen_height - 1; ++y) {
        uint16_t* p = frame.row(y);
        for (int x = 1; x < screen_width - 1; ++x) p[x] = dim(p[x]);
    }
}

}  // namespace engine
