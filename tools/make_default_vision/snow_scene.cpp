// snow_scene.cpp -- a sunny snow field, snow-covered mountains and pines.
#include <cmath>

#include "noise.h"
#include "scenes.h"

namespace defaultvision {
namespace {

constexpr Colour sky_top{0.36f, 0.58f, 0.88f};
constexpr Colour sky_horizon{0.86f, 0.92f, 0.98f};
constexpr Colour snow_sun{0.97f, 0.98f, 1.0f};
constexpr Colour snow_shade{0.70f, 0.78f, 0.90f};
constexpr Colour rock{0.30f, 0.29f, 0.30f};
constexpr Colour pine_dark{0.05f, 0.12f, 0.08f};
constexpr Colour pine_light{0.16f, 0.27f, 0.17f};

float ridge_line(const ValueNoise& n, float x) {
    return 430.0f - 230.0f * n.ridged(x / 520.0f, 2.2f, 5) - 40.0f * n.fractal(x / 160.0f, 7.0f, 3);
}
float forest_line(const ValueNoise& n, float x) { return 560.0f - 12.0f * n.fractal(x / 200.0f, 4.4f, 3); }

float terrain_height(const ValueNoise& n, float x, float y) {
    return n.ridged(x / 260.0f + y / 900.0f, y / 190.0f, 6);
}

// One pine: a stack of drooping tiers, snow on the upper edges.
void draw_pine(Canvas& canvas, const ValueNoise& n, float cx, float base, float h, float haze) {
    const float half = h * 0.28f;
    for (int y = int(base - h); y <= int(base); ++y) {
        const float t = (float(y) - (base - h)) / h;               // 0 at the top
        const float tier = std::fmod(t * 5.0f, 1.0f);              // sawtooth per tier
        const float w = half * (0.15f + 0.85f * t) * (0.55f + 0.45f * tier);
        for (int x = int(cx - w) - 1; x <= int(cx + w) + 1; ++x) {
            const float d = std::fabs(float(x) - cx);
            const float cover = clamp01(w - d + 0.5f);
            if (cover <= 0.0f) continue;
            const float grain = n.at(float(x) / 1.7f, float(y) / 1.7f);
            Colour c = mix(pine_dark, pine_light, clamp01(0.3f + (cx - float(x)) / (w + 1.0f) * 0.5f + grain * 0.3f));
            if (tier < 0.18f && grain > 0.45f) c = mix(c, snow_shade, 0.8f);  // snow on the tier tops
            canvas.blend(x, y, mix(c, sky_horizon, haze), cover);
        }
    }
}

}  // namespace

Canvas draw_snow_scene() {
    Canvas canvas(scene_width, scene_height);
    const ValueNoise wisps(505), land(606), drifts(707);
    for (int x = 0; x < scene_width; ++x) {
        const float fx = float(x);
        const float ridge = ridge_line(land, fx);
        const float forest = forest_line(land, fx);
        for (int y = 0; y < scene_height; ++y) {
            const float fy = float(y);
            Colour c;
            if (fy < ridge) {
                c = mix(sky_top, sky_horizon, std::pow(clamp01(fy / 460.0f), 1.2f));
                // Thin high cirrus stretched along the wind.
                const float w = wisps.fractal(fx / 420.0f, fy / 35.0f, 6);
                c = mix(c, Colour{0.97f, 0.98f, 1.0f}, smoothstep(0.55f, 0.80f, w) * 0.7f);
                // Soft glow around the sun, high at the upper right.
                const float sun = std::hypot(fx - 1040.0f, fy - 90.0f);
                c = mix(c, Colour{1.0f, 1.0f, 0.96f}, clamp01(1.0f - sun / 260.0f) * 0.55f);
            } else if (fy < forest) {
                // Mountains: broad faces lit from the left, bluish in shade;
                // rock shows in the steep gullies that run down the faces.
                const float hgt = terrain_height(land, fx, fy);
                const float slope = terrain_height(land, fx + 3.0f, fy) - hgt;
                const float light = clamp01(0.6f - slope * 9.0f);
                c = mix(snow_shade, snow_sun, light);
                const float gully = land.ridged(fx / 22.0f, fy / 120.0f + fx / 400.0f, 3);
                const float steep = clamp01(std::fabs(slope) * 12.0f);
                const float rocky = smoothstep(0.62f, 0.80f, gully) * (0.35f + 0.65f * steep) *
                                    smoothstep(0.0f, 30.0f, fy - ridge);
                c = mix(c, scale(rock, 0.75f + 0.5f * light), rocky * 0.8f);
                c = mix(c, sky_horizon, 0.25f * clamp01((fy - ridge) / 140.0f));
            } else {
                // Snow field: broad drifts shaded by their slope, sparkle, faint tracks.
                const float depth = clamp01((fy - forest) / 400.0f);
                const float scale_x = 260.0f, scale_y = 40.0f + 140.0f * depth;
                const float h0 = drifts.fractal(fx / scale_x, fy / scale_y, 5);
                const float h1 = drifts.fractal((fx + 3.0f) / scale_x, (fy - 3.0f) / scale_y, 5);
                const float light = clamp01(0.75f + (h1 - h0) * 28.0f);
                c = mix(snow_shade, snow_sun, light);
                c = scale(c, 0.97f + 0.05f * drifts.at(fx / 1.5f, fy / 1.5f));
                canvas.at(x, y) = c;
                continue;
            }
            canvas.at(x, y) = c;
        }
    }
    // Two ski tracks curving from the front towards the forest.
    for (int y = int(forest_line(land, 640.0f)) + 10; y < scene_height; ++y) {
        const float t = (float(y) - 570.0f) / 390.0f;
        const float centre = 700.0f - 260.0f * t * t + 60.0f * std::sin(t * 3.0f);
        const float gap = 2.0f + 16.0f * t;
        for (float side : {-1.0f, 1.0f}) {
            const float tx = centre + side * gap;
            const float w = 0.8f + 3.0f * t;
            for (int x = int(tx - w - 1.0f); x <= int(tx + w + 1.0f); ++x) {
                const float cover = clamp01(w - std::fabs(float(x) - tx) + 0.5f);
                if (cover > 0.0f && canvas.inside(x, y))
                    canvas.blend(x, y, scale(snow_shade, 0.85f), cover * 0.7f);
            }
        }
    }
    // The forest: pines along the foot of the mountains, smaller further back.
    Random random;
    random.seed(808);
    for (int row = 0; row < 3; ++row)
        for (int i = 0; i < 170; ++i) {
            const float cx = float(random.next_mod(scene_width + 60) - 30);
            if (std::fabs(cx - 600.0f) < 70.0f && row == 2) continue;  // a clearing where the tracks lead
            const float base = forest_line(land, cx) + float(row * 9 + random.next_mod(10));
            const float h = 26.0f + float(row * 10 + random.next_mod(28));
            draw_pine(canvas, land, cx, base, h, 0.28f - 0.09f * float(row));
        }
    return canvas;
}

}  // namespace defaultvision
