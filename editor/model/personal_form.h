// personal_form.h -- how the personal information form's controls map to vision header fields.
#pragma once
#include <cstdint>
#include <string>

#include "visionfile/document.h"

namespace editor {

// Control ids of the form.
constexpr int id_myopia = 200;
constexpr int id_first_dioptre = 201;   // 201..210 select -1D..-10D
constexpr int id_blood_cells = 211;
constexpr int id_blood_count = 212;
constexpr int id_blood_brightness = 213;
constexpr int id_cataracts = 214;
constexpr int id_cataract_clarity = 215;
constexpr int id_flashes = 216;
constexpr int id_stars = 217;
constexpr int id_sparks = 218;
constexpr int id_sac_refractions = 219;
constexpr int id_retina_shadow = 221;
constexpr int id_sunglasses = 222;
constexpr int id_tint_red = 223;
constexpr int id_tint_green = 224;
constexpr int id_tint_blue = 225;
constexpr int id_comments = 103;
constexpr int id_personal_ok = 104;

constexpr int dioptre_buttons = 10;
constexpr int max_comment_length = vision::comments_size - 1;  // 31999

// The nine check boxes, in the order the form shows them.
constexpr int check_box_ids[] = {id_myopia,  id_blood_cells, id_retina_shadow,
                                 id_cataracts, id_sunglasses, id_flashes,
                                 id_stars,   id_sparks,      id_sac_refractions};

// Range and page size of a trackbar.
struct TrackbarRange {
    int id;
    int minimum;
    int maximum;
    int page;
};
constexpr TrackbarRange trackbar_ranges[] = {
    {id_blood_count, 0, 1000, 4}, {id_blood_brightness, 0, 40, 4},
    {id_cataract_clarity, 0, 100, 4}, {id_tint_red, 0, 255, 4},
    {id_tint_green, 0, 255, 4}, {id_tint_blue, 0, 255, 4}};

// The int32 flag behind check box `id`, or nullptr for any other id.
int32_t* check_box_field(vision::Header& header, int id);

// The position trackbar `id` shows for the header's value (brightness times
// 100 and (1 - clarity) times 100, truncated toward zero in single
// precision); 0 for an unknown id. Not clamped: the trackbar clamps.
int trackbar_position(const vision::Header& header, int id);

// Stores trackbar `id`'s position in its field (brightness := position x
// 0.01, clarity := 1 - position x 0.01, both kept as float). Returns 1 when
// `id` is a trackbar, else 0.
int store_trackbar(vision::Header& header, int id, int position);

// What trackbar `id` at `position` means: how many points of light, a
// percent of brightness or of cataract haze, or a tint channel 0..255.
std::string trackbar_text(int id, int position);

// The radio button id for the stored dioptres, or -1 when outside 1..10
// (then no button is selected).
int dioptre_button(const vision::Header& header);

// The comments for the form's text field: the stored bytes up to the first
// NUL (at most 31999, also when a file left no NUL), with "\r\n" shown as "\n".
std::string comments_for_display(const vision::Header& header);

// Stores the field's text (one byte per character) as the comments: line
// breaks become "\r\n", the result is cut to its first 31999 characters and
// the rest of the field is zeroed.
void store_comments(vision::Header& header, const std::string& text);

}  // namespace editor
