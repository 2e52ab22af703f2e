// engine_reset.cpp -- applying a vision file's settings to the engine and rebuilding its tables.
#include <algorithm>

#include "sim/engine/engine.h"

namespace engine {

namespace {
constexpr int default_random_floaters = 15;
}  // namespace

void apply_vision_settings(EngineState& state, const vision::Header& header) {
    state.glasses_red = header.tint_red;
    state.glasses_green = header.tint_green;
    state.glasses_blue = header.tint_blue;
    state.myopia_level = header.myopia_dioptres;
    state.cataract_clarity = header.cataract_clarity;
    // The count indexes the blood cell table: a file cannot take it outside it.
    state.blood_cell_count = std::clamp(header.blood_cells_count, 0, blood_cell_capacity);
    state.blood_cell_brightness = header.blood_cells_brightness;
}

void rebuild_engine_tables(EngineState& state, const vision::Document& doc, Random& rng) {
    state.particle_count = 0;
    build_floaters_from_vision_file(state, doc, rng);
    const int cells = std::clamp(state.blood_cell_count, 0, blood_cell_capacity);
    for (int i = 0; i < cells; ++i) new_blood_cell_path(state.blood_cells[i], rng);
    state.blood_cells_with_path = cells;
    const int sparks = std::clamp(state.spark_count, 0, spark_capacity);
    for (int i = 0; i < sparks; ++i) new_spark(state, rng, i);
    const int stars = std::clamp(state.star_count, 0, star_capacity);
    for (int i = 0; i < stars; ++i) new_star(state, rng, i);
    if (state.default_vision_loaded == 1) {
        for (int n = 0; n < default_random_floaters; ++n)
            add_random_floater(state, rng, random_floater_size_bound);
    }
}

}  // namespace engine
