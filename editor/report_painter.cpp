// report_painter.cpp -- the page for the eye doctor drawn with QPainter, and its PDF file.
#include "editor/report_painter.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>
#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <algorithm>
#include <vector>

#include "editor/main_window.h"
#include "editor/model/map_pictures.h"
#include "editor/model/report_page.h"
#include "sim/platform/frame.h"
#include "sim/shell/still.h"
#include "visionfile/document.h"

namespace editor {

namespace {

constexpr char font_family[] = "DejaVu Sans";
constexpr char font_folder[] = "/usr/share/fonts/truetype/dejavu/";
constexpr double dot_radius = 1.2;  // points

// The shipped DejaVu fonts, registered once so the page never falls back
// to a font the PDF cannot embed.
void register_fonts() {
    static const bool done = [] {
        for (const char* file : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"})
            QFontDatabase::addApplicationFont(QString(font_folder) + file);
        return true;
    }();
    (void)done;
}

// Page points to device pixels.
struct Scale {
    double factor;
    QRectF box(const PageBox& b) const { return {b.x * factor, b.y * factor, b.width * factor, b.height * factor}; }
    QPointF point(PagePoint p) const { return {p.x * factor, p.y * factor}; }
    double length(double points) const { return points * factor; }
};

QFont page_font(double points, bool bold = false) {
    QFont font(font_family);
    font.setPointSizeF(points);
    font.setBold(bold);
    // Without shaping no ligatures: "fl" stays two letters that a search in the PDF finds.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::PreferNoShaping));
    return font;
}

QString utf8(const std::string& text) { return QString::fromStdString(text); }

// The floater map as drawn: the ground with a grid every 100 map pixels and
// the two rings, the streaks of light of the eye in grey, the dots in black.
void draw_map(QPainter& painter, const Scale& s, const PageBox& box, const vision::Document& doc, int eye) {
    const QRectF frame = s.box(box);
    painter.save();
    painter.setClipRect(frame);
    painter.fillRect(frame, Qt::white);
    painter.setPen(QPen(QColor(200, 200, 200), s.length(0.4)));
    for (int x = 100; x < map_picture_width; x += 100) {
        painter.drawLine(s.point(map_to_page(box, x, 0)), s.point(map_to_page(box, x, map_picture_height)));
    }
    for (int y = 100; y < map_picture_height; y += 100) {
        painter.drawLine(s.point(map_to_page(box, 0, y)), s.point(map_to_page(box, map_picture_width, y)));
    }
    painter.setPen(QPen(QColor(130, 130, 130), s.length(0.7)));
    for (const EllipseBox& ring : {map_outer_ellipse, map_inner_ellipse}) {
        const QPointF a = s.point(map_to_page(box, ring.left, ring.top));
        const QPointF b = s.point(map_to_page(box, ring.right + 1, ring.bottom + 1));
        painter.drawEllipse(QRectF(a, b));
    }

    // Streak points are screen pixels; the screen is the middle of the map.
    const int offset_x = (map_picture_width - eye_picture_width) / 2;
    const int offset_y = (map_picture_height - eye_picture_height) / 2;
    constexpr int stroke_break = 12;  // points further apart than this were traced separately
    painter.setPen(QPen(QColor(110, 110, 110), s.length(1.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (int k = 0; k < vision::streaks_per_eye; ++k) {
        const vision::Streak& streak = doc.header.streak[vision::first_streak_of_eye(eye) + k];
        const int count = std::clamp(streak.point_count, 0, vision::streak_capacity);
        QPainterPath path;
        for (int i = 0; i < count; ++i) {
            const QPointF at = s.point(map_to_page(box, streak.x[i] + offset_x, streak.y[i] + offset_y));
            const bool joined = i > 0 && std::abs(streak.x[i] - streak.x[i - 1]) <= stroke_break &&
                                std::abs(streak.y[i] - streak.y[i - 1]) <= stroke_break;
            if (joined)
                path.lineTo(at);
            else
                path.moveTo(at);
        }
        painter.drawPath(path);
    }

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const double r = s.length(dot_radius);
    const int floaters = std::clamp(doc.header.floater_count[eye], 0, vision::max_floaters);
    for (int i = 0; i < floaters; ++i) {
        const int dots = std::clamp(doc.records[eye][i].dot_count, 0, vision::dot_capacity);
        for (int d = 0; d < dots; ++d)
            painter.drawEllipse(s.point(map_to_page(box, doc.x[eye][i][d], doc.y[eye][i][d])), r, r);
    }
    painter.restore();
    painter.setPen(QPen(Qt::black, s.length(0.8)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
}

void draw_still(QPainter& painter, const Scale& s, const PageBox& box, const QImage& still) {
    const QRectF frame = s.box(box);
    if (!still.isNull()) painter.drawImage(frame, still);
    painter.setPen(QPen(Qt::black, s.length(0.8)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
}

// Text wrapped into `box`; returns the height it took.
double draw_wrapped(QPainter& painter, const QRectF& box, const QString& text, const QFont& font) {
    painter.setFont(font);
    const QRectF used = painter.boundingRect(box, Qt::TextWordWrap, text);
    painter.drawText(box, Qt::TextWordWrap, text);
    return used.height();
}

// The answers, then the comments under their heading, in `box`: the comments
// are cut where the page ends, with a note saying so.
void draw_answers(QPainter& painter, const Scale& s, const PageBox& page_box, const ReportContent& content) {
    QRectF box = s.box(page_box);
    painter.setPen(Qt::black);
    const QFont text_font = page_font(9);
    double y = box.top();
    for (const std::string& answer : content.answers)
        y += draw_wrapped(painter, QRectF(box.left(), y, box.width(), box.bottom() - y), utf8(answer), text_font);
    y += s.length(6);
    y += draw_wrapped(painter, QRectF(box.left(), y, box.width(), box.bottom() - y),
                      utf8(content.comments_heading), page_font(9, true));
    const QRectF room(box.left(), y, box.width(), std::max(0.0, box.bottom() - y));
    QString comments = utf8(content.comments);
    painter.setFont(text_font);
    const auto fits = [&](const QString& text) {
        return painter.boundingRect(QRectF(room.left(), room.top(), room.width(), 1e6), Qt::TextWordWrap, text)
                   .height() <= room.height();
    };
    if (!fits(comments)) {
        const QString note = QString::fromUtf8("\xE2\x80\xA6 (cut short here; the vision file holds the rest)");
        int low = 0, high = int(comments.size());
        while (low < high) {  // the longest start of the comments that fits with the note
            const int mid = (low + high + 1) / 2;
            if (fits(comments.left(mid) + note))
                low = mid;
            else
                high = mid - 1;
        }
        comments = comments.left(low) + note;
    }
    painter.drawText(room, Qt::TextWordWrap, comments);
}

void draw_red_flag(QPainter& painter, const Scale& s, const PageBox& page_box, const ReportContent& content) {
    const QRectF box = s.box(page_box);
    painter.setPen(QPen(Qt::black, s.length(2.0)));
    painter.setBrush(QColor(235, 235, 235));
    painter.drawRect(box);
    const QString heading = utf8(content.red_flag_heading);
    QString rest = utf8(content.red_flag_text);
    if (rest.startsWith(heading)) rest = rest.mid(heading.size());
    QTextDocument text;
    text.documentLayout()->setPaintDevice(painter.device());  // point sizes of the page, not the screen
    text.setDefaultFont(page_font(9.5));
    text.setDocumentMargin(0);
    text.setHtml("<b>" + heading.toHtmlEscaped() + "</b>" + rest.toHtmlEscaped());
    const double pad = s.length(8);
    text.setTextWidth(box.width() - 2 * pad);
    painter.save();
    painter.translate(box.left() + pad, box.top() + (box.height() - text.size().height()) / 2);
    text.drawContents(&painter);
    painter.restore();
}

}  // namespace

QPageSize report_page_size() {
    return QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                   : QPageSize::A4);
}

ReportExtras report_extras(const vision::Document& doc, const QString& vision_path) {
    ReportExtras extras;
    extras.date = QLocale().toString(QDate::currentDate(), QLocale::LongFormat);
    const QString default_vision = find_data_file(QCoreApplication::applicationDirPath(), "vitrion.dat");
    const QByteArray folder = QFileInfo(default_vision).absolutePath().toLocal8Bit();
    const QByteArray path = vision_path.toLocal8Bit();
    shell::StillSources sources;
    sources.vision_path = path.constData();
    sources.default_vision_folder = folder.constData();
    const ReportContent order = report_content(doc, "");
    std::vector<uint8_t> rgb;
    for (int i = 0; i < vision::eyes; ++i) {
        if (!shell::simulation_still(doc, order.eyes[i].eye, sources, rgb)) continue;
        extras.stills[i] = QImage(rgb.data(), platform::screen_width, platform::screen_height,
                                  platform::screen_width * 3, QImage::Format_RGB888)
                               .copy();
    }
    return extras;
}

bool paint_report(QPagedPaintDevice& device, const vision::Document& doc, const ReportExtras& extras) {
    register_fonts();
    const ReportContent content = report_content(doc, extras.date.toStdString());
    const QSizeF page = device.pageLayout().fullRectPoints().size();
    const ReportLayout layout = report_layout(page.width(), page.height());
    QPainter painter;
    if (!painter.begin(&device)) return false;
    painter.setRenderHint(QPainter::Antialiasing);
    const Scale s{device.logicalDpiX() / 72.0};

    painter.setPen(Qt::black);
    painter.setFont(page_font(17, true));
    painter.drawText(s.box(layout.title), Qt::AlignLeft | Qt::AlignTop, utf8(content.title));
    painter.setFont(page_font(10));
    painter.drawText(s.box(layout.date), Qt::AlignLeft | Qt::AlignVCenter, utf8(content.date));
    painter.drawText(s.box(layout.name), Qt::AlignRight | Qt::AlignVCenter, utf8(content.name));

    for (int i = 0; i < vision::eyes; ++i) {
        const EyePanelLayout& panel = layout.eyes[i];
        const EyeReport& eye = content.eyes[i];
        painter.setPen(Qt::black);
        painter.setFont(page_font(11, true));
        painter.drawText(s.box(panel.heading), Qt::AlignHCenter | Qt::AlignTop, utf8(eye.heading));
        draw_map(painter, s, panel.map, doc, eye.eye);
        draw_still(painter, s, panel.still, extras.stills[i]);
        painter.setPen(Qt::black);
        painter.setFont(page_font(9));
        painter.drawText(s.box(panel.counts), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                         utf8(eye.counts + "\n" + content.panel_note));
    }
    draw_answers(painter, s, layout.answers, content);
    draw_red_flag(painter, s, layout.red_flag, content);
    painter.setPen(Qt::black);
    painter.setFont(page_font(8.5));
    painter.drawText(s.box(layout.footer), Qt::AlignHCenter | Qt::AlignBottom, utf8(content.footer));
    return painter.end();
}

QString write_report_pdf(const QString& path, const vision::Document& doc, const ReportExtras& extras) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString("Could not write \"%1\": %2.").arg(path, file.errorString());
    QPdfWriter writer(&file);
    writer.setTitle(QString::fromUtf8(report_title));
    writer.setCreator("Vitrion");
    writer.setResolution(300);
    writer.setPageSize(report_page_size());
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    if (!paint_report(writer, doc, extras)) {
        file.cancelWriting();
        return QString("Could not draw the report into \"%1\".").arg(path);
    }
    if (!file.commit()) return QString("Could not write \"%1\": %2.").arg(path, file.errorString());
    return "";
}

}  // namespace editor
