// qt_platform.cpp -- Platform operations on Qt.
#include "sim/qt/qt_platform.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QWindow>

#include <cstring>
#include <ctime>

#include "common/trace.h"

namespace platform {

QtPlatform::QtPlatform(const QString& title, PresentChoice choice) : window_(title, choice) {
    make_fonts(fonts_);
}

namespace {
// Dialogs stay above the full-screen window: it is their transient parent,
// as a parent widget would make it.
void keep_above(QWidget& dialog, QWindow& window) {
    if (!window.isVisible()) return;
    dialog.winId();
    if (QWindow* handle = dialog.windowHandle()) handle->setTransientParent(&window);
}
}  // namespace

int QtPlatform::set_display_mode(int width, int height, int bits_per_pixel, PixelFormat& format) {
    // The window always scales a 640 x 480 picture; other sizes are not asked for.
    if (width != screen_width || height != screen_height) return 0;
    if (bits_per_pixel == 16 && !refuse_16_bits_) {
        format = format_565();
    } else if (bits_per_pixel == 24) {
        format = format_888();
    } else {
        return 0;
    }
    format_ = format;
    mode_open_ = true;
    return 1;
}

void QtPlatform::close_display_mode() {
    // The back surface's memory is about to go (or has gone): never draw it again.
    mode_open_ = false;
    present_image_ = QImage();
    text_image_ = QImage();
    window_.show_frame(QImage(), false);
}

void QtPlatform::present(const Surface& back) {
    if (!mode_open_) return;
    window_.show_frame(wrap_surface_cached(present_image_, back, format_), true);
}

void QtPlatform::start_timer(int id, int period_ms) {
    if (id != frame_timer_id) {
        trace::log("unknown timer %d", id);
        return;
    }
    window_.start_frame_timer(period_ms);
}

void QtPlatform::stop_timer(int id) {
    if (id == frame_timer_id) window_.stop_frame_timer();
}

void QtPlatform::show_cursor(int show) {
    if (show)
        window_.unsetCursor();
    else
        window_.setCursor(Qt::BlankCursor);
}

void QtPlatform::message_box(const char* text, const char* caption) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(caption), QString::fromLatin1(text),
                    QMessageBox::Ok);
    keep_above(box, window_);
    box.exec();
}

void QtPlatform::destroy_window() { window_.destroy_window(); }

void QtPlatform::post_quit(int code) {
    quit_posted_ = true;
    quit_code_ = code;
    QCoreApplication::exit(code);
}

void QtPlatform::draw_text(Surface& target, const PixelFormat& format, const char* text,
                           int x, int y, int font, Rgb colour) {
    if (!text) return;
    const size_t length = std::strlen(text);
    const bool after_its_shadow = font == last_font_ && x == last_x_ - 1 && y == last_y_ - 1 &&
                                  length < sizeof last_text_ && std::strcmp(text, last_text_) == 0;
    const TextFace face = after_its_shadow ? last_face_ : fit_text(fonts_, text, x, font);
    if (length < sizeof last_text_) {
        std::memcpy(last_text_, text, length + 1);
        last_x_ = x;
        last_y_ = y;
        last_font_ = font;
        last_face_ = face;
    } else {
        last_font_ = -1;
    }
    draw_text_into(fonts_, wrap_surface_cached(text_image_, target, format), text, x, y, font, colour, face);
}

void QtPlatform::draw_wrapped_text(Surface& target, const PixelFormat& format, const char* text,
                                   Rect box, int font, Rgb colour) {
    draw_wrapped_into(fonts_, wrap_surface_cached(text_image_, target, format), text, box, font, colour);
}

int QtPlatform::choose_file_to_open(char* path, int path_size, const char* title,
                                    const char* const* filter, int filter_pairs,
                                    const char* default_extension,
                                    const char* initial_directory) {
    if (!path || path_size <= 0) return 0;
    path[0] = '\0';
    QStringList filters;
    for (int i = 0; filter && i < filter_pairs; ++i) {
        // "*.*" means every file; on this system that is "*".
        QString pattern = QString::fromLatin1(filter[2 * i + 1]);
        if (pattern == QStringLiteral("*.*")) pattern = QStringLiteral("*");
        filters << QStringLiteral("%1 (%2)").arg(QString::fromLatin1(filter[2 * i]), pattern);
    }
    QFileDialog dialog(nullptr, QString::fromLatin1(title ? title : ""),
                       QFile::decodeName(initial_directory ? initial_directory : ""));
    keep_above(dialog, window_);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
    QString suffix = QString::fromLatin1(default_extension ? default_extension : "");
    if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return 0;
    const QByteArray chosen = QFile::encodeName(dialog.selectedFiles().first());
    if (chosen.size() + 1 > path_size) {
        trace::log("path too long: %s", chosen.constData());
        return 0;
    }
    std::memcpy(path, chosen.constData(), static_cast<size_t>(chosen.size()) + 1);
    return 1;
}

long QtPlatform::calendar_seconds() { return static_cast<long>(std::time(nullptr)); }

// No sound is ever played, so there is nothing to start or stop.
int QtPlatform::start_sound_device() { return 1; }
int QtPlatform::start_music() { return 1; }
void QtPlatform::stop_sound() {}

}  // namespace platform
