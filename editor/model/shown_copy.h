// shown_copy.h -- the document handed to the simulator ("Show in simulator"),
// toolkit-free.
//
// The document, unsaved changes included, is written with its pictures into
// a private temporary file, "shown-<pid>-XXXXXX.flt" in the user's runtime
// folder; the simulator is started on that file, which is removed once the
// simulator ends. The person's own vision file is never written.
#pragma once
#include <string>

#include "editor/model/editor_state.h"

namespace editor {

// Where the shown copies go: $XDG_RUNTIME_DIR/vitrion, else
// <$TMPDIR or /tmp>/vitrion-<uid> (made private by write_shown_copy).
std::string shown_folder_from_environment();

// Writes the document of `state` into a new file in `folder` (made private
// to this user when missing) and returns its path; "" on failure (errno says
// why). Pictures are embedded so the simulator shows them; a background the
// person refused to embed is left out, as a save would leave it out. Nothing
// is asked, and the document, its offsets included, is not changed. Copies
// left by editors that are gone are removed first.
std::string write_shown_copy(const EditorState& state, const std::string& folder);

// The simulator to start: `program_dir`/vitrion_sim when it is an executable
// file, else the first executable vitrion_sim in the ':'-separated
// `path_list` (the PATH; null or empty: none); "" when there is none.
std::string find_simulator(const std::string& program_dir, const char* path_list);

}  // namespace editor
