// main.cpp -- vitrion_edit: starts the editor's main window and runs it until exit.
#include <QApplication>

#include "editor/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return editor::run_editor(app);
}
