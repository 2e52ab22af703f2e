// shown_copy.cpp -- writes the copy of the document the simulator shows, and finds the simulator.
#include "editor/model/shown_copy.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "common/left_behind.h"
#include "editor/model/background_slots.h"
#include "editor/model/private_folder.h"
#include "visionfile/writer.h"

namespace editor {
namespace {

constexpr char shown_prefix[] = "shown-";
constexpr char suffix[] = ".flt";
constexpr char simulator_name[] = "vitrion_sim";

// Removes the copies whose editor (and so whose simulator's owner) is gone.
void remove_left_copies(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir))
        if (common::left_behind(dirfd(dir), entry->d_name, shown_prefix, '-')) unlinkat(dirfd(dir), entry->d_name, 0);
    closedir(dir);
}

bool executable_file(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string shown_folder_from_environment() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') return std::string(runtime) + "/vitrion";
    const char* temp = std::getenv("TMPDIR");
    const std::string base = temp && temp[0] == '/' ? temp : "/tmp";
    return base + "/vitrion-" + std::to_string(geteuid());
}

std::string write_shown_copy(const EditorState& state, const std::string& folder) {
    if (!state.doc || folder.empty()) {
        errno = EINVAL;
        return {};
    }
    if (!make_private_folder(folder)) {
        if (errno == 0 || errno == EEXIST) errno = EACCES;
        return {};
    }
    remove_left_copies(folder);
    std::string path = folder + "/" + shown_prefix + std::to_string(getpid()) + "-XXXXXX" + suffix;
    std::vector<char> name(path.begin(), path.end());
    name.push_back('\0');
    const int fd = mkstemps(name.data(), int(sizeof suffix - 1));
    if (fd < 0) return {};
    close(fd);
    path = name.data();

    // The writer fills in offsets: it works on a copy of the document.
    auto copy = std::make_unique<vision::Document>(*state.doc);
    leave_out_refused_pictures(state, *copy);
    vision::SaveReport report;
    if (!vision::write_vision_file(*copy, path.c_str(), &report, vision::Embedding::pictures)) {
        std::remove(path.c_str());
        errno = report.error;
        return {};
    }
    return path;
}

std::string find_simulator(const std::string& program_dir, const char* path_list) {
    const std::string beside = program_dir + "/" + simulator_name;
    if (!program_dir.empty() && executable_file(beside)) return beside;
    const std::string list = path_list ? path_list : "";
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        const std::string folder = list.substr(start, end - start);
        // An empty entry means the working directory, which no program
        // should be started from unasked.
        if (!folder.empty() && folder[0] == '/' && executable_file(folder + "/" + simulator_name))
            return folder + "/" + simulator_name;
        start = end + 1;
    }
    return {};
}

}  // namespace editor
