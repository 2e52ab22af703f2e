// frame_tables.cpp -- builds the kept whole-value tables of the frame, and rebuilds one only when its strengths change.
#include "sim/engine/frame_tables.h"

#include <algorithm>
#include <cstring>

namespace engine {

namespace {

// The 16-bit m that gives table[f] = floor(f x m / 65536) for every field
// value f below `values`, or -1 when there is none: then one multiply
// gives a field's haze exactly.
int field_multiplier(const uint16_t* table, int values) {
    int64_t low = 0, high = 65535;
    for (int f = 1; f < values; ++f) {
        low = std::max<int64_t>(low, (int64_t(table[f]) * 65536 + f - 1) / f);
        high = std::min<int64_t>(high, ((int64_t(table[f]) + 1) * 65536 - 1) / f);
    }
    return table[0] == 0 && low <= high ? int(low) : -1;
}

}  // namespace

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

const HazeTables& haze_tables(FrameTables& tables, float clarity) {
    HazeTables& t = tables.haze;
    uint32_t bits;
    std::memcpy(&bits, &clarity, sizeof bits);
    if (t.ready && t.clarity_bits == bits) return t;
    build_lut565(t.lut, [clarity](int c, uint32_t v) { return haze_channel(c, v, clarity); });
    uint16_t red[32], green[64], blue[32];
    for (int f = 0; f < 64; ++f) green[f] = (t.lut.high[f] >> 5) & 63;
    for (int f = 0; f < 32; ++f) red[f] = t.lut.high[f << 6] >> 11, blue[f] = t.lut.low[f];
    t.multiplier[0] = field_multiplier(red, 32);
    t.multiplier[1] = field_multiplier(green, 64);
    t.multiplier[2] = field_multiplier(blue, 32);
    t.clarity_bits = bits;
    t.ready = 1;
    return t;
}

}  // namespace engine
