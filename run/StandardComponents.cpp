#include "StandardComponents.h"

#include "DeckPreRun.h"
#include "ProcessEngine.h"

namespace rillo::run {

void addStandardComponents(ComponentRegistry& registry) {
    registry.addPreRun(ComponentRegistry::standardPreRun,
                       [](const ComponentContext&) { return std::make_unique<DeckPreRun>(); });
    registry.addEngine(ComponentRegistry::standardEngine, [](const ComponentContext& context) {
        return std::make_unique<ProcessEngine>(context.ui, context.applicationFolder);
    });
}

ComponentRegistry& standardComponents() {
    static ComponentRegistry registry = [] {
        ComponentRegistry r;
        addStandardComponents(r);
        return r;
    }();
    return registry;
}

}  // namespace rillo::run
