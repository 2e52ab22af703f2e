// dialog_layout.cpp -- fixed geometry, font and frame shared by the editor's form dialogs.
#include "editor/dialog_layout.h"

#include <QApplication>
#include <QDialog>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>

#include "editor/model/dialog_units.h"

namespace editor {

void set_up_dialog(QDialog& dialog, const QString& caption, int width, int height) {
    // The condensed face keeps the template texts within their rectangles.
    QFont font("DejaVu Sans Condensed");
    font.setPixelSize(dialog_font_pixels);
    dialog.setFont(font);
    dialog.setWindowTitle(caption);
    dialog.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint);
    dialog.setWindowIcon(QApplication::windowIcon());
    dialog.setModal(true);
    const PixelRect size = from_dialog_units(0, 0, width, height);
    dialog.setFixedSize(size.width, size.height);
}

void place(QWidget* widget, int x, int y, int width, int height) {
    const PixelRect rect = from_dialog_units(x, y, width, height);
    widget->setGeometry(rect.x, rect.y, rect.width, rect.height);
}

void fit_text_width(QWidget* widget) {
    const int needed = widget->sizeHint().width();
    if (needed > widget->width()) widget->resize(needed, widget->height());
}

void name_control(QWidget* widget, int id) { widget->setObjectName(QString("ctl_%1").arg(id)); }

QLabel* add_static_text(QWidget* parent, const QString& text, int x, int y, int width, int height) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Texts of two lines wrap inside their rectangle; one-line texts keep to
    // one line and may run past it, as our font is a little wider than the
    // one the templates were measured with.
    label->setWordWrap(height > one_line_height);
    place(label, x, y, width, height);
    if (!label->wordWrap()) fit_text_width(label);
    return label;
}

void keep_clear_of(QLabel* label, const QWidget* slider) {
    constexpr int gap = 3;
    const QRect area = slider->geometry();
    if (!label->geometry().intersects(area)) return;
    if (label->geometry().center().x() < area.center().x())
        label->move(area.left() - gap - label->width(), label->y());
    else
        label->move(area.right() + 1 + gap, label->y());
}

QLabel* add_value_label(QWidget* parent, int id, int x, int y, int width) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString("value_%1").arg(id));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    place(label, x, y, width, one_line_height);
    return label;
}

void add_window_shortcut(QWidget* window, const QKeySequence& keys, std::function<void()> on_key) {
    auto* shortcut = new QShortcut(keys, window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, std::move(on_key));
}

QLabel* add_label_at(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->adjustSize();
    label->move(dialog_x(x), dialog_y(y));
    return label;
}

}  // namespace editor
