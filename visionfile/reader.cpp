// reader.cpp -- the vision reader, hardened against damaged files.
#include "visionfile/reader.h"

#include <algorithm>
#include <cstdio>

namespace vision {
namespace {

// Reads up to `bytes` bytes into `target`; a short file fills only what it has.
void read_bytes(std::FILE* file, void* target, long bytes) {
    if (bytes > 0) std::fread(target, 1, static_cast<size_t>(bytes), file);
}

long file_size(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return 0;
    long size = std::ftell(file);
    return size < 0 ? 0 : size;
}

}  // namespace

int read_vision_file(Document& doc, const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return 0;
    const long size = file_size(file);
    std::fseek(file, 0, SEEK_SET);

    read_bytes(file, &doc.header, header_size);
    for (int32_t& count : doc.header.floater_count) count = std::clamp(count, 0, max_floaters);

    for (int eye = 0; eye < eyes; ++eye)
        read_bytes(file, doc.records[eye], long(record_size) * doc.header.floater_count[eye]);

    for (int eye = 0; eye < eyes; ++eye) {
        for (int i = 0; i < doc.header.floater_count[eye]; ++i) {
            FloaterRecord& record = doc.records[eye][i];
            record.dot_count = std::clamp(record.dot_count, 0, dot_capacity);
            if (record.points_offset < 0 || record.points_offset >= size) continue;
            if (std::fseek(file, record.points_offset, SEEK_SET) != 0) continue;
            read_bytes(file, doc.x[eye][i], 4L * record.dot_count);
            read_bytes(file, doc.y[eye][i], 4L * record.dot_count);
        }
    }
    std::fclose(file);
    return 1;
}

}  // namespace vision
