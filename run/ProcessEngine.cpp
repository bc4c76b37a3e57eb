#include "ProcessEngine.h"

#include "NumberText.h"
#include "Platform.h"
#include "UiServices.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <cstdlib>

namespace rillo::run {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

/// A process may be released from inside one of its own signals, and may
/// outlive the engine that started it until the event loop deletes it: it
/// says nothing more to anyone from here on.
void releaseProcess(QProcess* process) {
    if (!process) return;
    process->disconnect();
    process->deleteLater();
}

std::string shown(const std::string& program) { return QDir::toNativeSeparators(q(program)).toStdString(); }

}  // namespace

ProcessEngine::ProcessEngine(UiServices& ui, std::string applicationFolder)
    : ui_(ui), applicationFolder_(std::move(applicationFolder)), process_(nullptr, releaseProcess) {}

ProcessEngine::~ProcessEngine() { abandon(); }

std::string ProcessEngine::bundledProgramName() {
    return platform::executableName(QStringLiteral("rillo-model")).toStdString();
}

std::string ProcessEngine::programName() const {
    std::string program(trimmed(ui_.setting("Rillo 2000", "Engine", "Program", {})));
    if (program.empty()) {
        const char* fromEnvironment = std::getenv("RILLO_ENGINE");
        if (fromEnvironment) program = std::string(trimmed(fromEnvironment));
    }
    if (program.empty()) program = QDir(q(applicationFolder_)).filePath(q(bundledProgramName())).toStdString();
    return program;
}

void ProcessEngine::checkReady() {
    const std::string program = programName();
    const QString name = q(program);
    const std::string hint = " Name the model program under Program in section Engine of the settings, "
                             "or in the environment variable RILLO_ENGINE.";
    const bool hasFolder = std::any_of(program.begin(), program.end(), isFolderSeparator);
    if (!hasFolder) {
        if (QStandardPaths::findExecutable(name).isEmpty())
            throw RuntimeError("The model program " + program + " was not found on the search path." + hint);
        return;
    }
    // A relative name is taken from the program's folder, where it runs.
    const QFileInfo file(QDir(q(applicationFolder_)).absoluteFilePath(name));
    if (!file.exists()) throw RuntimeError("The model program " + shown(program) + " is not there." + hint);
    if (!file.isFile() || !file.isExecutable())
        throw RuntimeError("The model program " + shown(program) + " cannot be run: it is not an executable file." +
                           hint);
}

void ProcessEngine::start(const RunPaths& paths, EngineListener& listener) {
    if (process_) throw RuntimeError("A model run is already going.");
    program_ = programName();
    listener_ = &listener;
    stopping_ = false;
    lastError_.clear();
    output_ = {};
    errors_ = {};
    // The log is an aid: a log that cannot be written never stops the run.
    logPath_ = paths.log;
    log_.setFileName(q(paths.log));
    (void)log_.open(QIODevice::WriteOnly | QIODevice::Truncate);

    process_.reset(new QProcess);
    QProcess* process = process_.get();
    process->setProgram(q(program_));
    process->setArguments({q(paths.deck), q(paths.mainOutput), q(paths.subcatchmentOutput), q(paths.gutterOutput),
                           q(paths.hydrographInput)});
    process->setWorkingDirectory(q(applicationFolder_));
    process->setStandardInputFile(QProcess::nullDevice());
    platform::hideConsoleWindow(*process);

    QObject::connect(process, &QProcess::readyReadStandardOutput, process, [this] { readOutput(); });
    QObject::connect(process, &QProcess::readyReadStandardError, process, [this] { readErrors(); });
    QObject::connect(process, &QProcess::finished, process, [this](int exitCode, QProcess::ExitStatus status) {
        readOutput();
        readErrors();
        if (auto last = output_.finish()) {
            const auto count = parseStepLine(*last);
            if (count && listener_) listener_->engineProgress(count->step, count->steps);
        }
        if (auto last = errors_.finish(); last && !trimmed(*last).empty()) lastError_ = std::string(trimmed(*last));
        EngineResult result;
        if (stopping_) {
            result.outcome = EngineOutcome::Stopped;
            result.reason = "The run was stopped.";
        } else if (status != QProcess::NormalExit) {
            result.outcome = EngineOutcome::Failed;
            result.reason = "The model program " + shown(program_) + " crashed.";
        } else if (exitCode != 0) {
            result.outcome = EngineOutcome::Failed;
            result.reason = "The model program " + shown(program_) + " ended with status " +
                            std::to_string(exitCode) + ".";
        }
        if (result.outcome == EngineOutcome::Failed && !lastError_.empty())
            result.reason += " Its last message: " + lastError_;
        finished(std::move(result));
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart || !process_) return;
        finished({EngineOutcome::Failed,
                  "The model program " + shown(program_) + " could not be started: " +
                      process_->errorString().toStdString(),
                  {}});
    });
    process->start();
}

void ProcessEngine::readOutput() {
    if (!process_) return;
    const QByteArray data = process_->readAllStandardOutput();
    log(data);
    // A chunk may hold many steps: the form needs only the last.
    std::optional<StepCount> last;
    for (const std::string& line : output_.add(data.toStdString()))
        if (const auto count = parseStepLine(line)) last = count;
    if (last && listener_) listener_->engineProgress(last->step, last->steps);
}

void ProcessEngine::readErrors() {
    if (!process_) return;
    const QByteArray data = process_->readAllStandardError();
    log(data);
    for (const std::string& line : errors_.add(data.toStdString()))
        if (!trimmed(line).empty()) lastError_ = std::string(trimmed(line));
}

void ProcessEngine::log(const QByteArray& text) {
    if (log_.isOpen() && !text.isEmpty()) {
        log_.write(text);
        log_.flush();
    }
}

void ProcessEngine::finished(EngineResult result) {
    const std::string note = result.outcome == EngineOutcome::Completed ? "The run completed." : result.reason;
    log(QByteArray::fromStdString("\n" + note + "\n"));
    if (log_.isOpen()) result.logPath = logPath_;
    log_.close();
    process_.reset();
    EngineListener* listener = listener_;
    listener_ = nullptr;
    if (listener) listener->engineFinished(result);
}

void ProcessEngine::stop() {
    if (!process_ || stopping_) return;
    stopping_ = true;
    QProcess* process = process_.get();
    process->terminate();
    QTimer::singleShot(graceMs_, process, [process] { process->kill(); });
}

void ProcessEngine::abandon() {
    if (!process_) return;
    listener_ = nullptr;
    process_->disconnect();
    if (process_->state() != QProcess::NotRunning) {
        process_->terminate();
        if (!process_->waitForFinished(graceMs_)) {
            process_->kill();
            process_->waitForFinished(-1);
        }
    }
    log(QByteArray("\nThe run was ended before it was done.\n"));
    log_.close();
    process_.reset();
}

}  // namespace rillo::run
