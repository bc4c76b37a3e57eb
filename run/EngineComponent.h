#pragma once
// The component that performs the model run. The form creates one for each
// run, makes one call with the five paths and releases it. A failing run
// throws; the form then reports that the process failed.

#include <string>

namespace rillo::run {

class EngineComponent {
public:
    virtual ~EngineComponent() = default;
    /// The hydrograph input is empty when the deck generates its own
    /// subcatchment hydrographs.
    virtual void run(const std::string& deckPath, const std::string& mainOutputPath,
                     const std::string& subcatchmentOutputPath, const std::string& gutterOutputPath,
                     const std::string& hydrographInputPath) = 0;
};

}  // namespace rillo::run
