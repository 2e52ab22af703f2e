// arguments.h -- the command-line scan both programs share: a few options and at most one file.
#pragma once

namespace common {

// Scans argv[1..argc-1]. An argument that starts with '-' (and is not "-"
// alone) must be one of `options`, a list ended by nullptr: option i sets
// bit i of `seen`. "--" ends the options. Any other argument is the one file,
// written into `file` (file_size bytes) made absolute, so that a later change
// of folder cannot lose it; "" when there is none. Returns 1, or 0 with a
// one-line reason in `error` (error_size bytes) for an unknown option, a
// second file, or a file path that is empty or too long.
int scan_arguments(int argc, const char* const* argv, const char* const* options, unsigned& seen,
                   char* file, int file_size, char* error, int error_size);

}  // namespace common
