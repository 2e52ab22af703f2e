// personal_dialog.cpp -- being written.
#include "editor/personal_dialog.h"
#include <QDialog>
namespace editor {
QDialog* create_personal_dialog(QWidget* owner, EditorState&) { return new QDialog(owner); }
void run_personal_dialog(QWidget*, EditorState&) {}
}  // namespace editor
