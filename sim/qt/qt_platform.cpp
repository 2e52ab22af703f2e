// qt_platform.cpp -- Platform operations on Qt.
#include "sim/qt/qt_platform.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QWindow>

#include <chrono>
#include <cstring>
#include <ctime>

#include "common/trace.h"
#include "sim/platform/jpeg_decode.h"

namespace platform {

QtPlatform::QtPlatform(const QString& title, PresentChoice choice) : window_(title, choice) {
    make_fonts(fonts_);
    window_.setCursor(Qt::BlankCursor);
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

void QtPlatform::present(const Frame& frame) {
    // The frame lives as long as the simulator: the window keeps an image
    // over it to repaint from.
    const uchar* bits = reinterpret_cast<const uchar*>(frame.pixels.data());
    if (present_image_.isNull() || present_image_.constBits() != bits)
        present_image_ = QImage(bits, screen_width, screen_height, screen_width * 2, QImage::Format_RGB16);
    window_.show_frame(present_image_, true);
}

void QtPlatform::set_frame_timer(int period_ms) {
    if (period_ms > 0)
        window_.start_frame_timer(period_ms);
    else
        window_.stop_frame_timer();
}

void QtPlatform::show_message(const char* text, const char* caption) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(caption), QString::fromUtf8(text),
                    QMessageBox::Ok);
    keep_above(box, window_);
    box.exec();
}

void QtPlatform::quit() {
    if (quit_requested_) return;
    quit_requested_ = true;
    window_.destroy_window();  // its `destroyed` event ends the event loop
}

void QtPlatform::draw_text(Frame& frame, const TextRun& run) {
    const char* text = run.text;
    if (!text) return;
    QImage& target = wrap_frame(text_image_, frame);
    if (run.wrapped) {
        draw_wrapped_into(fonts_, target, text, run.box, run.font, run.colour);
        return;
    }
    const int x = run.x, y = run.y, font = run.font;
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
    draw_text_into(fonts_, target, text, x, y, font, run.colour, face);
}

int QtPlatform::decode_jpeg(const char* path, long offset, const PictureLimits& limits, DecodedPicture& out) {
    return platform::decode_jpeg(path, offset, out, limits);
}

int QtPlatform::choose_file(const FileRequest& request, char* path, int path_size) {
    if (!path || path_size <= 0) return file_cancelled;
    path[0] = '\0';
    QStringList filters;
    for (int i = 0; request.filter && i < request.filter_pairs; ++i) {
        // "*.*" means every file; on this system that is "*".
        QString pattern = QString::fromLatin1(request.filter[2 * i + 1]);
        if (pattern == QStringLiteral("*.*")) pattern = QStringLiteral("*");
        filters << QStringLiteral("%1 (%2)").arg(QString::fromLatin1(request.filter[2 * i]), pattern);
    }
    QFileDialog dialog(nullptr, QString::fromLatin1(request.title ? request.title : ""),
                       QFile::decodeName(request.initial_directory ? request.initial_directory : ""));
    keep_above(dialog, window_);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
    QString suffix = QString::fromLatin1(request.default_extension ? request.default_extension : "");
    if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    window_.unsetCursor();
    const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    window_.setCursor(Qt::BlankCursor);
    if (!accepted) return file_cancelled;
    const QByteArray chosen = QFile::encodeName(dialog.selectedFiles().first());
    if (chosen.size() + 1 > path_size) {
        trace::log("path too long: %s", chosen.constData());
        return file_cancelled;
    }
    std::memcpy(path, chosen.constData(), static_cast<size_t>(chosen.size()) + 1);
    return file_chosen;
}

long QtPlatform::calendar_seconds() { return static_cast<long>(std::time(nullptr)); }

long QtPlatform::steady_milliseconds() {
    using namespace std::chrono;
    return long(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace platform
