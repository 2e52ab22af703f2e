// optical_filters_reference.cpp -- literal per-pixel optical filters (see the header).
#include "reference/optical_filters_reference.h"

#include <cassert>
#include <cmath>

namespace reference {

namespace {

// Float-to-channel conversion with the choices made for values a plain cast
// cannot take: below 0 and NaN give 0, beyond the unsigned range saturates.
uint32_t to_channel(double value) {
    if (std::isnan(value) || value < 0.0) return 0;
    if (value > 4294967295.0) return 4294967295u;
    return static_cast<uint32_t>(std::trunc(value));
}

}  // namespace

void apply_myopia_blur(const platform::DecodedPicture& scene, platform::DecodedPicture& out, int level) {
    if (level < 0) level = 0;
    if (level > 10) level = 10;
    const int W = scene.width, H = scene.height;
    const uint8_t* rgb_work = scene.rgb.data();
    out.width = W;
    out.height = H;
    out.rgb.assign(size_t(W) * H * 3, 0);
    const int e = 3 * level;
    const int h = e / 2;
    const int w = e - h;
    const unsigned divisor = static_cast<unsigned>((2 * w + 1) * (2 * h + 1));
    for (int x = 0; x < W; x++) {
        for (int y = 0; y < H; y++) {
            unsigned sum1 = 0, sum2 = 0, sum3 = 0;
            for (int u = x - w; u <= x + w; u++) {
                for (int v = y - h; v <= y + h; v++) {
                    if (u >= 0 && u < W && v >= 0 && v < H) {
                        const uint8_t* p = rgb_work + (v * W + u) * 3;
                        sum1 += p[0];
                        sum2 += p[1];
                        sum3 += p[2];
                    }
                }
            }
            uint8_t* q = &out.rgb[(size_t(y) * W + x) * 3];
            q[0] = uint8_t(sum1 / divisor);
            q[1] = uint8_t(sum2 / divisor);
            q[2] = uint8_t(sum3 / divisor);
        }
    }
}

void draw_cataract_haze(platform::Frame& frame, float clarity) {
    for (int x = 0; x < 640; x++) {
        for (int y = 0; y < 480; y++) {
            uint16_t* p = frame.row(y) + x;
            uint32_t c1 = 0, c2 = 0, c3 = 0;
            read_pixel(p, c1, c2, c3);
            const float f1 = c1 * clarity;
            const double f2 = c2 * (clarity - 0.1);
            const double f3 = c3 * (clarity - 0.1);
            write_pixel(to_channel(f1), to_channel(f2), to_channel(f3), p);
        }
    }
}

void draw_sunglasses(platform::Frame& frame, int red, int green, int blue) {
    for (int v = -300; v < 300; v++) {
        const int half = static_cast<int>(std::cos(v * 0.005235833333333334) * 500.0);
        for (int x = 320 - half; x < 320 + half; x++) {
            const int y = v + 240;
            if (x >= 0 && x < 640 && y >= 0 && y < 480) {
                uint16_t* p = frame.row(y) + x;
                uint32_t c1 = 0, c2 = 0, c3 = 0;
                read_pixel(p, c1, c2, c3);
                c1 = c1 * red / 255;
                c2 = c2 * green / 255;
                c3 = c3 * blue / 255;
                write_pixel(c1, c2, c3, p);
            }
        }
    }
}

void draw_retina_shadow(platform::Frame& frame, const uint8_t* grey_map) {
    if (grey_map == nullptr) return;
    for (int x = 1; x < 640; x++) {
        for (int y = 1; y < 480; y++) {
            uint16_t* p = frame.row(y) + x;
            uint32_t c1 = 0, c2 = 0, c3 = 0;
            read_pixel(p, c1, c2, c3);
            if (grey_map[y * 640 + x] == 0) {
                uint32_t a;
                int n1, n2, n3;
                a = (c1 + c2 + c3) / 3;
                n1 = a == 0 ? 0 : static_cast<int>(c1 - (static_cast<float>(255 - c1) / a + 1));
                a = (static_cast<uint32_t>(n1) + c2 + c3) / 3;
                n2 = a == 0 ? 0 : static_cast<int>(c2 - (static_cast<float>(255 - c2) / a + 1));
                a = (static_cast<uint32_t>(n1) + static_cast<uint32_t>(n2) + c3) / 3;
                n3 = a == 0 ? 0 : static_cast<int>(c3 - (static_cast<float>(255 - c3) / a + 1));
                if (n1 < 0) n1 = 0;
                if (n2 < 0) n2 = 0;
                if (n3 < 0) n3 = 0;
                c1 = static_cast<uint32_t>(n1);
                c2 = static_cast<uint32_t>(n2);
                c3 = static_cast<uint32_t>(n3);
            }
            write_pixel(c1, c2, c3, p);
        }
    }
}

void new_blood_cell_path(engine::BloodCell& cell, Random& rng) {
    cell.centre_x = static_cast<float>(rng.next() % 640);
    cell.centre_y = static_cast<float>(rng.next() % 480);
    cell.trail_length = 5;
    cell.direction = rng.next() % 2;
    if (cell.direction == 0) cell.direction = -1;
    if (cell.direction == 1) {
        cell.start_angle = static_cast<float>(rng.next() % 360);
        cell.end_angle = (rng.next() % 360) + cell.start_angle;
        cell.step = static_cast<float>((rng.next() % 10) + 10);
    } else {
        cell.start_angle = static_cast<float>((rng.next() % 360) + 360);
        cell.end_angle = static_cast<float>(rng.next() % 360);
        cell.step = static_cast<float>(-10 - (rng.next() % 10));
    }
    cell.angle = cell.start_angle;
    cell.radius = static_cast<float>((rng.next() % 4) + 2);
}

void draw_blood_cells(platform::Frame& frame, engine::BloodCell* cells,
                      int count, float brightness, Random& rng) {
    if (count > 1000) count = 1000;
    if (std::isnan(brightness)) brightness = 0.0f;
    for (int i = 0; i < count; i++) {
        engine::BloodCell& c = cells[i];
        const int cx = static_cast<int>(c.centre_x);
        const int cy = static_cast<int>(c.centre_y);
        for (int k = 0; k < c.trail_length; k++) {
            const double d = k * c.step * 0.7;
            double radians;
            if (c.direction == 1)
                radians = (c.angle - d) * 0.01745277777777778;
            else
                radians = (c.angle + d) * 0.01745277777777778;
            const int px = static_cast<int>(std::cos(radians) * c.radius + cx);
            const int py = static_cast<int>(std::sin(radians) * c.radius + cy);
            if (px >= 0 && px < 640 && py >= 0 && py < 480) {
                uint16_t* p = frame.row(py) + px;
                uint32_t c1 = 0, c2 = 0, c3 = 0;
                read_pixel(p, c1, c2, c3);
                const double factor = brightness / (k * 0.2 + 1) + 1;
                c1 = to_channel(c1 * factor);
                c2 = to_channel(c2 * factor);
                c3 = to_channel(c3 * factor);
                if (c1 > 255) c1 = 255;
                if (c2 > 255) c2 = 255;
                if (c3 > 255) c3 = 255;
                write_pixel(c1, c2, c3, p);
            }
        }
        c.angle = c.angle + c.step;
        if ((c.direction == 1 && c.angle > c.end_angle) || (c.direction == -1 && c.angle < c.end_angle))
            reference::new_blood_cell_path(c, rng);
    }
}

}  // namespace reference
