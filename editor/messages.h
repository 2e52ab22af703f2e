// messages.h -- warning boxes and questions, replaceable so tests can answer them instead.
#pragma once
#include <functional>

#include <QMessageBox>
#include <QString>

class QWidget;

namespace editor {

using MessageFunction = std::function<void(const QString& title, const QString& text)>;
// Answers a question: gets the title, the text and the buttons offered,
// returns the button pressed (one of them).
using QuestionFunction = std::function<QMessageBox::StandardButton(
    const QString& title, const QString& text, QMessageBox::StandardButtons buttons)>;

// Let tests collect messages and answer questions instead of showing modal
// boxes; an empty function restores the real boxes.
void set_message_function(MessageFunction show);
void set_question_function(QuestionFunction ask);

// Shows a modal warning box with an OK button over `owner`.
void show_warning(QWidget* owner, const QString& title, const QString& text);

// Asks a modal question over `owner` with `buttons`, laid out in the
// desktop's usual order, `preferred` being the default; Escape or the close
// box answer Cancel when it is offered. Returns the button pressed.
QMessageBox::StandardButton ask_question(QWidget* owner, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton preferred);

}  // namespace editor
