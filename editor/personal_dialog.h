// personal_dialog.h -- the personal information form (DLG_PERSONAL).
#pragma once
class QDialog;
class QWidget;

namespace editor {
struct EditorState;

// Builds the form over `owner` from the document's current values; each
// control is named "ctl_<id>". Trackbars store into the document as they
// move; "ok" stores the check boxes, dioptres and comments and accepts; the
// close box rejects without storing them. The caller owns the dialog.
QDialog* create_personal_dialog(QWidget* owner, EditorState& state);

// Runs the form modally until "ok" or the close box.
void run_personal_dialog(QWidget* owner, EditorState& state);

}  // namespace editor
