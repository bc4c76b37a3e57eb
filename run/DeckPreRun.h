#pragma once
// The standard pre-run component: makes sure the deck handed to the engine
// is there and is a deck at all, so that a wrong file fails with a clear
// description instead of an engine failure.

#include "PreRunComponent.h"

namespace rillo::run {

class DeckPreRun : public PreRunComponent {
public:
    void setInputFile(const std::string& deckPath) override;
    /// Throws rillo::RuntimeError when no deck was given, the file is missing
    /// or unreadable, or its first line is not a deck header.
    void prepare() override;

private:
    std::string deckPath_;
};

}  // namespace rillo::run
