// sac_refractions_dialog.h -- tracing the streaks of light of one eye.
#pragma once
class QDialog;
class QWidget;

namespace editor {
struct EditorState;

// Builds the sac refractions dialog from state.current_streak over `owner`;
// each control is named "ctl_<id>". Traced points, "clear all" and the
// brightness write into the document at once; "OK" stores the radio choice
// into the current streak and accepts, the close box rejects without it.
// The caller owns the dialog.
QDialog* create_sac_refractions_dialog(QWidget* owner, EditorState& state);

// Runs the modal sac refractions dialog from state.current_streak over `owner`.
void run_sac_refractions_dialog(QWidget* owner, EditorState& state);

}  // namespace editor
