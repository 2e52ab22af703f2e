// vision_at_limits.cpp -- the base vision file of the limit tests and the simulator's invariants.
#include "vision_at_limits.h"

#include "sim/platform/jpeg_decode.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <ostream>

#include "sim/platform/pictures.h"
#include "support/temp_dir.h"
#include "visionfile/writer.h"

namespace hardening {

namespace {

constexpr int floaters_per_eye = 2;
constexpr int dots_per_floater = 6;

std::vector<uint8_t> grey_tga(int width, int height) {
    std::vector<uint8_t> tga(18, 0);
    tga[2] = 2;
    tga[12] = uint8_t(width);
    tga[13] = uint8_t(width >> 8);
    tga[14] = uint8_t(height);
    tga[15] = uint8_t(height >> 8);
    tga[16] = 24;
    for (int i = 0; i < width * height; ++i) {
        const uint8_t g = i % 7 ? 180 : 0;
        tga.insert(tga.end(), {g, g, g});
    }
    return tga;
}

void write_pattern_jpeg(const std::string& path, int width, int height) {
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 31 / 7);
    platform::write_jpeg(path.c_str(), 50, rgb.data(), width, height);
}

}  // namespace

int32_t float_bits(float value) {
    int32_t bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

long header_field(size_t offset_in_header) { return long(offset_in_header); }

long record_field(int record, int word) { return vision::header_size + 40L * record + 4L * word; }

long streak_field(int streak, size_t offset_in_streak) {
    return long(offsetof(vision::Header, streak) + streak * sizeof(vision::Streak) + offset_in_streak);
}

std::vector<uint8_t> base_vision_file(const std::string& folder) {
    write_pattern_jpeg(folder + "/scene.jpg", 700, 520);
    write_pattern_jpeg(folder + "/intro.jpg", 64, 48);
    testing_support::write_file(folder + "/grey.tga", grey_tga(50, 40));

    auto doc = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*doc);
    vision::Header& h = doc->header;
    std::strcpy(h.slots[0].picture_path, (folder + "/scene.jpg").c_str());
    std::strcpy(h.slots[1].picture_path, (folder + "/scene.jpg").c_str());
    std::strcpy(h.slots[2].picture_path, (folder + "/intro.jpg").c_str());
    std::strcpy(h.slots[3].picture_path, (folder + "/grey.tga").c_str());
    h.myopia_on = 1;
    h.myopia_dioptres = 3;
    h.blood_cells_on = 1;
    h.blood_cells_count = 40;
    h.blood_cells_brightness = 0.2f;
    h.cataracts_on = h.flashes_on = h.sac_refractions_on = h.stars_on = h.sparks_on = 1;
    h.retina_shadow_on = h.sunglasses_on = 1;
    h.cataract_clarity = 0.6f;
    h.tint_red = 90;
    h.tint_green = 160;
    h.tint_blue = 220;
    for (int s = 0; s < vision::streak_entries; ++s) {
        h.streak[s].point_count = 4;
        h.streak[s].when_seen = 0;
        for (int p = 0; p < 4; ++p) {
            h.streak[s].x[p] = 50 + 30 * s + p;
            h.streak[s].y[p] = 100 + 5 * p;
        }
    }
    for (int e = 0; e < vision::eyes; ++e) {
        h.floater_count[e] = floaters_per_eye;
        for (int i = 0; i < floaters_per_eye; ++i) {
            doc->records[e][i].dot_count = dots_per_floater;
            doc->records[e][i].diffusion = 3;
            doc->records[e][i].floater_density = 2;
            for (int d = 0; d < dots_per_floater; ++d) {
                doc->x[e][i][d] = 200 + 40 * d;
                doc->y[e][i][d] = 150 + 60 * i + 10 * e;
            }
        }
    }
    const std::string path = folder + "/base.flt";
    vision::write_vision_file(*doc, path.c_str());
    return testing_support::read_file(path);
}

void PrintTo(const LimitCase& c, std::ostream* out) {
    *out << c.name;
    for (const Patch& p : c.patches) *out << " @" << p.offset << "=" << p.value;
}

std::vector<uint8_t> patched(std::vector<uint8_t> bytes, const std::vector<Patch>& patches) {
    for (const Patch& p : patches)
        if (p.offset >= 0 && size_t(p.offset) + 4 <= bytes.size()) std::memcpy(&bytes[size_t(p.offset)], &p.value, 4);
    return bytes;
}

std::string broken_invariant(const shell::Simulator& sim) {
    const engine::EngineState& e = sim.engine;
    if (e.particle_count < 0 || e.particle_count > engine::particle_limit) return "particle_count";
    if (e.blood_cell_count < 0 || e.blood_cell_count > engine::blood_cell_capacity) return "blood_cell_count";
    if (e.star_count < 0 || e.star_count > engine::star_capacity) return "star_count";
    if (e.spark_count < 0 || e.spark_count > engine::spark_capacity) return "spark_count";
    if (sim.eyelid_position < 0 || sim.eyelid_position > platform::screen_height) return "eyelid_position";
    for (const platform::DecodedPicture* p : {&sim.pictures.scene, &sim.pictures.intro, &sim.pictures.blurred})
        if (p->rgb.size() != size_t(p->width) * size_t(p->height) * 3 || p->width > platform::max_picture_side ||
            long(p->width) * p->height > platform::max_picture_pixels)
            return "picture size";
    if (!sim.pictures.grey_map.empty() &&
        sim.pictures.grey_map.size() != size_t(platform::grey_map_width) * platform::grey_map_height)
        return "grey_map size";
    return "";
}

}  // namespace hardening
