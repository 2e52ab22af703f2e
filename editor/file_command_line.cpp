// file_command_line.cpp -- vitrion_edit --report OUT.pdf FILE.flt and --web-page OUT.html FILE.flt:
// the report or the web page without a window.
#include "editor/file_command_line.h"

#include <QGuiApplication>
#include <cstdio>
#include <memory>
#include <string>

#include "editor/model/command_line.h"
#include "editor/model/report_source.h"
#include "editor/report_painter.h"
#include "editor/web_page_command.h"
#include "visionfile/document.h"

namespace editor {
namespace {

QString write_report(const FileCommandLine& line) {
    auto doc = std::make_unique<vision::Document>();
    const std::string problem = read_vision_for_report(line.file, *doc);
    if (!problem.empty()) return QString::fromStdString(problem);
    return write_report_pdf(QString::fromLocal8Bit(line.out.c_str()), *doc,
                            report_extras(*doc, QString::fromStdString(line.file)));
}

}  // namespace

int run_file_command_line(int argc, char** argv) {
    FileCommandLine line;
    std::string error;
    if (!parse_file_command_line(argc, argv, line, error)) {
        std::fprintf(stderr, "vitrion_edit: %s\n%s", error.c_str(), edit_usage(line.command).c_str());
        return 2;
    }
    if (line.command == FileCommand::none) return -1;
    if (same_file(line.out, line.file)) {
        std::fprintf(stderr, "vitrion_edit: \"%s\" is the vision file itself; it is not written over.\n",
                     line.out.c_str());
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString failure =
        line.command == FileCommand::report
            ? write_report(line)
            : web_page_from_file(QString::fromLocal8Bit(line.out.c_str()), line.file, line.include_comments != 0);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "vitrion_edit: %s\n", failure.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

}  // namespace editor
