// tga_grey.cpp -- the grey map read from an uncompressed 24-bit TGA picture in a
// file or in memory, both through one stream reader.
#include <cstdio>
#include <new>

#include "common/trace.h"
#include "sim/platform/pictures.h"

namespace platform {
namespace {

constexpr int tga_header_size = 18;
constexpr int max_tga_side = 4096;  // far above the 640 x 480 the engine uses
constexpr uint8_t not_in_shadow = 255;

// Grey level of one pixel: the byte sum times the single-precision third,
// which equals the sum divided by 3, rounded down.
uint8_t grey_of(const uint8_t* p) {
    float level = float(p[0] + p[1] + p[2]) * 0.33333334f;
    if (level > 255.0f) level = 255.0f;
    return uint8_t(level);
}

int refuse(std::vector<uint8_t>& map) {
    trace::log("Error cargando TGA (1).");
    map.clear();
    return 0;
}

}  // namespace

int read_grey_map_stream(std::FILE* file, long offset, std::vector<uint8_t>& map, int* width, int* height) {
    *width = 0;
    *height = 0;
    map.clear();
    uint8_t header[tga_header_size];
    if (offset < 0 || std::fseek(file, offset, SEEK_SET) != 0 ||
        std::fread(header, 1, tga_header_size, file) != size_t(tga_header_size))
        return refuse(map);
    if (header[1] != 0 || header[2] != 2 || header[16] != 24) return refuse(map);
    const int w = header[12] | header[13] << 8;
    const int h = header[14] | header[15] << 8;
    const int id_length = header[0];
    trace::log("TGA: tx %d", w);
    trace::log("TGA: ty %d", h);
    trace::log("TGA: idlength %d", id_length);
    if (w == 0 || h == 0 || w > max_tga_side || h > max_tga_side) return refuse(map);

    std::vector<uint8_t> row;
    try {
        map.assign(size_t(w) * size_t(h), not_in_shadow);
        row.resize(size_t(w) * 3);
    } catch (const std::bad_alloc&) {
        return refuse(map);
    }
    // Rows lie bottom row first whatever the image descriptor says; pixels the
    // file does not hold (data cut short) stay out of the shadow.
    const long pixels_start = offset + tga_header_size + id_length;
    for (int i = 0; i < h; ++i) {
        if (std::fseek(file, pixels_start + 3L * w * (h - 1 - i), SEEK_SET) != 0) continue;
        const size_t got = std::fread(row.data(), 3, size_t(w), file);
        uint8_t* to = map.data() + size_t(i) * size_t(w);
        for (size_t x = 0; x < got; ++x) to[x] = grey_of(&row[3 * x]);
    }
    *width = w;
    *height = h;
    return 1;
}

int read_grey_map(const char* path, long offset, std::vector<uint8_t>& map, int* width, int* height) {
    *width = 0;
    *height = 0;
    map.clear();
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return 0;
    const int ok = read_grey_map_stream(file, offset, map, width, height);
    std::fclose(file);
    return ok;
}

int read_grey_map_bytes(const uint8_t* data, size_t size, long offset, std::vector<uint8_t>& map, int* width,
                        int* height) {
    *width = 0;
    *height = 0;
    map.clear();
    static const uint8_t nothing = 0;
    // The stream is only read: the buffer is never written through it.
    std::FILE* stream = fmemopen(const_cast<uint8_t*>(size ? data : &nothing), size, "rb");
    if (!stream) return 0;
    const int ok = read_grey_map_stream(stream, offset, map, width, height);
    std::fclose(stream);
    return ok;
}

void fit_grey_map(const std::vector<uint8_t>& map, int width, int height, std::vector<uint8_t>& fitted) {
    fitted.assign(size_t(grey_map_width) * grey_map_height, not_in_shadow);
    if (map.size() < size_t(width) * size_t(height)) return;
    for (int y = 0; y < height && y < grey_map_height; ++y)
        for (int x = 0; x < width && x < grey_map_width; ++x)
            fitted[size_t(y) * grey_map_width + x] = map[size_t(y) * width + x];
}

}  // namespace platform
