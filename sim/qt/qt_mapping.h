// qt_mapping.h -- pure mappings between the Qt window and the simulator:
// where the 640 x 480 picture lies in the window, pointer positions back into
// screen coordinates, and Qt keys into the shell's virtual-key codes.
#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

namespace platform {

// The largest 4:3 rectangle centred in a window of `window` size: the
// picture fills it and the rest of the window shows black bars.
QRect picture_rect(QSize window);

// A pointer position in window pixels mapped into 640 x 480 screen
// coordinates. Positions over the black bars or outside the window map to
// the nearest edge of the picture, so the result is always 0..639, 0..479.
QPoint map_pointer(QPoint window_position, QSize window);

// The virtual-key code (sim/shell/keys.h numbering) of a Qt key, or -1 when
// the simulator has no use for it. Letters, the digit row, F1..F9, Space and
// Escape are translated; keypad digits are not digit keys.
int virtual_key(int qt_key, Qt::KeyboardModifiers modifiers);

}  // namespace platform
