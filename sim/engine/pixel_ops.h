// pixel_ops.h -- fast per-pixel helpers of the engine that give exactly what read_pixel/write_pixel give.
//
// A "plain" pixel format has contiguous channel masks no wider than 8 bits.
// For such a format a pixel decodes into three fields (value & mask) >> shift,
// read_pixel's channel is field << (8 - width), and write_pixel ORs the three
// independently encoded channels together. So any operation that maps each
// channel on its own can be tabulated per field (ChannelLut), and a darkening
// by factor/256 maps field f to (f * factor) >> 8 directly. Formats that are
// not plain take the literal read_pixel/write_pixel route.
#pragma once
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "common/convert.h"
#include "sim/platform/pixel_format.h"
#include "sim/platform/surface.h"

namespace engine {

// Channel layout of a plain format, or ok = 0.
struct PlainFormat {
    int ok = 0;
    uint32_t mask[3] = {0, 0, 0};
    int shift[3] = {0, 0, 0};
    int width[3] = {0, 0, 0};
};

inline PlainFormat plain_format(const platform::PixelFormat& f, int bytes_per_pixel) {
    PlainFormat p;
    if (bytes_per_pixel < 2 || bytes_per_pixel > 4) return p;
    const uint32_t masks[3] = {f.red_mask, f.green_mask, f.blue_mask};
    const int shifts[3] = {f.red_shift, f.green_shift, f.blue_shift};
    const int widths[3] = {f.red_width, f.green_width, f.blue_width};
    for (int c = 0; c < 3; ++c) {
        if (widths[c] < 1 || widths[c] > 8 || shifts[c] < 0 || shifts[c] > 31) return p;
        if (masks[c] != ((uint64_t(1) << widths[c]) - 1) << shifts[c]) return p;
        p.mask[c] = masks[c];
        p.shift[c] = shifts[c];
        p.width[c] = widths[c];
    }
    p.ok = 1;
    return p;
}

template <int Bpp>
inline uint32_t load_pixel(const uint8_t* p) {
    if constexpr (Bpp == 2 && std::endian::native == std::endian::little) {
        uint16_t v;  // one 16-bit access instead of two byte accesses
        std::memcpy(&v, p, 2);
        return v;
    } else if constexpr (Bpp == 2) return p[0] | uint32_t(p[1]) << 8;
    else if constexpr (Bpp == 3) return p[0] | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    else return p[0] | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

template <int Bpp>
inline void store_pixel(uint8_t* p, uint32_t v) {
    if constexpr (Bpp == 2 && std::endian::native == std::endian::little) {
        const uint16_t v16 = static_cast<uint16_t>(v);
        std::memcpy(p, &v16, 2);
        return;
    }
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    if constexpr (Bpp >= 3) p[2] = uint8_t(v >> 16);
    if constexpr (Bpp == 4) p[3] = uint8_t(v >> 24);
}

// Darkens one pixel of a plain format to channel x factor / 256 (factor 0..256).
template <int Bpp>
inline void darken_plain(const PlainFormat& pf, uint8_t* p, uint32_t factor) {
    const uint32_t v = load_pixel<Bpp>(p);
    const uint32_t r = (((v & pf.mask[0]) >> pf.shift[0]) * factor) >> 8;
    const uint32_t g = (((v & pf.mask[1]) >> pf.shift[1]) * factor) >> 8;
    const uint32_t b = (((v & pf.mask[2]) >> pf.shift[2]) * factor) >> 8;
    store_pixel<Bpp>(p, (r << pf.shift[0]) | (g << pf.shift[1]) | (b << pf.shift[2]));
}

// The literal darkening through read_pixel/write_pixel, for any format.
inline void darken_generic(const platform::PixelFormat& f, uint8_t* p, int bpp, uint32_t factor) {
    uint32_t r = 0, g = 0, b = 0;
    platform::read_pixel(f, p, bpp, r, g, b);
    platform::write_pixel(f, r * factor / 256, g * factor / 256, b * factor / 256, p, bpp);
}

// A brightened channel: trunc(channel x factor) limited to 0..255 (the lower
// limit only matters for negative factors from files).
template <class Factor>
inline uint32_t brighten_channel(uint32_t channel, Factor factor) {
    const int v = trunc_to_int(static_cast<Factor>(channel) * factor);
    return static_cast<uint32_t>(std::clamp(v, 0, 255));
}

// A per-channel operation tabulated for a plain format: encoded[c][field] is
// what write_pixel contributes for channel c when the read channel came from
// `field`, so a pixel maps to the OR of three lookups.
struct ChannelLut {
    uint32_t encoded[3][256];
};

// Fills `lut` from op(channel index, 8-bit channel as read) -> value given to
// write_pixel for that channel.
template <class Op>
inline void build_channel_lut(ChannelLut& lut, const PlainFormat& pf, int bytes_per_pixel, Op&& op) {
    for (int c = 0; c < 3; ++c) {
        const int fields = 1 << pf.width[c];
        for (int field = 0; field < fields; ++field) {
            const uint32_t value = op(c, uint32_t(field) << (8 - pf.width[c]));
            lut.encoded[c][field] = bytes_per_pixel == 2
                                        ? ((value >> (8 - pf.width[c])) << pf.shift[c]) & pf.mask[c]
                                        : value << pf.shift[c];
        }
        for (int field = fields; field < 256; ++field) lut.encoded[c][field] = 0;
    }
}

inline uint32_t apply_channel_lut(const ChannelLut& lut, const PlainFormat& pf, uint32_t v) {
    return lut.encoded[0][(v & pf.mask[0]) >> pf.shift[0]] |
           lut.encoded[1][(v & pf.mask[1]) >> pf.shift[1]] |
           lut.encoded[2][(v & pf.mask[2]) >> pf.shift[2]];
}

template <int Bpp>
inline void apply_channel_lut_at(const ChannelLut& lut, const PlainFormat& pf, uint8_t* p) {
    store_pixel<Bpp>(p, apply_channel_lut(lut, pf, load_pixel<Bpp>(p)));
}

// A plain 2-byte format whose fields all lie in the low 16 bits: its pixels
// can be handled eight at a time in 16-bit lanes, or through one table of all
// 65536 values.
inline bool plain_16(const PlainFormat& pf, int bytes_per_pixel) {
    return pf.ok && bytes_per_pixel == 2 && ((pf.mask[0] | pf.mask[1] | pf.mask[2]) >> 16) == 0;
}

// A plain_16 format whose three fields cover all 16 bits, so that writing
// back the channels read keeps every bit of a pixel.
inline bool full_16(const PlainFormat& pf, int bytes_per_pixel) {
    return plain_16(pf, bytes_per_pixel) && (pf.mask[0] | pf.mask[1] | pf.mask[2]) == 0xFFFFu &&
           !(pf.mask[0] & pf.mask[1]) && !(pf.mask[0] & pf.mask[2]) && !(pf.mask[1] & pf.mask[2]);
}

// `lut` on full_16 pixels as two lookups: the field at bit 0 (at least 4
// bits wide), and the two fields above it together.
struct SplitLut16 {
    int low_bits = 0;
    uint16_t low[256];
    uint16_t high[4096];
};

// Fills `split` from `lut`; returns 0 (and fills nothing) when no field of at
// least 4 bits starts at bit 0.
inline int build_split_lut16(SplitLut16& split, const ChannelLut& lut, const PlainFormat& pf) {
    int low = -1;
    for (int c = 0; c < 3; ++c)
        if (pf.shift[c] == 0 && pf.width[c] >= 4) low = c;
    if (low < 0) return 0;
    const int a = (low + 1) % 3, b = (low + 2) % 3;
    split.low_bits = pf.width[low];
    for (uint32_t field = 0; field < (1u << pf.width[low]); ++field) split.low[field] = uint16_t(lut.encoded[low][field]);
    for (uint32_t fa = 0; fa < (1u << pf.width[a]); ++fa) {
        const uint32_t index_a = fa << (pf.shift[a] - split.low_bits);
        for (uint32_t fb = 0; fb < (1u << pf.width[b]); ++fb)
            split.high[index_a | fb << (pf.shift[b] - split.low_bits)] = uint16_t(lut.encoded[a][fa] | lut.encoded[b][fb]);
    }
    return 1;
}

// Fills `split` from a whole-value table of a per-channel operation on a
// full_16 format (each channel's result in its own field): the high fields'
// results are those of the values with a zero low field, masked. Returns 0
// when no field of at least 4 bits starts at bit 0.
inline int split_from_table16(SplitLut16& split, const uint16_t* table, const PlainFormat& pf) {
    int low = -1;
    for (int c = 0; c < 3; ++c)
        if (pf.shift[c] == 0 && pf.width[c] >= 4) low = c;
    if (low < 0) return 0;
    split.low_bits = pf.width[low];
    const uint32_t low_mask = pf.mask[low];
    for (uint32_t field = 0; field <= low_mask; ++field) split.low[field] = uint16_t(table[field] & low_mask);
    for (uint32_t high = 0; high < (0x10000u >> split.low_bits); ++high)
        split.high[high] = uint16_t(table[high << split.low_bits] & ~low_mask);
    return 1;
}

inline uint32_t apply_split_lut16(const SplitLut16& split, uint32_t v) {
    return split.high[v >> split.low_bits] | split.low[v & ((1u << split.low_bits) - 1)];
}

// table[v] = the pixel value `lut` makes of v, for every 16-bit v of a
// plain_16 format. Bits outside the channel masks do not matter, as
// write_pixel never stores them.
inline void build_pixel_table16(uint16_t* table, const ChannelLut& lut, const PlainFormat& pf) {
    const uint32_t used = pf.mask[0] | pf.mask[1] | pf.mask[2];
    const bool disjoint = !(pf.mask[0] & pf.mask[1]) && !(pf.mask[0] & pf.mask[2]) && !(pf.mask[1] & pf.mask[2]);
    if (!disjoint || used != 0xFFFFu) {
        for (uint32_t v = 0; v < 65536; ++v) table[v] = static_cast<uint16_t>(apply_channel_lut(lut, pf, v));
        return;
    }
    const uint32_t fields[3] = {1u << pf.width[0], 1u << pf.width[1], 1u << pf.width[2]};
    for (uint32_t r = 0; r < fields[0]; ++r) {
        for (uint32_t g = 0; g < fields[1]; ++g) {
            const uint32_t index = r << pf.shift[0] | g << pf.shift[1];
            const uint32_t value = lut.encoded[0][r] | lut.encoded[1][g];
            for (uint32_t b = 0; b < fields[2]; ++b)
                table[index | b << pf.shift[2]] = static_cast<uint16_t>(value | lut.encoded[2][b]);
        }
    }
}

// Composes two channel operations: first `a`, then `b`, as reading and
// writing the pixel between them would (plain_16 formats, where every encoded
// channel stays inside its own field).
inline void compose_channel_luts(ChannelLut& out, const ChannelLut& a, const ChannelLut& b, const PlainFormat& pf) {
    for (int c = 0; c < 3; ++c) {
        for (int field = 0; field < 256; ++field) {
            const uint32_t once = a.encoded[c][field];
            out.encoded[c][field] = b.encoded[c][(once & pf.mask[c]) >> pf.shift[c]];
        }
    }
}

#if defined(__SSE2__)
// A plain_16 format for eight pixels at a time.
struct Lanes16 {
    __m128i field_mask[3];
    __m128i shift[3];
};

inline Lanes16 lanes16(const PlainFormat& pf) {
    Lanes16 l;
    for (int c = 0; c < 3; ++c) {
        l.field_mask[c] = _mm_set1_epi16(static_cast<short>((1 << pf.width[c]) - 1));
        l.shift[c] = _mm_cvtsi32_si128(pf.shift[c]);
    }
    return l;
}

// Eight pixels darkened by their lane's factor (0..256): each field f becomes
// (f x factor) >> 8, exactly darken_plain's result. A factor of 256 keeps a lane.
inline __m128i darken8(__m128i v, __m128i factor, const Lanes16& l) {
    auto channel = [&](int c) {
        const __m128i field = _mm_and_si128(_mm_srl_epi16(v, l.shift[c]), l.field_mask[c]);
        return _mm_sll_epi16(_mm_srli_epi16(_mm_mullo_epi16(field, factor), 8), l.shift[c]);
    };
    return _mm_or_si128(_mm_or_si128(channel(0), channel(1)), channel(2));
}

// A full_16 format whose fields are 5, 6 and 5 bits wide at bits 11, 5 and 0
// (in any channel order): darkening treats every channel alike, so it can
// use fixed shifts.
inline bool fields_565(const PlainFormat& pf, int bytes_per_pixel) {
    if (!full_16(pf, bytes_per_pixel)) return false;
    int found = 0;
    for (int c = 0; c < 3; ++c) {
        if (pf.shift[c] == 11 && pf.width[c] == 5) found |= 1;
        if (pf.shift[c] == 5 && pf.width[c] == 6) found |= 2;
        if (pf.shift[c] == 0 && pf.width[c] == 5) found |= 4;
    }
    return found == 7;
}

// darken8 for fields_565 formats, from the lane factors F (0..256). With
// products taken as the high half of 16 x 16 bits: the top field r at bit 11
// times F << 5 gives r x F, and the middle field g at bit 5 times F << 7
// gives (g x F) >> 4; shifting those into place and masking leaves
// ((field x F) >> 8) at each field's bits, exactly as darken8.
inline __m128i darken8_565(__m128i v, __m128i factor) {
    const __m128i top = _mm_and_si128(
        _mm_slli_epi16(_mm_mulhi_epu16(_mm_and_si128(v, _mm_set1_epi16(short(0xF800))), _mm_slli_epi16(factor, 5)), 3),
        _mm_set1_epi16(short(0xF800)));
    const __m128i middle = _mm_and_si128(
        _mm_slli_epi16(_mm_mulhi_epu16(_mm_and_si128(v, _mm_set1_epi16(0x07E0)), _mm_slli_epi16(factor, 7)), 1),
        _mm_set1_epi16(0x07E0));
    const __m128i bottom = _mm_srli_epi16(_mm_mullo_epi16(_mm_and_si128(v, _mm_set1_epi16(0x001F)), factor), 8);
    return _mm_or_si128(_mm_or_si128(top, middle), bottom);
}

// Darkens `count` 2-byte pixels from p on by one factor.
inline void darken_row16(uint8_t* p, int count, uint32_t factor, const Lanes16& l) {
    const __m128i f = _mm_set1_epi16(static_cast<short>(factor));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        __m128i* q = reinterpret_cast<__m128i*>(p + 2 * i);
        _mm_storeu_si128(q, darken8(_mm_loadu_si128(q), f, l));
    }
    for (; i < count; ++i) {
        const uint16_t one = static_cast<uint16_t>(p[2 * i] | p[2 * i + 1] << 8);
        const uint16_t out = static_cast<uint16_t>(_mm_cvtsi128_si32(darken8(_mm_set1_epi16(static_cast<short>(one)), f, l)));
        p[2 * i] = uint8_t(out);
        p[2 * i + 1] = uint8_t(out >> 8);
    }
}
#endif

// The eyelid darkening factors (level + 1, 1..256) of every pixel of row y,
// in the order the column loop's lid steps reach the row: nearer a lid's edge
// first, the upper lid first on a tie. Returns how many (0, 1 or 2).
int eyelid_row_factors(int y, int position, int base, uint32_t factors[2]);

// Runs f.template operator()<Bpp>() with the surface's bytes per pixel as a
// compile-time constant; returns 0 for sizes other than 2, 3 and 4.
template <class F>
inline int dispatch_bpp(int bytes_per_pixel, F&& f) {
    switch (bytes_per_pixel) {
    case 2: f.template operator()<2>(); return 1;
    case 3: f.template operator()<3>(); return 1;
    case 4: f.template operator()<4>(); return 1;
    default: return 0;
    }
}

}  // namespace engine
