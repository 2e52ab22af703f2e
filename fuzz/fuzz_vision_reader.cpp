// fuzz_vision_reader.cpp -- any bytes read as a vision file give a document
// whose counts stay inside the tables and which saves and reads back intact.
// Everything happens in memory: the reader over the input bytes, the writer
// into a memory stream (no file, no fsync), the reader again over that.
//
// Input: byte 0 even: the remaining bytes are the whole file. Byte 0 odd: the
// remaining bytes are the file from the floater counts on, the header before
// them all zero; this keeps the inputs that reach the records and dots small,
// and small inputs are what the fuzzer mutates quickly.
#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "visionfile/reader.h"
#include "visionfile/writer.h"

namespace {

// The largest file a document without pictures can make: header, 200
// records and 1024 dots of 8 bytes for each.
constexpr size_t largest_save = vision::header_size + 200 * size_t(vision::record_size) + 200 * 1024 * 8;
constexpr size_t counts_offset = offsetof(vision::Header, floater_count);

// The input as file bytes: itself, or placed after a zero header.
const uint8_t* file_of(const uint8_t* data, size_t size, size_t& file_size) {
    static std::vector<uint8_t> file(counts_offset);
    if (size < 1 || (data[0] & 1) == 0) {
        file_size = size ? size - 1 : 0;
        return data + (size ? 1 : 0);
    }
    file.resize(counts_offset + size - 1);
    std::memcpy(file.data() + counts_offset, data + 1, size - 1);
    file_size = file.size();
    return file.data();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static auto doc = std::make_unique<vision::Document>();
    static auto back = std::make_unique<vision::Document>();
    static std::vector<uint8_t> saved(largest_save);
    vision::reset_to_new_document(*doc);

    size_t file_size = 0;
    const uint8_t* file = file_of(data, size, file_size);
    fuzz::require(vision::read_vision_bytes(*doc, file, file_size) == 1, "the bytes are read");
    for (int eye = 0; eye < vision::eyes; ++eye) {
        const int count = doc->header.floater_count[eye];
        fuzz::require(count >= 0 && count <= vision::max_floaters, "floater_count within 0..100");
        for (int i = 0; i < count; ++i) {
            const int dots = doc->records[eye][i].dot_count;
            fuzz::require(dots >= 0 && dots <= vision::dot_capacity, "dot_count within 0..1024");
        }
    }

    // Saving must succeed; picture paths are cleared so the run reads no
    // files of the machine's.
    for (auto& slot : doc->header.slots) std::memcpy(slot.picture_path, vision::unused_path, sizeof vision::unused_path);
    std::FILE* out = fmemopen(saved.data(), saved.size(), "w+b");
    fuzz::require(out != nullptr, "a memory stream");
    const long long length = vision::write_vision_stream(*doc, out);
    std::fclose(out);
    fuzz::require(length >= vision::header_size && size_t(length) <= saved.size(), "the document saves");

    // Only what the file holds is compared, so `back` needs no reset.
    fuzz::require(vision::read_vision_bytes(*back, saved.data(), size_t(length)) == 1, "the save reads back");
    fuzz::require(std::memcmp(&back->header, &doc->header, sizeof doc->header) == 0, "header survives a save");
    for (int eye = 0; eye < vision::eyes; ++eye)
        for (int i = 0; i < doc->header.floater_count[eye]; ++i) {
            const auto& a = doc->records[eye][i];
            fuzz::require(std::memcmp(&a, &back->records[eye][i], sizeof a) == 0, "records survive a save");
            fuzz::require(std::memcmp(doc->x[eye][i], back->x[eye][i], 4 * size_t(a.dot_count)) == 0 &&
                              std::memcmp(doc->y[eye][i], back->y[eye][i], 4 * size_t(a.dot_count)) == 0,
                          "dots survive a save");
        }
    return 0;
}
