// engine_fixtures.h -- random frames, pictures and engine states shared by the engine tests and benchmarks.
#pragma once
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "sim/engine/engine.h"
#include "sim/platform/frame.h"
#include "visionfile/document.h"

namespace engine_fixtures {

// Fills `values` from a xorshift generator seeded by `seed`.
template <class Values>
inline void fill_noise(Values& values, uint32_t seed) {
    uint32_t state = seed * 2654435761u + 12345u;
    for (auto& v : values) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        v = static_cast<std::remove_reference_t<decltype(v)>>(state >> 3);
    }
}

// A frame of pseudo-random pixels (every 16-bit value occurs).
inline platform::Frame random_frame(uint32_t seed) {
    platform::Frame f;
    fill_noise(f.pixels, seed);
    return f;
}

// A width x height picture of pseudo-random RGB bytes (the seed first).
inline platform::DecodedPicture random_rgb(uint32_t seed, int width, int height) {
    platform::DecodedPicture p{std::vector<uint8_t>(size_t(width) * height * 3), width, height};
    fill_noise(p.rgb, seed);
    return p;
}

// The channels of the pixel at (x, y).
struct Rgb {
    uint32_t r = 0, g = 0, b = 0;
};
inline Rgb pixel(const platform::Frame& f, int x, int y) {
    Rgb c;
    platform::unpack_565(f.pixels[y * platform::screen_width + x], c.r, c.g, c.b);
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
