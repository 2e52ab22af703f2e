// command_line.h -- what vitrion_sim's command line asks for, toolkit-free.
#pragma once
#include "sim/platform/pictures.h"

namespace shell {

struct Simulator;

inline constexpr char sim_usage[] = "usage: vitrion_sim [--no-intro] [FILE]\n";

// The simulator's command line: `vitrion_sim [--no-intro] [FILE]`.
struct SimCommandLine {
    int no_intro = 0;   // start the simulation at the first tick, as a click on the intro does
    int help = 0;       // --help: print the usage and end
    char file[platform::vision_path_size] = {};  // vision file to load once the simulation starts; "" none
};

// Reads argv[1..argc-1] into `out`. "--" ends the options; a FILE that does
// not start with '/' is taken relative to the working directory and made
// absolute, so a later change of folder cannot lose it. Returns 1, or 0 with
// a one-line reason in `error` (error_size bytes) for an unknown option, a
// second FILE or a path too long.
int parse_sim_command_line(int argc, const char* const* argv, SimCommandLine& out, char* error,
                           int error_size);

// Hands the command line to the simulator state: the intro is skipped and
// the file is loaded when the simulation starts (see start_sequence).
void apply_sim_command_line(Simulator& sim, const SimCommandLine& line);

}  // namespace shell
