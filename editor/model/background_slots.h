// background_slots.h -- naming, erasing and checking the four background picture slots.
#pragma once
#include <string>

#include "visionfile/document.h"

namespace editor {

constexpr int max_picture_path_length = vision::path_size - 1;  // 255

// Control ids of the background dialog, row k = slot k.
constexpr int id_first_path_field = 100;    // 100..103
constexpr int id_first_search_button = 104; // 104..107
constexpr int id_first_look_button = 108;   // 108..111
constexpr int id_first_erase_button = 112;  // 112..115
constexpr int id_background_ok = 120;

// The path stored in slot `slot` (up to the first NUL, at most 255 bytes even
// when a file left no NUL); empty for a slot outside 0..3.
std::string picture_path(const vision::Header& header, int slot);

// Stores `path` (UTF-8 bytes) in slot `slot`, zero-filling the rest of the
// field. Refuses (returns 0, slot unchanged) a path longer than 255 bytes,
// an empty path or a slot outside 0..3; returns 1 when stored.
int set_picture_path(vision::Header& header, int slot, const std::string& path);

// Marks slot `slot` empty: its path becomes "Unused".
void erase_picture_path(vision::Header& header, int slot);

// 1 when the path is exactly "Unused" (case-sensitive, nothing after it).
int is_unused_path(const std::string& path);

// What a background file holds, judged by its first bytes.
enum class PictureCheck { jpeg, not_jpeg, unreadable };

// A JPEG file starts with FF D8 FF; anything else (including a file shorter
// than three bytes) is not one.
PictureCheck check_picture_file(const std::string& path);

}  // namespace editor
