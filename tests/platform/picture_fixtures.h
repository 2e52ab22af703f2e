// picture_fixtures.h -- JPEG and TGA test pictures and an independent reference decoder.
#pragma once
#include <jpeglib.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/trace.h"
#include "sim/platform/pictures.h"
#include "support/temp_dir.h"

namespace picture_fixtures {

using Bytes = std::vector<unsigned char>;

// A smooth, recognisable RGB pattern (gradients plus a stripe per `seed`).
inline std::vector<uint8_t> pattern(int width, int height, int seed) {
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
            p[0] = uint8_t(x * 255 / (width > 1 ? width - 1 : 1));
            p[1] = uint8_t(y * 255 / (height > 1 ? height - 1 : 1));
            p[2] = uint8_t((x / 8 + seed) % 2 ? 200 : 40);
        }
    return rgb;
}

// How a test picture is coded: baseline Huffman unless asked otherwise.
struct Coding {
    bool progressive = false;
    bool arithmetic = false;
    int restart_rows = 0;
};

// Encodes `pixels` (width x height x components) in `space` into JPEG bytes
// with the library directly, so the tests can make grey, CMYK, progressive
// and arithmetic-coded pictures too.
inline Bytes encode(const std::vector<uint8_t>& pixels, int width, int height, int components,
                    J_COLOR_SPACE space, int quality = 90, Coding coding = {}) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (coding.progressive) jpeg_simple_progression(&info);
    info.arith_code = coding.arithmetic;
    info.restart_in_rows = coding.restart_rows;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&pixels[size_t(info.next_scanline) * width * components]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

inline Bytes rgb_jpeg(int width, int height, int seed) {
    return encode(pattern(width, height, seed), width, height, 3, JCS_RGB);
}

// Decodes JPEG bytes with the library's defaults into RGB (grey expanded),
// independently of the code under test; `eighths` below 8 asks the library
// for that reduced scale instead. Empty on failure.
struct Reference {
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
};

struct ThrowingErrors {
    jpeg_error_mgr manager;
    std::jmp_buf recovery;
};

inline Reference reference_decode(const Bytes& jpeg, unsigned eighths = 8) {
    Reference out;
    jpeg_decompress_struct info;
    ThrowingErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = [](j_common_ptr i) { std::longjmp(reinterpret_cast<ThrowingErrors*>(i->err)->recovery, 1); };
    errors.manager.emit_message = [](j_common_ptr, int) {};
    jpeg_create_decompress(&info);
    if (setjmp(errors.recovery)) {
        jpeg_destroy_decompress(&info);
        return Reference{};
    }
    jpeg_mem_src(&info, jpeg.data(), jpeg.size());
    jpeg_read_header(&info, TRUE);
    if (eighths != 8) {
        info.scale_num = eighths;
        info.scale_denom = 8;
    }
    jpeg_start_decompress(&info);
    out.width = int(info.output_width);
    out.height = int(info.output_height);
    out.rgb.resize(size_t(out.width) * out.height * 3);
    std::vector<uint8_t> row(size_t(out.width) * info.output_components);
    while (info.output_scanline < info.output_height) {
        const size_t y = info.output_scanline;
        JSAMPROW r = row.data();
        jpeg_read_scanlines(&info, &r, 1);
        for (int x = 0; x < out.width; ++x)
            for (int c = 0; c < 3; ++c)
                out.rgb[(y * out.width + x) * 3 + c] = row[size_t(x) * info.output_components +
                                                           (info.output_components == 3 ? c : 0)];
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return out;
}

// Writes `prefix` filler bytes, then `picture`, then `suffix` filler bytes.
// Returns the offset of the picture.
inline long embed(const std::string& path, const Bytes& picture, size_t prefix = 1000, size_t suffix = 300) {
    Bytes file(prefix, 0x5A);
    file.insert(file.end(), picture.begin(), picture.end());
    file.insert(file.end(), suffix, 0xA5);
    testing_support::write_file(path, file);
    return long(prefix);
}

// An uncompressed 24-bit TGA whose file rows are given bottom row first as
// BGR bytes; `descriptor` is the image-descriptor byte.
inline Bytes tga(int width, int height, const std::vector<uint8_t>& rows_bottom_first, uint8_t descriptor = 0,
                 const std::string& id = "", uint8_t type = 2, uint8_t bits = 24, uint8_t colour_map = 0) {
    Bytes out;
    out.reserve(18 + id.size() + rows_bottom_first.size());
    out.resize(18, 0);
    out[0] = uint8_t(id.size());
    out[1] = colour_map;
    out[2] = type;
    out[12] = uint8_t(width);
    out[13] = uint8_t(width >> 8);
    out[14] = uint8_t(height);
    out[15] = uint8_t(height >> 8);
    out[16] = bits;
    out[17] = descriptor;
    out.insert(out.end(), id.begin(), id.end());
    out.insert(out.end(), rows_bottom_first.begin(), rows_bottom_first.end());
    return out;
}

}  // namespace picture_fixtures

namespace picture_fixtures {

// Collects the trace texts logged while it lives.
class TraceCapture {
public:
    TraceCapture() { texts().clear(); previous_ = trace::set_sink([](const char* t) { texts().push_back(t); }); }
    ~TraceCapture() { trace::set_sink(previous_); }
    static std::vector<std::string>& texts() {
        static std::vector<std::string> collected;
        return collected;
    }
    bool saw(const std::string& text) const {
        for (const auto& t : texts())
            if (t == text) return true;
        return false;
    }

private:
    trace::Sink previous_;
};

}  // namespace picture_fixtures
