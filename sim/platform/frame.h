// frame.h -- the one 640 x 480 5-6-5 frame, decoded RGB pictures and the conversion between them.
#pragma once
#include <cstdint>
#include <vector>

namespace platform {

constexpr int screen_width = 640;
constexpr int screen_height = 480;
constexpr int frame_pixels = screen_width * screen_height;

// The frame every effect draws into and present shows: 640 x 480 pixels of
// 16 bits, red in bits 11..15, green in 5..10, blue in 0..4, rows from the top.
struct Frame {
    std::vector<uint16_t> pixels = std::vector<uint16_t>(frame_pixels, 0);

    uint16_t* row(int y) { return pixels.data() + y * screen_width; }
    const uint16_t* row(int y) const { return pixels.data() + y * screen_width; }
};

// A decoded picture: width x height pixels of 3 bytes (red, green, blue),
// rows from the top. Empty (size 0) when there is none.
struct DecodedPicture {
    std::vector<uint8_t> rgb;
    int width = 0;
    int height = 0;
};

// One 5-6-5 pixel from 8-bit channels: each channel narrowed to its field
// (red >> 3, green >> 2, blue >> 3) and masked, so values above 255 keep only
// their field's bits.
[[gnu::always_inline]] inline uint16_t pack_565(uint32_t red, uint32_t green, uint32_t blue) {
    return uint16_t((((red >> 3) << 11) & 0xF800u) | (((green >> 2) << 5) & 0x07E0u) | ((blue >> 3) & 0x001Fu));
}

// The 8-bit channels of a 5-6-5 pixel: each field shifted to the top of 8
// bits, so a 5-bit value v reads as 8v and a 6-bit one as 4v.
[[gnu::always_inline]] inline void unpack_565(uint32_t v, uint32_t& red, uint32_t& green, uint32_t& blue) {
    red = ((v >> 11) & 31u) << 3;
    green = ((v >> 5) & 63u) << 2;
    blue = (v & 31u) << 3;
}

// `count` RGB byte triples as 5-6-5 pixels, and back.
void rgb_to_565(const uint8_t* rgb, int count, uint16_t* out);
void rgb_from_565(const uint16_t* pixels, int count, uint8_t* rgb);

// Clears the low bits each channel loses in the frame (red and blue to a
// multiple of 8, green of 4), so the picture holds exactly what the frame
// shows of it.
void quantize_to_565(DecodedPicture& picture);

}  // namespace platform
