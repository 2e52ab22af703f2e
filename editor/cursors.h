// cursors.h -- the editor's two cursors: the arrow and the floater pen (FLOATCUR).
#pragma once
#include <QCursor>

namespace editor {

constexpr int floater_cursor_size = 32;
constexpr int floater_cursor_hot_x = 5;
constexpr int floater_cursor_hot_y = 5;

// FLOATCUR: a 32 x 32 pen whose tip, a small cross-hair, is the hot spot (5, 5).
// Drawn once by our own code and reused.
QCursor floater_cursor();

// The system arrow.
QCursor arrow_cursor();

}  // namespace editor
