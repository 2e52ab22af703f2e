// pack_default_vision.cpp -- the default vision file as the player page carries it, gzipped and in base64.
//
// Usage: pack_default_vision <vitrion.dat> <work folder> <output text file>
//
// A page shows one vision as `vitrion_sim --no-intro FILE` does: of the
// default vision it needs the document (the values under what a short file
// does not reach, and F3's settings and floaters), the grey map (the retina
// shadow) and F3's two scenes, but never the intro. The two scenes are
// stored again at a lower JPEG quality (30), which keeps the whole player page
// within its size budget; everything else is the file's own. The result is
// one line of base64 (RFC 4648) of the gzipped vision file.
#include <zlib.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "sim/platform/jpeg_decode.h"
#include "sim/platform/pictures.h"
#include "common/base64.h"
#include "sim/web/page_bytes.h"
#include "visionfile/reader.h"
#include "visionfile/writer.h"

namespace {

constexpr int web_scene_quality = 30;
constexpr int scene_slots = 2;

int write_all(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    const int ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> gzip(const std::vector<uint8_t>& in) {
    z_stream z{};
    std::vector<uint8_t> out(in.size() + 1024);
    // 15 + 16: a gzip wrapper, which the browser's DecompressionStream reads.
    if (deflateInit2(&z, 9, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) != Z_OK) return {};
    z.next_in = const_cast<Bytef*>(in.data());
    z.avail_in = uInt(in.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    const int done = deflate(&z, Z_FINISH) == Z_STREAM_END;
    out.resize(z.total_out);
    deflateEnd(&z);
    return done ? out : std::vector<uint8_t>{};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: pack_default_vision <vitrion.dat> <work folder> <output text file>\n");
        return 2;
    }
    const std::string work = argv[2];
    const std::vector<uint8_t> file = web_page::read_file_bytes(argv[1]);
    auto doc = std::make_unique<vision::Document>();
    if (file.empty() || !vision::read_vision_file(*doc, argv[1])) {
        std::fprintf(stderr, "pack_default_vision: cannot read %s\n", argv[1]);
        return 1;
    }
    vision::PictureSlot* slots = doc->header.slots;
    for (int k = 0; k < scene_slots; ++k) {
        platform::DecodedPicture scene;
        const std::string name = work + "/web_scene_" + std::to_string(k) + ".jpg";
        if (!platform::decode_jpeg(argv[1], slots[k].picture_offset, scene) ||
            !platform::write_jpeg(name.c_str(), web_scene_quality, scene.rgb.data(), scene.width, scene.height)) {
            std::fprintf(stderr, "pack_default_vision: cannot store scene %d\n", k);
            return 1;
        }
        std::snprintf(slots[k].picture_path, vision::path_size, "%s", name.c_str());
    }
    std::snprintf(slots[platform::intro_slot].picture_path, vision::path_size, "%s", vision::unused_path);
    // The grey map is the file's last picture: it runs to the end of the file.
    const long map_offset = slots[platform::grey_map_slot].picture_offset;
    const std::string map_name = work + "/web_grey_map.tga";
    if (map_offset <= 0 || size_t(map_offset) >= file.size() ||
        !write_all(map_name, file.data() + map_offset, file.size() - size_t(map_offset))) {
        std::fprintf(stderr, "pack_default_vision: no grey map in %s\n", argv[1]);
        return 1;
    }
    std::snprintf(slots[platform::grey_map_slot].picture_path, vision::path_size, "%s", map_name.c_str());
    const std::string packed_name = work + "/web_vitrion.dat";
    if (!vision::write_vision_file(*doc, packed_name.c_str())) {
        std::fprintf(stderr, "pack_default_vision: cannot write %s\n", packed_name.c_str());
        return 1;
    }
    const std::vector<uint8_t> packed = gzip(web_page::read_file_bytes(packed_name.c_str()));
    const std::string text = common::base64_text(packed.data(), packed.size());
    if (packed.empty() || !write_all(argv[3], reinterpret_cast<const uint8_t*>(text.data()), text.size())) {
        std::fprintf(stderr, "pack_default_vision: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
