// personal_dialog_test.cpp -- drives the real personal information form.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <cstring>
#include <memory>

#include "editor/model/personal_form.h"
#include "editor/personal_dialog.h"
#include "ui_test_support.h"

using namespace editor;
using testing_support::control;

namespace {

std::unique_ptr<QDialog> open_form(testing_support::EditorFixture& fixture) {
    return std::unique_ptr<QDialog>(create_personal_dialog(nullptr, fixture.state));
}

QColor swatch_colour(QDialog& dialog) {
    QWidget* swatch = dialog.findChild<QWidget*>("swatch");
    return swatch->palette().color(QPalette::Window);
}

}  // namespace

TEST(PersonalDialog, NewDocumentOpensCleared) {
    testing_support::EditorFixture fixture;
    auto form = open_form(fixture);
    EXPECT_EQ(form->windowTitle(), "Personal information form");
    for (int id : check_box_ids) {
        auto* box = control<QCheckBox>(form.get(), id);
        ASSERT_NE(box, nullptr) << "id " << id;
        EXPECT_FALSE(box->isChecked()) << "id " << id;
    }
    for (int id = 201; id <= 210; ++id) {
        auto* radio = control<QRadioButton>(form.get(), id);
        ASSERT_NE(radio, nullptr) << "id " << id;
        EXPECT_EQ(radio->isChecked(), id == 201) << "id " << id;
        EXPECT_EQ(radio->text(), QString("-%1D").arg(id - 200));
    }
    struct Expected {
        int id, minimum, maximum, value;
    };
    for (Expected e : {Expected{212, 0, 1000, 0}, {213, 0, 40, 0}, {215, 0, 100, 100},
                       {223, 0, 255, 0}, {224, 0, 255, 0}, {225, 0, 255, 0}}) {
        auto* slider = control<QSlider>(form.get(), e.id);
        ASSERT_NE(slider, nullptr) << "id " << e.id;
        EXPECT_EQ(slider->minimum(), e.minimum) << "id " << e.id;
        EXPECT_EQ(slider->maximum(), e.maximum) << "id " << e.id;
        EXPECT_EQ(slider->pageStep(), 4) << "id " << e.id;
        EXPECT_EQ(slider->value(), e.value) << "id " << e.id;
    }
    EXPECT_EQ(swatch_colour(*form), QColor(0, 0, 0));
    EXPECT_TRUE(control<QPlainTextEdit>(form.get(), 103)->toPlainText().isEmpty());
    // Opening changed nothing: clarity is still that of a new document.
    EXPECT_EQ(fixture.doc->header.cataract_clarity, 0.0f);
}

TEST(PersonalDialog, OkStoresEveryControlWithItsMapping) {
    testing_support::EditorFixture fixture;
    vision::Header& header = fixture.doc->header;
    auto form = open_form(fixture);
    for (int id : check_box_ids) control<QCheckBox>(form.get(), id)->setChecked(true);
    control<QRadioButton>(form.get(), 207)->setChecked(true);
    control<QSlider>(form.get(), 212)->setValue(345);
    control<QSlider>(form.get(), 213)->setValue(17);
    control<QSlider>(form.get(), 215)->setValue(30);
    control<QSlider>(form.get(), 223)->setValue(10);
    control<QSlider>(form.get(), 224)->setValue(20);
    control<QSlider>(form.get(), 225)->setValue(30);
    EXPECT_EQ(swatch_colour(*form), QColor(10, 20, 30));
    control<QPlainTextEdit>(form.get(), 103)->setPlainText("since 2019\nhard to read");
    control<QPushButton>(form.get(), 104)->click();

    EXPECT_EQ(form->result(), QDialog::Accepted);
    for (int id : check_box_ids) EXPECT_EQ(*check_box_field(header, id), 1) << "id " << id;
    EXPECT_EQ(header.myopia_dioptres, 7);
    EXPECT_EQ(header.blood_cells_count, 345);
    EXPECT_EQ(header.blood_cells_brightness, float(17 * 0.01));
    EXPECT_EQ(header.cataract_clarity, float(1 - 30 * 0.01));
    EXPECT_EQ(header.tint_red, 10);
    EXPECT_EQ(header.tint_green, 20);
    EXPECT_EQ(header.tint_blue, 30);
    EXPECT_STREQ(header.comments, "since 2019\r\nhard to read");

    // Reopening shows the stored values, and unticking everything stores 0s.
    auto again = open_form(fixture);
    EXPECT_TRUE(control<QRadioButton>(again.get(), 207)->isChecked());
    EXPECT_EQ(control<QSlider>(again.get(), 215)->value(), 30);
    EXPECT_EQ(control<QPlainTextEdit>(again.get(), 103)->toPlainText(), "since 2019\nhard to read");
    for (int id : check_box_ids) {
        ASSERT_TRUE(control<QCheckBox>(again.get(), id)->isChecked()) << "id " << id;
        control<QCheckBox>(again.get(), id)->setChecked(false);
    }
    header.myopia_on = 5;  // not 1: any other value shows clear and is rewritten
    control<QPushButton>(again.get(), 104)->click();
    for (int id : check_box_ids) EXPECT_EQ(*check_box_field(header, id), 0) << "id " << id;
}

TEST(PersonalDialog, CloseBoxKeepsTrackbarsOnly) {
    testing_support::EditorFixture fixture;
    vision::Header& header = fixture.doc->header;
    auto form = open_form(fixture);
    control<QSlider>(form.get(), 223)->setValue(77);
    control<QCheckBox>(form.get(), id_sunglasses)->setChecked(true);
    control<QRadioButton>(form.get(), 203)->setChecked(true);
    control<QPlainTextEdit>(form.get(), 103)->setPlainText("not kept");
    form->close();

    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(header.tint_red, 77);
    EXPECT_EQ(header.sunglasses_on, 0);
    EXPECT_EQ(header.myopia_dioptres, 1);
    EXPECT_EQ(header.comments[0], 0);
}

TEST(PersonalDialog, OddFileValuesOpenSafely) {
    testing_support::EditorFixture fixture;
    vision::Header& header = fixture.doc->header;
    header.myopia_dioptres = 42;  // no button for it
    header.blood_cells_count = -7;
    header.tint_blue = 9999;
    std::memset(header.comments, 'k', sizeof header.comments);  // no NUL
    auto form = open_form(fixture);
    for (int id = 201; id <= 210; ++id)
        EXPECT_FALSE(control<QRadioButton>(form.get(), id)->isChecked()) << "id " << id;
    EXPECT_EQ(control<QPlainTextEdit>(form.get(), 103)->toPlainText().size(), 31999);
    // Opening clamps only what the trackbars show, not the document...
    EXPECT_EQ(header.tint_blue, 9999);
    // ...and "ok" with no dioptre selected leaves the value alone.
    control<QPushButton>(form.get(), 104)->click();
    EXPECT_EQ(header.myopia_dioptres, 42);
}

TEST(PersonalDialog, LongCommentIsCut) {
    testing_support::EditorFixture fixture;
    auto form = open_form(fixture);
    control<QPlainTextEdit>(form.get(), 103)->setPlainText(QString(32000, 'c'));
    control<QPushButton>(form.get(), 104)->click();
    EXPECT_EQ(std::strlen(fixture.doc->header.comments), 31999u);
}
