#pragma once
// The component the run form calls before every model run. The form creates
// one for each run, calls setInputFile with the full deck path and then
// prepare, and releases it. A failing call throws (rillo::RuntimeError or
// any std::exception); the form reports the description.

#include <string>

namespace rillo::run {

class PreRunComponent {
public:
    virtual ~PreRunComponent() = default;
    virtual void setInputFile(const std::string& deckPath) = 0;
    virtual void prepare() = 0;
};

}  // namespace rillo::run
