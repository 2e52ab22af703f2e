// floater_map_dialog.cpp -- the floater map's widgets: map area, settings group and mouse drawing.
#include "editor/floater_map_dialog.h"

#include <QDialog>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <memory>

#include "editor/cursors.h"
#include "editor/dialog_layout.h"
#include "editor/model/editor_state.h"
#include "editor/model/floater_map.h"
#include "editor/picture_resources.h"

namespace editor {
namespace {

// The template's 628 units plus a column for the sliders' values.
constexpr int dialog_width_units = 662;
constexpr int settings_width_units = 120;  // the group box, 86 in the template
constexpr int value_x = 613;               // right of the sliders, which end at 610
constexpr int value_width = 40;
constexpr int dialog_height_units = 377;

struct SliderPlace {
    int id;
    const char* label;
    int label_y;  // the label sits at x 543
    int y;        // the slider sits at x 545, 65 x 15 units
};
constexpr SliderPlace slider_places[floater_slider_count] = {
    {id_dot_density, "dots density", 50, 60},
    {id_dot_size_x, "dot size X axis", 77, 87},
    {id_dot_size_y, "dot size Y axis", 104, 114},
    {id_transparency, "transparence level", 131, 142},
    {id_diffusion, "floater diffusion", 159, 170},
    {id_floater_density, "floater density", 188, 198},
    {id_movement_x, "floater movement in X", 215, 226},
    {id_movement_y, "floater movement in Y", 244, 255},
};

const PixelPicture& map_picture() {
    static const PixelPicture picture = make_map_picture();
    return picture;
}

class FloaterMapDialog : public QDialog {
public:
    FloaterMapDialog(QWidget* owner, EditorState& state) : QDialog(owner), state_(state) {
        set_up_dialog(*this, floater_map_caption(current_map_eye(state)), dialog_width_units,
                      dialog_height_units);
        setObjectName("floater_map");
        setMouseTracking(true);
        build_controls();
        open_floater_map(state_);
        show_index();
        load_sliders();
        update_cursor();
    }

protected:
    // The map area is recomposed whenever it is painted, as the canvas is
    // shared with the other windows; the controls' area needs no drawing.
    void paintEvent(QPaintEvent* event) override {
        const QRect map_area(0, 0, floater_map_width, floater_map_height);
        if (!event->rect().intersects(map_area)) return;
        redraw_floater_map(state_, map_picture());
        QPainter painter(this);
        painter.drawImage(QPoint(0, 0), canvas_image(state_.canvas), map_area);
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return QDialog::mousePressEvent(event);
        const QPoint at = client_position(event);
        if (floater_map_press(state_, at.x(), at.y())) update_map();
        update_cursor();
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        const QPoint at = client_position(event);
        if (floater_map_move(state_, at.x(), at.y())) update_map();
        update_cursor();
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return QDialog::mouseReleaseEvent(event);
        floater_map_release(state_);
    }

private:
    static QPoint client_position(const QMouseEvent* event) {
        const QPoint at = event->position().toPoint();
        return {client_coordinate(at.x()), client_coordinate(at.y())};
    }

    void update_map() { update(0, 0, floater_map_width, floater_map_height); }

    void update_cursor() {
        setCursor(floater_map_wants_pen(state_) ? floater_cursor() : arrow_cursor());
    }

    void build_controls() {
        auto* group = new QGroupBox("Floater settings", this);
        place(group, 535, 7, settings_width_units, 363);
        group->lower();
        // The stepper stays centred in the wider group box.
        constexpr int shift = (settings_width_units - 86) / 2;
        add_static_text(this, "floater:", 568 + shift, 18, 25, 8);

        auto* previous = add_button("<", id_floater_previous, 542 + shift, 28, 21, 14);
        index_field_ = new QLineEdit(this);
        index_field_->setReadOnly(true);
        index_field_->setAlignment(Qt::AlignCenter);
        name_control(index_field_, id_floater_index);
        place(index_field_, 567 + shift, 28, 25, 14);
        auto* next = add_button(">", id_floater_next, 596 + shift, 28, 21, 14);
        connect(previous, &QPushButton::clicked, this, [this] { step(-1); });
        connect(next, &QPushButton::clicked, this, [this] { step(+1); });

        for (int n = 0; n < floater_slider_count; ++n) {
            const SliderPlace& where = slider_places[n];
            const SliderRange& range = floater_sliders[n];
            add_label_at(this, where.label, 543, where.label_y);
            auto* slider = new QSlider(Qt::Horizontal, this);
            slider->setRange(range.minimum, range.maximum);
            slider->setPageStep(1);
            slider->setSingleStep(1);
            slider->setTickPosition(QSlider::NoTicks);
            name_control(slider, range.id);
            place(slider, 545, where.y, 65, 15);
            values_[n] = add_value_label(this, range.id, value_x, where.y + 2, value_width);
            const int id = range.id;
            connect(slider, &QSlider::valueChanged, this, [this, id, n](int position) {
                store_floater_slider(current_floater_record(state_), id, position);
                show_value(n);
                update_map();
            });
            sliders_[n] = slider;
        }

        auto* delete_floater = add_button("delete floater", id_delete_floater, 551 + shift, 305, 58, 14);
        auto* delete_dot = add_button("delete last dot", id_delete_last_dot, 551 + shift, 326, 58, 14);
        // Ctrl+Z takes back the last dot, as "delete last dot" does.
        add_window_shortcut(this, QKeySequence(Qt::CTRL | Qt::Key_Z), [delete_dot] { delete_dot->click(); });
        connect(delete_floater, &QPushButton::clicked, this, [this] {
            delete_floater_dots(state_);
            update_map();
            load_sliders();
        });
        connect(delete_dot, &QPushButton::clicked, this, [this] {
            delete_last_dot(state_);
            update_map();
            load_sliders();
        });
    }

    QPushButton* add_button(const char* caption, int id, int x, int y, int width, int height) {
        auto* button = new QPushButton(caption, this);
        button->setAutoDefault(false);  // the map has no default action
        name_control(button, id);
        place(button, x, y, width, height);
        return button;
    }

    void step(int direction) {
        step_floater(state_, direction);
        show_index();
        update_map();
        load_sliders();
    }

    void show_index() { index_field_->setText(QString::number(current_map_floater(state_))); }

    // Shows the current floater's settings without storing anything back.
    void load_sliders() {
        const vision::FloaterRecord& record = current_floater_record(state_);
        for (int n = 0; n < floater_slider_count; ++n) {
            const QSignalBlocker quiet(sliders_[n]);
            sliders_[n]->setValue(floater_slider_position(record, floater_sliders[n].id));
            show_value(n);
        }
    }

    void show_value(int n) {
        values_[n]->setText(
            QString::fromStdString(floater_slider_text(floater_sliders[n].id, sliders_[n]->value())));
    }

    EditorState& state_;
    QLineEdit* index_field_ = nullptr;
    QSlider* sliders_[floater_slider_count] = {};
    QLabel* values_[floater_slider_count] = {};
};

}  // namespace

QDialog* create_floater_map_dialog(QWidget* owner, EditorState& state) {
    return new FloaterMapDialog(owner, state);
}

void run_floater_map_dialog(QWidget* owner, EditorState& state) {
    std::unique_ptr<QDialog> dialog(create_floater_map_dialog(owner, state));
    dialog->exec();
}

}  // namespace editor
