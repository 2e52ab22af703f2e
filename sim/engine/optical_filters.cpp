// optical_filters.cpp -- cataract haze, sunglasses lens, retina shadow and retina blood cells.
#include "sim/engine/optical_filters.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <type_traits>
#include <utility>

#include "common/convert.h"
#include "sim/engine/optical_filters_pixels.h"

namespace engine {

namespace {

using filters::ChannelTables;
using filters::channel_from;

// At 16 bits the channel tables are folded into one table of whole pixel
// values, so the pass costs one lookup per pixel. Rebuilt per call.
uint16_t pixel_table[65536];

void build_pixel_table(const ChannelTables& t) {
    const filters::Channels& c = t.c;
    const bool disjoint = !(c.mask[0] & c.mask[1]) && !(c.mask[0] & c.mask[2]) && !(c.mask[1] & c.mask[2]);
    if (disjoint && (c.mask[0] | c.mask[1] | c.mask[2]) == 0xFFFFu) {
        // Every pixel value is one combination of field values.
        const uint32_t fields[3] = {1u << c.width[0], 1u << c.width[1], 1u << c.width[2]};
        for (uint32_t r = 0; r < fields[0]; ++r)
            for (uint32_t g = 0; g < fields[1]; ++g) {
                const uint32_t rg_index = r << c.shift[0] | g << c.shift[1];
                const uint32_t rg = t.table[0][r] | t.table[1][g];
                for (uint32_t b = 0; b < fields[2]; ++b)
                    pixel_table[rg_index | b << c.shift[2]] = static_cast<uint16_t>(rg | t.table[2][b]);
            }
    } else {
        for (uint32_t v = 0; v < 65536; ++v) pixel_table[v] = static_cast<uint16_t>(t.apply(v));
    }
}

// Applies the channel tables to every pixel of rows [y0, y1), columns
// [from[y], to[y]) of the locked surface.
template <class Span>
void apply_tables(const platform::LockedSurface& s, const ChannelTables& t, int y0, int y1, Span span) {
    auto each = [&](auto op, auto bytes) {
        constexpr int Bytes = decltype(bytes)::value;
        for (int y = y0; y < y1; ++y) {
            const auto [x0, x1] = span(y);
            uint8_t* p = s.at(x0, y);
            for (int x = x0; x < x1; ++x, p += Bytes) filters::store<Bytes>(p, op(filters::load<Bytes>(p)));
        }
    };
    switch (s.bytes_per_pixel) {
    case 2:
        build_pixel_table(t);
        each([](uint32_t v) { return uint32_t{pixel_table[v]}; }, std::integral_constant<int, 2>{});
        break;
    case 3: each([&t](uint32_t v) { return t.apply(v); }, std::integral_constant<int, 3>{}); break;
    case 4: each([&t](uint32_t v) { return t.apply(v); }, std::integral_constant<int, 4>{}); break;
    default: break;
    }
}

int frame_width(const platform::LockedSurface& s) { return std::min(s.width, platform::screen_width); }
int frame_height(const platform::LockedSurface& s) { return std::min(s.height, platform::screen_height); }

// A lens row: the tinted columns [from, to) of one screen row.
struct LensRow {
    int from, to;
};

// The lens outline is fixed: half-width trunc(cos(v * 0.005235833333333334) *
// 500) around column 320 for the row 240 + v. Computed once.
const std::array<LensRow, platform::screen_height>& lens_rows() {
    static const std::array<LensRow, platform::screen_height> rows = [] {
        std::array<LensRow, platform::screen_height> r{};
        for (int y = 0; y < platform::screen_height; ++y) {
            const int v = y - 240;
            const int half = static_cast<int>(std::cos(v * 0.005235833333333334) * 500.0);
            r[y] = LensRow{std::max(320 - half, 0), std::min(320 + half, platform::screen_width)};
        }
        return r;
    }();
    return rows;
}

// One channel of a retina-shadow pixel: c - ((255 - c) / average + 1),
// truncated, in single precision. A zero average makes the channel 0. The
// result may be negative; it is returned as the unsigned value it wraps to,
// because the following averages add it that way.
inline uint32_t shadow_channel(uint32_t c, uint32_t average) {
    if (average == 0) return 0;
    const float value = static_cast<float>(c) - (static_cast<float>(255u - c) / static_cast<float>(average) + 1.0f);
    return static_cast<uint32_t>(static_cast<int32_t>(value));
}

// Darkens one pixel's channels for the retina shadow.
inline void shade(uint32_t& c1, uint32_t& c2, uint32_t& c3) {
    const uint32_t n1 = shadow_channel(c1, (c1 + c2 + c3) / 3);
    const uint32_t n2 = shadow_channel(c2, (n1 + c2 + c3) / 3);
    const uint32_t n3 = shadow_channel(c3, (n1 + n2 + c3) / 3);
    auto clamp_negative = [](uint32_t v) { return static_cast<int32_t>(v) < 0 ? 0u : v; };
    c1 = clamp_negative(n1);
    c2 = clamp_negative(n2);
    c3 = clamp_negative(n3);
}

// The shaded value of every 16-bit pixel value, rebuilt when the format changes.
struct ShadowTable {
    bool ready = false;
    platform::PixelFormat format;
    uint16_t value[65536];
};

bool same_format(const platform::PixelFormat& a, const platform::PixelFormat& b) {
    return a.red_mask == b.red_mask && a.green_mask == b.green_mask && a.blue_mask == b.blue_mask &&
           a.red_shift == b.red_shift && a.green_shift == b.green_shift && a.blue_shift == b.blue_shift &&
           a.red_width == b.red_width && a.green_width == b.green_width && a.blue_width == b.blue_width;
}

const uint16_t* shadow_table_16(const platform::PixelFormat& f) {
    static ShadowTable table;
    if (!table.ready || !same_format(table.format, f)) {
        for (uint32_t v = 0; v < 65536; ++v) {
            uint8_t p[2] = {uint8_t(v), uint8_t(v >> 8)};
            uint32_t r = 0, g = 0, b = 0;
            platform::read_pixel(f, p, 2, r, g, b);
            shade(r, g, b);
            platform::write_pixel(f, r, g, b, p, 2);
            table.value[v] = static_cast<uint16_t>(p[0] | p[1] << 8);
        }
        table.format = f;
        table.ready = true;
    }
    return table.value;
}

// What reading a pixel value and writing its channels back unchanged stores.
inline uint32_t rewritten(const filters::Channels& c, uint32_t v, int bytes_per_pixel) {
    uint32_t out = 0;
    for (int ch = 0; ch < 3; ++ch)
        out |= filters::term(c, ch, filters::widen(c, ch, (v & c.mask[ch]) >> c.shift[ch]), bytes_per_pixel);
    return out;
}

template <int Bytes>
void retina_shadow_pass(const platform::LockedSurface& s, const platform::PixelFormat& f, const uint8_t* grey_map) {
    const filters::Channels c = filters::channels_of(f);
    const uint16_t* table = Bytes == 2 ? shadow_table_16(f) : nullptr;
    // At 16 bits reading a pixel and writing it back keeps exactly its channel bits.
    const uint32_t keep = c.mask[0] | c.mask[1] | c.mask[2];
    const int width = frame_width(s), height = frame_height(s);
    for (int y = 1; y < height; ++y) {
        const uint8_t* map = grey_map + y * platform::screen_width;
        uint8_t* p = s.at(1, y);
        for (int x = 1; x < width; ++x, p += Bytes) {
            const uint32_t v = filters::load<Bytes>(p);
            uint32_t out;
            if constexpr (Bytes == 2) {
                // Both candidates are cheap; choosing without a branch keeps
                // the vessel edges from costing mispredictions.
                const uint32_t shaded = table[v], kept = v & keep;
                const uint32_t in_shadow = 0u - static_cast<uint32_t>(map[x] == 0);
                out = (shaded & in_shadow) | (kept & ~in_shadow);
            } else if (map[x] != 0) {
                out = rewritten(c, v, Bytes);
            } else {
                uint32_t r = filters::widen(c, 0, (v & c.mask[0]) >> c.shift[0]);
                uint32_t g = filters::widen(c, 1, (v & c.mask[1]) >> c.shift[1]);
                uint32_t b = filters::widen(c, 2, (v & c.mask[2]) >> c.shift[2]);
                shade(r, g, b);
                out = filters::term(c, 0, r, Bytes) | filters::term(c, 1, g, Bytes) | filters::term(c, 2, b, Bytes);
            }
            filters::store<Bytes>(p, out);
        }
    }
}

}  // namespace

void draw_cataract_haze(const platform::LockedSurface& s, const platform::PixelFormat& f, float clarity) {
    if (!filters::supported(f, s.bytes_per_pixel)) return;
    // A clarity that is not a number (only a damaged file holds one) counts as a clear lens.
    if (std::isnan(clarity)) clarity = 1.0f;
    // Channel 1 keeps `clarity` in single precision; channels 2 and 3 lose a
    // further tenth, computed in double because of the decimal constant.
    const double yellowing = static_cast<double>(clarity) - 0.1;
    ChannelTables t;
    t.build(f, s.bytes_per_pixel, [&](int ch, uint32_t value) {
        if (ch == 0) return channel_from(static_cast<float>(value) * clarity);
        return channel_from(static_cast<double>(value) * yellowing);
    });
    const int width = frame_width(s);
    apply_tables(s, t, 0, frame_height(s), [width](int) { return std::pair{0, width}; });
}

void draw_sunglasses(const platform::LockedSurface& s, const platform::PixelFormat& f, int red, int green, int blue) {
    if (!filters::supported(f, s.bytes_per_pixel)) return;
    // Unsigned arithmetic, as the channels are unsigned: a tint outside
    // 0..255 wraps rather than overflowing.
    const uint32_t tint[3] = {static_cast<uint32_t>(red), static_cast<uint32_t>(green), static_cast<uint32_t>(blue)};
    ChannelTables t;
    t.build(f, s.bytes_per_pixel, [&](int ch, uint32_t value) { return value * tint[ch] / 255u; });
    const auto& rows = lens_rows();
    const int width = frame_width(s);
    apply_tables(s, t, 0, frame_height(s), [&rows, width](int y) {
        return std::pair{rows[y].from, std::max(rows[y].from, std::min(rows[y].to, width))};
    });
}

void draw_retina_shadow(const platform::LockedSurface& s, const platform::PixelFormat& f, const uint8_t* grey_map) {
    if (grey_map == nullptr || !filters::supported(f, s.bytes_per_pixel)) return;
    switch (s.bytes_per_pixel) {
    case 2: retina_shadow_pass<2>(s, f, grey_map); break;
    case 3: retina_shadow_pass<3>(s, f, grey_map); break;
    case 4: retina_shadow_pass<4>(s, f, grey_map); break;
    default: break;
    }
}

void new_blood_cell_path(BloodCell& cell, Random& rng) {
    cell.centre_x = static_cast<float>(rng.next_mod(640));
    cell.centre_y = static_cast<float>(rng.next_mod(480));
    cell.trail_length = 5;
    cell.direction = rng.next_mod(2) == 0 ? -1 : 1;
    if (cell.direction == 1) {
        cell.start_angle = static_cast<float>(rng.next_mod(360));
        cell.end_angle = static_cast<float>(rng.next_mod(360)) + cell.start_angle;
        cell.step = static_cast<float>(rng.next_mod(10) + 10);
    } else {
        cell.start_angle = static_cast<float>(rng.next_mod(360) + 360);
        cell.end_angle = static_cast<float>(rng.next_mod(360));
        cell.step = static_cast<float>(-10 - rng.next_mod(10));
    }
    cell.angle = cell.start_angle;
    cell.radius = static_cast<float>(rng.next_mod(4) + 2);
}

void draw_blood_cells(const platform::LockedSurface& s, const platform::PixelFormat& f, BloodCell* cells, int count,
                      float brightness, Random& rng) {
    count = std::clamp(count, 0, blood_cell_capacity);
    // A brightness that is not a number (only a damaged file holds one) adds no light.
    if (std::isnan(brightness)) brightness = 0.0f;
    const bool drawable = filters::supported(f, s.bytes_per_pixel);
    const int width = frame_width(s), height = frame_height(s), bytes = s.bytes_per_pixel;
    // Trail dot k brightens by a factor that depends on k alone: the first
    // dots' channel tables are made once per call.
    constexpr int tabulated_dots = 5;
    ChannelTables dot_tables[tabulated_dots];
    if (drawable && count > 0) {
        for (int k = 0; k < tabulated_dots; ++k) {
            const double factor = brightness / (k * 0.2 + 1.0) + 1.0;
            dot_tables[k].build(f, bytes, [factor](int, uint32_t v) { return std::min(channel_from(v * factor), 255u); });
        }
    }
    for (int i = 0; i < count; ++i) {
        BloodCell& cell = cells[i];
        const int cx = trunc_to_int(cell.centre_x), cy = trunc_to_int(cell.centre_y);
        for (int k = 0; drawable && k < cell.trail_length; ++k) {
            // k * step is single precision; the decimal constants take it to double.
            const double d = static_cast<float>(k) * cell.step * 0.7;
            const double degrees = cell.direction == 1 ? cell.angle - d : cell.angle + d;
            const double radians = degrees * 0.01745277777777778;
            const int px = trunc_to_int(std::cos(radians) * cell.radius + cx);
            const int py = trunc_to_int(std::sin(radians) * cell.radius + cy);
            if (px < 0 || px >= width || py < 0 || py >= height) continue;
            uint8_t* p = s.at(px, py);
            if (k < tabulated_dots) {
                const ChannelTables& t = dot_tables[k];
                switch (bytes) {
                case 2: filters::store<2>(p, t.apply(filters::load<2>(p))); break;
                case 3: filters::store<3>(p, t.apply(filters::load<3>(p))); break;
                default: filters::store<4>(p, t.apply(filters::load<4>(p))); break;
                }
                continue;
            }
            const double factor = brightness / (k * 0.2 + 1.0) + 1.0;
            uint32_t c[3] = {0, 0, 0};
            platform::read_pixel(f, p, bytes, c[0], c[1], c[2]);
            for (uint32_t& v : c) v = std::min(channel_from(v * factor), 255u);
            platform::write_pixel(f, c[0], c[1], c[2], p, bytes);
        }
        cell.angle = cell.angle + cell.step;
        if ((cell.direction == 1 && cell.angle > cell.end_angle) || (cell.direction == -1 && cell.angle < cell.end_angle))
            new_blood_cell_path(cell, rng);
    }
}

}  // namespace engine
