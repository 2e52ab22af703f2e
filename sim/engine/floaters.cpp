// floaters.cpp -- floater particles: the table, the dot walk that fills it, eye movement, drift and drawing.
#include <algorithm>
#include <cstdint>

#include "common/convert.h"
#include "sim/engine/dot_walk.h"
#include "sim/engine/engine.h"
#include "sim/engine/pixels.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace engine {

namespace {

constexpr int random_floater_min_count = 10;
constexpr int map_offset_x = 80;  // the editor's 800 x 600 map is centred on the screen
constexpr int map_offset_y = 60;
constexpr float max_record_damping = 0.99f;
constexpr int movement_sample_calls = 2;  // a sample is taken on every third call
constexpr int movement_threshold = 10;    // pixels between samples that count as a movement

// Damping from a floater record: a x 0.001 + movement, at most 0.99. A value
// from a file that is not a number, or so negative that velocities would grow
// without end, is tamed: NaN stops the drift, and the lower limit is -0.99.
float record_damping(int draw, float movement) {
    float damping = static_cast<float>(draw) * 0.001f + movement;
    if (damping > max_record_damping) damping = max_record_damping;
    if (damping != damping) damping = 0.0f;
    if (damping < -max_record_damping) damping = -max_record_damping;
    return damping;
}

}  // namespace

float dim_factor_for_eyelid(int eyelid_position) {
    return static_cast<float>(1 - eyelid_position * 0.00019607843);
}

void add_particle(EngineState& state, int eye, float x, float y, int width, int height,
                  int transparency, float damping_x, float damping_y) {
    if (state.particle_count >= particle_limit || state.particle_count < 0) return;
    ParticleTable& t = state.particles;
    const int i = state.particle_count;
    const int tx = trunc_to_int(x);
    const int ty = trunc_to_int(y);
    t.eye[i] = eye;
    t.x[i] = tx;
    t.y[i] = ty;
    t.width[i] = width;
    t.height[i] = height;
    t.transparency[i] = transparency;
    t.velocity_x[i] = 0.0f;
    t.velocity_y[i] = 0.0f;
    t.position_x[i] = static_cast<float>(tx);
    t.position_y[i] = static_cast<float>(ty);
    t.damping_x[i] = damping_x;
    t.damping_y[i] = damping_y;
    state.particle_count = i + 1;
}

void walk_particles(EngineState& state, Random& rng, const DotWalk& walk, int eye,
                    int transparency, float damping_x, float damping_y) {
    DotWalk bounded = walk;
    // A walk keeps drawing after the table is full (add_particle then stores
    // nothing), so everything placed after it comes out as ever. Only a walk
    // longer than any the editor makes, which a damaged file may ask for,
    // stops once nothing more can be stored: the rows that are added are still
    // those of the full walk.
    if (walk.count > full_walk_limit)
        bounded.count = std::min(walk.count, particle_limit - state.particle_count);
    dot_walk(rng, bounded, [&](float x, float y) {
        add_particle(state, eye, x, y, walk.width, walk.height, transparency, damping_x, damping_y);
    });
}

void build_floaters_from_vision_file(EngineState& state, const vision::Document& doc, Random& rng) {
    for (int e = 0; e < vision::eyes; ++e) {
        const int floaters = std::clamp(doc.header.floater_count[e], 0, vision::max_floaters);
        for (int k = 0; k < floaters; ++k) {
            const vision::FloaterRecord& record = doc.records[e][k];
            const int a = rng.next_mod(100);
            const int b = rng.next_mod(100);
            const int dots = std::clamp(record.dot_count, 0, vision::dot_capacity);
            for (int l = 0; l < dots; ++l) {
                const float damping_x = record_damping(a, record.movement_x);
                const float damping_y = record_damping(b, record.movement_y);
                DotWalk walk;
                walk.count = record.dot_density;
                walk.width = record.dot_size_x;
                walk.height = record.dot_size_y;
                walk.start_x = static_cast<float>(int64_t(doc.x[e][k][l]) - map_offset_x);
                walk.start_y = static_cast<float>(int64_t(doc.y[e][k][l]) - map_offset_y);
                walk.diffusion = record.diffusion;
                walk.history_length = record.floater_density;
                walk.x_bias = 0;
                walk.y_bias = 0;
                walk_particles(state, rng, walk, e, record.transparency, damping_x, damping_y);
            }
        }
    }
}

void add_random_floater(EngineState& state, Random& rng, int size_bound) {
    if (size_bound < 1) return;
    int count = rng.next_mod(size_bound) + random_floater_min_count;
    const float damping_x = static_cast<float>(rng.next_mod(2000) * 0.0001 + 0.8);
    const float damping_y = static_cast<float>(rng.next_mod(2000) * 0.0001 + 0.8);
    if (int64_t(state.particle_count) + count >= particle_capacity) count = particle_limit - state.particle_count;
    if (count < 1) return;

    DotWalk walk;
    walk.count = count;
    walk.width = 1;
    walk.height = 1;
    int eye = 0;
    if (rng.next_mod(3) == 2) {  // a drifting cloud
        eye = rng.next_mod(2);
        walk.y_bias = rng.next_mod(100);
        walk.x_bias = rng.next_mod(100);
        walk.history_length = rng.next_mod(10);
        walk.diffusion = 0;
    } else if (rng.next_mod(2) == 0) {  // a loose cloud
        eye = rng.next_mod(2);
        walk.history_length = rng.next_mod(10);
        walk.diffusion = rng.next_mod(4);
    } else {  // a dense speck
        eye = rng.next_mod(2);
        walk.history_length = 0;
        walk.diffusion = 0;
    }
    walk.start_y = static_cast<float>(rng.next_mod(720) - 120);
    walk.start_x = static_cast<float>(rng.next_mod(960) - 160);
    walk_particles(state, rng, walk, eye, 254, damping_x, damping_y);
}

void eye_movement_input(EngineState& state, int x, int y) {
    if (state.previous_x == -1.0f || state.previous_y == -1.0f) {
        state.reference_x = x;
        state.reference_y = y;
        state.previous_x = static_cast<float>(x);
        state.previous_y = static_cast<float>(y);
    }
    const float dx = static_cast<float>((static_cast<float>(x) - state.previous_x) * 0.05);
    const float dy = static_cast<float>((static_cast<float>(y) - state.previous_y) * 0.05);
    state.previous_x = static_cast<float>(x);
    state.previous_y = static_cast<float>(y);

    if (++state.movement_samples > movement_sample_calls) {
        state.movement_samples = 0;
        int movement = 0;
        if (int64_t(x) > int64_t(state.reference_x) + movement_threshold) movement = 1;
        if (int64_t(x) < int64_t(state.reference_x) - movement_threshold) movement = 2;
        if (int64_t(y) > int64_t(state.reference_y) + movement_threshold) movement = 3;
        if (int64_t(y) < int64_t(state.reference_y) - movement_threshold) movement = 4;
        state.eye_movement = movement;
        state.reference_x = x;
        state.reference_y = y;
    }

    const int n = std::clamp(state.particle_count, 0, particle_limit);
    float* vx = state.particles.velocity_x.data();
    float* vy = state.particles.velocity_y.data();
    for (int i = 0; i < n; ++i) {
        vx[i] += dx;
        vy[i] += dy;
    }
}

namespace {

// trunc_to_int for a position, in a form the vector path shares.
inline int32_t position_to_int(float v) { return trunc_to_int(v); }

#if defined(__SSE2__)
// Four trunc_to_int at once: in-range values convert like a cast, values at or
// above 2^31 give INT32_MAX, NaN gives 0 (the hardware's out-of-range result,
// INT32_MIN, is already right for values at or below -2^31).
inline __m128i positions_to_int(__m128 v) {
    const __m128i converted = _mm_cvttps_epi32(v);
    const __m128 too_big = _mm_cmpge_ps(v, _mm_set1_ps(2147483648.0f));
    const __m128 is_number = _mm_cmpord_ps(v, v);
    __m128i out = _mm_or_si128(_mm_andnot_si128(_mm_castps_si128(too_big), converted),
                               _mm_and_si128(_mm_castps_si128(too_big), _mm_set1_epi32(INT32_MAX)));
    return _mm_and_si128(out, _mm_castps_si128(is_number));
}
#endif

// One field pair of the drift: position += velocity; velocity *= damping; integer = trunc(position).
void advance_axis(float* position, float* velocity, const float* damping, int32_t* integer, int n) {
    int i = 0;
#if defined(__SSE2__)
    for (; i + 4 <= n; i += 4) {
        const __m128 v = _mm_loadu_ps(velocity + i);
        const __m128 p = _mm_add_ps(_mm_loadu_ps(position + i), v);
        _mm_storeu_ps(position + i, p);
        _mm_storeu_ps(velocity + i, _mm_mul_ps(v, _mm_loadu_ps(damping + i)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(integer + i), positions_to_int(p));
    }
#endif
    for (; i < n; ++i) {
        position[i] += velocity[i];
        velocity[i] = velocity[i] * damping[i];
        integer[i] = position_to_int(position[i]);
    }
}

}  // namespace

void advance_floater_dots(EngineState& state) {
    ParticleTable& t = state.particles;
    const int n = std::clamp(state.particle_count, 0, particle_limit);
    advance_axis(t.position_x.data(), t.velocity_x.data(), t.damping_x.data(), t.x.data(), n);
    advance_axis(t.position_y.data(), t.velocity_y.data(), t.damping_y.data(), t.y.data(), n);
}

int drop_floaters(EngineState& state, Random& rng) {
    state.particle_count -= rng.next_mod(1000);
    if (state.particle_count < 0) state.particle_count = 0;
    return state.particle_count;
}

namespace {

// The darkening factor of a particle: its transparency, dimmed with the eyelid
// unless it is 255 or more, truncated, limited to 0..255, plus one. (The lower
// limit only matters for negative transparencies from files.)
inline uint32_t particle_factor(int transparency, float dim_factor) {
    float level = static_cast<float>(transparency);
    if (level < 255.0f) level = level * dim_factor;
    return static_cast<uint32_t>(std::clamp(trunc_to_int(level), 0, 255)) + 1;
}

// The part of a particle's rectangle that may be drawn: 0 < x < 640, 0 < y < 480.
struct Span {
    int x0, x1, y0, y1;
};

inline bool particle_span(const ParticleTable& t, int i, Span& out) {
    const int64_t right = std::min<int64_t>(int64_t(t.x[i]) + t.width[i], screen_width);
    const int64_t bottom = std::min<int64_t>(int64_t(t.y[i]) + t.height[i], screen_height);
    const int64_t left = std::max<int64_t>(t.x[i], 1);
    const int64_t top = std::max<int64_t>(t.y[i], 1);
    if (left >= right || top >= bottom) return false;
    out = {int(left), int(right), int(top), int(bottom)};
    return true;
}

// Particles larger than the editor makes (it makes them at most 4 x 4) come
// only from damaged files, and a few thousand that cover the screen would
// take seconds a frame. Darkening a black pixel leaves it black, and a
// factor below 256 takes every non-zero channel down by at least one, so a
// pixel is darkened at most 255 times before it is black; a factor of 256
// changes nothing. Large particles therefore skip black pixels, found
// through `next` (per row, the next pixel that may not be black yet, a
// union-find with path halving): the same pixels, in a bounded time
// whatever the particles.
constexpr long large_particle_area = 64;
constexpr int next_row = screen_width + 1;  // entry 640 ends every row

struct LargeParticles {
    std::vector<uint16_t>& next;
    bool ready = false;  // `next` is set up for this frame

    static int find(uint16_t* n, int x) {
        while (n[x] != x) {
            n[x] = n[n[x]];
            x = n[x];
        }
        return x;
    }

    // Draws particle i clipped: large ones skip black pixels.
    void draw(const ParticleTable& t, int i, uint32_t factor, platform::Frame& frame) {
        Span span;
        if (!particle_span(t, i, span) || factor == 256) return;
        if (long(span.x1 - span.x0) * (span.y1 - span.y0) <= large_particle_area) {
            for (int y = span.y0; y < span.y1; ++y) darken_row(frame.row(y) + span.x0, span.x1 - span.x0, factor);
            return;
        }
        if (!ready) {
            next.resize(size_t(screen_height) * next_row);
            for (int y = 0; y < screen_height; ++y)
                for (int x = 0; x < next_row; ++x) next[size_t(y) * next_row + x] = uint16_t(x);
            ready = true;
        }
        for (int y = span.y0; y < span.y1; ++y) {
            uint16_t* n = next.data() + size_t(y) * next_row;
            uint16_t* row = frame.row(y);
            for (int x = find(n, span.x0); x < span.x1; x = find(n, x + 1)) {
                row[x] = darken_565(row[x], factor);
                if (row[x] == 0) n[x] = uint16_t(x + 1);
            }
        }
    }
};

// The darkening factor of every transparency 0..254 under one dim factor;
// other transparencies (255 and more, or negative ones from files) are
// computed on the spot.
struct FactorTable {
    uint16_t factor[255];
    explicit FactorTable(float dim) {
        for (int t = 0; t < 255; ++t) factor[t] = static_cast<uint16_t>(particle_factor(t, dim));
    }
    uint32_t operator()(int transparency, float dim) const {
        return unsigned(transparency) < 255u ? factor[transparency] : particle_factor(transparency, dim);
    }
};

constexpr int block = 4;  // particles up to 4 x 4 pixels are drawn as one block

// Particles that lie wholly inside 1..639 x 1..479 with sides of 1..4 pixels
// are drawn as a 4 x 4 block whose lanes outside the particle get the factor
// 256, which keeps them exactly. Others take the clipped path. With every
// eye drawn the eye column is not read.
template <bool AllEyes>
void draw_particles(const EngineState& state, LargeParticles& large, platform::Frame& frame, const LitRows& lit) {
#if defined(__SSE2__)
    // Lane masks of a block of width w and height h (1..4), per pair of rows:
    // lane k is column k % 4 of row k / 4 of the pair, all ones inside.
    __m128i masks[block + 1][block + 1][2];
    for (int w = 0; w <= block; ++w)
        for (int h = 0; h <= block; ++h)
            for (int pair = 0; pair < 2; ++pair) {
                alignas(16) uint16_t lane[8];
                for (int k = 0; k < 8; ++k) lane[k] = (k % 4 < w && pair * 2 + k / 4 < h) ? 0xFFFF : 0;
                masks[w][h][pair] = _mm_load_si128(reinterpret_cast<const __m128i*>(lane));
            }
    const __m128i keep = _mm_set1_epi16(256);
#endif
    const ParticleTable& t = state.particles;
    // The columns are read through local pointers: the pixel stores could
    // otherwise alias the vectors and force a reload per particle.
    const int32_t* __restrict eye = t.eye.data();
    const int32_t* __restrict xs = t.x.data();
    const int32_t* __restrict ys = t.y.data();
    const int32_t* __restrict ws = t.width.data();
    const int32_t* __restrict hs = t.height.data();
    const int32_t* __restrict transparency = t.transparency.data();
    const int n = std::clamp(state.particle_count, 0, particle_limit);
    const int mode = state.eye_mode;
    const float dim = state.dim_factor;
    const FactorTable factors(dim);
    constexpr int x_last = screen_width - block, y_last = screen_height - block;
    uint16_t* const base = frame.pixels.data();
    for (int i = 0; i < n; ++i) {
        if (!AllEyes && eye[i] != mode) continue;
        const uint32_t factor = factors(transparency[i], dim);
        const int x = xs[i], y = ys[i], w = ws[i], h = hs[i];
        // One unsigned compare per bound: x in 1..x_last, y in 1..y_last, w and h in 1..4.
        if ((unsigned(x) - 1u >= unsigned(x_last) || unsigned(y) - 1u >= unsigned(y_last) ||
             unsigned(w) - 1u >= unsigned(block) || unsigned(h) - 1u >= unsigned(block))) {
            // Wholly off the screen (walks wander off it): nothing to draw.
            if (x > x_last + block - 1 || y > y_last + block - 1 || int64_t(x) + w <= 1 || int64_t(y) + h <= 1)
                continue;
            large.draw(t, i, factor, frame);
            continue;
        }
        if (y + h <= lit.first || y >= lit.end) continue;  // rows the eyelids blacken next
        uint16_t* p = base + y * screen_width + x;
#if defined(__SSE2__)
        const __m128i fv = _mm_set1_epi16(static_cast<short>(factor));
        // Two rows at a time; the lower pair only when the particle reaches it.
        auto pair_of_rows = [&](uint16_t* q, __m128i inside) {
            const __m128i lane_factor = _mm_or_si128(_mm_and_si128(inside, fv), _mm_andnot_si128(inside, keep));
            const __m128i v = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(q)),
                                                 _mm_loadl_epi64(reinterpret_cast<const __m128i*>(q + screen_width)));
            const __m128i out = darken8_565(v, lane_factor);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(q), out);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(q + screen_width), _mm_unpackhi_epi64(out, out));
        };
        pair_of_rows(p, masks[w][h][0]);
        if (h > 2) pair_of_rows(p + 2 * screen_width, masks[w][h][1]);
#else
        for (int r = 0; r < h; ++r) darken_row(p + r * screen_width, w, factor);
#endif
    }
}

}  // namespace

void draw_floater_particles(EngineState& state, platform::Frame& frame, const LitRows& lit) {
    LargeParticles large{state.unlit_next};
    if (state.eye_mode == 2) draw_particles<true>(state, large, frame, lit);
    else draw_particles<false>(state, large, frame, lit);
}

void set_blood_cell_count(EngineState& state, Random& rng, int new_count) {
    const int with_path = std::clamp(state.blood_cells_with_path, 0, blood_cell_capacity);
    const int count = std::clamp(new_count, 0, blood_cell_capacity);
    for (int i = with_path; i < count; ++i) new_blood_cell_path(state.blood_cells[i], rng);
    state.blood_cells_with_path = std::max(with_path, count);
    state.blood_cell_count = count;
}

}  // namespace engine
