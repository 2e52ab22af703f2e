// jpeg_decode.h -- decodes one JPEG embedded in a file or held in memory into RGB rows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "common/picture_size.h"
#include "sim/platform/frame.h"
#include "sim/platform/platform.h"

namespace platform {

// Largest picture the decoder delivers: a picture surface and the RGB work
// buffer hold at most 1228800 pixels (1280 x 960), and no side may exceed
// 4096. A larger JPEG comes out at a reduced size (common/picture_size.h).
constexpr int max_picture_side = picture_size::max_side;
constexpr long max_picture_pixels = picture_size::max_pixels;

// A progressive or multi-scan JPEG is refused past this many scans: real
// photos use a dozen or so, while a file of tens of thousands of empty scans
// would make every load take seconds.
constexpr int max_jpeg_scans = 300;

// Decoding work, counted in 8 x 8 blocks visited while the scans are read in,
// is limited to this many times the blocks of a 1280 x 960 full-colour
// picture (57600): over ten times what a real progressive photo needs, and
// quick enough that no picture holds up a load for long.
constexpr long long max_jpeg_block_visits = 64LL * 57600;

// The simulator's own limits.
constexpr PictureLimits simulator_picture_limits{max_picture_side, max_picture_pixels};

// Decodes the JPEG that starts at `offset` in the file at `path` and stops
// where the JPEG data ends. Library errors print their message on the standard
// error stream, "can't open %s\n" is printed when the file cannot be opened.
// Three-component pictures come out as the library delivers them; grey
// (one-component) pictures are expanded to R = G = B. A picture larger than
// `limits` comes out at the reduced size picture_size::decoded_scale
// gives, scaled by the library as it decodes. Four-component (CMYK)
// pictures and pictures that cannot be shown even at an eighth of their
// size are refused before any pixel memory is allocated, and pictures with
// more scans or work than the limits above are refused as
// soon as they pass them (the reason printed on the standard error stream).
// Returns 1, or 0 with `out` emptied.
int decode_jpeg(const char* path, long offset, DecodedPicture& out,
                const PictureLimits& limits = simulator_picture_limits);

// The same for a JPEG held in memory: `size` bytes at `data`.
int decode_jpeg_bytes(const uint8_t* data, size_t size, DecodedPicture& out,
                      const PictureLimits& limits = simulator_picture_limits);

// The same for a JPEG that starts at the position of an open stream, which
// is left open wherever the decoder stopped reading.
int decode_jpeg_stream(std::FILE* stream, DecodedPicture& out,
                       const PictureLimits& limits = simulator_picture_limits);

}  // namespace platform
