// recovery.cpp -- keeps, finds and restores copies of unsaved work.
#include "editor/model/recovery.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "common/left_behind.h"
#include "editor/model/background_slots.h"
#include "editor/model/private_folder.h"
#include "editor/model/unsaved_changes.h"
#include "visionfile/reader.h"
#include "visionfile/writer.h"

namespace editor {
namespace {

constexpr char copy_prefix[] = "unsaved-";

}  // namespace

std::string recovery_folder_from_environment() {
    const char* state_home = std::getenv("XDG_STATE_HOME");
    if (state_home && state_home[0] == '/') return std::string(state_home) + "/vitrion";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.local/state/vitrion";
    return {};
}

int start_recovery(EditorState& state, const std::string& folder) {
    state.recovery = {};
    if (folder.empty() || !make_private_folder(folder)) return 0;
    state.recovery.path = folder + "/" + copy_prefix + std::to_string(getpid()) + ".flt";
    return 1;
}

int update_recovery_copy(EditorState& state) {
    RecoveryCopy& copy = state.recovery;
    if (copy.path.empty() || !state.doc) return 1;
    if (!document_changed(state)) {
        if (copy.written) drop_recovery_copy(state);
        return 1;
    }
    if (copy.written && same_work(*state.doc, *copy.written)) return 1;
    // The save fills in offsets and trims counts: it works on a copy, never
    // on the document the dialogs are editing.
    if (!copy.written) copy.written = std::make_unique<vision::Document>();
    *copy.written = *state.doc;
    if (vision::write_vision_file(*copy.written, copy.path.c_str(), nullptr, vision::Embedding::paths_only))
        return 1;
    copy.written.reset();
    return 0;
}

void drop_recovery_copy(EditorState& state) {
    if (state.recovery.path.empty()) return;
    std::remove(state.recovery.path.c_str());
    state.recovery.written.reset();
}

std::string find_left_copy(const std::string& folder, std::time_t& written_at) {
    std::string newest;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return newest;
    while (const dirent* entry = readdir(dir)) {
        struct stat info;
        if (!common::left_behind(dirfd(dir), entry->d_name, copy_prefix, '.') ||
            fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (newest.empty() || info.st_mtime > written_at) {
            newest = folder + "/" + entry->d_name;
            written_at = info.st_mtime;
        }
    }
    closedir(dir);
    return newest;
}

int restore_left_copy(EditorState& state, const std::string& path) {
    if (!vision::read_vision_file(*state.doc, path.c_str())) return 0;
    mark_pictures_loaded(state);
    // The copy becomes this editor's own: still there should this run end
    // as badly, and removed with the rest once the work is saved.
    RecoveryCopy& copy = state.recovery;
    if (!copy.path.empty() && std::rename(path.c_str(), copy.path.c_str()) == 0) {
        copy.written = std::make_unique<vision::Document>(*state.doc);
    }
    return 1;
}

}  // namespace editor
