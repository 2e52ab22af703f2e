// save_killed_test.cpp -- a save killed midway leaves the previous file as it was.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>

#include "support/temp_dir.h"
#include "visionfile/reader.h"
#include "visionfile/writer.h"

namespace {

// Sparse: quick to make, slow enough to copy, and just under the largest
// picture a save embeds.
constexpr long big_picture_bytes = vision::max_picture_bytes - 4096;

// Files in `folder` other than `keep`.
std::vector<std::string> others_in(const std::string& folder, const std::string& keep) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename() != keep) names.push_back(entry.path().filename().string());
    return names;
}

}  // namespace

TEST(SaveKilled, SigkillMidwayLeavesThePreviousFileByteIdentical) {
    testing_support::TempDir dir;
    const std::string target = dir.file("mine.flt");
    const std::string picture = dir.file("pictures/big.jpg");
    std::filesystem::create_directory(dir.file("pictures"));
    {
        std::FILE* big = std::fopen(picture.c_str(), "wb");
        ASSERT_NE(big, nullptr);
        std::fwrite("\xFF\xD8\xFF\xE0", 1, 4, big);  // starts as a JPEG does
        ASSERT_EQ(ftruncate(fileno(big), big_picture_bytes), 0);
        std::fclose(big);
    }
    auto doc = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*doc);
    doc->header.tint_red = 77;
    ASSERT_EQ(vision::write_vision_file(*doc, target.c_str()), 1);
    const auto before = testing_support::read_file(target);

    std::strcpy(doc->header.slots[0].picture_path, picture.c_str());
    doc->header.tint_red = 78;
    const pid_t child = fork();
    if (child == 0) _exit(vision::write_vision_file(*doc, target.c_str()) == 1 ? 0 : 1);
    ASSERT_GT(child, 0);
    // Kill as soon as the save has started writing its temporary file.
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool started = false;
    while (!started && std::chrono::steady_clock::now() < give_up) {
        for (const std::string& name : others_in(dir.path(), "mine.flt"))
            if (name != "pictures") {
                std::error_code error;  // the file may be renamed away meanwhile
                const auto size = std::filesystem::file_size(dir.file(name), error);
                if (!error && size > 0) started = true;
            }
        if (!started) std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(started) << "the save never began writing";
    ASSERT_TRUE(WIFSIGNALED(status)) << "the save ended before the kill; make the picture larger";

    EXPECT_EQ(testing_support::read_file(target), before) << "the previous file must be untouched";
    // What the killed save leaves is its hidden temporary file, never a
    // partial file under the target's name.
    for (const std::string& name : others_in(dir.path(), "mine.flt")) {
        if (name == "pictures") continue;
        EXPECT_EQ(name.rfind(".vitrion-save-", 0), 0u) << name;
    }

    // The next save (without the big picture) replaces the file whole and
    // removes the killed save's temporary file.
    std::strcpy(doc->header.slots[0].picture_path, vision::unused_path);
    ASSERT_EQ(vision::write_vision_file(*doc, target.c_str()), 1);
    EXPECT_EQ(others_in(dir.path(), "mine.flt"), std::vector<std::string>{"pictures"});
    auto back = std::make_unique<vision::Document>();
    ASSERT_EQ(vision::read_vision_file(*back, target.c_str()), 1);
    EXPECT_EQ(back->header.tint_red, 78);
}
