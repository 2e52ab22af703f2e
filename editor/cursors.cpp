// cursors.cpp -- draws the floater pen cursor with QPainter.
#include "editor/cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace editor {
namespace {

QPixmap floater_cursor_pixmap() {
    QPixmap pixmap(floater_cursor_size, floater_cursor_size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPointF tip(floater_cursor_hot_x + 0.5, floater_cursor_hot_y + 0.5);

    // Pen body running from the tip towards the bottom right, outlined in
    // white so it shows over dark and light maps alike.
    QPainterPath body;
    body.moveTo(tip + QPointF(3, 3));
    body.lineTo(tip + QPointF(8, 2));
    body.lineTo(tip + QPointF(25, 19));
    body.lineTo(tip + QPointF(19, 25));
    body.lineTo(tip + QPointF(2, 8));
    body.closeSubpath();
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(QColor(60, 70, 110));
    painter.drawPath(body);
    painter.setPen(QPen(QColor(180, 200, 255), 1.0));
    painter.drawLine(tip + QPointF(6, 4), tip + QPointF(21, 19));

    // Cross-hair at the tip: black arms with a white halo, the hot pixel clear.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int x = floater_cursor_hot_x, y = floater_cursor_hot_y;
    painter.setPen(QPen(Qt::white, 3));
    painter.drawLine(x - 5, y, x - 2, y);
    painter.drawLine(x + 2, y, x + 3, y);
    painter.drawLine(x, y - 5, x, y - 2);
    painter.drawLine(x, y + 2, x, y + 3);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(x - 5, y, x - 2, y);
    painter.drawLine(x + 2, y, x + 3, y);
    painter.drawLine(x, y - 5, x, y - 2);
    painter.drawLine(x, y + 2, x, y + 3);
    painter.drawPoint(x, y);
    return pixmap;
}

}  // namespace

QCursor floater_cursor() {
    static const QPixmap pixmap = floater_cursor_pixmap();
    return QCursor(pixmap, floater_cursor_hot_x, floater_cursor_hot_y);
}

QCursor arrow_cursor() { return QCursor(Qt::ArrowCursor); }

}  // namespace editor
