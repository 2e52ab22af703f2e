// fuzz_grey_map.cpp -- any bytes read as the grey map's TGA give no map, or a
// map of the TGA's size whose pixels are the grey of the bytes the file holds
// for them (255 where the file ends first), laid out as a 640 x 480 map.
//
// Input: byte 0 picks the offset (0..31) at which the TGA starts in the
// memory file made of the remaining bytes.
#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "sim/platform/pictures.h"

namespace {

constexpr int checked_rows = 8;  // of a taller map: first, last and six between

// The grey the reader must give pixel `x` of the file row starting at `row_start`.
int expected_grey(const uint8_t* file, size_t file_size, size_t row_start, int x) {
    const size_t at = row_start + 3 * size_t(x);
    return at + 3 <= file_size ? (file[at] + file[at + 1] + file[at + 2]) / 3 : 255;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const long offset = data[0] % 32;
    const uint8_t* file = data + 1;
    const size_t file_size = size - 1;

    static std::vector<uint8_t> map, fitted;
    int width = -1, height = -1;
    const int ok = platform::read_grey_map_bytes(file, file_size, offset, map, &width, &height);
    if (!ok) {
        fuzz::require(map.empty() && width == 0 && height == 0, "a refused TGA gives no map and size 0");
        return 0;
    }
    fuzz::require(width >= 1 && width <= 4096 && height >= 1 && height <= 4096, "TGA sides within 1..4096");
    fuzz::require(map.size() == size_t(width) * size_t(height), "the map holds width x height bytes");
    fuzz::require(size_t(offset) + 18 <= file_size, "a map needs a whole header");
    const uint8_t* header = file + offset;
    fuzz::require(header[1] == 0 && header[2] == 2 && header[16] == 24, "only uncompressed 24-bit TGAs");
    fuzz::require(width == (header[12] | header[13] << 8) && height == (header[14] | header[15] << 8),
                  "the size is the header's");

    // Whole rows against the bytes the file holds for them, bottom row first:
    // every row of a short map, else a spread of rows (the checks must cost
    // less than the reading they check).
    const size_t pixels_start = size_t(offset) + 18 + header[0];
    const int rows = height <= checked_rows ? height : checked_rows;
    for (int n = 0; n < rows; ++n) {
        const int row = rows == height ? n : int((long(height - 1) * n) / (checked_rows - 1));
        const size_t row_start = pixels_start + 3 * size_t(width) * size_t(height - 1 - row);
        for (int x = 0; x < width; ++x)
            fuzz::require(map[size_t(row) * width + x] == expected_grey(file, file_size, row_start, x),
                          "grey level is the byte sum / 3");
    }

    platform::fit_grey_map(map, width, height, fitted);
    fuzz::require(fitted.size() == size_t(platform::grey_map_width) * platform::grey_map_height,
                  "the engine's map is 640 x 480");
    static const std::vector<uint8_t> no_shadow(platform::grey_map_width, 255);
    const int covered = width < platform::grey_map_width ? width : platform::grey_map_width;
    for (int y = 0; y < platform::grey_map_height; ++y) {
        const uint8_t* fitted_row = &fitted[size_t(y) * platform::grey_map_width];
        const bool inside = y < height;
        fuzz::require((!inside || std::memcmp(fitted_row, &map[size_t(y) * width], size_t(covered)) == 0) &&
                          std::memcmp(fitted_row + (inside ? covered : 0), no_shadow.data(),
                                      size_t(platform::grey_map_width - (inside ? covered : 0))) == 0,
                      "the fitted map copies the TGA and pads with 255");
    }
    return 0;
}
