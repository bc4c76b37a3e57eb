#pragma once
// The standard engine component: runs a local model program on the five
// paths. The program is named by the settings store (application
// "Rillo 2000", section "Engine", key "Program") or else by the environment
// variable RILLO_ENGINE. It is started without a shell, in the program's
// folder, with the five paths as its five arguments; exit status 0 is
// success. Its standard output and error go to "<main output>.log".

#include "EngineComponent.h"

#include <string>

namespace rillo {
class UiServices;
}

namespace rillo::run {

class ProcessEngine : public EngineComponent {
public:
    ProcessEngine(UiServices& ui, std::string applicationFolder);

    /// Throws rillo::RuntimeError when no program is named, it cannot be
    /// started, it crashes or it exits with a status other than 0; the log
    /// file then says why.
    void run(const std::string& deckPath, const std::string& mainOutputPath,
             const std::string& subcatchmentOutputPath, const std::string& gutterOutputPath,
             const std::string& hydrographInputPath) override;

    /// The model program named by the settings, else by RILLO_ENGINE; empty
    /// when neither names one.
    std::string programName() const;

private:
    UiServices& ui_;
    std::string applicationFolder_;
};

}  // namespace rillo::run
