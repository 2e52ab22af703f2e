// background_dialog.h -- the background definition (DLG_BACKGROUND): four picture slots.
#pragma once
class QDialog;
class QWidget;

namespace editor {
struct EditorState;

// Builds the dialog over `owner`; each control is named "ctl_<id>". Every
// button acts on the document at once ("search image", "look", "erase"), so
// "OK" and the close box only end it. The caller owns the dialog.
QDialog* create_background_dialog(QWidget* owner, EditorState& state);

// Runs the dialog modally until "OK" or the close box.
void run_background_dialog(QWidget* owner, EditorState& state);

}  // namespace editor
