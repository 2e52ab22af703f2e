// fuzz_support.h -- helpers shared by the fuzz targets.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Writes `size` bytes to a per-process scratch file and returns its path.
const std::string& scratch_file(const uint8_t* data, size_t size, const char* name = "input");

// Stops the run with a message when an invariant does not hold.
void require(bool condition, const char* what);

}  // namespace fuzz
