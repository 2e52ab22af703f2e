// main_window.cpp -- main window with the FLOATMENU menu, presentation picture and commands.
#include "editor/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <iterator>
#include <cstring>
#include <ctime>
#include <memory>

#include "editor/background_dialog.h"
#include "editor/cursors.h"
#include "editor/file_choosers.h"
#include "editor/floater_map_dialog.h"
#include "editor/messages.h"
#include "editor/model/background_slots.h"
#include "editor/model/editor_state.h"
#include "editor/model/recovery.h"
#include "editor/model/unsaved_changes.h"
#include "editor/model/window_layout.h"
#include "editor/personal_dialog.h"
#include "editor/report_commands.h"
#include "editor/picture_resources.h"
#include "editor/sac_refractions_dialog.h"
#include "editor/show_in_simulator.h"
#include "editor/web_page_command.h"
#include "visionfile/reader.h"
#include "visionfile/writer.h"
#ifdef VITRION_HAVE_ICON
#include "sim/resources/vitrion_icon.h"
#endif

namespace editor {
namespace {

const QList<FileType>& vision_file_types() {
    static const QList<FileType> types{{"flt", "*.flt"}, {"All files", "*.*"}};
    return types;
}

// Shows the presentation picture centred, composed through the canvas like
// every other picture of the editor; the rest is the window's background.
class PresentationView : public QWidget {
public:
    PresentationView(EditorState& state, QWidget* parent) : QWidget(parent), state_(state) {
        setObjectName("presentation");
    }

protected:
    void paintEvent(QPaintEvent*) override {
        static const PixelPicture picture = to_pixel_picture(presentation_picture());
        copy_picture(state_.canvas, picture, 0, 0, picture.width, picture.height);
        const int left = centred_offset(width(), picture.width);
        const int top = centred_offset(height(), picture.height);
        QPainter painter(this);
        painter.drawImage(QPoint(left, top), canvas_image(state_.canvas),
                          QRect(0, 0, picture.width, picture.height));
    }

private:
    EditorState& state_;
};

QString error_text(int error) {
    return error ? QString::fromLocal8Bit(std::strerror(error)) : QStringLiteral("unknown error");
}

// The one local *.flt file a drag carries, or "".
QString dropped_vision_file(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    if (!url.isLocalFile() || !url.toLocalFile().endsWith(".flt", Qt::CaseInsensitive)) return {};
    return url.toLocalFile();
}

// The main window adds the question before it closes, and vision files dropped on it.
class MainWindow : public QMainWindow {
public:
    explicit MainWindow(EditorState& state) : state_(state) { setAcceptDrops(true); }

protected:
    void closeEvent(QCloseEvent* event) override {
        if (keep_work_before(this, state_, "closing"))
            event->accept();
        else
            event->ignore();
    }
    void dragEnterEvent(QDragEnterEvent* event) override {
        if (!dropped_vision_file(event->mimeData()).isEmpty()) event->acceptProposedAction();
    }
    void dropEvent(QDropEvent* event) override {
        const QString path = dropped_vision_file(event->mimeData());
        if (path.isEmpty()) return;
        event->acceptProposedAction();
        // Loaded once the drop is over: the question before it is modal.
        QTimer::singleShot(0, this, [this, path] { open_vision_file(this, state_, path); });
    }

private:
    EditorState& state_;
};

void add_command(QMenu* menu, QMainWindow* window, EditorState& state, const char* caption, int id,
                 const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setData(id);
    action->setShortcut(shortcut);
    action->setObjectName(QString("menu_%1").arg(id));
    QObject::connect(action, &QAction::triggered, window,
                     [window, &state, id] { run_menu_command(window, state, id); });
}

}  // namespace

void start_editor_state(EditorState& state, vision::Document& doc) {
    state.doc = &doc;
    vision::reset_to_new_document(doc);
    state.startup_directory = QDir::currentPath().toStdString();
    state.last_vision_directory.clear();
    state.last_picture_directory.clear();
    state.vision_file.clear();
    for (PictureOrigin& origin : state.picture_origin) origin = PictureOrigin::chosen;
    state.current_eye = 0;
    state.current_floater[0] = state.current_floater[1] = 0;
    state.current_streak = 0;
    mark_document_unchanged(state);
}

QMainWindow* create_main_window(EditorState& state) {
    auto* window = new MainWindow(state);
    window->setObjectName("main_window");
    window->setWindowTitle(main_window_title);
#ifdef VITRION_HAVE_ICON
    window->setWindowIcon(vitrion_icon());
#endif
    QMenuBar* bar = window->menuBar();
    bar->setObjectName("FLOATMENU");
    QMenu* file = bar->addMenu("File");
    add_command(file, window, state, "Load Vision file", menu_load, QKeySequence(Qt::CTRL | Qt::Key_O));
    add_command(file, window, state, "Save Vision file", menu_save, QKeySequence(Qt::CTRL | Qt::Key_S));
    add_command(file, window, state, "Show in simulator", menu_show_in_simulator, QKeySequence(Qt::Key_F5));
    add_command(file, window, state, "Report for the eye doctor\u2026", menu_report);
    add_command(file, window, state, "Print report\u2026", menu_print_report, QKeySequence(Qt::CTRL | Qt::Key_P));
    add_command(file, window, state, "Save as web page\u2026", menu_save_web_page);
    add_command(file, window, state, "Exit", menu_exit, QKeySequence(Qt::CTRL | Qt::Key_Q));
    QMenu* configurations = bar->addMenu("Configurations");
    add_command(configurations, window, state, "Background", menu_background);
    add_command(configurations, window, state, "Personal info", menu_personal);
    QMenu* left = configurations->addMenu("Left eye");
    add_command(left, window, state, "Floaters", menu_left_floaters);
    add_command(left, window, state, "Sac refractions", menu_left_sac_refractions);
    QMenu* right = configurations->addMenu("Right eye");
    add_command(right, window, state, "Floaters", menu_right_floaters);
    add_command(right, window, state, "Sac refractions", menu_right_sac_refractions);
    QMenu* help = bar->addMenu("Help");
    add_command(help, window, state, "Help", menu_help, QKeySequence(Qt::Key_F1));
    add_command(help, window, state, "About Vitrion editor", menu_about);

    window->setCentralWidget(new PresentationView(state, window));
    window->setCursor(arrow_cursor());
    return window;
}

void run_menu_command(QMainWindow* window, EditorState& state, int id) {
    switch (id) {
    case menu_load: load_vision_command(window, state); break;
    case menu_save: save_vision_command(window, state); break;
    case menu_show_in_simulator: show_in_simulator_command(window, state); break;
    case menu_exit: window->close(); break;
    case menu_report: export_report_command(window, state); break;
    case menu_print_report: print_report_command(window, state); break;
    case menu_save_web_page: save_web_page_command(window, state); break;
    case menu_background: run_background_dialog(window, state); break;
    case menu_personal: run_personal_dialog(window, state); break;
    case menu_left_floaters:
        state.current_eye = 0;
        run_floater_map_dialog(window, state);
        break;
    case menu_right_floaters:
        state.current_eye = 1;
        run_floater_map_dialog(window, state);
        break;
    case menu_left_sac_refractions:
        state.current_streak = vision::first_streak_of_eye(0);
        run_sac_refractions_dialog(window, state);
        break;
    case menu_right_sac_refractions:
        state.current_streak = vision::first_streak_of_eye(1);
        run_sac_refractions_dialog(window, state);
        break;
    case menu_help: open_with_shell(window, "Help", help_page_path()); break;
    case menu_about: open_with_shell(window, "About Vitrion editor", readme_path()); break;
    default: break;
    }
}

bool keep_work_before(QWidget* owner, EditorState& state, const QString& before) {
    if (!document_changed(state)) return true;
    const QMessageBox::StandardButton answer =
        ask_question(owner, main_window_title,
                     QString("Save the changes to your vision file before %1?").arg(before),
                     QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Discard) return true;
    if (answer == QMessageBox::Save) return save_vision_command(owner, state);
    return false;
}

namespace {

// Reads `path` into the document; a file that cannot be read is reported.
bool read_vision_into(QWidget* owner, EditorState& state, const QString& path) {
    errno = 0;
    if (!vision::read_vision_file(*state.doc, path.toUtf8().constData())) {
        const int error = errno;
        show_warning(owner, "Load Vitrion Vision File",
                     QString("Could not open \"%1\": %2.").arg(path, error_text(error)));
        return false;
    }
    mark_pictures_loaded(state);
    state.vision_file = path.toStdString();
    mark_document_unchanged(state);
    update_recovery_copy(state);
    return true;
}

}  // namespace

void load_vision_command(QWidget* owner, EditorState& state) {
    if (!keep_work_before(owner, state, "loading another vision file")) return;
    ChosenFile chosen;
    if (!choose_file_to_open(owner, state, "Load Vitrion Vision File", vision_file_types(), "flt",
                             chosen))
        return;
    read_vision_into(owner, state, chosen.path);
}

bool open_vision_file(QWidget* owner, EditorState& state, const QString& path) {
    if (!keep_work_before(owner, state, "loading another vision file")) return false;
    return read_vision_into(owner, state, path);
}

bool confirm_loaded_pictures(QWidget* owner, EditorState& state, const QString& title, const QString& into) {
    int slots[vision::picture_slots];
    const int count = pictures_to_confirm(state, slots);
    if (count == 0) return true;
    QStringList named;
    for (int n = 0; n < count; ++n)
        named << QString("Background %1: %2").arg(slots[n] + 1).arg(
                     QString::fromStdString(picture_path(state.doc->header, slots[n])));
    const QMessageBox::StandardButton answer = ask_question(
        owner, title,
        QString("The vision file you loaded names these files of this computer as background "
                "pictures; you did not choose them yourself:\n%1\n\nSaving copies them whole "
                "into %2. Embed them?\n\"No\" saves without them; the "
                "background dialog keeps showing their paths.")
            .arg(named.join('\n'), into),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
    if (answer == QMessageBox::Cancel) return false;
    answer_pictures(state, answer == QMessageBox::Yes);
    return true;
}

QStringList missing_pictures(const EditorState& state, const vision::SaveReport& report) {
    QStringList missing;
    for (int slot = 0; slot < vision::picture_slots; ++slot) {
        if (report.slot_missing[slot])
            missing << QString("Background %1: %2 (%3)")
                           .arg(slot + 1)
                           .arg(QString::fromStdString(picture_path(state.doc->header, slot)),
                                report.slot_refused[slot] ? "not a picture of its kind, or over 64 MB"
                                                          : "could not be read");
    }
    return missing;
}

bool save_vision_command(QWidget* owner, EditorState& state) {
    ChosenFile chosen;
    if (!choose_file_to_save(owner, state, "Save Vitrion Vision File", vision_file_types(), "flt",
                             chosen))
        return false;
    if (!confirm_loaded_pictures(owner, state, "Save Vitrion Vision File", "\"" + chosen.path + "\""))
        return false;

    // Refused pictures are left out of a copy, so the slots keep showing
    // their paths; the copy's offsets then come back to the document.
    vision::Document* saved = state.doc;
    std::unique_ptr<vision::Document> copy;
    if (std::find(std::begin(state.picture_origin), std::end(state.picture_origin),
                  PictureOrigin::refused) != std::end(state.picture_origin)) {
        copy = std::make_unique<vision::Document>(*state.doc);
        leave_out_refused_pictures(state, *copy);
        saved = copy.get();
    }
    vision::SaveReport report;
    const int written = vision::write_vision_file(*saved, chosen.path.toUtf8().constData(), &report);
    if (copy) {
        for (int slot = 0; slot < vision::picture_slots; ++slot)
            state.doc->header.slots[slot].picture_offset = copy->header.slots[slot].picture_offset;
        for (int eye = 0; eye < vision::eyes; ++eye)
            for (int i = 0; i < vision::max_floaters; ++i)
                state.doc->records[eye][i].points_offset = copy->records[eye][i].points_offset;
    }
    if (!written) {
        show_warning(owner, "Save Vitrion Vision File",
                     QString("Could not save \"%1\": %2.\nThe file on disk was not changed.")
                         .arg(chosen.path, error_text(report.error)));
        return false;
    }
    state.vision_file = chosen.path.toStdString();
    mark_document_unchanged(state);
    update_recovery_copy(state);
    const QStringList missing = missing_pictures(state, report);
    if (!missing.isEmpty())
        show_warning(owner, "Save Vitrion Vision File",
                     QString("\"%1\" was saved, but these background pictures are not in it:\n%2")
                         .arg(chosen.path, missing.join('\n')));
    return true;
}

QString find_data_file(const QString& program_dir, const QString& relative) {
    const QString beside = program_dir + "/" + relative;
    if (QFileInfo(beside).isFile()) return beside;
    const QString installed = QDir::cleanPath(program_dir + "/../share/vitrion/" + relative);
    if (QFileInfo(installed).isFile()) return installed;
    return beside;
}

QString help_page_path() {
    return find_data_file(QCoreApplication::applicationDirPath(), "help/help.html");
}

QString readme_path() { return find_data_file(QCoreApplication::applicationDirPath(), "readme.txt"); }

namespace {

// How often unsaved work is copied to disk: at most this much drawing is
// lost when the editor or the computer stops without a save.
constexpr int recovery_interval_ms = 15000;

// Offers back the work an editor that stopped without saving left in
// `folder`. "No" deletes it; "Cancel" keeps it for the next start.
void offer_left_copy(QWidget* owner, EditorState& state, const std::string& folder) {
    std::time_t written_at = 0;
    const std::string path = find_left_copy(folder, written_at);
    if (path.empty()) return;
    const QString when =
        QLocale().toString(QDateTime::fromSecsSinceEpoch(written_at), QLocale::ShortFormat);
    const QMessageBox::StandardButton answer = ask_question(
        owner, main_window_title,
        QString("The editor stopped before your vision was saved. It kept your work as it was at "
                "%1.\n\nRestore it? \"No\" deletes it; \"Cancel\" keeps it for the next start.")
            .arg(when),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::No) std::remove(path.c_str());
    if (answer != QMessageBox::Yes) return;
    errno = 0;
    if (!restore_left_copy(state, path)) {
        const int error = errno;
        show_warning(owner, main_window_title,
                     QString("Could not read the kept work \"%1\": %2.\nIt stays there.")
                         .arg(QString::fromStdString(path), error_text(error)));
    }
}

}  // namespace

int run_editor(QApplication& app, const QString& file) {
    static vision::Document document;  // about 2.2 MB: never on the stack
    static EditorState state;
    start_editor_state(state, document);
#ifdef VITRION_HAVE_ICON
    app.setWindowIcon(vitrion_icon());
#endif
    QMainWindow* window = create_main_window(state);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // Maximized within the desktop's panels; the normal size, for when it is
    // restored (or no window manager maximizes it), fits the screen too.
    if (QScreen* screen = window->screen()) window->resize(screen->availableGeometry().size() * 3 / 4);
    window->showMaximized();

    // Unsaved work is copied to disk now and then, and offered back after a
    // start that follows a crash; a normal exit removes the copy.
    const std::string folder = recovery_folder_from_environment();
    const bool recovering = start_recovery(state, folder);
    QTimer::singleShot(0, window, [window, folder, recovering, file] {
        if (recovering) offer_left_copy(window, state, folder);
        if (!file.isEmpty()) open_vision_file(window, state, file);
    });
    if (recovering) {
        auto* timer = new QTimer(window);
        QObject::connect(timer, &QTimer::timeout, window, [] { update_recovery_copy(state); });
        timer->start(recovery_interval_ms);
    }
    const int code = app.exec();
    drop_recovery_copy(state);
    return code;
}

}  // namespace editor
