// file_choosers.cpp -- the file choosers over QFileDialog and the desktop opener.
#include "editor/file_choosers.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

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
    QStringList filters;
    for (const FileType& type : request.types) filters << qt_filter(type);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.front());
    dialog.setDefaultSuffix(request.default_suffix);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.front();
}

bool choose_file(QWidget* owner, EditorState& state, std::string& last_directory,
                 const QString& title, const QList<FileType>& types,
                 const QString& default_suffix, bool must_exist, ChosenFile& out) {
    out = ChosenFile{};
    if (last_directory.empty()) last_directory = state.startup_directory;
    ChooserRequest request{owner, title, types, default_suffix,
                           QString::fromStdString(last_directory), must_exist};
    const QString chosen = chooser_override() ? chooser_override()(request) : run_file_dialog(request);
    if (chosen.isEmpty()) return false;
    const QFileInfo info(chosen);
    if (must_exist && !info.isFile()) return false;
    out.path = info.absoluteFilePath();
    out.name = info.fileName();
    out.folder = info.absolutePath();
    if (!out.folder.endsWith('/')) out.folder += '/';
    last_directory = out.folder.toStdString();
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

bool choose_file_to_open(QWidget* owner, EditorState& state, const QString& title,
                         const QList<FileType>& types, const QString& default_suffix,
                         ChosenFile& out) {
    return choose_file(owner, state, state.last_open_directory, title, types, default_suffix,
                       true, out);
}

bool choose_file_to_save(QWidget* owner, EditorState& state, const QString& title,
                         const QList<FileType>& types, const QString& default_suffix,
                         ChosenFile& out) {
    return choose_file(owner, state, state.last_save_directory, title, types, default_suffix,
                       false, out);
}

void open_with_shell(const QString& path) {
    if (shell_override()) {
        shell_override()(path);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace editor
