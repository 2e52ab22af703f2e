// unsaved_work_test.cpp -- the questions before losing work or embedding foreign files, and the shortcuts.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QTest>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>

#include "editor/main_window.h"
#include "editor/model/background_slots.h"
#include "editor/model/floater_map.h"
#include "support/temp_dir.h"
#include "ui_test_support.h"
#include "visionfile/reader.h"
#include "visionfile/writer.h"

using namespace editor;

namespace {

using Button = QMessageBox::StandardButton;

bool file_contains(const std::string& path, const std::string& text) {
    const std::vector<unsigned char> bytes = testing_support::read_file(path);
    return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

}  // namespace

TEST(UnsavedWork, ClosingAsksOnlyAboutChangesAndGoesOnOnlyWhenTheyAreSafe) {
    testing_support::TempDir dir;
    const QString good = QString::fromStdString(dir.file("kept.flt"));
    const QString bad = QString::fromStdString(dir.file("no/such/folder/kept.flt"));
    struct Case {
        const char* what;
        bool change;
        QList<Button> answers;
        QString save_to;  // what the save chooser returns
        bool closes;
    };
    const Case cases[] = {
        {"unchanged", false, {}, {}, true},
        {"cancel", true, {QMessageBox::Cancel}, {}, false},
        {"discard", true, {QMessageBox::Discard}, {}, true},
        {"save cancelled in the chooser", true, {QMessageBox::Save}, {}, false},
        {"save failing", true, {QMessageBox::Save}, bad, false},
        {"save", true, {QMessageBox::Save}, good, true},
    };
    for (const Case& c : cases) {
        testing_support::EditorFixture fixture;
        std::unique_ptr<QMainWindow> window(create_main_window(fixture.state));
        window->show();
        if (c.change) add_floater_dot(*fixture.doc, 0, 0, 400, 300);
        fixture.answers = c.answers;
        fixture.next_choice = c.save_to;
        EXPECT_EQ(window->close(), c.closes) << c.what;
        EXPECT_EQ(fixture.questions.size(), c.change ? 1 : 0) << c.what;
        if (c.change) {
            EXPECT_EQ(fixture.questions.value(0), "Save the changes to your vision file before closing?");
        }
        EXPECT_EQ(fixture.doc->records[0][0].dot_count, c.change ? 1 : 0) << c.what << ": work kept";
    }
    vision::Document saved{};
    ASSERT_EQ(vision::read_vision_file(saved, good.toUtf8().constData()), 1);
    EXPECT_EQ(saved.records[0][0].dot_count, 1);
}

TEST(UnsavedWork, LoadingAsksFirstAndASavedOrLoadedDocumentIsUnchanged) {
    testing_support::EditorFixture fixture;
    testing_support::TempDir dir;
    std::unique_ptr<QMainWindow> window(create_main_window(fixture.state));
    const QString first = QString::fromStdString(dir.file("first.flt"));

    fixture.doc->header.tint_red = 90;
    fixture.answers = {QMessageBox::Cancel};
    fixture.next_choice = first;
    run_menu_command(window.get(), fixture.state, menu_load);
    EXPECT_TRUE(fixture.chooser_titles.isEmpty()) << "Cancel must not even open the chooser";
    EXPECT_EQ(fixture.doc->header.tint_red, 90);

    // Save, then go on loading the file just saved.
    fixture.answers = {QMessageBox::Save};
    run_menu_command(window.get(), fixture.state, menu_load);
    EXPECT_EQ(fixture.chooser_titles, QStringList({"Save Vitrion Vision File", "Load Vitrion Vision File"}));
    EXPECT_EQ(fixture.doc->header.tint_red, 90);
    // Saving changed the offsets, loading replaced the document: neither is
    // work of the person's, so nothing is asked now.
    fixture.questions.clear();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(fixture.questions.isEmpty());
}

TEST(UnsavedWork, MenuShortcutsAndKeysReachTheirCommands) {
    testing_support::EditorFixture fixture;
    std::unique_ptr<QMainWindow> window(create_main_window(fixture.state));
    const struct {
        int id;
        QKeySequence keys;
    } expected[] = {{menu_load, QKeySequence("Ctrl+O")}, {menu_save, QKeySequence("Ctrl+S")},
                    {menu_exit, QKeySequence("Ctrl+Q")}, {menu_help, QKeySequence("F1")}};
    for (const auto& e : expected) {
        auto* action = window->findChild<QAction*>(QString("menu_%1").arg(e.id));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->shortcut(), e.keys) << "menu " << e.id;
    }
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);  // chooser cancelled
    QTest::keyClick(window.get(), Qt::Key_F1);
    EXPECT_EQ(fixture.chooser_titles, QStringList({"Save Vitrion Vision File"}));
    EXPECT_EQ(fixture.opened.size(), 1);
    // Ctrl+Q goes through the question: Cancel keeps the window open.
    fixture.doc->header.sparks_on = 1;
    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(fixture.questions.size(), 1);
    EXPECT_TRUE(window->isVisible());
}

TEST(UnsavedWork, PicturesNamedByALoadedFileAreEmbeddedOnlyWhenThePersonAgrees) {
    testing_support::EditorFixture fixture;
    testing_support::TempDir dir;
    const std::string secret = dir.file("secret.txt");
    const std::string photo = dir.file("photo.jpg");
    testing_support::write_file(secret, {'S', 'E', 'C', 'R', 'E', 'T', '-', '4', '2'});
    testing_support::write_file(photo, {0xFF, 0xD8, 0xFF, 0xE0, 'P', 'H', 'O', 'T', 'O', 0xFF, 0xD9});

    // A received file names a document of this computer, a picture and a file that is not here.
    auto received = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*received);
    set_picture_path(received->header, 0, secret);
    set_picture_path(received->header, 1, photo);
    set_picture_path(received->header, 2, dir.file("elsewhere.jpg"));
    std::filesystem::create_directory(dir.file("mail"));
    ASSERT_EQ(vision::write_vision_file(*received, dir.file("mail/received.flt").c_str()), 1);

    std::unique_ptr<QMainWindow> window(create_main_window(fixture.state));
    fixture.next_choice = QString::fromStdString(dir.file("mail/received.flt"));
    run_menu_command(window.get(), fixture.state, menu_load);
    ASSERT_EQ(picture_path(fixture.doc->header, 0), secret);

    // Cancel writes nothing.
    const std::string out = dir.file("out.flt");
    fixture.next_choice = QString::fromStdString(out);
    fixture.answers = {QMessageBox::Cancel};
    run_menu_command(window.get(), fixture.state, menu_save);
    EXPECT_FALSE(std::filesystem::exists(out));
    ASSERT_EQ(fixture.questions.size(), 1);
    EXPECT_TRUE(fixture.questions[0].contains(QString::fromStdString(secret)));
    EXPECT_TRUE(fixture.questions[0].contains(QString::fromStdString(photo)));
    EXPECT_FALSE(fixture.questions[0].contains("elsewhere.jpg")) << "a file not here cannot be embedded";

    // "No": saved without those pictures, while the slots still show their paths.
    fixture.answers = {QMessageBox::No};
    run_menu_command(window.get(), fixture.state, menu_save);
    ASSERT_TRUE(std::filesystem::exists(out));
    EXPECT_FALSE(file_contains(out, "SECRET-42"));
    EXPECT_FALSE(file_contains(out, "PHOTO"));
    EXPECT_EQ(picture_path(fixture.doc->header, 0), secret);
    EXPECT_EQ(fixture.doc->header.slots[0].picture_offset, 0);
    auto written = std::make_unique<vision::Document>();
    ASSERT_EQ(vision::read_vision_file(*written, out.c_str()), 1);
    EXPECT_EQ(picture_path(written->header, 0), "Unused");
    EXPECT_EQ(picture_path(written->header, 1), "Unused");
    // The answer holds for later saves: no second question, still left out.
    run_menu_command(window.get(), fixture.state, menu_save);
    EXPECT_EQ(fixture.questions.size(), 2);
    EXPECT_FALSE(file_contains(out, "SECRET-42"));

    // Loaded again and "Yes": the picture goes in.
    fixture.next_choice = QString::fromStdString(dir.file("mail/received.flt"));
    run_menu_command(window.get(), fixture.state, menu_load);
    fixture.next_choice = QString::fromStdString(out);
    fixture.answers = {QMessageBox::Yes};
    run_menu_command(window.get(), fixture.state, menu_save);
    EXPECT_EQ(fixture.questions.size(), 3);
    EXPECT_TRUE(file_contains(out, "PHOTO"));
    EXPECT_NE(fixture.doc->header.slots[1].picture_offset, 0);
    // Even embedding allowed, the writer takes only pictures, and the message says why.
    EXPECT_FALSE(file_contains(out, "SECRET-42"));
    ASSERT_FALSE(fixture.messages.isEmpty());
    EXPECT_TRUE(fixture.messages.last().contains(QString::fromStdString(secret) + " (not a picture"));
}
