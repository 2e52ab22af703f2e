// messages.h -- warning message boxes, replaceable so tests can read them instead.
#pragma once
#include <functional>

#include <QString>

class QWidget;

namespace editor {

using MessageFunction = std::function<void(const QString& title, const QString& text)>;

// Lets tests collect messages instead of showing modal boxes; an empty
// function restores the real boxes.
void set_message_function(MessageFunction show);

// Shows a modal warning box with an OK button over `owner`.
void show_warning(QWidget* owner, const QString& title, const QString& text);

}  // namespace editor
