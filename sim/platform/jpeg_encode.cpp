// jpeg_encode.cpp -- encodes an RGB image as a baseline JPEG file.
//
// An encoder error (or a write error the library notices) prints the
// library's message and returns to a recovery point instead of ending the
// program; the half-written file is then removed. As in the decoder, the step
// holding the setjmp keeps all its state in an Encoder owned by the caller.
#include <sys/stat.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "sim/platform/pictures.h"
#include "sim/platform/jpeg_errors.h"

namespace platform {
namespace {

struct Encoder {
    jpeg_compress_struct info;
    RecoveringErrors errors;
    JSAMPARRAY row;  // one scanline from the library's image pool
};

int create_encoder(Encoder* e) {
    e->info.err = jpeg_std_error(&e->errors.manager);
    e->errors.manager.error_exit = return_to_recovery;
    if (setjmp(e->errors.recovery)) return 0;
    jpeg_create_compress(&e->info);
    return 1;
}

// Encodes the whole image into `file`. Returns 1, or 0 after a library error.
int encode(Encoder* e, std::FILE* file, int quality, const uint8_t* image, int width, int height) {
    if (setjmp(e->errors.recovery)) return 0;
    jpeg_stdio_dest(&e->info, file);
    e->info.image_width = JDIMENSION(width);
    e->info.image_height = JDIMENSION(height);
    e->info.input_components = 3;
    e->info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&e->info);
    jpeg_set_quality(&e->info, quality, TRUE);
    jpeg_start_compress(&e->info, TRUE);
    e->row = (*e->info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&e->info), JPOOL_IMAGE,
                                          JDIMENSION(width) * 3, 1);
    while (e->info.next_scanline < e->info.image_height) {
        std::memcpy(e->row[0], image + size_t(e->info.next_scanline) * size_t(width) * 3, size_t(width) * 3);
        jpeg_write_scanlines(&e->info, e->row, 1);
    }
    jpeg_finish_compress(&e->info);
    return 1;
}

}  // namespace

int write_jpeg(const char* file_name, int quality, const uint8_t* image, int width, int height) {
    if (!image || width <= 0 || height <= 0 || width > JPEG_MAX_DIMENSION || height > JPEG_MAX_DIMENSION)
        return 0;
    Encoder encoder{};
    if (!create_encoder(&encoder)) return 0;
    std::FILE* file = std::fopen(file_name, "wb");
    if (!file) {
        std::fprintf(stderr, "no puede abrirse el fichero :%s \n", file_name);
        jpeg_destroy_compress(&encoder.info);
        return 0;
    }
    // Only a regular file is removed after a failure: a name that leads to a
    // device must never delete the device node.
    struct stat info;
    const bool regular = fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
    int ok = encode(&encoder, file, quality, image, width, height);
    jpeg_destroy_compress(&encoder.info);
    if (std::ferror(file)) ok = 0;
    if (std::fclose(file) != 0) ok = 0;
    if (!ok) {
        std::fprintf(stderr, "error writing %s\n", file_name);
        if (regular) std::remove(file_name);
    }
    return ok;
}

}  // namespace platform
