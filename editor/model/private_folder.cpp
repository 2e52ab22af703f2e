// private_folder.cpp -- makes and checks folders of this user alone.
#include "editor/model/private_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace editor {

int make_private_folder(const std::string& folder) {
    for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1))
        mkdir(folder.substr(0, slash).c_str(), 0700);
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return 0;
    struct stat info;
    if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid()) return 0;
    if ((info.st_mode & 077) != 0 && chmod(folder.c_str(), info.st_mode & 0700) != 0) return 0;
    return 1;
}

}  // namespace editor
