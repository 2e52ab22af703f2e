// floater_map_dialog.h -- the floater map: draw and tune one eye's floaters.
#pragma once
class QWidget;

namespace editor {
struct EditorState;

// Runs the modal floater map for state.current_eye over `owner`.
void run_floater_map_dialog(QWidget* owner, EditorState& state);

}  // namespace editor
