#pragma once
// The component that performs the model run. The form creates one for each
// run, checks that it can start, starts it with the run's paths and hears
// from it through an EngineListener until the run has ended. The run goes on
// while the windows stay usable, so it can be watched and stopped.

#include "RunPaths.h"

#include <string>

namespace rillo::run {

/// How a run ended.
enum class EngineOutcome { Completed, Failed, Stopped };

struct EngineResult {
    EngineOutcome outcome = EngineOutcome::Completed;
    std::string reason;   ///< why a run failed, in a sentence or two
    std::string logPath;  ///< where the engine's own messages were kept (empty: nowhere)
};

/// What a running engine reports, on the thread that started it.
class EngineListener {
public:
    virtual ~EngineListener() = default;
    /// The engine has done `step` of `steps` steps.
    virtual void engineProgress(int step, int steps) = 0;
    /// The run has ended; said exactly once per start, and nothing follows.
    virtual void engineFinished(const EngineResult& result) = 0;
};

class EngineComponent {
public:
    /// Destroying an engine whose run is still going ends that run at once
    /// and waits for it to end; it then reports nothing more.
    virtual ~EngineComponent() = default;

    /// Throws rillo::RuntimeError saying why when the engine could not be
    /// started at all (nothing to run, a program that is not there), so that
    /// the form can say so before it deletes anything.
    virtual void checkReady() {}

    /// Starts the run on the deck, the three outputs and the hydrograph input
    /// (empty when the deck generates its own subcatchment hydrographs), and
    /// returns. The listener hears how it goes; an engine that works at once
    /// may report the end before start returns. Throws when the run could not
    /// be started; nothing is reported then.
    virtual void start(const RunPaths& paths, EngineListener& listener) = 0;

    /// Asks the run to end early. The engine reports Stopped once it has
    /// ended; nothing happens when no run is going.
    virtual void stop() = 0;
};

}  // namespace rillo::run
