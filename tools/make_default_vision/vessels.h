// vessels.h -- the retinal vessel map of the default vision and its TGA file.
#pragma once
#include <cstdint>
#include <vector>

namespace defaultvision {

constexpr int vessel_map_width = 640;
constexpr int vessel_map_height = 480;

// A 640 x 480 grey picture of a retina: vessel pixels 0, everything else a
// fundus-like grey of at least 40. The optic disc sits right of centre, the
// arcades curve around a vessel-free centre and branches thin outwards.
std::vector<uint8_t> draw_vessel_map();

// Writes a width x height grey picture as an uncompressed 24-bit TGA (rows
// bottom first, each pixel grey in all three channels). Returns 1/0.
int save_grey_tga(const std::vector<uint8_t>& grey, int width, int height, const char* path);

}  // namespace defaultvision
