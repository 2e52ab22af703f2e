// main.cpp -- vitrion_edit: starts the editor's main window and runs it until exit (or writes a report).
#include <QApplication>

#include "editor/main_window.h"
#include "editor/report_commands.h"

int main(int argc, char** argv) {
    if (const int code = editor::run_report_command_line(argc, argv); code >= 0) return code;
    QApplication app(argc, argv);
    // The X11 window class and the Wayland app id, which the desktop entry's
    // StartupWMClass and file name match; fixed, whatever name started us.
    app.setApplicationName(QStringLiteral("vitrion_edit"));
    app.setDesktopFileName(QStringLiteral("org.vitrion.Editor"));
    return editor::run_editor(app);
}
