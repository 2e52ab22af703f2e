// background_slots.h -- naming, erasing and checking the four background picture slots.
#pragma once
#include <string>

#include "editor/model/editor_state.h"
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

// The size of the scene pictures the simulator looks around in.
constexpr int scene_width = 1280;
constexpr int scene_height = 960;

// A JPEG picture's own size and the size the simulator shows it at: the
// same for a picture up to 1280 x 960, reduced for a larger photo, 0 x 0
// when the simulator cannot show it at all (common/picture_size.h).
struct JpegSize {
    int width = 0, height = 0;
    int shown_width = 0, shown_height = 0;
};

// Reads a JPEG picture's size from its frame header (the first SOF0..SOF15
// marker, DHT, JPG and DAC excepted) without decoding: only the markers'
// headers are read and every segment body is skipped. Returns 1 with `size`
// set; 0, leaving `size` alone, when the file is not a JPEG or has no whole
// frame header before its first scan.
int read_jpeg_size(const std::string& path, JpegSize& size);

// After a vision file was loaded: every slot that names a file (not "Unused")
// came from that file and is embedded only when the person agrees.
void mark_pictures_loaded(EditorState& state);

// The slots a save has to ask about: from a loaded file, not answered yet,
// naming a regular file of this computer. Fills `slots` (room for 4) and
// returns how many.
int pictures_to_confirm(const EditorState& state, int* slots);

// The person's answer for the slots pictures_to_confirm named.
void answer_pictures(EditorState& state, int embed);

// Gives every slot the person refused the path "Unused" in `copy` (a copy of
// the document about to be saved), so the save embeds nothing for it.
// Returns 1 when any slot was changed.
int leave_out_refused_pictures(const EditorState& state, vision::Document& copy);

}  // namespace editor
