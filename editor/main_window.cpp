// main_window.cpp -- main window with the FLOATMENU menu, presentation picture and commands.
#include "editor/main_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <cerrno>
#include <cstring>

#include "editor/background_dialog.h"
#include "editor/cursors.h"
#include "editor/file_choosers.h"
#include "editor/floater_map_dialog.h"
#include "editor/messages.h"
#include "editor/model/background_slots.h"
#include "editor/model/editor_state.h"
#include "editor/model/window_layout.h"
#include "editor/personal_dialog.h"
#include "editor/picture_resources.h"
#include "editor/sac_refractions_dialog.h"
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

void add_command(QMenu* menu, QMainWindow* window, EditorState& state, const char* caption, int id) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setData(id);
    action->setObjectName(QString("menu_%1").arg(id));
    QObject::connect(action, &QAction::triggered, window,
                     [window, &state, id] { run_menu_command(window, state, id); });
}

}  // namespace

void start_editor_state(EditorState& state, vision::Document& doc) {
    state.doc = &doc;
    vision::reset_to_new_document(doc);
    state.startup_directory = QDir::currentPath().toStdString();
    state.last_open_directory.clear();
    state.last_save_directory.clear();
    state.current_eye = 0;
    state.current_floater[0] = state.current_floater[1] = 0;
    state.current_streak = 0;
}

QMainWindow* create_main_window(EditorState& state) {
    auto* window = new QMainWindow;
    window->setObjectName("main_window");
    window->setWindowTitle(main_window_title);
#ifdef VITRION_HAVE_ICON
    window->setWindowIcon(vitrion_icon());
#endif
    QMenuBar* bar = window->menuBar();
    bar->setObjectName("FLOATMENU");
    QMenu* file = bar->addMenu("File");
    add_command(file, window, state, "Load Vision file", menu_load);
    add_command(file, window, state, "Save Vision file", menu_save);
    add_command(file, window, state, "Exit", menu_exit);
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
    add_command(help, window, state, "Help", menu_help);
    add_command(help, window, state, "About Vitrion editor", menu_about);

    window->setCentralWidget(new PresentationView(state, window));
    window->setCursor(arrow_cursor());
    return window;
}

void run_menu_command(QMainWindow* window, EditorState& state, int id) {
    switch (id) {
    case menu_load: load_vision_command(window, state); break;
    case menu_save: save_vision_command(window, state); break;
    case menu_exit: window->close(); break;
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
    case menu_help: open_with_shell(help_page_path(state)); break;
    case menu_about: open_with_shell(readme_path(state)); break;
    default: break;
    }
}

void load_vision_command(QWidget* owner, EditorState& state) {
    ChosenFile chosen;
    if (!choose_file_to_open(owner, state, "Load Vitrion Vision File", vision_file_types(), "flt",
                             chosen))
        return;
    errno = 0;
    if (!vision::read_vision_file(*state.doc, chosen.path.toUtf8().constData())) {
        const int error = errno;
        show_warning(owner, "Load Vitrion Vision File",
                     QString("Could not open \"%1\": %2.").arg(chosen.path, error_text(error)));
    }
}

void save_vision_command(QWidget* owner, EditorState& state) {
    ChosenFile chosen;
    if (!choose_file_to_save(owner, state, "Save Vitrion Vision File", vision_file_types(), "flt",
                             chosen))
        return;
    vision::SaveReport report;
    if (!vision::write_vision_file(*state.doc, chosen.path.toUtf8().constData(), &report)) {
        show_warning(owner, "Save Vitrion Vision File",
                     QString("Could not save \"%1\": %2.\nThe file on disk was not changed.")
                         .arg(chosen.path, error_text(report.error)));
        return;
    }
    QStringList missing;
    for (int slot = 0; slot < vision::picture_slots; ++slot) {
        if (report.slot_missing[slot])
            missing << QString("Background %1: %2").arg(slot + 1).arg(
                           QString::fromStdString(picture_path(state.doc->header, slot)));
    }
    if (!missing.isEmpty())
        show_warning(owner, "Save Vitrion Vision File",
                     QString("\"%1\" was saved, but these background pictures could not be read "
                             "and are not in it:\n%2")
                         .arg(chosen.path, missing.join('\n')));
}

QString help_page_path(const EditorState& state) {
    return QString::fromStdString(state.startup_directory) + "/help/help.html";
}

QString readme_path(const EditorState& state) {
    return QString::fromStdString(state.startup_directory) + "/readme.txt";
}

int run_editor(QApplication& app) {
    static vision::Document document;  // about 2.2 MB: never on the stack
    static EditorState state;
    start_editor_state(state, document);
#ifdef VITRION_HAVE_ICON
    app.setWindowIcon(vitrion_icon());
#endif
    QMainWindow* window = create_main_window(state);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (QScreen* screen = app.primaryScreen()) window->resize(screen->size());
    window->show();
    return app.exec();
}

}  // namespace editor
