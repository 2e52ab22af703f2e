// main_window_test.cpp -- the main window's menu, presentation and file commands.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QDir>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <cstring>
#include <filesystem>
#include <memory>

#include "editor/file_choosers.h"
#include "editor/main_window.h"
#include "editor/picture_resources.h"
#include "support/temp_dir.h"
#include "ui_test_support.h"
#include "visionfile/writer.h"

using namespace editor;

namespace {

// "caption=id" for an action, "caption>" for a submenu, in menu order.
void list_menu(QMenu* menu, QStringList& out, const QString& prefix) {
    for (QAction* action : menu->actions()) {
        if (action->menu()) {
            list_menu(action->menu(), out, prefix + action->text() + ">");
        } else {
            out << prefix + action->text() + "=" + action->data().toString();
        }
    }
}

}  // namespace

TEST(MainWindow, MenuHasEveryCommandInOrder) {
    testing_support::EditorFixture fixture;
    std::unique_ptr<QMainWindow> window(create_main_window(fixture.state));
    EXPECT_EQ(window->windowTitle(), "Vitrion Editor.");
    QStringList entries;
    for (QAction* top : window->menuBar()->actions()) list_menu(top->menu(), entries, top->text() + ">");
    EXPECT_EQ(entries, QStringList({"File>Load Vision file=100", "File>Save Vision file=101",
                                    "File>Show in simulator=103",
                                    QString::fromUtf8("File>Report for the eye doctor\u2026=104"),
                                    QString::fromUtf8("File>Print report\u2026=105"),
                                    QString::fromUtf8("File>Save as web page\u2026=106"), "File>Exit=102", "Configurations>Background=200",
                                    "Configurations>Personal info=201",
                                    "Configurations>Left eye>Floaters=220",
                                    "Configurations>Left eye>Sac refractions=202",
                                    "Configurations>Right eye>Floaters=221",
                                    "Configurations>Right eye>Sac refractions=207",
                                    "Help>Help=300", "Help>About Vitrion editor=301"}))
        << entries.join(", ").toStdString();
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
}

TEST(MainWindow, PresentationIsCentredAndCutInSmallWindows) {
    testing_support::EditorFixture fixture;
    std::unique_ptr<QMainWindow> window(create_main_window(fixture.state));
    // Taken out of the window so the window's layout does not resize it.
    std::unique_ptr<QWidget> view(window->takeCentralWidget());
    const QImage presentation = presentation_picture();
    ASSERT_EQ(presentation.size(), QSize(640, 480));
    struct Case {
        int width, height;
    };
    for (Case c : {Case{1000, 700}, Case{501, 401}, Case{640, 480}}) {
        view->resize(c.width, c.height);
        const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int left = (c.width - 640) / 2, top = (c.height - 480) / 2;
        for (QPoint probe : {QPoint(0, 0), QPoint(320, 200), QPoint(639, 479), QPoint(100, 400)}) {
            const QPoint at = probe + QPoint(left, top);
            if (!shown.rect().contains(at)) continue;
            EXPECT_EQ(shown.pixel(at), presentation.pixel(probe))
                << c.width << "x" << c.height << " picture pixel " << probe.x() << "," << probe.y();
        }
    }
}

TEST(MainWindow, SavingANewDocumentAtOnceWritesTheDefaults) {
    testing_support::EditorFixture fixture;
    testing_support::TempDir dir;
    fixture.next_choice = QString::fromStdString(dir.file("new.flt"));
    std::unique_ptr<QMainWindow> window(create_main_window(fixture.state));
    run_menu_command(window.get(), fixture.state, menu_save);

    EXPECT_EQ(fixture.chooser_titles, QStringList({"Save Vitrion Vision File"}));
    EXPECT_EQ(fixture.chooser_filters, QStringList({"flt (*.flt)", "All files (*)"}));
    EXPECT_EQ(fixture.chooser_suffix, "flt");
    EXPECT_EQ(fixture.state.last_vision_directory, dir.path() + "/");

    const std::vector<unsigned char> bytes = testing_support::read_file(dir.file("new.flt"));
    ASSERT_EQ(bytes.size(), 545312u);
    vision::Header header;
    std::memcpy(&header, bytes.data(), sizeof header);
    EXPECT_EQ(header.floater_count[0], 1);
    EXPECT_EQ(header.floater_count[1], 1);
    EXPECT_EQ(header.myopia_dioptres, 1);
    for (const vision::PictureSlot& slot : header.slots) {
        EXPECT_STREQ(slot.picture_path, "Unused");
        EXPECT_EQ(slot.picture_offset, 0);
    }
    for (const vision::Streak& streak : header.streak) {
        EXPECT_EQ(streak.point_count, 0);
        EXPECT_EQ(streak.brightness, 0.5f);
    }
    EXPECT_TRUE(fixture.messages.isEmpty());
}

TEST(MainWindow, CancelledSaveWritesNothing) {
    testing_support::EditorFixture fixture;
    testing_support::TempDir dir;
    fixture.doc->records[0][0].points_offset = 1234;
    fixture.doc->header.slots[1].picture_offset = 999;
    std::unique_ptr<QMainWindow> window(create_main_window(fixture.state));
    run_menu_command(window.get(), fixture.state, menu_save);  // next_choice empty: cancel
    EXPECT_EQ(fixture.doc->records[0][0].points_offset, 1234);
    EXPECT_EQ(fixture.doc->header.slots[1].picture_offset, 999);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_TRUE(fixture.state.last_vision_directory.empty());
}

TEST(MainWindow, LoadKeepsRecordsBeyondTheFilesCount) {
    testing_support::EditorFixture fixture;
    testing_support::TempDir dir;
    vision::Document& doc = *fixture.doc;

    // A file with two left-eye floaters, saved from a second document.
    auto other = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*other);
    other->header.floater_count[0] = 2;
    other->records[0][1].dot_count = 1;
    other->x[0][1][0] = 400;
    other->y[0][1][0] = 300;
    other->header.sparks_on = 1;
    ASSERT_EQ(vision::write_vision_file(*other, dir.file("two.flt").c_str()), 1);

    // The editor's document has five left-eye floaters.
    doc.header.floater_count[0] = 5;
    for (int i = 0; i < 5; ++i) doc.records[0][i].dot_density = 10 - i;

    fixture.next_choice = QString::fromStdString(dir.file("two.flt"));
    fixture.answers = {QMessageBox::Discard};  // the five floaters were never saved
    std::unique_ptr<QMainWindow> window(create_main_window(fixture.state));
    run_menu_command(window.get(), fixture.state, menu_load);
    EXPECT_EQ(fixture.questions.size(), 1);

    EXPECT_EQ(fixture.chooser_titles, QStringList({"Load Vitrion Vision File"}));
    EXPECT_EQ(doc.header.floater_count[0], 2);
    EXPECT_EQ(doc.header.sparks_on, 1);
    EXPECT_EQ(doc.records[0][1].dot_count, 1);
    EXPECT_EQ(doc.x[0][1][0], 400);
    EXPECT_EQ(doc.records[0][0].dot_density, 4);
    for (int i = 2; i < 5; ++i) EXPECT_EQ(doc.records[0][i].dot_density, 10 - i) << "record " << i;
    EXPECT_TRUE(fixture.messages.isEmpty());

    // A malformed file (counts and offsets far out of range) loads as far as
    // it safely can, without a crash or a message.
    std::vector<unsigned char> garbage(vision::header_size + 200, 0xEE);
    testing_support::write_file(dir.file("garbage.flt"), garbage);
    fixture.next_choice = QString::fromStdString(dir.file("garbage.flt"));
    run_menu_command(window.get(), fixture.state, menu_load);
    EXPECT_LE(doc.header.floater_count[0], vision::max_floaters);
    EXPECT_TRUE(fixture.messages.isEmpty());
}

TEST(MainWindow, FailuresAreReportedWithFileAndReason) {
    testing_support::EditorFixture fixture;
    testing_support::TempDir dir;
    std::unique_ptr<QMainWindow> window(create_main_window(fixture.state));

    // Saving into a folder that does not exist.
    const QString bad_target = QString::fromStdString(dir.file("no/such/folder/x.flt"));
    fixture.next_choice = bad_target;
    run_menu_command(window.get(), fixture.state, menu_save);
    ASSERT_EQ(fixture.messages.size(), 1);
    EXPECT_TRUE(fixture.messages[0].contains(bad_target)) << fixture.messages[0].toStdString();
    EXPECT_TRUE(fixture.messages[0].contains("No such file")) << fixture.messages[0].toStdString();

    // A background whose file is gone: saved without it, and said so.
    std::strcpy(fixture.doc->header.slots[2].picture_path, dir.file("gone.jpg").c_str());
    fixture.next_choice = QString::fromStdString(dir.file("ok.flt"));
    run_menu_command(window.get(), fixture.state, menu_save);
    ASSERT_EQ(fixture.messages.size(), 2);
    EXPECT_TRUE(fixture.messages[1].contains("gone.jpg")) << fixture.messages[1].toStdString();
    EXPECT_TRUE(fixture.messages[1].contains("Background 3")) << fixture.messages[1].toStdString();
    EXPECT_TRUE(std::filesystem::exists(dir.file("ok.flt")));

    // Loading a file that cannot be read leaves the document alone.
    const std::string unreadable = dir.file("locked.flt");
    testing_support::write_file(unreadable, {1, 2, 3});
    std::filesystem::permissions(unreadable, std::filesystem::perms::none);
    if (FILE* probe = std::fopen(unreadable.c_str(), "rb")) {
        std::fclose(probe);  // running as root: permissions do not stop reads
    } else {
        fixture.doc->header.tint_red = 12;
        fixture.answers = {QMessageBox::Discard};
        fixture.next_choice = QString::fromStdString(unreadable);
        run_menu_command(window.get(), fixture.state, menu_load);
        ASSERT_EQ(fixture.messages.size(), 3);
        EXPECT_TRUE(fixture.messages[2].contains("locked.flt")) << fixture.messages[2].toStdString();
        EXPECT_EQ(fixture.doc->header.tint_red, 12);
    }
}

TEST(MainWindow, HelpFilesAreFoundBesideTheProgramOrInItsDataFolder) {
    testing_support::EditorFixture fixture;
    testing_support::TempDir dir;
    std::unique_ptr<QMainWindow> window(create_main_window(fixture.state));
    // The test program sits beside the copied help files, as vitrion_edit does;
    // the working directory plays no part.
    const QString program_dir = QCoreApplication::applicationDirPath();
    const QString before = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir.path()));
    run_menu_command(window.get(), fixture.state, menu_help);
    run_menu_command(window.get(), fixture.state, menu_about);
    QDir::setCurrent(before);
    EXPECT_EQ(fixture.opened, QStringList({program_dir + "/help/help.html", program_dir + "/readme.txt"}));
    EXPECT_TRUE(fixture.messages.isEmpty()) << fixture.messages.join('\n').toStdString();

    // Installed: <prefix>/bin/vitrion_edit with <prefix>/share/vitrion/help/help.html.
    const QString prefix = QString::fromStdString(dir.path());
    QDir().mkpath(prefix + "/bin");
    QDir().mkpath(prefix + "/share/vitrion/help");
    testing_support::write_file(dir.file("share/vitrion/help/help.html"), {'<'});
    EXPECT_EQ(find_data_file(prefix + "/bin", "help/help.html"), prefix + "/share/vitrion/help/help.html");
    testing_support::write_file(dir.file("bin/readme.txt"), {'r'});
    EXPECT_EQ(find_data_file(prefix + "/bin", "readme.txt"), prefix + "/bin/readme.txt");
    EXPECT_EQ(find_data_file(prefix + "/bin", "none.txt"), prefix + "/bin/none.txt");
}

TEST(MainWindow, AFileTheDesktopCannotOpenIsNamedInAMessage) {
    testing_support::EditorFixture fixture;
    testing_support::TempDir dir;
    const QString there = QString::fromStdString(dir.file("notes.txt"));
    testing_support::write_file(there.toStdString(), {'n'});
    fixture.shell_opens = false;
    EXPECT_FALSE(open_with_shell(nullptr, "Help", there));
    ASSERT_EQ(fixture.messages.size(), 1);
    EXPECT_TRUE(fixture.messages[0].contains(there)) << fixture.messages[0].toStdString();
    // A file that is not there is said without asking the desktop.
    const QString gone = QString::fromStdString(dir.file("gone.html"));
    EXPECT_FALSE(open_with_shell(nullptr, "Help", gone));
    EXPECT_EQ(fixture.opened, QStringList({there}));
    ASSERT_EQ(fixture.messages.size(), 2);
    EXPECT_TRUE(fixture.messages[1].contains(gone)) << fixture.messages[1].toStdString();
}

TEST(MainWindow, DrawingCommandsSelectEyeAndStreak) {
    testing_support::EditorFixture fixture;
    std::unique_ptr<QMainWindow> window(create_main_window(fixture.state));
    // The drawing dialogs are modal; checked here only for what the menu
    // sets before opening them, so they are replaced by a closed-at-once run.
    struct Case {
        int id, eye, streak;
    };
    fixture.state.current_eye = 0;
    fixture.state.current_streak = 3;
    for (Case c : {Case{menu_right_sac_refractions, 0, 5}, Case{menu_left_sac_refractions, 0, 0},
                   Case{menu_right_floaters, 1, 0}, Case{menu_left_floaters, 0, 0}}) {
        QTimer::singleShot(0, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        run_menu_command(window.get(), fixture.state, c.id);
        QApplication::processEvents();  // a dialog that did not block leaves the timer pending
        EXPECT_EQ(fixture.state.current_streak, c.streak) << "menu " << c.id;
        EXPECT_EQ(fixture.state.current_eye, c.eye) << "menu " << c.id;
    }
}
