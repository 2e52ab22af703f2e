// optical_filters_pixels.h -- whole-pixel loads, stores and per-channel lookup tables for the filter passes.
//
// read_pixel/write_pixel convert one pixel at a time through a switch on the
// pixel size. The filter passes instead load the pixel value once, look each
// channel's field up in a table built per call from the very same arithmetic,
// and store the combined value. Because read_pixel treats the channels
// independently and write_pixel ORs independent per-channel terms, the table
// result is bit-for-bit what read_pixel + arithmetic + write_pixel gives.
#pragma once
#include <bit>
#include <cstdint>
#include <cstring>

#include "sim/platform/pixel_format.h"

namespace engine::filters {

// The format with its fields in arrays, channel order red, green, blue.
struct Channels {
    uint32_t mask[3];
    int shift[3];
    int width[3];
};

inline Channels channels_of(const platform::PixelFormat& f) {
    return Channels{{f.red_mask, f.green_mask, f.blue_mask},
                    {f.red_shift, f.green_shift, f.blue_shift},
                    {f.red_width, f.green_width, f.blue_width}};
}

// The pixel layouts read_pixel and write_pixel define: 2, 3 or 4 bytes, and
// channel fields at most 8 bits wide (wider fields would shift by a negative
// count there).
inline bool supported(const platform::PixelFormat& f, int bytes_per_pixel) {
    return bytes_per_pixel >= 2 && bytes_per_pixel <= 4 && f.red_width <= 8 && f.green_width <= 8 &&
           f.blue_width <= 8;
}

template <int Bytes>
inline uint32_t load(const uint8_t* p) {
    if constexpr (Bytes == 2 && std::endian::native == std::endian::little) {
        uint16_t v;
        std::memcpy(&v, p, 2);
        return v;
    }
    uint32_t v = p[0] | uint32_t(p[1]) << 8;
    if constexpr (Bytes >= 3) v |= uint32_t(p[2]) << 16;
    if constexpr (Bytes == 4) v |= uint32_t(p[3]) << 24;
    return v;
}

template <int Bytes>
inline void store(uint8_t* p, uint32_t v) {
    if constexpr (Bytes == 2 && std::endian::native == std::endian::little) {
        const uint16_t v16 = static_cast<uint16_t>(v);
        std::memcpy(p, &v16, 2);
        return;
    }
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    if constexpr (Bytes >= 3) p[2] = uint8_t(v >> 16);
    if constexpr (Bytes == 4) p[3] = uint8_t(v >> 24);
}

// The 8-bit channel value read_pixel gives for field value `field`.
inline uint32_t widen(const Channels& c, int ch, uint32_t field) { return field << (8 - c.width[ch]); }

// The term write_pixel ORs into the pixel value for channel value `value`.
inline uint32_t term(const Channels& c, int ch, uint32_t value, int bytes_per_pixel) {
    if (bytes_per_pixel == 2) return ((value >> (8 - c.width[ch])) << c.shift[ch]) & c.mask[ch];
    return value << c.shift[ch];
}

// One table per channel from field value to output term.
struct ChannelTables {
    uint32_t table[3][256];
    Channels c;

    // Fills the tables with term(map(ch, widen(field))) for every field value.
    template <class Map>
    void build(const platform::PixelFormat& f, int bytes_per_pixel, Map map) {
        c = channels_of(f);
        for (int ch = 0; ch < 3; ++ch) {
            const uint32_t fields = 1u << c.width[ch];
            for (uint32_t field = 0; field < fields; ++field)
                table[ch][field] = term(c, ch, map(ch, widen(c, ch, field)), bytes_per_pixel);
        }
    }

    uint32_t apply(uint32_t v) const {
        return table[0][(v & c.mask[0]) >> c.shift[0]] | table[1][(v & c.mask[1]) >> c.shift[1]] |
               table[2][(v & c.mask[2]) >> c.shift[2]];
    }
};

// A product of a channel and a factor converted back to a channel: truncated
// toward zero; negative and NaN give 0 and values beyond the unsigned range
// saturate, so nothing reaches an undefined conversion.
inline uint32_t channel_from(double value) {
    if (!(value > 0.0)) return 0;
    if (value >= 4294967295.0) return UINT32_MAX;
    return static_cast<uint32_t>(value);
}

}  // namespace engine::filters
