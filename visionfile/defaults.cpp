// defaults.cpp -- the state a new vision document starts from.
#include <cstring>

#include "visionfile/document.h"

namespace vision {

void reset_to_new_document(Document& doc) {
    std::memset(&doc.header, 0, sizeof doc.header);
    for (PictureSlot& slot : doc.header.slots)
        std::memcpy(slot.picture_path, unused_path, sizeof unused_path);
    doc.header.myopia_dioptres = 1;
    for (Streak& streak : doc.header.streak) streak.brightness = 0.5f;
    doc.header.floater_count[0] = 1;
    doc.header.floater_count[1] = 1;
    for (auto& eye_records : doc.records) {
        for (FloaterRecord& record : eye_records) {
            record = FloaterRecord{};
            record.dot_density = 4;
            record.dot_size_x = 1;
            record.dot_size_y = 1;
            record.transparency = 240;
            record.movement_x = 0.8f;
            record.movement_y = 0.8f;
        }
    }
}

}  // namespace vision
