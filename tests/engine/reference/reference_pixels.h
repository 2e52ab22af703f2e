// reference_pixels.h -- the literal read and write of one 5-6-5 pixel, with its masks, shifts and widths spelled out.
#pragma once
#include <cstdint>

#include "sim/platform/frame.h"

namespace reference {

// red = ((value & 0xF800) >> 11) << (8 - 5), green = ((value & 0x07E0) >> 5)
// << (8 - 6), blue = (value & 0x001F) << (8 - 5).
inline void read_pixel(const uint16_t* p, uint32_t& red, uint32_t& green, uint32_t& blue) {
    const uint32_t value = *p;
    red = ((value & 0xF800u) >> 11) << 3;
    green = ((value & 0x07E0u) >> 5) << 2;
    blue = (value & 0x001Fu) << 3;
}

// Each channel narrowed to its width, shifted into place and masked.
inline void write_pixel(uint32_t red, uint32_t green, uint32_t blue, uint16_t* p) {
    *p = uint16_t((((red >> 3) << 11) & 0xF800u) | (((green >> 2) << 5) & 0x07E0u) | ((blue >> 3) & 0x001Fu));
}

}  // namespace reference
