// main.cpp -- make_default_vision: draws the default vision's pictures and writes vitrion.dat.
//
// Usage: make_default_vision <output vision file>
// The pictures are written under fixed names into the working directory and
// embedded from there, so the file comes out byte for byte the same each run.
#include <QGuiApplication>
#include <cstdio>
#include <memory>

#include "scenes.h"
#include "settings.h"
#include "vessels.h"
#include "visionfile/writer.h"

namespace {

constexpr int scene_quality = 88;
constexpr int intro_quality = 90;

const char* const picture_names[vision::picture_slots] = {
    "default_scene_meadow.jpg", "default_scene_snow.jpg", "default_intro.jpg", "default_vessels.tga"};

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);  // for the intro's text
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_default_vision <output vision file>\n");
        return 2;
    }
    using namespace defaultvision;
    if (!save_jpeg(draw_meadow_scene(), picture_names[0], scene_quality) ||
        !save_jpeg(draw_snow_scene(), picture_names[1], scene_quality) ||
        !save_jpeg(draw_intro(), picture_names[2], intro_quality) ||
        !save_grey_tga(draw_vessel_map(), vessel_map_width, vessel_map_height, picture_names[3])) {
        std::fprintf(stderr, "make_default_vision: cannot write the pictures\n");
        return 1;
    }

    auto doc = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*doc);
    fill_default_vision(*doc);
    for (int k = 0; k < vision::picture_slots; ++k)
        std::snprintf(doc->header.slots[k].picture_path, vision::path_size, "%s", picture_names[k]);
    vision::SaveReport report;
    if (!vision::write_vision_file(*doc, argv[1], &report)) {
        std::fprintf(stderr, "make_default_vision: cannot write %s\n", argv[1]);
        return 1;
    }
    for (int k = 0; k < vision::picture_slots; ++k)
        if (report.slot_missing[k]) {
            std::fprintf(stderr, "make_default_vision: picture %s missing\n", picture_names[k]);
            return 1;
        }
    return 0;
}
