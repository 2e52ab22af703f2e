// personal_form.cpp -- the personal form's field mappings.
#include "editor/model/personal_form.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/convert.h"

namespace editor {

int32_t* check_box_field(vision::Header& header, int id) {
    switch (id) {
    case id_myopia: return &header.myopia_on;
    case id_blood_cells: return &header.blood_cells_on;
    case id_retina_shadow: return &header.retina_shadow_on;
    case id_cataracts: return &header.cataracts_on;
    case id_sunglasses: return &header.sunglasses_on;
    case id_flashes: return &header.flashes_on;
    case id_stars: return &header.stars_on;
    case id_sparks: return &header.sparks_on;
    case id_sac_refractions: return &header.sac_refractions_on;
    default: return nullptr;
    }
}

std::string trackbar_text(int id, int position) {
    char text[32];
    switch (id) {
    case id_blood_count: std::snprintf(text, sizeof text, "%d points", position); break;
    // Positions are hundredths of brightness and of haze.
    case id_blood_brightness:
    case id_cataract_clarity: std::snprintf(text, sizeof text, "%d %%", position); break;
    case id_tint_red:
    case id_tint_green:
    case id_tint_blue: std::snprintf(text, sizeof text, "%d", position); break;
    default: return {};
    }
    return text;
}

int trackbar_position(const vision::Header& header, int id) {
    switch (id) {
    case id_blood_count: return header.blood_cells_count;
    // float x int stays in single precision.
    case id_blood_brightness: return trunc_to_int(header.blood_cells_brightness * 100);
    case id_cataract_clarity: return trunc_to_int((1 - header.cataract_clarity) * 100);
    case id_tint_red: return header.tint_red;
    case id_tint_green: return header.tint_green;
    case id_tint_blue: return header.tint_blue;
    default: return 0;
    }
}

int store_trackbar(vision::Header& header, int id, int position) {
    switch (id) {
    case id_blood_count: header.blood_cells_count = position; return 1;
    // 0.01 is a double: the product is formed in double, then kept as float.
    case id_blood_brightness: header.blood_cells_brightness = float(position * 0.01); return 1;
    case id_cataract_clarity: header.cataract_clarity = float(1 - position * 0.01); return 1;
    case id_tint_red: header.tint_red = position; return 1;
    case id_tint_green: header.tint_green = position; return 1;
    case id_tint_blue: header.tint_blue = position; return 1;
    default: return 0;
    }
}

int dioptre_button(const vision::Header& header) {
    const int dioptres = header.myopia_dioptres;
    if (dioptres < 1 || dioptres > dioptre_buttons) return -1;
    return id_first_dioptre - 1 + dioptres;
}

std::string comments_for_display(const vision::Header& header) {
    const size_t length = strnlen(header.comments, max_comment_length);
    std::string text;
    text.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        if (header.comments[i] == '\r' && i + 1 < length && header.comments[i + 1] == '\n') continue;
        text += header.comments[i];
    }
    return text;
}

void store_comments(vision::Header& header, const std::string& text) {
    // The field holds the text as a Windows edit control gives it: "\r\n"
    // line breaks, and a break that does not fit whole is left out.
    std::string stored;
    stored.reserve(std::min(text.size() + 64, size_t(max_comment_length)));
    for (char c : text) {
        const size_t needed = c == '\n' ? 2 : 1;
        if (stored.size() + needed > size_t(max_comment_length)) break;
        if (c == '\n') stored += '\r';
        stored += c;
    }
    std::memset(header.comments, 0, sizeof header.comments);
    std::memcpy(header.comments, stored.data(), stored.size());
}

}  // namespace editor
