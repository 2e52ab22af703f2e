// command_line.cpp -- reads vitrion_edit's arguments.
#include "editor/model/command_line.h"

#include <climits>
#include <cstring>

#include "common/arguments.h"

namespace editor {
namespace {

struct FileCommandForm {
    FileCommand command;
    const char* name;
    const char* usage;
    const char* options[2];  // ended by nullptr
};

constexpr FileCommandForm file_commands[] = {
    {FileCommand::report, "--report", "vitrion_edit --report OUT.pdf FILE.flt", {nullptr, nullptr}},
    {FileCommand::web_page, "--web-page", "vitrion_edit --web-page OUT.html [--include-comments] FILE.flt",
     {"--include-comments", nullptr}},
};

constexpr char window_usage[] = "vitrion_edit [FILE]";

}  // namespace

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

int parse_file_command_line(int argc, const char* const* argv, FileCommandLine& out, std::string& error) {
    out = FileCommandLine{};
    if (argc < 2) return 1;
    const FileCommandForm* form = nullptr;
    for (const FileCommandForm& candidate : file_commands)
        if (std::strcmp(argv[1], candidate.name) == 0) form = &candidate;
    if (!form) return 1;
    out.command = form->command;
    if (argc < 3 || argv[2][0] == '\0' || (argv[2][0] == '-' && argv[2][1] != '\0')) {
        error = std::string("the file to write must follow ") + form->name;
        return 0;
    }
    out.out = argv[2];
    // What follows OUT is scanned as a command line of its own, OUT in the
    // place of the program's name.
    unsigned seen = 0;
    char file[PATH_MAX];
    char reason[PATH_MAX + 64];
    if (!common::scan_arguments(argc - 2, argv + 2, form->options, seen, file, sizeof file, reason, sizeof reason)) {
        error = reason;
        return 0;
    }
    if (file[0] == '\0') {
        error = "no vision file given";
        return 0;
    }
    out.file = file;
    out.include_comments = (seen & 1u) != 0;
    return 1;
}

std::string edit_usage(FileCommand command) {
    std::string usage;
    const auto add = [&usage](const char* line) {
        usage += usage.empty() ? "usage: " : "       ";
        usage += line;
        usage += '\n';
    };
    if (command == FileCommand::none) add(window_usage);
    for (const FileCommandForm& form : file_commands)
        if (command == FileCommand::none || command == form.command) add(form.usage);
    return usage;
}

}  // namespace editor
