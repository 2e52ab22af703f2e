// messages.cpp -- warning boxes and questions through QMessageBox or a test's stand-in.
#include "editor/messages.h"

namespace editor {
namespace {

MessageFunction& message_override() {
    static MessageFunction show;
    return show;
}

QuestionFunction& question_override() {
    static QuestionFunction ask;
    return ask;
}

}  // namespace

void set_message_function(MessageFunction show) { message_override() = std::move(show); }
void set_question_function(QuestionFunction ask) { question_override() = std::move(ask); }

void show_warning(QWidget* owner, const QString& title, const QString& text) {
    if (message_override()) {
        message_override()(title, text);
        return;
    }
    QMessageBox::warning(owner, title, text);
}

QMessageBox::StandardButton ask_question(QWidget* owner, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton preferred) {
    if (question_override()) return question_override()(title, text, buttons);
    QMessageBox box(QMessageBox::Question, title, text, buttons, owner);
    box.setDefaultButton(preferred);
    if (buttons & QMessageBox::Cancel) box.setEscapeButton(QMessageBox::Cancel);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace editor
