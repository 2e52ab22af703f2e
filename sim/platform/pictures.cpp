// pictures.cpp -- pictures decoded from the vision file, the start-up loader and scene changes.
#include "sim/platform/pictures.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "common/trace.h"
#include "sim/platform/jpeg_decode.h"
#include "visionfile/reader.h"

namespace platform {
namespace {

constexpr int scene_search_steps = 8;

}  // namespace

namespace {

void to_565(const DecodedPicture& picture, std::vector<uint16_t>& out) {
    out.resize(size_t(picture.width) * size_t(picture.height));
    rgb_to_565(picture.rgb.data(), int(out.size()), out.data());
}

}  // namespace

void refresh_shown(Pictures& pictures) {
    to_565(shown_scene(pictures), pictures.scene_565);
    to_565(pictures.intro, pictures.intro_565);
}

int find_default_vision(const char* startup_directory, const char* program_directory, char* out,
                        int out_size) {
    if (out_size <= 0) return 0;
    std::snprintf(out, size_t(out_size), "%s/vitrion.dat", startup_directory);
    struct stat info;
    if (stat(out, &info) == 0 || !program_directory || !program_directory[0]) return 0;
    // The installation prefix is the program folder's parent (bin/..).
    const char* last_slash = std::strrchr(program_directory, '/');
    if (!last_slash) return 0;
    const int prefix_length = int(last_slash - program_directory);
    char installed[vision_path_size];
    const int n = std::snprintf(installed, sizeof installed, "%.*s/share/vitrion/vitrion.dat", prefix_length,
                                program_directory);
    if (n < 0 || n >= out_size || n >= int(sizeof installed) || stat(installed, &info) != 0) return 0;
    std::memcpy(out, installed, size_t(n) + 1);
    return 1;
}

void default_vision_path(const char* startup_directory, char* out, int out_size) {
    char program[vision_path_size] = {};
    const ssize_t n = readlink("/proc/self/exe", program, sizeof program - 1);
    if (n > 0) {
        program[n] = 0;
        if (char* slash = std::strrchr(program, '/')) *slash = 0;  // the program's folder
    } else {
        program[0] = 0;
    }
    if (find_default_vision(startup_directory, program, out, out_size))
        trace::log("vitrion.dat no esta en %s; se usa la vision instalada %s", startup_directory, out);
}

int load_picture(Platform& platform, const char* path, long offset, DecodedPicture& into) {
    DecodedPicture picture;
    if (!platform.decode_jpeg(path, offset, simulator_picture_limits, picture) || picture.width <= 0 ||
        picture.height <= 0 || picture.rgb.size() != size_t(picture.width) * size_t(picture.height) * 3)
        return 0;
    quantize_to_565(picture);
    into = std::move(picture);
    return 1;
}

int run_startup_loader(Pictures& pictures, Platform& platform, vision::Document& doc,
                       const char* startup_directory) {
    default_vision_path(startup_directory, pictures.vision_path, vision_path_size);
    const int opened = vision::read_vision_file(doc, pictures.vision_path);

    // An empty slot (offset 0) holds no picture: nothing is decoded from it.
    const vision::PictureSlot* slots = doc.header.slots;
    int width = 0, height = 0;
    pictures.intro = DecodedPicture{};
    if (slots[intro_slot].picture_offset != 0)
        load_picture(platform, pictures.vision_path, slots[intro_slot].picture_offset, pictures.intro);

    pictures.grey_map.clear();
    std::vector<uint8_t> map;
    if (slots[grey_map_slot].picture_offset != 0 &&
        read_grey_map(pictures.vision_path, slots[grey_map_slot].picture_offset, map, &width, &height)) {
        if (width == grey_map_width && height == grey_map_height)
            pictures.grey_map.swap(map);
        else
            fit_grey_map(map, width, height, pictures.grey_map);
    }

    refresh_shown(pictures);
    return opened;
}

void next_scene(Pictures& pictures, Platform& platform, const vision::Document& doc, int default_vision_loaded,
                int keep_on_failure) {
    const int wrap = default_vision_loaded == 1 ? 2 : vision::picture_slots;
    int slot = pictures.scene_slot;
    int found = 0;
    for (int step = 0; step < scene_search_steps && !found; ++step) {
        slot = slot + 1 >= wrap || slot + 1 < 0 ? 0 : slot + 1;
        found = doc.header.slots[slot].picture_offset != 0;
    }
    if (!found) return;
    pictures.scene_slot = slot;
    if (load_picture(platform, pictures.vision_path, doc.header.slots[slot].picture_offset, pictures.scene)) {
        pictures.scene_blurred = 0;
    } else if (!keep_on_failure) {
        pictures.scene = DecodedPicture{};
        pictures.scene_blurred = 0;
    }
    refresh_shown(pictures);
}

}  // namespace platform
