// floater_map_dialog_test.cpp -- drives the real floater map with mouse events, buttons and sliders.
#include <gtest/gtest.h>

#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <memory>

#include "editor/floater_map_dialog.h"
#include "editor/model/dialog_units.h"
#include "editor/model/floater_map.h"
#include "drawing_mouse.h"
#include "ui_test_support.h"

namespace editor {
namespace {

using testing_support::control;

using testing_support::drag;
using testing_support::press;
using testing_support::release;

struct FloaterMapDialogTest : ::testing::Test {
    testing_support::EditorFixture fixture;
    std::unique_ptr<QDialog> dialog;

    void open(int eye) {
        fixture.state.current_eye = eye;
        dialog.reset(create_floater_map_dialog(nullptr, fixture.state));
        dialog->show();
    }
    vision::Document& doc() { return *fixture.doc; }
    int dots(int eye = 0, int k = 0) { return doc().records[eye][k].dot_count; }
    void click(int id) { control<QPushButton>(dialog.get(), id)->click(); }
    QString index_text() { return control<QLineEdit>(dialog.get(), id_floater_index)->text(); }
    QSlider* slider(int id) { return control<QSlider>(dialog.get(), id); }
    QImage shown() { return dialog->grab(QRect(0, 0, 800, 600)).toImage(); }
    static int count_colour(const QImage& image, QRgb colour) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
        return n;
    }
};

TEST_F(FloaterMapDialogTest, OpensOnFloaterZeroWithItsCaptionAndControlsBesideTheMap) {
    fixture.state.current_floater[1] = 7;
    open(1);
    EXPECT_EQ(dialog->windowTitle(), "Floater map. Right eye");
    EXPECT_EQ(index_text(), "0");
    EXPECT_EQ(fixture.state.current_floater[1], 0);
    for (int id = id_floater_previous; id <= id_delete_last_dot; ++id) {
        QWidget* widget = dialog->findChild<QWidget*>(QString("ctl_%1").arg(id));
        ASSERT_NE(widget, nullptr) << "control " << id;
        EXPECT_GE(widget->geometry().left(), 800) << "control " << id << " covers the map";
        EXPECT_LE(widget->geometry().right(), dialog->width()) << "control " << id;
    }
    const PixelRect expected = from_dialog_units(545, 142, 65, 15);
    EXPECT_EQ(slider(id_transparency)->geometry(),
              QRect(expected.x, expected.y, expected.width, expected.height));
    EXPECT_EQ(slider(id_transparency)->pageStep(), 1);
    EXPECT_EQ(slider(id_transparency)->value(), 240);
    EXPECT_EQ(slider(id_floater_density)->value(), 10);
}

TEST_F(FloaterMapDialogTest, MouseDrawsOnlyInsideTheMap) {
    open(0);
    struct Case { int x, y; int added; };
    const Case cases[] = {{0, 300, 0}, {400, 0, 0}, {800, 300, 0}, {400, 600, 0}, {799, 599, 1}};
    for (const Case& c : cases) {
        doc().records[0][0].dot_count = 0;
        press(dialog.get(), 300, 300);         // start a stroke
        press(dialog.get(), c.x, c.y);         // a second press decides whether it goes on
        drag(dialog.get(), 310, 310);
        EXPECT_EQ(dots(), 1 + 2 * c.added) << "press at " << c.x << "," << c.y;
        release(dialog.get(), 310, 310);
    }
    // A drag leaving the dialog reads as a far position and adds nothing.
    doc().records[0][0].dot_count = 0;
    press(dialog.get(), 5, 5);
    drag(dialog.get(), -3, 20);
    drag(dialog.get(), 6, 5);
    drag(dialog.get(), 5, 5);   // the first pixel again
    drag(dialog.get(), 6, 5);
    release(dialog.get(), 6, 5);
    drag(dialog.get(), 7, 5);   // no button: no dot
    ASSERT_EQ(dots(), 2);
    EXPECT_EQ(doc().x[0][0][1], 6);
}

TEST_F(FloaterMapDialogTest, DotLimitAndDeleteButtons) {
    open(0);
    for (int i = 0; i < 1024; ++i) press(dialog.get(), 1 + i % 700, 1 + i / 700);
    EXPECT_EQ(dots(), 1023) << "the 1024th dot was kept";
    click(id_delete_last_dot);
    EXPECT_EQ(dots(), 1022);
    click(id_delete_floater);
    click(id_delete_last_dot);
    EXPECT_EQ(dots(), 0);
    EXPECT_EQ(doc().header.floater_count[0], 1);
}

TEST_F(FloaterMapDialogTest, NextAndPreviousStepThroughTheFloaters) {
    open(0);
    doc().records[0][1].transparency = 210;
    click(id_floater_previous);
    EXPECT_EQ(index_text(), "0");
    click(id_floater_next);
    EXPECT_EQ(index_text(), "1");
    EXPECT_EQ(doc().header.floater_count[0], 2);
    EXPECT_EQ(slider(id_transparency)->value(), 210) << "sliders not reloaded";
    EXPECT_EQ(doc().records[0][1].dot_density, 4);

    press(dialog.get(), 40, 40);
    release(dialog.get(), 40, 40);
    EXPECT_EQ(dots(0, 1), 1) << "dots go to the current floater";
    for (int i = 0; i < 120; ++i) click(id_floater_next);
    EXPECT_EQ(index_text(), "99");
    EXPECT_EQ(doc().header.floater_count[0], 100);
    click(id_delete_floater);
    EXPECT_EQ(doc().header.floater_count[0], 100);
}

TEST_F(FloaterMapDialogTest, SlidersStoreIntoTheCurrentFloater) {
    doc().records[0][0].dot_size_x = 9;  // outside 1..4, as a loaded file may hold
    open(0);
    EXPECT_EQ(slider(id_dot_size_x)->value(), 4);
    EXPECT_EQ(doc().records[0][0].dot_size_x, 9) << "showing a value must not store it";

    slider(id_floater_density)->setValue(slider(id_floater_density)->maximum());
    EXPECT_EQ(doc().records[0][0].floater_density, 0);
    slider(id_floater_density)->setValue(4);
    EXPECT_EQ(doc().records[0][0].floater_density, 6);
    slider(id_movement_x)->setValue(990);
    EXPECT_EQ(doc().records[0][0].movement_x, 0.99f);
    slider(id_movement_y)->setValue(500);
    EXPECT_EQ(doc().records[0][0].movement_y, 0.5f);
    slider(id_dot_density)->setValue(10);
    EXPECT_EQ(doc().records[0][0].dot_density, 10);
    EXPECT_EQ(doc().records[0][1].dot_density, 4);
}

TEST_F(FloaterMapDialogTest, PreviewShadesOneBlockPerDotAndOtherFloatersAreRed) {
    open(0);
    slider(id_dot_density)->setValue(1);
    slider(id_dot_size_x)->setValue(3);
    slider(id_diffusion)->setValue(0);
    press(dialog.get(), 100, 100);
    drag(dialog.get(), 200, 150);
    release(dialog.get(), 200, 150);
    QImage image = shown();
    const QRgb grey = qRgb(239, 239, 239);
    EXPECT_EQ(count_colour(image, grey), 6);
    for (int dx = 0; dx < 3; ++dx) EXPECT_EQ(image.pixel(200 + dx, 150) & 0xFFFFFF, grey & 0xFFFFFF);

    click(id_floater_next);  // floater 0 is now shown as red dots
    image = shown();
    EXPECT_EQ(count_colour(image, qRgb(255, 0, 0)), 2);
    EXPECT_EQ(image.pixel(100, 100) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(count_colour(image, grey), 0);

    // The right eye's map shows nothing of the left eye.
    open(1);
    image = shown();
    EXPECT_EQ(dialog->windowTitle(), "Floater map. Right eye");
    EXPECT_EQ(count_colour(image, qRgb(255, 0, 0)), 0);
    EXPECT_EQ(image.pixel(100, 100) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(200, 150) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(FloaterMapDialogTest, PenCursorOverTheMapOnly) {
    open(0);
    drag(dialog.get(), 799, 10);
    EXPECT_EQ(dialog->cursor().shape(), Qt::BitmapCursor);
    drag(dialog.get(), 800, 10);
    EXPECT_EQ(dialog->cursor().shape(), Qt::ArrowCursor);
    dialog.reset();
    open(0);  // the last position survives the dialog
    EXPECT_EQ(dialog->cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
}  // namespace editor
