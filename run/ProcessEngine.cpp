#include "ProcessEngine.h"

#include "NumberText.h"
#include "UiServices.h"

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdlib>

namespace rillo::run {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

/// Adds a closing note to the log; the log is an aid, so a log that cannot
/// be written never changes the outcome of the run.
void appendToLog(const QString& logPath, const std::string& note) {
    QFile log(logPath);
    if (log.open(QIODevice::WriteOnly | QIODevice::Append)) log.write(QByteArray::fromStdString(note + "\n"));
}

}  // namespace

ProcessEngine::ProcessEngine(UiServices& ui, std::string applicationFolder)
    : ui_(ui), applicationFolder_(std::move(applicationFolder)) {}

std::string ProcessEngine::programName() const {
    std::string program(trimmed(ui_.setting("Rillo 2000", "Engine", "Program", {})));
    if (program.empty()) {
        const char* fromEnvironment = std::getenv("RILLO_ENGINE");
        if (fromEnvironment) program = std::string(trimmed(fromEnvironment));
    }
    return program;
}

void ProcessEngine::run(const std::string& deckPath, const std::string& mainOutputPath,
                        const std::string& subcatchmentOutputPath, const std::string& gutterOutputPath,
                        const std::string& hydrographInputPath) {
    const QString logPath = q(mainOutputPath + ".log");
    QFile::remove(logPath);
    const std::string program = programName();
    if (program.empty()) {
        const std::string why =
            "No model program is named: set Program in section Engine of the settings, or RILLO_ENGINE.";
        appendToLog(logPath, why);
        throw RuntimeError(why);
    }

    QProcess process;
    process.setProgram(q(program));
    process.setArguments({q(deckPath), q(mainOutputPath), q(subcatchmentOutputPath), q(gutterOutputPath),
                          q(hydrographInputPath)});
    process.setWorkingDirectory(q(applicationFolder_));
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardOutputFile(logPath, QIODevice::Truncate);
    process.setStandardInputFile(QProcess::nullDevice());

    process.start();
    if (!process.waitForStarted(-1)) {
        const std::string why = "The model program " + program + " could not be started: " +
                                process.errorString().toStdString();
        appendToLog(logPath, why);
        throw RuntimeError(why);
    }
    process.waitForFinished(-1);

    std::string why;
    if (process.exitStatus() != QProcess::NormalExit)
        why = "The model program " + program + " crashed.";
    else if (process.exitCode() != 0)
        why = "The model program " + program + " ended with status " + std::to_string(process.exitCode()) + ".";
    if (!why.empty()) {
        appendToLog(logPath, why);
        throw RuntimeError(why);
    }
}

}  // namespace rillo::run
