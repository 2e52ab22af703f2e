// web_page_test.cpp -- the player's template filled with a vision file.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "editor/model/personal_form.h"
#include "editor/model/web_page.h"
#include "support/temp_dir.h"
#include "visionfile/reader.h"
#include "visionfile/writer.h"

using namespace editor;

namespace {

std::vector<uint8_t> bytes_of(const char* text) { return std::vector<uint8_t>(text, text + std::strlen(text)); }

TEST(WebPage, EachPlaceholderIsReplacedOnceAndTheSizeIsKnownBeforehand) {
    const std::vector<uint8_t> vision = bytes_of("foobar");
    const std::string title = "<Mum & Dad's \"view\"> @VITRION_VISION@";
    const std::string escaped = "&lt;Mum &amp; Dad&#39;s &quot;view&quot;&gt; @VITRION_VISION@";
    struct Case {
        std::string page_template, page;
    } cases[] = {
        {"<title>@VITRION_TITLE@</title><script>@VITRION_VISION@</script>",
         "<title>" + escaped + "</title><script>Zm9vYmFy</script>"},
        // The other order, and placeholders at the very ends.
        {"@VITRION_VISION@--@VITRION_TITLE@", "Zm9vYmFy--" + escaped},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(web_template_problem(c.page_template), "") << c.page_template;
        const std::string page = fill_web_page(c.page_template, vision, title);
        EXPECT_EQ(page, c.page);
        EXPECT_EQ(web_page_size(c.page_template, vision.size(), title), page.size()) << c.page_template;
    }
}

TEST(WebPage, ATemplateWithoutEachPlaceholderOnceIsRefused) {
    const struct {
        const char* page_template;
        const char* named;
    } cases[] = {
        {"<title>@VITRION_TITLE@</title>", "@VITRION_VISION@ 0 times"},
        {"@VITRION_VISION@ @VITRION_VISION@ @VITRION_TITLE@", "@VITRION_VISION@ 2 times"},
        {"@VITRION_VISION@", "@VITRION_TITLE@ 0 times"},
        {"@VITRION_VISION@ @VITRION_TITLE@@VITRION_TITLE@", "@VITRION_TITLE@ 2 times"},
        {"", "@VITRION_VISION@ 0 times"},
    };
    for (const auto& c : cases)
        EXPECT_NE(web_template_problem(c.page_template).find(c.named), std::string::npos)
            << c.page_template << ": " << web_template_problem(c.page_template);
}

TEST(WebPage, TheTitleIsTheVisionFilesName) {
    EXPECT_EQ(web_page_title("/home/ann/visions/Left eye.FLT"), "Left eye");
    EXPECT_EQ(web_page_title("/home/ann/mine.flt.bak"), "mine.flt.bak");
    EXPECT_EQ(web_page_title(""), unnamed_vision_title);
    EXPECT_EQ(web_page_title("/home/ann/.flt"), unnamed_vision_title);
}

TEST(WebPage, TheSizeIsSaidInKilobytesOrMegabytes) {
    EXPECT_EQ(page_size_text(1'400'000), "The page will be 1.4 MB.");
    EXPECT_EQ(page_size_text(12'345'678), "The page will be 12.3 MB.");
    EXPECT_EQ(page_size_text(820'400), "The page will be 820 kB.");
    EXPECT_EQ(page_size_text(10), "The page will be 1 kB.");
}

// The bytes in memory are the file the writer makes; clearing the comments
// leaves everything else, the length included, as it was.
TEST(WebPage, TheVisionInMemoryReadsBackAndLosesOnlyItsComments) {
    testing_support::TempDir dir;
    auto doc = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*doc);
    doc->header.floater_count[1] = 1;
    doc->records[1][0].dot_count = 2;
    doc->x[1][0][1] = 321;
    doc->header.cataracts_on = 1;
    store_comments(doc->header, "Since the fall.\nWorse in bright light.");

    std::vector<uint8_t> bytes;
    vision::SaveReport report;
    ASSERT_EQ(write_vision_bytes(*doc, bytes, report), 1);
    ASSERT_EQ(vision::write_vision_file(*doc, dir.file("v.flt").c_str()), 1);
    EXPECT_EQ(bytes, testing_support::read_file(dir.file("v.flt")));

    const size_t length = bytes.size();
    clear_comments(bytes);
    EXPECT_EQ(bytes.size(), length);
    auto read = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*read);
    ASSERT_EQ(vision::read_vision_bytes(*read, bytes.data(), bytes.size()), 1);
    EXPECT_EQ(comments_for_display(read->header), "");
    for (uint8_t byte : std::vector<uint8_t>(bytes.begin() + offsetof(vision::Header, comments),
                                             bytes.begin() + offsetof(vision::Header, comments) + vision::comments_size))
        ASSERT_EQ(byte, 0);
    EXPECT_EQ(read->x[1][0][1], 321);
    EXPECT_EQ(read->header.cataracts_on, 1);
}

}  // namespace
