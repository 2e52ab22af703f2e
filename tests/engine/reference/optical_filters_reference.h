// optical_filters_reference.h -- literal per-pixel versions of the optical filters, the yardstick for the fast ones.
//
// Each routine reads and writes one pixel at a time through read_pixel and
// write_pixel, in the filters' defined loop order and with their exact
// arithmetic and precision. Slow on purpose; tests and benchmarks only.
#pragma once
#include <cstdint>

#include "common/random.h"
#include "sim/engine/optical_filters.h"
#include "reference/reference_pixels.h"

namespace reference {

void apply_myopia_blur(const platform::DecodedPicture& scene, platform::DecodedPicture& out, int level);
void draw_cataract_haze(platform::Frame& frame, float clarity);
void draw_sunglasses(platform::Frame& frame, int red, int green, int blue);
void draw_retina_shadow(platform::Frame& frame, const uint8_t* grey_map);
void new_blood_cell_path(engine::BloodCell& cell, Random& rng);
void draw_blood_cells(platform::Frame& frame, engine::BloodCell* cells,
                      int count, float brightness, Random& rng);

}  // namespace reference
