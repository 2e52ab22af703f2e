// optical_filters.h -- the eye's optical filters drawn apart from compose_frame: myopia blur and retina blood cells.
#pragma once
#include <cstdint>

#include "common/random.h"
#include "sim/platform/frame.h"

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

// Makes `blurred` the box blur of `level` dioptres of `scene` (same size).
// Each output channel is the kernel sum divided by the full kernel size, so
// pixels beyond the picture count as black and the edges come out darker;
// level 0 copies the picture. A level outside 0..10 (possible from a file)
// is clamped to that range. Returns 1, or 0 (blurred emptied) when there is
// no scene.
int apply_myopia_blur(const platform::DecodedPicture& scene, platform::DecodedPicture& blurred, int level);

// Gives `cell` a fresh random arc: draws, in order, centre x (mod 640),
// centre y (mod 480), direction (mod 2, 0 = -1), then start/end angle and step
// (10..19 degrees per frame, signed by the direction), then radius 2..5.
void new_blood_cell_path(BloodCell& cell, Random& rng);

// Brightens the trail of `count` cells (clamped to 0..blood_cell_capacity)
// by 1 + brightness / (1 + 0.2 k) for trail dot k, clamped to 0..255, then moves
// each head by its step and gives a cell that passed its end angle a new path.
// A NaN brightness counts as 0.
void draw_blood_cells(platform::Frame& frame, BloodCell* cells, int count, float brightness, Random& rng);

}  // namespace engine
