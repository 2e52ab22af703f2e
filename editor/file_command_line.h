// file_command_line.h -- the report and the web page made from a vision file without a window.
#pragma once

namespace editor {

// With the arguments "--report OUT.pdf FILE.flt" or "--web-page OUT.html
// [--include-comments] FILE.flt" (after the program name): writes the report
// or the web page of FILE.flt to OUT without a window, the QT_QPA_PLATFORM
// left unset becoming "offscreen", so no display is needed. A vision file
// that cannot be read or is damaged, or a web player that is not installed,
// gives its message on the standard error stream and no file. Returns the
// exit code (0 written, 1 not written, 2 wrong arguments, with the usage),
// or -1 when the arguments ask for neither. Call it before any
// QApplication exists.
int run_file_command_line(int argc, char** argv);

}  // namespace editor
