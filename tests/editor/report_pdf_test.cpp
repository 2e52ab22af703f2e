// report_pdf_test.cpp -- vitrion_edit --report run as a program, its PDF read back with the poppler tools.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <cstring>
#include <memory>

#include <QMainWindow>

#include "editor/main_window.h"
#include "editor/model/report_page.h"
#include "support/temp_dir.h"
#include "ui_test_support.h"
#include "visionfile/writer.h"

using namespace editor;
using testing_support::Outcome;

namespace {

Outcome report(const std::string& out, const std::string& in) {
    return testing_support::run_without_display(VITRION_BIN_DIR "/vitrion_edit", {"--report", QString::fromStdString(out), QString::fromStdString(in)});
}

QString squeezed(const QString& text) { return QString(text).replace(QRegularExpression("\\s+"), " "); }

void add_floater(vision::Document& doc, int eye, int index, int x, int y, int dots) {
    vision::FloaterRecord& r = doc.records[eye][index];
    r.dot_count = dots;
    r.dot_density = 8;
    r.dot_size_x = r.dot_size_y = 2;
    r.transparency = 200;
    r.diffusion = 2;
    for (int d = 0; d < dots; ++d) {
        doc.x[eye][index][d] = x + 3 * d;
        doc.y[eye][index][d] = y;
    }
}

// Floaters in both eyes at places that differ between the eyes, a streak
// in each eye, answers and comments; no scene picture, so the stills show
// the default vision's first scene.
std::unique_ptr<vision::Document> sample_vision() {
    auto doc = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*doc);
    vision::Header& h = doc->header;
    h.floater_count[0] = 2;
    h.floater_count[1] = 1;
    add_floater(*doc, 0, 0, 200, 150, 20);
    add_floater(*doc, 0, 1, 560, 420, 10);
    add_floater(*doc, 1, 0, 420, 220, 15);
    for (int k : {0, 5}) {
        vision::Streak& s = h.streak[k];
        s.point_count = 40;
        s.when_seen = k == 0 ? 1 : 3;
        for (int i = 0; i < 40; ++i) {
            s.x[i] = 200 + 4 * i;
            s.y[i] = 300;
        }
    }
    h.myopia_on = 1;
    h.myopia_dioptres = 4;
    h.flashes_on = 1;
    h.sac_refractions_on = 1;
    h.cataracts_on = 1;
    h.cataract_clarity = 0.75f;
    std::snprintf(h.comments, sizeof h.comments, "They came after a fall last spring; worse in bright light.");
    return doc;
}

class ReportPdf : public testing::Test {
protected:
    testing_support::TempDir dir;
    std::unique_ptr<vision::Document> doc = sample_vision();
    std::string vision_file = dir.file("mine.flt");
    std::string pdf = dir.file("report.pdf");

    void SetUp() override { ASSERT_EQ(vision::write_vision_file(*doc, vision_file.c_str()), 1); }
};

TEST_F(ReportPdf, OnePageWithEveryAnswerTheCommentsAndEmbeddedFonts) {
    const Outcome made = report(pdf, vision_file);
    ASSERT_EQ(made.code, 0) << made.err.toStdString();
    // tools/make_report_sample.sh keeps this report as the sample the README shows.
    if (const QString keep = qEnvironmentVariable("VITRION_REPORT_SAMPLE"); !keep.isEmpty()) {
        QFile::remove(keep);
        QFile::copy(QString::fromStdString(pdf), keep);
    }

    const Outcome info = testing_support::run_without_display("pdfinfo", {QString::fromStdString(pdf)});
    EXPECT_TRUE(info.out.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.out.toStdString();

    const QString text = squeezed(testing_support::run_without_display("pdftotext", {QString::fromStdString(pdf), "-"}).out);
    const ReportContent content = report_content(*doc, "");
    for (const std::string& answer : content.answers)
        EXPECT_TRUE(text.contains(QString::fromStdString(answer))) << answer;
    for (const char* expected : {"Myopia: \xE2\x88\x92" "4 dioptres.", "Flashes of light: yes.", "Cataract: clarity 0.75.",
                                 "Streaks seen: when moving my eyes left and right or when moving my eyes.",
                                 "They came after a fall last spring; worse in bright light.",
                                 "Right eye (OD)", "Left eye (OS)", "Floaters and flashes \xE2\x80\x94 what I see",
                                 "a sudden loss of sight", "Not a diagnosis."})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;

    // Below the header and its rule, one line per font: the "emb" column says yes.
    const QStringList fonts = testing_support::run_without_display("pdffonts", {QString::fromStdString(pdf)}).out.split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(fonts.size(), 3);
    const int column = int(fonts[0].indexOf(" emb")) + 1;
    for (int i = 2; i < fonts.size(); ++i) EXPECT_EQ(fonts[i].mid(column, 3), "yes") << fonts[i].toStdString();
}

TEST_F(ReportPdf, TheDotsAreDarkInTheirOwnEyesPanelOnly) {
    ASSERT_EQ(report(pdf, vision_file).code, 0);
    const Outcome info = testing_support::run_without_display("pdfinfo", {QString::fromStdString(pdf)});
    const QRegularExpressionMatch size = QRegularExpression("Page size:\\s+([0-9.]+) x ([0-9.]+) pts").match(info.out);
    ASSERT_TRUE(size.hasMatch());
    const double dpi = 150;
    ASSERT_EQ(testing_support::run_without_display("pdftoppm", {"-r", "150", "-png", "-singlefile", QString::fromStdString(pdf),
                               QString::fromStdString(dir.file("page"))}).code, 0);
    const QImage page(QString::fromStdString(dir.file("page.png")));
    ASSERT_FALSE(page.isNull());
    const ReportLayout layout = report_layout(size.captured(1).toDouble(), size.captured(2).toDouble());
    const auto grey_at = [&](const PageBox& map, int x, int y) {
        const PagePoint p = map_to_page(map, x, y);
        return qGray(page.pixel(int(p.x * dpi / 72), int(p.y * dpi / 72)));
    };
    // Panel 0 is the right eye (document eye 1), panel 1 the left eye.
    for (int panel = 0; panel < 2; ++panel) {
        const int eye = panel == 0 ? 1 : 0, other = 1 - eye;
        const PageBox& map = layout.eyes[panel].map;
        for (int i = 0; i < doc->header.floater_count[eye]; ++i)
            for (int d = 0; d < doc->records[eye][i].dot_count; ++d)
                EXPECT_LT(grey_at(map, doc->x[eye][i][d], doc->y[eye][i][d]), 90)
                    << "panel " << panel << " floater " << i << " dot " << d;
        // Where only the other eye has dots, this panel stays light.
        EXPECT_GT(grey_at(map, doc->x[other][0][5], doc->y[other][0][5]), 180) << "panel " << panel;
    }
}

TEST_F(ReportPdf, ADamagedOrMissingFileGivesItsMessageAndNoPdf) {
    const std::vector<unsigned char> whole = testing_support::read_file(vision_file);
    std::vector<unsigned char> many_floaters = whole;
    const int32_t count = 500;
    std::memcpy(many_floaters.data() + offsetof(vision::Header, floater_count), &count, 4);
    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
        const char* message;
    } cases[] = {
        {"cut inside its header", std::vector<unsigned char>(whole.begin(), whole.begin() + 1000),
         "is damaged: it is 1000 bytes long"},
        {"cut inside its dots", std::vector<unsigned char>(whole.begin(), whole.end() - 8), "lie outside the file"},
        {"too many floaters", many_floaters, "gives the left eye 500 floaters"},
    };
    for (const Case& c : cases) {
        const std::string damaged = dir.file("damaged.flt");
        testing_support::write_file(damaged, c.bytes);
        const Outcome made = report(pdf, damaged);
        EXPECT_EQ(made.code, 1) << c.what;
        EXPECT_TRUE(made.err.contains(c.message)) << c.what << ": " << made.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(pdf))) << c.what;
    }
    const Outcome missing = report(pdf, dir.file("none.flt"));
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains("Could not open \"" + QString::fromStdString(dir.file("none.flt")) +
                                     "\": No such file or directory."))
        << missing.err.toStdString();
    // Nothing half-written is left beside the target either.
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList({"report*"}, QDir::Files | QDir::Hidden),
              QStringList());
}

TEST_F(ReportPdf, AnUnwritableTargetIsReportedAndAnOldReportStays) {
    const std::string folder = dir.file("no-such-folder/report.pdf");
    const Outcome made = report(folder, vision_file);
    EXPECT_EQ(made.code, 1);
    EXPECT_TRUE(made.err.contains("Could not write")) << made.err.toStdString();
    EXPECT_EQ(report(pdf, vision_file).code, 0);
    EXPECT_EQ(report(pdf, dir.file("none.flt")).code, 1);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(pdf)).size() > 0);
}

TEST(ReportArguments, WrongArgumentsGiveTheUsage) {
    const Outcome made = testing_support::run_without_display(VITRION_BIN_DIR "/vitrion_edit", {"--report", "only-one.pdf"});
    EXPECT_EQ(made.code, 2);
    EXPECT_TRUE(made.err.contains("usage: vitrion_edit --report OUT.pdf FILE.flt"));
}

}  // namespace

namespace {

// The menu command on the document in memory: the stills take the pictures
// the person chose, never those a loaded file names unasked.
TEST(ReportMenu, TheStillsUseOnlyPicturesThePersonChose) {
    testing_support::TempDir dir;
    QImage dark(1280, 960, QImage::Format_RGB888);
    dark.fill(Qt::black);
    const std::string picture = dir.file("dark.jpg");
    ASSERT_TRUE(dark.save(QString::fromStdString(picture), "JPG"));
    for (const PictureOrigin origin : {PictureOrigin::chosen, PictureOrigin::loaded}) {
        testing_support::EditorFixture fixture;
        std::snprintf(fixture.doc->header.slots[0].picture_path, vision::path_size, "%s", picture.c_str());
        fixture.state.picture_origin[0] = origin;
        const std::string pdf = dir.file("menu.pdf");
        fixture.next_choice = QString::fromStdString(pdf);
        std::unique_ptr<QMainWindow> window(create_main_window(fixture.state));
        run_menu_command(window.get(), fixture.state, menu_report);
        EXPECT_EQ(fixture.chooser_filters, QStringList({"PDF (*.pdf)"}));
        EXPECT_TRUE(fixture.messages.isEmpty()) << fixture.messages.join('\n').toStdString();
        ASSERT_EQ(testing_support::run_without_display("pdftoppm", {"-r", "72", "-png", "-singlefile", QString::fromStdString(pdf),
                                   QString::fromStdString(dir.file("menu"))}).code, 0);
        const QImage page(QString::fromStdString(dir.file("menu.png")));
        const ReportLayout layout = report_layout(page.width(), page.height());
        const PageBox& still = layout.eyes[0].still;
        const int grey = qGray(page.pixel(int(still.x + still.width / 2), int(still.y + still.height / 3)));
        if (origin == PictureOrigin::chosen)
            EXPECT_LT(grey, 40);
        else
            EXPECT_GT(grey, 60);  // the default scene's sky
        QFile::remove(QString::fromStdString(pdf));
    }
}

TEST(ReportMenu, TheChooserSuggestsANameAfterTheVisionFile) {
    testing_support::EditorFixture fixture;
    fixture.state.vision_file = "/home/ann/floaters/Ann's eyes.flt";
    std::unique_ptr<QMainWindow> window(create_main_window(fixture.state));
    run_menu_command(window.get(), fixture.state, menu_report);  // the chooser is cancelled
    EXPECT_EQ(fixture.chooser_name, "Ann's eyes report.pdf");
}

}  // namespace
