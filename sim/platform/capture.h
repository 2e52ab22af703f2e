// capture.h -- the name of a screen capture file.
#pragma once

namespace platform {

constexpr int saved_name_size = 64;

// "vitrion_capture_<seconds>.jpg", the name capture_screen writes in the
// working directory.
void capture_file_name(long calendar_seconds, char* out, int out_size);

}  // namespace platform
