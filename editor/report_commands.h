// report_commands.h -- File > "Report for the eye doctor…" and "Print report…".
#pragma once

class QWidget;

namespace editor {
struct EditorState;

// Asks where to save the page (a PDF) and writes it from the document as it
// is now; a failure is reported in a message box naming the file.
void export_report_command(QWidget* owner, EditorState& state);

// The same page through the print dialog.
void print_report_command(QWidget* owner, EditorState& state);

}  // namespace editor
