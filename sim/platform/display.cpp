// display.cpp -- the display's life: open with fallback, close, present.
#include "sim/platform/display.h"

#include "common/trace.h"

namespace platform {

int open_display(Display& display, Platform& platform, int width, int height, int bits_per_pixel) {
    PixelFormat format;
    if (!platform.set_display_mode(width, height, bits_per_pixel, format)) return 0;
    display.display_ready = 1;
    if (!create_surface(display.back, width, height, bits_per_pixel)) trace::log("ERROR Creando OffScreen");
    display.depth = bits_per_pixel;
    display.format = format;
    trace::log("ddpf.dwRBitMask: %ld", long(format.red_mask));
    trace::log("ddpf.dwGBitMask: %ld", long(format.green_mask));
    trace::log("ddpf.dwBBitMask: %ld", long(format.blue_mask));
    trace::log("Rshift: %ld", long(format.red_shift));
    trace::log("Gshift: %ld", long(format.green_shift));
    trace::log("Bshift: %ld", long(format.blue_shift));
    return 1;
}

int open_display_with_fallback(Display& display, Platform& platform) {
    if (open_display(display, platform, screen_width, screen_height, 16)) return 1;
    close_display(display, platform);
    if (open_display(display, platform, screen_width, screen_height, 24)) return 1;
    close_display(display, platform);
    return 0;
}

void close_display(Display& display, Platform& platform) {
    release_picture_surfaces(display, 0, display.picture_count);
    release_surface(display.back);
    if (display.display_ready) platform.close_display_mode();
    display.display_ready = 0;
}

void present(Display& display, Platform& platform) {
    if (display.display_ready && !display.back.pixels.empty()) platform.present(display.back);
}

}  // namespace platform
