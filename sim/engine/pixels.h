// pixels.h -- the engine's pixel rules on the 5-6-5 frame: channel arithmetic, channel tables, lens rows, eyelid factors, SSE2 darkening.
//
// Private to sim/engine. Every effect reads a pixel's channels as
// unpack_565 gives them and writes them back as pack_565 stores them; the
// shortcuts here give exactly that:
// - an operation on each channel alone is two lookups (Lut565: red with
//   green, and blue);
// - darkening by factor / 256 takes each field f straight to (f x factor) >> 8,
//   and SSE2 does it for eight pixels at a time;
// - any operation on a whole pixel is one table of its result for each of
//   the 65536 values (frame_tables.h).
// The per-pixel helpers are always inlined: a sanitized or fuzzing build
// would otherwise call each one once per pixel.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "common/convert.h"
#include "sim/engine/same_trig.h"
#include "sim/platform/frame.h"

namespace engine {

using platform::pack_565;
using platform::screen_height;
using platform::screen_width;
using platform::unpack_565;

constexpr int pixel_values_16 = 65536;

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

// A pixel darkened to channel x factor / 256 (factor 0..256).
[[gnu::always_inline]] inline uint16_t darken_565(uint32_t v, uint32_t factor) {
    const uint32_t r = ((v >> 11) * factor) >> 8, g = (((v >> 5) & 63u) * factor) >> 8, b = ((v & 31u) * factor) >> 8;
    return uint16_t(r << 11 | g << 5 | b);
}

// A pixel brightened channel by channel by `factor`, clamped to 255.
template <class Factor>
inline uint16_t brighten_565(uint32_t v, Factor factor) {
    uint32_t r, g, b;
    unpack_565(v, r, g, b);
    return pack_565(brighten_channel(r, factor), brighten_channel(g, factor), brighten_channel(b, factor));
}

// ---------------------------------------------------------------- channel tables

// A per-channel operation on 5-6-5 pixels as two lookups: red and green
// together (2048 entries) and blue alone (32). Small enough to stay in the
// first-level cache, and cheap enough to make per frame.
struct Lut565 {
    uint16_t high[2048];
    uint16_t low[32];

    uint16_t operator()(uint32_t v) const { return uint16_t(high[v >> 5] | low[v & 31]); }
};

// Fills `lut` from op(channel index, 8-bit channel as read) -> channel written.
template <class Op>
inline void build_lut565(Lut565& lut, Op&& op) {
    uint16_t red[32], green[64];
    for (uint32_t f = 0; f < 32; ++f) {
        red[f] = pack_565(op(0, f << 3), 0, 0);
        lut.low[f] = pack_565(0, 0, op(2, f << 3));
    }
    for (uint32_t f = 0; f < 64; ++f) green[f] = pack_565(0, op(1, f << 2), 0);
    for (uint32_t i = 0; i < 2048; ++i) lut.high[i] = uint16_t(red[i >> 6] | green[i & 63]);
}

// ---------------------------------------------------------------- shapes

// The tinted columns [from, to) of one screen row of the sunglasses lens:
// half-width trunc(cos(v x 0.005235833333333334) x 500) around column 320
// for row 240 + v, limited to the screen.
struct LensRow {
    int from, to;
};

inline LensRow lens_row(int y) {
    const int half = static_cast<int>(same_cos((y - 240) * 0.005235833333333334) * 500.0);
    return LensRow{std::max(320 - half, 0), std::min(320 + half, screen_width)};
}

// The eyelid darkening factors (level + 1, 1..256) of every pixel of row y,
// in the order the column loop's lid steps reach the row: nearer a lid's edge
// first, the upper lid first on a tie. Returns how many (0, 1 or 2).
int eyelid_row_factors(int y, int position, int base, uint32_t factors[2]);

// A row the eyelids turn black: a factor of 1 zeroes every field.
inline bool eyelid_blackens_row(int steps, const uint32_t factors[2]) {
    return steps > 0 && (factors[0] == 1 || (steps == 2 && factors[1] == 1));
}

// ---------------------------------------------------------------- SSE2

#if defined(__SSE2__)
// Eight 5-6-5 pixels darkened by their lane's factor F (0..256): each field f
// becomes (f x F) >> 8, exactly darken_565's result. With products taken as
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
#endif

// Darkens `count` pixels from p on by one factor.
inline void darken_row(uint16_t* p, int count, uint32_t factor) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i f = _mm_set1_epi16(static_cast<short>(factor));
    for (; i + 8 <= count; i += 8) {
        __m128i* q = reinterpret_cast<__m128i*>(p + i);
        _mm_storeu_si128(q, darken8_565(_mm_loadu_si128(q), f));
    }
#endif
    for (; i < count; ++i) p[i] = darken_565(p[i], factor);
}

}  // namespace engine
