// web_page_command.cpp -- the export of a vision as one web page: dialog, menu command, writing.
#include "editor/web_page_command.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <cstring>
#include <memory>

#include "editor/dialog_layout.h"
#include "editor/file_choosers.h"
#include "editor/main_window.h"
#include "editor/messages.h"
#include "editor/model/background_slots.h"
#include "editor/model/editor_state.h"
#include "editor/model/report_source.h"
#include "editor/model/web_page.h"

namespace editor {
namespace {

constexpr char command_title[] = "Save as web page";
constexpr char not_made[] = "No web page was made.";

QPushButton* add_button(QDialog* dialog, const char* caption, int id, int x, int y) {
    auto* button = new QPushButton(QString::fromUtf8(caption), dialog);
    name_control(button, id);
    place(button, x, y, 50, 14);
    return button;
}

}  // namespace

QString web_player_path() {
    return find_data_file(QCoreApplication::applicationDirPath(), web_player_file);
}

QString read_web_player(const QString& path, std::string& out) {
    out.clear();
    if (!QFileInfo(path).isFile())
        return QString("The web player is not installed: there is no \"%1\". It is built with the editor "
                       "only where emscripten is installed. %2")
            .arg(path, not_made);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString("Could not read the web player \"%1\": %2. %3").arg(path, file.errorString(), not_made);
    const QByteArray bytes = file.readAll();
    out.assign(bytes.constData(), size_t(bytes.size()));
    const std::string problem = web_template_problem(out);
    if (problem.empty()) return {};
    out.clear();
    return QString("The web player \"%1\" is damaged: %2. %3")
        .arg(path, QString::fromStdString(problem), not_made);
}

QString write_web_page(const QString& path, const std::string& page_template, const std::vector<uint8_t>& vision,
                       const std::string& title) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString("Could not write \"%1\": %2. %3").arg(path, file.errorString(), not_made);
    const std::string page = fill_web_page(page_template, vision, title);
    if (file.write(page.data(), qint64(page.size())) != qint64(page.size()) || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return QString("Could not write \"%1\": %2. %3").arg(path, reason, not_made);
    }
    return {};
}

QDialog* create_web_page_dialog(QWidget* owner, size_t page_bytes) {
    auto* dialog = new QDialog(owner);
    dialog->setObjectName("DLG_WEB_PAGE");
    set_up_dialog(*dialog, command_title, 200, 100);
    add_static_text(dialog,
                    "The page shows your vision in any web browser, on a computer or a phone, with "
                    "nothing to install: whoever opens it moves their eyes over it and sees your "
                    "floaters.",
                    7, 7, 186, 34);
    auto* comments = new QCheckBox("Include my comments", dialog);
    name_control(comments, id_include_comments);
    place(comments, 7, 45, 120, 10);
    fit_text_width(comments);
    add_static_text(dialog, "(what you wrote in the personal information form)", 19, 56, 174, 8);
    QLabel* size = add_static_text(dialog, QString::fromStdString(page_size_text(page_bytes)), 7, 69, 186, 8);
    size->setObjectName("page_size");
    size->setProperty("page_bytes", qulonglong(page_bytes));
    QPushButton* save = add_button(dialog, "Save\u2026", id_web_page_save, 89, 81);
    save->setDefault(true);
    QPushButton* cancel = add_button(dialog, "Cancel", id_web_page_cancel, 143, 81);
    QObject::connect(save, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return dialog;
}

void save_web_page(QWidget* owner, EditorState& state, const QString& player) {
    std::string page_template;
    if (const QString problem = read_web_player(player, page_template); !problem.isEmpty()) {
        show_warning(owner, command_title, problem);
        return;
    }
    if (!confirm_loaded_pictures(owner, state, command_title, "the web page")) return;

    // The writer fills in offsets: it works on a copy of the document.
    auto copy = std::make_unique<vision::Document>(*state.doc);
    leave_out_refused_pictures(state, *copy);
    std::vector<uint8_t> vision;
    vision::SaveReport report;
    if (!write_vision_bytes(*copy, vision, report)) {
        show_warning(owner, command_title,
                     QString("Could not make the vision file for the page: %1. %2")
                         .arg(QString::fromLocal8Bit(std::strerror(report.error)), not_made));
        return;
    }
    const std::string title = web_page_title(state.vision_file);

    const std::unique_ptr<QDialog> dialog(create_web_page_dialog(owner, web_page_size(page_template, vision.size(), title)));
    if (dialog->exec() != QDialog::Accepted) return;
    const bool include_comments =
        dialog->findChild<QCheckBox*>(QString("ctl_%1").arg(id_include_comments))->isChecked();

    ChosenFile chosen;
    const QString suggested = state.vision_file.empty() ? QString() : QString::fromStdString(title) + ".html";
    if (!choose_file_to_save(owner, state, command_title, {{"Web page", "*.html *.htm"}}, "html", chosen, suggested))
        return;
    if (!state.vision_file.empty() && same_file(chosen.path.toStdString(), state.vision_file)) {
        show_warning(owner, command_title,
                     QString("\"%1\" is your vision file; the page is not written over it. %2").arg(chosen.path, not_made));
        return;
    }
    if (!include_comments) clear_comments(vision);
    if (const QString error = write_web_page(chosen.path, page_template, vision, title); !error.isEmpty()) {
        show_warning(owner, command_title, error);
        return;
    }
    const QStringList missing = missing_pictures(state, report);
    if (!missing.isEmpty())
        show_warning(owner, command_title,
                     QString("\"%1\" was written, but these background pictures are not in it:\n%2")
                         .arg(chosen.path, missing.join('\n')));
}

void save_web_page_command(QWidget* owner, EditorState& state) { save_web_page(owner, state, web_player_path()); }

QString web_page_from_file(const QString& out, const std::string& file, bool include_comments) {
    std::string page_template;
    if (const QString problem = read_web_player(web_player_path(), page_template); !problem.isEmpty()) return problem;
    auto doc = std::make_unique<vision::Document>();
    std::vector<uint8_t> vision;
    if (const std::string problem = read_vision_for_report(file, *doc, "web page", &vision); !problem.empty())
        return QString::fromStdString(problem);
    if (!include_comments) clear_comments(vision);
    return write_web_page(out, page_template, vision, web_page_title(file));
}

}  // namespace editor
