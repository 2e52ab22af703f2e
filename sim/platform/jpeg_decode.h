// jpeg_decode.h -- decodes one JPEG embedded in a file into RGB rows.
#pragma once
#include <cstdint>
#include <vector>

namespace platform {

// Largest picture the decoder accepts: a picture surface and the RGB work
// buffer hold at most 1228800 pixels (1280 x 960), and no side may exceed 4096.
constexpr int max_picture_side = 4096;
constexpr long max_picture_pixels = 1228800;

// A decoded picture: width x height pixels, 3 bytes each (red, green, blue),
// rows from the top.
struct DecodedPicture {
    std::vector<uint8_t> rgb;
    int width = 0;
    int height = 0;
};

// Decodes the JPEG that starts at `offset` in the file at `path` and stops
// where the JPEG data ends. Library errors print their message on the standard
// error stream, "can't open %s\n" is printed when the file cannot be opened.
// Three-component pictures come out as the library delivers them; grey
// (one-component) pictures are expanded to R = G = B; four-component (CMYK)
// pictures and pictures larger than the limits above are refused before any
// pixel memory is allocated. Returns 1, or 0 with `out` emptied.
int decode_jpeg(const char* path, long offset, DecodedPicture& out);

}  // namespace platform
