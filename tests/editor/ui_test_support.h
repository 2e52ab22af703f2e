// ui_test_support.h -- helpers for driving the editor's widgets in tests.
#pragma once
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "editor/model/editor_state.h"
#include "visionfile/document.h"

namespace testing_support {

// A fresh editor state over its own new document, with the chooser, shell,
// message box and questions replaced by recorders; everything is restored
// afterwards.
struct EditorFixture {
    EditorFixture();
    ~EditorFixture();
    EditorFixture(const EditorFixture&) = delete;
    EditorFixture& operator=(const EditorFixture&) = delete;

    std::unique_ptr<vision::Document> doc;
    editor::EditorState state;

    // The path the next chooser returns (empty = the user cancels), and what
    // the choosers, the shell and the message boxes were asked.
    QString next_choice;
    QStringList chooser_titles;
    QStringList chooser_folders;
    QStringList chooser_filters;   // the filters of the last chooser
    QString chooser_suffix;        // its default suffix
    QString chooser_name;          // the file name it proposed
    QStringList opened;            // paths handed to the shell
    bool shell_opens = true;       // what the desktop answers
    QStringList messages;          // texts of the warning boxes
    // Answers for the next questions, in order (Cancel once they run out),
    // and the texts of the questions asked.
    QList<QMessageBox::StandardButton> answers;
    QStringList questions;
};

// What a program run to its end gave: exit code (-1 when it crashed or did
// not end within a minute) and its two output streams.
struct Outcome {
    int code = -1;
    QString out, err;
};

// Runs `program` with `arguments` and no display at all, in the C.UTF-8 locale.
Outcome run_without_display(const QString& program, const QStringList& arguments);

// The child control named "ctl_<id>" of `parent`, or nullptr.
template <typename T>
T* control(QWidget* parent, int id) {
    return parent->findChild<T*>(QString("ctl_%1").arg(id));
}

}  // namespace testing_support
