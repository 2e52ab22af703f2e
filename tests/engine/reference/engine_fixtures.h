// engine_fixtures.h -- surfaces, pixel formats and randomised engine states shared by the engine tests and benchmarks.
#pragma once
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "sim/engine/engine.h"
#include "sim/platform/pixel_format.h"
#include "sim/platform/surface.h"
#include "visionfile/document.h"

namespace engine_fixtures {

// A pixel layout under test: 16-bit 5-6-5 and 5-5-5 (top bit unused, so
// writes clear it), 24-bit and 32-bit 8-8-8 (writes clear the fourth byte),
// and 24-bit with red and blue swapped.
struct FormatCase {
    const char* name;
    int bits;
    platform::PixelFormat format;
};

inline std::vector<FormatCase> all_formats() {
    return {{"16bit", 16, platform::format_565()},
            {"15bit", 16, platform::pixel_format_from_masks(0x7C00, 0x03E0, 0x001F)},
            {"24bit", 24, platform::format_888()},
            {"32bit", 32, platform::format_888()},
            {"bgr24", 24, platform::pixel_format_from_masks(0x0000FF, 0x00FF00, 0xFF0000)}};
}

inline platform::LockedSurface locked_view(platform::Surface& s) {
    platform::LockedSurface l;
    l.base = s.pixels.data();
    l.pitch = s.pitch;
    l.width = s.width;
    l.height = s.height;
    l.bytes_per_pixel = s.bits_per_pixel / 8;
    return l;
}

// A surface (640 x 480 unless asked) of pseudo-random bytes (every bit
// pattern, so 32-bit pixels carry a fourth byte and 16-bit ones every value).
inline platform::Surface random_picture(int bits, uint32_t seed, int width = 640, int height = 480) {
    platform::Surface s;
    platform::create_surface(s, width, height, bits);
    uint32_t state = seed * 2654435761u + 12345u;
    for (uint8_t& byte : s.pixels) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<uint8_t>(state >> 3);
    }
    return s;
}

// The channels read_pixel gives at (x, y).
struct Rgb {
    uint32_t r = 0, g = 0, b = 0;
};
inline Rgb pixel(const platform::Surface& s, const platform::PixelFormat& f, int x, int y) {
    Rgb c;
    platform::read_pixel(f, s.pixels.data() + y * s.pitch + x * (s.bits_per_pixel / 8), s.bits_per_pixel / 8, c.r, c.g, c.b);
    return c;
}

// Particles with every field random: eyes 0 and 1, rectangles of 1..4
// pixels overlapping every screen edge, transparencies up to 300, some drift.
inline void random_particles(engine::EngineState& state, std::mt19937& gen, int count, int max_side = 4) {
    state.particle_count = 0;
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    for (int i = 0; i < count; ++i) {
        engine::add_particle(state, pick(0, 1), static_cast<float>(pick(-6, 645)), static_cast<float>(pick(-6, 485)),
                             pick(1, max_side), pick(1, max_side), pick(0, 300), pick(800, 999) / 1000.0f,
                             pick(800, 999) / 1000.0f);
        state.particles.velocity_x[i] = pick(-3000, 3000) / 1000.0f;
        state.particles.velocity_y[i] = pick(-3000, 3000) / 1000.0f;
    }
}

// Ten streaks of `points` points each, some off the screen, with every
// visibility rule and brightness 0..1.
inline void random_streaks(vision::Header& header, std::mt19937& gen, int points) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    for (int k = 0; k < vision::streak_entries; ++k) {
        vision::Streak& s = header.streak[k];
        s.point_count = points;
        s.when_seen = k % 4;
        s.brightness = pick(0, 100) / 100.0f;
        for (int p = 0; p < points; ++p) {
            s.x[p] = pick(-5, 644);
            s.y[p] = pick(-5, 484);
        }
    }
}

// A grey map with shadow (0) on about a third of the pixels, in streaks.
inline std::vector<uint8_t> random_grey_map(uint32_t seed) {
    std::vector<uint8_t> map(640 * 480);
    std::mt19937 gen(seed);
    for (size_t i = 0; i < map.size(); ++i) map[i] = (gen() % 3 == 0) ? 0 : static_cast<uint8_t>(1 + gen() % 255);
    return map;
}

// Whole-table equality of two engine states (bit patterns of the floats).
inline std::string state_difference(const engine::EngineState& a, const engine::EngineState& b) {
    auto same = [](const auto& x, const auto& y) {
        return x.size() == y.size() && std::memcmp(x.data(), y.data(), x.size() * sizeof(x[0])) == 0;
    };
    if (a.particle_count != b.particle_count) return "particle_count";
    const engine::ParticleTable &p = a.particles, &q = b.particles;
    if (!same(p.eye, q.eye) || !same(p.x, q.x) || !same(p.y, q.y) || !same(p.width, q.width) ||
        !same(p.height, q.height) || !same(p.transparency, q.transparency))
        return "particle integers";
    if (!same(p.velocity_x, q.velocity_x) || !same(p.velocity_y, q.velocity_y) ||
        !same(p.position_x, q.position_x) || !same(p.position_y, q.position_y) ||
        !same(p.damping_x, q.damping_x) || !same(p.damping_y, q.damping_y))
        return "particle floats";
    if (!same(a.blood_cells, b.blood_cells) || a.blood_cells_with_path != b.blood_cells_with_path) return "blood cells";
    if (!same(a.stars, b.stars)) return "stars";
    if (!same(a.sparks, b.sparks)) return "sparks";
    if (a.spark_centre_x != b.spark_centre_x || a.spark_centre_y != b.spark_centre_y) return "spark centre";
    if (a.eye_movement != b.eye_movement || a.movement_samples != b.movement_samples ||
        a.reference_x != b.reference_x || a.reference_y != b.reference_y ||
        std::memcmp(&a.previous_x, &b.previous_x, sizeof(float)) != 0 ||
        std::memcmp(&a.previous_y, &b.previous_y, sizeof(float)) != 0)
        return "pointer samples";
    return "";
}

}  // namespace engine_fixtures
