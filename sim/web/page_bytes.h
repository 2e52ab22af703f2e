// page_bytes.h -- the whole of a file as bytes, for the tools that make and check player pages.
#pragma once
#include <cstdint>
#include <cstdio>
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

}  // namespace web_page
