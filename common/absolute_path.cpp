// absolute_path.cpp -- prefixes a relative path with the working directory.
#include "common/absolute_path.h"

#include <unistd.h>

#include <cstdio>

namespace common {

int absolute_path(const char* path, char* out, int out_size) {
    int length = 0;
    if (path[0] == '/') {
        length = std::snprintf(out, out_size, "%s", path);
    } else {
        char here[4096];
        if (!getcwd(here, sizeof here)) return 0;
        length = std::snprintf(out, out_size, "%s/%s", here, path);
    }
    return length >= 0 && length < out_size;
}

}  // namespace common
