// jpeg_decode.cpp -- JPEG decoding from a positioned stream.
//
// The library reports fatal errors through error_exit, which here prints the
// message and longjmps back to the recovery point of the step that was
// running. Each step that can fail lives in its own small function holding
// nothing with a destructor and changing no local after its setjmp; all state
// the steps share lives in a Decoder owned by decode_jpeg_stream.
//
// Files, memory buffers (through fmemopen) and the fuzz targets all take the
// one stream path, so what is fuzzed is what the simulator runs.
#include "sim/platform/jpeg_decode.h"

#include <csetjmp>
#include <new>

#include <jpeglib.h>

#include "common/trace.h"
#include "sim/platform/jpeg_errors.h"

namespace platform {
namespace {

// The library calls its progress monitor before each step of reading the
// scans of a multi-scan picture; ours counts scans and the blocks each step
// visits, and stops the decoding through the recovery point past the limits.
struct WorkMonitor {
    jpeg_progress_mgr manager;  // first, so the library's pointer is ours too
    RecoveringErrors* errors;
    long long block_visits;
    int reading_scans;  // counts only while the scans are read in
};

struct Decoder {
    jpeg_decompress_struct info;
    RecoveringErrors errors;
    WorkMonitor monitor;
    JSAMPARRAY row;  // a grey picture's scanline, from the library's image pool
    int width, height;  // the size the picture is decoded at
    PictureLimits limits;
};

[[noreturn]] void refuse_decoding(WorkMonitor* monitor, const char* why) {
    std::fprintf(stderr, "JPEG picture refused: %s\n", why);
    std::longjmp(monitor->errors->recovery, 1);
}

void watch_work(j_common_ptr common) {
    auto* monitor = reinterpret_cast<WorkMonitor*>(common->progress);
    if (!monitor->reading_scans || !common->is_decompressor) return;
    const auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number > max_jpeg_scans) refuse_decoding(monitor, "too many scans");
    // One step reads one row of MCUs of the current scan; a scan of one
    // component steps over as many block rows as its vertical sampling.
    long long blocks = (long long)info->MCUs_per_row * info->blocks_in_MCU;
    if (info->comps_in_scan == 1 && info->cur_comp_info[0]) blocks *= info->cur_comp_info[0]->v_samp_factor;
    monitor->block_visits += blocks > 0 ? blocks : 1;
    if (monitor->block_visits > max_jpeg_block_visits) refuse_decoding(monitor, "too much decoding work");
}

// Sets the size the picture is decoded at from its header: a picture the
// simulator can show as it is keeps every library default; a larger photo
// is scaled down by the library while it decodes. Returns 0 when it cannot
// be shown at any scale.
int choose_output_size(Decoder* d) {
    int h_samp[3], v_samp[3];
    for (int c = 0; c < d->info.num_components; ++c) {
        h_samp[c] = d->info.comp_info[c].h_samp_factor;
        v_samp[c] = d->info.comp_info[c].v_samp_factor;
    }
    const long long blocks = picture_size::jpeg_blocks(int(d->info.image_width), int(d->info.image_height),
                                                       d->info.num_components, h_samp, v_samp);
    const int eighths = picture_size::decoded_scale(int(d->info.image_width), int(d->info.image_height), blocks,
                                                    d->width, d->height, d->limits.max_side,
                                                    d->limits.max_pixels);
    if (eighths > 0 && eighths < 8) {
        d->info.scale_num = unsigned(eighths);
        d->info.scale_denom = 8;
    }
    return eighths > 0;
}

// Reads the header, checks the picture's shape and starts decompression,
// which reads in every scan of a multi-scan picture under the monitor.
// Returns 1, or 0 after a library error or when the picture is refused.
int start_decoding(Decoder* d, std::FILE* file) {
    if (setjmp(d->errors.recovery)) return 0;
    jpeg_stdio_src(&d->info, file);
    jpeg_read_header(&d->info, TRUE);
    if (d->info.num_components != 1 && d->info.num_components != 3) {
        std::fprintf(stderr, "JPEG picture with %d components refused\n", d->info.num_components);
        return 0;
    }
    if (!choose_output_size(d)) {
        std::fprintf(stderr, "JPEG picture of %u x %u refused\n", d->info.image_width, d->info.image_height);
        trace::log("Error cargando JPG (2).");
        return 0;
    }
    d->monitor.reading_scans = 1;
    jpeg_start_decompress(&d->info);
    d->monitor.reading_scans = 0;
    if (d->info.output_components != 1 && d->info.output_components != 3) return 0;
    if (d->info.output_width != JDIMENSION(d->width) || d->info.output_height != JDIMENSION(d->height)) return 0;
    // Grey rows are widened to RGB from a row of the library's pool; colour
    // rows need none, they are decoded in place.
    if (d->info.output_components == 1)
        d->row = (*d->info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d->info), JPOOL_IMAGE,
                                              d->info.output_width, 1);
    return 1;
}

// Decodes every scanline into `rgb` (output_width x output_height x 3 bytes).
// A single-scan picture is read in here, row by row, within its size limits.
int read_scanlines(Decoder* d, uint8_t* rgb) {
    if (setjmp(d->errors.recovery)) return 0;
    while (d->info.output_scanline < d->info.output_height) {
        uint8_t* to = rgb + size_t(d->info.output_scanline) * d->info.output_width * 3;
        if (d->info.output_components == 3) {
            // Colour rows come out as they are stored: straight into place.
            JSAMPROW row = to;
            if (jpeg_read_scanlines(&d->info, &row, 1) != 1) return 0;
            continue;
        }
        if (jpeg_read_scanlines(&d->info, d->row, 1) != 1) return 0;
        const JSAMPLE* from = d->row[0];
        for (JDIMENSION x = 0; x < d->info.output_width; ++x) to[3 * x] = to[3 * x + 1] = to[3 * x + 2] = from[x];
    }
    jpeg_finish_decompress(&d->info);
    return 1;
}

int create_decoder(Decoder* d) {
    d->info.err = jpeg_std_error(&d->errors.manager);
    d->errors.manager.error_exit = return_to_recovery;
    if (setjmp(d->errors.recovery)) return 0;
    jpeg_create_decompress(&d->info);
    d->monitor.manager.progress_monitor = watch_work;
    d->monitor.errors = &d->errors;
    d->info.progress = &d->monitor.manager;
    return 1;
}

// Empties `out` but keeps its memory for the next picture decoded into it.
void empty(DecodedPicture& out) {
    out.rgb.clear();
    out.width = out.height = 0;
}

}  // namespace

int decode_jpeg_stream(std::FILE* file, DecodedPicture& out, const PictureLimits& limits) {
    empty(out);
    Decoder decoder{};
    decoder.limits = limits;
    if (!create_decoder(&decoder)) return 0;
    int ok = start_decoding(&decoder, file);
    if (ok) {
        const int width = int(decoder.info.output_width);
        const int height = int(decoder.info.output_height);
        try {
            out.rgb.assign(size_t(width) * size_t(height) * 3, 0);
        } catch (const std::bad_alloc&) {
            trace::log("Error cargando JPG (2).");
            ok = 0;
        }
        if (ok) ok = read_scanlines(&decoder, out.rgb.data());
        if (ok) {
            out.width = width;
            out.height = height;
        }
    }
    jpeg_destroy_decompress(&decoder.info);
    if (!ok) empty(out);
    return ok;
}

int decode_jpeg(const char* path, long offset, DecodedPicture& out, const PictureLimits& limits) {
    empty(out);
    std::FILE* file = std::fopen(path, "rb");
    if (!file) {
        std::fprintf(stderr, "can't open %s\n", path);
        return 0;
    }
    if (offset < 0 || std::fseek(file, offset, SEEK_SET) != 0) {
        std::fprintf(stderr, "can't seek to %ld in %s\n", offset, path);
        std::fclose(file);
        return 0;
    }
    const int ok = decode_jpeg_stream(file, out, limits);
    std::fclose(file);
    return ok;
}

int decode_jpeg_bytes(const uint8_t* data, size_t size, DecodedPicture& out, const PictureLimits& limits) {
    empty(out);
    static const uint8_t nothing = 0;
    // The stream is only read: the buffer is never written through it.
    std::FILE* stream = fmemopen(const_cast<uint8_t*>(size ? data : &nothing), size, "rb");
    if (!stream) return 0;
    const int ok = decode_jpeg_stream(stream, out, limits);
    std::fclose(stream);
    return ok;
}

}  // namespace platform
