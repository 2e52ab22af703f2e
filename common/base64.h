// base64.h -- bytes as one line of RFC 4648 base64, as a web page carries them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace common {

// Base64 of `size` bytes at `data` ('+' and '/', '=' padding, no line
// breaks), and its length for `size` bytes without making it.
std::string base64_text(const uint8_t* data, size_t size);
size_t base64_length(size_t size);

}  // namespace common
