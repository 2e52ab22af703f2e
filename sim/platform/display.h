// display.h -- opening, closing and presenting the simulator's display.
#pragma once
#include "sim/platform/platform.h"
#include "sim/platform/surface.h"

namespace platform {

// Opens the display at width x height x bits_per_pixel: asks the platform for
// the mode, marks the display ready, creates the back surface (reporting
// "ERROR Creando OffScreen" when it cannot) and takes the pixel format, whose
// masks and shifts go to the trace log. Returns 1, or 0 when the mode is refused.
int open_display(Display& display, Platform& platform, int width, int height, int bits_per_pixel);

// 640 x 480 at 16 bits, else (after closing) at 24 bits, else closes and
// returns 0.
int open_display_with_fallback(Display& display, Platform& platform);

// Releases the back surface and every picture surface (picture_count is kept)
// and gives the mode back. Safe when nothing is open.
void close_display(Display& display, Platform& platform);

// Shows the back surface.
void present(Display& display, Platform& platform);

}  // namespace platform
