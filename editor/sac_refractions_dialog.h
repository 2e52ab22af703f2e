// sac_refractions_dialog.h -- tracing the streaks of light of one eye.
#pragma once
class QWidget;

namespace editor {
struct EditorState;

// Runs the modal sac refractions dialog from state.current_streak over `owner`.
void run_sac_refractions_dialog(QWidget* owner, EditorState& state);

}  // namespace editor
