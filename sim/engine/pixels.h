// pixels.h -- the engine's one pixel layer: loads and stores, channel tables, whole-value tables, lens rows, eyelid and dimming rules.
//
// Private to sim/engine. Every effect reads and writes pixels through what is
// here, and every shortcut gives exactly what read_pixel / write_pixel and
// the per-channel arithmetic give:
// - A "plain" format has contiguous channel masks at most 8 bits wide. A
//   pixel decodes into three fields (value & mask) >> shift; read_pixel's
//   channel is field << (8 - width); write_pixel ORs three independently
//   encoded channels. So an operation on each channel alone is a table per
//   field (ChannelLut), and darkening by factor/256 maps a field f straight
//   to (f x factor) >> 8.
// - The display's 16-bit format, 5-6-5, covers all 16 bits: an operation on
//   each channel alone is also two lookups (SplitLut565), any operation on a
//   pixel one table of its result for every value (frame_tables.h), and SSE2
//   darkens eight of its pixels at a time.
// Formats that are not plain take read_pixel / write_pixel itself.
// The per-pixel helpers are always inlined: an optimised build inlines them
// anyway, but a sanitized or fuzzing build would otherwise call each one
// once per pixel, several times slower.
#pragma once
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "common/convert.h"
#include "sim/platform/pixel_format.h"
#include "sim/platform/surface.h"

namespace engine {

using platform::screen_height;
using platform::screen_width;

// ---------------------------------------------------------------- formats

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

// The pixel layouts read_pixel and write_pixel define: 2, 3 or 4 bytes and
// fields at most 8 bits wide (wider ones would shift by a negative count).
inline bool drawable(const platform::PixelFormat& f, int bytes_per_pixel) {
    return bytes_per_pixel >= 2 && bytes_per_pixel <= 4 && f.red_width <= 8 && f.green_width <= 8 &&
           f.blue_width <= 8;
}

inline bool same_format(const platform::PixelFormat& a, const platform::PixelFormat& b) {
    return a.red_mask == b.red_mask && a.green_mask == b.green_mask && a.blue_mask == b.blue_mask &&
           a.red_shift == b.red_shift && a.green_shift == b.green_shift && a.blue_shift == b.blue_shift &&
           a.red_width == b.red_width && a.green_width == b.green_width && a.blue_width == b.blue_width;
}

// The display's 16-bit format at 2 bytes a pixel: the one the whole-value
// tables and the SSE2 darkening are made for.
inline bool is_565(const platform::PixelFormat& f, int bytes_per_pixel) {
    return bytes_per_pixel == 2 && same_format(f, platform::format_565());
}

// The part of a locked surface the frame's effects draw on: at most 640 x 480.
inline int frame_rows(const platform::LockedSurface& s) { return std::min(s.height, screen_height); }
inline int frame_cols(const platform::LockedSurface& s) { return std::min(s.width, screen_width); }

// ---------------------------------------------------------------- loads and stores

template <int Bpp>
[[gnu::always_inline]] inline uint32_t load_pixel(const uint8_t* p) {
    if constexpr (Bpp == 2 && std::endian::native == std::endian::little) {
        uint16_t v;  // one 16-bit access instead of two byte accesses
        std::memcpy(&v, p, 2);
        return v;
    } else if constexpr (Bpp == 2) return p[0] | uint32_t(p[1]) << 8;
    else if constexpr (Bpp == 3) return p[0] | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    else return p[0] | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

template <int Bpp>
[[gnu::always_inline]] inline void store_pixel(uint8_t* p, uint32_t v) {
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

// ---------------------------------------------------------------- channel arithmetic

// A channel times a factor from a file, converted back: truncated toward
// zero; negative and NaN give 0 and values beyond the unsigned range
// saturate, so nothing reaches an undefined conversion.
inline uint32_t channel_from(double value) {
    if (!(value > 0.0)) return 0;
    if (value >= 4294967295.0) return UINT32_MAX;
    return static_cast<uint32_t>(value);
}

// A brightened channel: trunc(channel x factor) limited to 0..255 (the lower
// limit only matters for negative factors from files).
template <class Factor>
inline uint32_t brighten_channel(uint32_t channel, Factor factor) {
    const int v = trunc_to_int(static_cast<Factor>(channel) * factor);
    return static_cast<uint32_t>(std::clamp(v, 0, 255));
}

// Overlay dimming of one channel as read: red and green keep 30 %, blue 10 %.
inline uint32_t overlay_dim_channel(int channel, uint32_t c) {
    const int v = trunc_to_int(c * (channel == 2 ? 0.1 : 0.3));
    return static_cast<uint32_t>(std::min(v, 255));
}

// Cataract haze of one channel as read: channel 1 times `clarity` in single
// precision, channels 2 and 3 times clarity - 0.1 in double (the decimal
// constant). Not clamped above; below 0 gives 0.
inline uint32_t haze_channel(int channel, uint32_t c, float clarity) {
    if (channel == 0) return channel_from(static_cast<float>(c) * clarity);
    return channel_from(static_cast<double>(c) * (static_cast<double>(clarity) - 0.1));
}

// Sunglasses tint of one channel: channel x tint / 255 in unsigned
// arithmetic (a tint from a file outside 0..255 wraps, never overflows).
inline uint32_t tint_channel(uint32_t c, int tint) { return c * static_cast<uint32_t>(tint) / 255u; }

// One channel of a retina-shadow pixel: c - ((255 - c) / average + 1),
// truncated, in single precision. A zero average makes the channel 0. The
// result may be negative; it is returned as the unsigned value it wraps to,
// because the following averages add it that way.
inline uint32_t shadow_channel(uint32_t c, uint32_t average) {
    if (average == 0) return 0;
    const float value = static_cast<float>(c) - (static_cast<float>(255u - c) / static_cast<float>(average) + 1.0f);
    return static_cast<uint32_t>(static_cast<int32_t>(value));
}

// The retina shadow of one pixel's channels: each average includes the
// channels already darkened; negative results become 0 at the end.
inline void shade_pixel(uint32_t& c1, uint32_t& c2, uint32_t& c3) {
    const uint32_t n1 = shadow_channel(c1, (c1 + c2 + c3) / 3);
    const uint32_t n2 = shadow_channel(c2, (n1 + c2 + c3) / 3);
    const uint32_t n3 = shadow_channel(c3, (n1 + n2 + c3) / 3);
    auto clamp_negative = [](uint32_t v) { return static_cast<int32_t>(v) < 0 ? 0u : v; };
    c1 = clamp_negative(n1);
    c2 = clamp_negative(n2);
    c3 = clamp_negative(n3);
}

// Darkens one pixel of a plain format to channel x factor / 256 (factor 0..256).
template <int Bpp>
[[gnu::always_inline]] inline void darken_plain(const PlainFormat& pf, uint8_t* p, uint32_t factor) {
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

// The literal brightening through read_pixel/write_pixel, for any format.
template <class Factor>
inline void brighten_generic(const platform::PixelFormat& f, uint8_t* p, int bpp, Factor factor) {
    uint32_t r = 0, g = 0, b = 0;
    platform::read_pixel(f, p, bpp, r, g, b);
    platform::write_pixel(f, brighten_channel(r, factor), brighten_channel(g, factor), brighten_channel(b, factor),
                          p, bpp);
}

// ---------------------------------------------------------------- channel tables

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

[[gnu::always_inline]] inline uint32_t apply_channel_lut(const ChannelLut& lut, const PlainFormat& pf, uint32_t v) {
    return lut.encoded[0][(v & pf.mask[0]) >> pf.shift[0]] | lut.encoded[1][(v & pf.mask[1]) >> pf.shift[1]] |
           lut.encoded[2][(v & pf.mask[2]) >> pf.shift[2]];
}

// apply_channel_lut for the 5-6-5 format, with its shifts known here.
[[gnu::always_inline]] inline uint32_t apply_channel_lut_565(const ChannelLut& lut, uint32_t v) {
    return lut.encoded[0][(v >> 11) & 31] | lut.encoded[1][(v >> 5) & 63] | lut.encoded[2][v & 31];
}

template <int Bpp>
[[gnu::always_inline]] inline void apply_channel_lut_at(const ChannelLut& lut, const PlainFormat& pf, uint8_t* p) {
    store_pixel<Bpp>(p, apply_channel_lut(lut, pf, load_pixel<Bpp>(p)));
}

// Applies `lut` to every pixel of rows [y0, y1), columns span(y) = [from, to).
template <int Bpp, class Span>
void apply_channel_lut_rows(const platform::LockedSurface& s, const PlainFormat& pf, const ChannelLut& lut, int y0,
                            int y1, Span span) {
    for (int y = y0; y < y1; ++y) {
        const auto [x0, x1] = span(y);
        uint8_t* p = s.at(x0, y);
        for (int x = x0; x < x1; ++x, p += Bpp) apply_channel_lut_at<Bpp>(lut, pf, p);
    }
}

// Maps every pixel of rows [y0, y1), columns span(y) = [from, to), channel by
// channel through op(channel index, 8-bit channel as read) -> value written:
// by channel tables for plain formats, by read_pixel / write_pixel otherwise.
template <class Span, class Op>
void map_channels(const platform::LockedSurface& s, const platform::PixelFormat& f, int y0, int y1, Span span,
                  Op op) {
    const PlainFormat pf = plain_format(f, s.bytes_per_pixel);
    ChannelLut lut;
    if (pf.ok) build_channel_lut(lut, pf, s.bytes_per_pixel, op);
    dispatch_bpp(s.bytes_per_pixel, [&]<int Bpp>() {
        if (pf.ok) {
            apply_channel_lut_rows<Bpp>(s, pf, lut, y0, y1, span);
            return;
        }
        for (int y = y0; y < y1; ++y) {
            const auto [x0, x1] = span(y);
            for (int x = x0; x < x1; ++x) {
                uint8_t* p = s.at(x, y);
                uint32_t c[3] = {0, 0, 0};
                platform::read_pixel(f, p, Bpp, c[0], c[1], c[2]);
                platform::write_pixel(f, op(0, c[0]), op(1, c[1]), op(2, c[2]), p, Bpp);
            }
        }
    });
}


// Composes two channel operations of a 2-byte format: first `a`, then `b`,
// as reading and writing the pixel between them would.
inline void compose_channel_luts(ChannelLut& out, const ChannelLut& a, const ChannelLut& b, const PlainFormat& pf) {
    for (int c = 0; c < 3; ++c)
        for (int field = 0; field < 256; ++field)
            out.encoded[c][field] = b.encoded[c][(a.encoded[c][field] & pf.mask[c]) >> pf.shift[c]];
}

// ---------------------------------------------------------------- 5-6-5 tables

constexpr int pixel_values_16 = 65536;

// A per-channel operation on 5-6-5 pixels as two lookups: red and green
// together (2048 entries) and blue alone (32). Small enough to stay in the
// first-level cache, and cheap enough to make per frame.
struct SplitLut565 {
    uint16_t high[2048];
    uint16_t low[32];
};

inline void build_split_lut565(SplitLut565& split, const ChannelLut& lut) {
    for (uint32_t i = 0; i < 2048; ++i)
        split.high[i] = static_cast<uint16_t>(lut.encoded[0][i >> 6] | lut.encoded[1][i & 63]);
    for (uint32_t b = 0; b < 32; ++b) split.low[b] = static_cast<uint16_t>(lut.encoded[2][b]);
}

[[gnu::always_inline]] inline uint32_t apply_split_lut565(const SplitLut565& split, uint32_t v) {
    return split.high[v >> 5] | split.low[v & 31];
}

// ---------------------------------------------------------------- shapes

// The tinted columns [from, to) of one screen row of the sunglasses lens:
// half-width trunc(cos(v x 0.005235833333333334) x 500) around column 320
// for row 240 + v, limited to the screen.
struct LensRow {
    int from, to;
};

inline LensRow lens_row(int y) {
    const int half = static_cast<int>(std::cos((y - 240) * 0.005235833333333334) * 500.0);
    return LensRow{std::max(320 - half, 0), std::min(320 + half, screen_width)};
}

// The eyelid darkening factors (level + 1, 1..256) of every pixel of row y,
// in the order the column loop's lid steps reach the row: nearer a lid's edge
// first, the upper lid first on a tie. Returns how many (0, 1 or 2).
int eyelid_row_factors(int y, int position, int base, uint32_t factors[2]);

// A row the eyelids turn black: a factor of 1 zeroes every field of a plain
// format, whatever the row held.
inline bool eyelid_blackens_row(int steps, const uint32_t factors[2]) {
    return steps > 0 && (factors[0] == 1 || (steps == 2 && factors[1] == 1));
}

// ---------------------------------------------------------------- SSE2 (5-6-5)

#if defined(__SSE2__)
// Eight 5-6-5 pixels darkened by their lane's factor F (0..256): each field f
// becomes (f x F) >> 8, exactly darken_plain's result. With products taken as
// the high half of 16 x 16 bits: the top field r at bit 11 times F << 5 gives
// r x F, and the middle field g at bit 5 times F << 7 gives (g x F) >> 4;
// shifting those into place and masking leaves (field x F) >> 8 at each
// field's bits. A factor of 256 keeps a lane.
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

// Darkens `count` 5-6-5 pixels from p on by one factor.
inline void darken_row16(uint8_t* p, int count, uint32_t factor) {
    const __m128i f = _mm_set1_epi16(static_cast<short>(factor));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        __m128i* q = reinterpret_cast<__m128i*>(p + 2 * i);
        _mm_storeu_si128(q, darken8_565(_mm_loadu_si128(q), f));
    }
    for (; i < count; ++i) {
        const __m128i one = _mm_set1_epi16(static_cast<short>(load_pixel<2>(p + 2 * i)));
        store_pixel<2>(p + 2 * i, static_cast<uint32_t>(_mm_cvtsi128_si32(darken8_565(one, f))));
    }
}
#endif

}  // namespace engine
