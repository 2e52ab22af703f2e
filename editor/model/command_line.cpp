// command_line.cpp -- reads vitrion_edit's arguments.
#include "editor/model/command_line.h"

#include <climits>

#include "common/arguments.h"

namespace editor {

int parse_edit_command_line(int argc, const char* const* argv, EditCommandLine& out, std::string& error) {
    static const char* const options[] = {"--help", "-h", nullptr};
    out = EditCommandLine{};
    unsigned seen = 0;
    char file[PATH_MAX];
    char reason[PATH_MAX + 64];
    if (!common::scan_arguments(argc, argv, options, seen, file, sizeof file, reason, sizeof reason)) {
        error = reason;
        return 0;
    }
    out.help = seen != 0;
    out.file = file;
    return 1;
}

}  // namespace editor
