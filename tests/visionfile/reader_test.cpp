// reader_test.cpp -- reading vision files, good and damaged.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

void put_int(std::vector<unsigned char>& bytes, size_t offset, int32_t value) {
    std::memcpy(bytes.data() + offset, &value, 4);
}

// A saved document: two left-eye floaters with dots, none on the right.
std::vector<unsigned char> small_file(const TempDir& dir) {
    auto doc = new_document();
    doc->header.floater_count[0] = 2;
    doc->header.floater_count[1] = 0;
    doc->header.stars_on = 1;
    for (int i = 0; i < 2; ++i) {
        doc->records[0][i].dot_count = 4;
        for (int d = 0; d < 4; ++d) {
            doc->x[0][i][d] = 300 + d;
            doc->y[0][i][d] = 400 + d;
        }
    }
    vision::write_vision_file(*doc, dir.file("small.flt").c_str());
    return read_file(dir.file("small.flt"));
}

}  // namespace

TEST(Reader, AMissingFileLeavesTheDocumentUnchanged) {
    auto doc = new_document();
    doc->header.sparks_on = 1;
    doc->x[1][3][7] = 42;
    auto before = std::make_unique<vision::Document>(*doc);
    EXPECT_EQ(vision::read_vision_file(*doc, "/nonexistent/vision.flt"), 0);
    EXPECT_EQ(std::memcmp(before.get(), doc.get(), sizeof *doc), 0);
}

TEST(Reader, KeepsRecordsAndDotsBeyondWhatTheFileHolds) {
    TempDir dir;
    write_file(dir.file("s.flt"), small_file(dir));
    auto doc = new_document();
    doc->header.floater_count[0] = 5;
    doc->records[0][3].dot_density = 9;  // a record beyond the file's count
    doc->records[1][0].diffusion = 7;    // the file has no right-eye records
    doc->x[0][0][4] = -77;               // beyond the file's dot_count
    ASSERT_EQ(vision::read_vision_file(*doc, dir.file("s.flt").c_str()), 1);
    EXPECT_EQ(doc->header.floater_count[0], 2);
    EXPECT_EQ(doc->header.stars_on, 1);
    EXPECT_EQ(doc->records[0][3].dot_density, 9);
    EXPECT_EQ(doc->records[1][0].diffusion, 7);
    EXPECT_EQ(doc->x[0][1][3], 303);
    EXPECT_EQ(doc->y[0][1][3], 403);
    EXPECT_EQ(doc->x[0][0][4], -77);
}

TEST(Reader, ClampsCountsThatWouldIndexPastTheTables) {
    TempDir dir;
    auto bytes = small_file(dir);
    put_int(bytes, 545224, 1000);     // floater_count[0]
    put_int(bytes, 545228, -3);       // floater_count[1]
    put_int(bytes, 545232, 5000);     // record 0 dot_count
    put_int(bytes, 545272, -9);       // record 1 dot_count
    write_file(dir.file("bad.flt"), bytes);
    auto doc = new_document();
    ASSERT_EQ(vision::read_vision_file(*doc, dir.file("bad.flt").c_str()), 1);
    EXPECT_EQ(doc->header.floater_count[0], 100);
    EXPECT_EQ(doc->header.floater_count[1], 0);
    EXPECT_EQ(doc->records[0][0].dot_count, 1024);
    EXPECT_EQ(doc->records[0][1].dot_count, 0);
    for (int i = 0; i < 100; ++i) {
        EXPECT_GE(doc->records[0][i].dot_count, 0);
        EXPECT_LE(doc->records[0][i].dot_count, 1024);
    }
}

TEST(Reader, APointsOffsetOutsideTheFileReadsNoDots) {
    TempDir dir;
    auto bytes = small_file(dir);
    put_int(bytes, 545232 + 36, -4);                                    // record 0
    put_int(bytes, 545272 + 36, static_cast<int32_t>(bytes.size()) + 8);  // record 1
    write_file(dir.file("off.flt"), bytes);
    auto doc = new_document();
    doc->x[0][0][0] = 11;
    doc->x[0][1][0] = 22;
    ASSERT_EQ(vision::read_vision_file(*doc, dir.file("off.flt").c_str()), 1);
    EXPECT_EQ(doc->x[0][0][0], 11);
    EXPECT_EQ(doc->x[0][1][0], 22);
    ASSERT_EQ(vision::read_vision_bytes(*doc, bytes.data(), bytes.size()), 1);
    EXPECT_EQ(doc->x[0][0][0], 11);
    EXPECT_EQ(doc->x[0][1][0], 22);
}

TEST(Reader, AFileCutShortIsReadAsFarAsItGoes) {
    TempDir dir;
    const auto bytes = small_file(dir);
    const std::string path = dir.file("cut.flt");
    std::vector<size_t> lengths = {0, 1, 4, 1039, 1040, 545223, 545224, 545231, 545232, 545240,
                                   545271, 545272, 545311, 545312, 545313, 545330, bytes.size() - 1};
    for (size_t n = 0; n < bytes.size(); n += 9973) lengths.push_back(n);
    for (size_t n : lengths) {
        SCOPED_TRACE("length " + std::to_string(n));
        write_file(path, std::vector<unsigned char>(bytes.begin(), bytes.begin() + long(n)));
        auto doc = new_document();
        doc->header.stars_on = 5;
        doc->x[0][1][3] = -1;
        ASSERT_EQ(vision::read_vision_file(*doc, path.c_str()), 1);
        EXPECT_EQ(doc->header.stars_on, n >= 1080 ? 1 : 5);
        // Floater counts are those of the file once it reaches them, else the old 1.
        EXPECT_EQ(doc->header.floater_count[0], n >= 545228 ? 2 : 1);
        // Record 1's X values lie at 545344..545359.
        if (n >= 545360) {
            EXPECT_EQ(doc->x[0][1][3], 303);
        }
        if (n <= 545344) {
            EXPECT_EQ(doc->x[0][1][3], -1);
        }
        // The same bytes from memory give the same document.
        auto from_memory = new_document();
        from_memory->header.stars_on = 5;
        from_memory->x[0][1][3] = -1;
        ASSERT_EQ(vision::read_vision_bytes(*from_memory, bytes.data(), n), 1);
        EXPECT_EQ(std::memcmp(from_memory.get(), doc.get(), sizeof *doc), 0);
    }
}

TEST(Reader, OnlyRegularFilesAreRead) {
    TempDir dir;
    const std::string pipe_path = dir.file("pipe.flt");
    ASSERT_EQ(mkfifo(pipe_path.c_str(), 0600), 0);
    std::filesystem::create_directory(dir.file("folder.flt"));
    for (const std::string& path : {pipe_path, dir.file("folder.flt"), std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        // In a child with an alarm: a pipe without a writer must not block.
        const pid_t child = fork();
        if (child == 0) {
            alarm(5);
            auto doc = new_document();
            doc->header.tint_red = 33;
            errno = 0;
            const int read = vision::read_vision_file(*doc, path.c_str());
            _exit(read == 0 && errno != 0 && doc->header.tint_red == 33 ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status)) << "the read blocked or crashed";
        EXPECT_EQ(WEXITSTATUS(status), 0) << "refused, with a reason, document unchanged";
    }
}
