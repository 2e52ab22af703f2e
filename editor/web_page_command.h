// web_page_command.h -- File > "Save as web page…": the vision as one page any browser shows,
// and the same from the command line.
#pragma once
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

class QDialog;
class QWidget;

namespace editor {
struct EditorState;

// Control ids of the export dialog.
constexpr int id_include_comments = 300;
constexpr int id_web_page_save = 301;
constexpr int id_web_page_cancel = 302;

// The player's template the editor fills: web/vitrion_player.html beside the
// program, else in its installed data folder (find_data_file).
QString web_player_path();

// Reads the player's template at `path` into `out`. Returns "", or the
// message when there is no such file (the web player is not installed: it
// is built only where emscripten is), it cannot be read, or it does not
// hold each placeholder once.
QString read_web_player(const QString& path, std::string& out);

// Writes the page made of `page_template` (read_web_player accepted it),
// the vision file's bytes and `title` to `path`, through a temporary file
// beside it renamed over it once whole, so a failed write leaves no half
// page and any old file as it was. Returns "" or the message naming `path`.
QString write_web_page(const QString& path, const std::string& page_template, const std::vector<uint8_t>& vision,
                       const std::string& title);

// The export dialog: what the page is, "Include my comments" (off), "The
// page will be ..." for `page_bytes` (its label, named "page_size", keeps
// the number in its property "page_bytes"), "Save…" accepting and "Cancel".
// The comments field of a vision file has a fixed size, so the check box
// does not change the size. The caller owns the dialog.
QDialog* create_web_page_dialog(QWidget* owner, size_t page_bytes);

// The menu command with the template at `player`: the template is checked
// first (a missing or bad one is reported and nothing is asked); pictures a
// loaded file named are asked about as a save asks; the dialog; then a save
// chooser for NAME.html. The page holds the document as it is now, unsaved
// changes included, its comments only when ticked. The document is not
// changed and not marked saved. Failures are reported in a message box.
void save_web_page(QWidget* owner, EditorState& state, const QString& player);
void save_web_page_command(QWidget* owner, EditorState& state);

// For the command line: the page of the vision file at `file`, which is
// refused when damaged (read_vision_for_report), to `out`, its comments
// cleared unless `include_comments`, the template found by web_player_path.
// The vision file's own bytes go into the page, so the pictures it carries
// stay in. Returns "" or the message; nothing is written then.
QString web_page_from_file(const QString& out, const std::string& file, bool include_comments);

}  // namespace editor
