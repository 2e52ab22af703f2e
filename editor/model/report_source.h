// report_source.h -- reading a vision file for a report, refusing one that is damaged.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "visionfile/document.h"

namespace editor {

// Reads the vision file at `path` into `doc` (after the new-document
// defaults) when it is whole. Returns "" on success, else the message to
// show, naming the file and what is wrong: it cannot be opened (the
// reason), it is shorter than a vision header, a floater count lies outside
// 0..100, it ends before its floater records, or a floater's dots lie
// outside the file. The reader alone would read such a file as far as it
// goes; a page for a doctor must not show what the file does not hold, nor
// a page for others. The message for a damaged file ends "No <made> was made."
// With `bytes`, the whole file is read into it from the same opening the
// checks read, so the bytes are those that were checked.
std::string read_vision_for_report(const std::string& path, vision::Document& doc,
                                   const std::string& made = "report", std::vector<uint8_t>* bytes = nullptr);

// 1 when `target` is the same file as `vision_path` (the same device and
// inode, whatever link or spelling leads there): writing a report or a page
// there would destroy the vision. 0 otherwise, also when either is missing.
int same_file(const std::string& target, const std::string& vision_path);

}  // namespace editor
