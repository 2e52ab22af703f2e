// writer.cpp -- the vision writer: one complete file, replaced atomically.
//
// The file is assembled under a temporary name in the target's own folder and
// renamed over the target only after every byte is written and flushed. A full
// disk, a read-only folder or a crash midway therefore never damages the
// user's previous file.
#include "visionfile/writer.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/left_behind.h"

namespace vision {
namespace {

constexpr char temp_prefix[] = ".vitrion-save-";
constexpr int max_link_hops = 40;  // as the kernel allows when it resolves a path
constexpr int grey_map_slot = 3;

std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The file a save must replace: `path` itself, or the file at the end of its
// chain of symbolic links (which need not exist yet). Renaming over the link
// would turn it into a plain file and leave its target behind unchanged.
// Returns 0 with errno ELOOP for a chain that does not end.
int resolve_links(const char* path, std::string& target) {
    target = path;
    for (int hop = 0; hop <= max_link_hops; ++hop) {
        struct stat info;
        if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return 1;
        std::string link(size_t(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        const ssize_t length = readlink(target.c_str(), link.data(), link.size());
        if (length < 0) return 0;
        link.resize(size_t(length));
        target = link.empty() || link[0] == '/' ? link : folder_of(target) + "/" + link;
    }
    errno = ELOOP;
    return 0;
}

// The mode a new file gets: the existing target's, else 0666 less the umask.
mode_t mode_for(const char* path) {
    struct stat existing;
    if (stat(path, &existing) == 0) return existing.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Removes our hidden temporary files in `folder` whose saving process no
// longer exists: what a save killed midway leaves behind. Names without a
// process id (or with one still running, or another user's files) are kept.
void remove_stale_temporaries(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir))
        if (common::left_behind(dirfd(dir), entry->d_name, temp_prefix, '-')) unlinkat(dirfd(dir), entry->d_name, 0);
    closedir(dir);
}

// File offsets are int32, so a vision file must stay below 2^31 bytes.
constexpr long long max_file_size = 0x7FFFFFFFLL;

bool is_jpeg_start(const unsigned char* head, size_t got) {
    return got >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
}

// An uncompressed true-colour TGA of 24 bits per pixel with no colour map and
// a non-empty picture: the only kind the grey-map reader takes.
bool is_grey_map_tga(const unsigned char* head, size_t got) {
    return got >= 18 && head[1] == 0 && head[2] == 2 && head[16] == 24 && (head[12] | head[13]) != 0 &&
           (head[14] | head[15]) != 0;
}

enum AppendResult { appended, not_readable = -1, write_failed = -2, not_a_picture = -3 };

// Appends the picture file at `source_path` to `out` when it is a regular file
// holding a picture of slot `slot`'s kind within max_picture_bytes. Sets
// `copied` to the bytes appended. The size taken is the one the file has
// when it is opened, so a file that keeps growing cannot stretch the save.
AppendResult append_picture(std::FILE* out, const char* source_path, int slot, long long room, long long& copied) {
    copied = 0;
    // Opened without waiting: a pipe with no writer would block the open
    // itself; devices such as /dev/zero and pipes are refused as not regular.
    const int fd = open(source_path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return not_readable;
    struct stat info;
    std::FILE* source = nullptr;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !(source = fdopen(fd, "rb"))) {
        close(fd);
        return not_readable;
    }
    unsigned char buffer[65536];
    size_t got = std::fread(buffer, 1, sizeof buffer, source);
    const bool kind_ok = is_jpeg_start(buffer, got) || (slot == grey_map_slot && is_grey_map_tga(buffer, got));
    if (std::ferror(source)) {
        std::fclose(source);
        return not_readable;
    }
    if (!kind_ok || info.st_size > max_picture_bytes) {
        std::fclose(source);
        return not_a_picture;
    }
    long long left = info.st_size;
    while (got > 0 && left > 0) {
        const size_t take = size_t(left) < got ? size_t(left) : got;
        if (copied + static_cast<long long>(take) > room) {
            std::fclose(source);
            errno = EFBIG;
            return write_failed;
        }
        if (std::fwrite(buffer, 1, take, out) != take) {
            std::fclose(source);
            return write_failed;
        }
        copied += static_cast<long long>(take);
        left -= static_cast<long long>(take);
        got = left > 0 ? std::fread(buffer, 1, sizeof buffer, source) : 0;
    }
    const bool failed = std::ferror(source);
    std::fclose(source);
    if (failed) errno = EIO;
    return failed ? write_failed : appended;
}

// Writes the body (pictures and dots) from offset `running` on and fills in
// the document's offsets, then the header and records at offset 0. Returns
// the file's length, or -1.
long long write_contents(Document& doc, std::FILE* out, SaveReport& report, Embedding embedding) {
    Header& header = doc.header;
    for (int32_t& count : header.floater_count)
        count = count < 0 ? 0 : (count > max_floaters ? max_floaters : count);
    for (auto& eye_records : doc.records)
        for (FloaterRecord& record : eye_records)
            record.dot_count = record.dot_count < 0 ? 0
                             : (record.dot_count > dot_capacity ? dot_capacity : record.dot_count);

    const int counts[eyes] = {header.floater_count[0], header.floater_count[1]};
    long long running = header_size + static_cast<long long>(record_size) * (counts[0] + counts[1]);
    if (std::fseek(out, static_cast<long>(running), SEEK_SET) != 0) return -1;

    for (int k = 0; k < picture_slots; ++k) {
        PictureSlot& slot = header.slots[k];
        char path[path_size];
        std::memcpy(path, slot.picture_path, path_size);
        path[path_size - 1] = '\0';  // a damaged file may leave the field unterminated
        if (std::memcmp(slot.picture_path, unused_path, sizeof unused_path) == 0 ||
            embedding == Embedding::paths_only) {
            slot.picture_offset = 0;
            continue;
        }
        long long copied = 0;
        const AppendResult result = append_picture(out, path, k, max_file_size - running, copied);
        if (result == write_failed) return -1;
        if (result != appended) {
            // The picture is not embedded; an offset left from another file
            // would point at unrelated bytes, so the slot reads as empty.
            report.slot_missing[k] = 1;
            report.slot_refused[k] = result == not_a_picture;
            slot.picture_offset = 0;
            continue;
        }
        slot.picture_offset = static_cast<int32_t>(running);
        running += copied;
    }

    for (int eye = 0; eye < eyes; ++eye) {
        for (int i = 0; i < counts[eye]; ++i) {
            FloaterRecord& record = doc.records[eye][i];
            const size_t dots = static_cast<size_t>(record.dot_count);
            if (running + 8LL * record.dot_count > max_file_size) { errno = EFBIG; return -1; }
            record.points_offset = static_cast<int32_t>(running);
            if (std::fwrite(doc.x[eye][i], 4, dots, out) != dots) return -1;
            if (std::fwrite(doc.y[eye][i], 4, dots, out) != dots) return -1;
            running += 8LL * record.dot_count;
        }
    }

    if (std::fseek(out, 0, SEEK_SET) != 0) return -1;
    if (std::fwrite(&header, 1, header_size, out) != size_t(header_size)) return -1;
    for (int eye = 0; eye < eyes; ++eye) {
        const size_t n = static_cast<size_t>(counts[eye]);
        if (std::fwrite(doc.records[eye], record_size, n, out) != n) return -1;
    }
    return running;
}

void sync_folder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

int finish(SaveReport& report, SaveReport* report_out, int ok) {
    if (report_out) *report_out = report;
    return ok;
}

}  // namespace

long long write_vision_stream(Document& doc, std::FILE* out, SaveReport* report_out) {
    SaveReport report;
    const long long length = write_contents(doc, out, report, Embedding::pictures);
    if (length < 0) report.error = errno ? errno : EIO;
    if (report_out) *report_out = report;
    return length;
}

int write_vision_file(Document& doc, const char* path, SaveReport* report_out, Embedding embedding) {
    SaveReport report;
    std::string target;
    if (!resolve_links(path, target)) {
        report.error = errno;
        return finish(report, report_out, 0);
    }
    const std::string folder = folder_of(target);
    remove_stale_temporaries(folder);
    std::string temp_path = folder + "/" + temp_prefix + std::to_string(getpid()) + "-XXXXXX";
    const mode_t mode = mode_for(target.c_str());
    const int fd = mkstemp(temp_path.data());
    if (fd < 0) {
        report.error = errno;
        return finish(report, report_out, 0);
    }
    std::FILE* out = fdopen(fd, "wb");
    int ok = out != nullptr;
    if (!ok) close(fd);
    errno = 0;
    if (ok) ok = write_contents(doc, out, report, embedding) >= 0;
    if (!ok && !report.error) report.error = errno ? errno : EIO;
    if (out) {
        if (ok && (std::fflush(out) != 0 || fsync(fileno(out)) != 0 || fchmod(fileno(out), mode) != 0)) {
            ok = 0;
            report.error = errno;
        }
        if (std::fclose(out) != 0 && ok) {
            ok = 0;
            report.error = errno;
        }
    }
    if (ok && std::rename(temp_path.c_str(), target.c_str()) != 0) {
        ok = 0;
        report.error = errno;
    }
    if (!ok) {
        std::remove(temp_path.c_str());
    } else {
        sync_folder(folder);
        report.error = 0;
    }
    return finish(report, report_out, ok);
}

}  // namespace vision
