// shown_copy_test.cpp -- the private copy the simulator is shown, and finding the simulator.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>

#include "editor/model/shown_copy.h"
#include "editor/model/unsaved_changes.h"
#include "support/temp_dir.h"
#include "visionfile/doc_fixture.h"
#include "visionfile/reader.h"

namespace editor {
namespace {

long gone_pid() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

int mode_of(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

TEST(ShownCopy, HoldsTheUnsavedDocumentWithItsPicturesInAPrivateFile) {
    testing_support::TempDir dir;
    const std::string jpeg = dir.file("scene.jpg"), other = dir.file("theirs.jpg");
    testing_support::write_file(jpeg, jpeg_like(5000, 7));
    testing_support::write_file(other, jpeg_like(3000, 9));
    auto doc = new_document();
    EditorState state;
    state.doc = doc.get();
    mark_document_unchanged(state);
    set_path(*doc, 0, jpeg.c_str());
    set_path(*doc, 1, other.c_str());
    state.picture_origin[1] = PictureOrigin::refused;  // the person said not to embed it
    doc->records[1][0].dot_count = 2;
    doc->x[1][0][0] = 123;
    const auto before = std::make_unique<vision::Document>(*doc);

    // A copy of a gone editor is removed; a running one's stays.
    const std::string folder = dir.file("run/vitrion");
    ASSERT_EQ(mkdir(dir.file("run").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const std::string gone = folder + "/shown-" + std::to_string(gone_pid()) + "-abcdef.flt";
    const std::string running = folder + "/shown-1-abcdef.flt";  // init never goes
    testing_support::write_file(gone, {1});
    testing_support::write_file(running, {1});

    const std::string path = write_shown_copy(state, folder);
    ASSERT_FALSE(path.empty()) << std::strerror(errno);
    EXPECT_EQ(path.rfind(folder + "/shown-" + std::to_string(getpid()) + "-", 0), 0u) << path;
    EXPECT_EQ(mode_of(folder), 0700);
    EXPECT_EQ(mode_of(path), 0600);
    EXPECT_EQ(mode_of(gone), -1);
    EXPECT_NE(mode_of(running), -1);
    // The document itself is untouched, offsets included.
    EXPECT_EQ(std::memcmp(doc.get(), before.get(), sizeof *doc), 0);

    auto shown = std::make_unique<vision::Document>();
    ASSERT_EQ(vision::read_vision_file(*shown, path.c_str()), 1);
    EXPECT_EQ(shown->x[1][0][0], 123);
    const auto bytes = testing_support::read_file(path);
    const long offset = shown->header.slots[0].picture_offset;
    ASSERT_GT(offset, 0);
    const auto picture = jpeg_like(5000, 7);
    ASSERT_GE(bytes.size(), size_t(offset) + picture.size());
    EXPECT_TRUE(std::equal(picture.begin(), picture.end(), bytes.begin() + offset));
    EXPECT_EQ(shown->header.slots[1].picture_offset, 0) << "a refused picture stays out";

    // Each copy is a file of its own: a second simulator cannot pull the
    // first one's file away.
    const std::string second = write_shown_copy(state, folder);
    EXPECT_NE(second, path);
    EXPECT_NE(mode_of(path), -1);
}

TEST(ShownCopy, RefusesAFolderThatIsALinkOrUnusable) {
    testing_support::TempDir dir;
    auto doc = new_document();
    EditorState state;
    state.doc = doc.get();
    ASSERT_EQ(mkdir(dir.file("real").c_str(), 0700), 0);
    ASSERT_EQ(symlink(dir.file("real").c_str(), dir.file("link").c_str()), 0);
    EXPECT_EQ(write_shown_copy(state, dir.file("link")), "");
    testing_support::write_file(dir.file("file"), {1});
    EXPECT_EQ(write_shown_copy(state, dir.file("file")), "");
}

TEST(ShownCopy, SimulatorBesideTheEditorFirstThenOnThePath) {
    testing_support::TempDir dir;
    for (const char* folder : {"editor", "a", "b", "c"}) ASSERT_EQ(mkdir(dir.file(folder).c_str(), 0700), 0);
    auto program = [&](const char* folder, int mode) {
        const std::string path = dir.file(folder) + "/vitrion_sim";
        testing_support::write_file(path, {'#', '!'});
        chmod(path.c_str(), mode);
        return path;
    };
    program("a", 0644);  // not executable
    const std::string on_path = program("b", 0755);
    program("c", 0755);
    const std::string list = "relative:" + dir.file("a") + "::" + dir.file("b") + ":" + dir.file("c");
    EXPECT_EQ(find_simulator(dir.file("editor"), list.c_str()), on_path);
    const std::string beside = program("editor", 0755);
    EXPECT_EQ(find_simulator(dir.file("editor"), list.c_str()), beside);
    EXPECT_EQ(find_simulator(dir.file("none"), nullptr), "");
}

}  // namespace
}  // namespace editor
