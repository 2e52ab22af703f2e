// make_fuzz_seeds.cpp -- writes the fuzz targets' seed inputs with our own
// writers: make_fuzz_seeds <folder> fills <folder>/<target>/ for each target.
#include <sys/stat.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "sim/platform/pictures.h"
#include "visionfile/writer.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string folder_for(const std::string& root, const char* target) {
    const std::string folder = root + "/" + target;
    mkdir(folder.c_str(), 0755);
    return folder;
}

void write_seed(const std::string& path, const Bytes& bytes) {
    if (!fuzz::write_bytes(path, bytes)) {
        std::fprintf(stderr, "make_fuzz_seeds: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

Bytes rgb_pattern(int width, int height) {
    Bytes rgb(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
            p[0] = uint8_t(x * 5);
            p[1] = uint8_t(y * 7);
            p[2] = uint8_t((x / 4 + y / 4) % 2 ? 220 : 30);
        }
    return rgb;
}

// A baseline RGB JPEG through the program's own encoder.
Bytes program_jpeg(const std::string& scratch, int width, int height, int quality) {
    const Bytes rgb = rgb_pattern(width, height);
    Bytes out;
    if (!platform::write_jpeg(scratch.c_str(), quality, rgb.data(), width, height) ||
        !fuzz::read_bytes(scratch, out)) {
        std::fprintf(stderr, "make_fuzz_seeds: cannot encode a JPEG\n");
        std::exit(1);
    }
    std::remove(scratch.c_str());
    return out;
}

// Grey and progressive JPEGs, which the program's encoder does not make,
// straight from the library.
Bytes library_jpeg(int width, int height, bool grey, bool progressive, bool arithmetic = false) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 60, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    info.arith_code = arithmetic;
    jpeg_start_compress(&info, TRUE);
    const Bytes rgb = rgb_pattern(width, height);
    Bytes row(size_t(width) * 3);
    while (info.next_scanline < info.image_height) {
        const uint8_t* from = &rgb[size_t(info.next_scanline) * width * 3];
        for (int x = 0; x < width; ++x)
            if (grey) row[x] = from[3 * x + 1];
            else std::memcpy(&row[3 * x], from + 3 * x, 3);
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

Bytes with_control(uint8_t control, const Bytes& prefix, const Bytes& body) {
    Bytes out{control};
    out.insert(out.end(), prefix.begin(), prefix.end());
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

uint8_t stripes(int x, int y) { return uint8_t((x + y) % 9 == 0 ? 0 : 40 + x % 200); }

// The document as file bytes, saved through the writer into memory.
Bytes saved_bytes(vision::Document& doc) {
    Bytes file(size_t(4) << 20);
    std::FILE* out = fmemopen(file.data(), file.size(), "w+b");
    const long long length = out ? vision::write_vision_stream(doc, out) : -1;
    if (out) std::fclose(out);
    if (length < 0) {
        std::fprintf(stderr, "make_fuzz_seeds: cannot save a vision file\n");
        std::exit(1);
    }
    file.resize(size_t(length));
    return file;
}

// Seeds in both of the target's forms: the file from its floater counts on
// (control byte 1), and the start of the file as it is (control byte 0).
void vision_reader_seeds(const std::string& root) {
    const std::string folder = folder_for(root, "fuzz_vision_reader");
    constexpr size_t counts_offset = offsetof(vision::Header, floater_count);
    auto doc = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*doc);
    Bytes file = saved_bytes(*doc);
    write_seed(folder + "/new", with_control(1, {}, Bytes(file.begin() + counts_offset, file.end())));

    doc->header.floater_count[0] = 3;
    doc->header.floater_count[1] = 2;
    for (int e = 0; e < 2; ++e)
        for (int i = 0; i < doc->header.floater_count[e]; ++i) {
            doc->records[e][i].dot_count = 5 + i;
            for (int d = 0; d < 5 + i; ++d) {
                doc->x[e][i][d] = 100 + 50 * i + d;
                doc->y[e][i][d] = 120 + 30 * e + d;
            }
        }
    doc->header.streak[1].point_count = 4;
    doc->header.stars_on = doc->header.sparks_on = doc->header.flashes_on = 1;
    std::strcpy(doc->header.comments, "seed");
    file = saved_bytes(*doc);
    write_seed(folder + "/floaters", with_control(1, {}, Bytes(file.begin() + counts_offset, file.end())));
    write_seed(folder + "/header_start", with_control(0, {}, Bytes(file.begin(), file.begin() + 1200)));
}

void grey_map_seeds(const std::string& root) {
    const std::string folder = folder_for(root, "fuzz_grey_map");
    write_seed(folder + "/small", with_control(0, {}, fuzz::make_tga(13, 7, 0, stripes)));
    write_seed(folder + "/id_field", with_control(0, {}, fuzz::make_tga(20, 15, 9, stripes)));
    write_seed(folder + "/at_offset", with_control(5, {1, 2, 3, 4, 5}, fuzz::make_tga(8, 8, 0, stripes)));
    Bytes cut = fuzz::make_tga(64, 48, 0, stripes);
    cut.resize(cut.size() / 2);
    write_seed(folder + "/cut_short", with_control(0, {}, cut));
}

void jpeg_seeds(const std::string& root) {
    const std::string folder = folder_for(root, "fuzz_jpeg_picture");
    const std::string scratch = folder + "/.scratch.jpg";
    const Bytes small = program_jpeg(scratch, 16, 16, 50);
    write_seed(folder + "/rgb_16", with_control(0, {}, small));
    write_seed(folder + "/rgb_24_existing", with_control(1 | 2, {}, program_jpeg(scratch, 97, 61, 75)));
    write_seed(folder + "/rgb_at_offset", with_control(uint8_t(7 << 2), {9, 9, 9, 9, 9, 9, 9}, small));
    write_seed(folder + "/grey", with_control(1, {}, library_jpeg(40, 24, true, false)));
    write_seed(folder + "/progressive", with_control(0, {}, library_jpeg(48, 32, false, true)));
    write_seed(folder + "/wide", with_control(1, {}, program_jpeg(scratch, 1280, 8, 30)));
    write_seed(folder + "/arithmetic", with_control(0, {}, library_jpeg(40, 24, false, true, true)));
    // Forty more scans of the first component's AC coefficients, empty: the
    // decoder's scan and work counting.
    Bytes scans = library_jpeg(48, 32, false, true);
    scans.resize(scans.size() - 2);
    const uint8_t empty_scan[] = {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x01, 0x3F, 0x00};
    for (int i = 0; i < 40; ++i) scans.insert(scans.end(), empty_scan, empty_scan + sizeof empty_scan);
    scans.insert(scans.end(), {0xFF, 0xD9});
    write_seed(folder + "/many_scans", with_control(0, {}, scans));
}

void simulator_seeds(const std::string& root) {
    const std::string folder = folder_for(root, "fuzz_simulator");
    // No patches, then every event once, eight to an input (43 is a frame).
    for (int first = 0; first < 48; first += 8) {
        Bytes events{uint8_t(0)};
        for (int e = first; e < first + 8; ++e) events.push_back(uint8_t(e % 44 == 43 || e % 5 == 4 ? 43 : e));
        write_seed(folder + "/keys_" + std::to_string(first / 8), events);
    }
    // Boundary values into the first fields of the table, then a few keys.
    Bytes patched{4};
    for (int p = 0; p < 4; ++p) {
        const uint8_t patch[6] = {uint8_t(p * 7), 1, uint8_t(p * 5), 0, 0, 0};
        patched.insert(patched.end(), patch, patch + 6);
    }
    for (uint8_t e : {3, 10, 24, 38, 39, 7}) patched.push_back(e);
    write_seed(folder + "/patched", patched);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds <folder>\n");
        return 2;
    }
    const std::string root = argv[1];
    mkdir(root.c_str(), 0755);
    vision_reader_seeds(root);
    grey_map_seeds(root);
    jpeg_seeds(root);
    simulator_seeds(root);
    return 0;
}
