// private_folder.h -- folders for files only this user may read.
#pragma once
#include <string>

namespace editor {

// Makes `folder` and any missing parents for this user alone (mode 0700) and
// checks what is there: 1 when `folder` is a real folder (not a link) owned
// by this user, whose group and other permissions are then cleared; 0
// otherwise. The copies kept in such folders hold what a person wrote about
// their eyes, and a folder under /tmp may have been made by someone else.
int make_private_folder(const std::string& folder);

}  // namespace editor
