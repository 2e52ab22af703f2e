// arguments.cpp -- the command-line scan both programs share.
#include "common/arguments.h"

#include <cstdio>
#include <cstring>

#include "common/absolute_path.h"

namespace common {

namespace {

int option_index(const char* const* options, const char* arg) {
    for (int i = 0; options[i]; ++i)
        if (std::strcmp(options[i], arg) == 0) return i;
    return -1;
}

}  // namespace

int scan_arguments(int argc, const char* const* argv, const char* const* options, unsigned& seen,
                   char* file, int file_size, char* error, int error_size) {
    seen = 0;
    file[0] = '\0';
    const char* given = nullptr;
    bool options_end = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!options_end && arg[0] == '-' && arg[1] != '\0') {
            if (std::strcmp(arg, "--") == 0) {
                options_end = true;
                continue;
            }
            const int index = option_index(options, arg);
            if (index < 0) {
                std::snprintf(error, error_size, "unknown option %s", arg);
                return 0;
            }
            seen |= 1u << index;
            continue;
        }
        if (given) {
            std::snprintf(error, error_size, "one vision file at most, not also %s", arg);
            return 0;
        }
        given = arg;
    }
    if (given && (given[0] == '\0' || !absolute_path(given, file, file_size))) {
        std::snprintf(error, error_size, "the vision file's path is empty or too long");
        file[0] = '\0';
        return 0;
    }
    return 1;
}

}  // namespace common
