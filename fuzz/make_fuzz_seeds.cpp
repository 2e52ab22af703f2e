// make_fuzz_seeds.cpp -- writes seed vision files for the fuzzers with our own writer.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "visionfile/writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    auto doc = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*doc);
    vision::write_vision_file(*doc, (folder + "/new.flt").c_str());

    doc->header.floater_count[0] = 3;
    doc->header.floater_count[1] = 2;
    for (int e = 0; e < 2; ++e)
        for (int i = 0; i < doc->header.floater_count[e]; ++i) {
            doc->records[e][i].dot_count = 5 + i;
            for (int d = 0; d < 5 + i; ++d) {
                doc->x[e][i][d] = 100 + 50 * i + d;
                doc->y[e][i][d] = 120 + 30 * e + d;
            }
        }
    doc->header.streak[1].point_count = 4;
    doc->header.stars_on = doc->header.sparks_on = doc->header.flashes_on = 1;
    std::strcpy(doc->header.comments, "seed");
    vision::write_vision_file(*doc, (folder + "/floaters.flt").c_str());
    return 0;
}
