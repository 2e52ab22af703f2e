// background_dialog.cpp -- being written.
#include "editor/background_dialog.h"
#include <QDialog>
namespace editor {
QDialog* create_background_dialog(QWidget* owner, EditorState&) { return new QDialog(owner); }
void run_background_dialog(QWidget*, EditorState&) {}
}  // namespace editor
