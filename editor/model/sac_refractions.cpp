// sac_refractions.cpp -- streak tracing rules, trackbar mapping and the streak redraw.
#include "editor/model/sac_refractions.h"

#include <algorithm>
#include <cstdio>

#include "common/convert.h"

namespace editor {
namespace {

constexpr float brightness_to_position = 255;
// 1/255 as a single-precision constant; the product is formed in single
// precision too, so position 255 stores exactly 1.0.
constexpr float position_to_brightness = 0.003921569f;

struct SeenChoice {
    int radio_id;
    int when_seen;
};
constexpr SeenChoice seen_choices[] = {
    {id_seen_always, 0},
    {id_seen_left_right, 1},
    {id_seen_top_bottom, 2},
    {id_seen_moving, 3},
};

// Points of a streak that lie inside its arrays, whatever a loaded file said.
int stored_points(const vision::Streak& streak) {
    return std::clamp(streak.point_count, 0, vision::streak_capacity);
}

}  // namespace

int when_seen_of_radio(int id) {
    for (const SeenChoice& choice : seen_choices)
        if (choice.radio_id == id) return choice.when_seen;
    return -1;
}

int radio_of_when_seen(int value) {
    for (const SeenChoice& choice : seen_choices)
        if (choice.when_seen == value) return choice.radio_id;
    return -1;
}

int inside_streak_picture(int x, int y) {
    return x > 0 && x < streak_picture_width && y > 0 && y < streak_picture_height;
}

int current_streak_index(const EditorState& state) {
    return std::clamp(state.current_streak, 0, vision::streak_entries - 1);
}

vision::Streak& current_streak(EditorState& state) {
    return state.doc->header.streak[current_streak_index(state)];
}

int add_streak_point(vision::Streak& streak, int x, int y) {
    // A loaded streak may claim a negative count; it has no row to append to.
    if (streak.point_count < 0 || streak.point_count >= vision::streak_max_points) return 0;
    streak.x[streak.point_count] = x;
    streak.y[streak.point_count] = y;
    ++streak.point_count;
    return 1;
}

int step_streak(EditorState& state, int direction) {
    const int current = current_streak_index(state);
    const int first = vision::first_streak_of_eye(current / vision::streaks_per_eye);
    const int last = first + vision::streaks_per_eye - 1;
    state.current_streak = std::clamp(current + (direction < 0 ? -1 : 1), first, last);
    return state.current_streak;
}

int streak_number_in_eye(int streak) { return streak % vision::streaks_per_eye; }

int brightness_position(float brightness) {
    return std::clamp(trunc_to_int(brightness * brightness_to_position), brightness_minimum,
                      brightness_maximum);
}

float brightness_from_position(int position) {
    return static_cast<float>(position) * position_to_brightness;
}

std::string brightness_text(int position) {
    char text[16];
    std::snprintf(text, sizeof text, "%d %%", (position * 100 + brightness_maximum / 2) / brightness_maximum);
    return text;
}

int streak_grey(float brightness) {
    return trunc_to_int(brightness * brightness_to_position) & 255;
}

void delete_last_point(EditorState& state) {
    vision::Streak& streak = current_streak(state);
    if (streak.point_count > 0) streak.point_count = stored_points(streak) - 1;
}

void clear_streak(EditorState& state) { current_streak(state).point_count = 0; }

void accept_when_seen(EditorState& state, int checked_id) {
    const int value = when_seen_of_radio(checked_id);
    if (value >= 0) current_streak(state).when_seen = value;
}

int streak_press(EditorState& state, int x, int y) {
    DrawingInput& input = state.streak_input;
    input.last_x = x;
    input.last_y = y;
    if (!inside_streak_picture(x, y)) {
        input.drawing = 0;
        return 0;
    }
    input.drawing = 1;
    add_streak_point(current_streak(state), x, y);
    return 1;
}

int streak_move(EditorState& state, int x, int y) {
    DrawingInput& input = state.streak_input;
    input.last_x = x;
    input.last_y = y;
    if (!input.drawing || !inside_streak_picture(x, y)) return 0;
    add_streak_point(current_streak(state), x, y);
    return 1;
}

void streak_release(EditorState& state) { state.streak_input.drawing = 0; }

int streak_wants_pen(const EditorState& state) {
    return state.streak_input.last_x < streak_picture_width &&
           state.streak_input.last_y < streak_picture_height;
}

void draw_streak(Canvas& canvas, const vision::Streak& streak) {
    const int v = streak_grey(streak.brightness);
    const uint32_t grey = rgb(v, v, v);
    const int count = stored_points(streak);
    for (int p = 0; p < count; ++p) {
        const int x = streak.x[p];
        const int y = streak.y[p];
        // A point from a loaded file may lie anywhere; off-canvas ones are not drawn.
        if (x >= 0 && x < canvas.width && y >= 0 && y < canvas.height) canvas.at(x, y) = grey;
    }
}

void redraw_streaks(EditorState& state, const PixelPicture& eye_picture) {
    copy_picture(state.canvas, eye_picture, 0, 0, eye_picture.width, eye_picture.height);
    draw_streak(state.canvas, current_streak(state));
}

const char* sac_refractions_caption(int streak) {
    return streak < vision::streaks_per_eye ? "Sac refractions. Left eye"
                                            : "Sac refractions. Right eye";
}

}  // namespace editor
