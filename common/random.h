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
};
