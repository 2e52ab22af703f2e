// writer_test.cpp -- saves: repeatability, slot rules, and the user's old file under failure.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "doc_fixture.h"
#include "support/temp_dir.h"
#include "visionfile/reader.h"
#include "visionfile/writer.h"

using testing_support::read_file;
using testing_support::TempDir;
using testing_support::write_file;

namespace {

// Runs `save` in a child process after `prepare` (which may drop privileges or
// set limits there) and returns the child's exit status.
template <class Prepare, class Save>
int in_child(Prepare prepare, Save save) {
    const pid_t pid = fork();
    if (pid == 0) {
        prepare();
        _exit(save());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

std::vector<std::string> files_in(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(Writer, TwoSavesGiveIdenticalFilesAndLeaveNoTemporaryFile) {
    TempDir dir;
    write_file(dir.file("a.jpg"), jpeg_like(777, 1));
    auto doc = new_document();
    set_path(*doc, 2, dir.file("a.jpg").c_str());
    doc->records[1][0].dot_count = 5;
    ASSERT_EQ(vision::write_vision_file(*doc, dir.file("one.flt").c_str()), 1);
    ASSERT_EQ(vision::write_vision_file(*doc, dir.file("two.flt").c_str()), 1);
    EXPECT_EQ(read_file(dir.file("one.flt")), read_file(dir.file("two.flt")));
    EXPECT_EQ(files_in(dir.path()), (std::vector<std::string>{"a.jpg", "one.flt", "two.flt"}));
}

TEST(Writer, OnlyTheExactTextUnusedMarksAnEmptySlot) {
    TempDir dir;
    auto doc = new_document();
    // Slot 0 keeps "Unused"; the others are paths to files that do not exist.
    set_path(*doc, 1, "unused");
    set_path(*doc, 2, "Unused2");
    set_path(*doc, 3, dir.file("gone.jpg").c_str());
    for (auto& slot : doc->header.slots) slot.picture_offset = 12345;  // stale offsets
    vision::SaveReport report;
    ASSERT_EQ(vision::write_vision_file(*doc, dir.file("v.flt").c_str(), &report), 1);
    EXPECT_EQ(report.slot_missing[0], 0);
    EXPECT_EQ(report.slot_missing[1], 1);
    EXPECT_EQ(report.slot_missing[2], 1);
    EXPECT_EQ(report.slot_missing[3], 1);
    for (auto& slot : doc->header.slots) EXPECT_EQ(slot.picture_offset, 0);
    EXPECT_EQ(read_file(dir.file("v.flt")).size(), 545312u);
}

TEST(Writer, ADeviceOrFolderNamedAsAPictureIsNotEmbedded) {
    // A damaged file could name an endless device; the save must still end.
    TempDir dir;
    auto doc = new_document();
    set_path(*doc, 0, "/dev/zero");
    set_path(*doc, 1, dir.path().c_str());
    vision::SaveReport report;
    ASSERT_EQ(vision::write_vision_file(*doc, dir.file("v.flt").c_str(), &report), 1);
    EXPECT_EQ(report.slot_missing[0], 1);
    EXPECT_EQ(report.slot_missing[1], 1);
    EXPECT_EQ(read_file(dir.file("v.flt")).size(), 545312u);
}

TEST(Writer, APipeNamedAsAPictureIsNotEmbeddedAndDoesNotBlock) {
    TempDir dir;
    const std::string pipe_path = dir.file("picture.jpg");
    ASSERT_EQ(mkfifo(pipe_path.c_str(), 0600), 0);
    auto doc = new_document();
    set_path(*doc, 2, pipe_path.c_str());
    // In a child with an alarm: a pipe without a writer must not block the save.
    const int status = in_child([] { alarm(5); },
                                [&] {
                                    vision::SaveReport report;
                                    const int ok = vision::write_vision_file(*doc, dir.file("v.flt").c_str(), &report);
                                    return ok == 1 && report.slot_missing[2] == 1 ? 0 : 1;
                                });
    EXPECT_EQ(status, 0) << "100 + signal means the save blocked";
    EXPECT_EQ(read_file(dir.file("v.flt")).size(), 545312u);
}

TEST(Writer, RoundTripRestoresHeaderRecordsAndDots) {
    TempDir dir;
    write_file(dir.file("p0.jpg"), jpeg_like(50, 7));
    write_file(dir.file("p3.tga"), tga_like(30, 9));
    auto doc = new_document();
    set_path(*doc, 0, dir.file("p0.jpg").c_str());
    set_path(*doc, 3, dir.file("p3.tga").c_str());
    doc->header.myopia_on = 1;
    doc->header.cataract_clarity = 0.37f;
    std::strcpy(doc->header.comments, "Floaters since 2019.");
    doc->header.streak[7].point_count = 3;
    doc->header.streak[7].x[2] = 639;
    doc->header.floater_count[0] = 3;
    doc->header.floater_count[1] = 2;
    for (int e = 0; e < 2; ++e)
        for (int i = 0; i < doc->header.floater_count[e]; ++i) {
            doc->records[e][i].dot_count = 10 * e + i + 1;
            doc->records[e][i].diffusion = e + i;
            for (int d = 0; d < doc->records[e][i].dot_count; ++d) {
                doc->x[e][i][d] = 1000 * e + 100 * i + d;
                doc->y[e][i][d] = -(1000 * e + 100 * i + d);
            }
        }
    ASSERT_EQ(vision::write_vision_file(*doc, dir.file("v.flt").c_str()), 1);

    auto back = std::make_unique<vision::Document>();
    std::memset(back.get(), 0, sizeof *back);
    ASSERT_EQ(vision::read_vision_file(*back, dir.file("v.flt").c_str()), 1);
    EXPECT_EQ(std::memcmp(&back->header, &doc->header, sizeof doc->header), 0);
    for (int e = 0; e < 2; ++e)
        for (int i = 0; i < doc->header.floater_count[e]; ++i) {
            EXPECT_EQ(std::memcmp(&back->records[e][i], &doc->records[e][i], 40), 0);
            const int n = doc->records[e][i].dot_count;
            EXPECT_EQ(std::memcmp(back->x[e][i], doc->x[e][i], 4 * n), 0);
            EXPECT_EQ(std::memcmp(back->y[e][i], doc->y[e][i], 4 * n), 0);
            EXPECT_EQ(back->x[e][i][n], 0) << "entries beyond dot_count are not written";
        }
    // The first picture starts right after the last right-eye record.
    EXPECT_EQ(doc->header.slots[0].picture_offset, 545232 + 40 * 5);
    EXPECT_EQ(doc->header.slots[3].picture_offset, 545232 + 40 * 5 + 50);
}

TEST(Writer, AFolderThatCannotBeWrittenLeavesTheOldFileAndReportsFailure) {
    TempDir dir;
    const std::string folder = dir.file("ro");
    mkdir(folder.c_str(), 0755);
    const std::string target = folder + "/mine.flt";
    write_file(target, {1, 2, 3, 4});
    chmod(target.c_str(), 0644);
    chmod(dir.path().c_str(), 0755);
    chmod(folder.c_str(), 0555);
    auto doc = new_document();
    // As root, permissions do not bind: the child drops to an unprivileged user.
    const int status = in_child([] { if (geteuid() == 0 && setuid(65534) != 0) _exit(99); },
                                [&] {
                                    vision::SaveReport report;
                                    const int ok = vision::write_vision_file(*doc, target.c_str(), &report);
                                    return ok ? 1 : (report.error != 0 ? 0 : 2);
                                });
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(status, 0) << "the save must fail and give a reason";
    EXPECT_EQ(read_file(target), (std::vector<unsigned char>{1, 2, 3, 4}));
    EXPECT_EQ(files_in(folder), std::vector<std::string>{"mine.flt"});
}

TEST(Writer, ADiskThatFillsMidwayLeavesTheOldFileAndNoTemporaryFile) {
    TempDir dir;
    const std::string target = dir.file("mine.flt");
    write_file(target, {9, 8, 7});
    auto doc = new_document();
    // A file-size limit below the document's size makes a write fail midway.
    const int status = in_child(
        [] {
            signal(SIGXFSZ, SIG_IGN);
            rlimit limit{100000, 100000};
            setrlimit(RLIMIT_FSIZE, &limit);
        },
        [&] {
            vision::SaveReport report;
            const int ok = vision::write_vision_file(*doc, target.c_str(), &report);
            return ok ? 1 : (report.error != 0 ? 0 : 2);
        });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(read_file(target), (std::vector<unsigned char>{9, 8, 7}));
    EXPECT_EQ(files_in(dir.path()), std::vector<std::string>{"mine.flt"});
}

TEST(Writer, OnlyPicturesOfTheSlotsKindAreEmbedded) {
    // A received vision file can name any of the person's files; re-saving it
    // must not carry a document or key away inside the new vision file.
    TempDir dir;
    const std::vector<unsigned char> secret = {'-', '-', '-', '-', '-', 'B', 'E', 'G', 'I', 'N', ' ', 'K', 'E', 'Y'};
    write_file(dir.file("id_key"), secret);
    write_file(dir.file("grey.tga"), tga_like(40, 3));
    write_file(dir.file("photo.jpg"), jpeg_like(60, 4));
    {
        std::FILE* huge = std::fopen(dir.file("huge.jpg").c_str(), "wb");  // sparse, past the cap
        ASSERT_NE(huge, nullptr);
        std::fwrite("\xFF\xD8\xFF", 1, 3, huge);
        ASSERT_EQ(ftruncate(fileno(huge), vision::max_picture_bytes + 1), 0);
        std::fclose(huge);
    }
    auto received = new_document();
    set_path(*received, 0, dir.file("id_key").c_str());
    set_path(*received, 1, dir.file("grey.tga").c_str());  // a TGA is no scene picture
    set_path(*received, 2, dir.file("huge.jpg").c_str());
    set_path(*received, 3, dir.file("grey.tga").c_str());
    ASSERT_EQ(vision::write_vision_file(*received, dir.file("received.flt").c_str()), 1);

    auto doc = new_document();
    ASSERT_EQ(vision::read_vision_file(*doc, dir.file("received.flt").c_str()), 1);
    vision::SaveReport report;
    ASSERT_EQ(vision::write_vision_file(*doc, dir.file("back.flt").c_str(), &report), 1);
    EXPECT_EQ(report.slot_missing[0] + report.slot_missing[1] + report.slot_missing[2], 3);
    EXPECT_EQ(report.slot_refused[0] + report.slot_refused[1] + report.slot_refused[2], 3);
    EXPECT_EQ(report.slot_missing[3] + report.slot_refused[3], 0);
    const auto bytes = read_file(dir.file("back.flt"));
    EXPECT_EQ(bytes.size(), 545312u + 40);
    EXPECT_EQ(std::search(bytes.begin(), bytes.end(), secret.begin(), secret.end()), bytes.end());
    EXPECT_EQ(doc->header.slots[0].picture_offset, 0);
    EXPECT_EQ(doc->header.slots[3].picture_offset, 545312);

    // A JPEG is embedded in every slot, also the last (a personal file's scene).
    for (int k = 0; k < 4; ++k) set_path(*doc, k, dir.file("photo.jpg").c_str());
    ASSERT_EQ(vision::write_vision_file(*doc, dir.file("photos.flt").c_str(), &report), 1);
    EXPECT_EQ(read_file(dir.file("photos.flt")).size(), 545312u + 4 * 60);
}

TEST(Writer, ASaveThroughASymbolicLinkReplacesItsTargetAndKeepsTheLink) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("real"));
    write_file(dir.file("real/mine.flt"), {1, 2, 3});
    ASSERT_EQ(symlink("real/mine.flt", dir.file("link.flt").c_str()), 0);
    ASSERT_EQ(symlink("link.flt", dir.file("link2.flt").c_str()), 0);  // a chain of two
    ASSERT_EQ(symlink("real/new.flt", dir.file("dangling.flt").c_str()), 0);
    auto doc = new_document();
    ASSERT_EQ(vision::write_vision_file(*doc, dir.file("link2.flt").c_str()), 1);
    ASSERT_EQ(vision::write_vision_file(*doc, dir.file("dangling.flt").c_str()), 1);

    for (const char* name : {"link.flt", "link2.flt", "dangling.flt"})
        EXPECT_TRUE(std::filesystem::is_symlink(dir.file(name))) << name;
    EXPECT_EQ(read_file(dir.file("real/mine.flt")).size(), 545312u);
    EXPECT_EQ(read_file(dir.file("real/new.flt")).size(), 545312u);
    EXPECT_EQ(files_in(dir.path()), (std::vector<std::string>{"dangling.flt", "link.flt", "link2.flt", "real"}));
    EXPECT_EQ(files_in(dir.file("real")), (std::vector<std::string>{"mine.flt", "new.flt"}));

    ASSERT_EQ(symlink("loop.flt", dir.file("loop.flt").c_str()), 0);
    vision::SaveReport report;
    EXPECT_EQ(vision::write_vision_file(*doc, dir.file("loop.flt").c_str(), &report), 0);
    EXPECT_EQ(report.error, ELOOP);
}

TEST(Writer, RemovesOnlyTemporariesWhoseSaveIsGone) {
    TempDir dir;
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    waitpid(gone, nullptr, 0);
    const std::string stale = ".vitrion-save-" + std::to_string(gone) + "-a1b2c3";
    const std::string running = ".vitrion-save-" + std::to_string(getppid()) + "-d4e5f6";
    for (const std::string& name : {stale, running, std::string(".vitrion-save-Zq81xw"), std::string("notes.txt")})
        write_file(dir.file(name), {5});
    auto doc = new_document();
    ASSERT_EQ(vision::write_vision_file(*doc, dir.file("v.flt").c_str()), 1);
    EXPECT_EQ(files_in(dir.path()),
              (std::vector<std::string>{running, ".vitrion-save-Zq81xw", "notes.txt", "v.flt"}));
}
