// reader.h -- loads a vision file (from disk or memory) into the vision document.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "visionfile/document.h"

namespace vision {

// Reads the vision file at `path` over `doc`: the header, floater_count[0]
// left-eye records, floater_count[1] right-eye records, then each record's dots
// from its points_offset. Nothing is reset first, so whatever the file does not
// reach keeps its previous value; a short file is read as far as it goes.
// Values that would index past the tables are made safe on the way in: each
// floater_count is clamped to 0..100 and each dot_count to 0..1024, and a
// points_offset that is negative or past the end of the file reads no dots.
// Returns 1 when the file was opened, 0 when it could not be (the document is
// then unchanged, errno says why). Only regular files are read: a folder,
// pipe or device gives 0, since a pipe or device could block forever.
int read_vision_file(Document& doc, const char* path);

// The same reading of a vision file held in memory (`size` bytes at `data`)
// or open as a seekable stream read from its start; both return 1 (0 only
// when no stream could be made over the bytes). The file, memory and stream
// readers are one code path.
int read_vision_bytes(Document& doc, const uint8_t* data, size_t size);
int read_vision_stream(Document& doc, std::FILE* stream);

}  // namespace vision
