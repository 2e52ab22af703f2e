// fuzz_support.cpp -- scratch files, invariant checks and a TGA writer for the fuzz targets.
#include "fuzz/fuzz_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

// The sanitizers' report stream stays open when a run closes stderr to
// silence the decoders' warnings (-close_fd_mask=2).
extern "C" __attribute__((weak)) void __sanitizer_report_error_summary(const char* summary);

namespace fuzz {

const std::string& scratch_folder() {
    static std::string folder;
    if (folder.empty()) {
        folder = "/tmp/vitrion-fuzz-" + std::to_string(getpid());
        mkdir(folder.c_str(), 0700);
        // Removed at a normal exit; after a crash it stays for a look.
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratch_folder(), ignored);
        });
    }
    return folder;
}

const std::string& scratch_file(const uint8_t* data, size_t size, const char* name) {
    static std::map<std::string, std::string> paths;
    std::string& path = paths[name];
    if (path.empty()) path = scratch_folder() + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) require(false, "cannot write the scratch file");
    if (size) std::fwrite(data, 1, size, file);
    std::fclose(file);
    return path;
}

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    if (__sanitizer_report_error_summary) {
        const std::string summary = std::string("invariant broken: ") + what;
        __sanitizer_report_error_summary(summary.c_str());
    }
    std::abort();
}

std::vector<uint8_t> make_tga(int width, int height, int id_length, uint8_t (*grey)(int x, int y)) {
    std::vector<uint8_t> tga(18 + size_t(id_length), 0);
    tga[0] = uint8_t(id_length);
    tga[2] = 2;  // uncompressed true colour
    tga[12] = uint8_t(width);
    tga[13] = uint8_t(width >> 8);
    tga[14] = uint8_t(height);
    tga[15] = uint8_t(height >> 8);
    tga[16] = 24;
    for (int i = 0; i < id_length; ++i) tga[18 + i] = uint8_t('a' + i % 26);
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x) {
            const uint8_t g = grey(x, y);
            tga.insert(tga.end(), {g, g, g});
        }
    return tga;
}

int write_bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

int read_bytes(const std::string& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return 0;
    uint8_t block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.insert(bytes.end(), block, block + got);
    std::fclose(file);
    return 1;
}

}  // namespace fuzz
