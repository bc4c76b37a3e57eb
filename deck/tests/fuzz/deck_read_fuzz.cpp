// Any bytes at all may be opened: the reader reports and lives on.
#include "DeckReader.h"
#include "FuzzDeck.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rillo;
    const std::string path = fuzz::scratchFile("read.sin");
    fuzz::writeBytes(path, std::string(reinterpret_cast<const char*>(data), size));
    fuzz::QuietUi ui;
    HeadlessHost host;
    openDeck(ui, host, path);
    return 0;
}
