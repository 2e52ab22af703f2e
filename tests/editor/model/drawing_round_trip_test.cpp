// drawing_round_trip_test.cpp -- floaters and streaks drawn in the editor reach the simulator.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "editor/model/floater_map.h"
#include "editor/model/sac_refractions.h"
#include "sim/engine/dot_walk.h"
#include "support/temp_dir.h"
#include "visionfile/doc_fixture.h"
#include "visionfile/reader.h"
#include "visionfile/writer.h"

namespace editor {
namespace {

struct Start {
    float x, y;
};

TEST(DrawingRoundTrip, DrawnDotsAndTracedStreaksComeBackWhereTheyWereDrawn) {
    auto doc = new_document();
    auto state = std::make_unique<EditorState>();
    state->doc = doc.get();

    // Left eye: floater 0 with three dots, then ">" and floater 1 with one.
    state->current_eye = 0;
    open_floater_map(*state);
    floater_map_press(*state, 81, 61);
    floater_map_move(*state, 400, 300);
    floater_map_move(*state, 799, 599);
    floater_map_release(*state);
    step_floater(*state, +1);
    store_floater_slider(current_floater_record(*state), id_dot_density, 1);
    floater_map_press(*state, 100, 500);
    // Right eye: one dot.
    state->current_eye = 1;
    open_floater_map(*state);
    floater_map_press(*state, 700, 80);

    // Streaks 2 (left) and 9 (right).
    state->current_streak = 2;
    streak_press(*state, 1, 1);
    streak_move(*state, 639, 479);
    streak_move(*state, 639, 479);
    state->current_streak = 9;
    streak_press(*state, 320, 240);
    accept_when_seen(*state, id_seen_top_bottom);

    testing_support::TempDir dir;
    const std::string path = dir.file("drawn.flt");
    ASSERT_EQ(vision::write_vision_file(*doc, path.c_str()), 1);

    auto loaded = std::make_unique<vision::Document>();
    std::memset(loaded.get(), 0, sizeof *loaded);
    ASSERT_EQ(vision::read_vision_file(*loaded, path.c_str()), 1);
    EXPECT_EQ(loaded->header.floater_count[0], 2);
    EXPECT_EQ(loaded->header.floater_count[1], 1);

    // The simulator starts each burst at the stored dot minus (80, 60).
    struct Expected { int eye, k; std::vector<Start> starts; };
    const Expected expected[] = {
        {0, 0, {{1, 1}, {320, 240}, {719, 539}}},
        {0, 1, {{20, 440}}},
        {1, 0, {{620, 20}}},
    };
    Random rng;
    for (const Expected& e : expected) {
        const vision::FloaterRecord& r = loaded->records[e.eye][e.k];
        ASSERT_EQ(r.dot_count, int(e.starts.size())) << "eye " << e.eye << " floater " << e.k;
        for (int l = 0; l < r.dot_count; ++l) {
            engine::DotWalk walk;
            walk.count = r.dot_density;
            walk.width = r.dot_size_x;
            walk.height = r.dot_size_y;
            walk.start_x = float(loaded->x[e.eye][e.k][l] - 80);
            walk.start_y = float(loaded->y[e.eye][e.k][l] - 60);
            walk.diffusion = r.diffusion;
            walk.history_length = r.floater_density;
            std::vector<Start> particles;
            engine::dot_walk(rng, walk, [&](float x, float y) { particles.push_back({x, y}); });
            ASSERT_EQ(int(particles.size()), r.dot_density);
            EXPECT_EQ(particles[0].x, e.starts[l].x) << "eye " << e.eye << " floater " << e.k << " dot " << l;
            EXPECT_EQ(particles[0].y, e.starts[l].y) << "eye " << e.eye << " floater " << e.k << " dot " << l;
        }
    }
    EXPECT_EQ(loaded->records[0][1].dot_density, 1);

    const vision::Streak& left = loaded->header.streak[2];
    ASSERT_EQ(left.point_count, 3);
    EXPECT_EQ(left.x[0], 1);
    EXPECT_EQ(left.y[0], 1);
    EXPECT_EQ(left.x[2], 639);
    EXPECT_EQ(left.y[2], 479);
    EXPECT_EQ(left.when_seen, 0);
    const vision::Streak& right = loaded->header.streak[9];
    ASSERT_EQ(right.point_count, 1);
    EXPECT_EQ(right.x[0], 320);
    EXPECT_EQ(right.when_seen, 2);
    EXPECT_EQ(right.brightness, 0.5f);
}

}  // namespace
}  // namespace editor
