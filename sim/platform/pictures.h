// pictures.h -- pictures decoded from vision files, scene changes and screen capture.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "sim/platform/jpeg_decode.h"
#include "sim/platform/surface.h"
#include "visionfile/document.h"

namespace platform {

constexpr int rgb_work_size = 3686400;        // 1228800 pixels of 3 bytes
constexpr int rgb_work_pixels = rgb_work_size / 3;
constexpr int grey_map_width = 640;
constexpr int grey_map_height = 480;
constexpr int vision_path_size = 4096;
constexpr int intro_slot = 2;                 // picture slot of the default vision file's intro

// The simulator's picture state.
struct Pictures {
    int intro_picture = -1;               // surface of the intro picture
    int scene_slot = 0;                   // picture slot of the current scene
    char vision_path[vision_path_size] = {};  // file whose pictures are decoded
    // The grey map as the engine reads it: always 640 x 480 when present
    // (a smaller TGA is padded with non-shadow pixels), empty when absent.
    std::vector<uint8_t> grey_map;
    // The unblurred scene as red, green, blue bytes, rows as wide as the scene
    // picture; allocated once by the start-up loader.
    std::vector<uint8_t> rgb_work;
};

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

// Decodes the JPEG that starts at `offset` in the file at `path`. With
// surface_index -1 a new picture surface of the picture's size is created,
// otherwise that surface is made the picture's size (its memory reused when
// the size is unchanged) and the picture drawn into it, so a surface always
// has the size of the picture last placed in it and holds nothing of an
// earlier one. Every pixel is stored as write_pixel stores it. Returns the
// surface index and the picture's size, or -1 (size 0 when nothing was
// decoded) when the picture cannot be decoded, is refused (see
// jpeg_decode.h) or no surface is made or resized; a surface that could not
// be resized keeps its picture and size. A surface index that names no
// table entry, or an entry that holds no surface, gives -1.
int load_picture(Display& display, const char* path, long offset, int surface_index,
                 int* width, int* height);

// The second half of load_picture: draws a decoded picture into a new
// surface (surface_index -1) or into the given one made the picture's size,
// as load_picture does. Returns the surface index, or -1 when no surface is
// made or resized or the index names no table entry.
int place_picture(Display& display, const DecodedPicture& picture, int surface_index);

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
// the grey map (slot 3), and allocates the RGB work buffer. Returns 1 when the
// default vision file could be opened.
int run_startup_loader(Pictures& pictures, Display& display, vision::Document& doc,
                       const char* startup_directory);

// Steps the scene slot to the next slot that holds a picture (slots 0..1 while
// default_vision_loaded is 1, 0..3 otherwise), loads it into `surface_index`
// (-1: a new surface), makes it `scene_picture` and refreshes the RGB work
// buffer. A surface given takes the new picture's size. Eight steps without
// a picture load nothing and change nothing. When the picture cannot be
// loaded into an existing surface, that surface is left untouched (picture
// and size) and stays the scene picture; into a new one, scene_picture is -1.
void next_scene(Pictures& pictures, Display& display, const vision::Document& doc,
                int default_vision_loaded, int& scene_picture, int surface_index);

// Copies the scene picture, read pixel by pixel, into the RGB work buffer
// (rows as wide as the surface). Does nothing when the buffer is not
// allocated, the surface cannot be locked or would not fit the buffer.
void copy_scene_to_rgb_work(Pictures& pictures, Display& display, int scene_picture);

// Saves the back surface as "vitrion_capture_<seconds>.jpg" in the working
// directory. Returns 1, or 0 (with the reason on the standard error stream)
// when the file cannot be written; the program carries on either way.
int capture_screen(Display& display, long calendar_seconds);

// Encodes a width x height RGB image (3 bytes per pixel, rows from the top)
// as a baseline JPEG at `quality`. Returns 1, or 0 when it cannot be written.
int write_jpeg(const char* file_name, int quality, const uint8_t* image, int width, int height);

}  // namespace platform
