// show_in_simulator.cpp -- starts the simulator on a private copy of the document and cleans up after it.
#include "editor/show_in_simulator.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QWidget>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "editor/messages.h"
#include "editor/model/shown_copy.h"

namespace editor {
namespace {

constexpr char title[] = "Show in simulator";
constexpr char process_name[] = "shown_simulator";
constexpr int end_wait_ms = 3000;

// A simulator started on a shown copy: it owns the copy, which goes when
// the simulator ends or, should the editor go first, with this object.
class ShownSimulator : public QProcess {
public:
    ShownSimulator(QWidget* window, const QString& file) : QProcess(window), file_(file) {
        setObjectName(process_name);
    }
    ~ShownSimulator() override {
        end();
        QFile::remove(file_);
    }
    // Ends the simulator and waits for it.
    void end() {
        if (state() == QProcess::NotRunning) return;
        terminate();
        if (!waitForFinished(end_wait_ms)) {
            kill();
            waitForFinished(end_wait_ms);
        }
    }

private:
    QString file_;
};

}  // namespace

bool start_shown_simulator(QWidget* window, EditorState& state, const QString& program) {
    // The one that runs now gives way to the fresh one.
    if (auto* running = window->findChild<ShownSimulator*>(process_name, Qt::FindDirectChildrenOnly)) delete running;

    const std::string folder = shown_folder_from_environment();
    errno = 0;
    const std::string path = write_shown_copy(state, folder);
    if (path.empty()) {
        const int error = errno;
        show_warning(window, title,
                     QString("Could not write the vision for the simulator into \"%1\": %2.")
                         .arg(QString::fromStdString(folder),
                              QString::fromLocal8Bit(std::strerror(error ? error : EIO))));
        return false;
    }
    auto* simulator = new ShownSimulator(window, QString::fromStdString(path));
    // Its messages (a picture it cannot decode, say) go where the editor's go.
    simulator->setProcessChannelMode(QProcess::ForwardedChannels);
    simulator->setProgram(program);
    simulator->setArguments({"--no-intro", QString::fromStdString(path)});
    QObject::connect(simulator, &QProcess::finished, simulator, &QObject::deleteLater);
    simulator->start();
    if (!simulator->waitForStarted()) {
        const QString reason = simulator->errorString();
        delete simulator;
        show_warning(window, title, QString("Could not start the simulator \"%1\": %2.").arg(program, reason));
        return false;
    }
    return true;
}

void show_in_simulator_command(QWidget* window, EditorState& state) {
    const std::string program =
        find_simulator(QCoreApplication::applicationDirPath().toStdString(), std::getenv("PATH"));
    if (program.empty()) {
        show_warning(window, title,
                     "Could not find the simulator vitrion_sim, neither beside the editor nor on the PATH.");
        return;
    }
    start_shown_simulator(window, state, QString::fromStdString(program));
}

}  // namespace editor
