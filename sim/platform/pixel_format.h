// pixel_format.h -- the display's pixel format and per-pixel read and write.
#pragma once
#include <cstdint>

namespace platform {

// Mask, shift and width of each channel in a 16-, 24- or 32-bit pixel.
struct PixelFormat {
    uint32_t red_mask = 0, green_mask = 0, blue_mask = 0;
    int red_shift = 0, green_shift = 0, blue_shift = 0;
    int red_width = 0, green_width = 0, blue_width = 0;
};

// Shift = trailing zero bits of `mask`; width = the run of one bits from there.
void mask_shift_width(uint32_t mask, int& shift, int& width);

// The descriptor for the given channel masks.
PixelFormat pixel_format_from_masks(uint32_t red_mask, uint32_t green_mask, uint32_t blue_mask);

// The two display formats the simulator asks for.
PixelFormat format_565();  // 16 bits: red 0xF800, green 0x07E0, blue 0x001F
PixelFormat format_888();  // 24 bits: red 0xFF0000, green 0x00FF00, blue 0x0000FF

// Reads the pixel at `p` (2, 3 or 4 bytes, little-endian) as 8-bit channels:
// each channel is its field shifted up to the top of 8 bits, so a 5-bit value
// v reads as 8v. Any other size leaves the outputs unchanged. Always inlined,
// as it sits in per-pixel loops (sanitized builds would call it per pixel).
[[gnu::always_inline]] inline void read_pixel(const PixelFormat& f, const uint8_t* p, int bytes_per_pixel,
                       uint32_t& red, uint32_t& green, uint32_t& blue) {
    uint32_t value;
    switch (bytes_per_pixel) {
    case 2: value = p[0] | uint32_t(p[1]) << 8; break;
    case 3: value = p[0] | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16; break;
    case 4: value = p[0] | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; break;
    default: return;
    }
    red = ((value & f.red_mask) >> f.red_shift) << (8 - f.red_width);
    green = ((value & f.green_mask) >> f.green_shift) << (8 - f.green_width);
    blue = ((value & f.blue_mask) >> f.blue_shift) << (8 - f.blue_width);
}

// Reads `count` pixels from `from` as packed 8-bit red, green and blue bytes
// into `rgb`, each exactly as read_pixel gives it; a size read_pixel does not
// know gives black. The size is decided once per row, not per pixel, which
// is what makes copying a whole screen cheap.
void read_rgb_row(const PixelFormat& f, const uint8_t* from, int bytes_per_pixel, int count, uint8_t* rgb);

// Writes `count` packed red, green and blue byte triples from `rgb` as pixels
// at `to`, each exactly as write_pixel stores it; a size write_pixel does not
// know stores nothing.
void write_rgb_row(const PixelFormat& f, const uint8_t* rgb, int count, uint8_t* to, int bytes_per_pixel);

// Writes one pixel. At 2 bytes each channel is narrowed to its width and
// masked; at 3 and 4 bytes the channels are shifted into place unmasked and
// unnarrowed, exactly as the display code always did, so a channel value above
// 255 spills into the neighbouring field. Any other size stores nothing.
[[gnu::always_inline]] inline void write_pixel(const PixelFormat& f, uint32_t red, uint32_t green, uint32_t blue,
                        uint8_t* p, int bytes_per_pixel) {
    uint32_t value;
    switch (bytes_per_pixel) {
    case 2:
        value = (((red >> (8 - f.red_width)) << f.red_shift) & f.red_mask) |
                (((green >> (8 - f.green_width)) << f.green_shift) & f.green_mask) |
                (((blue >> (8 - f.blue_width)) << f.blue_shift) & f.blue_mask);
        p[0] = uint8_t(value);
        p[1] = uint8_t(value >> 8);
        return;
    case 3:
    case 4:
        value = (red << f.red_shift) | (green << f.green_shift) | (blue << f.blue_shift);
        p[0] = uint8_t(value);
        p[1] = uint8_t(value >> 8);
        p[2] = uint8_t(value >> 16);
        if (bytes_per_pixel == 4) p[3] = uint8_t(value >> 24);
        return;
    default: return;
    }
}

}  // namespace platform
