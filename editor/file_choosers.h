// file_choosers.h -- open and save file choosers, and opening files with the desktop.
#pragma once
#include <functional>

#include <QList>
#include <QString>

class QWidget;

namespace editor {
struct EditorState;

// One entry of a chooser's type list, e.g. {"flt", "*.flt"}; "*.*" means any file.
struct FileType {
    QString name;
    QString pattern;
};

// What a chooser returns: the full path, the file name (after the last
// folder) and the folder now remembered, with its trailing '/'.
// All three are empty after a cancel.
struct ChosenFile {
    QString path;
    QString name;
    QString folder;
};

// The request a chooser makes, handed to the replaceable chooser function.
struct ChooserRequest {
    QWidget* owner = nullptr;
    QString title;
    QList<FileType> types;       // the first is preselected
    QString default_suffix;      // without the dot, e.g. "flt"
    QString start_folder;        // where the chooser opens
    bool must_exist = false;     // open choosers require an existing file
};

// Shows the chooser and returns the chosen full path, or an empty text on cancel.
using ChooserFunction = std::function<QString(const ChooserRequest&)>;
// Opens a path with the desktop's associated application.
using ShellFunction = std::function<void(const QString&)>;

// Lets tests stand in for the file dialog and the desktop; an empty function
// restores the real ones.
void set_chooser_function(ChooserFunction chooser);
void set_shell_function(ShellFunction shell);

// Qt filter text for a type: {"flt", "*.flt"} -> "flt (*.flt)", {"All files", "*.*"} -> "All files (*)".
QString qt_filter(const FileType& type);

// Lets the user choose an existing file, starting in state.last_open_directory
// (a copy of state.startup_directory the first time). On success fills `out`,
// remembers the file's folder as the last open directory and returns true; on
// cancel clears `out`, changes nothing else and returns false.
bool choose_file_to_open(QWidget* owner, EditorState& state, const QString& title,
                         const QList<FileType>& types, const QString& default_suffix,
                         ChosenFile& out);

// The same for a file to save (it need not exist; an existing file is
// replaced without asking), with state.last_save_directory.
bool choose_file_to_save(QWidget* owner, EditorState& state, const QString& title,
                         const QList<FileType>& types, const QString& default_suffix,
                         ChosenFile& out);

// Asks the desktop to open `path` with its associated application; the
// outcome is not examined.
void open_with_shell(const QString& path);

}  // namespace editor
