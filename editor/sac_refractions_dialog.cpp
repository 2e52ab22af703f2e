// sac_refractions_dialog.cpp -- PLACEHOLDER until the sac refractions dialog lands.
#include "editor/sac_refractions_dialog.h"

namespace editor {
void run_sac_refractions_dialog(QWidget*, EditorState&) {}
}  // namespace editor
