// bin_directory.h -- where the benchmarks find the build's vitrion.dat.
#pragma once
#include <filesystem>
#include <string>

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
