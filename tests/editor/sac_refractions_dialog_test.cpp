// sac_refractions_dialog_test.cpp -- drives the real sac refractions dialog.
#include <gtest/gtest.h>

#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <memory>

#include "editor/model/sac_refractions.h"
#include "editor/sac_refractions_dialog.h"
#include "drawing_mouse.h"
#include "ui_test_support.h"

namespace editor {
namespace {

using testing_support::control;

using testing_support::drag;
using testing_support::press;
using testing_support::release;

struct SacRefractionsDialogTest : ::testing::Test {
    testing_support::EditorFixture fixture;
    std::unique_ptr<QDialog> dialog;

    void open(int streak) {
        fixture.state.current_streak = streak;
        dialog.reset(create_sac_refractions_dialog(nullptr, fixture.state));
        dialog->show();
    }
    vision::Streak& streak(int k) { return fixture.doc->header.streak[k]; }
    void click(int id) { control<QPushButton>(dialog.get(), id)->click(); }
    QString number_text() { return control<QLineEdit>(dialog.get(), id_streak_number)->text(); }
    QSlider* trackbar() { return control<QSlider>(dialog.get(), id_brightness); }
    QRadioButton* radio(int id) { return control<QRadioButton>(dialog.get(), id); }
    QRgb shown(int x, int y) { return dialog->grab(QRect(0, 0, 640, 480)).toImage().pixel(x, y) & 0xFFFFFF; }
};

TEST_F(SacRefractionsDialogTest, OpensWithCaptionNumberTrackbarAndRadio) {
    streak(6).when_seen = 2;
    open(6);
    EXPECT_EQ(dialog->windowTitle(), "Sac refractions. Right eye");
    EXPECT_EQ(number_text(), "1");
    EXPECT_EQ(trackbar()->value(), 127);
    EXPECT_EQ(trackbar()->pageStep(), 4);
    EXPECT_TRUE(radio(id_seen_top_bottom)->isChecked());
    for (int id = id_brightness; id <= id_streak_number; ++id)
        EXPECT_NE(dialog->findChild<QWidget*>(QString("ctl_%1").arg(id)), nullptr) << id;
    EXPECT_GE(control<QPushButton>(dialog.get(), id_streak_previous)->x(), 640);

    streak(0).when_seen = 7;
    open(0);
    EXPECT_EQ(dialog->windowTitle(), "Sac refractions. Left eye");
    for (int id = id_seen_always; id <= id_seen_top_bottom; ++id)
        EXPECT_FALSE(radio(id)->isChecked()) << "radio " << id << " for when_seen 7";
}

TEST_F(SacRefractionsDialogTest, TracingInsideThePictureInItsGrey) {
    open(0);
    struct Case { int x, y; int added; };
    const Case cases[] = {{0, 200, 0}, {300, 0, 0}, {640, 200, 0}, {300, 480, 0}, {639, 479, 1}};
    for (const Case& c : cases) {
        streak(0).point_count = 0;
        press(dialog.get(), 100, 100);
        press(dialog.get(), c.x, c.y);
        drag(dialog.get(), 100, 100);
        EXPECT_EQ(streak(0).point_count, 1 + 2 * c.added) << "press at " << c.x << "," << c.y;
        release(dialog.get(), 100, 100);
    }
    EXPECT_EQ(shown(639, 479), qRgb(127, 127, 127) & 0xFFFFFF);
    EXPECT_EQ(shown(100, 100), qRgb(127, 127, 127) & 0xFFFFFF);
    EXPECT_EQ(shown(300, 300), 0u);

    trackbar()->setValue(255);
    EXPECT_NEAR(streak(0).brightness, 1.0f, 2e-7f);
    EXPECT_EQ(shown(100, 100), 0xFFFFFFu);
    trackbar()->setValue(0);
    EXPECT_EQ(streak(0).brightness, 0.0f);
    EXPECT_EQ(shown(100, 100), 0u) << "black on black";
}

TEST_F(SacRefractionsDialogTest, PointLimitUntilClearAll) {
    open(3);
    press(dialog.get(), 10, 10);
    for (int i = 1; i < 6500; ++i) drag(dialog.get(), 10 + i % 600, 10 + i / 600);
    EXPECT_EQ(streak(3).point_count, 6399);
    click(id_clear_all);
    EXPECT_EQ(streak(3).point_count, 0);
    drag(dialog.get(), 20, 20);
    EXPECT_EQ(streak(3).point_count, 1) << "the trace goes on after clear all";
}

TEST_F(SacRefractionsDialogTest, SteppingStaysWithinTheEyeAndReloadsNothing) {
    open(0);
    for (int i = 0; i < 6; ++i) click(id_streak_next);
    EXPECT_EQ(number_text(), "4");
    EXPECT_EQ(fixture.state.current_streak, 4);
    streak(4).brightness = 0.2f;
    EXPECT_EQ(trackbar()->value(), 127) << "the trackbar is not reloaded";
    trackbar()->setValue(10);
    EXPECT_FLOAT_EQ(streak(4).brightness, 10 * 0.003921569f);
    EXPECT_EQ(streak(0).brightness, 0.5f);

    open(5);
    click(id_streak_previous);
    EXPECT_EQ(number_text(), "0");
    EXPECT_EQ(fixture.state.current_streak, 5);
}

TEST_F(SacRefractionsDialogTest, OkStoresTheRadioChoiceAndTheCloseBoxDropsIt) {
    open(0);
    click(id_streak_next);
    click(id_streak_next);
    radio(id_seen_moving)->click();
    click(id_streak_ok);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(streak(2).when_seen, 3);
    EXPECT_EQ(streak(0).when_seen, 0);

    open(7);
    press(dialog.get(), 50, 60);
    release(dialog.get(), 50, 60);
    radio(id_seen_left_right)->click();
    dialog->close();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(streak(7).when_seen, 0) << "the close box stored the choice";
    EXPECT_EQ(streak(7).point_count, 1) << "traced points stay";
}

}  // namespace
}  // namespace editor
