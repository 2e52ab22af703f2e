// web_page.h -- a vision as one web page: the player's template filled with
// the vision file and a title, toolkit-free.
//
// The web player is one HTML file built apart from the editor (it needs
// emscripten). Where the vision goes it holds the text @VITRION_VISION@ once,
// inside a <script type="application/octet-stream"> element, and
// @VITRION_TITLE@ once inside <title>. The page is that file with the first
// replaced by the vision file's bytes in base64 and the second by the title.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "visionfile/document.h"
#include "visionfile/writer.h"

namespace editor {

// Where the player's template lies, relative to the editor's data folders
// (find_data_file): beside the program in the build tree, under
// share/vitrion installed.
inline constexpr char web_player_file[] = "web/vitrion_player.html";
inline constexpr char vision_placeholder[] = "@VITRION_VISION@";
inline constexpr char title_placeholder[] = "@VITRION_TITLE@";
// The title of a page made from a document that was never loaded or saved.
inline constexpr char unnamed_vision_title[] = "Vitrion vision";

// What is wrong with `page_template` as a player template, or "" when it
// holds each placeholder exactly once. The text names the placeholder and
// how often it was found.
std::string web_template_problem(const std::string& page_template);

// `text` with &, <, >, " and ' as HTML character references.
std::string html_escaped(const std::string& text);

// The page's title for the vision file at `vision_path`: its name without
// the folder and without a last ".flt" (any letter case); "Vitrion vision"
// when the path is empty or leaves no name.
std::string web_page_title(const std::string& vision_path);

// The length in bytes of the page fill_web_page makes from a good template,
// a vision file of `vision_size` bytes and `title`, without making it.
size_t web_page_size(const std::string& page_template, size_t vision_size, const std::string& title);

// The page: `page_template` (which web_template_problem accepts) with the
// vision placeholder replaced by the base64 of `vision` and the title
// placeholder by `title` HTML-escaped. Placeholder text inside the vision or
// the title is not looked at again.
std::string fill_web_page(const std::string& page_template, const std::vector<uint8_t>& vision,
                          const std::string& title);

// Zeroes the personal comments in the bytes of a vision file, which hold at
// least a whole header; the comments field keeps its size, so the file's
// length and every offset stay as they were.
void clear_comments(std::vector<uint8_t>& vision_bytes);

// The vision file the writer makes of `doc` (pictures embedded), in memory.
// Returns 1 with `out` filled, or 0 (errno and report.error say why).
// `doc`'s offsets are set as a save sets them, so pass a copy.
int write_vision_bytes(vision::Document& doc, std::vector<uint8_t>& out, vision::SaveReport& report);

// "The page will be 1.4 MB." for `bytes`: kB below a megabyte, decimal
// units as the desktop's file manager shows them.
std::string page_size_text(size_t bytes);

}  // namespace editor
