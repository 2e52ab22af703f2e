// writer.cpp -- the vision writer: one complete file, replaced atomically.
//
// The file is assembled under a temporary name in the target's own folder and
// renamed over the target only after every byte is written and flushed. A full
// disk, a read-only folder or a crash midway therefore never damages the
// user's previous file.
#include "visionfile/writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace vision {
namespace {

std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The mode a new file gets: the existing target's, else 0666 less the umask.
mode_t mode_for(const char* path) {
    struct stat existing;
    if (stat(path, &existing) == 0) return existing.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// File offsets are int32, so a vision file must stay below 2^31 bytes.
constexpr long long max_file_size = 0x7FFFFFFFLL;

// Appends the whole file at `source_path` to `out`; returns the bytes copied,
// or -1 when the source cannot be opened or is not a regular file (a device
// such as /dev/zero or a pipe named in a damaged file would never end), -2
// when reading or writing fails midway or the vision file would outgrow its
// int32 offsets (`room` bytes are left).
long long append_file(std::FILE* out, const char* source_path, long long room) {
    // Opened without waiting: a pipe with no writer would block the open itself.
    const int fd = open(source_path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info;
    std::FILE* source = nullptr;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !(source = fdopen(fd, "rb"))) {
        close(fd);
        return -1;
    }
    char buffer[65536];
    long long copied = 0;
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, source)) > 0) {
        copied += static_cast<long long>(got);
        if (copied > room) { std::fclose(source); errno = EFBIG; return -2; }
        if (std::fwrite(buffer, 1, got, out) != got) { std::fclose(source); return -2; }
    }
    const bool failed = std::ferror(source);
    std::fclose(source);
    return failed ? -2 : copied;
}

// Writes the body (pictures and dots) from offset `running` on and fills in
// the document's offsets, then the header and records at offset 0.
int write_contents(Document& doc, std::FILE* out, SaveReport& report) {
    Header& header = doc.header;
    const int counts[eyes] = {header.floater_count[0], header.floater_count[1]};
    long long running = header_size + static_cast<long long>(record_size) * (counts[0] + counts[1]);
    if (std::fseek(out, static_cast<long>(running), SEEK_SET) != 0) return 0;

    for (int k = 0; k < picture_slots; ++k) {
        PictureSlot& slot = header.slots[k];
        char path[path_size];
        std::memcpy(path, slot.picture_path, path_size);
        path[path_size - 1] = '\0';  // a damaged file may leave the field unterminated
        if (std::memcmp(slot.picture_path, unused_path, sizeof unused_path) == 0) {
            slot.picture_offset = 0;
            continue;
        }
        const long long copied = append_file(out, path, max_file_size - running);
        if (copied == -2) return 0;
        if (copied == -1) {
            // The picture is not embedded; an offset left from another file
            // would point at unrelated bytes, so the slot reads as empty.
            report.slot_missing[k] = 1;
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
            if (running + 8LL * record.dot_count > max_file_size) { errno = EFBIG; return 0; }
            record.points_offset = static_cast<int32_t>(running);
            if (std::fwrite(doc.x[eye][i], 4, dots, out) != dots) return 0;
            if (std::fwrite(doc.y[eye][i], 4, dots, out) != dots) return 0;
            running += 8LL * record.dot_count;
        }
    }

    if (std::fseek(out, 0, SEEK_SET) != 0) return 0;
    if (std::fwrite(&header, 1, header_size, out) != size_t(header_size)) return 0;
    for (int eye = 0; eye < eyes; ++eye) {
        const size_t n = static_cast<size_t>(counts[eye]);
        if (std::fwrite(doc.records[eye], record_size, n, out) != n) return 0;
    }
    return 1;
}

void sync_folder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

int write_vision_file(Document& doc, const char* path, SaveReport* report_out) {
    SaveReport report;
    for (int32_t& count : doc.header.floater_count)
        count = count < 0 ? 0 : (count > max_floaters ? max_floaters : count);
    for (auto& eye_records : doc.records)
        for (FloaterRecord& record : eye_records)
            record.dot_count = record.dot_count < 0 ? 0
                             : (record.dot_count > dot_capacity ? dot_capacity : record.dot_count);

    const std::string folder = folder_of(path);
    std::string temp_path = folder + "/.vitrion-save-XXXXXX";
    const mode_t mode = mode_for(path);
    const int fd = mkstemp(temp_path.data());
    if (fd < 0) {
        report.error = errno;
        if (report_out) *report_out = report;
        return 0;
    }
    std::FILE* out = fdopen(fd, "wb");
    int ok = out != nullptr;
    if (!ok) close(fd);
    if (ok) ok = write_contents(doc, out, report);
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
    if (ok && std::rename(temp_path.c_str(), path) != 0) {
        ok = 0;
        report.error = errno;
    }
    if (!ok) {
        std::remove(temp_path.c_str());
    } else {
        sync_folder(folder);
        report.error = 0;
    }
    if (report_out) *report_out = report;
    return ok;
}

}  // namespace vision
