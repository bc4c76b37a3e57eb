#pragma once
// Class identities (texts) of the run components mapped to the factories
// that make them, so that a site can plug in its own engine by registering
// it under the identity the run form asks for.

#include "EngineComponent.h"
#include "PreRunComponent.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace rillo {
class UiServices;
}

namespace rillo::run {

/// What a factory may use: the settings store and the program's folder.
struct ComponentContext {
    UiServices& ui;
    std::string applicationFolder;
};

class ComponentRegistry {
public:
    using PreRunFactory = std::function<std::unique_ptr<PreRunComponent>(const ComponentContext&)>;
    using EngineFactory = std::function<std::unique_ptr<EngineComponent>(const ComponentContext&)>;

    /// The identities the run form asks for unless told otherwise.
    static constexpr const char* standardPreRun = "Rillo2000.PreRun";
    static constexpr const char* standardEngine = "Rillo2000.Engine";

    /// Registers (or replaces) the factory of an identity.
    void addPreRun(const std::string& identity, PreRunFactory factory);
    void addEngine(const std::string& identity, EngineFactory factory);

    /// A new component; throws rillo::RuntimeError when the identity is not
    /// registered or its factory makes nothing.
    std::unique_ptr<PreRunComponent> createPreRun(const std::string& identity, const ComponentContext& context) const;
    std::unique_ptr<EngineComponent> createEngine(const std::string& identity, const ComponentContext& context) const;

private:
    std::map<std::string, PreRunFactory> preRun_;
    std::map<std::string, EngineFactory> engine_;
};

}  // namespace rillo::run
