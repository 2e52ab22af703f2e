// floater_map_dialog.h -- the floater map: draw and tune one eye's floaters.
#pragma once
class QDialog;
class QWidget;

namespace editor {
struct EditorState;

// Builds the floater map for state.current_eye over `owner`, with the eye's
// floater 0 current and its sliders loaded; each control is named
// "ctl_<id>". Dots, buttons and sliders write into the document as the user
// works; the dialog is closed with its close box. The caller owns the dialog.
QDialog* create_floater_map_dialog(QWidget* owner, EditorState& state);

// Runs the modal floater map for state.current_eye over `owner`.
void run_floater_map_dialog(QWidget* owner, EditorState& state);

}  // namespace editor
