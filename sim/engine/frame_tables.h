// frame_tables.h -- the pixel tables compose_frame keeps between frames.
//
// A step that maps a pixel on its own is a table of its result: for each of
// the 65536 values, or per channel where the step is a channel rule (the
// cataract haze, with its multipliers). The tables depend only on the step's
// strengths, which change with keys, not from frame to frame: compose_frame
// keeps them here and rebuilds one only when what it was made from changes
// (frame_tables.cpp is the one place that builds and checks them). A fresh
// EngineState holds none.
#pragma once
#include <cstdint>
#include <vector>

#include "sim/engine/pixels.h"

namespace engine {

// What the last four steps (sunglasses, retina shadow, flash, overlay
// dimming) are made from.
struct TailKey {
    int sunglasses = 0, shadow = 0, flash = 0, dim = 0;
    int tint[3] = {0, 0, 0};
    uint32_t strength_bits = 0;  // the flash strength's bit pattern
    bool operator==(const TailKey&) const = default;
};

// The last four steps for one key. Inside 1..638 x 1..478 a pixel value v
// becomes chain[lens][shadow << 16 | v]: sunglasses when inside the lens, the
// shadow where the grey map is 0, then flash and/or dimming. The outer rows
// and columns, which take fewer of the steps, use the channel tables.
struct TailTables {
    int ready = 0;
    TailKey key;
    Lut565 sunglasses, flash, dim;
    std::vector<uint16_t> chain[2] = {std::vector<uint16_t>(2 * pixel_values_16),
                                      std::vector<uint16_t>(2 * pixel_values_16)};
};

// The cataract haze for one clarity: its channel table and, where one
// exists, the 16-bit multiplier per field (red, green, blue) that gives the
// field's haze as floor(f x m / 65536) exactly; -1 where none does.
struct HazeTables {
    int ready = 0;
    uint32_t clarity_bits = 0;  // the clarity's bit pattern
    Lut565 lut;
    int multiplier[3] = {-1, -1, -1};
};

struct FrameTables {
    int shadow_ready = 0;  // the retina shadow of every value (no strengths)
    std::vector<uint16_t> shadow = std::vector<uint16_t>(pixel_values_16);
    TailTables tails[2];   // two sets, so frames with and without a flash both find theirs
    int newest_tail = 0;
    HazeTables haze;
};

// The tables for this frame's strengths, built when missing or made from
// other strengths.
const uint16_t* retina_shadow_table(FrameTables& tables);
const TailTables& tail_tables(FrameTables& tables, const TailKey& key);
const HazeTables& haze_tables(FrameTables& tables, float clarity);

}  // namespace engine
