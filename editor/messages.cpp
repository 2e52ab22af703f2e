// messages.cpp -- warning boxes through QMessageBox or a test's collector.
#include "editor/messages.h"

#include <QMessageBox>

namespace editor {
namespace {

MessageFunction& message_override() {
    static MessageFunction show;
    return show;
}

}  // namespace

void set_message_function(MessageFunction show) { message_override() = std::move(show); }

void show_warning(QWidget* owner, const QString& title, const QString& text) {
    if (message_override()) {
        message_override()(title, text);
        return;
    }
    QMessageBox::warning(owner, title, text);
}

}  // namespace editor
