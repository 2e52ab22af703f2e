// latin1.h -- Latin-1 text (one byte a character, as vision files keep their texts) as UTF-8.
#pragma once
#include <cstddef>

namespace common {

// Writes `text` as UTF-8 into `out` (`out_size` bytes, at least 1), always
// terminated, and stops once fewer than three bytes of room are left, so no
// character is ever cut in half. Returns the length written. Nothing is
// allocated: the simulator converts every frame's texts with it.
inline size_t latin1_to_utf8(const char* text, char* out, size_t out_size) {
    size_t n = 0;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c && n + 2 < out_size; ++c) {
        if (*c < 0x80) {
            out[n++] = char(*c);
        } else {
            out[n++] = char(0xC0 | (*c >> 6));
            out[n++] = char(0x80 | (*c & 0x3F));
        }
    }
    out[n] = '\0';
    return n;
}

}  // namespace common
