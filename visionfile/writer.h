// writer.h -- saves the vision document, its pictures embedded, as one file.
#pragma once
#include "visionfile/document.h"

namespace vision {

// What a save achieved beyond its result.
struct SaveReport {
    // 1 for each slot whose picture_path is not "Unused" but names no regular
    // file that can be opened; such a slot gets picture_offset 0.
    int slot_missing[picture_slots] = {0, 0, 0, 0};
    int error = 0;  // errno of the failure when the save failed, else 0
};

// Saves `doc` to `path`: header, left-eye records, right-eye records, the
// picture files of slots 0..3 back to back, then each record's X and Y dots.
// Every picture_offset and points_offset in `doc` is set to where its data
// lands. The file is written whole under a temporary name beside `path` and
// renamed over it only once complete and flushed, so a failed save leaves the
// previous file untouched and no temporary file behind.
// Returns 1 on success, 0 on failure (the target is then unchanged).
int write_vision_file(Document& doc, const char* path, SaveReport* report = nullptr);

}  // namespace vision
