// surface.h -- pixel surfaces in the display's format, and the display's table of them.
#pragma once
#include <cstdint>
#include <vector>

#include "sim/platform/pixel_format.h"

namespace platform {

constexpr int screen_width = 640;
constexpr int screen_height = 480;
constexpr int surface_table_size = 1000;

// A block of pixel memory owned by the surface. `pixels` is empty while the
// surface does not exist.
struct Surface {
    std::vector<uint8_t> pixels;
    int width = 0;
    int height = 0;
    int pitch = 0;           // bytes per row
    int bits_per_pixel = 0;  // 16, 24 or 32
    int locked = 0;
};

// What Lock hands out: valid only until the matching unlock.
struct LockedSurface {
    uint8_t* base = nullptr;
    int pitch = 0;
    int width = 0;
    int height = 0;
    int bytes_per_pixel = 0;

    uint8_t* at(int x, int y) const { return base + y * pitch + x * bytes_per_pixel; }
};

// Makes `surface` a width x height surface at `bits_per_pixel`, all zero.
// Returns 1, or 0 when the size is not positive or memory is short.
int create_surface(Surface& surface, int width, int height, int bits_per_pixel);

// Makes the existing `surface` width x height at its own depth: its pixel
// memory is kept when the size is already that, otherwise replaced by new
// memory, all zero. Returns 1, or 0 with the surface as it was when it does
// not exist, is locked, the size is not positive or memory is short.
int resize_surface(Surface& surface, int width, int height);

// Frees the pixel memory; the surface no longer exists.
void release_surface(Surface& surface);

// Gives access to the whole surface. Returns 1, or 0 when the surface does
// not exist or is already locked (there is only one thread, so waiting could
// never end; callers skip their work instead).
int lock_surface(Surface& surface, LockedSurface& out);
void unlock_surface(Surface& surface);

// The display's surfaces: the back surface every frame is composed into and
// the table of picture surfaces, named by index (-1 = none).
struct Display {
    int display_ready = 0;     // frames are drawn only while 1
    int depth = 0;             // bits per pixel asked for when opened
    PixelFormat format;        // of the display and every surface
    Surface back;              // 640 x 480
    std::vector<Surface> pictures = std::vector<Surface>(surface_table_size);
    int picture_count = 0;     // indexes handed out so far
};

// Creates a picture surface at index picture_count and returns that index, or
// -1 (count unchanged) when the table is full or the surface cannot be made.
// Indexes are never reused until release_picture_surfaces empties the table.
int create_picture_surface(Display& display, int width, int height);

// Releases table entries from..to-1 (the caller resets picture_count).
void release_picture_surfaces(Display& display, int from, int to);

// Copies the width x height rectangle at (source_x, source_y) of picture
// `index` to the back surface at (dest_x, dest_y). Nothing is copied when the
// entry is empty or the source rectangle does not lie wholly inside the picture
// or the destination inside the back surface.
void copy_picture_to_back(Display& display, int index, int dest_x, int dest_y,
                          int width, int height, int source_x, int source_y);

}  // namespace platform
