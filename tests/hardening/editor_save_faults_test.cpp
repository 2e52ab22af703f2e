// editor_save_faults_test.cpp -- the editor's save command when the disk
// refuses: a message box names the file and the reason, and the file the user
// had stays byte for byte what it was.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <memory>

#include "editor/main_window.h"
#include "support/temp_dir.h"
#include "ui_test_support.h"
#include "visionfile/writer.h"

namespace {

struct SaveFault {
    const char* name;
    std::function<void()> prepare;  // runs in the child before the save
};

// Runs the menu's save command in a child process prepared by `prepare` and
// returns the texts of the message boxes it showed (one per line); "!" plus a
// reason when the child did not get that far.
std::string save_in_child(const std::function<void()>& prepare, const std::string& target) {
    int channel[2];
    if (pipe(channel) != 0) return "!pipe";
    const pid_t pid = fork();
    if (pid == 0) {
        close(channel[0]);
        prepare();
        testing_support::EditorFixture fixture;
        fixture.doc->header.tint_green = 5;
        std::unique_ptr<QMainWindow> window(editor::create_main_window(fixture.state));
        fixture.next_choice = QString::fromStdString(target);
        editor::run_menu_command(window.get(), fixture.state, editor::menu_save);
        const QByteArray text = fixture.messages.join('\n').toUtf8();
        if (write(channel[1], text.constData(), size_t(text.size())) < 0) _exit(3);
        _exit(0);
    }
    close(channel[1]);
    std::string messages;
    char block[512];
    ssize_t got;
    while ((got = read(channel[0], block, sizeof block)) > 0) messages.append(block, size_t(got));
    close(channel[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "!child status " + std::to_string(status);
    return messages;
}

}  // namespace

TEST(EditorSaveFaults, RefusedSaveIsReportedAndLeavesTheOldFile) {
    const SaveFault faults[] = {
        // Permissions do not bind root: the child then drops to "nobody".
        {"read-only folder", [] { if (geteuid() == 0 && setuid(65534) != 0) _exit(99); }},
        // A file-size limit below the document's size: the disk "fills" midway.
        {"full disk", [] {
             signal(SIGXFSZ, SIG_IGN);
             rlimit limit{200000, 200000};
             setrlimit(RLIMIT_FSIZE, &limit);
         }},
    };
    for (const SaveFault& fault : faults) {
        SCOPED_TRACE(fault.name);
        testing_support::TempDir dir;
        const std::string folder = dir.file("work");
        ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
        const std::string target = folder + "/mine.flt";
        auto old_doc = std::make_unique<vision::Document>();
        vision::reset_to_new_document(*old_doc);
        old_doc->header.tint_green = 200;
        ASSERT_EQ(vision::write_vision_file(*old_doc, target.c_str()), 1);
        const auto before = testing_support::read_file(target);
        chmod(dir.path().c_str(), 0755);
        if (std::string(fault.name) == "read-only folder") chmod(folder.c_str(), 0555);

        const std::string messages = save_in_child(fault.prepare, target);
        chmod(folder.c_str(), 0755);
        EXPECT_NE(messages.find("Could not save \"" + target + "\""), std::string::npos) << messages;
        EXPECT_NE(messages.find("The file on disk was not changed."), std::string::npos) << messages;
        EXPECT_EQ(testing_support::read_file(target), before);
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        EXPECT_EQ(names, std::vector<std::string>{"mine.flt"}) << "no temporary file is left behind";
    }
}
