// floater_map.h -- the floater map's editing rules and its preview, toolkit-free.
//
// The dialog widgets only translate events into these calls and show the
// canvas; every rule about dots, floaters, sliders and the redraw lives here.
#pragma once
#include <string>

#include "common/random.h"
#include "editor/model/canvas.h"
#include "editor/model/editor_state.h"
#include "editor/model/map_pictures.h"
#include "visionfile/document.h"

namespace editor {

// The map's picture area: dots are stored only for 0 < x < 800, 0 < y < 600.
constexpr int floater_map_width = 800;
constexpr int floater_map_height = 600;

// Control ids of the floater map.
constexpr int id_floater_previous = 100;
constexpr int id_floater_index = 101;
constexpr int id_floater_next = 102;
constexpr int id_dot_density = 103;
constexpr int id_dot_size_x = 104;
constexpr int id_dot_size_y = 105;
constexpr int id_transparency = 106;
constexpr int id_diffusion = 107;
constexpr int id_floater_density = 108;
constexpr int id_movement_x = 109;
constexpr int id_movement_y = 110;
constexpr int id_delete_floater = 111;
constexpr int id_delete_last_dot = 112;

struct SliderRange {
    int id;
    int minimum;
    int maximum;
};

// The eight settings sliders in control order; each has page size 1.
constexpr int floater_slider_count = 8;
constexpr SliderRange floater_sliders[floater_slider_count] = {
    {id_dot_density, 1, 10},     {id_dot_size_x, 1, 4},    {id_dot_size_y, 1, 4},
    {id_transparency, 200, 254}, {id_diffusion, 0, 10},    {id_floater_density, 0, 10},
    {id_movement_x, 500, 990},   {id_movement_y, 500, 990},
};

// A mouse coordinate as the dialogs read it: the low 16 bits, unsigned, so a
// position left of or above the client area reads as a large one (outside).
constexpr int client_coordinate(int value) { return value & 0xFFFF; }

// 1 when (x, y) is a pixel where a dot may be stored.
int inside_floater_map(int x, int y);

// The record being edited: current floater of the current eye (both clamped
// into their ranges, so a stray index never reaches the tables).
vision::FloaterRecord& current_floater_record(EditorState& state);
int current_map_eye(const EditorState& state);
int current_map_floater(const EditorState& state);

// The slider position that shows `record`'s value for slider `id`, clamped to
// the slider's range (the stored value itself is not changed). Unknown id: 0.
int floater_slider_position(const vision::FloaterRecord& record, int id);

// Stores slider `id`'s new `position` into `record`: densities and sizes as
// they are, floater_density as 10 - position, movements as position x 0.001.
void store_floater_slider(vision::FloaterRecord& record, int id, int position);

// What slider `id` at `position` means, in the person's units: dots drawn
// per placed dot, pixels, the percent of light a dot lets through, a level
// out of 10, or the percent of its speed a floater keeps from frame to frame.
std::string floater_slider_text(int id, int position);

// Appends dot (x, y) to floater `floater` of `eye` unless the floater already
// holds that exact dot or already holds 1023 dots. Returns 1 when added.
int add_floater_dot(vision::Document& doc, int eye, int floater, int x, int y);

// Opening the dialog: the current eye's current floater becomes 0.
void open_floater_map(EditorState& state);

// "<" (direction -1) and ">" (+1): steps the current floater within 0..99;
// ">" past the eye's floater_count brings the record into the document; "<"
// never changes the count.
// Returns the new current floater.
int step_floater(EditorState& state, int direction);

// "delete floater": the current floater keeps its settings but loses its dots.
void delete_floater_dots(EditorState& state);

// "delete last dot": drops the current floater's last dot, if any.
void delete_last_dot(EditorState& state);

// Left button down, mouse move and left button up at client pixel (x, y)
// (already read through client_coordinate). Each returns 1 when a dot was
// offered to the current floater and the map must be redrawn.
int floater_map_press(EditorState& state, int x, int y);
int floater_map_move(EditorState& state, int x, int y);
void floater_map_release(EditorState& state);

// 1 when the pen cursor is shown: the last mouse position lies left of x 800
// and above y 600.
int floater_map_wants_pen(const EditorState& state);

// Draws the current eye's floaters over what the canvas holds: records 0..99
// in order, other floaters' dots as pure red pixels, each dot of floater
// `current` as its dot walk preview, drawing from `rng`. `cover` is scratch
// for blocks larger than the sliders make.
void draw_floaters(Canvas& canvas, const vision::Document& doc, int eye, int current, Random& rng,
                   std::vector<int32_t>& cover);

// The whole redraw into state.canvas: the map picture at (0, 0), then the
// floaters of the current eye with the current floater previewed.
void redraw_floater_map(EditorState& state, const PixelPicture& map_picture);

// The caption of the map for `eye`.
const char* floater_map_caption(int eye);

}  // namespace editor
