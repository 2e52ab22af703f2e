// fuzz_jpeg_picture.cpp -- any bytes decoded as a JPEG picture at an offset,
// into a new or an existing 16- or 24-bit surface: either -1, or a surface of
// the reported size within the picture limits (an existing one made that
// size) whose pixels are the decoded picture's, as write_pixel stores them.
//
// Input: byte 0 picks the depth (bit 0: 24 bits), the target (bit 1: the
// existing 80 x 50 surface 0, else a new surface) and the offset (bits 2..6)
// at which the JPEG starts in the remaining bytes. The picture is decoded
// once, from memory, and placed as load_picture places it; the surface is
// then compared with that decoding.
#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "sim/platform/jpeg_decode.h"
#include "sim/platform/pictures.h"

namespace {

constexpr int existing_width = 80;
constexpr int existing_height = 50;
constexpr uint8_t existing_fill = 0x5a;
constexpr long compared_pixels = 1 << 16;  // larger pictures: sizes only, to keep the runs fast

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int depth = data[0] & 1 ? 24 : 16;
    const bool into_existing = data[0] & 2;
    const size_t offset = (data[0] >> 2) & 31;
    const uint8_t* file = data + 1;
    const size_t file_size = size - 1;

    static platform::Display display;
    platform::release_picture_surfaces(display, 0, display.picture_count);
    display.picture_count = 0;
    display.depth = depth;
    display.format = depth == 16 ? platform::format_565() : platform::format_888();
    int target = -1;
    if (into_existing) {
        target = platform::create_picture_surface(display, existing_width, existing_height);
        fuzz::require(target == 0, "the existing surface is made");
        std::memset(display.pictures[0].pixels.data(), existing_fill, display.pictures[0].pixels.size());
    }

    static platform::DecodedPicture decoded;
    if (offset > file_size) decoded = platform::DecodedPicture{};
    const int decoded_ok = offset <= file_size &&
                           platform::decode_jpeg_bytes(file + offset, file_size - offset, decoded) == 1;
    fuzz::require(decoded_ok || (decoded.rgb.empty() && decoded.width == 0), "a failed decoding gives nothing");
    const int width = decoded.width, height = decoded.height;
    const int index = decoded_ok ? platform::place_picture(display, decoded, target) : -1;
    if (index < 0) {
        fuzz::require(index == -1, "failure is -1");
        fuzz::require(display.picture_count == (into_existing ? 1 : 0), "a failed load makes no surface");
        if (into_existing) {
            const auto& pixels = display.pictures[0].pixels;
            for (uint8_t byte : pixels) fuzz::require(byte == existing_fill, "a failed load leaves the surface alone");
        }
        return 0;
    }
    fuzz::require(width >= 1 && height >= 1 && width <= platform::max_picture_side &&
                      height <= platform::max_picture_side,
                  "sides within 1..4096");
    fuzz::require(long(width) * height <= platform::max_picture_pixels, "at most 1228800 pixels");
    const platform::Surface& s = display.pictures[index];
    fuzz::require(index == 0 && display.picture_count == 1, into_existing ? "the existing surface" : "one new surface");
    fuzz::require(s.width == width && s.height == height, "the surface has the picture's size");
    fuzz::require(s.bits_per_pixel == depth && s.pitch >= s.width * depth / 8 &&
                      s.pixels.size() >= size_t(s.pitch) * size_t(s.height),
                  "the surface is whole and in the display's depth");

    // The pixels against the decoder's output.
    fuzz::require(decoded.rgb.size() == size_t(width) * height * 3, "the picture holds its pixels");
    if (long(width) * height > compared_pixels) return 0;
    const int bytes = depth / 8;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            const uint8_t* at = s.pixels.data() + size_t(y) * s.pitch + size_t(x) * bytes;
            uint8_t expected[4] = {};
            const uint8_t* p = &decoded.rgb[(size_t(y) * width + x) * 3];
            platform::write_pixel(display.format, p[0], p[1], p[2], expected, bytes);
            fuzz::require(std::memcmp(at, expected, size_t(bytes)) == 0, "each pixel is the decoded one");
        }
    return 0;
}
