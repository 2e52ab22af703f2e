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
}

TEST_F(StreakFixture, BrightnessMapsBetweenTrackbarAndGrey) {
    EXPECT_EQ(brightness_position(streak(0).brightness), 127) << "new document";
    EXPECT_EQ(streak_grey(streak(0).brightness), 127);
    EXPECT_EQ(brightness_from_position(255), 1.0f) << "exactly, not one step above";
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
