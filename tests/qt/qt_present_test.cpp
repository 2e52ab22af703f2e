// qt_present_test.cpp -- what a present puts on a real X server, read back
// from the window, for each present path; and the fall
// back to software on a server without OpenGL. Run by run_on_xvfb.sh.
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include <cstdlib>
#include <string>
#include <tuple>

#include "common/trace.h"
#include "sim/qt/qt_mapping.h"
#include "sim/qt/qt_platform.h"
#include "sim/qt/qt_text.h"
#include "support/pixel_compare.h"

using namespace platform;

namespace {

std::string traced;
void keep_trace(const char* text) { traced += std::string(text) + "\n"; }

void settle(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Shows the window at `size`, presents the back surface and compares what
// the X server holds with the frame scaled by the nearest mapping, black
// outside the 4:3 picture. Returns the number of differing pixels and
// reports the first few.
int presented_mismatches(QtPlatform& qt, const platform::Frame& presented, QSize size) {
    SimWindow& w = qt.window();
    w.resize(size);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) {
        ADD_FAILURE() << "the window was never exposed";
        return -1;
    }
    settle(50);
    qt.present(presented);
    settle(50);
    const QImage shot = w.screen()->grabWindow(w.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    if (shot.size() != size) {
        ADD_FAILURE() << "read back " << shot.width() << "x" << shot.height();
        return -1;
    }
    const QImage frame = QImage(reinterpret_cast<const uchar*>(presented.pixels.data()), 640, 480, 1280,
                                QImage::Format_RGB16).convertToFormat(QImage::Format_RGB32);
    const QRect picture = picture_rect(size);
    int mismatches = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            QRgb want = qRgb(0, 0, 0);
            if (picture.contains(x, y))
                want = frame.pixel((x - picture.left()) * 640 / picture.width(),
                                   (y - picture.top()) * 480 / picture.height());
            const QRgb got = shot.pixel(x, y);
            if (got != want && ++mismatches <= 3)
                ADD_FAILURE() << size.width() << "x" << size.height() << " at " << x << "," << y << ": 0x"
                              << std::hex << got << " instead of 0x" << want;
        }
    return mismatches;
}

class PresentTest : public ::testing::TestWithParam<PresentChoice> {};

}  // namespace

// Window sizes: the Xvfb screen (16:9, bars left and right), an exact 4:3
// size that scales by a fraction, a tall one (bars above and below), and
// one smaller than the frame.
TEST_P(PresentTest, ReadBackEqualsTheFrameScaledByTheNearestMapping) {
    const PresentChoice choice = GetParam();
    QtPlatform qt(QStringLiteral("present test"), choice);
    ASSERT_EQ(qt.window().present_path(),
              choice == PresentChoice::opengl ? PresentPath::opengl : PresentPath::software);
    auto frame = std::make_unique<platform::Frame>();
    testing_support::fill_random(*frame, 21u);
    for (const QSize size : {QSize(1366, 768), QSize(1000, 750), QSize(700, 900), QSize(500, 377)})
        EXPECT_EQ(presented_mismatches(qt, *frame, size), 0);

    // A second frame after a resize: the picture changes, the bars stay black.
    testing_support::fill_random(*frame, 99u);
    EXPECT_EQ(presented_mismatches(qt, *frame, QSize(1366, 768)), 0);
}

INSTANTIATE_TEST_SUITE_P(Paths, PresentTest, ::testing::Values(PresentChoice::software, PresentChoice::opengl));

// The automatic choice takes OpenGL only where a GPU draws: under Xvfb the
// renderer is Mesa's CPU rasteriser, which costs more than the software path.
TEST(PresentChoice, AutomaticTakesOpenGLOnlyWhereAGpuDraws) {
    GlPresenter probe;
    QString why;
    if (!gl_prepare(probe, why)) GTEST_SKIP() << "no OpenGL here: " << why.toStdString();
    const bool cpu = renders_on_cpu(probe.renderer);
    gl_release(probe);
    const trace::Sink previous = trace::set_sink(keep_trace);
    traced.clear();
    QtPlatform qt(QStringLiteral("present test"), PresentChoice::automatic);
    trace::set_sink(previous);
    EXPECT_EQ(qt.window().present_path(), cpu ? PresentPath::software : PresentPath::opengl);
    if (cpu) {
        EXPECT_NE(traced.find("present: software (OpenGL renders on the CPU here: "), std::string::npos)
            << traced;
    }
}

// Run by run_on_xvfb.sh on a server without GLX and with no GL driver: both
// the automatic choice and a forced OpenGL present fall back to software,
// say why in the trace log, and present correctly.
TEST(PresentWithoutOpenGL, FallsBackToSoftwareAndSaysWhy) {
    if (!std::getenv("VITRION_TEST_EXPECT_NO_OPENGL")) GTEST_SKIP() << "this server has OpenGL";
    const trace::Sink previous = trace::set_sink(keep_trace);
    for (const PresentChoice choice : {PresentChoice::automatic, PresentChoice::opengl}) {
        traced.clear();
        QtPlatform qt(QStringLiteral("present test"), choice);
        EXPECT_EQ(qt.window().present_path(), PresentPath::software);
        EXPECT_NE(traced.find("present: software (no OpenGL context could be made)"), std::string::npos)
            << traced;
        auto frame = std::make_unique<platform::Frame>();
        testing_support::fill_random(*frame, 3u);
        EXPECT_EQ(presented_mismatches(qt, *frame, QSize(1024, 768)), 0);
    }
    trace::set_sink(previous);
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
