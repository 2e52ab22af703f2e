// web_test_tool.cpp -- the desktop side of the browser tests.
//
//   web_test_tool page TEMPLATE VISION TITLE OUT
//       fills the player template with the vision file and TITLE, as the
//       editor's export does (the same code).
//   web_test_tool frames FOLDER VISION SCRIPT
//       runs SCRIPT (sim/web/event_script.h) on the null platform as
//       `vitrion_sim --no-intro VISION` started in FOLDER (which holds
//       vitrion.dat) and prints the hash of every frame, one a line.
//   web_test_tool vision FOLDER OUT
//       writes a vision file with two photo-like JPEG scenes: 1280 x 960 (the
//       largest shown at its own size) in slot 0 and 2560 x 1920 (shown
//       reduced to half) in slot 1, every effect off; the JPEGs stay in FOLDER.
//       The first carries an Exif orientation tag ("turn a quarter"), which
//       the desktop's decoder ignores and the page must ignore too.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "sim/platform/null_platform.h"
#include "sim/platform/pictures.h"
#include "sim/shell/command_line.h"
#include "sim/shell/shell.h"
#include "editor/model/web_page.h"
#include "sim/web/event_script.h"
#include "sim/web/page_bytes.h"
#include "visionfile/document.h"
#include "visionfile/writer.h"

namespace {

int fill_page(const char* template_path, const char* vision_path, const char* title, const char* out_path) {
    const std::vector<uint8_t> page = web_page::read_file_bytes(template_path);
    const std::string page_template(page.begin(), page.end());
    const std::string problem = editor::web_template_problem(page_template);
    if (!problem.empty()) {
        std::fprintf(stderr, "web_test_tool: %s: %s\n", template_path, problem.c_str());
        return 1;
    }
    const std::string text = editor::fill_web_page(page_template, web_page::read_file_bytes(vision_path), title);
    std::FILE* f = std::fopen(out_path, "wb");
    if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0) return 1;
    return 0;
}

int print_frames(const char* folder, const char* vision, const char* script) {
    if (chdir(folder) != 0) return 1;
    platform::NullPlatform screen;
    screen.record_text = 0;
    auto sim = std::make_unique<shell::Simulator>(screen);
    shell::SimCommandLine line;
    line.no_intro = 1;
    std::snprintf(line.file, sizeof line.file, "%s", vision);
    shell::apply_sim_command_line(*sim, line);
    shell::on_create(*sim);
    std::string hashes;
    const int ok = web_test::run_event_script(*sim, script, {&screen.clock, &screen.steady_ms}, hashes);
    std::fputs(hashes.c_str(), stdout);
    if (!ok) std::puts("script error");
    return 0;
}

// Smooth colour gradients with fine detail and a little noise, as a photo has.
std::vector<uint8_t> photo(int width, int height) {
    std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
    uint32_t noise = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            uint8_t* p = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
            const int grain = int(noise >> 28) - 8;
            p[0] = uint8_t(std::clamp(x * 255 / width + grain, 0, 255));
            p[1] = uint8_t(std::clamp(y * 255 / height + ((x / 7 + y / 5) % 2) * 24 + grain, 0, 255));
            p[2] = uint8_t(std::clamp(((x * x + y * y) >> 10) % 256 + grain, 0, 255));
        }
    return rgb;
}

// Puts an Exif segment with orientation 6 (turn clockwise) right after the start of the JPEG.
int add_orientation_tag(const std::string& path) {
    std::vector<uint8_t> jpeg = web_page::read_file_bytes(path.c_str());
    static const uint8_t segment[] = {0xFF, 0xE1, 0, 34, 'E', 'x', 'i', 'f', 0, 0,  // APP1, 34 bytes
                                      'I', 'I', 42, 0, 8, 0, 0, 0,                 // little-endian TIFF
                                      1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0,  // Orientation = 6
                                      0, 0, 0, 0};
    if (jpeg.size() < 2) return 0;
    jpeg.insert(jpeg.begin() + 2, segment, segment + sizeof segment);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(jpeg.data(), 1, jpeg.size(), f) != jpeg.size()) return 0;
    return std::fclose(f) == 0;
}

int write_photo_vision(const std::string& folder, const char* out_path) {
    auto doc = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*doc);
    const int sizes[2][2] = {{1280, 960}, {2560, 1920}};
    for (int k = 0; k < 2; ++k) {
        const std::string name = folder + "/scene_" + std::to_string(k) + ".jpg";
        const std::vector<uint8_t> rgb = photo(sizes[k][0], sizes[k][1]);
        if (!platform::write_jpeg(name.c_str(), 88, rgb.data(), sizes[k][0], sizes[k][1])) return 1;
        if (k == 0 && !add_orientation_tag(name)) return 1;
        std::snprintf(doc->header.slots[k].picture_path, vision::path_size, "%s", name.c_str());
    }
    return vision::write_vision_file(*doc, out_path) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::strcmp(argv[1], "page") == 0) return fill_page(argv[2], argv[3], argv[4], argv[5]);
    if (argc == 5 && std::strcmp(argv[1], "frames") == 0) return print_frames(argv[2], argv[3], argv[4]);
    if (argc == 4 && std::strcmp(argv[1], "vision") == 0) return write_photo_vision(argv[2], argv[3]);
    std::fprintf(stderr,
                 "usage: web_test_tool page TEMPLATE VISION TITLE OUT | frames FOLDER VISION SCRIPT | "
                 "vision FOLDER OUT\n");
    return 2;
}
