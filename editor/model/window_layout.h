// window_layout.h -- where the main window puts its presentation picture.
#pragma once

namespace editor {

// Offset that centres a picture of `picture` pixels in `client` pixels:
// (client - picture) / 2 truncated toward zero, negative when the window is
// smaller, so the picture is then cut equally on both sides.
constexpr int centred_offset(int client, int picture) { return (client - picture) / 2; }

static_assert(centred_offset(1280, 640) == 320 && centred_offset(639, 640) == 0 &&
              centred_offset(637, 640) == -1 && centred_offset(500, 640) == -70);

}  // namespace editor
