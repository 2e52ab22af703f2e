// meadow_scene.cpp -- summer sky, mountains, wooded hills and a meadow.
#include <cmath>

#include "noise.h"
#include "scenes.h"

namespace defaultvision {
namespace {

constexpr Colour sky_top{0.20f, 0.43f, 0.80f};
constexpr Colour sky_horizon{0.72f, 0.84f, 0.96f};
constexpr Colour mountain_near{0.42f, 0.52f, 0.66f};
constexpr Colour hill_light{0.42f, 0.60f, 0.26f};
constexpr Colour hill_dark{0.22f, 0.38f, 0.16f};
constexpr Colour meadow_near{0.36f, 0.55f, 0.16f};
constexpr Colour meadow_far{0.55f, 0.68f, 0.30f};
constexpr Colour crown_dark{0.07f, 0.18f, 0.06f};
constexpr Colour crown_light{0.26f, 0.45f, 0.14f};

float mountain_line(const ValueNoise& n, float x) {
    return 470.0f - 150.0f * n.fractal(x / 380.0f, 3.7f, 5) - 40.0f * n.ridged(x / 220.0f, 1.3f, 3);
}
float hill_line(const ValueNoise& n, float x) { return 540.0f - 70.0f * n.fractal(x / 520.0f, 8.1f, 4); }
float meadow_line(const ValueNoise& n, float x) { return 665.0f - 70.0f * n.fractal(x / 420.0f, 12.5f, 4); }

Colour sky(const ValueNoise& clouds, int x, int y) {
    const float fy = float(y);
    Colour c = mix(sky_top, sky_horizon, std::pow(clamp01(fy / 520.0f), 1.4f));
    // Cumulus: a fractal density, strongest in a band across the upper sky,
    // with flattened bases; lit from above, grey underneath.
    const float band = smoothstep(20.0f, 140.0f, fy) * (1.0f - smoothstep(330.0f, 470.0f, fy));
    const float sx = float(x) / 300.0f, sy = fy / 140.0f;
    const float d = clouds.fractal(sx, sy, 7) * (0.55f + 0.6f * band);
    const float above = clouds.fractal(sx, sy - 0.12f, 7) * (0.55f + 0.6f * band);
    const float cover = smoothstep(0.50f, 0.66f, d);
    if (cover <= 0.0f) return c;
    const float lit = clamp01(0.55f + (d - above) * 7.0f);
    const Colour shade = mix(Colour{0.62f, 0.66f, 0.74f}, Colour{1.0f, 1.0f, 0.99f}, lit);
    const Colour core = mix(shade, Colour{0.80f, 0.82f, 0.87f}, smoothstep(0.70f, 0.90f, d) * 0.6f);
    return mix(c, core, cover);
}

// Soft round tree crowns along the hill crest, lit from the upper left.
void draw_trees(Canvas& canvas, const ValueNoise& n, Random& random) {
    for (int i = 0; i < 140; ++i) {
        const float cx = float(random.next_mod(scene_width + 40) - 20);
        const float r = 9.0f + float(random.next_mod(18));
        const float base = hill_line(n, cx) + 6.0f + float(random.next_mod(40));
        const float cy = base - r * 0.9f;
        const float haze = clamp01((560.0f - base) / 160.0f) * 0.35f;
        for (int y = int(cy - r * 1.3f); y <= int(base); ++y)
            for (int x = int(cx - r * 1.2f); x <= int(cx + r * 1.2f); ++x) {
                if (!canvas.inside(x, y)) continue;
                const float dx = (float(x) - cx) / r, dy = (float(y) - cy) / (r * 1.15f);
                const float edge = 1.0f - (dx * dx + dy * dy) + (n.fractal(float(x) / 5.0f, float(y) / 5.0f, 3) - 0.5f) * 0.9f;
                if (edge > 0.0f) {
                    const float light = clamp01(0.5f - dx * 0.35f - dy * 0.45f + (n.at(float(x) / 2.5f, float(y) / 2.5f) - 0.5f) * 0.6f);
                    Colour leaf = mix(crown_dark, crown_light, light);
                    leaf = mix(leaf, mountain_near, haze);
                    canvas.blend(x, y, leaf, clamp01(edge * 4.0f));
                } else if (std::fabs(float(x) - cx) < r * 0.12f && float(y) > cy) {
                    canvas.blend(x, y, Colour{0.20f, 0.15f, 0.10f}, 0.9f);  // trunk
                }
            }
    }
}

}  // namespace

Canvas draw_meadow_scene() {
    Canvas canvas(scene_width, scene_height);
    const ValueNoise clouds(101), land(202), grass(303);
    Random random;
    random.seed(404);
    for (int x = 0; x < scene_width; ++x) {
        const float fx = float(x);
        const float mountain = mountain_line(land, fx);
        const float hill = hill_line(land, fx);
        const float meadow = meadow_line(land, fx);
        for (int y = 0; y < scene_height; ++y) {
            const float fy = float(y);
            Colour c;
            if (fy < mountain) {
                c = sky(clouds, x, y);
            } else if (fy < hill) {
                // Distant mountains: hazy blue, a little lighter on the sunny slopes.
                const float rock = land.ridged(fx / 90.0f, fy / 60.0f, 4);
                c = mix(mountain_near, sky_horizon, 0.35f + 0.25f * clamp01((fy - mountain) / 80.0f));
                c = scale(c, 0.92f + 0.14f * rock);
            } else if (fy < meadow) {
                const float t = land.fractal(fx / 60.0f, fy / 30.0f, 5);
                c = mix(hill_dark, hill_light, smoothstep(0.3f, 0.75f, t));
                c = mix(c, sky_horizon, 0.28f * (1.0f - clamp01((fy - hill) / 120.0f)));
            } else {
                // Meadow: upright grass blades (noise stretched vertically at a
                // fixed scale), coarser in front, with lighter patches.
                const float depth = clamp01((fy - meadow) / 330.0f);
                const float fine = grass.fractal(fx / 2.2f, fy / 11.0f, 3);
                const float coarse = grass.fractal(fx / 5.0f + 40.0f, fy / 26.0f, 3);
                const float blades = mix(fine, coarse, depth);
                const float patches = grass.fractal(fx / 180.0f, fy / 60.0f, 3);
                c = mix(meadow_far, meadow_near, depth);
                c = scale(c, 0.72f + 0.45f * blades + 0.25f * (patches - 0.5f));
                c = mix(c, Colour{0.78f, 0.74f, 0.38f}, smoothstep(0.58f, 0.75f, patches) * 0.35f);
            }
            canvas.at(x, y) = c;
        }
    }
    draw_trees(canvas, land, random);
    // Flowers: small white and yellow dots, denser and larger in front.
    for (int i = 0; i < 2600; ++i) {
        const int x = random.next_mod(scene_width);
        const int y = 660 + random.next_mod(scene_height - 660);
        const Colour petal = random.next_mod(3) == 0 ? Colour{0.98f, 0.85f, 0.20f} : Colour{0.97f, 0.97f, 0.93f};
        const int size = y > 850 ? 2 : 1;
        for (int dy = 0; dy < size; ++dy)
            for (int dx = 0; dx < size; ++dx) canvas.blend(x + dx, y + dy, petal, 0.85f);
    }
    return canvas;
}

}  // namespace defaultvision
