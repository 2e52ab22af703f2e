// fuzz_vision_reader.cpp -- any bytes read as a vision file give a document
// whose counts stay inside the tables and which saves and reads back intact.
#include <cstring>
#include <memory>

#include "fuzz/fuzz_support.h"
#include "visionfile/reader.h"
#include "visionfile/writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static auto doc = std::make_unique<vision::Document>();
    static auto back = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*doc);

    const std::string& input = fuzz::scratch_file(data, size);
    fuzz::require(vision::read_vision_file(*doc, input.c_str()) == 1, "an existing file opens");
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
    for (auto& slot : doc->header.slots) std::strcpy(slot.picture_path, vision::unused_path);
    const std::string& saved = fuzz::scratch_file(nullptr, 0, "saved");
    fuzz::require(vision::write_vision_file(*doc, saved.c_str()) == 1, "the document saves");
    vision::reset_to_new_document(*back);
    fuzz::require(vision::read_vision_file(*back, saved.c_str()) == 1, "the save reads back");
    fuzz::require(std::memcmp(&back->header, &doc->header, sizeof doc->header) == 0, "header survives a save");
    for (int eye = 0; eye < vision::eyes; ++eye)
        for (int i = 0; i < doc->header.floater_count[eye]; ++i) {
            const auto& a = doc->records[eye][i];
            fuzz::require(std::memcmp(&a, &back->records[eye][i], sizeof a) == 0, "records survive a save");
            fuzz::require(std::memcmp(doc->x[eye][i], back->x[eye][i], 4 * size_t(a.dot_count)) == 0,
                          "dots survive a save");
        }
    return 0;
}
