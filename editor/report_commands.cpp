// report_commands.cpp -- the report menu commands: the page saved as a PDF or printed.
#include "editor/report_commands.h"

#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <memory>

#include "editor/file_choosers.h"
#include "editor/messages.h"
#include "editor/model/editor_state.h"
#include "editor/report_painter.h"
#include "visionfile/writer.h"

namespace editor {

namespace {

constexpr char report_command_title[] = "Report for the eye doctor";
constexpr char print_command_title[] = "Print report";

// The page's stills need the scene pictures as a vision file holds them: a
// copy of the document is written with the pictures the person chose (not
// those a loaded file names unasked) into `folder`. Returns the extras.
ReportExtras extras_for_document(const EditorState& state, const QTemporaryDir& folder) {
    auto copy = std::make_unique<vision::Document>(*state.doc);
    for (int slot = 0; slot < vision::picture_slots; ++slot) {
        const PictureOrigin origin = state.picture_origin[slot];
        if (origin == PictureOrigin::loaded || origin == PictureOrigin::refused)
            std::snprintf(copy->header.slots[slot].picture_path, vision::path_size, "%s", vision::unused_path);
    }
    QString scenes;
    if (folder.isValid()) {
        const QString path = folder.filePath("scenes.flt");
        if (vision::write_vision_file(*copy, path.toLocal8Bit().constData())) scenes = path;
    }
    return report_extras(*copy, scenes);
}

}  // namespace

void export_report_command(QWidget* owner, EditorState& state) {
    ChosenFile chosen;
    // "mine.flt" suggests "mine report.pdf" beside it.
    const QString suggested = state.vision_file.empty()
                                  ? QString()
                                  : QFileInfo(QString::fromStdString(state.vision_file)).completeBaseName() + " report.pdf";
    if (!choose_file_to_save(owner, state, report_command_title, {{"PDF", "*.pdf"}}, "pdf", chosen, suggested)) return;
    const QTemporaryDir folder;
    const QString error = write_report_pdf(chosen.path, *state.doc, extras_for_document(state, folder));
    if (!error.isEmpty()) show_warning(owner, report_command_title, error);
}

void print_report_command(QWidget* owner, EditorState& state) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(report_page_size());
    printer.setFullPage(true);
    printer.setDocName(report_command_title);
    QPrintDialog dialog(&printer, owner);
    dialog.setWindowTitle(print_command_title);
    if (dialog.exec() != QDialog::Accepted) return;
    const QTemporaryDir folder;
    if (!paint_report(printer, *state.doc, extras_for_document(state, folder)))
        show_warning(owner, print_command_title, "The report could not be sent to the printer.");
}

}  // namespace editor
