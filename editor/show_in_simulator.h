// show_in_simulator.h -- "Show in simulator": the document as it is now,
// unsaved changes included, shown in a simulator started for it.
#pragma once
#include <QString>

class QWidget;

namespace editor {
struct EditorState;

// Writes the document into a private temporary file (shown_copy.h) and
// starts `program` --no-intro on it as a child of `window`. A simulator this
// window started earlier is ended first, so there is only ever one. The file
// is removed when its simulator ends, also when the editor ends it on exit.
// A copy that cannot be written or a program that does not start is
// reported in a message box. Returns true when the simulator was started.
bool start_shown_simulator(QWidget* window, EditorState& state, const QString& program);

// The menu command: start_shown_simulator with the vitrion_sim beside the
// editor, else the one on the PATH (reported when there is none).
void show_in_simulator_command(QWidget* window, EditorState& state);

}  // namespace editor
