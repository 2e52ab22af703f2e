// dot_walk.h -- the constrained random walk that turns one floater dot into a burst.
//
// The simulator appends a floater particle at every step; the editor's floater
// map shades a block of its preview there instead. Both pass their own sink, so
// the walk and its exact order of random draws exist once.
#pragma once
#include <algorithm>
#include <cstdint>

#include "common/convert.h"
#include "common/random.h"

namespace engine {

constexpr int dot_walk_max_history = 100;
constexpr int dot_walk_attempts = 501;

struct DotWalk {
    int count = 0;           // positions visited (particles made)
    int width = 1;           // horizontal step unit (the particle width)
    int height = 1;          // vertical step unit (the particle height)
    float start_x = 0, start_y = 0;
    int diffusion = 0;       // largest step in units; 0 counts as 1
    int history_length = 0;  // recent positions a step avoids, at most 100
    int x_bias = 0;          // 0..99: how much more often steps go right
    int y_bias = 0;          // 0..99: how much more often steps go down
};

namespace dot_walk_detail {

// A truncated position packed into one word, so a history entry is one compare.
inline uint64_t spot(int x, int y) { return uint64_t(uint32_t(x)) << 32 | uint32_t(y); }

// Where an attempt of k step units from `origin` lands on one axis.
inline int landing(int64_t k, int unit, float origin) {
    return trunc_to_int(static_cast<float>(k * unit) + origin);
}

// The distinct landings of k = -reach..reach on one axis, into `out`, or -1
// when there are more than `limit`. Landings never decrease (or never
// increase) with k, so equal ones are adjacent and a binary search finds where
// each run ends: far from the origin, float spacing folds many k onto one spot.
inline int distinct_landings(int reach, int unit, float origin, int limit, int* out) {
    int count = 0;
    for (int64_t k = -reach; k <= reach; ++k) {
        if (count == limit) return -1;
        const int value = landing(k, unit, origin);
        out[count++] = value;
        int64_t hi = reach;  // last k whose landing may still equal `value`
        while (k < hi) {
            const int64_t mid = k + (hi - k + 1) / 2;
            if (landing(mid, unit, origin) == value) k = mid; else hi = mid - 1;
        }
    }
    return count;
}

}  // namespace dot_walk_detail

// Walks `walk.count` positions from the start, calling sink(x, y) with each
// position (as floats) before stepping on. Each step makes up to 501 attempts
// and takes the first whose truncated position is not among the last
// history_length positions taken in this call (the last attempt is taken
// anyway). Draws per attempt, in order: sign x, sign y, step x, step y.
template <class Sink>
void dot_walk(Random& rng, const DotWalk& walk, Sink&& sink) {
    using namespace dot_walk_detail;
    // Values from files are not trusted. r mod span is the non-negative
    // remainder, so a negative span acts as its magnitude; diffusion -1 (span
    // 0) would divide by zero and spreads nothing instead; a span above 32768
    // gives the same draws as 32768. A negative history means none.
    int64_t wide_span = int64_t(walk.diffusion == 0 ? 1 : walk.diffusion) + 1;
    if (wide_span == 0) wide_span = 1;
    const int span = static_cast<int>(std::min<int64_t>(wide_span < 0 ? -wide_span : wide_span, 32768));
    const float bias_x = static_cast<float>(walk.x_bias + 100);
    const float bias_y = static_cast<float>(walk.y_bias + 100);
    const int history_length = std::clamp(walk.history_length, 0, dot_walk_max_history);

    // The last history_length positions taken, in a ring: only membership
    // matters, not their order.
    uint64_t history[dot_walk_max_history];
    int filled = 0;  // entries of the history written in this call
    int next_slot = 0;
    auto in_history = [&](uint64_t s) {
        for (int i = 0; i < filled; ++i)
            if (history[i] == s) return true;
        return false;
    };

    // A step whose every reachable spot is already in the history fails all
    // 501 attempts and takes the last (only damaged files walk that long in so
    // small a space). A step that has failed a few attempts checks whether it
    // is boxed in like that; if so it skips the generator past the attempts
    // left but the last and draws only that one.
    constexpr int attempts_before_check = 8;
    constexpr int draws_per_attempt = 4;
    int xs[dot_walk_max_history];
    int ys[dot_walk_max_history];
    auto boxed_in = [&](float x0, float y0) {
        const int nx = distinct_landings(span - 1, walk.width, x0, filled, xs);
        if (nx < 1) return false;
        const int ny = distinct_landings(span - 1, walk.height, y0, filled / nx, ys);
        if (ny < 1) return false;
        for (int i = 0; i < nx; ++i)
            for (int j = 0; j < ny; ++j)
                if (!in_history(spot(xs[i], ys[j]))) return false;
        return true;
    };

    float x = walk.start_x;
    float y = walk.start_y;
    for (int n = 0; n < walk.count; ++n) {
        sink(x, y);
        const float x0 = x;
        const float y0 = y;
        float new_x = x0;
        float new_y = y0;
        for (int attempt = 0; attempt < dot_walk_attempts; ++attempt) {
            if (attempt == attempts_before_check && boxed_in(x0, y0)) {
                rng.skip(uint64_t(draws_per_attempt) * (dot_walk_attempts - 1 - attempt));
                attempt = dot_walk_attempts - 1;
            }
            const int sign_x = static_cast<float>(rng.next_mod(200)) < bias_x ? 1 : -1;
            const int sign_y = static_cast<float>(rng.next_mod(200)) < bias_y ? 1 : -1;
            const int64_t step_x = int64_t(rng.next_mod(span)) * walk.width * sign_x;
            const int64_t step_y = int64_t(rng.next_mod(span)) * walk.height * sign_y;
            new_x = static_cast<float>(step_x) + x0;
            new_y = static_cast<float>(step_y) + y0;
            if (!in_history(spot(trunc_to_int(new_x), trunc_to_int(new_y)))) break;
        }
        if (history_length > 0) {
            history[next_slot] = spot(trunc_to_int(new_x), trunc_to_int(new_y));
            next_slot = next_slot + 1 == history_length ? 0 : next_slot + 1;
            filled = std::min(filled + 1, history_length);
        }
        x = new_x;
        y = new_y;
    }
}

}  // namespace engine
