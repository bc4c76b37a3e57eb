#pragma once
// The standard engine component: runs a local model program on the five
// paths. The program is named by the settings store (application
// "Rillo 2000", section "Engine", key "Program"), else by the environment
// variable RILLO_ENGINE, else it is the model program bundled beside this
// one ("rillo-model" in the program's folder). It is started without a
// shell, in the program's folder, with the five paths as its five arguments,
// and runs while the windows go on; exit status 0 is success. What it prints
// on standard output and error is kept in the run's log file, and its
// progress lines "step N of M" are reported as they come.

#include "EngineComponent.h"
#include "EngineOutput.h"

#include <QFile>

#include <memory>
#include <string>

class QProcess;

namespace rillo {
class UiServices;
}

namespace rillo::run {

class ProcessEngine : public EngineComponent {
public:
    ProcessEngine(UiServices& ui, std::string applicationFolder);
    ~ProcessEngine() override;
    ProcessEngine(const ProcessEngine&) = delete;
    ProcessEngine& operator=(const ProcessEngine&) = delete;

    /// Throws rillo::RuntimeError when the program is not there or cannot be
    /// run.
    void checkReady() override;
    /// Throws rillo::RuntimeError when a run is already going.
    void start(const RunPaths& paths, EngineListener& listener) override;
    /// Asks the program to end (terminate), and kills it when it has not
    /// ended after the grace period.
    void stop() override;

    /// The model program named by the settings, else by RILLO_ENGINE, else
    /// the bundled one in the program's folder.
    std::string programName() const;
    /// The name of the bundled model program ("rillo-model", with ".exe" on
    /// Windows).
    static std::string bundledProgramName();

    /// How long a stopped program may take to end before it is killed.
    void setGracePeriod(int milliseconds) { graceMs_ = milliseconds; }

private:
    void readOutput();
    void readErrors();
    void finished(EngineResult result);
    void log(const QByteArray& text);
    /// Ends a running program at once, reporting nothing.
    void abandon();

    UiServices& ui_;
    std::string applicationFolder_;
    std::string program_;
    int graceMs_ = 3000;

    /// Deleted later: the process may be destroyed from inside its own signal.
    std::unique_ptr<QProcess, void (*)(QProcess*)> process_;
    EngineListener* listener_ = nullptr;
    QFile log_;
    std::string logPath_;  ///< as the run named it (QFile's own name has '/' on Windows too)
    LineSplitter output_, errors_;
    std::string lastError_;
    bool stopping_ = false;
};

}  // namespace rillo::run
