// surface.cpp -- surfaces, the picture-surface table and rectangle copies.
#include "sim/platform/surface.h"

#include <cstring>
#include <new>
#include <utility>

#include "common/trace.h"

namespace platform {

int create_surface(Surface& surface, int width, int height, int bits_per_pixel) {
    if (width <= 0 || height <= 0 || (bits_per_pixel != 16 && bits_per_pixel != 24 && bits_per_pixel != 32))
        return 0;
    const int pitch = width * (bits_per_pixel / 8);
    try {
        surface.pixels.assign(static_cast<size_t>(pitch) * static_cast<size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        surface = Surface{};
        return 0;
    }
    surface.width = width;
    surface.height = height;
    surface.pitch = pitch;
    surface.bits_per_pixel = bits_per_pixel;
    surface.locked = 0;
    return 1;
}

int resize_surface(Surface& surface, int width, int height) {
    if (surface.pixels.empty() || surface.locked) return 0;
    if (surface.width == width && surface.height == height) return 1;
    Surface resized;
    if (!create_surface(resized, width, height, surface.bits_per_pixel)) return 0;
    surface = std::move(resized);
    return 1;
}

void release_surface(Surface& surface) {
    surface.pixels.clear();
    surface.pixels.shrink_to_fit();
    surface = Surface{};
}

int lock_surface(Surface& surface, LockedSurface& out) {
    if (surface.pixels.empty() || surface.locked) return 0;
    surface.locked = 1;
    out.base = surface.pixels.data();
    out.pitch = surface.pitch;
    out.width = surface.width;
    out.height = surface.height;
    out.bytes_per_pixel = surface.bits_per_pixel / 8;
    return 1;
}

void unlock_surface(Surface& surface) { surface.locked = 0; }

int create_picture_surface(Display& display, int width, int height) {
    trace::log("llDDRAW_CreatoOffScreenSurface()");
    const int index = display.picture_count;
    if (index >= surface_table_size || !create_surface(display.pictures[index], width, height, display.depth)) {
        trace::log("ERROR Creando OffScreen");
        return -1;
    }
    display.picture_count = index + 1;
    return index;
}

void release_picture_surfaces(Display& display, int from, int to) {
    for (int i = from; i < to && i < surface_table_size; ++i)
        if (i >= 0) release_surface(display.pictures[i]);
}

void copy_picture_to_back(Display& display, int index, int dest_x, int dest_y,
                          int width, int height, int source_x, int source_y) {
    if (index < 0 || index >= surface_table_size) return;
    Surface& picture = display.pictures[index];
    Surface& back = display.back;
    if (picture.pixels.empty() || back.pixels.empty() || picture.locked || back.locked) return;
    if (width <= 0 || height <= 0 || source_x < 0 || source_y < 0 ||
        source_x + width > picture.width || source_y + height > picture.height)
        return;
    if (dest_x < 0 || dest_y < 0 || dest_x + width > back.width || dest_y + height > back.height) return;
    if (picture.bits_per_pixel != back.bits_per_pixel) return;
    const int bytes = back.bits_per_pixel / 8;
    for (int row = 0; row < height; ++row) {
        const uint8_t* from = picture.pixels.data() + (source_y + row) * picture.pitch + source_x * bytes;
        uint8_t* to = back.pixels.data() + (dest_y + row) * back.pitch + dest_x * bytes;
        std::memcpy(to, from, static_cast<size_t>(width) * bytes);
    }
}

}  // namespace platform
