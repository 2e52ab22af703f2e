// recovery.h -- a copy of unsaved work on disk, so that a crash, a killed
// editor or a lost session does not take an afternoon's drawing with it.
//
// While the document holds unsaved work, the editor writes it now and then
// as "unsaved-<pid>.flt" in its state folder (pictures by path only) and
// removes the copy once the work is saved, discarded or gone. A copy whose
// editor is no longer running is offered back at the next start.
#pragma once
#include <ctime>
#include <string>

#include "editor/model/editor_state.h"

namespace editor {

// The folder of the copies: $XDG_STATE_HOME/vitrion, else ~/.local/state/vitrion;
// empty when neither can be told.
std::string recovery_folder_from_environment();

// Starts keeping copies in `folder`, made (private to this user) when
// missing. Returns 1, or 0 when the folder cannot be made (no copy is kept).
int start_recovery(EditorState& state, const std::string& folder);

// Brings this editor's copy up to date with the document: written when the
// work is unsaved and differs from what the copy holds, removed when nothing
// is unsaved. Returns 0 when a write failed (it is tried again next time).
int update_recovery_copy(EditorState& state);

// Removes this editor's copy: the work was saved or the person let it go.
void drop_recovery_copy(EditorState& state);

// The newest copy in `folder` left by an editor that is no longer running,
// with the time it was written; "" when there is none.
std::string find_left_copy(const std::string& folder, std::time_t& written_at);

// Makes the left copy at `path` the document, as unsaved work whose pictures
// count as loaded (the first save asks before embedding them), and takes the
// copy over as this editor's own. Returns 0 when it cannot be opened; the
// document and the copy are then left as they are.
int restore_left_copy(EditorState& state, const std::string& path);

}  // namespace editor
