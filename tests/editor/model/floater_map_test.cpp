// floater_map_test.cpp -- dot rules, floater stepping, slider mappings and the map redraw.
#include <gtest/gtest.h>

#include <memory>

#include "editor/model/floater_map.h"
#include "sim/engine/dot_walk.h"
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
    int pixels_equal_to(uint32_t colour) {
        int n = 0;
        for (int y = 0; y < floater_map_height; ++y)
            for (int x = 0; x < floater_map_width; ++x) n += state->canvas.at(x, y) == colour;
        return n;
    }
};

TEST_F(MapFixture, EachEyeKeepsItsOwnFloaterIndexAndCount) {
    state->current_floater[0] = 3;
    doc->header.floater_count[0] = 5;
    EXPECT_EQ(step_floater(*state, -1), 2);
    EXPECT_EQ(doc->header.floater_count[0], 5) << "stepping back shrank the count";
    state->current_eye = 1;
    open_floater_map(*state);
    EXPECT_EQ(step_floater(*state, +1), 1);
    EXPECT_EQ(doc->header.floater_count[1], 2);
    EXPECT_EQ(state->current_floater[0], 2) << "the right eye moved the left eye's index";
    EXPECT_EQ(doc->header.floater_count[0], 5);

    // A file may leave an eye without floaters: only ">" brings records into
    // the document, "<" never changes the count.
    doc->header.floater_count[1] = 0;
    open_floater_map(*state);
    EXPECT_EQ(step_floater(*state, -1), 0);
    EXPECT_EQ(doc->header.floater_count[1], 0) << "\"<\" grew the count";
    EXPECT_EQ(step_floater(*state, +1), 1);
    EXPECT_EQ(doc->header.floater_count[1], 2);
}

TEST_F(MapFixture, SlidersShowAndStoreTheirValues) {
    vision::FloaterRecord r = record(0, 0);
    // New-document defaults as the sliders show them.
    const int defaults[][2] = {{id_dot_density, 4}, {id_dot_size_x, 1}, {id_dot_size_y, 1},
                               {id_transparency, 240}, {id_diffusion, 0},
                               {id_floater_density, 10}, {id_movement_x, 800},
                               {id_movement_y, 800}};
    for (const auto& d : defaults) EXPECT_EQ(floater_slider_position(r, d[0]), d[1]) << d[0];

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

TEST_F(MapFixture, LargeBlocksOfADamagedFileShadeAsTheLiteralPreview) {
    // Blocks far larger than the sliders make, overlapping many times and
    // cut by the canvas edges into large and small parts; shading maps that
    // darken, wrap past 255 and go negative. The literal preview shades
    // every block pixel by pixel.
    const int dots[][2] = {{400, 300}, {-40, -40}, {930, 700}, {10, 690}, {600, 5}, {410, 310}};
    for (int transparency : {240, 300, -77, 100000}) {
        SCOPED_TRACE(transparency);
        vision::FloaterRecord& r = record(0, 0);
        r.dot_count = 0;
        for (const auto& d : dots) {
            doc->x[0][0][r.dot_count] = d[0];
            doc->y[0][0][r.dot_count++] = d[1];
        }
        r.dot_density = 300;  // hundreds of blocks over the middle: past every orbit's length
        r.dot_size_x = 57;
        r.dot_size_y = 45;
        r.diffusion = 2;
        r.floater_density = 3;
        r.transparency = transparency;
        const Random before = state->rng;
        redraw_floater_map(*state, picture);

        Canvas literal;
        copy_picture(literal, picture, 0, 0, picture.width, picture.height);
        Random rng = before;
        for (const auto& d : dots) {
            engine::DotWalk walk;
            walk.count = r.dot_density;
            walk.width = r.dot_size_x;
            walk.height = r.dot_size_y;
            walk.start_x = float(d[0]);
            walk.start_y = float(d[1]);
            walk.diffusion = r.diffusion;
            walk.history_length = r.floater_density;
            engine::dot_walk(rng, walk, [&](float px, float py) {
                for (int x = int(px); x < int(px) + r.dot_size_x; ++x)
                    for (int y = int(py); y < int(py) + r.dot_size_y; ++y)
                        if (x >= 0 && x < literal.width && y >= 0 && y < literal.height) {
                            const int64_t v = (int64_t(red_of(literal.at(x, y))) * transparency) >> 8;
                            literal.at(x, y) = rgb(int(v & 255), int(v & 255), int(v & 255));
                        }
            });
        }
        EXPECT_TRUE(state->canvas.pixels == literal.pixels);
        EXPECT_EQ(state->rng.state, rng.state);
    }
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

TEST_F(MapFixture, AnAbsurdDotDensityFromAFileStopsAtTheParticleLimit) {
    // 1024 dots of a billion particles each would freeze the editor; the
    // preview stops where the simulator's table would be full, and the blocks
    // it does shade follow the same draws as an unlimited walk.
    vision::FloaterRecord& r = record(0, 0);
    r.dot_count = 1024;
    r.dot_density = 1000000000;
    for (int i = 0; i < 1024; ++i) {
        doc->x[0][0][i] = 400;
        doc->y[0][0][i] = 300;
    }
    redraw_floater_map(*state, picture);
    Random expected;
    int calls = 0;
    engine::DotWalk walk;
    walk.count = 99999;
    walk.start_x = 400;
    walk.start_y = 300;
    engine::dot_walk(expected, walk, [&](float, float) { ++calls; });
    EXPECT_EQ(calls, 99999);
    EXPECT_EQ(state->rng.state, expected.state);
}

}  // namespace
}  // namespace editor
