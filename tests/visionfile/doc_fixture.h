// doc_fixture.h -- vision documents on the heap for tests (they are 2.2 MB).
#pragma once
#include <cstring>
#include <memory>
#include <vector>

#include "visionfile/document.h"

inline std::unique_ptr<vision::Document> new_document() {
    auto doc = std::make_unique<vision::Document>();
    std::memset(doc.get(), 0, sizeof *doc);
    vision::reset_to_new_document(*doc);
    return doc;
}

inline void set_path(vision::Document& doc, int slot, const char* text) {
    std::memset(doc.header.slots[slot].picture_path, 0, vision::path_size);
    std::strncpy(doc.header.slots[slot].picture_path, text, vision::path_size - 1);
}

// File bytes that pass the writer's picture check: a JPEG start-of-image
// marker and a marker prefix, then `fill` up to `size` bytes.
inline std::vector<unsigned char> jpeg_like(size_t size, unsigned char fill) {
    std::vector<unsigned char> bytes(size, fill);
    const unsigned char start[3] = {0xFF, 0xD8, 0xFF};
    for (size_t i = 0; i < 3 && i < size; ++i) bytes[i] = start[i];
    return bytes;
}

// An 18-byte header of an uncompressed 24-bit TGA of 2 x 2, then `fill`.
inline std::vector<unsigned char> tga_like(size_t size, unsigned char fill) {
    std::vector<unsigned char> bytes(size, fill);
    for (size_t i = 0; i < 18 && i < size; ++i) bytes[i] = 0;
    bytes[2] = 2;
    bytes[12] = bytes[14] = 2;
    bytes[16] = 24;
    return bytes;
}
