// frame_tables.cpp -- builds the kept whole-value tables of the 5-6-5 frame, and rebuilds one only when its strengths change.
#include "sim/engine/frame_tables.h"

#include <cstring>

namespace engine {

namespace {

PlainFormat plain_565() { return plain_format(platform::format_565(), 2); }

}  // namespace

const uint16_t* retina_shadow_table(FrameTables& tables) {
    if (!tables.shadow_ready) {
        const platform::PixelFormat f = platform::format_565();
        for (uint32_t v = 0; v < pixel_values_16; ++v) {
            uint8_t p[2];
            store_pixel<2>(p, v);
            uint32_t r = 0, g = 0, b = 0;
            platform::read_pixel(f, p, 2, r, g, b);
            shade_pixel(r, g, b);
            platform::write_pixel(f, r, g, b, p, 2);
            tables.shadow[v] = static_cast<uint16_t>(load_pixel<2>(p));
        }
        tables.shadow_ready = 1;
    }
    return tables.shadow.data();
}

const TailTables& tail_tables(FrameTables& tables, const TailKey& key) {
    for (int k : {tables.newest_tail, 1 - tables.newest_tail})
        if (tables.tails[k].ready && tables.tails[k].key == key) return tables.tails[tables.newest_tail = k];
    tables.newest_tail = 1 - tables.newest_tail;
    TailTables& t = tables.tails[tables.newest_tail];
    const PlainFormat pf = plain_565();
    t.key = key;
    build_channel_lut(t.sunglasses, pf, 2, [&](int c, uint32_t v) { return tint_channel(v, key.tint[c]); });
    float strength;
    std::memcpy(&strength, &key.strength_bits, sizeof strength);
    const float factor = strength + 1;
    ChannelLut flash_lut, dim_lut;
    build_channel_lut(flash_lut, pf, 2, [&](int, uint32_t c) { return brighten_channel(c, factor); });
    build_channel_lut(dim_lut, pf, 2, overlay_dim_channel);
    t.has_inner = key.flash || key.dim;
    t.has_edge = key.flash;
    if (key.flash && key.dim) compose_channel_luts(t.inner, flash_lut, dim_lut, pf);
    else t.inner = key.flash ? flash_lut : dim_lut;
    t.edge = flash_lut;
    const uint16_t* shade = key.shadow ? retina_shadow_table(tables) : nullptr;
    for (int lens = 0; lens < 2; ++lens) {
        if (lens && !key.sunglasses) continue;
        for (int in_shadow = 0; in_shadow < 2; ++in_shadow) {
            if (in_shadow && !key.shadow) continue;
            uint16_t* out = t.chain[lens].data() + (in_shadow << 16);
            for (uint32_t v = 0; v < pixel_values_16; ++v) {
                uint32_t w = lens ? apply_channel_lut_565(t.sunglasses, v) : v;
                if (in_shadow) w = shade[w];
                if (t.has_inner) w = apply_channel_lut_565(t.inner, w);
                out[v] = static_cast<uint16_t>(w);
            }
        }
    }
    t.ready = 1;
    return t;
}

}  // namespace engine
