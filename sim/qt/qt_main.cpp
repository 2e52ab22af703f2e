// qt_main.cpp -- vitrion_sim: creates the window, runs the shell's start-up
// and hands every window event to the shell until the window is destroyed.
#include <QApplication>

#include <cstdio>
#include <memory>

#include "common/trace.h"
#include "sim/qt/qt_platform.h"
#include "sim/qt/qt_trace.h"
#include "sim/shell/command_line.h"
#include "sim/shell/shell.h"

int main(int argc, char** argv) {
    shell::SimCommandLine line;
    char error[256] = {};
    if (!shell::parse_sim_command_line(argc, argv, line, error, sizeof error)) {
        std::fprintf(stderr, "vitrion_sim: %s\n%s", error, shell::sim_usage);
        return 2;
    }
    if (line.help) {
        std::fputs(shell::sim_usage, stdout);
        return 0;
    }
    // Qt reads no options of its own here: it gets only the program name.
    int qt_argc = 1;
    char program_name[] = "vitrion_sim";
    char* qt_argv[] = {program_name, nullptr};
    QApplication app(qt_argc, qt_argv);
    app.setApplicationName(QStringLiteral("vitrion_sim"));
    // Names the desktop entry: the Wayland app id, matched by docks and menus
    // (on X11 the entry's StartupWMClass matches the class "vitrion_sim").
    app.setDesktopFileName(QStringLiteral("org.vitrion.Simulator"));
    app.setQuitOnLastWindowClosed(false);  // the shell decides when to quit
    platform::install_qt_trace_sink();

    platform::QtPlatform qt(QString::fromLatin1(shell::window_title));
    // Several megabytes of state: on the heap, alive for the whole run.
    auto sim = std::make_unique<shell::Simulator>(qt);
    shell::Simulator& s = *sim;
    shell::apply_sim_command_line(s, line);

    platform::WindowEvents& ev = qt.window().events;
    ev.timer = [&s] { shell::on_timer(s); };
    ev.key_down = [&s](int vk) { shell::on_key_down(s, vk); };
    ev.key_up = [&s](int vk) { shell::on_key_up(s, vk); };
    ev.mouse_move = [&s](int x, int y) { shell::on_mouse_move(s, x, y); };
    ev.left_down = [&s](int x, int y) { shell::on_left_button_down(s, x, y); };
    ev.left_up = [&s](int x, int y) { shell::on_left_button_up(s, x, y); };
    ev.right_down = [&s](int x, int y) { shell::on_right_button_down(s, x, y); };
    ev.paint = [&s] { shell::on_paint(s); };
    // Escape (through quit) or the window manager closing the window.
    ev.destroyed = [&s] {
        shell::on_destroy(s);
        QCoreApplication::exit(0);
    };

    shell::on_create(s);
    qt.window().show_on_whole_screen();
    if (qt.quit_requested()) return 0;
    const int code = app.exec();
    // Handlers must not run against a half-destroyed state at exit.
    qt.window().events = platform::WindowEvents{};
    return code;
}
