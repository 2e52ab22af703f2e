// capture.cpp -- saves the back surface as a JPEG file named by the second.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "sim/platform/capture.h"
#include "sim/platform/pictures.h"

namespace platform {

constexpr int capture_quality = 50;

void capture_file_name(long calendar_seconds, char* out, int out_size) {
    std::snprintf(out, size_t(out_size), "vitrion_capture_%ld.jpg", calendar_seconds);
}

int capture_screen(Display& display, long calendar_seconds) {
    LockedSurface back;
    if (!lock_surface(display.back, back)) {
        // No back surface (its creation failed) or it is in use: nothing to save.
        std::fprintf(stderr, "no capture: the screen cannot be read\n");
        return 0;
    }
    // The image is always 640 x 480; a smaller back surface leaves black.
    std::vector<uint8_t> image(size_t(screen_width) * screen_height * 3, 0);
    const int cols = std::min(screen_width, back.width), rows = std::min(screen_height, back.height);
    for (int y = 0; y < rows; ++y)
        read_rgb_row(display.format, back.at(0, y), back.bytes_per_pixel, cols, image.data() + size_t(y) * screen_width * 3);
    unlock_surface(display.back);
    char name[saved_name_size];
    capture_file_name(calendar_seconds, name, sizeof name);
    return write_jpeg(name, capture_quality, image.data(), screen_width, screen_height);
}

}  // namespace platform
