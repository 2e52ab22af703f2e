// optical_filters.cpp -- cataract haze, sunglasses lens, retina shadow and retina blood cells.
#include "sim/engine/optical_filters.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/convert.h"
#include "sim/engine/pixels.h"

namespace engine {

void draw_cataract_haze(const platform::LockedSurface& s, const platform::PixelFormat& f, float clarity) {
    if (!drawable(f, s.bytes_per_pixel)) return;
    // A clarity that is not a number (only a damaged file holds one) counts as a clear lens.
    if (std::isnan(clarity)) clarity = 1.0f;
    const int width = frame_cols(s);
    map_channels(s, f, 0, frame_rows(s), [width](int) { return std::pair{0, width}; },
                 [clarity](int ch, uint32_t value) { return haze_channel(ch, value, clarity); });
}

void draw_sunglasses(const platform::LockedSurface& s, const platform::PixelFormat& f, int red, int green, int blue) {
    if (!drawable(f, s.bytes_per_pixel)) return;
    const int tint[3] = {red, green, blue};
    const int width = frame_cols(s);
    map_channels(
        s, f, 0, frame_rows(s),
        [width](int y) {
            const LensRow row = lens_row(y);
            return std::pair{row.from, std::max(row.from, std::min(row.to, width))};
        },
        [&](int ch, uint32_t value) { return tint_channel(value, tint[ch]); });
}

void draw_retina_shadow(const platform::LockedSurface& s, const platform::PixelFormat& f, const uint8_t* grey_map) {
    if (grey_map == nullptr || !drawable(f, s.bytes_per_pixel)) return;
    const PlainFormat pf = plain_format(f, s.bytes_per_pixel);
    // Pixels outside the shadow are read and written back unchanged, which
    // at 2 bytes clears the bits outside the masks: one identity table does it.
    ChannelLut rewrite;
    if (pf.ok) build_channel_lut(rewrite, pf, s.bytes_per_pixel, [](int, uint32_t v) { return v; });
    dispatch_bpp(s.bytes_per_pixel, [&]<int Bpp>() {
        for (int y = 1; y < frame_rows(s); ++y) {
            const uint8_t* map = grey_map + y * screen_width;
            for (int x = 1; x < frame_cols(s); ++x) {
                uint8_t* p = s.at(x, y);
                if (map[x] != 0 && pf.ok) {
                    apply_channel_lut_at<Bpp>(rewrite, pf, p);
                    continue;
                }
                uint32_t r = 0, g = 0, b = 0;
                platform::read_pixel(f, p, Bpp, r, g, b);
                if (map[x] == 0) shade_pixel(r, g, b);
                platform::write_pixel(f, r, g, b, p, Bpp);
            }
        }
    });
}

void new_blood_cell_path(BloodCell& cell, Random& rng) {
    cell.centre_x = static_cast<float>(rng.next_mod(screen_width));
    cell.centre_y = static_cast<float>(rng.next_mod(screen_height));
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
    const int bytes = s.bytes_per_pixel;
    const bool can_draw = drawable(f, bytes);
    const PlainFormat pf = plain_format(f, bytes);
    auto factor_of = [brightness](int k) { return brightness / (k * 0.2 + 1.0) + 1.0; };
    auto brighten = [](uint32_t v, double factor) { return std::min(channel_from(v * factor), 255u); };
    // Trail dot k brightens by a factor that depends on k alone: the channel
    // tables of the five dots a trail has are made once per call.
    constexpr int tabulated_dots = 5;
    ChannelLut dot_tables[tabulated_dots];
    if (pf.ok && count > 0)
        for (int k = 0; k < tabulated_dots; ++k)
            build_channel_lut(dot_tables[k], pf, bytes, [&](int, uint32_t v) { return brighten(v, factor_of(k)); });
    for (int i = 0; i < count; ++i) {
        BloodCell& cell = cells[i];
        const int cx = trunc_to_int(cell.centre_x), cy = trunc_to_int(cell.centre_y);
        for (int k = 0; can_draw && k < cell.trail_length; ++k) {
            // k * step is single precision; the decimal constants take it to double.
            const double d = static_cast<float>(k) * cell.step * 0.7;
            const double degrees = cell.direction == 1 ? cell.angle - d : cell.angle + d;
            const double radians = degrees * 0.01745277777777778;
            const int px = trunc_to_int(std::cos(radians) * cell.radius + cx);
            const int py = trunc_to_int(std::sin(radians) * cell.radius + cy);
            if (px < 0 || px >= frame_cols(s) || py < 0 || py >= frame_rows(s)) continue;
            uint8_t* p = s.at(px, py);
            if (pf.ok && k < tabulated_dots) {
                dispatch_bpp(bytes, [&]<int Bpp>() { apply_channel_lut_at<Bpp>(dot_tables[k], pf, p); });
                continue;
            }
            uint32_t c[3] = {0, 0, 0};
            platform::read_pixel(f, p, bytes, c[0], c[1], c[2]);
            for (uint32_t& v : c) v = brighten(v, factor_of(k));
            platform::write_pixel(f, c[0], c[1], c[2], p, bytes);
        }
        cell.angle = cell.angle + cell.step;
        if ((cell.direction == 1 && cell.angle > cell.end_angle) || (cell.direction == -1 && cell.angle < cell.end_angle))
            new_blood_cell_path(cell, rng);
    }
}

}  // namespace engine
