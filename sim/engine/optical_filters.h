// optical_filters.h -- the eye's optical filters: myopia blur, cataract haze, sunglasses lens, retina shadow and retina blood cells.
#pragma once
#include <cstdint>

#include "common/random.h"
#include "sim/platform/pixel_format.h"
#include "sim/platform/surface.h"

namespace engine {

// One blood cell drifting along an arc in front of the retina.
struct BloodCell { float centre_x, centre_y; int32_t trail_length; float angle, start_angle, end_angle, step, radius; int32_t direction; };
constexpr int blood_cell_capacity = 1000;

// The box kernel of a myopia level: half-height = 3 * level / 2, half-width
// = 3 * level - half-height, divisor = the full kernel size.
struct BlurKernel {
    int half_width = 0, half_height = 0, divisor = 1;
};
constexpr int max_myopia_level = 10;
BlurKernel blur_kernel(int level);

// The multiplier with which (sum * m) >> 32 equals sum / divisor for every
// sum below 2^32 / divisor (every kernel sum of 8-bit channels is).
uint64_t blur_reciprocal(int divisor);

// Rebuilds `scene` from the RGB work buffer (rows `scene.width` wide) with the box blur of `level` dioptres; nothing when the surface cannot be locked.
// Each output channel is the kernel sum divided by the full kernel size, so
// pixels beyond the picture count as black and the edges come out darker;
// level 0 copies the buffer. A level outside 0..10 (possible from a file) is
// clamped to that range; a picture larger than the work buffer, a missing
// buffer or a pixel format read_pixel cannot handle leaves the scene as it is.
void apply_myopia_blur(platform::Surface& scene, const platform::PixelFormat& format, const uint8_t* rgb_work, int level);

// The per-frame passes below draw on the 640 x 480 back surface (at most its
// locked size), at 2, 3 or 4 bytes per pixel; other sizes are left alone.
// They keep nothing between calls: plain formats go through channel tables
// made per call, others through read_pixel / write_pixel.

// Multiplies channel 1 of every pixel by `clarity` and channels 2 and 3 by
// clarity - 0.1 (a yellowish haze), truncating. Channels are not clamped
// above (clarity over 1 spills into the neighbouring field at 24/32 bits);
// a product below 0 is written as 0 and a NaN clarity counts as 1.
void draw_cataract_haze(const platform::LockedSurface& s, const platform::PixelFormat& f, float clarity);

// Scales each channel by tint / 255 (unsigned integer arithmetic) inside
// the lens: full width in rows 73..407, narrowing towards the top and bottom
// rows; the corners outside keep their colours.
void draw_sunglasses(const platform::LockedSurface& s, const platform::PixelFormat& f, int red, int green, int blue);

// Darkens the pixels whose grey-map byte is 0 (x, y >= 1; row 0 and column
// 0 are left alone): each channel c loses (255 - c) / average + 1, where the
// average includes the channels already darkened; dark pixels turn black,
// white ones lose 1. Other pixels are read and written back. Nothing is done
// without a map. (On the 5-6-5 display compose_frame uses a kept table of
// every value's shade instead.)
void draw_retina_shadow(const platform::LockedSurface& s, const platform::PixelFormat& f, const uint8_t* grey_map /* 640x480, nullptr = absent */);

// Gives `cell` a fresh random arc: draws, in order, centre x (mod 640),
// centre y (mod 480), direction (mod 2, 0 = -1), then start/end angle and step
// (10..19 degrees per frame, signed by the direction), then radius 2..5.
void new_blood_cell_path(BloodCell& cell, Random& rng);

// Brightens the trail of `count` cells (clamped to 0..blood_cell_capacity)
// by 1 + brightness / (1 + 0.2 k) for trail dot k, clamped to 0..255, then moves
// each head by its step and gives a cell that passed its end angle a new path.
// A NaN brightness counts as 0.
void draw_blood_cells(const platform::LockedSurface& s, const platform::PixelFormat& f, BloodCell* cells, int count, float brightness, Random& rng);

}  // namespace engine
