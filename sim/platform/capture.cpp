// capture.cpp -- saves the frame as a JPEG file named by the second.
#include <cstdio>
#include <vector>

#include "sim/platform/capture.h"
#include "sim/platform/pictures.h"

namespace platform {

constexpr int capture_quality = 50;

void capture_file_name(long calendar_seconds, char* out, int out_size) {
    std::snprintf(out, size_t(out_size), "vitrion_capture_%ld.jpg", calendar_seconds);
}

int capture_screen(const Frame& frame, long calendar_seconds) {
    std::vector<uint8_t> image(size_t(frame_pixels) * 3);
    rgb_from_565(frame.pixels.data(), frame_pixels, image.data());
    char name[saved_name_size];
    capture_file_name(calendar_seconds, name, sizeof name);
    return write_jpeg(name, capture_quality, image.data(), screen_width, screen_height);
}

}  // namespace platform
