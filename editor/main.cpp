// main.cpp -- vitrion_edit: starts the editor's main window and runs it until exit (or writes a report or a web page).
#include <QApplication>

#include <cstdio>
#include <string>

#include "editor/main_window.h"
#include "editor/file_command_line.h"
#include "editor/model/command_line.h"

int main(int argc, char** argv) {
    if (const int code = editor::run_file_command_line(argc, argv); code >= 0) return code;
    QApplication app(argc, argv);
    // The X11 window class and the Wayland app id, which the desktop entry's
    // StartupWMClass and file name match; fixed, whatever name started us.
    app.setApplicationName(QStringLiteral("vitrion_edit"));
    app.setDesktopFileName(QStringLiteral("org.vitrion.Editor"));
    // What Qt left of the arguments once it took its own.
    editor::EditCommandLine line;
    std::string error;
    if (!editor::parse_edit_command_line(argc, argv, line, error)) {
        std::fprintf(stderr, "vitrion_edit: %s\n%s", error.c_str(), editor::edit_usage().c_str());
        return 2;
    }
    if (line.help) {
        std::fputs(editor::edit_usage().c_str(), stdout);
        return 0;
    }
    return editor::run_editor(app, QString::fromStdString(line.file));
}
