// web_pictures.cpp -- JPEG sizes planned for the browser's decoder, its answers stored, and F8's JPEG handed to the page.
#include "sim/web/web_pictures.h"

#include <emscripten.h>

#include <cstring>
#include <memory>

#include "common/picture_size.h"
#include "sim/platform/jpeg_decode.h"
#include "sim/platform/pictures.h"
#include "visionfile/reader.h"

// clang-format off
EM_JS(int, page_save_jpeg, (const char* name, int quality, const uint8_t* rgb, int width, int height), {
    return VitrionPage.saveJpeg(UTF8ToString(name), quality, rgb, width, height);
});
// clang-format on

namespace platform {
namespace {

int next_byte(std::FILE* f) { return std::fgetc(f); }

int read_u16(std::FILE* f) {
    const int high = next_byte(f), low = next_byte(f);
    return high < 0 || low < 0 ? -1 : high << 8 | low;
}

void refuse(JpegPlan& plan, const char* text) {
    std::snprintf(plan.failure, sizeof plan.failure, "%s", text);
    plan.width = plan.height = 0;
}

// Reads the frame header (SOFn) that `marker` starts and sizes the plan.
void plan_frame(std::FILE* f, JpegPlan& plan) {
    const int length = read_u16(f), precision = next_byte(f);
    const int height = read_u16(f), width = read_u16(f), components = next_byte(f);
    if (length < 8 || precision < 0 || height <= 0 || width <= 0 || components < 0)
        return refuse(plan, "Bogus JPEG frame header");
    if (components != 1 && components != 3) {
        std::snprintf(plan.failure, sizeof plan.failure, "JPEG picture with %d components refused", components);
        return;
    }
    int h_samp[3], v_samp[3];
    for (int c = 0; c < components; ++c) {
        next_byte(f);
        const int factors = next_byte(f);
        next_byte(f);
        if (factors < 0) return refuse(plan, "Premature end of JPEG file");
        h_samp[c] = factors >> 4;
        v_samp[c] = factors & 15;
    }
    const long long blocks = picture_size::jpeg_blocks(width, height, components, h_samp, v_samp);
    if (blocks == 0) return refuse(plan, "Bogus sampling factors");
    if (!picture_size::decoded_scale(width, height, blocks, plan.width, plan.height, max_picture_side,
                                     max_picture_pixels))
        std::snprintf(plan.failure, sizeof plan.failure, "JPEG picture of %d x %d refused", width, height);
}

}  // namespace

JpegPlan plan_jpeg(std::FILE* f, long offset) {
    JpegPlan plan;
    if (offset < 0 || std::fseek(f, offset, SEEK_SET) != 0) {
        refuse(plan, "Premature end of JPEG file");
        return plan;
    }
    const int first = next_byte(f), second = next_byte(f);
    if (first != 0xFF || second != 0xD8) {
        std::snprintf(plan.failure, sizeof plan.failure, "Not a JPEG file: starts with 0x%02x 0x%02x", first & 0xFF,
                      second & 0xFF);
        return plan;
    }
    // Markers up to the frame header; every segment before it has a length.
    for (;;) {
        int c = next_byte(f);
        while (c == 0xFF) c = next_byte(f);
        if (c < 0) {
            refuse(plan, "Premature end of JPEG file");
            return plan;
        }
        const int marker = c;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            plan_frame(f, plan);
            return plan;
        }
        if (marker == 0xD9 || marker == 0xDA) {
            refuse(plan, "JPEG datastream contains no image");
            return plan;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
        const int length = read_u16(f);
        if (length < 2 || std::fseek(f, length - 2, SEEK_CUR) != 0) {
            refuse(plan, "Premature end of JPEG file");
            return plan;
        }
    }
}

int plan_vision_pictures(WebPlatform& platform, const char* path, int32_t* out) {
    auto doc = std::make_unique<vision::Document>();
    if (!vision::read_vision_file(*doc, path)) return 0;
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return 0;
    int n = 0;
    for (const vision::PictureSlot& slot : doc->header.slots) {
        if (slot.picture_offset == 0) continue;
        const JpegPlan plan = plan_jpeg(f, slot.picture_offset);
        out[3 * n] = slot.picture_offset;
        out[3 * n + 1] = plan.width;
        out[3 * n + 2] = plan.height;
        ++n;
        if (plan.failure[0]) {
            PredecodedPicture refused{path, slot.picture_offset, {}, plan.failure};
            platform.pictures.push_back(std::move(refused));
        }
    }
    std::fclose(f);
    return n;
}

void store_picture(WebPlatform& platform, const char* path, long offset, const uint8_t* rgba, int width,
                   int height) {
    for (auto it = platform.pictures.begin(); it != platform.pictures.end(); ++it)
        if (it->offset == offset && it->path == path) {
            platform.pictures.erase(it);
            break;
        }
    PredecodedPicture p{path, offset, {}, {}};
    if (!rgba || width <= 0 || height <= 0) {
        p.failure = "JPEG picture refused: the browser cannot decode it";
    } else {
        p.picture.width = width;
        p.picture.height = height;
        p.picture.rgb.resize(size_t(width) * size_t(height) * 3);
        for (size_t i = 0, n = size_t(width) * size_t(height); i < n; ++i)
            std::memcpy(&p.picture.rgb[3 * i], &rgba[4 * i], 3);
    }
    platform.pictures.push_back(std::move(p));
}

// F8 in the page: the browser encodes the picture and offers it as a download.
int write_jpeg(const char* file_name, int quality, const uint8_t* image, int width, int height) {
    return page_save_jpeg(file_name, quality, image, width, height);
}

}  // namespace platform
