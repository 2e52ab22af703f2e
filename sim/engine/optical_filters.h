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

// Rebuilds `scene` from the RGB work buffer (rows `scene.width` wide) with the box blur of `level` dioptres; nothing when the surface cannot be locked.
void apply_myopia_blur(platform::Surface& scene, const platform::PixelFormat& format, const uint8_t* rgb_work, int level);

// Fades every pixel towards the haze of a clouded lens; `clarity` 1 keeps the picture.
void draw_cataract_haze(const platform::LockedSurface& s, const platform::PixelFormat& f, float clarity);

// Tints the pixels inside the lens outline by red/green/blue out of 255.
void draw_sunglasses(const platform::LockedSurface& s, const platform::PixelFormat& f, int red, int green, int blue);

// Darkens every pixel by the grey map's value at the same place; nothing when the map is absent.
void draw_retina_shadow(const platform::LockedSurface& s, const platform::PixelFormat& f, const uint8_t* grey_map /* 640x480, nullptr = absent */);

// Gives `cell` a fresh random arc to travel.
void new_blood_cell_path(BloodCell& cell, Random& rng);

// Draws and advances `count` cells (at most blood_cell_capacity) at `brightness`.
void draw_blood_cells(const platform::LockedSurface& s, const platform::PixelFormat& f, BloodCell* cells, int count, float brightness, Random& rng);

}  // namespace engine
