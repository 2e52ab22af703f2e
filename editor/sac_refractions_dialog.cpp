// sac_refractions_dialog.cpp -- the streak tracing dialog's widgets and mouse tracing.
#include "editor/sac_refractions_dialog.h"

#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <memory>

#include "editor/cursors.h"
#include "editor/dialog_layout.h"
#include "editor/model/editor_state.h"
#include "editor/model/sac_refractions.h"
#include "editor/picture_resources.h"

namespace editor {
namespace {

constexpr int dialog_width_units = 515;
constexpr int dialog_height_units = 335;

struct RadioPlace {
    int id;
    const char* caption;
    int x, width;  // all at y 316, 10 units high
};
constexpr RadioPlace radio_places[] = {
    {id_seen_always, "always", 90, 38},
    {id_seen_moving, "moving my eyes", 132, 67},
    {id_seen_left_right, "moving my eyes left-right / right-left", 201, 132},
    {id_seen_top_bottom, "moving my eyes top-bottom / bottom-top", 360, 148},
};

// The template widths were made for a narrower dialog font: a caption that
// does not fit its fixed width gets a smaller font instead of being cut.
void fit_caption(QWidget* widget) {
    QFont font = widget->font();
    constexpr int smallest_pixels = 8;
    while (widget->sizeHint().width() > widget->width() && font.pixelSize() > smallest_pixels) {
        font.setPixelSize(font.pixelSize() - 1);
        widget->setFont(font);
    }
}

const PixelPicture& streak_picture() {
    static const PixelPicture picture = make_eye_picture();
    return picture;
}

class SacRefractionsDialog : public QDialog {
public:
    SacRefractionsDialog(QWidget* owner, EditorState& state) : QDialog(owner), state_(state) {
        set_up_dialog(*this, sac_refractions_caption(current_streak_index(state)),
                      dialog_width_units, dialog_height_units);
        setObjectName("sac_refractions");
        setMouseTracking(true);
        build_controls();
        show_number();
        // The trackbar and the radio buttons show the streak the dialog opens
        // on; stepping to another streak does not reload them.
        const vision::Streak& streak = current_streak(state_);
        {
            const QSignalBlocker quiet(brightness_);
            brightness_->setValue(brightness_position(streak.brightness));
        }
        show_brightness();
        if (QAbstractButton* radio = seen_->button(radio_of_when_seen(streak.when_seen)))
            radio->setChecked(true);
        update_cursor();
    }

protected:
    // The picture is recomposed whenever it is painted, as the canvas is
    // shared with the other windows; the controls' area needs no drawing.
    void paintEvent(QPaintEvent* event) override {
        const QRect picture_area(0, 0, streak_picture_width, streak_picture_height);
        if (!event->rect().intersects(picture_area)) return;
        redraw_streaks(state_, streak_picture());
        QPainter painter(this);
        painter.drawImage(QPoint(0, 0), canvas_image(state_.canvas), picture_area);
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return QDialog::mousePressEvent(event);
        const QPoint at = client_position(event);
        if (streak_press(state_, at.x(), at.y())) update_picture();
        update_cursor();
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        const QPoint at = client_position(event);
        if (streak_move(state_, at.x(), at.y())) update_picture();
        update_cursor();
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return QDialog::mouseReleaseEvent(event);
        streak_release(state_);
    }

private:
    static QPoint client_position(const QMouseEvent* event) {
        const QPoint at = event->position().toPoint();
        return {client_coordinate(at.x()), client_coordinate(at.y())};
    }

    void update_picture() { update(0, 0, streak_picture_width, streak_picture_height); }

    void update_cursor() {
        setCursor(streak_wants_pen(state_) ? floater_cursor() : arrow_cursor());
    }

    void build_controls() {
        auto* group = new QGroupBox("Streaks", this);
        place(group, 429, 7, 79, 285);
        group->lower();

        auto* previous = add_button("<", id_streak_previous, 433, 24, 21, 14);
        number_field_ = new QLineEdit(this);
        number_field_->setReadOnly(true);
        number_field_->setAlignment(Qt::AlignCenter);
        name_control(number_field_, id_streak_number);
        place(number_field_, 456, 24, 25, 14);
        auto* next = add_button(">", id_streak_next, 484, 24, 21, 14);
        connect(previous, &QPushButton::clicked, this, [this] { step(-1); });
        connect(next, &QPushButton::clicked, this, [this] { step(+1); });

        auto* clear = add_button("clear all", id_clear_all, 447, 189, 50, 14);
        connect(clear, &QPushButton::clicked, this, [this] {
            clear_streak(state_);
            update_picture();
        });
        // Ctrl+Z takes back the last traced point.
        add_window_shortcut(this, QKeySequence(Qt::CTRL | Qt::Key_Z), [this] {
            delete_last_point(state_);
            update_picture();
        });
        auto* ok = add_button("OK", id_streak_ok, 447, 270, 50, 14);
        ok->setDefault(true);
        connect(ok, &QPushButton::clicked, this, [this] {
            accept_when_seen(state_, seen_->checkedId());
            accept();
        });

        add_static_text(this, "Trace the outline of the streak/flash you see, and select its bright",
                        7, 302, 211, 8);
        brightness_ = new QSlider(Qt::Horizontal, this);
        brightness_->setRange(brightness_minimum, brightness_maximum);
        brightness_->setPageStep(brightness_page);
        brightness_->setTickPosition(QSlider::NoTicks);
        name_control(brightness_, id_brightness);
        place(brightness_, 313, 297, 100, 15);
        // "less" and "more" sit just off the trackbar's ends, on one line;
        // the value follows "more".
        add_label_at(this, "Bright:", 260, 301);
        keep_clear_of(add_label_at(this, "less", 302, 301), brightness_);
        QLabel* more = add_label_at(this, "more", 411, 301);
        keep_clear_of(more, brightness_);
        brightness_value_ = new QLabel(this);
        brightness_value_->setObjectName(QString("value_%1").arg(id_brightness));
        brightness_value_->setGeometry(more->geometry().right() + 7, more->y(),
                                       QFontMetrics(font()).horizontalAdvance("100 %") + 4, more->height());
        connect(brightness_, &QSlider::valueChanged, this, [this](int position) {
            current_streak(state_).brightness = brightness_from_position(position);
            show_brightness();
            update_picture();
        });

        add_static_text(this, "You see this flash:", 15, 316, 60, 8);
        seen_ = new QButtonGroup(this);
        seen_->setExclusive(true);
        for (const RadioPlace& where : radio_places) {
            auto* radio = new QRadioButton(where.caption, this);
            name_control(radio, where.id);
            place(radio, where.x, 316, where.width, 10);
            seen_->addButton(radio, where.id);
            fit_caption(radio);
        }
    }

    QPushButton* add_button(const char* caption, int id, int x, int y, int width, int height) {
        auto* button = new QPushButton(caption, this);
        button->setAutoDefault(false);
        name_control(button, id);
        place(button, x, y, width, height);
        return button;
    }

    void step(int direction) {
        step_streak(state_, direction);
        show_number();
        update_picture();
    }

    void show_brightness() {
        brightness_value_->setText(QString::fromStdString(brightness_text(brightness_->value())));
    }

    void show_number() {
        number_field_->setText(QString::number(streak_number_in_eye(current_streak_index(state_))));
    }

    EditorState& state_;
    QLineEdit* number_field_ = nullptr;
    QSlider* brightness_ = nullptr;
    QLabel* brightness_value_ = nullptr;
    QButtonGroup* seen_ = nullptr;
};

}  // namespace

QDialog* create_sac_refractions_dialog(QWidget* owner, EditorState& state) {
    return new SacRefractionsDialog(owner, state);
}

void run_sac_refractions_dialog(QWidget* owner, EditorState& state) {
    std::unique_ptr<QDialog> dialog(create_sac_refractions_dialog(owner, state));
    dialog->exec();
}

}  // namespace editor
