// report_command_line.cpp -- vitrion_edit --report OUT.pdf FILE.flt: the page without a window.
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <memory>

#include "editor/model/report_source.h"
#include "editor/report_commands.h"
#include "editor/report_painter.h"
#include "visionfile/document.h"

namespace editor {

int run_report_command_line(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--report") != 0) return -1;
    if (argc != 4) {
        std::fprintf(stderr, "usage: vitrion_edit --report OUT.pdf FILE.flt\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    auto doc = std::make_unique<vision::Document>();
    const std::string problem = read_vision_for_report(argv[3], *doc);
    if (!problem.empty()) {
        std::fprintf(stderr, "vitrion_edit: %s\n", problem.c_str());
        return 1;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    const QString error = write_report_pdf(out, *doc, report_extras(*doc, QString::fromLocal8Bit(argv[3])));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "vitrion_edit: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

}  // namespace editor
