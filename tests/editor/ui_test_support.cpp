// ui_test_support.cpp -- the editor fixture's recorders.
#include "ui_test_support.h"

#include <QProcess>
#include <QProcessEnvironment>

#include "editor/file_choosers.h"
#include "editor/main_window.h"
#include "editor/messages.h"

namespace testing_support {

EditorFixture::EditorFixture() : doc(std::make_unique<vision::Document>()) {
    editor::start_editor_state(state, *doc);
    editor::set_chooser_function([this](const editor::ChooserRequest& request) {
        chooser_titles << request.title;
        chooser_folders << request.start_folder;
        chooser_filters.clear();
        for (const editor::FileType& type : request.types) chooser_filters << editor::qt_filter(type);
        chooser_suffix = request.default_suffix;
        chooser_name = request.suggested_name;
        return next_choice;
    });
    editor::set_shell_function([this](const QString& path) {
        opened << path;
        return shell_opens;
    });
    editor::set_message_function([this](const QString&, const QString& text) { messages << text; });
    editor::set_question_function(
        [this](const QString&, const QString& text, QMessageBox::StandardButtons) {
            questions << text;
            return answers.isEmpty() ? QMessageBox::Cancel : answers.takeFirst();
        });
}

EditorFixture::~EditorFixture() {
    editor::set_chooser_function({});
    editor::set_shell_function({});
    editor::set_message_function({});
    editor::set_question_function({});
}

Outcome run_without_display(const QString& program, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    env.insert("LC_ALL", "C.UTF-8");
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Outcome result;
    if (!process.waitForFinished(60000)) return result;
    result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

}  // namespace testing_support
