// command_line_test.cpp -- vitrion_edit's arguments: a file to open, or a report or web page to make.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "editor/model/command_line.h"

namespace editor {
namespace {

// `parse` run on `args` as vitrion_edit's arguments, the program's name put first.
template <class Line, class Parse>
int parse_args(Parse parse, std::vector<const char*> args, Line& line, std::string& error) {
    args.insert(args.begin(), "vitrion_edit");
    return parse(int(args.size()), args.data(), line, error);
}

TEST(EditCommandLine, OneFileMadeAbsoluteAndMistakesNamed) {
    EditCommandLine line;
    std::string error;
    ASSERT_EQ(parse_args(parse_edit_command_line, {}, line, error), 1);
    EXPECT_EQ(line.file, "");
    ASSERT_EQ(parse_args(parse_edit_command_line, {"/v/mine.flt"}, line, error), 1);
    EXPECT_EQ(line.file, "/v/mine.flt");
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(parse_args(parse_edit_command_line, {"--", "-mine.flt"}, line, error), 1);
    EXPECT_EQ(line.file, std::string(here) + "/-mine.flt");
    EXPECT_EQ(parse_args(parse_edit_command_line, {"--no-intro"}, line, error), 0);
    EXPECT_NE(error.find("--no-intro"), std::string::npos);
    EXPECT_EQ(parse_args(parse_edit_command_line, {"a.flt", "b.flt"}, line, error), 0);
    EXPECT_NE(error.find("b.flt"), std::string::npos);
}

TEST(FileCommandLine, ReportAndWebPageWithTheirOptionsAndMistakesNamed) {
    FileCommandLine line;
    std::string error;
    ASSERT_EQ(parse_args(parse_file_command_line, {"/v/mine.flt"}, line, error), 1);
    EXPECT_EQ(line.command, FileCommand::none);
    ASSERT_EQ(parse_args(parse_file_command_line, {}, line, error), 1);
    EXPECT_EQ(line.command, FileCommand::none);

    ASSERT_EQ(parse_args(parse_file_command_line, {"--web-page", "out.html", "/v/mine.flt"}, line, error), 1);
    EXPECT_EQ(line.command, FileCommand::web_page);
    EXPECT_EQ(line.out, "out.html");
    EXPECT_EQ(line.file, "/v/mine.flt");
    EXPECT_EQ(line.include_comments, 0);
    ASSERT_EQ(parse_args(parse_file_command_line, {"--web-page", "out.html", "/v/mine.flt", "--include-comments"}, line, error), 1);
    EXPECT_EQ(line.include_comments, 1);
    ASSERT_EQ(parse_args(parse_file_command_line, {"--report", "r.pdf", "/v/mine.flt"}, line, error), 1);
    EXPECT_EQ(line.command, FileCommand::report);
    EXPECT_EQ(line.out, "r.pdf");

    const struct {
        std::vector<const char*> args;
        const char* named;
    } mistakes[] = {
        {{"--report", "r.pdf", "/v/mine.flt", "--include-comments"}, "unknown option --include-comments"},
        {{"--web-page"}, "must follow --web-page"},
        {{"--web-page", "--include-comments", "out.html", "/v/mine.flt"}, "must follow --web-page"},
        {{"--web-page", "out.html"}, "no vision file"},
        {{"--web-page", "out.html", "a.flt", "b.flt"}, "b.flt"},
        {{"--report", "r.pdf"}, "no vision file"},
    };
    for (const auto& m : mistakes) {
        EXPECT_EQ(parse_args(parse_file_command_line, m.args, line, error), 0) << m.args.back();
        EXPECT_NE(error.find(m.named), std::string::npos) << error;
    }
    EXPECT_EQ(edit_usage(FileCommand::report), "usage: vitrion_edit --report OUT.pdf FILE.flt\n");
    EXPECT_NE(edit_usage().find("--web-page OUT.html [--include-comments] FILE.flt"), std::string::npos);
}

}  // namespace
}  // namespace editor
