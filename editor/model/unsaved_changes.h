// unsaved_changes.h -- whether the document holds work that no file has, toolkit-free.
#pragma once
#include "editor/model/editor_state.h"

namespace editor {

// Remembers the document as it is now as its unchanged state; called after
// the editor starts, after a load and after a successful save.
void mark_document_unchanged(EditorState& state);

// 1 when the document differs from its unchanged state in anything the
// person made: picture paths, the personal fields, the comments, each
// streak's points, brightness and when_seen, the floater counts, and each
// floater's settings and dots. Offsets that a save fills in and entries
// beyond a count do not count. 1 as well when nothing was remembered yet.
int document_changed(const EditorState& state);

// 1 when the two documents hold the same work in the sense above.
int same_work(const vision::Document& a, const vision::Document& b);

}  // namespace editor
