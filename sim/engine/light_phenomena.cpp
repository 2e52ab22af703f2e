// light_phenomena.cpp -- eyelids, sparks, stars and sac refractions.
#include <algorithm>
#include <cstdint>

#include "common/convert.h"
#include "sim/engine/engine.h"
#include "sim/engine/pixels.h"

namespace engine {

namespace {

constexpr float star_edge = 0.16666667f;   // s/6 off the outer ring of a star
constexpr float star_inner = 0.083333336f; // s/12 off the inner ring
constexpr int star_size = 5;
constexpr int spark_size = 3;

inline bool on_screen(int64_t x, int64_t y) { return x >= 0 && x < screen_width && y >= 0 && y < screen_height; }

// Eyelid darkening level of the i-th row from a lid's edge.
inline int eyelid_level(int i, int base) {
    if (i >= base) return 0;
    return trunc_to_int(255.0 - (256.0 / base) * i);
}

}  // namespace

int eyelid_row_factors(int y, int position, int base, uint32_t factors[2]) {
    if (position <= 0) return 0;
    const int half = position / 2;
    const int upper = y < position ? position - 1 - y : -1;
    const int lower = y >= screen_height - half ? y - (screen_height - half) : -1;
    int steps = 0;
    if (upper >= 0 && (lower < 0 || upper <= lower)) {
        factors[steps++] = uint32_t(eyelid_level(upper, base) + 1);
        if (lower >= 0) factors[steps++] = uint32_t(eyelid_level(lower, base) + 1);
    } else if (lower >= 0) {
        factors[steps++] = uint32_t(eyelid_level(lower, base) + 1);
        if (upper >= 0) factors[steps++] = uint32_t(eyelid_level(upper, base) + 1);
    }
    return steps;
}

LitRows lit_rows(int position, int base) {
    LitRows lit;
    uint32_t factors[2];
    while (lit.first < lit.end && eyelid_blackens_row(eyelid_row_factors(lit.first, position, base, factors), factors))
        ++lit.first;
    while (lit.end > lit.first &&
           eyelid_blackens_row(eyelid_row_factors(lit.end - 1, position, base, factors), factors))
        --lit.end;
    return lit;
}

void draw_eyelids(platform::Frame& frame, int position, int base) {
    if (position <= 0) return;
    for (int y = 0; y < screen_height; ++y) {
        uint32_t factors[2];
        const int steps = eyelid_row_factors(y, position, base, factors);
        uint16_t* p = frame.row(y);
        if (eyelid_blackens_row(steps, factors)) {
            std::fill(p, p + screen_width, uint16_t{0});
            continue;
        }
        // The fields cover all 16 bits, so a factor of 256 changes nothing.
        for (int k = 0; k < steps; ++k)
            if (factors[k] != 256) darken_row(p, screen_width, factors[k]);
    }
}

void new_spark(EngineState& state, Random& rng, int index) {
    Spark& spark = state.sparks[index];
    spark.x = static_cast<float>(rng.next_mod(100) + state.spark_centre_x - 50);
    spark.y = static_cast<float>(rng.next_mod(100) + state.spark_centre_y - 50);
    spark.life = rng.next_mod(25) + 2;
    spark.velocity_x = static_cast<float>(rng.next_mod(100) * 0.1 + 1.0);
    if (rng.next_mod(2) == 0) spark.velocity_x = -spark.velocity_x;
    spark.velocity_y = static_cast<float>(rng.next_mod(100) * 0.1 + 1.0);
    if (rng.next_mod(2) == 0) spark.velocity_y = -spark.velocity_y;
    spark.age = 0;
    if (rng.next_mod(100) == 0) {
        state.spark_centre_x = rng.next_mod(screen_width);
        state.spark_centre_y = rng.next_mod(screen_height);
    }
}

void draw_sparks(EngineState& state, platform::Frame& frame, Random& rng) {
    const int count = std::clamp(state.spark_count, 0, spark_capacity);
    // Formed in double, where 1 + b - b/2 - b/2 is exactly 1: the corners keep
    // their light and the sides gain exactly half the centre's gain (single
    // precision rounded the corners to 0.99999994 and the sides below 1.2).
    double factors[spark_size][spark_size];
    const double brightness = state.spark_brightness;
    for (int a = 0; a < spark_size; ++a) {
        for (int b = 0; b < spark_size; ++b) {
            double factor = brightness + 1.0;
            if (a == 0 || a == 2) factor -= brightness * 0.5;
            if (b == 0 || b == 2) factor -= brightness * 0.5;
            factors[a][b] = factor;
        }
    }
    for (int i = 0; i < count; ++i) {
        Spark& spark = state.sparks[i];
        const int x0 = trunc_to_int(spark.x);
        const int y0 = trunc_to_int(spark.y);
        for (int a = 0; a < spark_size; ++a) {
            for (int b = 0; b < spark_size; ++b) {
                const int64_t px = int64_t(x0) + a, py = int64_t(y0) + b;
                if (!on_screen(px, py)) continue;
                uint16_t& p = frame.row(int(py))[px];
                p = brighten_565(p, factors[a][b]);
            }
        }
        spark.x = spark.x + spark.velocity_x;
        spark.age = spark.age + 1;
        spark.y = spark.y + spark.velocity_y;
        if (spark.age > spark.life) {
            spark.age = 0;
            new_spark(state, rng, i);
        }
    }
}

void new_star(EngineState& state, Random& rng, int index) {
    Star& star = state.stars[index];
    star.x = static_cast<float>(rng.next_mod(screen_width));
    star.y = static_cast<float>(rng.next_mod(screen_height));
    star.brightness = 1.0f;
    star.peak = static_cast<float>(rng.next_mod(500) * 0.001 + 1.0);
    star.rate = static_cast<float>(rng.next_mod(400) / 10000.0 + 0.001);
    star.hold_frames = rng.next_mod(25) + 25;
    star.held_frames = 0;
}

void draw_stars(EngineState& state, platform::Frame& frame, Random& rng) {
    const int count = std::clamp(state.star_count, 0, star_capacity);
    for (int i = 0; i < count; ++i) {
        Star& star = state.stars[i];
        const int x0 = trunc_to_int(star.x);
        const int y0 = trunc_to_int(star.y);
        const float level = star.brightness;
        for (int a = 0; a < star_size; ++a) {
            for (int b = 0; b < star_size; ++b) {
                float factor = level;
                if (a == 0 || a == 4) factor = factor - level * star_edge;
                if (a == 1 || a == 3) factor = factor - level * star_inner;
                if (b == 0 || b == 4) factor = factor - level * star_edge;
                if (b == 1 || b == 3) factor = factor - level * star_inner;
                if (factor < 1.0f) factor = 1.0f;
                const int64_t px = int64_t(x0) + a, py = int64_t(y0) + b;
                if (!on_screen(px, py)) continue;
                uint16_t& p = frame.row(int(py))[px];
                uint32_t red, green, blue;
                unpack_565(p, red, green, blue);
                const int g = trunc_to_int(static_cast<float>(green) * factor * 1.06);
                p = pack_565(brighten_channel(red, factor), static_cast<uint32_t>(std::clamp(g, 0, 255)),
                             brighten_channel(blue, factor));
            }
        }
        if (star.held_frames < star.hold_frames) {
            star.brightness = star.brightness + star.rate;
            if (star.brightness >= star.peak) {
                star.brightness = star.peak;
                star.held_frames = star.held_frames + 1;
            }
        } else {
            star.brightness = star.brightness - star.rate;
            if (star.brightness < 1.0f) new_star(state, rng, i);
        }
    }
}

void draw_sac_refractions(const EngineState& state, const vision::Header& header, platform::Frame& frame) {
    int first = 0, last = -1;
    if (state.eye_mode == 0) first = 0, last = vision::streaks_per_eye - 1;
    else if (state.eye_mode == 1) first = vision::streaks_per_eye, last = vision::streak_entries - 1;
    else if (state.eye_mode == 2) first = 0, last = vision::streak_entries - 1;
    const int movement = state.eye_movement;
    Lut565 lut;
    for (int k = first; k <= last; ++k) {
        const vision::Streak& streak = header.streak[k];
        const int seen = streak.when_seen;
        const bool visible = seen == 0 || (seen == 1 && (movement == 1 || movement == 2)) ||
                             (seen == 2 && (movement == 3 || movement == 4)) || (seen == 3 && movement != 0);
        if (!visible) continue;
        const int points = std::clamp(streak.point_count, 0, vision::streak_capacity);
        const double factor = streak.brightness + 1.0;
        build_lut565(lut, [&](int, uint32_t c) { return brighten_channel(c, factor); });
        for (int p = 0; p < points; ++p) {
            // A streak's points may lie anywhere: ask for the pixel of one a
            // few points ahead while this one is drawn.
            constexpr int ahead = 16;
            if (p + ahead < points && on_screen(streak.x[p + ahead], streak.y[p + ahead]))
                __builtin_prefetch(frame.row(streak.y[p + ahead]) + streak.x[p + ahead], 1);
            const int x = streak.x[p], y = streak.y[p];
            if (!on_screen(x, y)) continue;
            uint16_t& q = frame.row(y)[x];
            q = lut(q);
        }
    }
}

}  // namespace engine
