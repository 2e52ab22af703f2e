// command_line.cpp -- reads vitrion_sim's arguments.
#include "sim/shell/command_line.h"

#include <cstdio>

#include "common/arguments.h"
#include "sim/shell/shell.h"

namespace shell {

int parse_sim_command_line(int argc, const char* const* argv, SimCommandLine& out, char* error,
                           int error_size) {
    static const char* const options[] = {"--no-intro", "--help", "-h", nullptr};
    out = SimCommandLine{};
    unsigned seen = 0;
    if (!common::scan_arguments(argc, argv, options, seen, out.file, sizeof out.file, error, error_size))
        return 0;
    out.no_intro = (seen & 1u) != 0;
    out.help = (seen & 6u) != 0;
    return 1;
}

void apply_sim_command_line(Simulator& sim, const SimCommandLine& line) {
    sim.skip_intro = line.no_intro;
    std::snprintf(sim.startup_file, sizeof sim.startup_file, "%s", line.file);
}

}  // namespace shell
