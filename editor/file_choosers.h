// file_choosers.h -- open and save file choosers, and opening files with the desktop.
#pragma once
#include <functional>

#include <QList>
#include <QString>

class QWidget;

namespace editor {
struct EditorState;

// One entry of a chooser's type list, e.g. {"flt", "*.flt"}; "*.*" means any
// file. Patterns match in any letter case.
struct FileType {
    QString name;
    QString pattern;  // one or more patterns separated by spaces
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
    QString suggested_name;      // the file name a save chooser proposes; "" none
};

// Shows the chooser and returns the chosen full path, or an empty text on cancel.
using ChooserFunction = std::function<QString(const ChooserRequest&)>;
// Opens a path with the desktop's associated application; false when the
// desktop could not start anything for it.
using ShellFunction = std::function<bool(const QString&)>;

// Lets tests stand in for the file dialog and the desktop; an empty function
// restores the real ones.
void set_chooser_function(ChooserFunction chooser);
void set_shell_function(ShellFunction shell);

// Qt filter text for a type: {"flt", "*.flt"} -> "flt (*.flt)", {"All files", "*.*"} -> "All files (*)".
QString qt_filter(const FileType& type);

// The picture types of the background chooser: JPEG first.
const QList<FileType>& picture_file_types();

// Where the vision-file choosers open: the folder last chosen in one, else
// the open vision file's folder, else the user's home.
QString vision_start_folder(const EditorState& state);
// Where the picture chooser opens: the folder of the picture last chosen in
// this run, else the user's Pictures folder when it exists, else home.
QString picture_start_folder(const EditorState& state);

// Lets the user choose an existing vision file, starting in
// vision_start_folder. On success fills `out`, remembers the file's folder
// for the vision choosers and returns true; on cancel clears `out`, changes
// nothing else and returns false.
bool choose_file_to_open(QWidget* owner, EditorState& state, const QString& title,
                         const QList<FileType>& types, const QString& default_suffix,
                         ChosenFile& out);

// The same for a vision file to save (it need not exist; an existing file is
// replaced without asking), sharing the same remembered folder; the chooser
// proposes `suggested_name` when it is not empty.
bool choose_file_to_save(QWidget* owner, EditorState& state, const QString& title,
                         const QList<FileType>& types, const QString& default_suffix,
                         ChosenFile& out, const QString& suggested_name = {});

// The same for an existing picture file, starting in picture_start_folder
// and remembering its own folder.
bool choose_picture_to_open(QWidget* owner, EditorState& state, const QString& title,
                            const QList<FileType>& types, const QString& default_suffix,
                            ChosenFile& out);

// Asks the desktop to open `path` with its associated application. When the
// file is not there or the desktop cannot open it, a warning box titled
// `title` over `owner` names the file; returns whether it was handed over.
bool open_with_shell(QWidget* owner, const QString& title, const QString& path);

}  // namespace editor
