// floater_map_dialog.cpp -- PLACEHOLDER until the floater map dialog lands.
#include "editor/floater_map_dialog.h"

namespace editor {
void run_floater_map_dialog(QWidget*, EditorState&) {}
}  // namespace editor
