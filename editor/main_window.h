// main_window.h -- the editor's main window, its menu and the file, help and dialog commands.
#pragma once
#include <QString>
#include <QStringList>

class QApplication;
class QMainWindow;
class QWidget;

namespace vision {
struct Document;
struct SaveReport;
}

namespace editor {
struct EditorState;

// Menu command ids, kept as each QAction's data.
enum MenuId {
    menu_load = 100,
    menu_save = 101,
    menu_exit = 102,
    menu_show_in_simulator = 103,
    menu_report = 104,
    menu_print_report = 105,
    menu_save_web_page = 106,
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
// the new-document defaults, which are also its unchanged state; the working
// directory is recorded as the start-up directory and the remembered chooser
// folders are cleared (the choosers then open in home or Pictures).
void start_editor_state(EditorState& state, vision::Document& doc);

// Builds the main window over `state`: title, icon, menu (each action named
// "menu_<id>" with its id as data and its shortcut: Ctrl+O load, Ctrl+S save,
// F5 show in simulator, Ctrl+Q exit, F1 help), the centred presentation
// picture and the arrow cursor. Closing it asks first when the document has
// unsaved changes. A vision file (*.flt) dropped on it is loaded as
// open_vision_file loads it. The caller owns the window; it is not shown yet.
QMainWindow* create_main_window(EditorState& state);

// Runs the command with menu id `id` as the menu would (unknown ids do nothing).
void run_menu_command(QMainWindow* window, EditorState& state, int id);

// Before the document is replaced or the editor closes (`before` ends the
// question, e.g. "closing"): when the document has unsaved changes, asks
// whether to save them (Save / Discard / Cancel). Returns true to go on:
// nothing changed, Discard, or Save with a save that succeeded.
bool keep_work_before(QWidget* owner, EditorState& state, const QString& before);

// The file commands: choose a file, then read or write the document. A file
// that cannot be read or written is reported in a message box naming it and
// the reason, as are background pictures that could not be embedded. Load
// first asks about unsaved changes. The first save after a load asks whether
// to embed pictures that came with the loaded file; "No" saves those slots
// without their pictures while the dialog keeps showing their paths.
// save_vision_command returns true when the document was saved.
void load_vision_command(QWidget* owner, EditorState& state);

// Loads the vision file at `path` as "Load Vision file" loads a chosen one,
// unsaved changes asked about first (a drop, the command line). Returns true
// when it was loaded.
bool open_vision_file(QWidget* owner, EditorState& state, const QString& path);
bool save_vision_command(QWidget* owner, EditorState& state);

// Before the document's pictures go into a file: asks, once per loaded
// file, in a question titled `title`, whether the pictures the loaded file
// named may be copied whole into `into` (e.g. the target's quoted path);
// nothing is asked when there are none. Returns false when the person
// cancels; otherwise the answer is kept for the slots asked about.
bool confirm_loaded_pictures(QWidget* owner, EditorState& state, const QString& title, const QString& into);

// The background pictures a write left out by its `report`, one line each
// ("Background 1: PATH (why)"); empty when every picture is in.
QStringList missing_pictures(const EditorState& state, const vision::SaveReport& report);

// `relative` (e.g. "readme.txt") in `program_dir` when it is there, else in
// the installed data folder `program_dir`/../share/vitrion; the first when
// neither has it, so a message can name where it was looked for.
QString find_data_file(const QString& program_dir, const QString& relative);

// The help page and readme beside the program (or in its installed data
// folder), whatever the current or start-up directory.
QString help_page_path();
QString readme_path();

// The whole program: state, window maximized on its screen, event loop.
// `file`, when not empty, is loaded once the window shows, after a kept
// copy of unsaved work was offered back. Returns the exit code, 0 after
// "Exit" or closing the window.
int run_editor(QApplication& app, const QString& file = {});

}  // namespace editor
