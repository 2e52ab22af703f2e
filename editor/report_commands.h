// report_commands.h -- File > "Report for the eye doctor…" and "Print report…", and the same from the command line.
#pragma once

class QWidget;

namespace editor {
struct EditorState;

// Asks where to save the page (a PDF) and writes it from the document as it
// is now; a failure is reported in a message box naming the file.
void export_report_command(QWidget* owner, EditorState& state);

// The same page through the print dialog.
void print_report_command(QWidget* owner, EditorState& state);

// With the arguments "--report OUT.pdf FILE.flt" (after the program name):
// writes the report of FILE.flt to OUT.pdf without a window, the
// QT_QPA_PLATFORM left unset becoming "offscreen", so no display is needed.
// A vision file that cannot be read or is damaged gives its message on the
// standard error stream and no PDF. Returns the exit code (0 written, 1 not
// written, 2 wrong arguments), or -1 when the arguments do not ask for a
// report. Call it before any QApplication exists.
int run_report_command_line(int argc, char** argv);

}  // namespace editor
