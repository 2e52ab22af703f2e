// editor_state.h -- everything the editor holds besides its widgets.
#pragma once
#include <memory>
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

// Where the path in a picture slot came from. A save embeds the file a slot
// names, so a path that arrived inside a loaded vision file (it may name any
// file of this computer) is embedded only once the person agrees.
enum class PictureOrigin {
    chosen,   // chosen with "search image" in this run, or emptied: embed freely
    loaded,   // came with a loaded vision file: ask before the first save
    allowed,  // came with a loaded file and the person said to embed it
    refused,  // came with a loaded file and the person said not to embed it
};

// The copy of unsaved work kept on disk (recovery.h). Without a path no copy
// is kept, as in tests that build a state of their own.
struct RecoveryCopy {
    std::string path;                           // this editor's copy
    std::unique_ptr<vision::Document> written;  // the work the copy holds; null: no copy on disk
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
    std::vector<int32_t> preview_cover;  // scratch of the floater preview for blocks of damaged files
    std::string startup_directory;     // working directory at start, with no trailing '/'
    std::string last_vision_directory;   // folder of the vision file last loaded or saved
    std::string last_picture_directory;  // folder of the background picture last chosen
    std::string vision_file;           // the vision file last loaded or saved; "" for a new document
    PictureOrigin picture_origin[vision::picture_slots] = {
        PictureOrigin::chosen, PictureOrigin::chosen, PictureOrigin::chosen, PictureOrigin::chosen};
    // The document as it was last created, loaded or saved; the question
    // before closing or loading compares against it.
    std::unique_ptr<vision::Document> unchanged;
    DrawingInput floater_map_input;    // floater map's stroke and last mouse position
    DrawingInput streak_input;         // sac refractions dialog's, kept separately
    RecoveryCopy recovery;
};

}  // namespace editor
