// vessels.cpp -- grows a retinal vessel tree and saves it as a TGA grey map.
#include "vessels.h"

#include <cmath>
#include <cstdio>

#include "noise.h"

namespace defaultvision {
namespace {

constexpr float disc_x = 440.0f, disc_y = 232.0f, disc_radius = 26.0f;
constexpr float fovea_x = 262.0f, fovea_y = 248.0f;
constexpr float vessel_free_radius = 62.0f;  // around the fovea
constexpr float step = 1.5f;
constexpr float pi = 3.14159265f;

struct Tree {
    std::vector<uint8_t>& mask;  // 1 = vessel
    Random& random;
    const ValueNoise& wiggle;
};

void stamp(Tree& t, float x, float y, float radius) {
    const int r = int(std::ceil(radius));
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
            const int px = int(std::floor(x)) + dx, py = int(std::floor(y)) + dy;
            if (px < 0 || py < 0 || px >= vessel_map_width || py >= vessel_map_height) continue;
            const float ddx = float(px) + 0.5f - x, ddy = float(py) + 0.5f - y;
            if (ddx * ddx + ddy * ddy <= radius * radius) t.mask[size_t(py) * vessel_map_width + px] = 1;
        }
}

float uniform(Random& r, float lo, float hi) { return lo + (hi - lo) * float(r.next()) / 32767.0f; }

// Grows one vessel from (x, y) heading `angle`, bending by `bend` radians per
// pixel and thinning with the length scale `taper`, and spawns thinner side
// branches on alternating sides until it is too thin or leaves the picture.
void grow(Tree& t, float x, float y, float angle, float bend, float width, float taper, int depth) {
    float next_branch = uniform(t.random, 20.0f, 45.0f);
    int side = t.random.next_mod(2) ? 1 : -1;
    const float seed = uniform(t.random, 0.0f, 200.0f);
    const float shrink = std::exp(-step / taper);
    for (float travelled = 0.0f; width > 1.0f; travelled += step) {
        stamp(t, x, y, std::fmax(width * 0.5f, 0.75f));
        // Gentle meander, and a push away from the vessel-free centre.
        angle += bend * step + (t.wiggle.at(seed + travelled / 30.0f, float(depth) * 3.0f) - 0.5f) * 0.035f;
        const float fx = x - fovea_x, fy = y - fovea_y;
        const float d = std::hypot(fx, fy);
        if (d < vessel_free_radius + 35.0f) {
            const float away = std::atan2(fy, fx);
            float diff = away - angle;
            while (diff > pi) diff -= 2.0f * pi;
            while (diff < -pi) diff += 2.0f * pi;
            angle += diff * 0.06f * clamp01(1.0f - (d - vessel_free_radius) / 35.0f);
            if (d < vessel_free_radius) return;
        }
        x += std::cos(angle) * step;
        y += std::sin(angle) * step;
        if (x < -10.0f || y < -10.0f || x > vessel_map_width + 10.0f || y > vessel_map_height + 10.0f) return;
        width *= shrink;
        next_branch -= step;
        if (next_branch <= 0.0f && depth < 5 && width > 1.5f) {
            const float branch_angle = angle + float(side) * uniform(t.random, 0.5f, 0.95f);
            const float branch_width = width * uniform(t.random, 0.5f, 0.7f);
            grow(t, x, y, branch_angle, bend * 0.3f + uniform(t.random, -0.002f, 0.002f), branch_width,
                 taper * 0.6f, depth + 1);
            width *= 0.92f;
            side = -side;
            next_branch = uniform(t.random, 25.0f, 55.0f);
        }
    }
}

}  // namespace

std::vector<uint8_t> draw_vessel_map() {
    std::vector<uint8_t> mask(size_t(vessel_map_width) * vessel_map_height, 0);
    Random random;
    random.seed(1234);
    const ValueNoise wiggle(4321), fundus(5678);
    Tree tree{mask, random, wiggle};

    struct Trunk { float angle, bend, width, taper; };
    const Trunk trunks[] = {
        // Upper and lower temporal arcades (artery and vein each), bending
        // round the vessel-free centre towards the left.
        {-1.57f, -0.0068f, 7.0f, 320.0f}, {-1.80f, -0.0056f, 5.5f, 300.0f},
        {1.57f, 0.0068f, 7.5f, 320.0f}, {1.80f, 0.0056f, 5.5f, 300.0f},
        // Nasal vessels towards the right, and two small ones to the centre.
        {-0.80f, 0.0010f, 5.0f, 170.0f}, {-0.25f, -0.0010f, 3.8f, 150.0f},
        {0.30f, 0.0010f, 4.2f, 150.0f}, {0.85f, -0.0010f, 5.0f, 170.0f},
        {3.05f, 0.0008f, 2.6f, 90.0f}, {-2.75f, -0.0020f, 2.6f, 90.0f},
    };
    for (const Trunk& trunk : trunks)
        grow(tree, disc_x + std::cos(trunk.angle) * 6.0f, disc_y + std::sin(trunk.angle) * 6.0f, trunk.angle,
             trunk.bend, trunk.width, trunk.taper, 0);

    // Fundus shading: orange-grey retina, darker rim and macula, bright disc.
    std::vector<uint8_t> grey(mask.size());
    for (int y = 0; y < vessel_map_height; ++y)
        for (int x = 0; x < vessel_map_width; ++x) {
            const size_t i = size_t(y) * vessel_map_width + x;
            if (mask[i]) {
                grey[i] = 0;
                continue;
            }
            const float fx = float(x), fy = float(y);
            const float rim = std::hypot((fx - 320.0f) / 360.0f, (fy - 240.0f) / 300.0f);
            float v = 150.0f - 70.0f * smoothstep(0.55f, 1.1f, rim);
            v -= 45.0f * clamp01(1.0f - std::hypot(fx - fovea_x, fy - fovea_y) / 70.0f);
            v += 95.0f * clamp01((disc_radius + 6.0f - std::hypot(fx - disc_x, fy - disc_y)) / 10.0f);
            v += 24.0f * (fundus.fractal(fx / 30.0f, fy / 30.0f, 4) - 0.5f);
            grey[i] = uint8_t(v < 40.0f ? 40.0f : (v > 250.0f ? 250.0f : v));
        }
    return grey;
}

int save_grey_tga(const std::vector<uint8_t>& grey, int width, int height, const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return 0;
    uint8_t header[18] = {};
    header[2] = 2;  // uncompressed true colour
    header[12] = uint8_t(width);
    header[13] = uint8_t(width >> 8);
    header[14] = uint8_t(height);
    header[15] = uint8_t(height >> 8);
    header[16] = 24;
    bool ok = std::fwrite(header, 1, sizeof header, file) == sizeof header;
    std::vector<uint8_t> row(size_t(width) * 3);
    for (int y = height - 1; y >= 0 && ok; --y) {
        for (int x = 0; x < width; ++x) row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = grey[size_t(y) * width + x];
        ok = std::fwrite(row.data(), 1, row.size(), file) == row.size();
    }
    ok = std::fclose(file) == 0 && ok;
    return ok ? 1 : 0;
}

}  // namespace defaultvision
