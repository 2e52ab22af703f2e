// unsaved_changes.cpp -- compares the document with the copy kept at its last load or save.
#include "editor/model/unsaved_changes.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace editor {
namespace {

// A count from a file may lie outside its table; only the table's part counts.
int within(int count, int capacity) { return std::clamp(count, 0, capacity); }

int same_streak(const vision::Streak& a, const vision::Streak& b) {
    if (a.point_count != b.point_count || a.when_seen != b.when_seen) return 0;
    if (std::memcmp(&a.brightness, &b.brightness, sizeof a.brightness) != 0) return 0;
    const size_t bytes = size_t(within(a.point_count, vision::streak_capacity)) * sizeof(int32_t);
    return std::memcmp(a.x, b.x, bytes) == 0 && std::memcmp(a.y, b.y, bytes) == 0;
}

int same_header(const vision::Header& a, const vision::Header& b) {
    for (int slot = 0; slot < vision::picture_slots; ++slot)
        if (std::memcmp(a.slots[slot].picture_path, b.slots[slot].picture_path, vision::path_size) != 0)
            return 0;
    // From myopia_on to the end of the comments the header is all the person's.
    const size_t first = offsetof(vision::Header, myopia_on);
    const size_t end = offsetof(vision::Header, streak);
    if (std::memcmp(reinterpret_cast<const char*>(&a) + first,
                    reinterpret_cast<const char*>(&b) + first, end - first) != 0)
        return 0;
    for (int k = 0; k < vision::streak_entries; ++k)
        if (!same_streak(a.streak[k], b.streak[k])) return 0;
    return a.floater_count[0] == b.floater_count[0] && a.floater_count[1] == b.floater_count[1];
}

}  // namespace

int same_work(const vision::Document& a, const vision::Document& b) {
    if (!same_header(a.header, b.header)) return 0;
    for (int eye = 0; eye < vision::eyes; ++eye) {
        const int floaters = within(a.header.floater_count[eye], vision::max_floaters);
        for (int i = 0; i < floaters; ++i) {
            const vision::FloaterRecord& ra = a.records[eye][i];
            const vision::FloaterRecord& rb = b.records[eye][i];
            // Every word but points_offset, the last one, which a save fills in.
            if (std::memcmp(&ra, &rb, offsetof(vision::FloaterRecord, points_offset)) != 0) return 0;
            const size_t bytes = size_t(within(ra.dot_count, vision::dot_capacity)) * sizeof(int32_t);
            if (std::memcmp(a.x[eye][i], b.x[eye][i], bytes) != 0 ||
                std::memcmp(a.y[eye][i], b.y[eye][i], bytes) != 0)
                return 0;
        }
    }
    return 1;
}

void mark_document_unchanged(EditorState& state) {
    if (!state.doc) return;
    if (!state.unchanged) state.unchanged = std::make_unique<vision::Document>();
    *state.unchanged = *state.doc;
}

int document_changed(const EditorState& state) {
    if (!state.doc) return 0;
    if (!state.unchanged) return 1;
    return same_work(*state.doc, *state.unchanged) ? 0 : 1;
}

}  // namespace editor
