// page_bytes.h -- a file's bytes, and bytes as one line of base64 (RFC 4648, padded, no line breaks) as a page carries them.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace web_page {

// The whole file at `path`; empty when it cannot be read.
inline std::vector<uint8_t> read_file_bytes(const char* path) {
    std::vector<uint8_t> bytes;
    if (std::FILE* f = std::fopen(path, "rb")) {
        uint8_t block[65536];
        for (size_t n; (n = std::fread(block, 1, sizeof block, f)) > 0;) bytes.insert(bytes.end(), block, block + n);
        std::fclose(f);
    }
    return bytes;
}

inline std::string base64(const std::vector<uint8_t>& in) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((in.size() + 2) / 3 * 4);
    for (size_t i = 0; i < in.size(); i += 3) {
        const uint32_t v = uint32_t(in[i]) << 16 | (i + 1 < in.size() ? uint32_t(in[i + 1]) << 8 : 0) |
                           (i + 2 < in.size() ? in[i + 2] : 0);
        out += digits[v >> 18 & 63];
        out += digits[v >> 12 & 63];
        out += i + 1 < in.size() ? digits[v >> 6 & 63] : '=';
        out += i + 2 < in.size() ? digits[v & 63] : '=';
    }
    return out;
}

}  // namespace web_page
