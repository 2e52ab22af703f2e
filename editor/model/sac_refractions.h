// sac_refractions.h -- tracing, stepping and drawing the streaks of light, toolkit-free.
#pragma once
#include <string>

#include "editor/model/canvas.h"
#include "editor/model/editor_state.h"
#include "editor/model/floater_map.h"  // client_coordinate, shared by both drawing dialogs
#include "editor/model/map_pictures.h"
#include "visionfile/document.h"

namespace editor {

// The streak picture stands for the simulator's screen: points are stored
// only for 0 < x < 640, 0 < y < 480.
constexpr int streak_picture_width = 640;
constexpr int streak_picture_height = 480;

// Control ids of the sac refractions dialog.
constexpr int id_brightness = 100;
constexpr int id_clear_all = 101;
constexpr int id_seen_always = 102;
constexpr int id_seen_moving = 103;
constexpr int id_seen_left_right = 104;
constexpr int id_seen_top_bottom = 105;
constexpr int id_streak_next = 106;
constexpr int id_streak_ok = 107;
constexpr int id_streak_previous = 108;
constexpr int id_streak_number = 109;

constexpr int brightness_minimum = 0;
constexpr int brightness_maximum = 255;
constexpr int brightness_page = 4;

// The when_seen value chosen by radio button `id`, or -1 for another id.
int when_seen_of_radio(int id);
// The radio button showing when_seen `value`, or -1 when no button does.
int radio_of_when_seen(int value);

// 1 when (x, y) is a pixel where a streak point may be stored.
int inside_streak_picture(int x, int y);

// The current streak, clamped to 0..9.
int current_streak_index(const EditorState& state);
vision::Streak& current_streak(EditorState& state);

// Appends (x, y) to `streak` while it holds fewer than 6399 points; repeated
// points are kept. Returns 1 when added.
int add_streak_point(vision::Streak& streak, int x, int y);

// "<" (direction -1) and ">" (+1): steps the current streak, staying within
// its eye (0..4 or 5..9). Returns the new current streak.
int step_streak(EditorState& state, int direction);

// The streak's number within its eye (0..4), as the dialog shows it.
int streak_number_in_eye(int streak);

// The trackbar position that shows `brightness`: brightness x 255 truncated,
// clamped to 0..255.
int brightness_position(float brightness);
// The brightness a trackbar position stores: position x 0.003921569.
float brightness_from_position(int position);
// The brightness a trackbar position means, as 0..100 %.
std::string brightness_text(int position);
// The grey level the points are drawn in: low 8 bits of brightness x 255.
int streak_grey(float brightness);

// Ctrl+Z: the current streak loses its last point, if it has one.
void delete_last_point(EditorState& state);

// "clear all": the current streak loses its points.
void clear_streak(EditorState& state);

// "OK" with radio button `checked_id` selected (-1 for none): stores its
// when_seen into the current streak; with none selected the value stays.
void accept_when_seen(EditorState& state, int checked_id);

// Left button down, mouse move and left button up at client pixel (x, y)
// (already read through client_coordinate). Each returns 1 when a point was
// offered to the current streak and the picture must be redrawn.
int streak_press(EditorState& state, int x, int y);
int streak_move(EditorState& state, int x, int y);
void streak_release(EditorState& state);

// 1 when the pen cursor is shown: the last mouse position lies left of x 640
// and above y 480.
int streak_wants_pen(const EditorState& state);

// Sets the canvas pixel of every point of `streak` to its grey.
void draw_streak(Canvas& canvas, const vision::Streak& streak);

// The whole redraw into state.canvas: the streak picture at (0, 0), then the
// current streak's points.
void redraw_streaks(EditorState& state, const PixelPicture& eye_picture);

// The dialog caption for `streak`'s eye.
const char* sac_refractions_caption(int streak);

}  // namespace editor
