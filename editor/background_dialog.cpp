// background_dialog.cpp -- the background definition: choose, view and clear four picture slots.
#include "editor/background_dialog.h"

#include <QDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editor/dialog_layout.h"
#include "editor/file_choosers.h"
#include "editor/messages.h"
#include "editor/model/background_slots.h"
#include "editor/model/editor_state.h"

namespace editor {
namespace {

constexpr int row_y[vision::picture_slots] = {41, 57, 73, 89};
// Beyond the template's 360 units, a column says what each slot's file is.
constexpr int dialog_width_units = 520;
constexpr int note_x = 352;
constexpr int note_width = 162;
// The preview sits in the gap between "look" and "erase".
constexpr int preview_x = 285;
constexpr int preview_width = 30;

QString size_note(const std::string& path) {
    JpegSize size;
    if (!read_jpeg_size(path, size)) return "no picture size found: the file may be damaged";
    if (size.shown_width == 0) return QString("%1 x %2: too large, the simulator cannot show it")
                                          .arg(size.width).arg(size.height);
    if (size.shown_width != size.width)
        return QString("%1 x %2:\nthe simulator shows it at %3 x %4")
            .arg(size.width).arg(size.height).arg(size.shown_width).arg(size.shown_height);
    if (size.width == scene_width && size.height == scene_height) return {};
    return QString("%1 x %2:\nthe simulator looks around in a %3 x %4 picture")
        .arg(size.width).arg(size.height).arg(scene_width).arg(scene_height);
}

// Tells the person what a slot's file will give the simulator: nothing to
// say for a 1280 x 960 JPEG or "Unused"; otherwise why it is not shown, the
// reduced size a larger photo is shown at, or its size when it is not the
// size the simulator looks around in.
void update_note(QLabel* note, const std::string& path) {
    QString text;
    if (!is_unused_path(path)) {
        switch (check_picture_file(path)) {
        case PictureCheck::jpeg: text = size_note(path); break;
        case PictureCheck::not_jpeg: text = "not JPEG: the simulator shows only JPEG pictures"; break;
        case PictureCheck::unreadable: text = "missing: this file cannot be read, it will not be saved"; break;
        }
    }
    note->setText(text);
    note->setToolTip(text);
}

// Pictures the simulator cannot show, and files larger than a save embeds,
// get no preview, so a damaged or hostile file cannot keep the dialog
// decoding.
constexpr qint64 largest_preview_bytes = 64 << 20;

// A small picture of a JPEG slot, decoded at a reduced size; empty otherwise.
void update_preview(QLabel* preview, const std::string& path) {
    preview->clear();
    if (is_unused_path(path) || check_picture_file(path) != PictureCheck::jpeg) return;
    JpegSize size;
    if (!read_jpeg_size(path, size) || size.shown_width == 0 ||
        QFileInfo(QString::fromStdString(path)).size() > largest_preview_bytes)
        return;
    QImageReader reader(QString::fromStdString(path));
    const QSize full = reader.size();
    if (full.isEmpty()) return;
    reader.setScaledSize(full.scaled(preview->size(), Qt::KeepAspectRatio));
    const QImage small = reader.read();
    if (!small.isNull()) preview->setPixmap(QPixmap::fromImage(small));
}

QPushButton* add_button(QDialog* dialog, const char* caption, int id, int x, int y, int width) {
    auto* button = new QPushButton(caption, dialog);
    name_control(button, id);
    place(button, x, y, width, 14);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

QDialog* create_background_dialog(QWidget* owner, EditorState& state) {
    vision::Header& header = state.doc->header;
    auto* dialog = new QDialog(owner);
    dialog->setObjectName("DLG_BACKGROUND");
    set_up_dialog(*dialog, "Background definition.", dialog_width_units, 173);

    for (int slot = 0; slot < vision::picture_slots; ++slot) {
        const int y = row_y[slot];
        add_static_text(dialog, QString("Background %1").arg(slot + 1), 21, y + 3, 44, 8);

        auto* field = new QLineEdit(dialog);
        name_control(field, id_first_path_field + slot);
        place(field, 72, y, 125, 14);
        field->setReadOnly(true);
        field->setText(QString::fromStdString(picture_path(header, slot)));

        auto* preview = new QLabel(dialog);
        preview->setObjectName(QString("preview_%1").arg(slot));
        place(preview, preview_x, y, preview_width, 14);
        preview->setAlignment(Qt::AlignCenter);
        update_preview(preview, picture_path(header, slot));

        auto* note = new QLabel(dialog);
        note->setObjectName(QString("note_%1").arg(slot));
        place(note, note_x, y, note_width, 14);
        note->setWordWrap(true);
        note->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        QFont small = note->font();
        small.setPixelSize(9);
        small.setBold(true);
        note->setFont(small);
        note->setStyleSheet("color: #b00000");
        update_note(note, picture_path(header, slot));

        QPushButton* search = add_button(dialog, "search image", id_first_search_button + slot, 200, y, 50);
        QPushButton* look = add_button(dialog, "look", id_first_look_button + slot, 254, y, 28);
        QPushButton* erase = add_button(dialog, "erase", id_first_erase_button + slot, 318, y, 28);

        QObject::connect(search, &QPushButton::clicked, dialog,
                         [dialog, &state, &header, slot, field, note, preview] {
            ChosenFile chosen;
            if (!choose_picture_to_open(dialog, state, "Load JPG as background", picture_file_types(),
                                        "jpg", chosen))
                return;
            const std::string path = chosen.path.toStdString();
            if (!set_picture_path(header, slot, path)) {
                show_warning(dialog, "Load JPG as background",
                             QString("The path of \"%1\" is %2 characters long; a background can "
                                     "be at most %3. Move the picture to a shorter path and choose "
                                     "it again.")
                                 .arg(chosen.path)
                                 .arg(path.size())
                                 .arg(max_picture_path_length));
                return;
            }
            state.picture_origin[slot] = PictureOrigin::chosen;
            field->setText(chosen.name);
            update_note(note, path);
            update_preview(preview, path);
        });
        QObject::connect(look, &QPushButton::clicked, dialog, [dialog, &header, slot] {
            const std::string path = picture_path(header, slot);
            if (is_unused_path(path)) {
                show_warning(dialog, "look",
                             QString("Background %1 is Unused: choose a picture with \"search image\" first.")
                                 .arg(slot + 1));
                return;
            }
            open_with_shell(dialog, "look", QString::fromStdString(path));
        });
        QObject::connect(erase, &QPushButton::clicked, dialog, [&state, &header, slot, field, note, preview] {
            erase_picture_path(header, slot);
            state.picture_origin[slot] = PictureOrigin::chosen;
            field->setText(vision::unused_path);
            update_note(note, vision::unused_path);
            update_preview(preview, vision::unused_path);
        });
    }

    add_static_text(dialog, "Select the backgrounds you want to see in your simulation.", 14, 113, 327, 19);
    QPushButton* ok = add_button(dialog, "OK", id_background_ok, (dialog_width_units - 50) / 2, 141, 50);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    return dialog;
}

void run_background_dialog(QWidget* owner, EditorState& state) {
    QDialog* dialog = create_background_dialog(owner, state);
    dialog->exec();
    delete dialog;
}

}  // namespace editor
