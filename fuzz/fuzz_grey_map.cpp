// fuzz_grey_map.cpp -- any bytes read as the grey map's TGA give no map, or a
// map of the TGA's size whose every pixel is the grey of the bytes the file
// holds for it (255 where the file ends first), laid out as a 640 x 480 map.
//
// Input: byte 0 picks the offset (0..31) at which the TGA starts in the file
// made of the remaining bytes.
#include <vector>

#include "fuzz/fuzz_support.h"
#include "sim/platform/pictures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const long offset = data[0] % 32;
    const uint8_t* file = data + 1;
    const size_t file_size = size - 1;
    const std::string& path = fuzz::scratch_file(file, file_size);

    static std::vector<uint8_t> map, fitted;
    int width = -1, height = -1;
    const int ok = platform::read_grey_map(path.c_str(), offset, map, &width, &height);
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

    // Every pixel against the bytes the file holds for it, bottom row first.
    const size_t pixels_start = size_t(offset) + 18 + header[0];
    for (int row = 0; row < height; ++row) {
        const size_t row_start = pixels_start + 3 * size_t(width) * size_t(height - 1 - row);
        // A row wholly past the end of the file: its ends suffice (and keep
        // the runs on huge headers fast).
        const int step = row_start >= file_size && width > 2 ? width - 1 : 1;
        for (int x = 0; x < width; x += step) {
            const size_t at = row_start + 3 * size_t(x);
            const int expected = at + 3 <= file_size ? (file[at] + file[at + 1] + file[at + 2]) / 3 : 255;
            fuzz::require(map[size_t(row) * width + x] == expected, "grey level is the byte sum / 3");
        }
    }

    platform::fit_grey_map(map, width, height, fitted);
    fuzz::require(fitted.size() == size_t(platform::grey_map_width) * platform::grey_map_height,
                  "the engine's map is 640 x 480");
    for (int y = 0; y < platform::grey_map_height; ++y)
        for (int x = 0; x < platform::grey_map_width; ++x) {
            const uint8_t expected = x < width && y < height ? map[size_t(y) * width + x] : 255;
            fuzz::require(fitted[size_t(y) * platform::grey_map_width + x] == expected,
                          "the fitted map copies the TGA and pads with 255");
        }
    return 0;
}
