// personal_dialog.cpp -- the personal information form: questionnaire, trackbars, tint swatch, comments.
#include "editor/personal_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "editor/dialog_layout.h"
#include "editor/model/editor_state.h"
#include "editor/model/personal_form.h"

namespace editor {
namespace {

constexpr int swatch_left = 540;  // client pixels, not dialog units
constexpr int swatch_top = 225;
constexpr int swatch_size = 60;

struct CheckBoxTemplate {
    int id;
    const char* caption;
    int x, y, width, height;
};

const CheckBoxTemplate check_box_templates[] = {
    {id_myopia, "Do you have miopia?", 18, 25, 82, 10},
    {id_blood_cells, "Do you see points of light moving quickly while looking at the sky?", 18, 52, 225, 10},
    {id_retina_shadow, "Do you see a \u201cretina shadow\u201d from your retinal vascular system?", 18, 88, 223, 10},
    {id_cataracts, "Do you have cataracts?", 18, 108, 92, 10},
    {id_sunglasses, "Do you wear sunglasses for your floaters? If yes, what color tint?", 18, 141, 226, 10},
    {id_flashes, "Do you have flashes of light that look like a photo flash?", 18, 179, 195, 10},
    {id_stars, "Do you have flashes of light that look like fixed points of light that disapear after a period of time?", 18, 193, 329, 10},
    {id_sparks, "Do you have flashes of light that look like fireworks and/or little points of light that move around your field of view? ", 18, 207, 385, 10},
    {id_sac_refractions, "Do you have flashes of light that look like lines of light that streak across your field of view?", 18, 221, 307, 9},
};

struct TrackbarTemplate {
    int id;
    int x, y;  // width 73, height 15 for all
};
constexpr TrackbarTemplate trackbar_templates[] = {
    {id_blood_count, 102, 66}, {id_blood_brightness, 281, 66}, {id_cataract_clarity, 111, 121},
    {id_tint_red, 73, 157},    {id_tint_green, 171, 157},      {id_tint_blue, 262, 157}};

struct LabelTemplate {
    const char* text;
    int x, y;
};
constexpr LabelTemplate trackbar_labels[] = {
    {"a few", 81, 68},  {"a lot", 177, 69},  {"dim", 265, 69}, {"bright", 359, 69},
    {"little cataracts", 59, 124}, {"severe cataracts", 192, 124},
    {"Red", 59, 160},   {"Green", 151, 160}, {"Blue", 248, 160}};

constexpr int dioptre_x[dioptre_buttons] = {106, 137, 168, 199, 230, 260, 292, 322, 354, 384};

void paint_swatch(QWidget* swatch, const vision::Header& header) {
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, QColor(header.tint_red & 255, header.tint_green & 255,
                                              header.tint_blue & 255));
    swatch->setPalette(palette);
}

const TrackbarRange& range_of(int id) {
    for (const TrackbarRange& range : trackbar_ranges)
        if (range.id == id) return range;
    return trackbar_ranges[0];
}

// The label that shows trackbar `id`'s value: after the text at the
// trackbar's right end where the row has room, else (the tints, whose
// trackbars nearly touch the next one's text) centred below the trackbar.
QLabel* value_label(QDialog* dialog, int id, const QSlider* slider, const QList<QLabel*>& labels) {
    const char* right_text = id == id_blood_count        ? "a lot"
                             : id == id_blood_brightness ? "bright"
                             : id == id_cataract_clarity ? "severe cataracts"
                                                         : nullptr;
    auto* value = new QLabel(dialog);
    value->setObjectName(QString("value_%1").arg(id));
    const std::string longest = trackbar_text(id, range_of(id).maximum);
    const int widest = QFontMetrics(dialog->font()).horizontalAdvance(QString::fromStdString(longest)) + 4;
    for (QLabel* label : labels) {
        if (!right_text || label->text() != right_text) continue;
        value->setGeometry(label->geometry().right() + 8, label->y(), widest, label->height());
        return value;
    }
    QFont small = dialog->font();
    small.setPixelSize(dialog_font_pixels - 1);
    value->setFont(small);
    value->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    value->setGeometry(slider->x(), slider->geometry().bottom() + 1, slider->width(),
                       QFontMetrics(small).height());
    return value;
}

}  // namespace

QDialog* create_personal_dialog(QWidget* owner, EditorState& state) {
    vision::Header& header = state.doc->header;
    auto* dialog = new QDialog(owner);
    dialog->setObjectName("DLG_PERSONAL");
    set_up_dialog(*dialog, "Personal information form", 422, 308);

    add_static_text(dialog, "Welcome to the general form, please answer the following questions:",
                    7, 7, 222, 8);
    add_static_text(dialog, "Diopters", 72, 38, 28, 8);
    add_static_text(dialog,
                    "Additional comments (i.e. how long have you had your floaters, how difficult "
                    "is it for you to cope, etc.)",
                    7, 239, 330, 8);
    QList<QLabel*> labels;
    for (const LabelTemplate& label : trackbar_labels)
        labels << add_label_at(dialog, label.text, label.x, label.y);

    QList<QCheckBox*> boxes;
    for (const CheckBoxTemplate& t : check_box_templates) {
        auto* box = new QCheckBox(QString::fromUtf8(t.caption), dialog);
        name_control(box, t.id);
        place(box, t.x, t.y, t.width, t.height);
        fit_text_width(box);
        box->setChecked(*check_box_field(header, t.id) == 1);
        boxes << box;
    }

    auto* dioptres = new QButtonGroup(dialog);
    dioptres->setExclusive(true);
    for (int k = 1; k <= dioptre_buttons; ++k) {
        auto* radio = new QRadioButton(QString("-%1D").arg(k), dialog);
        const int id = id_first_dioptre - 1 + k;
        name_control(radio, id);
        place(radio, dioptre_x[k - 1], 37, k == dioptre_buttons ? 31 : 27, 10);
        fit_text_width(radio);
        dioptres->addButton(radio, id);
    }
    if (const int selected = dioptre_button(header); selected >= 0)
        dioptres->button(selected)->setChecked(true);

    auto* swatch = new QWidget(dialog);
    swatch->setObjectName("swatch");
    swatch->setGeometry(swatch_left, swatch_top, swatch_size, swatch_size);
    swatch->setAutoFillBackground(true);
    paint_swatch(swatch, header);

    for (const TrackbarTemplate& t : trackbar_templates) {
        const TrackbarRange& range = range_of(t.id);
        auto* slider = new QSlider(Qt::Horizontal, dialog);
        name_control(slider, t.id);
        place(slider, t.x, t.y, 73, 15);
        slider->setTickPosition(QSlider::NoTicks);
        slider->setRange(range.minimum, range.maximum);
        slider->setPageStep(range.page);
        slider->setValue(trackbar_position(header, t.id));
        for (QLabel* label : labels) keep_clear_of(label, slider);
        QLabel* value = value_label(dialog, t.id, slider, labels);
        value->setText(QString::fromStdString(trackbar_text(t.id, slider->value())));
        // Each move is stored at once, so it survives the close box.
        const int id = t.id;
        QObject::connect(slider, &QSlider::valueChanged, dialog, [&header, id, swatch, value](int position) {
            store_trackbar(header, id, position);
            value->setText(QString::fromStdString(trackbar_text(id, position)));
            if (id == id_tint_red || id == id_tint_green || id == id_tint_blue)
                paint_swatch(swatch, header);
        });
    }

    auto* comments = new QPlainTextEdit(dialog);
    name_control(comments, id_comments);
    place(comments, 11, 251, 315, 50);
    comments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    comments->setTabChangesFocus(true);
    // One byte per character both ways, so the 31999-character limit is exact.
    comments->setPlainText(QString::fromLatin1(comments_for_display(header)));

    auto* ok = new QPushButton("ok", dialog);
    name_control(ok, id_personal_ok);
    place(ok, 365, 275, 50, 26);
    ok->setAutoDefault(false);
    QObject::connect(ok, &QPushButton::clicked, dialog, [dialog, &header, boxes, dioptres, comments] {
        for (QCheckBox* box : boxes) {
            const int id = box->objectName().mid(4).toInt();
            *check_box_field(header, id) = box->isChecked() ? 1 : 0;
        }
        if (const int selected = dioptres->checkedId(); selected >= id_first_dioptre)
            header.myopia_dioptres = selected - id_first_dioptre + 1;
        store_comments(header, comments->toPlainText().toLatin1().toStdString());
        dialog->accept();
    });
    return dialog;
}

void run_personal_dialog(QWidget* owner, EditorState& state) {
    QDialog* dialog = create_personal_dialog(owner, state);
    dialog->exec();
    delete dialog;
}

}  // namespace editor
