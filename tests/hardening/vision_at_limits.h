// vision_at_limits.h -- vision files with counts, offsets and floats at or past their limits, and the simulator's invariants.
#pragma once
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "sim/shell/shell.h"

namespace hardening {

// One field of a written vision file set to a raw 32-bit value.
struct Patch {
    long offset;    // file offset of the field
    int32_t value;  // its new bits (floats as their bit pattern)
};

// A named set of patches.
struct LimitCase {
    const char* name;
    std::vector<Patch> patches;
};

// Writes into `folder` a vision file with every effect on, two floaters per
// eye, streaks, two scene JPEGs, an intro JPEG and a grey-map TGA, and
// returns its bytes. Records lie at header_size + 40 * n (left eye first).
std::vector<uint8_t> base_vision_file(const std::string& folder);

// The case's name and patches, for test names and failure messages.
void PrintTo(const LimitCase& c, std::ostream* out);

// Returns `bytes` with every patch applied (patches past the end are skipped).
std::vector<uint8_t> patched(std::vector<uint8_t> bytes, const std::vector<Patch>& patches);

int32_t float_bits(float value);

// File offsets of fields of the base file.
long header_field(size_t offset_in_header);
long record_field(int record, int word);  // record 0..3: left 0, 1, right 0, 1
long streak_field(int streak, size_t offset_in_streak);

// Checks the engine's counts against their tables; empty when all hold,
// else the first broken invariant.
std::string broken_invariant(const shell::Simulator& sim);

}  // namespace hardening
