// web_pictures.h -- what the page decodes ahead of a vision file's use, and its answers.
#pragma once
#include <cstdint>
#include <cstdio>

#include "sim/web/web_platform.h"

namespace platform {

// The size the browser is to decode one JPEG at, read from its frame
// header with the desktop decoder's limits: the picture's own size, or the
// reduced size picture_size::decoded_scale gives a larger one. `failure`
// holds the desktop decoder's text when the picture is refused (not a JPEG,
// four components, too large even at an eighth); width and height are then 0.
struct JpegPlan {
    int width = 0, height = 0;
    char failure[96] = {};
};

// Plans the JPEG at `offset` of the open file `file`.
JpegPlan plan_jpeg(std::FILE* file, long offset);

// The picture slots of the vision file at `path` that hold a picture
// (offset != 0), with their plans: up to 4 entries of offset, width and
// height (0 x 0 for a refused one, whose reason is stored at once in
// `platform`). Returns how many, 0 when the file cannot be read.
int plan_vision_pictures(WebPlatform& platform, const char* path, int32_t* out);

// Stores what the browser decoded: `rgba` holds width x height pixels of
// four bytes, or is null when the browser could not decode the picture.
void store_picture(WebPlatform& platform, const char* path, long offset, const uint8_t* rgba, int width,
                   int height);

}  // namespace platform
