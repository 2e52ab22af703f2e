// main_window.h -- the editor's main window, its menu and the file, help and dialog commands.
#pragma once
#include <QString>

class QApplication;
class QMainWindow;
class QWidget;

namespace vision {
struct Document;
}

namespace editor {
struct EditorState;

// Menu command ids, kept as each QAction's data.
enum MenuId {
    menu_load = 100,
    menu_save = 101,
    menu_exit = 102,
    menu_background = 200,
    menu_personal = 201,
    menu_left_sac_refractions = 202,
    menu_right_sac_refractions = 207,
    menu_left_floaters = 220,
    menu_right_floaters = 221,
    menu_help = 300,
    menu_about = 301,
};

inline constexpr char main_window_title[] = "Vitrion Editor.";

// Prepares the editor's state at start: `doc` becomes the document and gets
// the new-document defaults, the working directory is recorded as the
// start-up directory and both last directories are cleared (each becomes a
// copy of it the first time its chooser runs).
void start_editor_state(EditorState& state, vision::Document& doc);

// Builds the main window over `state`: title, icon, menu (each action named
// "menu_<id>" with its id as data), the centred presentation picture and the
// arrow cursor. The caller owns the window; it is not shown yet.
QMainWindow* create_main_window(EditorState& state);

// Runs the command with menu id `id` as the menu would (unknown ids do nothing).
void run_menu_command(QMainWindow* window, EditorState& state, int id);

// The file commands: choose a file, then read or write the document. A file
// that cannot be read or written is reported in a message box naming it and
// the reason, as are background pictures that could not be embedded.
void load_vision_command(QWidget* owner, EditorState& state);
void save_vision_command(QWidget* owner, EditorState& state);

// The help page and readme in the start-up directory (never the current one).
QString help_page_path(const EditorState& state);
QString readme_path(const EditorState& state);

// The whole program: state, window as large as the screen, event loop.
// Returns the exit code, 0 after "Exit" or closing the window.
int run_editor(QApplication& app);

}  // namespace editor
