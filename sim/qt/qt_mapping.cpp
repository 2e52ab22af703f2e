// qt_mapping.cpp -- picture placement, pointer mapping and key translation.
#include "sim/qt/qt_mapping.h"

#include <algorithm>

#include "sim/platform/frame.h"
#include "sim/shell/keys.h"

namespace platform {

QRect picture_rect(QSize window) {
    const int w = std::max(window.width(), 0);
    const int h = std::max(window.height(), 0);
    // Wider than 4:3: bars left and right; otherwise bars top and bottom.
    if (static_cast<long long>(w) * screen_height >= static_cast<long long>(h) * screen_width) {
        const int pw = static_cast<int>(static_cast<long long>(h) * screen_width / screen_height);
        return QRect((w - pw) / 2, 0, pw, h);
    }
    const int ph = static_cast<int>(static_cast<long long>(w) * screen_height / screen_width);
    return QRect(0, (h - ph) / 2, w, ph);
}

namespace {
// Position `p` within a span of `length` window pixels starting at `start`,
// scaled to `size` screen pixels and clamped into 0..size-1.
int map_axis(int p, int start, int length, int size) {
    if (length <= 0) return 0;
    const long long offset = static_cast<long long>(p) - start;
    if (offset <= 0) return 0;
    const long long scaled = offset * size / length;
    return static_cast<int>(std::min<long long>(scaled, size - 1));
}
}  // namespace

QPoint map_pointer(QPoint window_position, QSize window) {
    const QRect r = picture_rect(window);
    return QPoint(map_axis(window_position.x(), r.x(), r.width(), screen_width),
                  map_axis(window_position.y(), r.y(), r.height(), screen_height));
}

int virtual_key(int qt_key, Qt::KeyboardModifiers modifiers) {
    // Qt numbers letters, digits and F-keys consecutively, as the shell does.
    if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return shell::key_letter('A') + (qt_key - Qt::Key_A);
    if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9)
        return (modifiers & Qt::KeypadModifier) ? -1 : shell::key_0 + (qt_key - Qt::Key_0);
    if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F9) return shell::key_f1 + (qt_key - Qt::Key_F1);
    if (qt_key == Qt::Key_Space) return shell::key_space;
    if (qt_key == Qt::Key_Escape) return shell::key_escape;
    return -1;
}

}  // namespace platform
