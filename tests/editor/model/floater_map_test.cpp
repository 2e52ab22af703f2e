// floater_map_test.cpp -- dot rules, floater stepping, slider mappings and the map redraw.
#include <gtest/gtest.h>

#include <memory>

#include "editor/model/floater_map.h"
#include "visionfile/doc_fixture.h"

namespace editor {
namespace {

constexpr uint32_t white = rgb(255, 255, 255);
constexpr uint32_t red = rgb(255, 0, 0);

struct MapFixture : ::testing::Test {
    std::unique_ptr<vision::Document> doc = new_document();
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    PixelPicture picture = make_map_picture();

    void SetUp() override { state->doc = doc.get(); }
    vision::FloaterRecord& record(int eye, int k) { return doc->records[eye][k]; }
    int dots(int eye = 0, int k = 0) { return doc->records[eye][k].dot_count; }
    int pixels_equal_to(uint32_t colour) {
        int n = 0;
        for (int y = 0; y < floater_map_height; ++y)
            for (int x = 0; x < floater_map_width; ++x) n += state->canvas.at(x, y) == colour;
        return n;
    }
};

TEST_F(MapFixture, PressesAtTheEdgesAddNothingAndEndTheStroke) {
    struct Case { int x, y; int added; };
    const Case cases[] = {{0, 300, 0}, {400, 0, 0}, {800, 300, 0}, {400, 600, 0},
                          {799, 599, 1}, {1, 1, 1}};
    for (const Case& c : cases) {
        doc->records[0][0].dot_count = 0;
        state->floater_map_input.drawing = 1;  // a stroke in progress
        floater_map_press(*state, c.x, c.y);
        EXPECT_EQ(dots(), c.added) << "press at " << c.x << "," << c.y;
        EXPECT_EQ(state->floater_map_input.drawing, c.added) << c.x << "," << c.y;
        // A move inside the map after an outside press must not draw.
        floater_map_move(*state, 200, 200);
        EXPECT_EQ(dots(), c.added * 2) << "move after press at " << c.x << "," << c.y;
    }
}

TEST_F(MapFixture, StrokeAddsDistinctDotsUntilTheLimit) {
    floater_map_press(*state, 10, 10);
    floater_map_move(*state, 11, 10);
    floater_map_move(*state, 10, 10);  // back over the first pixel
    floater_map_move(*state, 11, 10);
    EXPECT_EQ(dots(), 2);
    floater_map_release(*state);
    floater_map_move(*state, 12, 10);  // moving without the button adds nothing
    EXPECT_EQ(dots(), 2);
    EXPECT_EQ(state->floater_map_input.last_x, 12);

    for (int i = 0; dots() < 1023; ++i) add_floater_dot(*doc, 0, 0, 1 + i % 700, 100 + i / 700);
    EXPECT_EQ(add_floater_dot(*doc, 0, 0, 5, 500), 0) << "1024th distinct dot kept";
    EXPECT_EQ(dots(), 1023);
    delete_last_dot(*state);
    EXPECT_EQ(dots(), 1022);
    delete_floater_dots(*state);
    delete_last_dot(*state);
    EXPECT_EQ(dots(), 0);
}

TEST_F(MapFixture, SteppingGrowsTheDocumentButNeverShrinksIt) {
    open_floater_map(*state);
    EXPECT_EQ(step_floater(*state, -1), 0);
    EXPECT_EQ(step_floater(*state, +1), 1);
    EXPECT_EQ(doc->header.floater_count[0], 2);
    EXPECT_EQ(record(0, 1).dot_density, 4);
    EXPECT_EQ(record(0, 1).transparency, 240);
    EXPECT_EQ(record(0, 1).movement_x, 0.8f);
    EXPECT_EQ(doc->header.floater_count[1], 1) << "the other eye is untouched";

    doc->header.floater_count[0] = 5;
    state->current_floater[0] = 3;
    add_floater_dot(*doc, 0, 3, 50, 50);
    delete_floater_dots(*state);
    EXPECT_EQ(dots(0, 3), 0);
    EXPECT_EQ(doc->header.floater_count[0], 5);
    step_floater(*state, -1);
    EXPECT_EQ(doc->header.floater_count[0], 5) << "stepping back keeps the count";

    state->current_floater[0] = 99;
    EXPECT_EQ(step_floater(*state, +1), 99);
    EXPECT_EQ(doc->header.floater_count[0], 100);

    state->current_eye = 1;
    open_floater_map(*state);
    EXPECT_EQ(state->current_floater[1], 0);
    EXPECT_EQ(state->current_floater[0], 99) << "opening one eye keeps the other's index";
}

TEST_F(MapFixture, SlidersShowAndStoreTheirValues) {
    vision::FloaterRecord r = record(0, 0);
    // New-document defaults as the sliders show them.
    const int defaults[][2] = {{id_dot_density, 4}, {id_dot_size_x, 1}, {id_dot_size_y, 1},
                               {id_transparency, 240}, {id_diffusion, 0},
                               {id_floater_density, 10}, {id_movement_x, 800},
                               {id_movement_y, 800}};
    for (const auto& d : defaults) EXPECT_EQ(floater_slider_position(r, d[0]), d[1]) << d[0];

    store_floater_slider(r, id_floater_density, 10);
    EXPECT_EQ(r.floater_density, 0);
    store_floater_slider(r, id_floater_density, 3);
    EXPECT_EQ(r.floater_density, 7);
    store_floater_slider(r, id_movement_x, 990);
    EXPECT_EQ(r.movement_x, 0.99f);
    store_floater_slider(r, id_movement_y, 500);
    EXPECT_EQ(r.movement_y, 0.5f);

    // A stored movement reads back truncated in single precision: 502 stores
    // 0.50199997f, shown as 501. No position drifts by more than one step.
    store_floater_slider(r, id_movement_x, 502);
    EXPECT_EQ(floater_slider_position(r, id_movement_x), 501);
    for (int p = 500; p <= 990; ++p) {
        store_floater_slider(r, id_movement_x, p);
        const int shown = floater_slider_position(r, id_movement_x);
        ASSERT_TRUE(shown == p || shown == p - 1) << p << " shows " << shown;
    }

    // Values outside a range show the nearer end and stay stored as they are.
    r.dot_density = 0;
    r.transparency = 255;
    r.floater_density = -2147483647 - 1;
    r.movement_y = 1.5f;
    EXPECT_EQ(floater_slider_position(r, id_dot_density), 1);
    EXPECT_EQ(floater_slider_position(r, id_transparency), 254);
    EXPECT_EQ(floater_slider_position(r, id_floater_density), 10);
    EXPECT_EQ(floater_slider_position(r, id_movement_y), 990);
    EXPECT_EQ(r.dot_density, 0);
    EXPECT_EQ(r.transparency, 255);
}

TEST_F(MapFixture, PreviewShadesOneBlockPerDotWithoutDiffusion) {
    record(0, 0).dot_density = 1;
    record(0, 0).dot_size_x = 2;
    record(0, 0).dot_size_y = 3;
    add_floater_dot(*doc, 0, 0, 100, 100);
    add_floater_dot(*doc, 0, 0, 300, 200);
    add_floater_dot(*doc, 0, 0, 799, 599);  // block runs past the map into the canvas
    state->canvas.at(800, 600) = red;       // beyond the map picture: not repainted
    redraw_floater_map(*state, picture);
    const uint32_t grey = rgb(239, 239, 239);  // 255 x 240 >> 8
    EXPECT_EQ(pixels_equal_to(grey), 2 * 6 + 1);  // the third block is mostly off the map
    for (int dx = 0; dx < 2; ++dx)
        for (int dy = 0; dy < 3; ++dy) EXPECT_EQ(state->canvas.at(100 + dx, 100 + dy), grey);
    EXPECT_EQ(state->canvas.at(800, 600), grey) << "the canvas beyond the map is shaded too";
    EXPECT_EQ(state->canvas.at(102, 100), white);
}

TEST_F(MapFixture, OtherFloatersAreRedAndLaterRecordsDrawOver) {
    doc->header.floater_count[0] = 3;
    add_floater_dot(*doc, 0, 0, 50, 50);   // current floater
    add_floater_dot(*doc, 0, 1, 50, 50);   // drawn after it: stays red
    add_floater_dot(*doc, 0, 1, 60, 60);
    add_floater_dot(*doc, 0, 2, 70, 70);
    add_floater_dot(*doc, 0, 5, 80, 80);   // outside the document, still shown
    add_floater_dot(*doc, 1, 0, 90, 90);   // the other eye
    record(0, 0).dot_density = 1;
    redraw_floater_map(*state, picture);
    EXPECT_EQ(state->canvas.at(50, 50), red);
    EXPECT_EQ(pixels_equal_to(red), 4);
    EXPECT_EQ(state->canvas.at(90, 90), white) << "the right eye's dot on the left map";

    // With floater 1 current, its walk shades floater 0's red dot beneath it.
    state->current_floater[0] = 1;
    record(0, 1).dot_density = 1;
    record(0, 1).transparency = 200;
    redraw_floater_map(*state, picture);
    EXPECT_EQ(state->canvas.at(50, 50), rgb(199, 199, 199));  // 255 x 200 >> 8
    EXPECT_EQ(state->canvas.at(60, 60), rgb(199, 199, 199));

    state->current_eye = 1;
    open_floater_map(*state);
    redraw_floater_map(*state, picture);
    EXPECT_EQ(pixels_equal_to(red), 0);
    EXPECT_NE(state->canvas.at(90, 90), white);
    for (int xy : {50, 60, 70, 80}) EXPECT_EQ(state->canvas.at(xy, xy), white) << xy;
}

TEST_F(MapFixture, PreviewRepeatsFromAFreshGeneratorAndContinuesItsSequence) {
    record(0, 0).dot_density = 10;
    record(0, 0).diffusion = 10;
    record(0, 0).floater_density = 5;
    for (int i = 0; i < 20; ++i) add_floater_dot(*doc, 0, 0, 200 + 13 * i, 300);
    redraw_floater_map(*state, picture);
    const std::vector<uint32_t> first = state->canvas.pixels;

    auto other = std::make_unique<EditorState>();
    other->doc = doc.get();
    redraw_floater_map(*other, picture);
    EXPECT_TRUE(other->canvas.pixels == first) << "first preview differs between runs";

    redraw_floater_map(*state, picture);
    EXPECT_FALSE(state->canvas.pixels == first) << "a redraw did not continue the sequence";
}

TEST_F(MapFixture, ValuesFromALoadedFileStayInsideTheTables) {
    // A loaded record may hold anything; the redraw and the rules must not
    // index outside the canvas or the point rows.
    doc->records[0][1].dot_count = 1024;
    for (int i = 0; i < 1024; ++i) {
        doc->x[0][1][i] = i % 2 ? -5 : 2000000000;
        doc->y[0][1][i] = i;
    }
    vision::FloaterRecord& r = record(0, 0);
    r.dot_count = 1;
    doc->x[0][0][0] = 958;
    doc->y[0][0][0] = 718;
    r.dot_density = 2;
    r.dot_size_x = 2147483647;
    r.dot_size_y = 4;
    r.transparency = 2147483647;
    r.diffusion = -7;
    r.floater_density = 1000;
    redraw_floater_map(*state, picture);
    EXPECT_EQ(add_floater_dot(*doc, 0, 1, 5, 5), 0);
    r.dot_count = -3;
    EXPECT_EQ(add_floater_dot(*doc, 0, 0, 5, 5), 0);
    delete_last_dot(*state);
    EXPECT_EQ(r.dot_count, 0);
    state->current_floater[0] = 250;
    EXPECT_EQ(step_floater(*state, +1), 99);
}

}  // namespace
}  // namespace editor
