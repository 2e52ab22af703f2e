// command_line.cpp -- reads vitrion_edit's arguments.
#include "editor/model/command_line.h"

#include <climits>
#include <cstring>

#include "common/absolute_path.h"

namespace editor {

int parse_edit_command_line(int argc, const char* const* argv, EditCommandLine& out, std::string& error) {
    out = EditCommandLine{};
    const char* file = nullptr;
    bool options_end = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!options_end && arg[0] == '-' && arg[1] != '\0') {
            if (std::strcmp(arg, "--") == 0) {
                options_end = true;
            } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
                out.help = 1;
            } else {
                error = std::string("unknown option ") + arg;
                return 0;
            }
            continue;
        }
        if (file) {
            error = std::string("one vision file at most, not also ") + arg;
            return 0;
        }
        file = arg;
    }
    if (!file) return 1;
    char path[PATH_MAX];
    if (file[0] == '\0' || !common::absolute_path(file, path, sizeof path)) {
        error = "the vision file's path is empty or too long";
        return 0;
    }
    out.file = path;
    return 1;
}

}  // namespace editor
