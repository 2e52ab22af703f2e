// editor_state.h -- everything the editor holds besides its widgets.
#pragma once
#include <string>

#include "common/random.h"
#include "editor/model/canvas.h"
#include "visionfile/document.h"

namespace editor {

// Mouse state of one drawing dialog. It lives for the whole run: the last
// position starts at (0, 0) and is not reset when the dialog opens again.
struct DrawingInput {
    int drawing = 0;  // 1 while a left-button stroke adds points
    int last_x = 0;   // last mouse position seen, client pixels
    int last_y = 0;
};

// The editor's one instance of its state. Dialogs edit `doc` directly as the
// user works; only "Save Vision file" writes a file.
struct EditorState {
    vision::Document* doc = nullptr;   // the one vision document
    int current_eye = 0;               // eye the floater map edits (0 left, 1 right)
    int current_floater[vision::eyes] = {0, 0};
    int current_streak = 0;            // 0..9
    Random rng;                        // never seeded: previews repeat from run to run
    Canvas canvas;                     // 960 x 720 drawing surface shared by all windows
    std::string startup_directory;     // working directory at start, with no trailing '/'
    std::string last_open_directory;   // folder of the last file chosen to open
    std::string last_save_directory;   // folder of the last file chosen to save
    DrawingInput floater_map_input;    // floater map's stroke and last mouse position
    DrawingInput streak_input;         // sac refractions dialog's, kept separately
};

}  // namespace editor
