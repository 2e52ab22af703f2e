// pictures.cpp -- picture loading into surfaces, the start-up loader and scene changes.
#include "sim/platform/pictures.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "common/trace.h"
#include "sim/platform/jpeg_decode.h"
#include "visionfile/reader.h"

namespace platform {
namespace {

constexpr int grey_map_slot = 3;
constexpr int scene_search_steps = 8;

// Draws the decoded picture into the surface at its top-left corner, cut to
// the surface.
void draw_into_surface(Display& display, Surface& surface, const DecodedPicture& picture) {
    LockedSurface locked;
    if (!lock_surface(surface, locked)) return;
    const int cols = std::min(picture.width, locked.width);
    for (int y = 0; y < picture.height && y < locked.height; ++y)
        write_rgb_row(display.format, picture.rgb.data() + size_t(y) * picture.width * 3, cols, locked.at(0, y),
                      locked.bytes_per_pixel);
    unlock_surface(surface);
}

}  // namespace

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

int load_picture(Display& display, const char* path, long offset, int surface_index, int* width, int* height) {
    *width = 0;
    *height = 0;
    if (surface_index < -1 || surface_index >= surface_table_size) return -1;
    DecodedPicture picture;
    if (!decode_jpeg(path, offset, picture)) return -1;
    *width = picture.width;
    *height = picture.height;
    return place_picture(display, picture, surface_index);
}

int place_picture(Display& display, const DecodedPicture& picture, int surface_index) {
    if (surface_index < -1 || surface_index >= surface_table_size) return -1;
    int index = surface_index;
    if (index == -1) {
        index = create_picture_surface(display, picture.width, picture.height);
        if (index < 0) {
            trace::log("Error, no se genero un OffScreenSurface.");
            return -1;
        }
    } else if (!resize_surface(display.pictures[index], picture.width, picture.height)) {
        // The surface keeps the picture it held, and that picture's size.
        trace::log("Error, no se genero un OffScreenSurface.");
        return -1;
    }
    draw_into_surface(display, display.pictures[index], picture);
    return index;
}

int run_startup_loader(Pictures& pictures, Display& display, vision::Document& doc, const char* startup_directory) {
    default_vision_path(startup_directory, pictures.vision_path, vision_path_size);
    const int opened = vision::read_vision_file(doc, pictures.vision_path);

    // An empty slot (offset 0) holds no picture: nothing is decoded from it.
    const vision::PictureSlot* slots = doc.header.slots;
    int width = 0, height = 0;
    pictures.intro_picture = -1;
    if (slots[intro_slot].picture_offset != 0)
        pictures.intro_picture = load_picture(display, pictures.vision_path, slots[intro_slot].picture_offset, -1,
                                              &width, &height);

    pictures.grey_map.clear();
    std::vector<uint8_t> map;
    if (slots[grey_map_slot].picture_offset != 0 &&
        read_grey_map(pictures.vision_path, slots[grey_map_slot].picture_offset, map, &width, &height)) {
        if (width == grey_map_width && height == grey_map_height)
            pictures.grey_map.swap(map);
        else
            fit_grey_map(map, width, height, pictures.grey_map);
    }

    if (pictures.rgb_work.size() != size_t(rgb_work_size)) {
        try {
            pictures.rgb_work.assign(size_t(rgb_work_size), 0);
        } catch (const std::bad_alloc&) {
            pictures.rgb_work.clear();
        }
    }
    return opened;
}

void next_scene(Pictures& pictures, Display& display, const vision::Document& doc, int default_vision_loaded,
                int& scene_picture, int surface_index) {
    const int wrap = default_vision_loaded == 1 ? 2 : vision::picture_slots;
    int slot = pictures.scene_slot;
    int found = 0;
    for (int step = 0; step < scene_search_steps && !found; ++step) {
        slot = slot + 1 >= wrap || slot + 1 < 0 ? 0 : slot + 1;
        found = doc.header.slots[slot].picture_offset != 0;
    }
    if (!found) return;
    pictures.scene_slot = slot;

    int width = 0, height = 0;
    const int loaded = load_picture(display, pictures.vision_path, doc.header.slots[slot].picture_offset,
                                    surface_index, &width, &height);
    if (loaded == -1) {
        // A failed load into an existing surface leaves it as it was.
        if (surface_index == -1) scene_picture = -1;
        return;
    }
    scene_picture = loaded;
    copy_scene_to_rgb_work(pictures, display, scene_picture);
}

void copy_scene_to_rgb_work(Pictures& pictures, Display& display, int scene_picture) {
    if (scene_picture < 0 || scene_picture >= surface_table_size || pictures.rgb_work.empty()) return;
    Surface& surface = display.pictures[scene_picture];
    LockedSurface locked;
    if (!lock_surface(surface, locked)) return;
    if (size_t(locked.width) * size_t(locked.height) * 3 <= pictures.rgb_work.size()) {
        for (int y = 0; y < locked.height; ++y)
            read_rgb_row(display.format, locked.at(0, y), locked.bytes_per_pixel, locked.width,
                         pictures.rgb_work.data() + size_t(y) * locked.width * 3);
    }
    unlock_surface(surface);
}

}  // namespace platform
