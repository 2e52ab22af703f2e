// writer.h -- saves the vision document, its pictures embedded, as one file.
#pragma once
#include <cstdio>

#include "visionfile/document.h"

namespace vision {

// Largest picture file a save embeds: far above any real background picture,
// small enough that a slot naming a huge file cannot swell the vision file.
constexpr long long max_picture_bytes = 64LL << 20;

// What a save achieved beyond its result.
struct SaveReport {
    // 1 for each slot whose picture_path is not "Unused" but whose file was
    // not embedded, for any reason; such a slot gets picture_offset 0.
    int slot_missing[picture_slots] = {0, 0, 0, 0};
    // 1 for each of those slots whose file could be read but is not a picture
    // the slot can hold (see write_vision_file) or is larger than
    // max_picture_bytes. Always a subset of slot_missing.
    int slot_refused[picture_slots] = {0, 0, 0, 0};
    int error = 0;  // errno of the failure when the save failed, else 0
};

// What a save does with the picture files the slots name. A copy of unsaved
// work is written often and only has to carry the paths: the pictures are
// still where the person chose them.
enum class Embedding {
    pictures,    // each slot's picture file goes into the vision file
    paths_only,  // slots keep their paths, with picture_offset 0 and nothing reported missing
};

// Saves `doc` to `path`: header, left-eye records, right-eye records, the
// picture files of slots 0..3 back to back, then each record's X and Y dots.
// Every picture_offset and points_offset in `doc` is set to where its data
// lands.
//
// A slot's file is embedded only when it is a regular file of at most
// max_picture_bytes whose content is a picture of the slot's kind: a JPEG
// (starting with its start-of-image marker) for slots 0..2, a JPEG or an
// uncompressed 24-bit TGA for slot 3 (the grey map of the default vision, a
// scene in a personal one). A vision file received from someone else can
// name any file of the person saving it; this keeps their documents and keys
// out of the files they send back.
//
// The file is written whole under a hidden temporary name beside the target
// (".vitrion-save-<pid>-XXXXXX") and renamed over it only once complete and
// flushed, so a failed save leaves the previous file untouched and no
// temporary file behind. When `path` is a symbolic link, the file it points
// to is replaced that way and the link stays a link. Temporary files of
// earlier saves into that folder whose process is gone (a save killed midway)
// are removed first. Returns 1 on success, 0 on failure (the target is then
// unchanged).
int write_vision_file(Document& doc, const char* path, SaveReport* report = nullptr,
                      Embedding embedding = Embedding::pictures);

// The same file written into an open, seekable stream from its start (for
// instance a memory buffer from fmemopen), with the same embedding rules;
// the stream is neither flushed nor closed. Returns the length of the vision file written, or -1
// when a write or seek failed (errno says why).
long long write_vision_stream(Document& doc, std::FILE* out, SaveReport* report = nullptr);

}  // namespace vision
