// fuzz_support.cpp -- scratch files and invariant checks for the fuzz targets.
#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace fuzz {

const std::string& scratch_file(const uint8_t* data, size_t size, const char* name) {
    static std::map<std::string, std::string> paths;
    std::string& path = paths[name];
    if (path.empty()) path = "/tmp/vitrion-fuzz-" + std::to_string(getpid()) + "-" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) require(false, "cannot write the scratch file");
    if (size) std::fwrite(data, 1, size, file);
    std::fclose(file);
    return path;
}

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

}  // namespace fuzz
