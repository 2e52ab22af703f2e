// screen_text_test.cpp -- every fixed text of the simulator's screens, set in the shipped fonts, ends on the screen.
//
// The shell draws the help screen (every section shown), the about screen
// and the status line with its longest texts into a recording platform;
// each recorded line is then set in the face the adapter chooses for it and
// drawn alone into an image wider and taller than the screen, where any ink
// right of column 639 or below row 479 would have been cut off the real
// screen; and through the adapter into the frame, where text and shadow
// must match.
#include <QString>
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "sim/platform/null_platform.h"
#include "sim/platform/capture.h"
#include "sim/qt/qt_platform.h"
#include "sim/shell/frame.h"
#include "sim/shell/onscreen_text.h"
#include "sim/shell/shell.h"

using namespace platform;

namespace {

struct Ink {
    int right = -1, bottom = -1;  // inclusive; -1 when nothing was drawn
};

// Where the ink of `image` (black elsewhere) goes.
Ink ink_of(const QImage& image) {
    Ink ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFFu) == 0) continue;
            ink.right = std::max(ink.right, x);
            ink.bottom = std::max(ink.bottom, y);
        }
    return ink;
}

// One line alone in white through the adapter into a black frame.
std::vector<uint16_t> drawn_alone(QtPlatform& qt, Frame& frame, const platform::DrawnText& t) {
    std::fill(frame.pixels.begin(), frame.pixels.end(), uint16_t{0});
    qt.draw_text(frame, TextRun{t.text.c_str(), t.x, t.y, t.font, Rgb{255, 255, 255}});
    return frame.pixels;
}

// The status texts at their longest: the widest value of each varying part,
// file names for the largest calendar second, and the longest reasons a clip
// or a capture can fail with.
std::vector<std::string> longest_status_texts() {
    char capture[saved_name_size];
    capture_file_name(LONG_MAX, capture, sizeof capture);
    const std::string clip = "vitrion_clip_" + std::to_string(LONG_MAX) + ".webp";
    return {shell::starting_text,
            "Changing sun glasses color green to 248",
            "Creating miopy: -10 diop., please wait...",
            "Deactivating miopy, please wait...",
            "Incrementing floaters to: " + std::to_string(engine::particle_limit),
            "Decrementing blood cells to: MIN(0)",
            "Incrementing blood cells to: MAX(1000)",
            "Incrementing blood cells bright to: MAX(0.400000)",
            "Decrementing blood cells bright to: MIN(0.000000)",
            "Deactivating sac refractions",
            "Aactivating sac refractions",
            "Deactivating retina shadow",
            std::string("Screen saved: ") + capture,
            "Screen not saved: Input/output error",
            "Screen not saved: Read-only file system",
            "Recording clip: 19 s (F9 stops)",
            "Saving clip: " + clip + "...",
            "Clip saved: " + clip,
            "Clip not saved: a vision file was loaded while recording",
            "Clip not saved: cannot write in this folder: Read-only file system",
            "Clip not saved: cannot write in this folder: Disk quota exceeded",
            "Clip not saved: no thread could be started to encode the clip",
            "Clip not saved: the last clip is still being saved",
            "Clip not saved: no frames were recorded"};
}

}  // namespace

TEST(ScreenText, EveryFixedTextEndsOnTheScreenAndMatchesItsShadow) {
    platform::NullPlatform recorder;
    auto sim = std::make_unique<shell::Simulator>(recorder);
    vision::Header& h = sim->document.header;
    h.myopia_on = h.blood_cells_on = h.cataracts_on = h.flashes_on = h.sac_refractions_on = 1;
    h.stars_on = h.sparks_on = h.retina_shadow_on = h.sunglasses_on = 1;
    shell::draw_help_screen(*sim);
    shell::draw_about_screen(*sim);
    shell::draw_status_line(*sim, 1);  // the hint
    for (const std::string& text : longest_status_texts()) {
        shell::set_status(*sim, text.c_str());
        shell::draw_status_line(*sim, 1);
    }
    ASSERT_GT(recorder.texts.size(), 2 * size_t(60));

    QtPlatform qt(QStringLiteral("screen text"), PresentChoice::software);
    QtFonts fonts;
    make_fonts(fonts);
    QImage wide(screen_width + 400, screen_height + 100, QImage::Format_RGB32);
    auto frame = std::make_unique<Frame>();
    int checked = 0;
    for (size_t i = 0; i + 1 < recorder.texts.size(); i += 2) {
        // The shell draws each text after its one-pixel shadow.
        const platform::DrawnText& shadow = recorder.texts[i];
        const platform::DrawnText& text = recorder.texts[i + 1];
        ASSERT_EQ(shadow.text, text.text);
        ASSERT_EQ(shadow.x, text.x + 1);
        SCOPED_TRACE("\"" + text.text + "\" at " + std::to_string(text.x) + "," + std::to_string(text.y));
        wide.fill(Qt::black);
        const TextFace face = fit_text(fonts, shadow.text.c_str(), shadow.x, shadow.font);
        draw_text_into(fonts, wide, shadow.text.c_str(), shadow.x, shadow.y, shadow.font, Rgb{255, 255, 255}, face);
        const Ink under = ink_of(wide);
        ASSERT_GE(under.right, text.x) << "nothing drawn";
        EXPECT_LE(under.right, screen_width - 1) << "the shadow runs past the right edge";
        EXPECT_LE(under.bottom, screen_height - 1) << "the shadow runs past the bottom";
        // The shadow is the text one pixel to the right and down: same face.
        const std::vector<uint16_t> below = drawn_alone(qt, *frame, shadow);
        const std::vector<uint16_t> over = drawn_alone(qt, *frame, text);
        bool same = true;
        for (int y = 0; y + 1 < screen_height && same; ++y)
            same = std::equal(over.begin() + y * screen_width, over.begin() + (y + 1) * screen_width - 1,
                              below.begin() + (y + 1) * screen_width + 1);
        EXPECT_TRUE(same) << "the shadow is not the text moved by one pixel";
        ++checked;
    }
    EXPECT_EQ(checked * 2, int(recorder.texts.size()));
}

// A line too long even for the condensed face gets smaller until it fits,
// at its own position; a line that fits keeps the font as it is.
TEST(ScreenText, LinesThatWouldBeCutAreSetNarrowerAndOthersNot) {
    QtFonts fonts;
    make_fonts(fonts);
    const TextFace fits = fit_text(fonts, "Save screen to disk.", 20, 2);
    EXPECT_EQ(fits.condensed, 0);
    const std::string long_line(70, 'm');
    const TextFace narrower = fit_text(fonts, long_line.c_str(), 10, 1);
    EXPECT_EQ(narrower.condensed, 1);
    EXPECT_LT(narrower.pixel_size, fonts.fonts[1].pixelSize());
    EXPECT_GE(narrower.pixel_size, min_fitted_pixel_size);
    const TextFace too_long = fit_text(fonts, std::string(400, 'm').c_str(), 10, 1);
    EXPECT_EQ(too_long.pixel_size, min_fitted_pixel_size);
}
