// command_line.cpp -- reads vitrion_sim's arguments.
#include "sim/shell/command_line.h"

#include <cstdio>
#include <cstring>

#include "common/absolute_path.h"
#include "sim/shell/shell.h"

namespace shell {

int parse_sim_command_line(int argc, const char* const* argv, SimCommandLine& out, char* error,
                           int error_size) {
    out = SimCommandLine{};
    const char* file = nullptr;
    bool options_end = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!options_end && arg[0] == '-' && arg[1] != '\0') {
            if (std::strcmp(arg, "--") == 0) {
                options_end = true;
            } else if (std::strcmp(arg, "--no-intro") == 0) {
                out.no_intro = 1;
            } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
                out.help = 1;
            } else {
                std::snprintf(error, error_size, "unknown option %s", arg);
                return 0;
            }
            continue;
        }
        if (file) {
            std::snprintf(error, error_size, "one vision file at most, not also %s", arg);
            return 0;
        }
        file = arg;
    }
    if (file && (file[0] == '\0' || !common::absolute_path(file, out.file, sizeof out.file))) {
        std::snprintf(error, error_size, "the vision file's path is empty or too long");
        out.file[0] = '\0';
        return 0;
    }
    return 1;
}

void apply_sim_command_line(Simulator& sim, const SimCommandLine& line) {
    sim.skip_intro = line.no_intro;
    std::snprintf(sim.startup_file, sizeof sim.startup_file, "%s", line.file);
}

}  // namespace shell
