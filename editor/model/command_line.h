// command_line.h -- what vitrion_edit's command line asks for, toolkit-free.
#pragma once
#include <string>

namespace editor {

// The editor's command line: `vitrion_edit [FILE]`.
struct EditCommandLine {
    std::string file;  // vision file to load at start, absolute; "" none
    int help = 0;      // --help: print the usage and end
};

// Reads argv[1..argc-1] (what the toolkit left of them) into `out`. "--"
// ends the options; a relative FILE is made absolute. Returns 1, or 0 with a
// one-line reason in `error` for an unknown option, a second FILE or a path
// too long.
int parse_edit_command_line(int argc, const char* const* argv, EditCommandLine& out, std::string& error);

// The commands that make a file from a vision file without a window.
enum class FileCommand { none, report, web_page };

// `vitrion_edit --report OUT.pdf FILE.flt` or
// `vitrion_edit --web-page OUT.html [--include-comments] FILE.flt`.
struct FileCommandLine {
    FileCommand command = FileCommand::none;  // none: argv[1] asks for neither
    std::string out;                          // the file to write, as given
    std::string file;                         // the vision file, absolute
    int include_comments = 0;                 // --include-comments (web page only)
};

// Reads a file command from argv[1..argc-1] into `out`: argv[1] names the
// command, argv[2] is OUT, and the rest is the one vision file and the
// command's options, "--" ending them. Returns 1 (command none when argv[1]
// is no file command), or 0 with `out.command` set and a one-line reason in
// `error` when OUT or the vision file is missing or an argument is wrong.
int parse_file_command_line(int argc, const char* const* argv, FileCommandLine& out, std::string& error);

// "usage: ..." with every command line of vitrion_edit, one a line, or
// with that of `command` alone.
std::string edit_usage(FileCommand command = FileCommand::none);

}  // namespace editor
