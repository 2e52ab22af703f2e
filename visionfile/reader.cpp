// reader.cpp -- the vision reader, hardened against damaged files.
#include "visionfile/reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace vision {
namespace {

// Reads up to `bytes` bytes into `target`; a short file fills only what it has.
void read_bytes(std::FILE* file, void* target, long bytes) {
    if (bytes > 0) std::fread(target, 1, static_cast<size_t>(bytes), file);
}

long file_size(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return 0;
    long size = std::ftell(file);
    return size < 0 ? 0 : size;
}

// Opens `path` for reading only when it is a regular file: a folder reads no
// bytes and a pipe or device could block the program forever. The open does
// not wait (a pipe without a writer would otherwise block right there).
std::FILE* open_regular_file(const char* path) {
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info;
    const int known = fstat(fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
        const int reason = !known ? errno : S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        close(fd);
        errno = reason;
        return nullptr;
    }
    std::FILE* file = fdopen(fd, "rb");
    if (!file) close(fd);
    return file;
}

}  // namespace

int read_vision_file(Document& doc, const char* path) {
    std::FILE* file = open_regular_file(path);
    if (!file) return 0;
    read_vision_stream(doc, file);
    std::fclose(file);
    return 1;
}

int read_vision_bytes(Document& doc, const uint8_t* data, size_t size) {
    static const uint8_t nothing = 0;
    // The stream is only read: the buffer is never written through it.
    std::FILE* stream = fmemopen(const_cast<uint8_t*>(size ? data : &nothing), size, "rb");
    if (!stream) return 0;
    read_vision_stream(doc, stream);
    std::fclose(stream);
    return 1;
}

int read_vision_stream(Document& doc, std::FILE* file) {
    const long size = file_size(file);
    std::fseek(file, 0, SEEK_SET);

    read_bytes(file, &doc.header, header_size);
    for (int32_t& count : doc.header.floater_count) count = std::clamp(count, 0, max_floaters);

    for (int eye = 0; eye < eyes; ++eye)
        read_bytes(file, doc.records[eye], long(record_size) * doc.header.floater_count[eye]);

    for (int eye = 0; eye < eyes; ++eye) {
        for (int i = 0; i < doc.header.floater_count[eye]; ++i) {
            FloaterRecord& record = doc.records[eye][i];
            record.dot_count = std::clamp(record.dot_count, 0, dot_capacity);
            if (record.points_offset < 0 || record.points_offset >= size) continue;
            if (std::fseek(file, record.points_offset, SEEK_SET) != 0) continue;
            read_bytes(file, doc.x[eye][i], 4L * record.dot_count);
            read_bytes(file, doc.y[eye][i], 4L * record.dot_count);
        }
    }
    return 1;
}

}  // namespace vision
