// recovery_test.cpp -- unsaved work kept on disk, offered back after a crash, removed once saved.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

#include "editor/model/background_slots.h"
#include "editor/model/floater_map.h"
#include "editor/model/recovery.h"
#include "editor/model/unsaved_changes.h"
#include "support/temp_dir.h"
#include "visionfile/doc_fixture.h"
#include "visionfile/reader.h"

namespace editor {
namespace {

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// A process id that no process holds any more: a child that has exited.
long gone_pid() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

struct Editor {
    std::unique_ptr<vision::Document> doc = new_document();
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    explicit Editor(const std::string& folder) {
        state->doc = doc.get();
        mark_document_unchanged(*state);
        EXPECT_EQ(start_recovery(*state, folder), 1);
    }
};

TEST(Recovery, UnsavedWorkIsKeptComesBackAfterACrashAndGoesOnceSaved) {
    testing_support::TempDir dir;
    const std::string folder = dir.file("state/vitrion");
    Editor first(folder);
    struct stat info;
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << "the copies are the person's own";

    EXPECT_EQ(update_recovery_copy(*first.state), 1);
    EXPECT_FALSE(exists(first.state->recovery.path)) << "nothing unsaved, no copy";

    // Work: a dot and a background picture, which the copy names but does not carry.
    testing_support::write_file(dir.file("photo.jpg"), std::vector<unsigned char>(300000, 0xFF));
    ASSERT_EQ(add_floater_dot(*first.doc, 0, 0, 400, 300), 1);
    set_picture_path(first.doc->header, 0, dir.file("photo.jpg"));
    ASSERT_EQ(update_recovery_copy(*first.state), 1);
    ASSERT_TRUE(exists(first.state->recovery.path));
    ASSERT_EQ(stat(first.state->recovery.path.c_str(), &info), 0);
    EXPECT_LT(info.st_size, vision::header_size + 1000) << "pictures go by path only";
    auto copy = new_document();
    ASSERT_EQ(vision::read_vision_file(*copy, first.state->recovery.path.c_str()), 1);
    EXPECT_EQ(same_work(*copy, *first.doc), 1);
    EXPECT_EQ(copy->header.slots[0].picture_offset, 0);
    EXPECT_EQ(first.doc->header.slots[0].picture_offset, 0) << "the document itself is untouched";

    std::time_t written_at = 0;
    EXPECT_EQ(find_left_copy(folder, written_at), "") << "a running editor's copy is not offered";
    const std::string running = folder + "/unsaved-" + std::to_string(getppid()) + ".flt";
    testing_support::write_file(running, testing_support::read_file(first.state->recovery.path));

    // The first editor is killed: its copy stays under its process id.
    const std::string left = folder + "/unsaved-" + std::to_string(gone_pid()) + ".flt";
    ASSERT_EQ(std::rename(first.state->recovery.path.c_str(), left.c_str()), 0);
    Editor second(folder);
    EXPECT_EQ(find_left_copy(folder, written_at), left);
    EXPECT_GT(written_at, 0);
    ASSERT_EQ(restore_left_copy(*second.state, left), 1);
    EXPECT_EQ(same_work(*second.doc, *first.doc), 1);
    EXPECT_EQ(document_changed(*second.state), 1) << "restored work is still unsaved";
    EXPECT_TRUE(second.state->picture_origin[0] == PictureOrigin::loaded) << "its pictures are asked about";
    EXPECT_FALSE(exists(left));
    EXPECT_TRUE(exists(second.state->recovery.path)) << "taken over as the second editor's copy";
    EXPECT_EQ(find_left_copy(folder, written_at), "");

    mark_document_unchanged(*second.state);  // as a save does
    EXPECT_EQ(update_recovery_copy(*second.state), 1);
    EXPECT_FALSE(exists(second.state->recovery.path));
    EXPECT_TRUE(exists(running)) << "another editor's copy is left alone";
}

}  // namespace
}  // namespace editor
