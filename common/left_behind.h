// left_behind.h -- files named for the process that wrote them, and whether
// that process is gone: what a killed program leaves behind.
#pragma once

namespace common {

// 1 when `name`, in the folder open as `dir_fd`, is "<prefix><pid><after_pid>..."
// of a process that no longer exists, and is a regular file of this user;
// 0 otherwise (our own process, a running one, a name without a process id,
// a link or another user's file).
int left_behind(int dir_fd, const char* name, const char* prefix, char after_pid);

}  // namespace common
