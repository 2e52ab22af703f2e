// optical_filters.cpp -- retina blood cells.
#include "sim/engine/optical_filters.h"

#include <algorithm>
#include <cmath>

#include "common/convert.h"
#include "sim/engine/pixels.h"

namespace engine {

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

void draw_blood_cells(platform::Frame& frame, BloodCell* cells, int count, float brightness, Random& rng) {
    count = std::clamp(count, 0, blood_cell_capacity);
    // A brightness that is not a number (only a damaged file holds one) adds no light.
    if (std::isnan(brightness)) brightness = 0.0f;
    auto factor_of = [brightness](int k) { return brightness / (k * 0.2 + 1.0) + 1.0; };
    auto brighten = [](uint32_t v, double factor) { return std::min(channel_from(v * factor), 255u); };
    // Trail dot k brightens by a factor that depends on k alone: the channel
    // tables of the five dots a trail has are made once per call.
    constexpr int tabulated_dots = 5;
    Lut565 dot_tables[tabulated_dots];
    if (count > 0)
        for (int k = 0; k < tabulated_dots; ++k)
            build_lut565(dot_tables[k], [&](int, uint32_t v) { return brighten(v, factor_of(k)); });
    for (int i = 0; i < count; ++i) {
        BloodCell& cell = cells[i];
        const int cx = trunc_to_int(cell.centre_x), cy = trunc_to_int(cell.centre_y);
        for (int k = 0; k < cell.trail_length; ++k) {
            // k * step is single precision; the decimal constants take it to double.
            const double d = static_cast<float>(k) * cell.step * 0.7;
            const double degrees = cell.direction == 1 ? cell.angle - d : cell.angle + d;
            const double radians = degrees * 0.01745277777777778;
            const CosSin turn = same_cos_sin(radians);
            const int px = trunc_to_int(turn.cos * cell.radius + cx);
            const int py = trunc_to_int(turn.sin * cell.radius + cy);
            if (px < 0 || px >= screen_width || py < 0 || py >= screen_height) continue;
            uint16_t& p = frame.row(py)[px];
            if (k < tabulated_dots) {
                p = dot_tables[k](p);
                continue;
            }
            uint32_t c[3];
            unpack_565(p, c[0], c[1], c[2]);
            for (uint32_t& v : c) v = brighten(v, factor_of(k));
            p = pack_565(c[0], c[1], c[2]);
        }
        cell.angle = cell.angle + cell.step;
        if ((cell.direction == 1 && cell.angle > cell.end_angle) || (cell.direction == -1 && cell.angle < cell.end_angle))
            new_blood_cell_path(cell, rng);
    }
}

}  // namespace engine
