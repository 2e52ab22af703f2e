// dialog_layout.h -- building fixed-layout dialogs from dialog-unit templates.
#pragma once
#include <functional>

#include <QString>

class QDialog;
class QKeySequence;
class QLabel;
class QWidget;

namespace editor {

// Pixel size of the dialog font (about 8 points on a 96-dpi screen).
constexpr int dialog_font_pixels = 11;
// Static texts higher than this (dialog units) hold more than one line.
constexpr int one_line_height = 10;

// Sets up `dialog` as a fixed-size modal dialog of width x height dialog
// units with a caption and a close box, the dialog font and the program icon.
void set_up_dialog(QDialog& dialog, const QString& caption, int width, int height);

// Places `widget` at its template rectangle (dialog units) with setGeometry.
void place(QWidget* widget, int x, int y, int width, int height);

// Widens `widget` to its text's width when the template's is too narrow.
void fit_text_width(QWidget* widget);

// Names `widget` after its control id ("ctl_<id>") so tests can find it.
void name_control(QWidget* widget, int id);

// A static text at its template rectangle.
QLabel* add_static_text(QWidget* parent, const QString& text, int x, int y, int width, int height);

// Moves a slider's side text that runs into `slider` (template places were
// measured with a narrower font) to end, or start, a few pixels off the
// slider's nearer end, keeping its row. Does nothing when they do not meet.
void keep_clear_of(QLabel* label, const QWidget* slider);

// A label showing the value of slider `id` at its template rectangle, named
// "value_<id>"; its text is set by the caller whenever the slider moves.
QLabel* add_value_label(QWidget* parent, int id, int x, int y, int width);

// Calls `on_key` when `keys` are pressed anywhere in `window`.
void add_window_shortcut(QWidget* window, const QKeySequence& keys, std::function<void()> on_key);

// A static text at a template position, as wide and high as its text needs.
QLabel* add_label_at(QWidget* parent, const QString& text, int x, int y);

}  // namespace editor
