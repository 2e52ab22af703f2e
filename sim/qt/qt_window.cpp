// qt_window.cpp -- the simulator window: present through OpenGL or straight
// into the backing store, and event translation.
#include "sim/qt/qt_window.h"

#include <QCloseEvent>
#include <QCursor>
#include <QExposeEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QTimerEvent>

#include <algorithm>
#include <iterator>

#include "common/trace.h"
#include "sim/qt/qt_mapping.h"
#include "sim/resources/vitrion_icon.h"

namespace platform {

PresentChoice present_choice_from_environment() {
    const QString v = qEnvironmentVariable("VITRION_PRESENT").trimmed().toLower();
    if (v == QStringLiteral("software")) return PresentChoice::software;
    if (v == QStringLiteral("opengl")) return PresentChoice::opengl;
    if (!v.isEmpty()) trace::log("VITRION_PRESENT=%s is neither software nor opengl: chosen automatically",
                                 v.toLocal8Bit().constData());
    return PresentChoice::automatic;
}

SimWindow::SimWindow(const QString& title, PresentChoice choice) {
    setTitle(title);
    setIcon(vitrion_icon());
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    if (choice == PresentChoice::software) {
        use_software(QStringLiteral("software present chosen"));
        return;
    }
    QString why;
    if (!gl_prepare(gl_, why)) {
        use_software(why);
        return;
    }
    if (choice == PresentChoice::automatic && renders_on_cpu(gl_.renderer)) {
        use_software(QStringLiteral("OpenGL renders on the CPU here: ") + gl_.renderer);
        return;
    }
    path_ = PresentPath::opengl;
    setSurfaceType(QSurface::OpenGLSurface);
    setFormat(gl_window_format(gl_));
    trace::log("present: OpenGL (%s)", gl_.renderer.toLocal8Bit().constData());
}

SimWindow::~SimWindow() {
    events = WindowEvents{};
    store_.reset();
    gl_release(gl_);
}

void SimWindow::use_software(const QString& why) {
    trace::log("present: software (%s)", why.toLocal8Bit().constData());
    gl_release(gl_);
    path_ = PresentPath::software;
    // A native window made for OpenGL cannot take a backing store: it is
    // made again as a raster window, in the state it had.
    const bool visible = isVisible();
    const Qt::WindowStates states = windowStates();
    if (handle()) destroy();
    setSurfaceType(QSurface::RasterSurface);
    store_ = std::make_unique<QBackingStore>(this);
    store_->resize(size());
    tables_ = ScaleTables{};
    bars_painted_ = false;
    if (visible && !destroyed_) {
        setWindowStates(states);
        show();
    }
}

QSize SimWindow::pixel_size() const {
    const qreal dpr = devicePixelRatio();
    return QSize(qRound(width() * dpr), qRound(height() * dpr));
}

void SimWindow::show_frame(const QImage& frame, bool now) {
    frame_ = frame;
    // Inside an exposure the frame is drawn when the handler returns.
    if (system_paint_ || destroyed_) return;
    if (now) {
        render(!bars_painted_);
    } else {
        bars_painted_ = false;
        requestUpdate();
    }
}

void SimWindow::render(bool whole) {
    if (destroyed_ || !isExposed()) return;
    if (path_ == PresentPath::software) {
        render_software(whole);
        return;
    }
    QString why;
    const QSize pixels = pixel_size();
    if (gl_present(gl_, *this, pixels, picture_rect(pixels), frame_, why)) {
        bars_painted_ = true;
        return;
    }
    // Not from inside this call chain: the native window is made again.
    path_ = PresentPath::software;
    QMetaObject::invokeMethod(this, [this, why] { use_software(why); }, Qt::QueuedConnection);
}

void SimWindow::render_software(bool whole) {
    if (!store_) return;
    if (store_->size() != size()) store_->resize(size());
    const QRect all(QPoint(0, 0), size());
    const QRect picture = picture_rect(size());
    const bool one_to_one = devicePixelRatio() == 1.0;
    // Each frame writes and sends only the picture; the bars go with an
    // exposure or a resize.
    const bool bars = whole || !bars_painted_ || frame_.isNull() || !one_to_one;
    const QRegion region = bars ? QRegion(all) : QRegion(picture);
    store_->beginPaint(region);
    QPaintDevice* device = store_->paintDevice();
    QImage* image = device && device->devType() == QInternal::Image ? static_cast<QImage*>(device) : nullptr;
    const bool direct = one_to_one && image && image->size() == size() && image->devicePixelRatio() == 1.0 &&
                        can_scale_into(frame_, *image);
    if (device && (bars || !direct)) {
        QPainter painter(device);
        if (frame_.isNull()) {
            painter.fillRect(all, Qt::black);
        } else {
            for (const QRect& bar : QRegion(all).subtracted(QRegion(picture))) painter.fillRect(bar, Qt::black);
            // A backing store in another pixel format: QPainter scales once.
            if (!direct) {
                painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
                painter.drawImage(picture, frame_);
            }
        }
    }
    if (direct) scale_into(frame_, *image, picture, tables_);
    store_->endPaint();
    store_->flush(region);
    bars_painted_ = true;
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
    // Full screen on the output the person started the program on. Under X11
    // the program chooses: the screen under the pointer, else the primary
    // one. A Wayland compositor places a full-screen window on the output it
    // chooses itself (the focused one) and tells no global pointer position.
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        QScreen* s = QGuiApplication::screenAt(QCursor::pos());
        if (!s) s = QGuiApplication::primaryScreen();
        if (s) {
            setScreen(s);
            setGeometry(s->geometry());
        }
    }
    showFullScreen();
    raise();
    requestActivate();
}

void SimWindow::destroy_window() {
    if (destroyed_) return;
    destroyed_ = true;
    stop_frame_timer();
    frame_ = QImage();
    hide();
    if (events.destroyed) events.destroyed();
}

void SimWindow::exposeEvent(QExposeEvent*) {
    if (destroyed_ || !isExposed()) return;
    // An exposure (first show, uncovering) lets the shell draw a frame
    // first, as it would for a paint message.
    if (events.paint) {
        system_paint_ = true;
        events.paint();
        system_paint_ = false;
    }
    render(true);
}

bool SimWindow::event(QEvent* event) {
    if (event->type() == QEvent::UpdateRequest) {
        render(true);
        return true;
    }
    return QWindow::event(event);
}

void SimWindow::resizeEvent(QResizeEvent* event) {
    if (store_) store_->resize(event->size());
    bars_painted_ = false;
}

void SimWindow::timerEvent(QTimerEvent* event) {
    if (event->timerId() != qt_timer_id_ || qt_timer_id_ == 0) {
        QWindow::timerEvent(event);
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

void SimWindow::focusOutEvent(QFocusEvent*) {
    // Releases now go elsewhere; a key held across this is not ours.
    std::fill(std::begin(key_held_), std::end(key_held_), false);
}

}  // namespace platform
