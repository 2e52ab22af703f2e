// background_slots.cpp -- picture slot paths and the JPEG signature check.
#include "editor/model/background_slots.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "common/picture_size.h"

namespace editor {

std::string picture_path(const vision::Header& header, int slot) {
    if (slot < 0 || slot >= vision::picture_slots) return {};
    const char* stored = header.slots[slot].picture_path;
    return std::string(stored, strnlen(stored, max_picture_path_length));
}

int set_picture_path(vision::Header& header, int slot, const std::string& path) {
    if (slot < 0 || slot >= vision::picture_slots) return 0;
    if (path.empty() || path.size() > size_t(max_picture_path_length)) return 0;
    char* stored = header.slots[slot].picture_path;
    std::memset(stored, 0, vision::path_size);
    std::memcpy(stored, path.data(), path.size());
    return 1;
}

void erase_picture_path(vision::Header& header, int slot) {
    set_picture_path(header, slot, vision::unused_path);
}

int is_unused_path(const std::string& path) { return path == vision::unused_path ? 1 : 0; }

PictureCheck check_picture_file(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return PictureCheck::unreadable;
    unsigned char start[3] = {0, 0, 0};
    const size_t got = std::fread(start, 1, sizeof start, file);
    std::fclose(file);
    if (got == sizeof start && start[0] == 0xFF && start[1] == 0xD8 && start[2] == 0xFF)
        return PictureCheck::jpeg;
    return PictureCheck::not_jpeg;
}

namespace {

// Frame headers: SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
bool is_frame_marker(int marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length: TEM, RST0..7, SOI.
bool is_standalone_marker(int marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8); }

// Real pictures carry a few dozen segments before their frame header; a
// file of endless tiny segments is given up on instead of walked through.
constexpr int max_segments_before_frame = 10000;

int read_jpeg_size_from(std::FILE* file, int& width, int& height, int& channels, long long& blocks) {
    if (std::fgetc(file) != 0xFF || std::fgetc(file) != 0xD8) return 0;
    for (int segments = 0; segments < max_segments_before_frame; ++segments) {
        int c = std::fgetc(file);
        if (c != 0xFF) return 0;
        while (c == 0xFF) c = std::fgetc(file);  // fill bytes before the marker
        if (c == EOF) return 0;
        const int marker = c;
        if (is_standalone_marker(marker)) continue;
        if (marker == 0xD9 || marker == 0xDA) return 0;  // end or first scan: no frame header
        const int high = std::fgetc(file);
        const int low = std::fgetc(file);
        if (high == EOF || low == EOF) return 0;
        const int length = high << 8 | low;  // includes its own two bytes
        if (length < 2) return 0;
        if (is_frame_marker(marker)) {
            // Precision, height, width, channel count, then per channel its
            // id, sampling factors (high and low nibble) and table.
            unsigned char frame[6 + 3 * 4];
            if (length < 2 + 6 || std::fread(frame, 1, 6, file) != 6) return 0;
            height = frame[1] << 8 | frame[2];
            width = frame[3] << 8 | frame[4];
            channels = frame[5];
            if (channels < 1 || channels > 4 || length < 2 + 6 + 3 * channels ||
                std::fread(frame + 6, 1, size_t(3 * channels), file) != size_t(3 * channels))
                return 0;
            int h_samp[4], v_samp[4];
            for (int c = 0; c < channels; ++c) {
                h_samp[c] = frame[6 + 3 * c + 1] >> 4;
                v_samp[c] = frame[6 + 3 * c + 1] & 15;
            }
            blocks = picture_size::jpeg_blocks(width, height, channels, h_samp, v_samp);
            return width > 0 && height > 0;  // a height of 0 would come later in a DNL marker
        }
        if (std::fseek(file, length - 2, SEEK_CUR) != 0) return 0;
    }
    return 0;
}

bool names_regular_file(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

int read_jpeg_size(const std::string& path, JpegSize& size) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return 0;
    JpegSize read;
    int channels = 0;
    long long blocks = 0;
    const int found = read_jpeg_size_from(file, read.width, read.height, channels, blocks);
    std::fclose(file);
    if (!found) return 0;
    // The simulator shows grey and colour pictures only.
    if (channels == 1 || channels == 3)
        picture_size::decoded_scale(read.width, read.height, blocks, read.shown_width, read.shown_height);
    size = read;
    return 1;
}

void mark_pictures_loaded(EditorState& state) {
    for (int slot = 0; slot < vision::picture_slots; ++slot)
        state.picture_origin[slot] = is_unused_path(picture_path(state.doc->header, slot))
                                         ? PictureOrigin::chosen
                                         : PictureOrigin::loaded;
}

int pictures_to_confirm(const EditorState& state, int* slots) {
    int count = 0;
    for (int slot = 0; slot < vision::picture_slots; ++slot) {
        if (state.picture_origin[slot] != PictureOrigin::loaded) continue;
        const std::string path = picture_path(state.doc->header, slot);
        if (!is_unused_path(path) && names_regular_file(path)) slots[count++] = slot;
    }
    return count;
}

void answer_pictures(EditorState& state, int embed) {
    int slots[vision::picture_slots];
    const int count = pictures_to_confirm(state, slots);
    for (int n = 0; n < count; ++n)
        state.picture_origin[slots[n]] = embed ? PictureOrigin::allowed : PictureOrigin::refused;
}

int leave_out_refused_pictures(const EditorState& state, vision::Document& copy) {
    int changed = 0;
    for (int slot = 0; slot < vision::picture_slots; ++slot) {
        if (state.picture_origin[slot] != PictureOrigin::refused) continue;
        erase_picture_path(copy.header, slot);
        changed = 1;
    }
    return changed;
}

}  // namespace editor
