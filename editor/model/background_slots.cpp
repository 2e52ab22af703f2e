// background_slots.cpp -- picture slot paths and the JPEG signature check.
#include "editor/model/background_slots.h"

#include <cstdio>
#include <cstring>

namespace editor {

std::string picture_path(const vision::Header& header, int slot) {
    if (slot < 0 || slot >= vision::picture_slots) return {};
    const char* stored = header.slots[slot].picture_path;
    return std::string(stored, strnlen(stored, max_picture_path_length));
}

int set_picture_path(vision::Header& header, int slot, const std::string& path) {
    if (slot < 0 || slot >= vision::picture_slots) return 0;
    if (path.empty() || path.size() > size_t(max_picture_path_length)) return 0;
    char* stored = header.slots[slot].picture_path;
    std::memset(stored, 0, vision::path_size);
    std::memcpy(stored, path.data(), path.size());
    return 1;
}

void erase_picture_path(vision::Header& header, int slot) {
    set_picture_path(header, slot, vision::unused_path);
}

int is_unused_path(const std::string& path) { return path == vision::unused_path ? 1 : 0; }

PictureCheck check_picture_file(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return PictureCheck::unreadable;
    unsigned char start[3] = {0, 0, 0};
    const size_t got = std::fread(start, 1, sizeof start, file);
    std::fclose(file);
    if (got == sizeof start && start[0] == 0xFF && start[1] == 0xD8 && start[2] == 0xFF)
        return PictureCheck::jpeg;
    return PictureCheck::not_jpeg;
}

}  // namespace editor
