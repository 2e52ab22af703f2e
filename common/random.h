// random.h -- the one pseudo-random generator each program owns.
#pragma once
#include <cstdint>

// A linear congruential generator yielding 0..32767. Every effect's sequence of
// draws is fixed, so the exact recurrence matters: state = state * 214013 +
// 2531011 (mod 2^32), result = (state >> 16) & 32767, starting from state 1.
struct Random {
    uint32_t state = 1;

    // Restarts the sequence from `seed` (the simulator seeds once with the
    // calendar second; the editor never seeds, so its previews repeat).
    void seed(uint32_t seed_value) { state = seed_value; }

    // The next draw, 0..32767.
    int next() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 32767u);
    }

    // The next draw modulo n (n > 0); draws are never negative.
    int next_mod(int n) { return next() % n; }

    // Moves the state on by `count` draws at once, exactly as `count` calls of
    // next() would: the recurrence is affine, so its count-fold composition is
    // built by repeated squaring.
    void skip(uint64_t count) {
        uint32_t multiplier = 214013u, increment = 2531011u;  // one step
        uint32_t total_multiplier = 1u, total_increment = 0u;  // no steps yet
        for (; count != 0; count >>= 1) {
            if (count & 1u) {
                total_multiplier *= multiplier;
                total_increment = total_increment * multiplier + increment;
            }
            increment = increment * multiplier + increment;
            multiplier *= multiplier;
        }
        state = state * total_multiplier + total_increment;
    }
};
