// sim_clip_check.cpp -- reads a clip with libwebp's animation decoder and prints its size, frames and length.
//
// Usage: sim_clip_check CLIP [FOLDER EVERY COUNT]
// Prints "WIDTHxHEIGHT FRAMES frames DURATION ms" and exits 0 when the file
// is an animated WebP whose every frame decodes, 1 otherwise. With FOLDER,
// also writes every EVERY-th frame, COUNT of them, as binary PPM files
// frame_000.ppm ... there (the documentation's clip strip is made from them).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <webp/demux.h>

namespace {

std::vector<uint8_t> read_whole(const char* path) {
    std::vector<uint8_t> bytes;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return bytes;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(file);
    return bytes;
}

int write_ppm(const std::string& path, const uint8_t* rgba, int width, int height) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    for (int i = 0; i < width * height; ++i) std::fwrite(rgba + 4 * i, 1, 3, file);
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 5) {
        std::fprintf(stderr, "usage: %s CLIP [FOLDER EVERY COUNT]\n", argv[0]);
        return 2;
    }
    const std::vector<uint8_t> bytes = read_whole(argv[1]);
    WebPData data{bytes.data(), bytes.size()};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder* decoder = bytes.empty() ? nullptr : WebPAnimDecoderNew(&data, &options);
    if (!decoder) {
        std::fprintf(stderr, "%s: not an animated WebP file\n", argv[1]);
        return 1;
    }
    WebPAnimInfo info;
    WebPAnimDecoderGetInfo(decoder, &info);
    const int every = argc == 5 ? std::atoi(argv[3]) : 0;
    const int count = argc == 5 ? std::atoi(argv[4]) : 0;
    int decoded = 0, written = 0, end_ms = 0;
    while (WebPAnimDecoderHasMoreFrames(decoder)) {
        uint8_t* pixels = nullptr;
        if (!WebPAnimDecoderGetNext(decoder, &pixels, &end_ms)) break;
        if (every > 0 && decoded % every == 0 && written < count) {
            char name[32];
            std::snprintf(name, sizeof name, "/frame_%03d.ppm", written++);
            if (!write_ppm(argv[2] + std::string(name), pixels, int(info.canvas_width),
                           int(info.canvas_height)))
                std::fprintf(stderr, "cannot write %s%s\n", argv[2], name);
        }
        ++decoded;
    }
    WebPAnimDecoderDelete(decoder);
    std::printf("%ux%u %d frames %d ms\n", info.canvas_width, info.canvas_height, decoded, end_ms);
    if (decoded != int(info.frame_count) || decoded == 0) {
        std::fprintf(stderr, "%s: %d of %u frames decode\n", argv[1], decoded, info.frame_count);
        return 1;
    }
    return 0;
}
