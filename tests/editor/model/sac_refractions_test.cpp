// sac_refractions_test.cpp -- streak tracing rules, stepping, brightness mapping and drawing.
#include <gtest/gtest.h>

#include <memory>

#include "editor/model/sac_refractions.h"
#include "visionfile/doc_fixture.h"

namespace editor {
namespace {

struct StreakFixture : ::testing::Test {
    std::unique_ptr<vision::Document> doc = new_document();
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    PixelPicture picture = make_eye_picture();

    void SetUp() override { state->doc = doc.get(); }
    vision::Streak& streak(int k) { return doc->header.streak[k]; }
};

TEST_F(StreakFixture, PressesAtTheEdgesAddNothingAndEndTheTrace) {
    struct Case { int x, y; int added; };
    const Case cases[] = {{0, 200, 0}, {300, 0, 0}, {640, 200, 0}, {300, 480, 0},
                          {639, 479, 1}, {65535, 65535, 0}};
    for (const Case& c : cases) {
        streak(0).point_count = 0;
        state->streak_input.drawing = 1;
        streak_press(*state, c.x, c.y);
        streak_move(*state, 100, 100);
        EXPECT_EQ(streak(0).point_count, c.added * 2) << "press at " << c.x << "," << c.y;
        EXPECT_EQ(state->streak_input.last_x, 100);
    }
    EXPECT_EQ(client_coordinate(-1), 65535) << "a position left of the client reads as outside";
}

TEST_F(StreakFixture, TracingKeepsRepeatsUpToTheLimit) {
    streak_press(*state, 10, 10);
    streak_move(*state, 10, 10);
    streak_move(*state, 10, 10);
    EXPECT_EQ(streak(0).point_count, 3) << "repeated points are stored";
    streak_release(*state);
    streak_move(*state, 11, 10);
    EXPECT_EQ(streak(0).point_count, 3);

    streak_press(*state, 20, 20);
    while (streak(0).point_count < 6399) streak_move(*state, 20, 20);
    EXPECT_EQ(streak_move(*state, 21, 20), 1) << "the move still asks for a redraw";
    EXPECT_EQ(streak(0).point_count, 6399);
    clear_streak(*state);
    streak_move(*state, 22, 20);
    EXPECT_EQ(streak(0).point_count, 1);
    EXPECT_EQ(streak(0).x[0], 22);
    EXPECT_EQ(streak(1).point_count, 0) << "only the current streak is traced";
}

TEST_F(StreakFixture, SteppingStaysWithinTheEye) {
    struct Case { int from, direction, to; };
    const Case cases[] = {{4, +1, 4}, {5, -1, 5}, {0, -1, 0}, {9, +1, 9},
                          {0, +1, 1}, {3, +1, 4}, {6, -1, 5}, {8, +1, 9}};
    for (const Case& c : cases) {
        state->current_streak = c.from;
        EXPECT_EQ(step_streak(*state, c.direction), c.to) << c.from << " by " << c.direction;
    }
    EXPECT_EQ(streak_number_in_eye(4), 4);
    EXPECT_EQ(streak_number_in_eye(5), 0);
    EXPECT_EQ(streak_number_in_eye(9), 4);
    EXPECT_STREQ(sac_refractions_caption(4), "Sac refractions. Left eye");
    EXPECT_STREQ(sac_refractions_caption(5), "Sac refractions. Right eye");
}

TEST_F(StreakFixture, BrightnessMapsBetweenTrackbarAndGrey) {
    EXPECT_EQ(brightness_position(streak(0).brightness), 127) << "new document";
    EXPECT_EQ(streak_grey(streak(0).brightness), 127);
    EXPECT_NEAR(brightness_from_position(255), 1.0f, 2e-7f);
    EXPECT_EQ(streak_grey(brightness_from_position(255)), 255);
    EXPECT_EQ(brightness_from_position(0), 0.0f);
    EXPECT_EQ(brightness_position(-0.5f), 0);
    EXPECT_EQ(brightness_position(3.0f), 255);
    EXPECT_EQ(streak_grey(2.0f), 254) << "510 keeps its low 8 bits";
    // Every trackbar position stores a brightness that shows the same position.
    for (int p = 0; p <= 255; ++p) {
        ASSERT_EQ(brightness_position(brightness_from_position(p)), p) << p;
        ASSERT_EQ(streak_grey(brightness_from_position(p)), p) << p;
    }
}

TEST_F(StreakFixture, OkStoresTheRadioChoiceInTheCurrentStreak) {
    const int expected[][2] = {{id_seen_always, 0}, {id_seen_left_right, 1},
                               {id_seen_top_bottom, 2}, {id_seen_moving, 3}};
    for (const auto& e : expected) {
        EXPECT_EQ(when_seen_of_radio(e[0]), e[1]);
        EXPECT_EQ(radio_of_when_seen(e[1]), e[0]);
    }
    EXPECT_EQ(radio_of_when_seen(4), -1);
    state->current_streak = 0;
    step_streak(*state, +1);
    step_streak(*state, +1);
    accept_when_seen(*state, id_seen_moving);
    EXPECT_EQ(streak(2).when_seen, 3);
    EXPECT_EQ(streak(0).when_seen, 0);
    accept_when_seen(*state, -1);
    EXPECT_EQ(streak(2).when_seen, 3) << "no selection keeps the value";
}

TEST_F(StreakFixture, RedrawShowsOnlyTheCurrentStreakInItsGrey) {
    state->current_streak = 7;
    streak_press(*state, 639, 479);
    streak_move(*state, 1, 1);
    add_streak_point(streak(6), 50, 50);
    streak(7).brightness = brightness_from_position(200);
    state->canvas.at(300, 300) = rgb(1, 2, 3);  // leftovers are painted over
    redraw_streaks(*state, picture);
    EXPECT_EQ(state->canvas.at(639, 479), rgb(200, 200, 200));
    EXPECT_EQ(state->canvas.at(1, 1), rgb(200, 200, 200));
    EXPECT_EQ(state->canvas.at(50, 50), rgb(0, 0, 0));
    EXPECT_EQ(state->canvas.at(300, 300), rgb(0, 0, 0));

    // Loaded points outside the canvas and counts beyond the arrays are skipped.
    streak(7).point_count = 1 << 30;
    streak(7).x[2] = -1;
    streak(7).y[3] = 100000;
    redraw_streaks(*state, picture);
    EXPECT_EQ(add_streak_point(streak(7), 5, 5), 0);
}

}  // namespace
}  // namespace editor
