// floater_map.cpp -- dots, floaters, sliders and the preview of the floater map.
#include "editor/model/floater_map.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "common/convert.h"
#include "sim/engine/dot_walk.h"

namespace editor {
namespace {

constexpr uint32_t pure_red = rgb(255, 0, 0);
constexpr int floater_density_top = 10;  // slider 108 shows 10 - floater_density
constexpr float movement_to_position = 1000;
constexpr double position_to_movement = 0.001;

int clamp_to(int value, int minimum, int maximum) { return std::clamp(value, minimum, maximum); }

// Dots of a record that lie inside its table row, whatever a loaded file said.
int stored_dots(const vision::FloaterRecord& record) {
    return clamp_to(record.dot_count, 0, vision::dot_capacity);
}

const SliderRange* find_slider(int id) {
    for (const SliderRange& slider : floater_sliders)
        if (slider.id == id) return &slider;
    return nullptr;
}

int movement_position(float movement) { return trunc_to_int(movement * movement_to_position); }

float movement_from_position(int position) {
    return static_cast<float>(position * position_to_movement);
}

// The grey a pixel whose red is `red` is shaded to: (red x transparency) >> 8,
// keeping the low 8 bits, as a byte-wide colour would.
int shaded(int red, int transparency) { return int(((int64_t(red) * transparency) >> 8) & 255); }

// The part of the width x height block at (x, y) that lies on the canvas.
struct Block {
    int left, top, right, bottom;
};

bool block_on_canvas(const Canvas& canvas, int x, int y, int width, int height, Block& out) {
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(int64_t(x) + width, canvas.width);
    const int64_t bottom = std::min<int64_t>(int64_t(y) + height, canvas.height);
    if (left >= right || top >= bottom) return false;
    out = {int(left), int(top), int(right), int(bottom)};
    return true;
}

// Shades the width x height block whose top-left pixel is (x, y) to the grey
// of its red, skipping pixels outside the canvas.
void shade_block(Canvas& canvas, int x, int y, int width, int height, int transparency) {
    Block b;
    if (!block_on_canvas(canvas, x, y, width, height, b)) return;
    for (int px = b.left; px < b.right; ++px) {
        for (int py = b.top; py < b.bottom; ++py) {
            uint32_t& pixel = canvas.at(px, py);
            const int v = shaded(red_of(pixel), transparency);
            pixel = rgb(v, v, v);
        }
    }
}

// Blocks larger than the editor makes (its sliders stop at 4 x 4) come only
// from damaged files, and a hundred thousand that cover the canvas would
// freeze the editor for minutes. Every block of one preview shades with the
// same map (one record, one transparency), so a pixel ends as the map applied
// as many times as blocks cover it, in whatever order: large blocks are
// counted in a difference array and applied at the end, each pixel once.
constexpr long large_block_area = 64;

struct LargeBlocks {
    std::vector<int32_t>& cover;  // (canvas width + 1) x (canvas height + 1) differences
    int stride = 0;
    int any = 0;

    // Counts the block when it is large (1); else leaves it to the caller (0).
    int add(const Canvas& canvas, int x, int y, int width, int height) {
        Block b;
        if (!block_on_canvas(canvas, x, y, width, height, b) ||
            long(b.right - b.left) * (b.bottom - b.top) <= large_block_area)
            return 0;
        if (!any) {
            stride = canvas.width + 1;
            cover.assign(size_t(stride) * (canvas.height + 1), 0);
            any = 1;
        }
        cover[size_t(b.top) * stride + b.left] += 1;
        cover[size_t(b.top) * stride + b.right] -= 1;
        cover[size_t(b.bottom) * stride + b.left] -= 1;
        cover[size_t(b.bottom) * stride + b.right] += 1;
        return 1;
    }

    // Shades every pixel as often as the counted blocks cover it. The orbit
    // of each red under the shading map repeats within 257 steps, so a count
    // of any size is reduced onto the orbit's cycle.
    void apply(Canvas& canvas, int transparency) {
        if (!any) return;
        std::vector<uint8_t> orbit(256 * 257);
        int cycle_start[256], cycle_length[256], length[256];
        for (int v = 0; v < 256; ++v) {
            int seen[256];
            std::fill(std::begin(seen), std::end(seen), -1);
            uint8_t* o = &orbit[size_t(v) * 257];
            int n = 0, w = v;
            while (seen[w] < 0) {
                seen[w] = n;
                o[n++] = uint8_t(w);
                w = shaded(w, transparency);
            }
            length[v] = n;
            cycle_start[v] = seen[w];
            cycle_length[v] = n - seen[w];
        }
        for (int y = 0; y < canvas.height; ++y)
            for (int x = 0; x < canvas.width; ++x) {
                int32_t k = cover[size_t(y) * stride + x];
                if (x > 0) k += cover[size_t(y) * stride + x - 1];
                if (y > 0) k += cover[size_t(y - 1) * stride + x];
                if (x > 0 && y > 0) k -= cover[size_t(y - 1) * stride + x - 1];
                cover[size_t(y) * stride + x] = k;  // now the count itself
                if (k <= 0) continue;
                uint32_t& pixel = canvas.at(x, y);
                const int red = red_of(pixel);
                const int step = k < length[red] ? k : cycle_start[red] + (k - cycle_start[red]) % cycle_length[red];
                const int v = orbit[size_t(red) * 257 + step];
                pixel = rgb(v, v, v);
            }
    }
};

// The simulator never holds more particles than this, so a preview needs no
// more blocks either; it also keeps a file's absurd dot_density from freezing
// the editor. The blocks that are shaded come from the same draws as ever.
constexpr int preview_block_limit = 99999;

// Runs the dot walk of one stored dot and shades a block at every position
// where the simulator would place a particle, using up to `budget` blocks.
void preview_dot(Canvas& canvas, LargeBlocks& large, const vision::FloaterRecord& record, int x, int y,
                 Random& rng, int& budget) {
    engine::DotWalk walk;
    walk.count = std::min(record.dot_density, budget);
    budget -= std::max(walk.count, 0);
    walk.width = record.dot_size_x;
    walk.height = record.dot_size_y;
    walk.start_x = static_cast<float>(x);
    walk.start_y = static_cast<float>(y);
    walk.diffusion = record.diffusion;
    walk.history_length = record.floater_density;
    const int width = record.dot_size_x;
    const int height = record.dot_size_y;
    const int transparency = record.transparency;
    engine::dot_walk(rng, walk, [&](float px, float py) {
        const int bx = trunc_to_int(px), by = trunc_to_int(py);
        if (!large.add(canvas, bx, by, width, height)) shade_block(canvas, bx, by, width, height, transparency);
    });
}

}  // namespace

int inside_floater_map(int x, int y) {
    return x > 0 && x < floater_map_width && y > 0 && y < floater_map_height;
}

int current_map_eye(const EditorState& state) { return state.current_eye == 1 ? 1 : 0; }

int current_map_floater(const EditorState& state) {
    return clamp_to(state.current_floater[current_map_eye(state)], 0, vision::max_floaters - 1);
}

vision::FloaterRecord& current_floater_record(EditorState& state) {
    return state.doc->records[current_map_eye(state)][current_map_floater(state)];
}

std::string floater_slider_text(int id, int position) {
    char text[32];
    switch (id) {
    case id_dot_density: std::snprintf(text, sizeof text, "%d per dot", position); break;
    case id_dot_size_x:
    case id_dot_size_y: std::snprintf(text, sizeof text, "%d px", position); break;
    // A dot keeps transparency / 256 of the light below it.
    case id_transparency: std::snprintf(text, sizeof text, "%d %%", (position * 100 + 128) / 256); break;
    case id_diffusion:
    case id_floater_density: std::snprintf(text, sizeof text, "%d / 10", position); break;
    // The damping, a thousandth per step, is the share of speed kept per frame.
    case id_movement_x:
    case id_movement_y: std::snprintf(text, sizeof text, "%d.%d %%", position / 10, position % 10); break;
    default: return {};
    }
    return text;
}

int floater_slider_position(const vision::FloaterRecord& record, int id) {
    const SliderRange* slider = find_slider(id);
    if (!slider) return 0;
    int shown = 0;
    switch (id) {
        case id_dot_density: shown = record.dot_density; break;
        case id_dot_size_x: shown = record.dot_size_x; break;
        case id_dot_size_y: shown = record.dot_size_y; break;
        case id_transparency: shown = record.transparency; break;
        case id_diffusion: shown = record.diffusion; break;
        // Widened so that a file's extreme value cannot overflow the subtraction.
        case id_floater_density:
            shown = int(std::clamp<int64_t>(floater_density_top - int64_t(record.floater_density),
                                            INT32_MIN, INT32_MAX));
            break;
        case id_movement_x: shown = movement_position(record.movement_x); break;
        case id_movement_y: shown = movement_position(record.movement_y); break;
    }
    return clamp_to(shown, slider->minimum, slider->maximum);
}

void store_floater_slider(vision::FloaterRecord& record, int id, int position) {
    switch (id) {
        case id_dot_density: record.dot_density = position; break;
        case id_dot_size_x: record.dot_size_x = position; break;
        case id_dot_size_y: record.dot_size_y = position; break;
        case id_transparency: record.transparency = position; break;
        case id_diffusion: record.diffusion = position; break;
        case id_floater_density: record.floater_density = floater_density_top - position; break;
        case id_movement_x: record.movement_x = movement_from_position(position); break;
        case id_movement_y: record.movement_y = movement_from_position(position); break;
    }
}

int add_floater_dot(vision::Document& doc, int eye, int floater, int x, int y) {
    vision::FloaterRecord& record = doc.records[eye][floater];
    const int count = stored_dots(record);
    const int32_t* xs = doc.x[eye][floater];
    const int32_t* ys = doc.y[eye][floater];
    for (int i = 0; i < count; ++i)
        if (xs[i] == x && ys[i] == y) return 0;
    // A loaded record may claim a negative count; it has no row to append to.
    if (record.dot_count < 0 || record.dot_count >= vision::max_dots) return 0;
    doc.x[eye][floater][record.dot_count] = x;
    doc.y[eye][floater][record.dot_count] = y;
    ++record.dot_count;
    return 1;
}

void open_floater_map(EditorState& state) { state.current_floater[current_map_eye(state)] = 0; }

int step_floater(EditorState& state, int direction) {
    const int eye = current_map_eye(state);
    const int next = clamp_to(current_map_floater(state) + (direction < 0 ? -1 : 1), 0,
                              vision::max_floaters - 1);
    state.current_floater[eye] = next;
    // Only ">" brings records into the document; "<" never changes the count.
    int32_t& count = state.doc->header.floater_count[eye];
    if (direction > 0 && next > count - 1) count = next + 1;
    return next;
}

void delete_floater_dots(EditorState& state) { current_floater_record(state).dot_count = 0; }

void delete_last_dot(EditorState& state) {
    vision::FloaterRecord& record = current_floater_record(state);
    record.dot_count = std::max(record.dot_count - 1, 0);
}

int floater_map_press(EditorState& state, int x, int y) {
    DrawingInput& input = state.floater_map_input;
    input.last_x = x;
    input.last_y = y;
    if (!inside_floater_map(x, y)) {
        input.drawing = 0;
        return 0;
    }
    input.drawing = 1;
    add_floater_dot(*state.doc, current_map_eye(state), current_map_floater(state), x, y);
    return 1;
}

int floater_map_move(EditorState& state, int x, int y) {
    DrawingInput& input = state.floater_map_input;
    input.last_x = x;
    input.last_y = y;
    if (!input.drawing || !inside_floater_map(x, y)) return 0;
    add_floater_dot(*state.doc, current_map_eye(state), current_map_floater(state), x, y);
    return 1;
}

void floater_map_release(EditorState& state) { state.floater_map_input.drawing = 0; }

int floater_map_wants_pen(const EditorState& state) {
    return state.floater_map_input.last_x < floater_map_width &&
           state.floater_map_input.last_y < floater_map_height;
}

void draw_floaters(Canvas& canvas, const vision::Document& doc, int eye, int current, Random& rng,
                   std::vector<int32_t>& cover) {
    for (int k = 0; k < vision::max_floaters; ++k) {
        const vision::FloaterRecord& record = doc.records[eye][k];
        const int count = stored_dots(record);
        const int32_t* xs = doc.x[eye][k];
        const int32_t* ys = doc.y[eye][k];
        if (k == current) {
            int budget = preview_block_limit;
            LargeBlocks large{cover};
            for (int i = 0; i < count && budget > 0; ++i)
                preview_dot(canvas, large, record, xs[i], ys[i], rng, budget);
            large.apply(canvas, record.transparency);
            continue;
        }
        for (int i = 0; i < count; ++i) {
            // A dot from a loaded file may lie anywhere; off-canvas ones are not drawn.
            if (xs[i] >= 0 && xs[i] < canvas.width && ys[i] >= 0 && ys[i] < canvas.height)
                canvas.at(xs[i], ys[i]) = pure_red;
        }
    }
}

void redraw_floater_map(EditorState& state, const PixelPicture& map_picture) {
    copy_picture(state.canvas, map_picture, 0, 0, map_picture.width, map_picture.height);
    draw_floaters(state.canvas, *state.doc, current_map_eye(state), current_map_floater(state),
                  state.rng, state.preview_cover);
}

const char* floater_map_caption(int eye) {
    return eye == 1 ? "Floater map. Right eye" : "Floater map. Left eye";
}

}  // namespace editor
