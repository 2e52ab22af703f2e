// pixel_format.cpp -- pixel format descriptors from channel masks.
#include "sim/platform/pixel_format.h"

namespace platform {

void mask_shift_width(uint32_t mask, int& shift, int& width) {
    shift = 0;
    width = 0;
    if (mask == 0) return;
    while (!(mask & 1u)) { mask >>= 1; ++shift; }
    while (mask & 1u) { mask >>= 1; ++width; }
}

PixelFormat pixel_format_from_masks(uint32_t red_mask, uint32_t green_mask, uint32_t blue_mask) {
    PixelFormat f;
    f.red_mask = red_mask;
    f.green_mask = green_mask;
    f.blue_mask = blue_mask;
    mask_shift_width(red_mask, f.red_shift, f.red_width);
    mask_shift_width(green_mask, f.green_shift, f.green_width);
    mask_shift_width(blue_mask, f.blue_shift, f.blue_width);
    return f;
}

namespace {

template <int bytes>
void read_rgb_row_at(const PixelFormat& f, const uint8_t* from, int count, uint8_t* rgb) {
    for (int x = 0; x < count; ++x, from += bytes, rgb += 3) {
        uint32_t red = 0, green = 0, blue = 0;
        read_pixel(f, from, bytes, red, green, blue);
        rgb[0] = uint8_t(red);
        rgb[1] = uint8_t(green);
        rgb[2] = uint8_t(blue);
    }
}

template <int bytes>
void write_rgb_row_at(const PixelFormat& f, const uint8_t* rgb, int count, uint8_t* to) {
    for (int x = 0; x < count; ++x, rgb += 3, to += bytes) write_pixel(f, rgb[0], rgb[1], rgb[2], to, bytes);
}

}  // namespace

void read_rgb_row(const PixelFormat& f, const uint8_t* from, int bytes_per_pixel, int count, uint8_t* rgb) {
    switch (bytes_per_pixel) {
    case 2: read_rgb_row_at<2>(f, from, count, rgb); return;
    case 3: read_rgb_row_at<3>(f, from, count, rgb); return;
    case 4: read_rgb_row_at<4>(f, from, count, rgb); return;
    default:
        for (int i = 0; i < 3 * count; ++i) rgb[i] = 0;
        return;
    }
}

void write_rgb_row(const PixelFormat& f, const uint8_t* rgb, int count, uint8_t* to, int bytes_per_pixel) {
    switch (bytes_per_pixel) {
    case 2: write_rgb_row_at<2>(f, rgb, count, to); return;
    case 3: write_rgb_row_at<3>(f, rgb, count, to); return;
    case 4: write_rgb_row_at<4>(f, rgb, count, to); return;
    default: return;
    }
}

PixelFormat format_565() { return pixel_format_from_masks(0xF800, 0x07E0, 0x001F); }
PixelFormat format_888() { return pixel_format_from_masks(0xFF0000, 0x00FF00, 0x0000FF); }

}  // namespace platform
