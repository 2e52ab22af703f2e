// qt_window.h -- the simulator's full-screen window: shows the presented
// frame scaled with black bars, through OpenGL where the machine has it and
// in software otherwise, and turns Qt events into simulator events.
#pragma once
#include <QBackingStore>
#include <QImage>
#include <QWindow>

#include <functional>
#include <memory>

#include "sim/qt/qt_gl_present.h"
#include "sim/qt/qt_scale.h"

namespace platform {

// What the window reports, already in simulator terms: pointer positions in
// 640 x 480 screen coordinates, keys as virtual-key codes. Empty members are
// simply not called.
struct WindowEvents {
    std::function<void()> timer;                // the frame timer fired
    std::function<void(int)> key_down;          // also for every auto-repeat
    std::function<void(int)> key_up;            // only for keys pressed in this window
    std::function<void(int, int)> mouse_move;
    std::function<void(int, int)> left_down;
    std::function<void(int, int)> left_up;
    std::function<void(int, int)> right_down;
    std::function<void()> paint;                // the system asks for a repaint
    std::function<void()> destroyed;            // the window is going away
};

// How frames reach the screen. `automatic` takes OpenGL when a context can
// be made and works and is not drawn by a CPU rasteriser, else software.
enum class PresentChoice { automatic, software, opengl };
enum class PresentPath { software, opengl };

// The choice named by the environment variable VITRION_PRESENT ("software"
// or "opengl"; unset or anything else: automatic). Meant for tests and
// measurements, which must be able to force each path.
PresentChoice present_choice_from_environment();

class SimWindow : public QWindow {
    Q_OBJECT
public:
    // A borderless, top-most window titled `title` with the program's icon,
    // created hidden. The present path is settled here; a fall back to
    // software is written to the trace log with its reason.
    SimWindow(const QString& title, PresentChoice choice);
    ~SimWindow() override;

    WindowEvents events;

    PresentPath present_path() const { return path_; }

    // The frame to show from now on: an image over the back surface's memory
    // (kept, not copied) or a null image for a black window. `now` puts it
    // on the screen before returning; otherwise on the next exposure.
    void show_frame(const QImage& frame, bool now);

    // Starts or restarts the frame timer; stops it.
    void start_frame_timer(int period_ms);
    void stop_frame_timer();
    bool frame_timer_running() const { return qt_timer_id_ != 0; }

    // Covers the whole primary screen and shows the window.
    void show_on_whole_screen();

    // Destroys the window once: stops the timer, hides it, reports
    // `destroyed`; from then on no event reaches `events`.
    void destroy_window();
    bool is_destroyed() const { return destroyed_; }

protected:
    bool event(QEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QSize pixel_size() const;
    QPoint screen_position(const QPointF& window_position) const;
    // Puts frame_ on the screen. `whole` repaints the bars too (after an
    // exposure or a resize); otherwise the software path writes only the
    // picture rectangle.
    void render(bool whole);
    void render_software(bool whole);
    void use_software(const QString& why);

    PresentPath path_ = PresentPath::software;
    GlPresenter gl_;
    std::unique_ptr<QBackingStore> store_;
    ScaleTables tables_;
    bool bars_painted_ = false;  // the bars of the current size are on screen

    QImage frame_;
    int qt_timer_id_ = 0;
    bool system_paint_ = false;  // inside an exposure's own frame
    bool destroyed_ = false;
    // Keys pressed while this window had the focus. A release without its
    // press here (the Escape that closed a dialog) is not reported.
    bool key_held_[256] = {};
};

}  // namespace platform
