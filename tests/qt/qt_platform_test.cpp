// qt_platform_test.cpp -- the Qt adapter on the offscreen platform: display
// modes with the 24-bit fallback, text placement and colour,
// the frame timer, window events and destruction.
#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

#include "sim/platform/display.h"
#include "sim/qt/qt_platform.h"

using namespace platform;

namespace {

Rgb pixel_at(const Surface& s, const PixelFormat& f, int x, int y) {
    const int bpp = s.bits_per_pixel / 8;
    uint32_t r = 0, g = 0, b = 0;
    read_pixel(f, s.pixels.data() + y * s.pitch + x * bpp, bpp, r, g, b);
    return Rgb{uint8_t(r), uint8_t(g), uint8_t(b)};
}

// Where text left ink on an otherwise black surface.
struct Ink {
    int count = 0;
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive bounds
    Rgb brightest{0, 0, 0};
};

Ink find_ink(const Surface& s, const PixelFormat& f) {
    Ink ink;
    int best = -1;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            const Rgb p = pixel_at(s, f, x, y);
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

class QtPlatformTest : public ::testing::TestWithParam<int> {};

}  // namespace

// Every depth the display may end up with: 16 bits, or 24 when 16 is refused.
// (What a present puts on the screen is checked on a real X server, in
// qt_present_test.cpp.)
TEST_P(QtPlatformTest, DisplayOpensAtItsDepth) {
    const int depth = GetParam();
    QtPlatform qt(QStringLiteral("test window"), PresentChoice::software);
    qt.set_refuse_16_bits(depth == 24);
    platform::Display display;
    ASSERT_EQ(open_display_with_fallback(display, qt), 1);
    EXPECT_EQ(display.depth, depth);
    EXPECT_EQ(display.back.bits_per_pixel, depth);
    EXPECT_EQ(display.back.width, 640);
    EXPECT_EQ(display.back.height, 480);
    if (depth == 24) {
        EXPECT_EQ(display.format.red_mask, 0xFF0000u);
        EXPECT_EQ(display.format.blue_mask, 0x0000FFu);
    } else {
        EXPECT_EQ(display.format.red_mask, 0xF800u);
    }
}

TEST_P(QtPlatformTest, TextLandsInItsBoxInItsColour) {
    const int depth = GetParam();
    QtPlatform qt(QStringLiteral("test window"), PresentChoice::software);
    qt.set_refuse_16_bits(depth == 24);
    platform::Display display;
    ASSERT_EQ(open_display_with_fallback(display, qt), 1);
    const PixelFormat& f = display.format;

    // Font 1 (20-pixel cell), yellow, top-left at (100, 200).
    qt.draw_text(display.back, f, "Hello World", 100, 200, 1, {255, 255, 25});
    const Ink ink = find_ink(display.back, f);
    ASSERT_GT(ink.count, 50) << "depth " << depth;
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

INSTANTIATE_TEST_SUITE_P(Depths, QtPlatformTest, ::testing::Values(16, 24));

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
    platform::Display display;
    ASSERT_EQ(open_display_with_fallback(display, qt), 1);
    const PixelFormat& f = display.format;
    const char* text =
        "These words are far too many for one line of a narrow box, so they wrap onto the lines "
        "below and run past the bottom, where the box cuts them off.\r\nAfter a break.";
    const Rect box{50, 60, 250, 160};
    qt.draw_wrapped_text(display.back, f, text, box, 2, {255, 255, 255});
    const Ink ink = find_ink(display.back, f);
    ASSERT_GT(ink.count, 200);
    EXPECT_GE(ink.left, box.left);
    EXPECT_GE(ink.top, box.top);
    EXPECT_LT(ink.right, box.right);
    EXPECT_LT(ink.bottom, box.bottom);
    EXPECT_GT(ink.bottom - ink.top, 3 * 16) << "the text should fill several lines";

    // Empty text and an empty box draw nothing.
    Surface before = display.back;
    qt.draw_wrapped_text(display.back, f, "", box, 2, {255, 255, 255});
    qt.draw_wrapped_text(display.back, f, "words", Rect{300, 300, 300, 400}, 2, {255, 255, 255});
    qt.draw_text(display.back, f, "bad font", 10, 10, 6, {255, 255, 255});
    EXPECT_EQ(before.pixels, display.back.pixels);
}

TEST(QtWindow, FrameTimerTicksOnceAPeriodAndStops) {
    QtPlatform qt(QStringLiteral("test window"), PresentChoice::software);
    int ticks = 0;
    qt.window().events.timer = [&ticks] { ++ticks; };
    qt.start_timer(555, 20);
    qt.start_timer(555, 20);  // a restart, not a second timer
    qt.start_timer(7, 20);    // not the frame timer: ignored
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_GE(ticks, 2);
    EXPECT_LE(ticks, 16);  // two timers would give about 30
    qt.stop_timer(555);
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

TEST(QtWindow, ReactivationReportsWhetherAClickCausedIt) {
    QtPlatform qt(QStringLiteral("test window"), PresentChoice::software);
    SimWindow& w = qt.window();
    std::vector<int> activations;
    w.events.activate = [&activations](int p) { activations.push_back(p); };
    auto send = [&w](QEvent::Type t) {
        QFocusEvent e(t, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(&w, &e);
    };
    auto settle = [] {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < SimWindow::click_activation_ms + 100)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    };
    send(QEvent::FocusIn);  // the first activation is start-up's own
    settle();
    EXPECT_TRUE(activations.empty());

    send(QEvent::FocusOut);
    send(QEvent::FocusIn);  // back by keyboard or window manager
    settle();
    EXPECT_EQ(activations, (std::vector<int>{0, 1}));

    send(QEvent::FocusOut);
    send(QEvent::FocusIn);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &press);  // the click that activated it
    settle();
    EXPECT_EQ(activations, (std::vector<int>{0, 1, 0, 2}));
}

TEST(QtWindow, DestroyReportsOnceAndSilencesEvents) {
    QtPlatform qt(QStringLiteral("test window"), PresentChoice::software);
    SimWindow& w = qt.window();
    int destroyed = 0, keys = 0, ticks = 0;
    w.events.destroyed = [&] {
        ++destroyed;
        qt.post_quit(0);
    };
    w.events.key_down = [&keys](int) { ++keys; };
    w.events.timer = [&ticks] { ++ticks; };
    qt.start_timer(555, 10);
    qt.destroy_window();
    qt.destroy_window();
    w.close();  // a close from outside after destruction changes nothing
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(qt.quit_posted());
    EXPECT_EQ(qt.quit_code(), 0);
    QKeyEvent e(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &e);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 60) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(keys, 0);
    EXPECT_EQ(ticks, 0);
}

TEST(QtPlatformSound, StartsAtOnce) {
    QtPlatform qt(QStringLiteral("test window"), PresentChoice::software);
    EXPECT_EQ(qt.start_sound_device(), 1);
    EXPECT_EQ(qt.start_music(), 1);
    qt.stop_sound();
}

TEST(QtText, DrawingFollowsTheSurfaceWhenItsMemoryChanges) {
    // The platform keeps its image over the last surface it drew into; a
    // different surface of the same size must get the text, not the old one.
    QtPlatform qt(QStringLiteral("test window"), PresentChoice::software);
    const PixelFormat f = format_565();
    Surface first, second;
    ASSERT_EQ(create_surface(first, 640, 480, 16), 1);
    ASSERT_EQ(create_surface(second, 640, 480, 16), 1);
    qt.draw_text(first, f, "first", 10, 10, 2, {255, 255, 255});
    const std::vector<uint8_t> first_after = first.pixels;
    EXPECT_GT(find_ink(first, f).count, 20);

    qt.draw_text(second, f, "second", 10, 100, 2, {255, 255, 255});
    EXPECT_EQ(first.pixels, first_after);
    const Ink ink = find_ink(second, f);
    EXPECT_GT(ink.count, 20);
    EXPECT_GE(ink.top, 100);

    // Memory released and made again (the display re-open does this).
    release_surface(first);
    ASSERT_EQ(create_surface(first, 640, 480, 16), 1);
    qt.draw_text(first, f, "again", 300, 300, 2, {255, 255, 255});
    const Ink again = find_ink(first, f);
    EXPECT_GT(again.count, 20);
    EXPECT_GE(again.left, 300);
}
