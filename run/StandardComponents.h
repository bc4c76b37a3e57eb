#pragma once
// The program's registry of run components, holding the standard pre-run
// check and the standard engine under the identities the run form asks for.
// A site can add its own components here before the form is shown.

#include "ComponentRegistry.h"

namespace rillo::run {

/// Registers DeckPreRun and ProcessEngine under the standard identities.
void addStandardComponents(ComponentRegistry& registry);

/// The one registry of the program, with the standard components in it.
ComponentRegistry& standardComponents();

}  // namespace rillo::run
