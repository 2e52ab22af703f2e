// frame_tables.cpp -- builds the kept whole-value tables of the frame, and rebuilds one only when its strengths change.
#include "sim/engine/frame_tables.h"

#include <cstring>

namespace engine {

const uint16_t* retina_shadow_table(FrameTables& tables) {
    if (!tables.shadow_ready) {
        for (uint32_t v = 0; v < pixel_values_16; ++v) {
            uint32_t r, g, b;
            unpack_565(v, r, g, b);
            shade_pixel(r, g, b);
            tables.shadow[v] = pack_565(r, g, b);
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
    t.key = key;
    build_lut565(t.sunglasses, [&](int c, uint32_t v) { return tint_channel(v, key.tint[c]); });
    float strength;
    std::memcpy(&strength, &key.strength_bits, sizeof strength);
    const float factor = strength + 1;
    build_lut565(t.flash, [&](int, uint32_t c) { return brighten_channel(c, factor); });
    build_lut565(t.dim, overlay_dim_channel);
    const uint16_t* shade = key.shadow ? retina_shadow_table(tables) : nullptr;
    for (int lens = 0; lens < 2; ++lens) {
        if (lens && !key.sunglasses) continue;
        for (int in_shadow = 0; in_shadow < 2; ++in_shadow) {
            if (in_shadow && !key.shadow) continue;
            uint16_t* out = t.chain[lens].data() + (in_shadow << 16);
            for (uint32_t v = 0; v < pixel_values_16; ++v) {
                uint32_t w = lens ? t.sunglasses(v) : v;
                if (in_shadow) w = shade[w];
                if (key.flash) w = t.flash(w);
                if (key.dim) w = t.dim(w);
                out[v] = static_cast<uint16_t>(w);
            }
        }
    }
    t.ready = 1;
    return t;
}

}  // namespace engine
