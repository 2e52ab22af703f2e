// command_line.h -- what vitrion_edit's command line asks for, toolkit-free.
#pragma once
#include <string>

namespace editor {

inline constexpr char edit_usage[] =
    "usage: vitrion_edit [FILE]\n"
    "       vitrion_edit --report OUT.pdf FILE.flt\n";

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

}  // namespace editor
