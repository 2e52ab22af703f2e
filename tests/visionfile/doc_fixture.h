// doc_fixture.h -- vision documents on the heap for tests (they are 2.2 MB).
#pragma once
#include <cstring>
#include <memory>

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
