// fuzz_jpeg_picture.cpp -- any bytes decoded as a JPEG picture at an offset,
// within the simulator's limits or smaller ones: either nothing, or a picture
// of at most the limits whose pixels, quantized as the frame shows them, are
// the decoded ones with their low bits cleared.
//
// Input: byte 0 picks the limits (bit 1: 320 x 240 pixels, sides up to 400,
// else the simulator's) and the offset (bits 2..6) at which the JPEG starts in
// the remaining bytes.
#include <vector>

#include "fuzz/fuzz_support.h"
#include "sim/platform/jpeg_decode.h"

namespace {

constexpr platform::PictureLimits small_limits{400, 320L * 240};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const platform::PictureLimits limits = data[0] & 2 ? small_limits : platform::simulator_picture_limits;
    const size_t offset = (data[0] >> 2) & 31;
    const uint8_t* file = data + 1;
    const size_t file_size = size - 1;

    static platform::DecodedPicture decoded;
    if (offset > file_size) decoded = platform::DecodedPicture{};
    const int ok = offset <= file_size && platform::decode_jpeg_bytes(file + offset, file_size - offset, decoded,
                                                                     limits) == 1;
    fuzz::require(ok || (decoded.rgb.empty() && decoded.width == 0), "a failed decoding gives nothing");
    if (!ok) return 0;
    const int width = decoded.width, height = decoded.height;
    fuzz::require(width >= 1 && height >= 1 && width <= limits.max_side && height <= limits.max_side,
                  "sides within the limits");
    fuzz::require(long(width) * height <= limits.max_pixels, "pixels within the limits");
    fuzz::require(decoded.rgb.size() == size_t(width) * height * 3, "the picture holds its pixels");
    static platform::DecodedPicture shown;
    shown = decoded;
    platform::quantize_to_565(shown);
    for (size_t i = 0; i < shown.rgb.size(); ++i)
        fuzz::require(shown.rgb[i] == (decoded.rgb[i] & (i % 3 == 1 ? 0xFC : 0xF8)), "quantized as the frame shows it");
    return 0;
}
