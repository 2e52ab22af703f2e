// report_source.cpp -- the checks a vision file passes before a report is made of it.
#include "editor/model/report_source.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

#include "visionfile/reader.h"

namespace editor {

namespace {

const char* eye_name(int eye) { return eye == 1 ? "right" : "left"; }

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

// The load command's words for a file that cannot be opened.
std::string cannot_open(const std::string& path, int error) {
    return "Could not open " + quoted(path) + ": " + (error ? std::strerror(error) : "unknown error") + ".";
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The problem of the file's layout, or "" when its counts and offsets fit.
std::string layout_problem(std::FILE* file, long size) {
    if (size < vision::header_size)
        return "it is " + std::to_string(size) + " bytes long, shorter than the " +
               std::to_string(vision::header_size) + " bytes every vision file begins with";
    int32_t counts[vision::eyes] = {};
    if (std::fseek(file, offsetof(vision::Header, floater_count), SEEK_SET) != 0 ||
        std::fread(counts, sizeof counts, 1, file) != 1)
        return "its floater counts cannot be read";
    for (int eye = 0; eye < vision::eyes; ++eye)
        if (counts[eye] < 0 || counts[eye] > vision::max_floaters)
            return "it gives the " + std::string(eye_name(eye)) + " eye " + std::to_string(counts[eye]) +
                   " floaters; a vision file holds 0 to " + std::to_string(vision::max_floaters);
    const long records_end = vision::header_size + long(vision::record_size) * (counts[0] + counts[1]);
    if (size < records_end) return "it ends before its floater records";
    for (int eye = 0; eye < vision::eyes; ++eye) {
        for (int i = 0; i < counts[eye]; ++i) {
            vision::FloaterRecord record;
            const long at = vision::header_size + long(vision::record_size) * (eye == 0 ? i : counts[0] + i);
            if (std::fseek(file, at, SEEK_SET) != 0 || std::fread(&record, sizeof record, 1, file) != 1)
                return "its floater records cannot be read";
            const std::string floater =
                "floater " + std::to_string(i + 1) + " of the " + eye_name(eye) + " eye";
            if (record.dot_count < 0 || record.dot_count > vision::dot_capacity)
                return "it gives " + floater + " " + std::to_string(record.dot_count) + " dots";
            if (record.dot_count == 0) continue;
            if (record.points_offset < records_end ||
                record.points_offset + 8LL * record.dot_count > size)
                return "the dots of " + floater + " lie outside the file";
        }
    }
    return "";
}

}  // namespace

std::string read_vision_for_report(const std::string& path, vision::Document& doc, const std::string& made,
                                   std::vector<uint8_t>* bytes) {
    // The reader refuses what is not a regular file and says why in errno.
    vision::reset_to_new_document(doc);
    errno = 0;
    if (!vision::read_vision_file(doc, path.c_str())) return cannot_open(path, errno);
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return cannot_open(path, errno);
    long size = -1;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) size = std::ftell(file.get());
    if (size < 0) return cannot_open(path, errno);
    const std::string problem = layout_problem(file.get(), size);
    if (!problem.empty()) return quoted(path) + " is damaged: " + problem + ". No " + made + " was made.";
    if (bytes) {
        bytes->resize(size_t(size));
        errno = 0;
        if (std::fseek(file.get(), 0, SEEK_SET) != 0 ||
            (size > 0 && std::fread(bytes->data(), size_t(size), 1, file.get()) != 1)) {
            bytes->clear();
            return cannot_open(path, errno ? errno : EIO);
        }
    }
    return "";
}

int same_file(const std::string& target, const std::string& vision_path) {
    struct stat a, b;
    return stat(target.c_str(), &a) == 0 && stat(vision_path.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

}  // namespace editor
