// qt_window.h -- the simulator's full-screen window: shows the presented
// frame scaled with black bars and turns Qt events into simulator events.
#pragma once
#include <QImage>
#include <QWidget>

#include <functional>

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
    std::function<void(int)> activate;          // 1: activated, not by a click
    std::function<void()> paint;                // the system asks for a repaint
    std::function<void()> destroyed;            // the window is going away
};

class SimWindow : public QWidget {
    Q_OBJECT
public:
    // A borderless, top-most window titled `title` with the program's icon,
    // created hidden.
    explicit SimWindow(const QString& title);

    WindowEvents events;

    // The frame to show from now on: an image over the back surface's memory
    // (kept, not copied) or a null image for a black window. `now` paints it
    // before returning; otherwise it is shown on the next repaint.
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

    // How long after an activation a mouse press still counts as the click
    // that activated the window.
    static constexpr int click_activation_ms = 150;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    QPoint screen_position(const QPointF& window_position) const;
    void activation_settled(unsigned serial);

    QImage frame_;
    ScaledFrame scaled_;         // frame_ at the window's scale
    bool scaled_stale_ = true;   // frame_ changed since scaled_ was made
    int qt_timer_id_ = 0;
    bool presenting_ = false;    // inside show_frame's own repaint
    bool system_paint_ = false;  // inside a repaint the system asked for
    bool destroyed_ = false;
    bool was_active_ = false;    // activated at least once before
    bool was_deactivated_ = false;
    unsigned activation_serial_ = 0;
    bool pressed_since_activation_ = false;
    // Keys pressed while this window had the focus. A release without its
    // press here (the Escape that closed a dialog) is not reported.
    bool key_held_[256] = {};
};

}  // namespace platform
