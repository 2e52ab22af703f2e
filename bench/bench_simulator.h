// bench_simulator.h -- the simulator the shell benchmarks run: the build's
// default vision, started, every effect on, eyes open.
#pragma once
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "sim/shell/frame.h"
#include "sim/shell/shell.h"

// The folder holding the build's programs and vitrion.dat: the one CMake
// names, else this program's own.
inline std::string bin_directory() {
#ifdef VITRION_BIN_DIR
    return VITRION_BIN_DIR;
#else
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path().string();
#endif
}

// Starts the simulator, runs the start-up loader on `directory`'s vitrion.dat
// and starts the simulation with every effect on and the eyes open. Returns 1.
inline int start_every_effect(shell::Simulator& sim, const std::string& directory, benchmark::State&) {
    shell::on_create(sim);
    std::snprintf(sim.startup_directory, sizeof sim.startup_directory, "%s", directory.c_str());
    shell::on_timer(sim);        // start-up loader
    shell::start_sequence(sim);  // reset scene from the default vision
    engine::EngineState& e = sim.engine;
    e.floaters_active = e.cataracts_active = e.sparks_active = e.stars_active = 1;
    e.sac_refractions_active = e.sunglasses_active = e.retina_shadow_active = 1;
    e.flashes_active = 1;
    sim.blink_state = 0;
    sim.eyelid_position = 0;
    return 1;
}
