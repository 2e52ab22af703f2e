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

// Walks `walk.count` positions from the start, calling sink(x, y) with each
// position (as floats) before stepping on. Each step makes up to 501 attempts
// and takes the first whose truncated position is not among the last
// history_length positions taken in this call (the last attempt is taken
// anyway). Draws per attempt, in order: sign x, sign y, step x, step y.
template <class Sink>
void dot_walk(Random& rng, const DotWalk& walk, Sink&& sink) {
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

    int history_x[dot_walk_max_history];
    int history_y[dot_walk_max_history];
    int filled = 0;  // entries of the history written in this call

    // With a small spread an attempt can land on only a few spots: each axis
    // moves by k step units, |k| < span (one spot on an axis whose unit is 0).
    // When the history already holds every one of them (only damaged files
    // walk that long in so small a space), all 501 attempts fail and the last
    // one is taken: the walk skips the generator past the first 500 and draws
    // the last, instead of testing each against the whole history.
    const int reach_x = walk.width == 0 ? 0 : span - 1;
    const int reach_y = walk.height == 0 ? 0 : span - 1;
    const int64_t reach_spots = int64_t(2 * reach_x + 1) * (2 * reach_y + 1);
    constexpr int64_t max_reach_spots = 49;
    constexpr int draws_per_attempt = 4;

    float x = walk.start_x;
    float y = walk.start_y;
    for (int n = 0; n < walk.count; ++n) {
        sink(x, y);
        const float x0 = x;
        const float y0 = y;
        float new_x = x0;
        float new_y = y0;
        const int checked = std::min(filled, history_length);
        auto in_history = [&](int tx, int ty) {
            for (int i = 0; i < checked; ++i)
                if (history_x[i] == tx && history_y[i] == ty) return true;
            return false;
        };
        auto every_spot_in_history = [&] {
            for (int kx = -reach_x; kx <= reach_x; ++kx)
                for (int ky = -reach_y; ky <= reach_y; ++ky)
                    if (!in_history(trunc_to_int(static_cast<float>(int64_t(kx) * walk.width) + x0),
                                    trunc_to_int(static_cast<float>(int64_t(ky) * walk.height) + y0)))
                        return false;
            return true;
        };
        int attempt = 0;
        if (reach_spots <= max_reach_spots && checked >= reach_spots && every_spot_in_history()) {
            rng.skip(uint64_t(draws_per_attempt) * (dot_walk_attempts - 1));
            attempt = dot_walk_attempts - 1;
        }
        for (; attempt < dot_walk_attempts; ++attempt) {
            const int sign_x = static_cast<float>(rng.next_mod(200)) < bias_x ? 1 : -1;
            const int sign_y = static_cast<float>(rng.next_mod(200)) < bias_y ? 1 : -1;
            const int64_t step_x = int64_t(rng.next_mod(span)) * walk.width * sign_x;
            const int64_t step_y = int64_t(rng.next_mod(span)) * walk.height * sign_y;
            new_x = static_cast<float>(step_x) + x0;
            new_y = static_cast<float>(step_y) + y0;
            if (!in_history(trunc_to_int(new_x), trunc_to_int(new_y))) break;
        }
        if (history_length > 0) {
            for (int i = history_length - 1; i >= 1; --i) {
                history_x[i] = history_x[i - 1];
                history_y[i] = history_y[i - 1];
            }
            history_x[0] = trunc_to_int(new_x);
            history_y[0] = trunc_to_int(new_y);
            filled = std::min(filled + 1, history_length);
        }
        x = new_x;
        y = new_y;
    }
}

}  // namespace engine
