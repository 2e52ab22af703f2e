// absolute_path.h -- a path given on a command line, made independent of the working directory.
#pragma once

namespace common {

// Writes `path` into `out` (out_size bytes), prefixed with the working
// directory and '/' unless it starts with '/'. Returns 1, or 0 when the
// working directory is unknown or the result does not fit.
int absolute_path(const char* path, char* out, int out_size);

}  // namespace common
