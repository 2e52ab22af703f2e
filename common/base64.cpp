// base64.cpp -- RFC 4648 base64, three bytes to four digits.
#include "common/base64.h"

namespace common {
namespace {
constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}  // namespace

size_t base64_length(size_t size) { return (size + 2) / 3 * 4; }

std::string base64_text(const uint8_t* data, size_t size) {
    std::string text;
    text.reserve(base64_length(size));
    size_t i = 0;
    for (; i + 3 <= size; i += 3) {
        const uint32_t group = uint32_t(data[i]) << 16 | uint32_t(data[i + 1]) << 8 | data[i + 2];
        for (int shift = 18; shift >= 0; shift -= 6) text += alphabet[group >> shift & 63];
    }
    if (i < size) {
        const bool two = i + 1 < size;
        const uint32_t group = uint32_t(data[i]) << 16 | (two ? uint32_t(data[i + 1]) << 8 : 0);
        text += alphabet[group >> 18 & 63];
        text += alphabet[group >> 12 & 63];
        text += two ? alphabet[group >> 6 & 63] : '=';
        text += '=';
    }
    return text;
}

}  // namespace common
