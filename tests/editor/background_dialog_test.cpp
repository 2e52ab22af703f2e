// background_dialog_test.cpp -- drives the real background definition dialog.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <memory>

#include "editor/background_dialog.h"
#include "editor/model/background_slots.h"
#include "support/temp_dir.h"
#include "ui_test_support.h"
#include "visionfile/writer.h"

using namespace editor;
using testing_support::control;

namespace {

std::unique_ptr<QDialog> open_dialog(testing_support::EditorFixture& fixture) {
    return std::unique_ptr<QDialog>(create_background_dialog(nullptr, fixture.state));
}

const std::vector<unsigned char> jpeg_bytes = {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3, 4, 0xFF, 0xD9};

}  // namespace

TEST(BackgroundDialog, SearchShowsNameAndStoresFullPath) {
    testing_support::EditorFixture fixture;
    testing_support::TempDir dir;
    const std::string picture = dir.file("garden.jpg");
    testing_support::write_file(picture, jpeg_bytes);

    auto dialog = open_dialog(fixture);
    EXPECT_EQ(dialog->windowTitle(), "Background definition.");
    for (int slot = 0; slot < 4; ++slot)
        EXPECT_EQ(control<QLineEdit>(dialog.get(), 100 + slot)->text(), "Unused") << "slot " << slot;

    fixture.next_choice = QString::fromStdString(picture);
    control<QPushButton>(dialog.get(), 105)->click();
    EXPECT_EQ(fixture.chooser_titles.value(0), "Load JPG as background");
    EXPECT_EQ(fixture.chooser_filters, QStringList({"jpg (*.jpg *.jpeg *.jpe)", "All files (*)"}));
    EXPECT_EQ(fixture.chooser_suffix, "jpg");
    EXPECT_EQ(control<QLineEdit>(dialog.get(), 101)->text(), "garden.jpg");
    // Ten bytes with no frame header: a JPEG whose size cannot be told.
    EXPECT_TRUE(dialog->findChild<QLabel*>("note_1")->text().startsWith("no picture size"));
    EXPECT_EQ(picture_path(fixture.doc->header, 1), picture);
    EXPECT_EQ(fixture.state.last_picture_directory, dir.path() + "/");
    EXPECT_TRUE(fixture.state.last_vision_directory.empty()) << "pictures keep their own folder";
    control<QPushButton>(dialog.get(), 120)->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    auto reopened = open_dialog(fixture);
    EXPECT_EQ(control<QLineEdit>(reopened.get(), 101)->text().toStdString(), picture);

    // "look" hands the stored path to the desktop; an empty slot is said.
    control<QPushButton>(reopened.get(), 109)->click();
    control<QPushButton>(reopened.get(), 108)->click();
    EXPECT_EQ(fixture.opened, QStringList({QString::fromStdString(picture)}));
    ASSERT_EQ(fixture.messages.size(), 1);
    EXPECT_TRUE(fixture.messages[0].contains("Background 1")) << fixture.messages[0].toStdString();

    // Cancelling the chooser changes nothing.
    fixture.next_choice.clear();
    control<QPushButton>(reopened.get(), 105)->click();
    EXPECT_EQ(picture_path(fixture.doc->header, 1), picture);
    EXPECT_EQ(control<QLineEdit>(reopened.get(), 101)->text().toStdString(), picture);
}

TEST(BackgroundDialog, EraseEmptiesOneSlotAndSaveGivesItNoPicture) {
    testing_support::EditorFixture fixture;
    testing_support::TempDir dir;
    vision::Header& header = fixture.doc->header;
    for (int slot = 0; slot < 4; ++slot) {
        const std::string picture = dir.file("p" + std::to_string(slot) + ".jpg");
        testing_support::write_file(picture, jpeg_bytes);
        ASSERT_EQ(set_picture_path(header, slot, picture), 1);
    }
    auto dialog = open_dialog(fixture);
    control<QPushButton>(dialog.get(), 114)->click();
    EXPECT_EQ(control<QLineEdit>(dialog.get(), 102)->text(), "Unused");
    dialog->close();
    EXPECT_EQ(picture_path(header, 2), "Unused");
    for (int slot : {0, 1, 3})
        EXPECT_EQ(picture_path(header, slot), dir.file("p" + std::to_string(slot) + ".jpg"));

    ASSERT_EQ(vision::write_vision_file(*fixture.doc, dir.file("out.flt").c_str()), 1);
    EXPECT_EQ(header.slots[2].picture_offset, 0);
    const int records_end = vision::header_size + 2 * vision::record_size;
    EXPECT_EQ(header.slots[0].picture_offset, records_end);
    EXPECT_EQ(header.slots[1].picture_offset, records_end + 10);
    EXPECT_EQ(header.slots[3].picture_offset, records_end + 20);
}

TEST(BackgroundDialog, OtherFilesAreMarkedAndOverlongPathsRefused) {
    testing_support::EditorFixture fixture;
    testing_support::TempDir dir;
    const std::string png = dir.file("scan.png");
    testing_support::write_file(png, {0x89, 'P', 'N', 'G', 13, 10});
    auto dialog = open_dialog(fixture);

    fixture.next_choice = QString::fromStdString(png);
    control<QPushButton>(dialog.get(), 104)->click();
    EXPECT_EQ(picture_path(fixture.doc->header, 0), png);  // allowed, but marked
    EXPECT_TRUE(dialog->findChild<QLabel*>("note_0")->text().startsWith("not JPEG"));
    control<QPushButton>(dialog.get(), 112)->click();
    EXPECT_TRUE(dialog->findChild<QLabel*>("note_0")->text().isEmpty());

    // A path of 256 characters does not fit the slot: refused with a message.
    std::string deep = dir.path();
    while (deep.size() < 240) deep += "/abcdefghij";
    std::filesystem::create_directories(deep);
    std::string name = "x.jpg";
    const std::string long_path = deep + "/" + std::string(256 - deep.size() - 1 - name.size(), 'n') + name;
    ASSERT_EQ(long_path.size(), 256u);
    testing_support::write_file(long_path, jpeg_bytes);
    fixture.next_choice = QString::fromStdString(long_path);
    control<QPushButton>(dialog.get(), 107)->click();
    EXPECT_EQ(picture_path(fixture.doc->header, 3), "Unused");
    EXPECT_EQ(control<QLineEdit>(dialog.get(), 103)->text(), "Unused");
    ASSERT_EQ(fixture.messages.size(), 1);
    EXPECT_TRUE(fixture.messages[0].contains("256")) << fixture.messages[0].toStdString();

    // A slot naming a file that is gone is marked when the dialog opens.
    set_picture_path(fixture.doc->header, 2, dir.file("gone.jpg"));
    auto reopened = open_dialog(fixture);
    EXPECT_TRUE(reopened->findChild<QLabel*>("note_2")->text().startsWith("missing"));
}
