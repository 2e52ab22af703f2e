// fuzz_support.h -- helpers shared by the fuzz targets and their seed maker.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

// A folder of this process's own under /tmp, made on first use and removed
// at a normal exit; scratch files and anything a target writes go there.
const std::string& scratch_folder();

// Writes `size` bytes to a scratch file called `name` in the scratch folder
// and returns its path.
const std::string& scratch_file(const uint8_t* data, size_t size, const char* name = "input");

// Stops the run with a message when an invariant does not hold.
void require(bool condition, const char* what);

// An uncompressed 24-bit TGA of width x height (bottom row first) whose
// pixel (x, y) has the grey level `grey(x, y)`; id_length bytes of ID field.
std::vector<uint8_t> make_tga(int width, int height, int id_length, uint8_t (*grey)(int x, int y));

// Whole-file helpers: 1 on success.
int write_bytes(const std::string& path, const std::vector<uint8_t>& bytes);
int read_bytes(const std::string& path, std::vector<uint8_t>& bytes);

}  // namespace fuzz
