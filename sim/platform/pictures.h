// pictures.h -- pictures decoded from vision files, scene changes and screen capture.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "sim/platform/frame.h"
#include "sim/platform/platform.h"
#include "visionfile/document.h"

namespace platform {

constexpr int grey_map_width = 640;
constexpr int grey_map_height = 480;
constexpr int vision_path_size = 4096;
constexpr int intro_slot = 2;                 // picture slot of the default vision file's intro
constexpr int grey_map_slot = 3;              // and of its grey map (a TGA)

// The simulator's pictures, kept as decoded RGB rows with the precision the
// frame shows (quantize_to_565).
struct Pictures {
    DecodedPicture intro;             // the default vision file's slot 2
    DecodedPicture scene;             // the current scene: what the myopia blur reads
    DecodedPicture blurred;           // the scene blurred, shown while scene_blurred is 1
    int scene_blurred = 0;
    int scene_slot = 0;               // picture slot of the current scene
    char vision_path[vision_path_size] = {};  // file whose pictures are decoded
    // The shown scene and the intro as 5-6-5 pixels (pack_565 of each pixel),
    // made by refresh_shown whenever one of them changes, so that a frame
    // only copies its window.
    std::vector<uint16_t> scene_565, intro_565;
    // The grey map as the engine reads it: always 640 x 480 when present
    // (a smaller TGA is padded with non-shadow pixels), empty when absent.
    std::vector<uint8_t> grey_map;
};

// The scene as the frame shows it: blurred or as decoded.
inline const DecodedPicture& shown_scene(const Pictures& pictures) {
    return pictures.scene_blurred ? pictures.blurred : pictures.scene;
}

// Makes scene_565 and intro_565 again from shown_scene and the intro. Called
// by everything that changes the scene, its blur or the intro.
void refresh_shown(Pictures& pictures);

// Writes the default vision file's path into `out` (out_size bytes):
// startup_directory + "/vitrion.dat" when that file exists or when no
// installed one exists either (so failures name the usual place), otherwise
// the installed one, <program_directory>/../share/vitrion/vitrion.dat, which
// a package puts beside bin/. Returns 1 when the installed file was chosen.
int find_default_vision(const char* startup_directory, const char* program_directory, char* out,
                        int out_size);

// find_default_vision with the folder of the running program (from
// /proc/self/exe); reports to the trace log when the installed file is used.
void default_vision_path(const char* startup_directory, char* out, int out_size);

// Decodes the JPEG at `offset` in the file at `path` through the platform
// into `into`, quantized as the frame shows it. Returns 1; or 0 with `into`
// as it was when the picture cannot be decoded.
int load_picture(Platform& platform, const char* path, long offset, DecodedPicture& into);

// Reads the uncompressed 24-bit TGA at `offset` as a grey map into `map`
// (width x height bytes, row 0 at the top; rows are read bottom row first
// whatever the origin flag says). Pixels the file does not hold read 255.
// Returns 1 with the TGA's size, or 0 (map emptied, size 0) when the file
// cannot be opened or the header is unusable or larger than 4096 on a side.
int read_grey_map(const char* path, long offset, std::vector<uint8_t>& map, int* width, int* height);

// The same for a TGA at `offset` in `size` bytes at `data`, and at `offset`
// from the start of an open stream (one code path for all three).
int read_grey_map_bytes(const uint8_t* data, size_t size, long offset, std::vector<uint8_t>& map, int* width,
                        int* height);
int read_grey_map_stream(std::FILE* stream, long offset, std::vector<uint8_t>& map, int* width, int* height);

// Lays a width x height grey map out as the engine reads it: 640 x 480, byte
// (x, y) at y * 640 + x; what the map does not cover reads 255 (no shadow).
void fit_grey_map(const std::vector<uint8_t>& map, int width, int height, std::vector<uint8_t>& fitted);

// Start-up loader, steps after the caller has set simulation_started 0 and
// default_vision_loaded 1: builds vision_path from `startup_directory`, reads
// the default vision file into `doc`, decodes the intro picture (slot 2) and
// the grey map (slot 3). Returns 1 when the default vision file could be opened.
int run_startup_loader(Pictures& pictures, Platform& platform, vision::Document& doc,
                       const char* startup_directory);

// Steps the scene slot to the next slot that holds a picture (slots 0..1 while
// default_vision_loaded is 1, 0..3 otherwise) and decodes it as the scene,
// unblurred. Eight steps without a picture load nothing and change nothing.
// When the picture cannot be decoded the scene stays as it was with
// `keep_on_failure` 1, and becomes none (a black frame) with 0.
void next_scene(Pictures& pictures, Platform& platform, const vision::Document& doc,
                int default_vision_loaded, int keep_on_failure);

// Saves the frame as "vitrion_capture_<seconds>.jpg" in the working
// directory. Returns 1, or 0 (with the reason on the standard error stream)
// when the file cannot be written; the program carries on either way.
int capture_screen(const Frame& frame, long calendar_seconds);

// Encodes a width x height RGB image (3 bytes per pixel, rows from the top)
// as a baseline JPEG at `quality`. Returns 1, or 0 when it cannot be written.
int write_jpeg(const char* file_name, int quality, const uint8_t* image, int width, int height);

}  // namespace platform
