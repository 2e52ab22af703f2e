// left_behind.cpp -- recognises the files of processes that are gone.
#include "common/left_behind.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace common {

int left_behind(int dir_fd, const char* name, const char* prefix, char after_pid) {
    const size_t prefix_length = std::strlen(prefix);
    if (std::strncmp(name, prefix, prefix_length) != 0) return 0;
    const char* digits = name + prefix_length;
    char* end = nullptr;
    errno = 0;
    const long pid = std::strtol(digits, &end, 10);
    if (end == digits || *end != after_pid || errno != 0 || pid <= 0 || pid == long(getpid())) return 0;
    // A process we may not signal (EPERM) still exists.
    if (kill(pid_t(pid), 0) == 0 || errno != ESRCH) return 0;
    struct stat info;
    return fstatat(dir_fd, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
           info.st_uid == geteuid();
}

}  // namespace common
