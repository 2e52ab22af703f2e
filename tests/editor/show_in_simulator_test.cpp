// show_in_simulator_test.cpp -- "Show in simulator" with a stand-in simulator,
// and vision files dropped on the main window.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMainWindow>
#include <QMimeData>
#include <QProcess>
#include <QThread>
#include <QUrl>
#include <memory>

#include "editor/main_window.h"
#include "editor/model/unsaved_changes.h"
#include "editor/show_in_simulator.h"
#include "support/temp_dir.h"
#include "ui_test_support.h"
#include "visionfile/reader.h"
#include "visionfile/writer.h"

using namespace editor;

namespace {

// XDG_RUNTIME_DIR pointed at a folder of the test's own while it lives.
struct RuntimeFolder {
    testing_support::TempDir dir;
    QByteArray before = qgetenv("XDG_RUNTIME_DIR");
    RuntimeFolder() { qputenv("XDG_RUNTIME_DIR", dir.path().c_str()); }
    ~RuntimeFolder() {
        if (before.isNull()) qunsetenv("XDG_RUNTIME_DIR");
        else qputenv("XDG_RUNTIME_DIR", before);
    }
    QStringList copies() const {
        return QDir(QString::fromStdString(dir.file("vitrion"))).entryList({"*.flt"}, QDir::Files);
    }
};

// Waits up to 5 s for `path` to exist.
bool appears(const QString& path) {
    for (int i = 0; i < 500 && !QFile::exists(path); ++i) QThread::msleep(10);
    return QFile::exists(path);
}

// A stand-in simulator: records its arguments and a copy of the file it was
// given (as "<record>.<n>", n counting the starts), then waits to be ended.
// Both are written aside and renamed, so a file that exists is complete.
QString stand_in(const testing_support::TempDir& dir) {
    const QString script = QString::fromStdString(dir.file("vitrion_sim"));
    QFile file(script);
    file.open(QIODevice::WriteOnly);
    file.write(QString("#!/bin/sh\nn=$(ls %1/record.* 2>/dev/null | wc -l)\n"
                       "cp \"$2\" %1/copy.tmp && mv %1/copy.tmp %1/copy.$n\n"
                       "echo \"$@\" > %1/args.tmp && mv %1/args.tmp %1/record.$n\n"
                       "exec sleep 30\n")
                   .arg(QString::fromStdString(dir.path()))
                   .toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return script;
}

TEST(ShowInSimulator, ShowsUnsavedWorkReplacesTheRunningOneAndCleansUp) {
    testing_support::EditorFixture fixture;
    RuntimeFolder runtime;
    testing_support::TempDir dir;
    const QString program = stand_in(dir);
    const QString record = QString::fromStdString(dir.file("record.%1"));
    const QString copy = QString::fromStdString(dir.file("copy.%1"));
    auto window = std::unique_ptr<QMainWindow>(create_main_window(fixture.state));

    fixture.doc->records[0][0].dot_count = 3;
    fixture.doc->x[0][0][2] = 456;  // unsaved
    ASSERT_TRUE(start_shown_simulator(window.get(), fixture.state, program));
    ASSERT_TRUE(appears(record.arg(0)));
    ASSERT_TRUE(appears(copy.arg(0)));
    QFile first_record(record.arg(0));
    first_record.open(QIODevice::ReadOnly);
    const QStringList args = QString::fromUtf8(first_record.readAll()).trimmed().split(' ');
    ASSERT_EQ(args.size(), 2);
    EXPECT_EQ(args[0], "--no-intro");
    EXPECT_TRUE(args[1].startsWith(QString::fromStdString(runtime.dir.file("vitrion/shown-")))) << args[1].toStdString();
    EXPECT_TRUE(QFile::exists(args[1]));
    auto shown = std::make_unique<vision::Document>();
    ASSERT_EQ(vision::read_vision_file(*shown, copy.arg(0).toUtf8().constData()), 1);
    EXPECT_EQ(shown->x[0][0][2], 456);
    EXPECT_TRUE(document_changed(fixture.state)) << "showing is no save";

    // Again: the first simulator ends and takes its file along.
    fixture.doc->x[0][0][2] = 789;
    ASSERT_TRUE(start_shown_simulator(window.get(), fixture.state, program));
    EXPECT_FALSE(QFile::exists(args[1]));
    ASSERT_TRUE(appears(copy.arg(1)));
    // Its record too: the next start counts the records to number itself.
    ASSERT_TRUE(appears(record.arg(1)));
    ASSERT_EQ(vision::read_vision_file(*shown, copy.arg(1).toUtf8().constData()), 1);
    EXPECT_EQ(shown->x[0][0][2], 789);
    EXPECT_EQ(runtime.copies().size(), 1);

    // The simulator ending by itself removes its file too.
    QProcess* running = window->findChild<QProcess*>();
    ASSERT_NE(running, nullptr);
    running->terminate();
    for (int i = 0; i < 500 && !runtime.copies().isEmpty(); ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(10);
    }
    EXPECT_TRUE(runtime.copies().isEmpty());

    // One that runs when the editor ends is ended, and its file removed.
    ASSERT_TRUE(start_shown_simulator(window.get(), fixture.state, program));
    ASSERT_TRUE(appears(record.arg(2)));
    window.reset();
    EXPECT_TRUE(runtime.copies().isEmpty());
    EXPECT_TRUE(fixture.messages.isEmpty()) << fixture.messages.join("\n").toStdString();
}

TEST(ShowInSimulator, AProgramThatDoesNotStartIsReportedAndLeavesNoFile) {
    testing_support::EditorFixture fixture;
    RuntimeFolder runtime;
    auto window = std::unique_ptr<QMainWindow>(create_main_window(fixture.state));
    EXPECT_FALSE(start_shown_simulator(window.get(), fixture.state, "/nonexistent/vitrion_sim"));
    ASSERT_EQ(fixture.messages.size(), 1);
    EXPECT_TRUE(fixture.messages[0].contains("/nonexistent/vitrion_sim")) << fixture.messages[0].toStdString();
    EXPECT_TRUE(runtime.copies().isEmpty());
}

// Drops `path` on `window` and lets the load that follows run.
void drop(QWidget* window, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    if (!enter.isAccepted()) return;
    QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &dropped);
    QCoreApplication::processEvents();
}

TEST(MainWindow, ADroppedVisionFileIsLoadedAfterTheQuestionAboutChanges) {
    testing_support::EditorFixture fixture;
    testing_support::TempDir dir;
    auto other = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*other);
    other->header.myopia_dioptres = 7;
    const QString file = QString::fromStdString(dir.file("sent.FLT"));
    ASSERT_EQ(vision::write_vision_file(*other, file.toUtf8().constData()), 1);
    QFile::copy(file, QString::fromStdString(dir.file("sent.txt")));
    auto window = std::unique_ptr<QMainWindow>(create_main_window(fixture.state));

    drop(window.get(), QString::fromStdString(dir.file("sent.txt")));
    EXPECT_EQ(fixture.doc->header.myopia_dioptres, 1) << "only vision files are taken";

    fixture.doc->header.myopia_dioptres = 3;  // unsaved work
    fixture.answers = {QMessageBox::Cancel};
    drop(window.get(), file);
    EXPECT_EQ(fixture.questions.size(), 1);
    EXPECT_EQ(fixture.doc->header.myopia_dioptres, 3);

    fixture.answers = {QMessageBox::Discard};
    drop(window.get(), file);
    EXPECT_EQ(fixture.doc->header.myopia_dioptres, 7);
    EXPECT_FALSE(document_changed(fixture.state));
}

}  // namespace
