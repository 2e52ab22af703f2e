// qt_window.cpp -- the simulator window: scaled presentation and event translation.
#include "sim/qt/qt_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QTimerEvent>

#include <algorithm>
#include <iterator>

#include "sim/qt/qt_mapping.h"
#include "sim/resources/vitrion_icon.h"

namespace platform {

// Activation parameters as the shell knows them.
constexpr int activated_inactive = 0;
constexpr int activated_not_by_click = 1;
constexpr int activated_by_click = 2;

SimWindow::SimWindow(const QString& title)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setWindowTitle(title);
    setWindowIcon(vitrion_icon());
    // Every pixel is painted by paintEvent: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
}

void SimWindow::show_frame(const QImage& frame, bool now) {
    frame_ = frame;
    scaled_stale_ = true;
    // Inside a system repaint the frame is drawn when the handler returns.
    if (system_paint_ || destroyed_) return;
    if (now && isVisible()) {
        presenting_ = true;
        repaint();
        presenting_ = false;
    } else {
        update();
    }
}

void SimWindow::start_frame_timer(int period_ms) {
    stop_frame_timer();
    qt_timer_id_ = startTimer(period_ms, Qt::PreciseTimer);
}

void SimWindow::stop_frame_timer() {
    if (qt_timer_id_ != 0) killTimer(qt_timer_id_);
    qt_timer_id_ = 0;
}

void SimWindow::show_on_whole_screen() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());
    showFullScreen();
    raise();
    activateWindow();
    setFocus();
}

void SimWindow::destroy_window() {
    if (destroyed_) return;
    destroyed_ = true;
    stop_frame_timer();
    frame_ = QImage();
    scaled_stale_ = true;
    hide();
    if (events.destroyed) events.destroyed();
}

void SimWindow::paintEvent(QPaintEvent*) {
    // A repaint the system asked for (exposure, first show) lets the shell
    // draw a frame first, as it would for a paint message.
    if (!presenting_ && !destroyed_ && events.paint) {
        system_paint_ = true;
        events.paint();
        system_paint_ = false;
    }
    QPainter painter(this);
    const QRect picture = picture_rect(size());
    if (frame_.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // Black bars around the 4:3 picture.
    const QRegion bars = QRegion(rect()).subtracted(QRegion(picture));
    for (const QRect& bar : bars) painter.fillRect(bar, Qt::black);
    // Scaled once per presented frame by the fast path; a plain blit then
    // puts it on screen. Other formats are left to QPainter.
    if (scaled_stale_ || scaled_.image.size() != picture.size()) {
        if (!scale_frame(frame_, picture.size(), scaled_)) scaled_.image = QImage();
        scaled_stale_ = false;
    }
    if (!scaled_.image.isNull()) {
        painter.drawImage(picture.topLeft(), scaled_.image);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(picture, frame_);
    }
}

void SimWindow::timerEvent(QTimerEvent* event) {
    if (event->timerId() != qt_timer_id_ || qt_timer_id_ == 0) {
        QWidget::timerEvent(event);
        return;
    }
    if (!destroyed_ && events.timer) events.timer();
}

void SimWindow::keyPressEvent(QKeyEvent* event) {
    const int vk = virtual_key(event->key(), event->modifiers());
    if (vk < 0 || destroyed_) return;
    key_held_[vk] = true;
    if (events.key_down) events.key_down(vk);
}

void SimWindow::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) return;
    const int vk = virtual_key(event->key(), event->modifiers());
    if (vk < 0 || destroyed_ || !key_held_[vk]) return;
    key_held_[vk] = false;
    if (events.key_up) events.key_up(vk);
}

QPoint SimWindow::screen_position(const QPointF& window_position) const {
    return map_pointer(window_position.toPoint(), size());
}

void SimWindow::mouseMoveEvent(QMouseEvent* event) {
    if (destroyed_ || !events.mouse_move) return;
    const QPoint p = screen_position(event->position());
    events.mouse_move(p.x(), p.y());
}

void SimWindow::mousePressEvent(QMouseEvent* event) {
    pressed_since_activation_ = true;
    if (destroyed_) return;
    const QPoint p = screen_position(event->position());
    if (event->button() == Qt::LeftButton && events.left_down) events.left_down(p.x(), p.y());
    if (event->button() == Qt::RightButton && events.right_down) events.right_down(p.x(), p.y());
}

void SimWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (destroyed_) return;
    const QPoint p = screen_position(event->position());
    if (event->button() == Qt::LeftButton && events.left_up) events.left_up(p.x(), p.y());
}

void SimWindow::closeEvent(QCloseEvent* event) {
    // Closed from outside (window manager): the same end as Escape.
    event->accept();
    destroy_window();
}

bool SimWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate) {
        if (was_active_) was_deactivated_ = true;
        // Releases now go elsewhere; a key held across this is not ours.
        std::fill(std::begin(key_held_), std::end(key_held_), false);
        if (!destroyed_ && events.activate) events.activate(activated_inactive);
    } else if (event->type() == QEvent::WindowActivate) {
        // The first activation belongs to start-up; only a return to the
        // window counts. Whether a click caused it is known only once the
        // press arrives, so the decision waits a moment.
        if (!was_active_) {
            was_active_ = true;
        } else if (was_deactivated_) {
            was_deactivated_ = false;
            pressed_since_activation_ = QGuiApplication::mouseButtons() != Qt::NoButton;
            const unsigned serial = ++activation_serial_;
            QTimer::singleShot(click_activation_ms, this, [this, serial] { activation_settled(serial); });
        }
    }
    return QWidget::event(event);
}

void SimWindow::activation_settled(unsigned serial) {
    if (serial != activation_serial_ || destroyed_ || !events.activate) return;
    // Deactivated again meanwhile: this activation is over.
    if (was_deactivated_) return;
    events.activate(pressed_since_activation_ ? activated_by_click : activated_not_by_click);
}

}  // namespace platform
