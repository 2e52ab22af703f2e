// dialog_conventions_test.cpp -- keys, value labels, layout and choosers shared by the editor's dialogs.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QImage>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "drawing_mouse.h"
#include "editor/background_dialog.h"
#include "editor/file_choosers.h"
#include "editor/floater_map_dialog.h"
#include "editor/model/background_slots.h"
#include "editor/model/floater_map.h"
#include "editor/model/personal_form.h"
#include "editor/model/sac_refractions.h"
#include "editor/personal_dialog.h"
#include "editor/sac_refractions_dialog.h"
#include "editor/web_page_command.h"
#include "support/temp_dir.h"
#include "ui_test_support.h"

using namespace editor;
using testing_support::control;

namespace {

using DialogMaker = QDialog* (*)(QWidget*, EditorState&);

std::unique_ptr<QDialog> shown_active(DialogMaker make, EditorState& state) {
    std::unique_ptr<QDialog> dialog(make(nullptr, state));
    dialog->show();
    dialog->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    return dialog;
}

// Every text fits its control and every control lies inside the dialog;
// no text overlaps a slider.
void expect_nothing_clipped(QDialog* dialog) {
    const QRect inside = dialog->rect();
    const QList<QSlider*> sliders = dialog->findChildren<QSlider*>();
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(dialog) || qobject_cast<QGroupBox*>(widget->parentWidget())) continue;
        const QString name = widget->objectName() + " \"" +
                             (qobject_cast<QLabel*>(widget) ? qobject_cast<QLabel*>(widget)->text()
                              : qobject_cast<QAbstractButton*>(widget)
                                  ? qobject_cast<QAbstractButton*>(widget)->text()
                                  : QString()) +
                             "\"";
        if (widget->parentWidget() != dialog) continue;
        EXPECT_TRUE(inside.contains(widget->geometry())) << name.toStdString() << " leaves the dialog";
        auto* label = qobject_cast<QLabel*>(widget);
        auto* button = qobject_cast<QAbstractButton*>(widget);
        if (label && label->pixmap().isNull()) {
            if (label->wordWrap())
                EXPECT_LE(label->heightForWidth(label->width()), label->height()) << name.toStdString();
            else
                EXPECT_LE(label->sizeHint().width(), label->width()) << name.toStdString();
            for (QSlider* slider : sliders)
                EXPECT_FALSE(label->geometry().intersects(slider->geometry()))
                    << name.toStdString() << " overlaps slider " << slider->objectName().toStdString();
        }
        // A push button's size hint has a style minimum; its text is what must fit.
        if (qobject_cast<QPushButton*>(widget)) {
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 6, button->width())
                << name.toStdString();
        } else if (button) {
            EXPECT_LE(button->sizeHint().width(), button->width()) << name.toStdString();
        }
    }
}

// The export dialog as a page of 12.3 MB, its longest size text.
QDialog* create_sized_web_page_dialog(QWidget* owner, EditorState&) {
    return create_web_page_dialog(owner, 12'345'678);
}

QString value_text(QDialog* dialog, int id) {
    auto* label = dialog->findChild<QLabel*>(QString("value_%1").arg(id));
    return label ? label->text() : QString("(no value label)");
}

void write_jpeg(const QString& path, int width, int height, bool progressive) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(40, 120, 200));
    QImageWriter writer(path, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    ASSERT_TRUE(writer.write(image)) << writer.errorString().toStdString();
}

// Points HOME (and the desktop's folder settings) at a fresh folder while it lives.
struct FakeHome {
    testing_support::TempDir dir;
    QByteArray old_home = qgetenv("HOME"), old_config = qgetenv("XDG_CONFIG_HOME");
    FakeHome() {
        qputenv("HOME", dir.path().c_str());
        qputenv("XDG_CONFIG_HOME", (dir.path() + "/.config").c_str());
    }
    ~FakeHome() {
        qputenv("HOME", old_home);
        qputenv("XDG_CONFIG_HOME", old_config);
    }
    QString path(const QString& name = {}) const {
        return QString::fromStdString(dir.path()) + (name.isEmpty() ? "" : "/" + name);
    }
};

}  // namespace

TEST(DialogKeys, CtrlZTakesBackTheLastDotOrPointAndEscapeCloses) {
    {
        testing_support::EditorFixture fixture;
        auto dialog = shown_active(create_floater_map_dialog, fixture.state);
        for (int x : {100, 101, 102}) testing_support::press(dialog.get(), x, 50);
        ASSERT_EQ(fixture.doc->records[0][0].dot_count, 3);
        QTest::keyClick(dialog.get(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(dialog.get(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(fixture.doc->records[0][0].dot_count, 1);
        QTest::keyClick(dialog.get(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(dialog.get(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(fixture.doc->records[0][0].dot_count, 0);
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible());
    }
    {
        testing_support::EditorFixture fixture;
        fixture.state.current_streak = 6;
        vision::Streak& streak = fixture.doc->header.streak[6];
        streak.when_seen = 1;
        auto dialog = shown_active(create_sac_refractions_dialog, fixture.state);
        testing_support::press(dialog.get(), 10, 10);
        testing_support::drag(dialog.get(), 11, 10);
        testing_support::drag(dialog.get(), 12, 10);
        testing_support::release(dialog.get(), 12, 10);
        ASSERT_EQ(streak.point_count, 3);
        QTest::keyClick(dialog.get(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(streak.point_count, 2);
        EXPECT_EQ(streak.x[1], 11);
        // Escape is the close box: the radio choice is not stored.
        control<QAbstractButton>(dialog.get(), id_seen_always)->setChecked(true);
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(streak.when_seen, 1);
    }
}

TEST(DialogValues, EverySliderShowsItsValueWhileMoving) {
    testing_support::EditorFixture fixture;
    auto map = shown_active(create_floater_map_dialog, fixture.state);
    for (const SliderRange& range : floater_sliders)
        EXPECT_FALSE(value_text(map.get(), range.id).isEmpty()) << "slider " << range.id;
    EXPECT_EQ(value_text(map.get(), id_transparency), "94 %");  // the new document's 240
    QSlider* transparency = control<QSlider>(map.get(), id_transparency);
    transparency->setValue(200);  // as a drag's tracking does, position by position
    EXPECT_EQ(value_text(map.get(), id_transparency), "78 %");
    EXPECT_EQ(fixture.doc->records[0][0].transparency, 200);
    // ">" shows the next floater's own values.
    fixture.doc->records[0][1].movement_x = 0.5f;
    control<QPushButton>(map.get(), id_floater_next)->click();
    EXPECT_EQ(value_text(map.get(), id_movement_x), "50.0 %");
    EXPECT_EQ(value_text(map.get(), id_transparency), "94 %");

    auto sac = shown_active(create_sac_refractions_dialog, fixture.state);
    EXPECT_EQ(value_text(sac.get(), id_brightness), "50 %");
    control<QSlider>(sac.get(), id_brightness)->setValue(255);
    EXPECT_EQ(value_text(sac.get(), id_brightness), "100 %");
    EXPECT_EQ(fixture.doc->header.streak[0].brightness, 1.0f);

    auto form = shown_active(create_personal_dialog, fixture.state);
    for (const TrackbarRange& range : trackbar_ranges)
        EXPECT_FALSE(value_text(form.get(), range.id).isEmpty()) << "trackbar " << range.id;
    EXPECT_EQ(value_text(form.get(), id_cataract_clarity), "100 %");
    control<QSlider>(form.get(), id_tint_green)->setValue(128);
    EXPECT_EQ(value_text(form.get(), id_tint_green), "128");
}

TEST(DialogLayout, NoControlIsClippedOrCoveredInAnyDialog) {
    testing_support::EditorFixture fixture;
    testing_support::TempDir dir;
    // Long notes in the background rows, and the largest values in the form.
    const QString small = QString::fromStdString(dir.file("small.jpg"));
    write_jpeg(small, 1024, 768, false);
    set_picture_path(fixture.doc->header, 0, small.toStdString());
    set_picture_path(fixture.doc->header, 1, dir.file("gone.jpg"));
    fixture.doc->header.blood_cells_count = 1000;
    for (DialogMaker make : {create_floater_map_dialog, create_sac_refractions_dialog,
                             create_personal_dialog, create_background_dialog,
                             create_sized_web_page_dialog}) {
        std::unique_ptr<QDialog> dialog(make(nullptr, fixture.state));
        dialog->show();
        SCOPED_TRACE(dialog->windowTitle().toStdString());
        expect_nothing_clipped(dialog.get());
    }
}

TEST(BackgroundPictures, APictureShowsAPreviewAndASizeOtherThanTheScenesIsSaid) {
    testing_support::EditorFixture fixture;
    testing_support::TempDir dir;
    const QString scene = QString::fromStdString(dir.file("scene.jpg"));
    const QString photo = QString::fromStdString(dir.file("photo.JPEG"));
    write_jpeg(scene, 1280, 960, false);
    write_jpeg(photo, 800, 600, true);
    std::unique_ptr<QDialog> dialog(create_background_dialog(nullptr, fixture.state));
    fixture.next_choice = scene;
    control<QPushButton>(dialog.get(), id_first_search_button)->click();
    fixture.next_choice = photo;
    control<QPushButton>(dialog.get(), id_first_search_button + 1)->click();

    EXPECT_EQ(dialog->findChild<QLabel*>("note_0")->text(), "");
    EXPECT_EQ(dialog->findChild<QLabel*>("note_1")->text(),
              "800 x 600:\nthe simulator looks around in a 1280 x 960 picture");
    for (int slot : {0, 1}) {
        const QPixmap preview = dialog->findChild<QLabel*>(QString("preview_%1").arg(slot))->pixmap();
        ASSERT_FALSE(preview.isNull()) << "slot " << slot;
        EXPECT_LE(preview.width(), 45);
        EXPECT_NEAR(QColor(preview.toImage().pixel(preview.width() / 2, preview.height() / 2)).blue(), 200, 12);
    }
    EXPECT_TRUE(dialog->findChild<QLabel*>("preview_2")->pixmap().isNull());
    control<QPushButton>(dialog.get(), id_first_erase_button + 1)->click();
    EXPECT_TRUE(dialog->findChild<QLabel*>("preview_1")->pixmap().isNull());
    EXPECT_EQ(dialog->findChild<QLabel*>("note_1")->text(), "");
}

TEST(Choosers, StartInTheRememberedFolderElseTheOpenFilesElsePicturesElseHome) {
    FakeHome home;
    testing_support::EditorFixture fixture;
    QDir().mkpath(home.path("work"));
    QDir().mkpath(home.path("holiday"));
    const QString vision_file = home.path("work/mine.flt");
    const QString picture = home.path("holiday/beach.jpg");
    write_jpeg(picture, 16, 16, false);

    EXPECT_EQ(vision_start_folder(fixture.state), home.path());
    // A vision file opened without a chooser (command line, dropped): its folder.
    fixture.state.vision_file = home.path("holiday/sent.flt").toStdString();
    EXPECT_EQ(vision_start_folder(fixture.state), home.path("holiday"));
    fixture.state.vision_file.clear();
    EXPECT_EQ(picture_start_folder(fixture.state), home.path()) << "no Pictures folder yet";
    QDir().mkpath(home.path("Pictures"));
    EXPECT_EQ(picture_start_folder(fixture.state), home.path("Pictures"));

    ChosenFile chosen;
    fixture.next_choice = vision_file;
    ASSERT_TRUE(choose_file_to_save(nullptr, fixture.state, "Save", {}, "flt", chosen));
    fixture.next_choice = picture;
    ASSERT_TRUE(choose_picture_to_open(nullptr, fixture.state, "Pick", {}, "jpg", chosen));
    fixture.next_choice.clear();
    choose_file_to_open(nullptr, fixture.state, "Load", {}, "flt", chosen);
    choose_picture_to_open(nullptr, fixture.state, "Pick", {}, "jpg", chosen);
    EXPECT_EQ(fixture.chooser_folders, QStringList({home.path(), home.path("Pictures"),
                                                    home.path("work/"), home.path("holiday/")}));
}

TEST(Choosers, TheJpegFilterMatchesEveryLetterCase) {
    testing_support::TempDir dir;
    for (const char* name : {"a.jpg", "b.JPG", "c.Jpeg", "d.jpe", "e.png", "f.JPG.txt"})
        testing_support::write_file(dir.file(name), {0xFF, 0xD8, 0xFF});
    testing_support::EditorFixture fixture;
    set_chooser_function({});  // the real dialog
    fixture.state.last_picture_directory = dir.path();
    QStringList listed;
    bool looked = false;
    // Reads what the dialog lists once its folder has loaded, then cancels it.
    std::function<void()> look = [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* model = dialog ? dialog->findChild<QFileSystemModel*>() : nullptr;
        const QModelIndex folder = model ? model->index(QString::fromStdString(dir.path())) : QModelIndex();
        if (!model || model->rowCount(folder) == 0) {
            QTimer::singleShot(20, look);
            return;
        }
        QTest::qWait(100);  // let the filter settle
        for (int row = 0; row < model->rowCount(folder); ++row)
            listed << model->index(row, 0, folder).data().toString();
        looked = true;
        dialog->reject();
    };
    QTimer::singleShot(0, look);
    ChosenFile chosen;
    EXPECT_FALSE(choose_picture_to_open(nullptr, fixture.state, "Load JPG as background",
                                        picture_file_types(), "jpg", chosen));
    ASSERT_TRUE(looked);
    listed.sort();
    EXPECT_EQ(listed, QStringList({"a.jpg", "b.JPG", "c.Jpeg", "d.jpe"})) << listed.join(' ').toStdString();
}
