// qt_mapping_test.cpp -- picture placement with black bars, pointer mapping, key table.
#include <gtest/gtest.h>

#include "sim/qt/qt_mapping.h"
#include "sim/shell/keys.h"

using platform::map_pointer;
using platform::picture_rect;
using platform::virtual_key;

TEST(QtMapping, PictureKeepsFourToThreeWithCentredBars) {
    struct Case {
        QSize window;
        QRect expected;
    } cases[] = {
        {{640, 480}, {0, 0, 640, 480}},
        {{1024, 768}, {0, 0, 1024, 768}},     // exact 4:3: no bars
        {{1280, 720}, {160, 0, 960, 720}},    // 16:9: bars left and right
        {{1280, 1024}, {0, 32, 1280, 960}},   // 5:4: bars top and bottom
        {{0, 0}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(picture_rect(c.window), c.expected) << c.window.width() << "x" << c.window.height();
}

TEST(QtMapping, PointerMapsIntoScreenAndClampsOverBars) {
    struct Case {
        QSize window;
        QPoint in, out;
    } cases[] = {
        {{1024, 768}, {0, 0}, {0, 0}},
        {{1024, 768}, {1023, 767}, {639, 479}},
        {{1024, 768}, {512, 384}, {320, 240}},
        {{1280, 720}, {160, 0}, {0, 0}},       // left edge of the picture
        {{1280, 720}, {640, 360}, {320, 240}}, // centre
        {{1280, 720}, {1119, 719}, {639, 479}},
        {{1280, 720}, {20, 300}, {0, 200}},    // over the left bar: nearest edge
        {{1280, 720}, {1270, 300}, {639, 200}},// over the right bar
        {{1280, 720}, {-50, -50}, {0, 0}},     // outside the window
        {{1280, 720}, {5000, 5000}, {639, 479}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(map_pointer(c.in, c.window), c.out)
            << "window " << c.window.width() << "x" << c.window.height() << " at " << c.in.x() << ","
            << c.in.y();
}

TEST(QtMapping, KeyTable) {
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        int vk;
    } cases[] = {
        {Qt::Key_A, Qt::NoModifier, shell::key_letter('A')},
        {Qt::Key_Z, Qt::ShiftModifier, shell::key_letter('Z')},
        {Qt::Key_M, Qt::NoModifier, 77},
        {Qt::Key_0, Qt::NoModifier, shell::key_0},
        {Qt::Key_9, Qt::NoModifier, shell::key_9},
        {Qt::Key_5, Qt::KeypadModifier, -1},   // keypad digits are not digit keys
        {Qt::Key_0, Qt::KeypadModifier, -1},
        {Qt::Key_F1, Qt::NoModifier, shell::key_f1},
        {Qt::Key_F4, Qt::NoModifier, shell::key_f4},
        {Qt::Key_F8, Qt::NoModifier, shell::key_f8},
        {Qt::Key_F9, Qt::NoModifier, shell::key_f9},
        {Qt::Key_F10, Qt::NoModifier, -1},
        {Qt::Key_Space, Qt::NoModifier, shell::key_space},
        {Qt::Key_Escape, Qt::NoModifier, shell::key_escape},
        {Qt::Key_Return, Qt::NoModifier, -1},
        {Qt::Key_Left, Qt::NoModifier, -1},
        {Qt::Key_Exclam, Qt::ShiftModifier, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(virtual_key(c.key, c.mods), c.vk) << "Qt key 0x" << std::hex << c.key;
}
