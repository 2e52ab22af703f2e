// file_choosers.cpp -- the file choosers over QFileDialog and the desktop opener.
#include "editor/file_choosers.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

#include "editor/messages.h"
#include "editor/model/editor_state.h"

namespace editor {
namespace {

ChooserFunction& chooser_override() {
    static ChooserFunction chooser;
    return chooser;
}

ShellFunction& shell_override() {
    static ShellFunction shell;
    return shell;
}

// The non-native dialog behaves the same on every desktop and can be driven
// by tests.
QString run_file_dialog(const ChooserRequest& request) {
    QFileDialog dialog(request.owner, request.title, request.start_folder);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(request.must_exist ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(request.must_exist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // Replacing an existing file without asking is the save command's behaviour.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    // "photo.JPG" is as much a JPEG picture as "photo.jpg".
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    QStringList filters;
    for (const FileType& type : request.types) filters << qt_filter(type);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.front());
    dialog.setDefaultSuffix(request.default_suffix);
    if (!request.suggested_name.isEmpty()) dialog.selectFile(request.suggested_name);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.front();
}

// The remembered folder, else `fallback`.
QString folder_or(const std::string& remembered, const QString& fallback) {
    return remembered.empty() ? fallback : QString::fromStdString(remembered);
}

bool choose_file(QWidget* owner, std::string& remembered, const QString& start_folder,
                 const QString& title, const QList<FileType>& types,
                 const QString& default_suffix, bool must_exist, ChosenFile& out,
                 const QString& suggested_name = {}) {
    out = ChosenFile{};
    ChooserRequest request{owner, title, types, default_suffix, start_folder, must_exist, suggested_name};
    const QString chosen = chooser_override() ? chooser_override()(request) : run_file_dialog(request);
    if (chosen.isEmpty()) return false;
    const QFileInfo info(chosen);
    if (must_exist && !info.isFile()) return false;
    out.path = info.absoluteFilePath();
    out.name = info.fileName();
    out.folder = info.absolutePath();
    if (!out.folder.endsWith('/')) out.folder += '/';
    remembered = out.folder.toStdString();
    return true;
}

}  // namespace

void set_chooser_function(ChooserFunction chooser) { chooser_override() = std::move(chooser); }
void set_shell_function(ShellFunction shell) { shell_override() = std::move(shell); }

QString qt_filter(const FileType& type) {
    // "*.*" matches names without a dot too, which Qt spells "*".
    const QString pattern = type.pattern == "*.*" ? QStringLiteral("*") : type.pattern;
    return type.name + " (" + pattern + ")";
}

const QList<FileType>& picture_file_types() {
    static const QList<FileType> types{{"jpg", "*.jpg *.jpeg *.jpe"}, {"All files", "*.*"}};
    return types;
}

QString vision_start_folder(const EditorState& state) {
    // A file opened from the command line or dropped on the window was never
    // chosen here: its own folder is where its page and report belong.
    const QString open_file_folder =
        state.vision_file.empty() ? QString() : QFileInfo(QString::fromStdString(state.vision_file)).absolutePath();
    return folder_or(state.last_vision_directory,
                     !open_file_folder.isEmpty() && QFileInfo(open_file_folder).isDir() ? open_file_folder
                                                                                          : QDir::homePath());
}

QString picture_start_folder(const EditorState& state) {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString fallback = !pictures.isEmpty() && QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
    return folder_or(state.last_picture_directory, fallback);
}

bool choose_file_to_open(QWidget* owner, EditorState& state, const QString& title,
                         const QList<FileType>& types, const QString& default_suffix,
                         ChosenFile& out) {
    return choose_file(owner, state.last_vision_directory, vision_start_folder(state), title, types,
                       default_suffix, true, out);
}

bool choose_file_to_save(QWidget* owner, EditorState& state, const QString& title,
                         const QList<FileType>& types, const QString& default_suffix,
                         ChosenFile& out, const QString& suggested_name) {
    return choose_file(owner, state.last_vision_directory, vision_start_folder(state), title, types,
                       default_suffix, false, out, suggested_name);
}

bool choose_picture_to_open(QWidget* owner, EditorState& state, const QString& title,
                            const QList<FileType>& types, const QString& default_suffix,
                            ChosenFile& out) {
    return choose_file(owner, state.last_picture_directory, picture_start_folder(state), title,
                       types, default_suffix, true, out);
}

bool open_with_shell(QWidget* owner, const QString& title, const QString& path) {
    // The desktop's opener reports a missing file only in its own way, if at
    // all, so a missing file is said here.
    if (!QFileInfo(path).isFile()) {
        show_warning(owner, title, QString("\"%1\" cannot be opened: there is no such file.").arg(path));
        return false;
    }
    const bool opened = shell_override() ? shell_override()(path)
                                         : QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    if (!opened)
        show_warning(owner, title,
                     QString("The desktop could not open \"%1\": no program to show it was found.").arg(path));
    return opened;
}

}  // namespace editor
