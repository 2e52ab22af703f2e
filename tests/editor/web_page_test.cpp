// web_page_test.cpp -- File > "Save as web page…" and vitrion_edit --web-page, over a small stand-in template.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>
#include <cstring>
#include <memory>

#include "editor/main_window.h"
#include "editor/model/personal_form.h"
#include "editor/model/unsaved_changes.h"
#include "editor/model/web_page.h"
#include "editor/web_page_command.h"
#include "support/temp_dir.h"
#include "ui_test_support.h"
#include "visionfile/reader.h"
#include "visionfile/writer.h"

using namespace editor;
using testing_support::control;

namespace {

// The real player is built only where emscripten is; this holds what the
// editor relies on: each placeholder once, where the real one has it.
constexpr char stand_in_player[] =
    "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>@VITRION_TITLE@</title></head>\n"
    "<body><canvas></canvas><script id=\"vitrion-vision\" type=\"application/octet-stream\">"
    "@VITRION_VISION@</script><script>/* player */</script></body></html>\n";
constexpr char vision_open[] = "<script id=\"vitrion-vision\" type=\"application/octet-stream\">";
constexpr char comments[] = "Since the fall last spring; a swarm of grey dots.";

QString text_between(const QByteArray& page, const char* open, const char* close) {
    const qsizetype start = page.indexOf(open);
    const qsizetype end = start < 0 ? -1 : page.indexOf(close, start + qsizetype(std::strlen(open)));
    if (end < 0) return "(missing)";
    return QString::fromUtf8(page.mid(start + qsizetype(std::strlen(open)), end - start - qsizetype(std::strlen(open))));
}

// What a written page holds: its title text and the vision file decoded from
// its base64, once the rest is checked to be the template's own text.
struct WrittenPage {
    QString title;
    QByteArray vision;
};

WrittenPage read_page(const std::string& path) {
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    const QByteArray page = file.readAll();
    WrittenPage written;
    written.title = text_between(page, "<title>", "</title>");
    const QString base64 = text_between(page, vision_open, "</script>");
    QByteArray rebuilt(stand_in_player);
    rebuilt.replace("@VITRION_TITLE@", written.title.toUtf8()).replace("@VITRION_VISION@", base64.toLatin1());
    EXPECT_EQ(page, rebuilt) << "the page is the template with its two placeholders filled";
    const QByteArray::FromBase64Result decoded =
        QByteArray::fromBase64Encoding(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    EXPECT_TRUE(decoded) << "base64 without line breaks or strays";
    written.vision = decoded.decoded;
    return written;
}

QString write_player(const testing_support::TempDir& dir, const std::string& text) {
    testing_support::write_file(dir.file("player.html"), std::vector<unsigned char>(text.begin(), text.end()));
    return QString::fromStdString(dir.file("player.html"));
}

QStringList files_in(const testing_support::TempDir& dir) {
    return QDir(QString::fromStdString(dir.path())).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Answers the export dialog once it shows: notes the size it states, ticks
// "Include my comments" when asked, then saves or cancels.
class DialogAnswer {
public:
    DialogAnswer(bool tick, bool save) : tick_(tick), save_(save) { QTimer::singleShot(0, &context_, [this] { look(); }); }
    bool shown = false;
    qulonglong page_bytes = 0;
    QString size_text;

private:
    void look() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != "DLG_WEB_PAGE") {
            if (++tries_ < 300) QTimer::singleShot(10, &context_, [this] { look(); });
            return;
        }
        shown = true;
        auto* size = dialog->findChild<QLabel*>("page_size");
        EXPECT_FALSE(control<QCheckBox>(dialog, id_include_comments)->isChecked()) << "off at first";
        if (tick_) control<QCheckBox>(dialog, id_include_comments)->click();
        page_bytes = size->property("page_bytes").toULongLong();
        size_text = size->text();
        control<QPushButton>(dialog, save_ ? id_web_page_save : id_web_page_cancel)->click();
    }
    QObject context_;  // ends the looking with the answer
    bool tick_, save_;
    int tries_ = 0;
};

TEST(WebPageMenu, ThePageHoldsTheDocumentAsItIsNowAndItsCommentsOnlyWhenTicked) {
    testing_support::TempDir dir;
    const QString player = write_player(dir, stand_in_player);
    testing_support::EditorFixture fixture;
    std::unique_ptr<QMainWindow> window(create_main_window(fixture.state));

    vision::Document& doc = *fixture.doc;
    store_comments(doc.header, comments);
    doc.header.floater_count[0] = 1;
    doc.records[0][0].dot_count = 2;
    fixture.state.vision_file = "/home/ann/Ann's <first>.flt";
    mark_document_unchanged(fixture.state);
    doc.x[0][0][1] = 444;  // not saved
    for (const bool tick : {false, true}) {
        SCOPED_TRACE(tick ? "ticked" : "not ticked");
        const std::string out = dir.file(tick ? "with.html" : "without.html");
        fixture.next_choice = QString::fromStdString(out);
        const DialogAnswer answer(tick, true);
        save_web_page(window.get(), fixture.state, player);
        ASSERT_TRUE(answer.shown);
        EXPECT_TRUE(fixture.messages.isEmpty()) << fixture.messages.join('\n').toStdString();
        EXPECT_EQ(fixture.chooser_filters, QStringList({"Web page (*.html *.htm)"}));
        EXPECT_EQ(fixture.chooser_name, "Ann's <first>.html");
        const qint64 size = QFileInfo(QString::fromStdString(out)).size();
        EXPECT_EQ(qint64(answer.page_bytes), size) << "the size the dialog said";
        EXPECT_EQ(answer.size_text.toStdString(), page_size_text(size_t(size)));

        const WrittenPage page = read_page(out);
        EXPECT_EQ(page.title, "Ann&#39;s &lt;first&gt;");
        EXPECT_EQ(page.vision.contains(comments), tick);
        auto read = std::make_unique<vision::Document>();
        vision::reset_to_new_document(*read);
        ASSERT_EQ(vision::read_vision_bytes(*read, reinterpret_cast<const uint8_t*>(page.vision.constData()),
                                            size_t(page.vision.size())), 1);
        EXPECT_EQ(read->x[0][0][1], 444);
        EXPECT_EQ(comments_for_display(read->header), tick ? comments : "");
    }
    // The document keeps its comments and stays unsaved; nothing else was left in the folder.
    EXPECT_EQ(comments_for_display(doc.header), comments);
    EXPECT_TRUE(document_changed(fixture.state));
    EXPECT_EQ(files_in(dir), QStringList({"player.html", "with.html", "without.html"}));
}

// A picture a loaded file named goes to others only when the person says so.
TEST(WebPageMenu, APictureALoadedFileNamedIsAskedAbout) {
    testing_support::TempDir dir;
    const QString player = write_player(dir, stand_in_player);
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("private.jpg")), "JPG"));
    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        SCOPED_TRACE(answer == QMessageBox::Yes ? "yes" : "no");
        testing_support::EditorFixture fixture;
        std::snprintf(fixture.doc->header.slots[0].picture_path, vision::path_size, "%s", dir.file("private.jpg").c_str());
        fixture.state.picture_origin[0] = PictureOrigin::loaded;
        fixture.answers = {answer};
        const std::string out = dir.file("page.html");
        fixture.next_choice = QString::fromStdString(out);
        const DialogAnswer shown(false, true);
        save_web_page(nullptr, fixture.state, player);
        ASSERT_EQ(fixture.questions.size(), 1);
        EXPECT_TRUE(fixture.questions[0].contains("into the web page")) << fixture.questions[0].toStdString();
        const WrittenPage page = read_page(out);
        auto read = std::make_unique<vision::Document>();
        ASSERT_EQ(vision::read_vision_bytes(*read, reinterpret_cast<const uint8_t*>(page.vision.constData()),
                                            size_t(page.vision.size())), 1);
        EXPECT_EQ(read->header.slots[0].picture_offset != 0, answer == QMessageBox::Yes);
    }
}

TEST(WebPageMenu, ABadOrMissingPlayerIsSaidAndNothingIsAskedOrWritten) {
    testing_support::TempDir dir;
    const struct {
        std::string player;  // "" none at all
        const char* said;
    } cases[] = {
        {"<title>@VITRION_TITLE@</title><script></script>", "holds @VITRION_VISION@ 0 times"},
        {"<title>@VITRION_TITLE@</title>@VITRION_VISION@ @VITRION_VISION@", "holds @VITRION_VISION@ 2 times"},
        {"", "The web player is not installed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        testing_support::EditorFixture fixture;
        const QString player =
            c.player.empty() ? QString::fromStdString(dir.file("web/vitrion_player.html")) : write_player(dir, c.player);
        fixture.next_choice = QString::fromStdString(dir.file("page.html"));
        const DialogAnswer answer(false, true);
        save_web_page(nullptr, fixture.state, player);
        EXPECT_FALSE(answer.shown);
        EXPECT_TRUE(fixture.chooser_titles.isEmpty());
        ASSERT_EQ(fixture.messages.size(), 1);
        EXPECT_TRUE(fixture.messages[0].contains(c.said)) << fixture.messages[0].toStdString();
        EXPECT_TRUE(fixture.messages[0].contains(player));
        EXPECT_TRUE(fixture.messages[0].endsWith("No web page was made."));
        EXPECT_FALSE(QFileInfo::exists(fixture.next_choice));
    }
    // A cancelled dialog asks for no file; a folder that is not there is said.
    testing_support::EditorFixture fixture;
    const QString player = write_player(dir, stand_in_player);
    {
        const DialogAnswer answer(false, false);
        save_web_page(nullptr, fixture.state, player);
        EXPECT_TRUE(answer.shown);
        EXPECT_TRUE(fixture.chooser_titles.isEmpty());
    }
    fixture.next_choice = QString::fromStdString(dir.file("gone/page.html"));
    {
        const DialogAnswer answer(false, true);
        save_web_page(nullptr, fixture.state, player);
    }
    ASSERT_EQ(fixture.messages.size(), 1);
    EXPECT_TRUE(fixture.messages[0].startsWith("Could not write \"" + fixture.next_choice + "\"")) << fixture.messages[0].toStdString();
    // Choosing the vision file itself as the page leaves it as it was.
    fixture.state.vision_file = dir.file("mine.flt");
    testing_support::write_file(fixture.state.vision_file, {'v'});
    fixture.next_choice = QString::fromStdString(fixture.state.vision_file);
    {
        const DialogAnswer answer(false, true);
        save_web_page(nullptr, fixture.state, player);
    }
    ASSERT_EQ(fixture.messages.size(), 2);
    EXPECT_TRUE(fixture.messages[1].contains("is your vision file")) << fixture.messages[1].toStdString();
    EXPECT_EQ(testing_support::read_file(fixture.state.vision_file), std::vector<unsigned char>({'v'}));
    EXPECT_EQ(files_in(dir), QStringList({"mine.flt", "player.html"}));
}

// The command line on a copy of the program with the stand-in player beside
// it, where the editor looks for the player.
class WebPageCommandLine : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("bin/web"))));
        ASSERT_TRUE(QFile::copy(VITRION_BIN_DIR "/vitrion_edit", program));
        testing_support::write_file(dir.file("bin/web/vitrion_player.html"),
                                    std::vector<unsigned char>(stand_in_player, stand_in_player + std::strlen(stand_in_player)));
        // A picture carried in the file, whose own file is gone: only the
        // vision file's bytes still hold it.
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("scene.jpg")), "JPG"));
        auto doc = std::make_unique<vision::Document>();
        vision::reset_to_new_document(*doc);
        std::snprintf(doc->header.slots[0].picture_path, vision::path_size, "%s", dir.file("scene.jpg").c_str());
        doc->header.floater_count[1] = 1;
        doc->records[1][0].dot_count = 1;
        store_comments(doc->header, comments);
        vision::SaveReport report;
        ASSERT_EQ(vision::write_vision_file(*doc, vision_file.c_str(), &report), 1);
        ASSERT_EQ(report.slot_missing[0], 0);
        QFile::remove(QString::fromStdString(dir.file("scene.jpg")));
    }
    testing_support::Outcome web_page(const std::string& out, const std::string& in, bool include = false) {
        QStringList arguments{"--web-page", QString::fromStdString(out), QString::fromStdString(in)};
        if (include) arguments << "--include-comments";
        return testing_support::run_without_display(program, arguments);
    }
    testing_support::TempDir dir;
    QString program = QString::fromStdString(dir.file("bin/vitrion_edit"));
    std::string vision_file = dir.file("Ann.flt");
};

TEST_F(WebPageCommandLine, ThePageHoldsTheFilesOwnBytesItsCommentsOnlyWhenAsked) {
    std::vector<unsigned char> file = testing_support::read_file(vision_file);
    for (const bool include : {true, false}) {
        SCOPED_TRACE(include ? "--include-comments" : "without comments");
        const std::string out = dir.file(include ? "with.html" : "without.html");
        const testing_support::Outcome made = web_page(out, vision_file, include);
        ASSERT_EQ(made.code, 0) << made.err.toStdString();
        const WrittenPage page = read_page(out);
        EXPECT_EQ(page.title, "Ann");
        if (!include) std::memset(file.data() + offsetof(vision::Header, comments), 0, vision::comments_size);
        EXPECT_TRUE(page.vision == QByteArray(reinterpret_cast<const char*>(file.data()), qsizetype(file.size())))
            << "the file's bytes, pictures included";
        EXPECT_EQ(page.vision.contains(comments), include);
    }
}

TEST_F(WebPageCommandLine, ADamagedFileOrNoPlayerGivesItsMessageAndNoPage) {
    const std::vector<unsigned char> whole = testing_support::read_file(vision_file);
    const std::string damaged = dir.file("damaged.flt");
    testing_support::write_file(damaged, std::vector<unsigned char>(whole.begin(), whole.begin() + 1000));
    const std::string out = dir.file("page.html");
    testing_support::Outcome made = web_page(out, damaged);
    EXPECT_EQ(made.code, 1);
    EXPECT_TRUE(made.err.contains("is damaged: it is 1000 bytes long")) << made.err.toStdString();
    EXPECT_TRUE(made.err.contains("No web page was made.")) << made.err.toStdString();
    made = web_page(out, dir.file("none.flt"));
    EXPECT_EQ(made.code, 1);
    EXPECT_TRUE(made.err.contains("Could not open")) << made.err.toStdString();

    ASSERT_TRUE(QDir(QString::fromStdString(dir.file("bin/web"))).removeRecursively());
    made = web_page(out, vision_file);
    EXPECT_EQ(made.code, 1);
    EXPECT_TRUE(made.err.contains("The web player is not installed")) << made.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(out)));
    EXPECT_EQ(files_in(dir), QStringList({"Ann.flt", "damaged.flt"}));

    // Neither command writes over the vision file it reads.
    for (const char* command : {"--web-page", "--report"}) {
        made = testing_support::run_without_display(
            program, {command, QString::fromStdString(dir.file("./Ann.flt")), QString::fromStdString(vision_file)});
        EXPECT_EQ(made.code, 1) << command;
        EXPECT_TRUE(made.err.contains("is the vision file itself")) << made.err.toStdString();
        EXPECT_EQ(testing_support::read_file(vision_file), whole) << command;
    }

    made = testing_support::run_without_display(program, {"--web-page", QString::fromStdString(out)});
    EXPECT_EQ(made.code, 2);
    EXPECT_TRUE(made.err.contains("usage: vitrion_edit --web-page OUT.html [--include-comments] FILE.flt"));
}

}  // namespace
