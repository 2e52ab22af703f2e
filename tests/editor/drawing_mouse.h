// drawing_mouse.h -- left-button mouse events sent straight to a drawing dialog.
#pragma once
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace testing_support {

inline void send_mouse(QWidget* widget, QEvent::Type type, int x, int y, Qt::MouseButton button,
                       Qt::MouseButtons buttons) {
    const QPointF at(x, y);
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
inline void press(QWidget* w, int x, int y) {
    send_mouse(w, QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton);
}
// A move with the left button held.
inline void drag(QWidget* w, int x, int y) {
    send_mouse(w, QEvent::MouseMove, x, y, Qt::NoButton, Qt::LeftButton);
}
inline void release(QWidget* w, int x, int y) {
    send_mouse(w, QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton);
}

}  // namespace testing_support
