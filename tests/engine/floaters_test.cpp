// floaters_test.cpp -- the particle table, dot walk, random floaters, eye movement, drift and drawing.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>

#include "reference/engine_fixtures.h"
#include "reference/engine_reference.h"
#include "sim/engine/engine.h"
#include "support/pixel_compare.h"

namespace {

using engine_fixtures::random_frame;
using engine_fixtures::state_difference;
using testing_support::frames_equal;

uint32_t red_at(const platform::Frame& f, int x, int y) { return engine_fixtures::pixel(f, x, y).r; }

platform::Frame white() {
    platform::Frame f;
    std::fill(f.pixels.begin(), f.pixels.end(), uint16_t{0xFFFF});  // reads 248, 252, 248
    return f;
}

TEST(FloaterDrawing, RowZeroAndColumnZeroAreNeverTouched) {
    engine::EngineState state;
    engine::add_particle(state, 0, -1.0f, 5.0f, 3, 1, 127, 0.9f, 0.9f);  // columns -1..1 of row 5
    engine::add_particle(state, 0, 10.0f, 0.0f, 1, 2, 127, 0.9f, 0.9f);  // rows 0..1 of column 10
    platform::Frame s = white();
    engine::draw_floater_particles(state, s);
    EXPECT_EQ(248u, red_at(s, 0, 5));
    EXPECT_EQ(120u, red_at(s, 1, 5));  // 31 x 128 / 256 = 15
    EXPECT_EQ(248u, red_at(s, 2, 5));
    EXPECT_EQ(248u, red_at(s, 10, 0));
    EXPECT_EQ(120u, red_at(s, 10, 1));
}

TEST(FloaterDrawing, EyeModeSelectsTheParticlesDrawn) {
    const struct {
        int eye_mode;
        bool left_drawn, right_drawn;
    } cases[] = {{0, true, false}, {1, false, true}, {2, true, true}};
    for (const auto& c : cases) {
        engine::EngineState state;
        state.eye_mode = c.eye_mode;
        engine::add_particle(state, 0, 10, 10, 1, 1, 0, 0.9f, 0.9f);
        engine::add_particle(state, 1, 20, 20, 1, 1, 0, 0.9f, 0.9f);
        platform::Frame s = white();
        engine::draw_floater_particles(state, s);
        EXPECT_EQ(c.left_drawn, red_at(s, 10, 10) != 248) << "eye_mode " << c.eye_mode;
        EXPECT_EQ(c.right_drawn, red_at(s, 20, 20) != 248) << "eye_mode " << c.eye_mode;
    }
}

TEST(FloaterDrawing, EqualsTheLiteralDrawingInEveryEyeMode) {
    for (int eye_mode = 0; eye_mode <= 2; ++eye_mode) {
        SCOPED_TRACE("eye_mode " + std::to_string(eye_mode));
        engine::EngineState state;
        std::mt19937 gen(eye_mode + 11);
        engine_fixtures::random_particles(state, gen, 20000);
        state.eye_mode = eye_mode;
        state.dim_factor = engine::dim_factor_for_eyelid(eye_mode * 200);
        platform::Frame a = random_frame(5), b = a;
        engine::draw_floater_particles(state, a);
        reference::draw_floater_particles(state, b);
        EXPECT_TRUE(frames_equal(b, a));
    }
}

// Particles far larger than the editor makes, as a damaged file gives them:
// some cover the screen many times over (the drawing then skips pixels that
// are already black), others are large rectangles anywhere, between ordinary
// small ones; transparencies 255 and beyond (no darkening) and negative ones
// too. Found by the simulator fuzz campaign as frames that took seconds.
TEST(FloaterDrawing, ScreenSizedParticlesOfDamagedFilesEqualTheLiteralDrawing) {
    const int transparencies[] = {240, 0, 128, 254, 255, 300, -5};
    for (int eye_mode : {2, 1}) {
        SCOPED_TRACE("eye_mode " + std::to_string(eye_mode));
        engine::EngineState state;
        std::mt19937 gen(16 + eye_mode);
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
        for (int i = 0; i < 90; ++i) {
            const int eye = pick(0, 1), transparency = transparencies[pick(0, 6)];
            if (i % 3 == 0)
                engine::add_particle(state, eye, float(pick(-60, 1)), float(pick(-60, 1)), pick(700, 760),
                                     pick(540, 600), transparency, 0.9f, 0.9f);  // the literal walks it all
            else if (i % 3 == 1)
                engine::add_particle(state, eye, float(pick(-50, 600)), float(pick(-50, 450)), pick(9, 700),
                                     pick(9, 500), transparency, 0.9f, 0.9f);
            else
                engine::add_particle(state, eye, float(pick(-6, 645)), float(pick(-6, 485)), pick(1, 4),
                                     pick(1, 4), transparency, 0.9f, 0.9f);
        }
        state.eye_mode = eye_mode;
        state.dim_factor = engine::dim_factor_for_eyelid(120);
        platform::Frame a = random_frame(9), b = a;
        engine::draw_floater_particles(state, a);
        reference::draw_floater_particles(state, b);
        EXPECT_TRUE(frames_equal(b, a));
    }
}

TEST(EyeMovement, FirstCallOnlyRecordsThenTwentyPixelsGiveVelocityOne) {
    engine::EngineState state;
    engine::add_particle(state, 0, 100, 100, 1, 1, 200, 0.9f, 0.9f);
    engine::add_particle(state, 1, 200, 100, 1, 1, 200, 0.9f, 0.9f);
    engine::eye_movement_input(state, 300, 200);
    EXPECT_EQ(0.0f, state.particles.velocity_x[0]);
    EXPECT_EQ(0.0f, state.particles.velocity_y[0]);
    engine::eye_movement_input(state, 320, 200);
    EXPECT_EQ(1.0f, state.particles.velocity_x[0]);
    EXPECT_EQ(1.0f, state.particles.velocity_x[1]);  // both eyes, drawn or not
    EXPECT_EQ(0.0f, state.particles.velocity_y[0]);
    for (int frame = 0; frame < 200; ++frame) engine::advance_floater_dots(state);
    EXPECT_NEAR(110.0f, state.particles.position_x[0], 0.01f);  // 1 + 0.9 + 0.81 + ... = 10
    EXPECT_EQ(static_cast<int>(state.particles.position_x[0]), state.particles.x[0]);
}

TEST(EyeMovement, EveryThirdCallSamplesTheDirectionAndVerticalWins) {
    const struct {
        int dx, dy, expected;
    } cases[] = {{11, 0, 1}, {-11, 0, 2}, {0, 11, 3}, {0, -11, 4}, {11, 11, 3}, {-20, -20, 4}, {10, -10, 0}};
    for (const auto& c : cases) {
        engine::EngineState state;
        engine::eye_movement_input(state, 100, 100);  // first call: sample 1, reference (100, 100)
        engine::eye_movement_input(state, 100, 100);
        EXPECT_EQ(0, state.eye_movement);
        engine::eye_movement_input(state, 100 + c.dx, 100 + c.dy);
        EXPECT_EQ(c.expected, state.eye_movement) << c.dx << "," << c.dy;
        EXPECT_EQ(0, state.movement_samples);
        EXPECT_EQ(100 + c.dx, state.reference_x);
    }
}

TEST(EyeMovement, DriftAndPushEqualTheLiteralVersionIncludingNonFiniteValues) {
    engine::EngineState a;
    std::mt19937 gen(4);
    engine_fixtures::random_particles(a, gen, 99999);
    // Values a damaged file can lead to: no number, infinities, beyond int range.
    const float odd[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(), 3e9f, -3e9f, 2147483520.0f, -2147483648.0f};
    for (int i = 0; i < 7; ++i) a.particles.position_x[1000 + i] = a.particles.position_y[2000 + i] = odd[i];
    a.particles.damping_x[7] = 1.5f;
    engine::EngineState b = a;
    for (int step = 0; step < 30; ++step) {
        const int x = 300 + step * 7 % 40, y = 200 - step * 13 % 30;
        engine::eye_movement_input(a, x, y);
        reference::eye_movement_input(b, x, y);
        engine::advance_floater_dots(a);
        reference::advance_floater_dots(b);
        ASSERT_EQ("", state_difference(b, a)) << "step " << step;
    }
    EXPECT_EQ(0, a.particles.x[1000]);  // NaN
    EXPECT_EQ(INT32_MAX, a.particles.x[1001]);
    EXPECT_EQ(INT32_MIN, a.particles.x[1002]);
}

TEST(ParticleTable, AddRandomFloaterStopsAtTheRowLimit) {
    engine::EngineState state;
    state.particle_count = 99990;
    Random rng;
    engine::add_random_floater(state, rng, 2000);
    EXPECT_EQ(99999, state.particle_count);
    engine::add_random_floater(state, rng, 2000);  // full: nothing added
    EXPECT_EQ(99999, state.particle_count);
    engine::add_particle(state, 0, 1, 1, 1, 1, 1, 0.5f, 0.5f);
    EXPECT_EQ(99999, state.particle_count);
}

TEST(ParticleTable, KeyKDropsADrawModThousandAndStopsAtZero) {
    engine::EngineState state;
    state.particle_count = 5000;
    Random rng, expected;
    const int drop = expected.next() % 1000;
    EXPECT_EQ(5000 - drop, engine::drop_floaters(state, rng));
    EXPECT_EQ(5000 - drop, state.particle_count);
    state.particle_count = 0;
    while (state.particle_count == 0) {  // find a draw larger than the table
        state.particle_count = 3;
        Random peek = rng;
        if (peek.next() % 1000 > 3) break;
        rng.next();
        state.particle_count = 0;
    }
    EXPECT_EQ(0, engine::drop_floaters(state, rng));
    EXPECT_EQ(0, state.particle_count);
}

// Random floaters of every kind, over a table that fills up: rows and draws
// equal the literal walk's.
TEST(RandomFloaters, EqualTheLiteralWalkUntilTheTableIsFull) {
    engine::EngineState a;
    Random rng_a;
    rng_a.seed(2024);
    engine::EngineState b = a;
    Random rng_b = rng_a;
    for (int n = 0; n < 120 && a.particle_count < engine::particle_limit; ++n) {
        engine::add_random_floater(a, rng_a, 2000);
        reference::add_random_floater(b, rng_b, 2000);
    }
    for (int n = 0; n < 3; ++n) {
        engine::add_random_floater(a, rng_a, 2000);
        reference::add_random_floater(b, rng_b, 2000);
    }
    EXPECT_EQ(engine::particle_limit, a.particle_count);
    EXPECT_EQ(rng_b.state, rng_a.state);
    EXPECT_EQ("", state_difference(b, a));
}

std::unique_ptr<vision::Document> random_document(uint32_t seed) {
    auto doc = std::make_unique<vision::Document>();
    std::mt19937 gen(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    for (int e = 0; e < 2; ++e) {
        doc->header.floater_count[e] = pick(1, 6);
        for (int k = 0; k < doc->header.floater_count[e]; ++k) {
            vision::FloaterRecord& r = doc->records[e][k];
            r.dot_count = pick(0, 12);
            r.dot_density = pick(0, 40);
            r.dot_size_x = pick(1, 4);
            r.dot_size_y = pick(1, 4);
            r.transparency = pick(0, 254);
            r.diffusion = pick(0, 5);
            r.floater_density = pick(0, 120);  // above 100 counts as 100
            r.movement_x = pick(0, 99) / 100.0f;
            r.movement_y = pick(0, 99) / 100.0f;
            for (int l = 0; l < r.dot_count; ++l) {
                doc->x[e][k][l] = pick(0, 799);
                doc->y[e][k][l] = pick(0, 599);
            }
        }
    }
    return doc;
}

TEST(VisionFloaters, BuildEqualsTheLiteralWalk) {
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        auto doc = random_document(seed);
        engine::EngineState a;
        Random rng_a;
        rng_a.seed(seed);
        engine::EngineState b = a;
        Random rng_b = rng_a;
        engine::build_floaters_from_vision_file(a, *doc, rng_a);
        reference::build_floaters_from_vision_file(b, *doc, rng_b);
        EXPECT_GT(a.particle_count, 0) << seed;
        EXPECT_EQ(rng_b.state, rng_a.state) << seed;
        EXPECT_EQ("", state_difference(b, a)) << seed;
    }
}

TEST(VisionFloaters, AHugeDensityStopsAtTheRowLimitQuickly) {
    auto doc = std::make_unique<vision::Document>();
    doc->header.floater_count[0] = 500;  // more than there are records
    doc->header.floater_count[1] = 1;
    vision::FloaterRecord& r = doc->records[0][0];
    r.dot_count = 1024;
    r.dot_density = 1000000000;
    r.dot_size_x = r.dot_size_y = 2;
    r.diffusion = 3;
    r.floater_density = 10;
    r.movement_x = std::numeric_limits<float>::quiet_NaN();
    r.movement_y = -1e30f;
    for (int l = 0; l < 1024; ++l) doc->x[0][0][l] = doc->y[0][0][l] = 300 + l % 100;
    doc->records[1][0] = r;
    engine::EngineState a;
    Random rng_a;
    engine::EngineState b = a;
    Random rng_b;
    const auto start = std::chrono::steady_clock::now();
    engine::build_floaters_from_vision_file(a, *doc, rng_a);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(engine::particle_limit, a.particle_count);
    EXPECT_LT(seconds, 5.0);  // a guard against walking a billion steps, not a speed test
    EXPECT_EQ(0.0f, a.particles.damping_x[0]);
    EXPECT_EQ(-0.99f, a.particles.damping_y[0]);
    reference::build_floaters_from_vision_file(b, *doc, rng_b);
    EXPECT_EQ(rng_b.state, rng_a.state);
    EXPECT_EQ("", state_difference(b, a));
}

TEST(VisionFloaters, HugeValuesFromFilesNeverOverflow) {
    auto doc = std::make_unique<vision::Document>();
    doc->header.floater_count[0] = 2;
    vision::FloaterRecord& r = doc->records[0][0];
    r.dot_count = 5000;  // beyond the point table
    r.dot_density = 3;
    r.dot_size_x = r.dot_size_y = 1000000000;
    r.diffusion = -4;
    r.floater_density = -1;
    for (int l = 0; l < 1024; ++l) doc->x[0][0][l] = doc->y[0][0][l] = l % 2 ? INT32_MAX : INT32_MIN;
    doc->records[0][1] = r;
    doc->records[0][1].diffusion = 2000000000;
    doc->records[0][1].dot_count = 2;
    engine::EngineState a;
    Random rng_a;
    engine::EngineState b = a;
    Random rng_b;
    engine::build_floaters_from_vision_file(a, *doc, rng_a);
    reference::build_floaters_from_vision_file(b, *doc, rng_b);
    EXPECT_EQ(1026 * 3, a.particle_count);
    EXPECT_EQ(rng_b.state, rng_a.state);
    EXPECT_EQ("", state_difference(b, a));
    // Rectangles a billion pixels wide at the ends of the int range touch only the screen.
    platform::Frame s = random_frame(3);
    engine::draw_floater_particles(a, s);
    engine::advance_floater_dots(a);
    engine::eye_movement_input(a, INT32_MAX, INT32_MIN);
}

// Lowering the count only stops drawing the higher rows: raised again, they
// resume with the state they kept. Only rows that never had a path get one.
TEST(BloodCellCount, RowsResumeTheirPathsAndOnlyNewRowsGetOne) {
    engine::EngineState state;
    Random rng, expected;
    state.blood_cell_count = 0;
    engine::BloodCell cell{};
    for (const auto& [count, fresh_from] : {std::pair{10, 0}, {0, 10}, {10, 10}, {20, 10}}) {
        const std::vector<engine::BloodCell> before = state.blood_cells;
        engine::set_blood_cell_count(state, rng, count);
        EXPECT_EQ(count, state.blood_cell_count);
        for (int i = 0; i < 20; ++i) {
            const bool fresh = i >= fresh_from && i < count;
            if (fresh) engine::new_blood_cell_path(cell, expected);
            EXPECT_EQ(0, std::memcmp(fresh ? &cell : &before[i], &state.blood_cells[i], sizeof cell))
                << "count " << count << " row " << i;
        }
        EXPECT_EQ(expected.state, rng.state) << "count " << count;
    }
    EXPECT_EQ(0, state.blood_cells[20].trail_length);
    engine::set_blood_cell_count(state, rng, 5000);
    EXPECT_EQ(engine::blood_cell_capacity, state.blood_cell_count);
    EXPECT_EQ(5, state.blood_cells[999].trail_length);
}

}  // namespace

namespace {

// Replays the draws of building `doc`'s floaters with the shared walk and a
// sink that stores nothing: the draw count of a build that never fills up.
Random draws_of_unbounded_build(const vision::Document& doc) {
    Random rng;
    for (int e = 0; e < 2; ++e)
        for (int k = 0; k < doc.header.floater_count[e]; ++k) {
            const vision::FloaterRecord& r = doc.records[e][k];
            rng.next();
            rng.next();
            for (int l = 0; l < r.dot_count; ++l) {
                engine::DotWalk walk;
                walk.count = r.dot_density;
                walk.width = r.dot_size_x;
                walk.height = r.dot_size_y;
                walk.start_x = float(doc.x[e][k][l] - 80);
                walk.start_y = float(doc.y[e][k][l] - 60);
                walk.diffusion = r.diffusion;
                walk.history_length = r.floater_density;
                engine::dot_walk(rng, walk, [](float, float) {});
            }
        }
    return rng;
}

}  // namespace

TEST(VisionFloaters, WalksKeepDrawingOnceTheTableIsFull) {
    // The editor allows 100 floaters of 1023 dots at density 10 per eye, far
    // more than the table holds; the walks that no longer fit still draw, so
    // the blood cells, stars and sparks built next are placed as ever.
    auto doc = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*doc);
    doc->header.floater_count[0] = 100;
    doc->header.floater_count[1] = 0;
    for (int k = 0; k < 100; ++k) {
        vision::FloaterRecord& r = doc->records[0][k];
        r.dot_count = 1023;
        r.dot_density = 10;
        r.diffusion = 2;
        r.floater_density = 3;
        for (int l = 0; l < 1023; ++l) {
            doc->x[0][k][l] = 100 + (l * 7 + k) % 600;
            doc->y[0][k][l] = 80 + (l * 13 + k * 3) % 440;
        }
    }
    engine::EngineState a;
    Random rng_a;
    engine::build_floaters_from_vision_file(a, *doc, rng_a);
    EXPECT_EQ(a.particle_count, engine::particle_limit);
    EXPECT_EQ(rng_a.state, draws_of_unbounded_build(*doc).state);

    engine::EngineState b;
    Random rng_b;
    reference::build_floaters_from_vision_file(b, *doc, rng_b);
    EXPECT_EQ(rng_b.state, rng_a.state);
    EXPECT_EQ("", state_difference(b, a));
}

TEST(VisionFloaters, WalksBoxedInByTheirHistoryDrawAsTheLiteralWalk) {
    // Diffusion -1 spreads nothing and a zero dot size steps nowhere: every
    // step after the first finds its spot in the history and fails all 501
    // attempts. A small spread with a long history and a long walk (damaged
    // values) often has every reachable spot in its history too. The build
    // must still consume exactly the draws of every attempt. So must walks
    // whose reach is up to a full history (81 spots of diffusion 4, a column
    // of 81 with width 0) and walks so far out that float spacing folds many
    // steps onto one spot.
    auto doc = std::make_unique<vision::Document>();
    doc->header.floater_count[0] = 9;
    doc->header.floater_count[1] = 0;
    for (int k = 0; k < 4; ++k) {
        vision::FloaterRecord& r = doc->records[0][k];
        r.dot_count = 1023;
        r.dot_density = 10;
        r.dot_size_x = r.dot_size_y = k < 2 ? 1 : 0;
        r.diffusion = k < 2 ? -1 : 5;
        r.floater_density = 10;
        for (int l = 0; l < 1023; ++l) doc->x[0][k][l] = doc->y[0][k][l] = 100 + l % 300;
    }
    for (int k = 4; k < 6; ++k) {
        vision::FloaterRecord& r = doc->records[0][k];
        r.dot_count = 1;
        r.dot_density = 3000;
        r.dot_size_x = r.dot_size_y = 1;
        r.diffusion = k == 4 ? 0 : 1;  // spans of 2: nine spots within reach
        r.floater_density = 100;
        doc->x[0][k][0] = doc->y[0][k][0] = 400;
    }
    for (int k = 6; k < 9; ++k) {
        vision::FloaterRecord& r = doc->records[0][k];
        r.dot_count = 1;
        r.dot_density = 3000;
        r.dot_size_x = k == 7 ? 0 : 1;
        r.dot_size_y = 1;
        r.diffusion = k == 6 ? 4 : k == 7 ? 40 : 30;
        r.floater_density = 100;
        doc->x[0][k][0] = doc->y[0][k][0] = k == 8 ? 1 << 26 : 400;
    }
    engine::EngineState a;
    Random rng_a;
    engine::EngineState b = a;
    Random rng_b;
    engine::build_floaters_from_vision_file(a, *doc, rng_a);
    reference::build_floaters_from_vision_file(b, *doc, rng_b);
    EXPECT_EQ(rng_b.state, rng_a.state);
    EXPECT_EQ("", state_difference(b, a));
}

TEST(DotWalk, NegativeDiffusionSpreadsByTheRemainderOfItsMagnitude) {
    // Only hand-made files hold these. r mod span of a negative span is the
    // non-negative remainder by its magnitude: diffusion -3 (span -2) walks
    // like diffusion 1 (span 2); diffusion -1 (span 0) spreads nothing.
    auto positions = [](int diffusion) {
        Random rng;
        engine::DotWalk walk;
        walk.count = 200;
        walk.start_x = 300;
        walk.start_y = 200;
        walk.diffusion = diffusion;
        std::vector<std::pair<float, float>> seen;
        engine::dot_walk(rng, walk, [&](float x, float y) { seen.emplace_back(x, y); });
        return seen;
    };
    EXPECT_EQ(positions(-3), positions(1));
    for (const auto& [x, y] : positions(-1)) {
        EXPECT_EQ(x, 300.0f);
        EXPECT_EQ(y, 200.0f);
    }
    EXPECT_NE(positions(-5), positions(1));
}
