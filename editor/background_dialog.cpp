// background_dialog.cpp -- the background definition: choose, view and clear four picture slots.
#include "editor/background_dialog.h"

#include <QDialog>
#include <QFileInfo>
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

// Tells the user when a slot names a file the simulator cannot show: not a
// JPEG picture, or no longer readable. Empty for a JPEG or "Unused".
void update_note(QLabel* note, const std::string& path) {
    if (is_unused_path(path)) {
        note->clear();
        note->setToolTip({});
        return;
    }
    switch (check_picture_file(path)) {
    case PictureCheck::jpeg:
        note->clear();
        note->setToolTip({});
        break;
    case PictureCheck::not_jpeg:
        note->setText("not JPEG");
        note->setToolTip("This file is not a JPEG picture: the simulator shows only JPEG backgrounds.");
        break;
    case PictureCheck::unreadable:
        note->setText("missing");
        note->setToolTip("This file cannot be read: it will not be saved into the vision file.");
        break;
    }
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
    set_up_dialog(*dialog, "Background definition.", 360, 173);

    for (int slot = 0; slot < vision::picture_slots; ++slot) {
        const int y = row_y[slot];
        add_static_text(dialog, QString("Background %1").arg(slot + 1), 21, y + 3, 44, 8);

        auto* field = new QLineEdit(dialog);
        name_control(field, id_first_path_field + slot);
        place(field, 72, y, 125, 14);
        field->setReadOnly(true);
        field->setText(QString::fromStdString(picture_path(header, slot)));

        // Between "look" and "erase": why a chosen file may not become a background.
        auto* note = new QLabel(dialog);
        note->setObjectName(QString("note_%1").arg(slot));
        place(note, 284, y + 3, 33, 8);
        QFont small = note->font();
        small.setPixelSize(9);
        small.setBold(true);
        note->setFont(small);
        note->setStyleSheet("color: #b00000");
        update_note(note, picture_path(header, slot));

        QPushButton* search = add_button(dialog, "search image", id_first_search_button + slot, 200, y, 50);
        QPushButton* look = add_button(dialog, "look", id_first_look_button + slot, 254, y, 28);
        QPushButton* erase = add_button(dialog, "erase", id_first_erase_button + slot, 318, y, 28);

        QObject::connect(search, &QPushButton::clicked, dialog, [dialog, &state, &header, slot, field, note] {
            static const QList<FileType> types{{"jpg", "*.jpg"}, {"All files", "*.*"}};
            ChosenFile chosen;
            if (!choose_file_to_open(dialog, state, "Load JPG as background", types, "jpg", chosen))
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
            field->setText(chosen.name);
            update_note(note, path);
        });
        QObject::connect(look, &QPushButton::clicked, dialog, [&header, slot] {
            open_with_shell(QString::fromStdString(picture_path(header, slot)));
        });
        QObject::connect(erase, &QPushButton::clicked, dialog, [&header, slot, field, note] {
            erase_picture_path(header, slot);
            field->setText(vision::unused_path);
            update_note(note, vision::unused_path);
        });
    }

    add_static_text(dialog, "Select the backgrounds you want to see in your simulation.", 14, 113, 327, 19);
    QPushButton* ok = add_button(dialog, "OK", id_background_ok, 154, 141, 50);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    return dialog;
}

void run_background_dialog(QWidget* owner, EditorState& state) {
    QDialog* dialog = create_background_dialog(owner, state);
    dialog->exec();
    delete dialog;
}

}  // namespace editor
