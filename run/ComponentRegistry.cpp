#include "ComponentRegistry.h"

#include "UiServices.h"

namespace rillo::run {

namespace {

template <typename Component, typename Factories>
std::unique_ptr<Component> create(const Factories& factories, const std::string& identity,
                                  const ComponentContext& context) {
    const auto it = factories.find(identity);
    if (it == factories.end() || !it->second)
        throw RuntimeError("The component \"" + identity + "\" is not registered.");
    auto component = it->second(context);
    if (!component) throw RuntimeError("The component \"" + identity + "\" could not be created.");
    return component;
}

}  // namespace

void ComponentRegistry::addPreRun(const std::string& identity, PreRunFactory factory) {
    preRun_[identity] = std::move(factory);
}

void ComponentRegistry::addEngine(const std::string& identity, EngineFactory factory) {
    engine_[identity] = std::move(factory);
}

std::unique_ptr<PreRunComponent> ComponentRegistry::createPreRun(const std::string& identity,
                                                                 const ComponentContext& context) const {
    return create<PreRunComponent>(preRun_, identity, context);
}

std::unique_ptr<EngineComponent> ComponentRegistry::createEngine(const std::string& identity,
                                                                 const ComponentContext& context) const {
    return create<EngineComponent>(engine_, identity, context);
}

}  // namespace rillo::run
