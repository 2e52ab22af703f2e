// document_checks_test.cpp -- the JPEG size scan and what counts as unsaved work.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "editor/model/background_slots.h"
#include "editor/model/floater_map.h"
#include "editor/model/personal_form.h"  // store_comments
#include "editor/model/sac_refractions.h"
#include "editor/model/unsaved_changes.h"
#include "support/temp_dir.h"

using namespace editor;

namespace {

using Bytes = std::vector<unsigned char>;

Bytes segment(int marker, const Bytes& body) {
    const int length = int(body.size()) + 2;
    Bytes out = {0xFF, (unsigned char)marker, (unsigned char)(length >> 8), (unsigned char)length};
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// A frame header of three channels, colour at half resolution both ways.
Bytes frame(int width, int height) {
    return {8, (unsigned char)(height >> 8), (unsigned char)height, (unsigned char)(width >> 8),
            (unsigned char)width, 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1};
}

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

}  // namespace

TEST(JpegSize, ReadsTheFrameHeaderPastOtherSegments) {
    testing_support::TempDir dir;
    const Bytes soi = {0xFF, 0xD8};
    const Bytes app = segment(0xE1, Bytes(3000, 0xC0));  // body full of bytes that look like markers
    const Bytes dht = segment(0xC4, Bytes(20, 0));        // in the SOF range, but a table
    struct Case {
        const char* what;
        Bytes bytes;
        int found, width = 0, height = 0, shown_width = 0, shown_height = 0;
    };
    Bytes cmyk = frame(2000, 1500);
    cmyk[5] = 4;
    cmyk.insert(cmyk.end(), {4, 0x11, 1});
    Bytes short_frame = frame(64, 64);
    short_frame.resize(short_frame.size() - 3);  // says three channels, holds two
    const Case cases[] = {
        {"baseline", join({soi, app, segment(0xC0, frame(1024, 768))}), 1, 1024, 768, 1024, 768},
        {"progressive after a table and fill bytes",
         join({soi, dht, {0xFF, 0xFF}, segment(0xC2, frame(600, 400))}), 1, 600, 400, 600, 400},
        {"restart markers stand alone", join({soi, {0xFF, 0xD3}, segment(0xC1, frame(1280, 960))}), 1, 1280, 960,
         1280, 960},
        {"one pixel more than a scene: seven eighths", join({soi, segment(0xC0, frame(1281, 960))}), 1, 1281, 960,
         1121, 840},
        {"phone photo: a quarter", join({soi, segment(0xC0, frame(4032, 3024))}), 1, 4032, 3024, 1008, 756},
        {"more blocks than a load may read", join({soi, segment(0xC0, frame(9000, 6000))}), 1, 9000, 6000, 0, 0},
        {"four channels are never shown", join({soi, segment(0xC0, cmyk)}), 1, 2000, 1500, 0, 0},
        {"scan before any frame", join({soi, segment(0xDA, Bytes(10, 0)), segment(0xC0, frame(9, 9))}), 0},
        {"frame header cut short", join({soi, {0xFF, 0xC0, 0x00, 0x11, 8, 0x03}}), 0},
        {"channels cut short", join({soi, segment(0xC0, short_frame)}), 0},
        {"not a JPEG", join({{0x89, 'P', 'N', 'G'}, segment(0xC0, frame(5, 5))}), 0},
        {"ends inside a segment", join({soi, {0xFF, 0xE0, 0x40, 0x00, 1, 2}}), 0},
        {"height left to a later marker", join({soi, segment(0xC0, frame(640, 0))}), 0},
    };
    for (const Case& c : cases) {
        const std::string path = dir.file("p.jpg");
        testing_support::write_file(path, c.bytes);
        JpegSize size;
        size.width = -1;
        const int found = read_jpeg_size(path, size);
        EXPECT_EQ(found, c.found) << c.what;
        if (found) {
            EXPECT_EQ(size.width, c.width) << c.what;
            EXPECT_EQ(size.height, c.height) << c.what;
            EXPECT_EQ(size.shown_width, c.shown_width) << c.what;
            EXPECT_EQ(size.shown_height, c.shown_height) << c.what;
        } else {
            EXPECT_EQ(size.width, -1) << c.what << ": left alone";
        }
    }
    JpegSize size;
    EXPECT_EQ(read_jpeg_size(dir.file("none.jpg"), size), 0);
}

TEST(UnsavedChanges, OnlyThePersonsWorkCounts) {
    auto doc = std::make_unique<vision::Document>();
    EditorState state;
    state.doc = doc.get();
    vision::reset_to_new_document(*doc);
    EXPECT_EQ(document_changed(state), 1) << "nothing remembered yet";
    mark_document_unchanged(state);
    EXPECT_EQ(document_changed(state), 0);

    // Offsets a save fills in and entries beyond the counts are not work.
    doc->header.slots[2].picture_offset = 545312;
    doc->records[1][0].points_offset = 99;
    doc->x[0][0][5] = 7;
    doc->header.streak[3].x[0] = 7;
    doc->records[0][50].dot_density = 9;  // beyond floater_count
    EXPECT_EQ(document_changed(state), 0);

    struct Edit {
        const char* what;
        void (*apply)(vision::Document&);
    };
    const Edit edits[] = {
        {"a dot", [](vision::Document& d) { add_floater_dot(d, 1, 0, 5, 5); }},
        {"a floater more", [](vision::Document& d) { d.header.floater_count[0] = 2; }},
        {"a streak point", [](vision::Document& d) { add_streak_point(d.header.streak[9], 3, 3); }},
        {"when seen", [](vision::Document& d) { d.header.streak[0].when_seen = 2; }},
        {"a picture", [](vision::Document& d) { set_picture_path(d.header, 3, "/p.jpg"); }},
        {"the comments", [](vision::Document& d) { store_comments(d.header, "hello"); }},
    };
    for (const Edit& edit : edits) {
        auto changed = std::make_unique<vision::Document>(*doc);
        state.doc = changed.get();
        edit.apply(*changed);
        EXPECT_EQ(document_changed(state), 1) << edit.what;
    }
    // A dot taken back again leaves no work to lose.
    state.doc = doc.get();
    add_floater_dot(*doc, 0, 0, 10, 10);
    EXPECT_EQ(document_changed(state), 1);
    state.current_eye = 0;
    delete_last_dot(state);
    EXPECT_EQ(document_changed(state), 0);
}
