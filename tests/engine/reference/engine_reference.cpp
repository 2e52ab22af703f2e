// engine_reference.cpp -- literal per-pixel transcriptions of floaters, light phenomena, eyelids and the frame order.
#include "reference/engine_reference.h"

#include <algorithm>
#include <cstdint>

#include "common/convert.h"
#include "reference/optical_filters_reference.h"

namespace reference {

using engine::EngineState;

namespace {

uint16_t* pixel(platform::Frame& frame, int x, int y) { return frame.row(y) + x; }

int clamp_channel(int v) { return v > 255 ? 255 : (v < 0 ? 0 : v); }

}  // namespace

// ------------------------------------------------------------------ floaters

void add_particle(EngineState& state, int eye, float x, float y, int width, int height, int transparency,
                  float damping_x, float damping_y) {
    if (state.particle_count == 99999) return;
    engine::ParticleTable& t = state.particles;
    const int i = state.particle_count;
    t.eye[i] = eye;
    t.x[i] = trunc_to_int(x);
    t.y[i] = trunc_to_int(y);
    t.width[i] = width;
    t.height[i] = height;
    t.transparency[i] = transparency;
    t.velocity_x[i] = 0;
    t.velocity_y[i] = 0;
    t.position_x[i] = (float)t.x[i];
    t.position_y[i] = (float)t.y[i];
    t.damping_x[i] = damping_x;
    t.damping_y[i] = damping_y;
    state.particle_count++;
}

void dot_walk(EngineState& state, Random& rng, int count, int width, int height, int transparency, float start_x,
              float start_y, float damping_x, float damping_y, int diffusion, int history_length, int x_bias,
              int y_bias, int eye) {
    if (diffusion == 0) diffusion = 1;
    int64_t span = (int64_t)diffusion + 1;
    // Values from files: -1 would divide by zero and spreads nothing; for
    // other negative spans r mod span is taken as C does, the non-negative
    // remainder by |span|; a span above 32768 gives the same draws as 32768.
    if (span == 0) span = 1;
    if (span < 0) span = -span;
    if (span > 32768) span = 32768;
    const float bias_x = (float)(x_bias + 100);
    const float bias_y = (float)(y_bias + 100);
    if (history_length > 100) history_length = 100;
    int hx[100], hy[100];
    int filled = 0;
    float x = start_x, y = start_y;
    for (int n = 0; n < count; n++) {
        // A walk longer than the editor ever makes (a damaged file) stops
        // once nothing more can be stored; any other walk keeps drawing.
        if (state.particle_count >= 99999 && count > 10) break;
        add_particle(state, eye, x, y, width, height, transparency, damping_x, damping_y);
        const float x0 = x, y0 = y;
        float nx = 0, ny = 0;
        for (int attempt = 0; attempt < 501; attempt++) {
            const int sx = (float)(rng.next() % 200) < bias_x ? 1 : -1;
            const int sy = (float)(rng.next() % 200) < bias_y ? 1 : -1;
            nx = (float)((int64_t)(rng.next() % (int)span) * width * sx) + x0;
            ny = (float)((int64_t)(rng.next() % (int)span) * height * sy) + y0;
            bool rejected = false;
            for (int i = 0; i < history_length && i < filled; i++)
                if (hx[i] == trunc_to_int(nx) && hy[i] == trunc_to_int(ny)) rejected = true;
            if (!rejected) break;
        }
        for (int i = history_length - 1; i >= 1; i--) {
            hx[i] = hx[i - 1];
            hy[i] = hy[i - 1];
        }
        if (history_length > 0) {
            hx[0] = trunc_to_int(nx);
            hy[0] = trunc_to_int(ny);
            if (filled < history_length) filled++;
        }
        x = nx;
        y = ny;
    }
}

void build_floaters_from_vision_file(EngineState& state, const vision::Document& doc, Random& rng) {
    for (int e = 0; e < 2; e++) {
        const int floaters = std::clamp(doc.header.floater_count[e], 0, 100);
        for (int k = 0; k < floaters; k++) {
            const vision::FloaterRecord& r = doc.records[e][k];
            const int a = rng.next() % 100;
            const int b = rng.next() % 100;
            for (int l = 0; l < std::clamp(r.dot_count, 0, 1024); l++) {
                float dx = (float)a * 0.001f + r.movement_x;
                if (dx > 0.99f) dx = 0.99f;
                float dy = (float)b * 0.001f + r.movement_y;
                if (dy > 0.99f) dy = 0.99f;
                // Tamed values from files: NaN stops the drift, at least -0.99.
                if (dx != dx) dx = 0;
                if (dy != dy) dy = 0;
                if (dx < -0.99f) dx = -0.99f;
                if (dy < -0.99f) dy = -0.99f;
                dot_walk(state, rng, r.dot_density, r.dot_size_x, r.dot_size_y, r.transparency,
                         (float)((int64_t)doc.x[e][k][l] - 80), (float)((int64_t)doc.y[e][k][l] - 60), dx, dy,
                         r.diffusion, r.floater_density, 0, 0, e);
            }
        }
    }
}

void add_random_floater(EngineState& state, Random& rng, int size_bound) {
    int count = rng.next() % size_bound + 10;
    const float dx = (rng.next() % 2000) * 0.0001 + 0.8;
    const float dy = (rng.next() % 2000) * 0.0001 + 0.8;
    if (state.particle_count + count >= 100000) count = 99999 - state.particle_count;
    if (count < 1) return;
    int eye, x_bias = 0, y_bias = 0, history = 0, diffusion = 0;
    if (rng.next() % 3 == 2) {
        eye = rng.next() % 2;
        y_bias = rng.next() % 100;
        x_bias = rng.next() % 100;
        history = rng.next() % 10;
        diffusion = 0;
    } else if (rng.next() % 2 == 0) {
        eye = rng.next() % 2;
        history = rng.next() % 10;
        diffusion = rng.next() % 4;
    } else {
        eye = rng.next() % 2;
    }
    const float start_y = (float)(rng.next() % 720 - 120);
    const float start_x = (float)(rng.next() % 960 - 160);
    dot_walk(state, rng, count, 1, 1, 254, start_x, start_y, dx, dy, diffusion, history, x_bias, y_bias, eye);
}

void eye_movement_input(EngineState& state, int x, int y) {
    if (state.previous_x == -1.0f || state.previous_y == -1.0f) {
        state.reference_x = x;
        state.reference_y = y;
        state.previous_x = (float)x;
        state.previous_y = (float)y;
    }
    const float dx = (x - state.previous_x) * 0.05;
    const float dy = (y - state.previous_y) * 0.05;
    state.previous_x = (float)x;
    state.previous_y = (float)y;
    state.movement_samples++;
    if (state.movement_samples > 2) {
        state.movement_samples = 0;
        state.eye_movement = 0;
        if (x > state.reference_x + 10) state.eye_movement = 1;
        if (x < state.reference_x - 10) state.eye_movement = 2;
        if (y > state.reference_y + 10) state.eye_movement = 3;
        if (y < state.reference_y - 10) state.eye_movement = 4;
        state.reference_x = x;
        state.reference_y = y;
    }
    for (int i = 0; i < state.particle_count; i++) {
        state.particles.velocity_x[i] += dx;
        state.particles.velocity_y[i] += dy;
    }
}

void advance_floater_dots(EngineState& state) {
    engine::ParticleTable& t = state.particles;
    for (int i = 0; i < state.particle_count; i++) {
        t.position_x[i] += t.velocity_x[i];
        t.position_y[i] += t.velocity_y[i];
        t.velocity_x[i] = t.velocity_x[i] * t.damping_x[i];
        t.velocity_y[i] = t.velocity_y[i] * t.damping_y[i];
        t.x[i] = trunc_to_int(t.position_x[i]);
        t.y[i] = trunc_to_int(t.position_y[i]);
    }
}

void draw_floater_particles(const EngineState& state, platform::Frame& frame) {
    const engine::ParticleTable& t = state.particles;
    for (int n = 0; n < state.particle_count; n++) {
        if (state.eye_mode != 2 && t.eye[n] != state.eye_mode) continue;
        float level = (float)t.transparency[n];
        if (level < 255) level = level * state.dim_factor;
        int k = trunc_to_int(level);
        if (k > 255) k = 255;
        if (k < 0) k = 0;  // negative transparencies from files
        const uint32_t factor = k + 1;
        for (int i = 0; i < t.width[n]; i++) {
            for (int j = 0; j < t.height[n]; j++) {
                const int64_t px = (int64_t)t.x[n] + i, py = (int64_t)t.y[n] + j;
                if (px > 0 && px < 640 && py > 0 && py < 480) {
                    uint16_t* p = pixel(frame, (int)px, (int)py);
                    uint32_t r = 0, g = 0, b = 0;
                    read_pixel(p, r, g, b);
                    write_pixel(r * factor / 256, g * factor / 256, b * factor / 256, p);
                }
            }
        }
    }
}

// ------------------------------------------------------------------ light phenomena and eyelids

void draw_eyelids(platform::Frame& frame, int position, int base) {
    for (int x = 0; x < 640; x++) {
        for (int i = 0; i < position; i++) {
            const int level = i < base ? (int)(255 - (256.0 / base) * i) : 0;
            const uint32_t factor = level + 1;
            int y = position - 1 - i;
            if (y >= 0 && y < 480) {
                uint16_t* p = pixel(frame, x, y);
                uint32_t r = 0, g = 0, b = 0;
                read_pixel(p, r, g, b);
                write_pixel(r * factor / 256, g * factor / 256, b * factor / 256, p);
            }
            if (i < position / 2) {
                y = i - position / 2 + 480;
                if (y >= 0 && y < 480) {
                    uint16_t* p = pixel(frame, x, y);
                    uint32_t r = 0, g = 0, b = 0;
                    read_pixel(p, r, g, b);
                    write_pixel(r * factor / 256, g * factor / 256, b * factor / 256, p);
                }
            }
        }
    }
}

void new_spark(EngineState& state, Random& rng, int index) {
    engine::Spark& sp = state.sparks[index];
    sp.x = (float)(rng.next() % 100 + state.spark_centre_x - 50);
    sp.y = (float)(rng.next() % 100 + state.spark_centre_y - 50);
    sp.life = rng.next() % 25 + 2;
    sp.velocity_x = (rng.next() % 100) * 0.1 + 1.0;
    if (rng.next() % 2 == 0) sp.velocity_x = -sp.velocity_x;
    sp.velocity_y = (rng.next() % 100) * 0.1 + 1.0;
    if (rng.next() % 2 == 0) sp.velocity_y = -sp.velocity_y;
    sp.age = 0;
    if (rng.next() % 100 == 0) {
        state.spark_centre_x = rng.next() % 640;
        state.spark_centre_y = rng.next() % 480;
    }
}

void draw_sparks(EngineState& state, platform::Frame& frame, Random& rng) {
    for (int i = 0; i < state.spark_count; i++) {
        engine::Spark& sp = state.sparks[i];
        const int x0 = trunc_to_int(sp.x), y0 = trunc_to_int(sp.y);
        for (int a = 0; a < 3; a++) {
            for (int b = 0; b < 3; b++) {
                double factor = (double)state.spark_brightness + 1.0;
                if (a == 0 || a == 2) factor = factor - state.spark_brightness * 0.5;
                if (b == 0 || b == 2) factor = factor - state.spark_brightness * 0.5;
                const int64_t px = (int64_t)x0 + a, py = (int64_t)y0 + b;
                if (px >= 0 && px < 640 && py >= 0 && py < 480) {
                    uint16_t* p = pixel(frame, (int)px, (int)py);
                    uint32_t r = 0, g = 0, bl = 0;
                    read_pixel(p, r, g, bl);
                    r = clamp_channel(trunc_to_int(r * factor));
                    g = clamp_channel(trunc_to_int(g * factor));
                    bl = clamp_channel(trunc_to_int(bl * factor));
                    write_pixel(r, g, bl, p);
                }
            }
        }
        sp.x = sp.x + sp.velocity_x;
        sp.age = sp.age + 1;
        sp.y = sp.y + sp.velocity_y;
        if (sp.age > sp.life) {
            sp.age = 0;
            new_spark(state, rng, i);
        }
    }
}

void new_star(EngineState& state, Random& rng, int index) {
    engine::Star& st = state.stars[index];
    st.x = (float)(rng.next() % 640);
    st.y = (float)(rng.next() % 480);
    st.brightness = 1.0;
    st.peak = (rng.next() % 500) * 0.001 + 1.0;
    st.rate = (rng.next() % 400) / 10000.0 + 0.001;
    st.hold_frames = rng.next() % 25 + 25;
    st.held_frames = 0;
}

void draw_stars(EngineState& state, platform::Frame& frame, Random& rng) {
    for (int i = 0; i < state.star_count; i++) {
        engine::Star& st = state.stars[i];
        const int x0 = trunc_to_int(st.x), y0 = trunc_to_int(st.y);
        const float sb = st.brightness;
        for (int a = 0; a < 5; a++) {
            for (int b = 0; b < 5; b++) {
                float factor = sb;
                if (a == 0 || a == 4) factor = factor - sb * 0.16666667f;
                if (a == 1 || a == 3) factor = factor - sb * 0.083333336f;
                if (b == 0 || b == 4) factor = factor - sb * 0.16666667f;
                if (b == 1 || b == 3) factor = factor - sb * 0.083333336f;
                if (factor < 1.0) factor = 1.0;
                const int64_t px = (int64_t)x0 + a, py = (int64_t)y0 + b;
                if (px >= 0 && px < 640 && py >= 0 && py < 480) {
                    uint16_t* p = pixel(frame, (int)px, (int)py);
                    uint32_t r = 0, g = 0, bl = 0;
                    read_pixel(p, r, g, bl);
                    r = clamp_channel(trunc_to_int(r * factor));
                    g = clamp_channel(trunc_to_int(g * factor * 1.06));
                    bl = clamp_channel(trunc_to_int(bl * factor));
                    write_pixel(r, g, bl, p);
                }
            }
        }
        if (st.held_frames < st.hold_frames) {
            st.brightness = st.brightness + st.rate;
            if (st.brightness >= st.peak) {
                st.brightness = st.peak;
                st.held_frames++;
            }
        } else {
            st.brightness = st.brightness - st.rate;
            if (st.brightness < 1.0) new_star(state, rng, i);
        }
    }
}

void draw_sac_refractions(const EngineState& state, const vision::Header& header, platform::Frame& frame) {
    int first, last;
    if (state.eye_mode == 0) first = 0, last = 4;
    else if (state.eye_mode == 1) first = 5, last = 9;
    else if (state.eye_mode == 2) first = 0, last = 9;
    else return;
    const int m = state.eye_movement;
    for (int k = first; k <= last; k++) {
        const vision::Streak& st = header.streak[k];
        bool visible = false;
        if (st.when_seen == 0) visible = true;
        if (st.when_seen == 1 && (m == 1 || m == 2)) visible = true;
        if (st.when_seen == 2 && (m == 3 || m == 4)) visible = true;
        if (st.when_seen == 3 && m != 0) visible = true;
        if (!visible) continue;
        for (int p = 0; p < std::clamp(st.point_count, 0, 6400); p++) {
            const int x = st.x[p], y = st.y[p];
            if (x >= 0 && x < 640 && y >= 0 && y < 480) {
                uint16_t* q = pixel(frame, x, y);
                uint32_t r = 0, g = 0, b = 0;
                read_pixel(q, r, g, b);
                r = clamp_channel(trunc_to_int(r * (st.brightness + 1.0)));
                g = clamp_channel(trunc_to_int(g * (st.brightness + 1.0)));
                b = clamp_channel(trunc_to_int(b * (st.brightness + 1.0)));
                write_pixel(r, g, b, q);
            }
        }
    }
}

void draw_flash(platform::Frame& frame, float strength) {
    for (int x = 1; x < 640; x++) {
        for (int y = 1; y < 480; y++) {
            uint16_t* p = pixel(frame, x, y);
            uint32_t r = 0, g = 0, b = 0;
            read_pixel(p, r, g, b);
            r = clamp_channel(trunc_to_int(r * (strength + 1)));
            g = clamp_channel(trunc_to_int(g * (strength + 1)));
            b = clamp_channel(trunc_to_int(b * (strength + 1)));
            write_pixel(r, g, b, p);
        }
    }
}

void draw_overlay_dimming(platform::Frame& frame) {
    for (int x = 1; x < 639; x++) {
        for (int y = 1; y < 479; y++) {
            uint16_t* p = pixel(frame, x, y);
            uint32_t r = 0, g = 0, b = 0;
            read_pixel(p, r, g, b);
            r = std::min(trunc_to_int(r * 0.3), 255);
            g = std::min(trunc_to_int(g * 0.3), 255);
            b = std::min(trunc_to_int(b * 0.1), 255);
            write_pixel(r, g, b, p);
        }
    }
}

// ------------------------------------------------------------------ frame order and reset

void compose_frame(EngineState& state, const vision::Header& header, const engine::FrameView& view,
                   platform::Frame& frame, const uint8_t* grey_map, Random& rng) {
    const int started = state.simulation_started;
    if (started == 1) state.dim_factor = 1 - view.eyelid_position * 0.00019607843;
    if (state.floaters_active == 1 && started == 1) draw_floater_particles(state, frame);
    if (state.cataracts_active == 1 && started == 1) reference::draw_cataract_haze(frame, state.cataract_clarity);
    draw_eyelids(frame, view.eyelid_position, 100);
    if (header.blood_cells_on == 1 && started == 1)
        reference::draw_blood_cells(frame, state.blood_cells.data(), std::clamp(state.blood_cell_count, 0, 1000),
                                    state.blood_cell_brightness, rng);
    if (state.sparks_active == 1 && started == 1) draw_sparks(state, frame, rng);
    if (state.stars_active == 1 && started == 1) draw_stars(state, frame, rng);
    if (state.sac_refractions_active == 1 && started == 1) draw_sac_refractions(state, header, frame);
    if (state.sunglasses_active == 1 && started == 1)
        reference::draw_sunglasses(frame, state.glasses_red, state.glasses_green, state.glasses_blue);
    if (state.retina_shadow_active == 1 && started == 1) reference::draw_retina_shadow(frame, grey_map);
    if (state.flashes_active == 1) {
        const int r = rng.next() % 30;
        if (r == 0 && started == 1) draw_flash(frame, state.flash_strength);
    }
    if (view.overlay_dimmed == 1)
        draw_overlay_dimming(frame);
}

void rebuild_engine_tables(EngineState& state, const vision::Document& doc, Random& rng) {
    state.particle_count = 0;
    build_floaters_from_vision_file(state, doc, rng);
    for (int i = 0; i < state.blood_cell_count; i++) reference::new_blood_cell_path(state.blood_cells[i], rng);
    state.blood_cells_with_path = state.blood_cell_count;
    for (int i = 0; i < state.spark_count; i++) new_spark(state, rng, i);
    for (int i = 0; i < state.star_count; i++) new_star(state, rng, i);
    if (state.default_vision_loaded == 1)
        for (int i = 0; i < 15; i++) add_random_floater(state, rng, 2000);
}

}  // namespace reference
