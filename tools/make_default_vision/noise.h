// noise.h -- value noise and fractal sums for the default vision's drawings.
#pragma once
#include <cmath>
#include <cstdint>

#include "common/random.h"

namespace defaultvision {

// Smooth 2-D value noise in 0..1 over a 256-cell lattice that repeats. The
// lattice values come from a seeded Random, so every run draws the same.
class ValueNoise {
public:
    explicit ValueNoise(uint32_t seed) {
        Random random;
        random.seed(seed);
        for (int i = 0; i < 256; ++i) perm_[i] = uint8_t(i);
        for (int i = 255; i > 0; --i) {
            const int j = random.next_mod(i + 1);
            const uint8_t t = perm_[i];
            perm_[i] = perm_[j];
            perm_[j] = t;
        }
        for (int i = 0; i < 256; ++i) value_[i] = float(random.next()) / 32767.0f;
    }

    float at(float x, float y) const {
        const float fx = std::floor(x), fy = std::floor(y);
        const int ix = int(fx) & 255, iy = int(fy) & 255;
        const float tx = smooth(x - fx), ty = smooth(y - fy);
        const float a = lattice(ix, iy), b = lattice(ix + 1, iy);
        const float c = lattice(ix, iy + 1), d = lattice(ix + 1, iy + 1);
        const float top = a + (b - a) * tx;
        const float bottom = c + (d - c) * tx;
        return top + (bottom - top) * ty;
    }

    // Sum of `octaves` layers, each twice as fine and `gain` as strong; 0..1.
    float fractal(float x, float y, int octaves, float gain = 0.5f) const {
        float sum = 0.0f, amplitude = 1.0f, total = 0.0f, frequency = 1.0f;
        for (int o = 0; o < octaves; ++o) {
            sum += at(x * frequency + float(o) * 17.31f, y * frequency - float(o) * 9.17f) * amplitude;
            total += amplitude;
            amplitude *= gain;
            frequency *= 2.0f;
        }
        return sum / total;
    }

    // Sharp-crested fractal for rock and mountain ridges; 0..1.
    float ridged(float x, float y, int octaves) const {
        float sum = 0.0f, amplitude = 1.0f, total = 0.0f, frequency = 1.0f;
        for (int o = 0; o < octaves; ++o) {
            const float v = 1.0f - std::fabs(at(x * frequency + float(o) * 5.7f, y * frequency) * 2.0f - 1.0f);
            sum += v * v * amplitude;
            total += amplitude;
            amplitude *= 0.5f;
            frequency *= 2.0f;
        }
        return sum / total;
    }

private:
    static float smooth(float t) { return t * t * (3.0f - 2.0f * t); }
    float lattice(int x, int y) const { return value_[perm_[(perm_[x & 255] + y) & 255]]; }

    uint8_t perm_[256];
    float value_[256];
};

inline float clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

// 0 below edge0, 1 above edge1, smooth in between.
inline float smoothstep(float edge0, float edge1, float v) {
    const float t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

inline float mix(float a, float b, float t) { return a + (b - a) * t; }

}  // namespace defaultvision
