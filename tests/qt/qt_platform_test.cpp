// qt_platform_test.cpp -- the Qt adapter on the offscreen platform: text
// placement and colour in the frame, the frame timer, window events and quitting.
#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "sim/qt/qt_platform.h"

using namespace platform;

namespace {

Rgb pixel_at(const Frame& f, int x, int y) {
    uint32_t r = 0, g = 0, b = 0;
    unpack_565(f.pixels[y * screen_width + x], r, g, b);
    return Rgb{uint8_t(r), uint8_t(g), uint8_t(b)};
}

TextRun line(const char* text, int x, int y, int font, Rgb colour) { return TextRun{text, x, y, font, colour}; }
TextRun wrapped(const char* text, Rect box, int font, Rgb colour) {
    return TextRun{text, 0, 0, font, colour, 1, box};
}

// Where text left ink on an otherwise black surface.
struct Ink {
    int count = 0;
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive bounds
    Rgb brightest{0, 0, 0};
};

Ink find_ink(const Frame& f) {
    Ink ink;
    int best = -1;
    for (int y = 0; y < screen_height; ++y)
        for (int x = 0; x < screen_width; ++x) {
            const Rgb p = pixel_at(f, x, y);
            const int sum = p.red + p.green + p.blue;
            if (sum == 0) continue;
            ++ink.count;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
            if (sum > best) best = sum, ink.brightest = p;
        }
    return ink;
}

}  // namespace

TEST(QtText, ALineLandsAtItsPlaceInItsColour) {
    QtPlatform qt(QStringLiteral("test window"), PresentChoice::software);
    Frame frame;
    // Font 1 (20-pixel cell), yellow, top-left at (100, 200).
    qt.draw_text(frame, line("Hello World", 100, 200, 1, {255, 255, 25}));
    const Ink ink = find_ink(frame);
    ASSERT_GT(ink.count, 50);
    EXPECT_GE(ink.left, 100);
    EXPECT_LE(ink.left, 104);
    EXPECT_GE(ink.top, 200);      // the text's top is y, not its baseline
    EXPECT_LE(ink.top, 208);
    EXPECT_LT(ink.bottom, 220);   // within the 20-pixel cell
    EXPECT_LT(ink.right, 100 + 200);
    EXPECT_GE(ink.brightest.red, 240);
    EXPECT_GE(ink.brightest.green, 240);
    EXPECT_LE(ink.brightest.blue, 40);
}

TEST(QtText, FontsFitTheirCellHeights) {
    QtFonts fonts;
    make_fonts(fonts);
    for (int i = 0; i < font_count; ++i) {
        const int h = QFontMetrics(fonts.fonts[i]).height();
        EXPECT_LE(h, font_cell_heights[i]) << "font " << i;
        EXPECT_GE(h, font_cell_heights[i] - 3) << "font " << i;
    }
    EXPECT_TRUE(text_face() == QStringLiteral("Verdana") || text_face() == QStringLiteral("DejaVu Sans"));
}

TEST(QtText, WrappedTextStaysInsideItsBoxAndBreaksLines) {
    QtPlatform qt(QStringLiteral("test window"), PresentChoice::software);
    Frame frame;
    const char* text =
        "These words are far too many for one line of a narrow box, so they wrap onto the lines "
        "below and run past the bottom, where the box cuts them off.\r\nAfter a break.";
    const Rect box{50, 60, 250, 160};
    qt.draw_text(frame, wrapped(text, box, 2, {255, 255, 255}));
    const Ink ink = find_ink(frame);
    ASSERT_GT(ink.count, 200);
    EXPECT_GE(ink.left, box.left);
    EXPECT_GE(ink.top, box.top);
    EXPECT_LT(ink.right, box.right);
    EXPECT_LT(ink.bottom, box.bottom);
    EXPECT_GT(ink.bottom - ink.top, 3 * 16) << "the text should fill several lines";

    // Empty text and an empty box draw nothing.
    const Frame before = frame;
    qt.draw_text(frame, wrapped("", box, 2, {255, 255, 255}));
    qt.draw_text(frame, wrapped("words", Rect{300, 300, 300, 400}, 2, {255, 255, 255}));
    qt.draw_text(frame, line("bad font", 10, 10, 6, {255, 255, 255}));
    EXPECT_EQ(before.pixels, frame.pixels);
}

TEST(QtWindow, FrameTimerTicksOnceAPeriodAndStops) {
    QtPlatform qt(QStringLiteral("test window"), PresentChoice::software);
    int ticks = 0;
    qt.window().events.timer = [&ticks] { ++ticks; };
    qt.set_frame_timer(20);
    qt.set_frame_timer(20);  // a restart, not a second timer
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_GE(ticks, 2);
    EXPECT_LE(ticks, 16);  // two timers would give about 30
    qt.set_frame_timer(0);
    const int stopped_at = ticks;
    clock.restart();
    while (clock.elapsed() < 100) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(ticks, stopped_at);
}

TEST(QtWindow, EventsArriveAsVirtualKeysAndScreenPositions) {
    QtPlatform qt(QStringLiteral("test window"), PresentChoice::software);
    SimWindow& w = qt.window();
    w.resize(1280, 720);
    std::vector<std::string> log;
    auto note = [&log](const char* what, int a, int b = 0) {
        log.push_back(std::string(what) + " " + std::to_string(a) + " " + std::to_string(b));
    };
    w.events.key_down = [&](int vk) { note("down", vk); };
    w.events.key_up = [&](int vk) { note("up", vk); };
    w.events.mouse_move = [&](int x, int y) { note("move", x, y); };
    w.events.left_down = [&](int x, int y) { note("left", x, y); };
    w.events.left_up = [&](int x, int y) { note("leftup", x, y); };
    w.events.right_down = [&](int x, int y) { note("right", x, y); };

    auto key = [&w](QEvent::Type type, int k, Qt::KeyboardModifiers m, bool repeat) {
        QKeyEvent e(type, k, m, QString(), repeat);
        QCoreApplication::sendEvent(&w, &e);
    };
    key(QEvent::KeyPress, Qt::Key_M, Qt::NoModifier, false);
    key(QEvent::KeyPress, Qt::Key_M, Qt::NoModifier, true);      // auto-repeat runs it again
    key(QEvent::KeyRelease, Qt::Key_M, Qt::NoModifier, true);    // auto-repeat release dropped
    key(QEvent::KeyPress, Qt::Key_3, Qt::KeypadModifier, false); // keypad digit dropped
    // The release of an Escape pressed elsewhere (in a dialog that it closed)
    // is not reported; one pressed here is.
    key(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier, false);
    key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, false);
    QFocusEvent deactivate(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(&w, &deactivate);                 // held across a focus change
    key(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier, false);
    key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, false);
    key(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier, false);

    auto mouse = [&w](QEvent::Type type, QPointF p, Qt::MouseButton b) {
        QMouseEvent e(type, p, w.mapToGlobal(p), b, b, Qt::NoModifier);
        QCoreApplication::sendEvent(&w, &e);
    };
    mouse(QEvent::MouseMove, {640, 360}, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, {20, 0}, Qt::LeftButton);       // over the left bar
    mouse(QEvent::MouseButtonRelease, {1119, 719}, Qt::LeftButton);
    mouse(QEvent::MouseButtonPress, {160, 719}, Qt::RightButton);

    const std::vector<std::string> expected = {
        "down 77 0", "down 77 0", "down 27 0", "down 27 0", "up 27 0", "move 320 240",
        "left 0 0",  "leftup 639 479", "right 0 479"};
    EXPECT_EQ(log, expected);
}

TEST(QtWindow, QuitDestroysOnceAndSilencesEvents) {
    QtPlatform qt(QStringLiteral("test window"), PresentChoice::software);
    SimWindow& w = qt.window();
    int destroyed = 0, keys = 0, ticks = 0;
    w.events.destroyed = [&] { ++destroyed; };
    w.events.key_down = [&keys](int) { ++keys; };
    w.events.timer = [&ticks] { ++ticks; };
    qt.set_frame_timer(10);
    qt.quit();
    qt.quit();
    w.close();  // a close from outside after destruction changes nothing
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(qt.quit_requested());
    QKeyEvent e(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &e);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 60) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(keys, 0);
    EXPECT_EQ(ticks, 0);
}

TEST(QtText, DrawingFollowsTheFrameItIsGiven) {
    // The platform keeps its image over the last frame it drew into; another
    // frame must get the text, not the old one.
    QtPlatform qt(QStringLiteral("test window"), PresentChoice::software);
    auto first = std::make_unique<Frame>(), second = std::make_unique<Frame>();
    qt.draw_text(*first, line("first", 10, 10, 2, {255, 255, 255}));
    const std::vector<uint16_t> first_after = first->pixels;
    EXPECT_GT(find_ink(*first).count, 20);

    qt.draw_text(*second, line("second", 10, 100, 2, {255, 255, 255}));
    EXPECT_EQ(first->pixels, first_after);
    const Ink ink = find_ink(*second);
    EXPECT_GT(ink.count, 20);
    EXPECT_GE(ink.top, 100);
}
