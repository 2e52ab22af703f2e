// report_page_test.cpp -- the sentences, counts and layout of the page for the eye doctor, and damaged files refused.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "editor/model/report_page.h"
#include "editor/model/report_source.h"
#include "support/temp_dir.h"
#include "visionfile/writer.h"

using namespace editor;

namespace {

std::unique_ptr<vision::Document> new_document() {
    auto doc = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*doc);
    return doc;
}

bool has(const std::vector<std::string>& answers, const std::string& sentence) {
    for (const std::string& a : answers)
        if (a == sentence) return true;
    return false;
}

TEST(ReportAnswers, SayEachAnswerOfTheFormInWords) {
    auto doc = new_document();
    vision::Header& h = doc->header;
    std::vector<std::string> answers = report_answers(h);
    EXPECT_TRUE(has(answers, "Myopia: no."));
    EXPECT_TRUE(has(answers, "Cataract: no."));
    EXPECT_TRUE(has(answers, "Flashes of light: no."));
    EXPECT_TRUE(has(answers, "Streaks seen: none traced."));

    h.myopia_on = 1;
    h.myopia_dioptres = 1;
    h.cataracts_on = 1;
    h.cataract_clarity = 0.75f;
    h.blood_cells_on = 1;
    h.blood_cells_count = 600;
    h.blood_cells_brightness = 0.08f;
    h.sunglasses_on = 1;
    h.tint_red = 10;
    h.tint_green = 20;
    h.tint_blue = 30;
    h.flashes_on = 1;
    h.streak[2].point_count = 5;  // left eye, always
    h.streak[7].point_count = 5;  // right eye, any movement
    h.streak[7].when_seen = 3;
    h.streak[8].point_count = 5;  // the same moment again: said once
    h.streak[8].when_seen = 3;
    h.streak[9].when_seen = 1;    // no points: not a streak
    answers = report_answers(h);
    EXPECT_TRUE(has(answers, "Myopia: \xE2\x88\x92" "1 dioptre."));
    EXPECT_TRUE(has(answers, "Cataract: clarity 0.75."));
    EXPECT_TRUE(has(answers, "Points of light moving quickly against the sky: yes (600 points, brightness 0.08)."));
    EXPECT_TRUE(has(answers, "Sunglasses for the floaters: yes, tint red 10, green 20, blue 30."));
    EXPECT_TRUE(has(answers, "Flashes of light: yes."));
    EXPECT_TRUE(has(answers, "Streaks seen: always or when moving my eyes."));

    h.myopia_dioptres = 37;  // from a damaged file: no made-up number
    EXPECT_TRUE(has(report_answers(h), "Myopia: yes, dioptres not recorded."));
}

TEST(ReportContent, CountsOnlyFloatersWithDotsAndPutsTheRightEyeFirst) {
    auto doc = new_document();
    doc->header.floater_count[0] = 3;
    doc->records[0][0].dot_count = 4;
    doc->records[0][2].dot_count = 1;  // record 1 stays empty
    doc->records[1][0].dot_count = 0;
    doc->header.streak[6].point_count = 12;
    std::snprintf(doc->header.comments, sizeof doc->header.comments, "Caf\xE9");  // Latin-1 as the form stores it
    const ReportContent page = report_content(*doc, "1 May 2026");
    EXPECT_EQ(page.eyes[0].heading, "Right eye (OD)");
    EXPECT_EQ(page.eyes[0].eye, 1);
    EXPECT_EQ(page.eyes[0].counts, "No floaters drawn; 1 streak of light");
    EXPECT_EQ(page.eyes[1].heading, "Left eye (OS)");
    EXPECT_EQ(page.eyes[1].counts, "2 floaters, 5 dots");
    EXPECT_EQ(page.date, "Date: 1 May 2026");
    EXPECT_EQ(page.comments, "Caf\xC3\xA9");
    EXPECT_NE(page.red_flag_text.find("a sudden loss of sight"), std::string::npos);
    EXPECT_EQ(page.red_flag_text.rfind(page.red_flag_heading, 0), 0u);

    doc->header.floater_count[0] = 5000;  // damaged counts stay inside the tables
    doc->header.comments[0] = '\0';
    EXPECT_EQ(report_content(*doc, "").comments, "(none)");
    EXPECT_EQ(report_content(*doc, "").eyes[1].floaters, 2);
}

TEST(ReportLayout, FitsA4AndLetterWithTheEyesSideBySide) {
    for (const auto& [w, h] : {std::pair{595.0, 842.0}, std::pair{612.0, 792.0}}) {
        const ReportLayout l = report_layout(w, h);
        const auto inside = [&](const PageBox& b) {
            return b.x >= 0 && b.y >= 0 && b.x + b.width <= w && b.y + b.height <= h && b.width > 0;
        };
        for (const PageBox& b : {l.title, l.date, l.name, l.answers, l.red_flag, l.footer}) EXPECT_TRUE(inside(b));
        for (const EyePanelLayout& p : l.eyes) {
            EXPECT_TRUE(inside(p.map) && inside(p.still) && inside(p.counts));
            EXPECT_NEAR(p.map.width * 3, p.map.height * 4, 1e-6);
            EXPECT_LE(p.map.y + p.map.height, p.still.y);
        }
        EXPECT_LE(l.eyes[0].map.x + l.eyes[0].map.width, l.eyes[1].map.x);  // side by side, apart
        EXPECT_EQ(l.eyes[0].map.y, l.eyes[1].map.y);
        EXPECT_LE(l.eyes[0].counts.y + l.eyes[0].counts.height, l.answers.y);
        EXPECT_GE(l.answers.height, 150) << w;
        EXPECT_LE(l.answers.y + l.answers.height, l.red_flag.y);
        EXPECT_LE(l.red_flag.y + l.red_flag.height, l.footer.y);
        const PagePoint far = map_to_page(l.eyes[1].map, 800, 600);
        EXPECT_DOUBLE_EQ(far.x, l.eyes[1].map.x + l.eyes[1].map.width);
    }
}

TEST(ReportSource, ReadsAWholeFileAndNamesWhatIsWrongWithADamagedOne) {
    testing_support::TempDir dir;
    auto doc = new_document();
    doc->header.floater_count[1] = 2;
    doc->records[1][1].dot_count = 3;
    doc->x[1][1][2] = 77;
    const std::string path = dir.file("v.flt");
    ASSERT_EQ(vision::write_vision_file(*doc, path.c_str()), 1);
    auto read = std::make_unique<vision::Document>();
    EXPECT_EQ(read_vision_for_report(path, *read), "");
    EXPECT_EQ(read->x[1][1][2], 77);

    const std::vector<unsigned char> whole = testing_support::read_file(path);
    const auto damaged = [&](std::vector<unsigned char> bytes) {
        testing_support::write_file(dir.file("d.flt"), bytes);
        return read_vision_for_report(dir.file("d.flt"), *read);
    };
    const auto patched = [&](size_t offset, int32_t value) {
        std::vector<unsigned char> bytes = whole;
        std::memcpy(bytes.data() + offset, &value, 4);
        return bytes;
    };
    const size_t right_record_1 = vision::header_size + 2 * vision::record_size;  // after one left record
    EXPECT_NE(damaged({}).find("is damaged: it is 0 bytes long"), std::string::npos);
    EXPECT_NE(damaged(patched(offsetof(vision::Header, floater_count) + 4, -1)).find("gives the right eye -1 floaters"),
              std::string::npos);
    EXPECT_NE(damaged(std::vector<unsigned char>(whole.begin(), whole.begin() + vision::header_size + 50))
                  .find("ends before its floater records"),
              std::string::npos);
    EXPECT_NE(damaged(patched(right_record_1 + offsetof(vision::FloaterRecord, dot_count), 5000))
                  .find("gives floater 2 of the right eye 5000 dots"),
              std::string::npos);
    EXPECT_NE(damaged(patched(right_record_1 + offsetof(vision::FloaterRecord, points_offset), 12))
                  .find("the dots of floater 2 of the right eye lie outside the file"),
              std::string::npos);
    EXPECT_EQ(read_vision_for_report(dir.path(), *read).rfind("Could not open \"" + dir.path() + "\": ", 0), 0u);
}

}  // namespace
