// Whatever the reader accepts and the writer writes must read back and
// write to the same bytes.
#include "DeckReader.h"
#include "DeckWriter.h"
#include "FuzzDeck.h"

#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {
std::optional<std::string> readThenWrite(const std::string& path, const std::string& bytes) {
    using namespace rillo;
    fuzz::writeBytes(path, bytes);
    fuzz::QuietUi ui;
    HeadlessHost host;
    if (OpenDeck(ui, host, path) != OpenResult::Opened) return std::nullopt;
    return DeckText(ui, host);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = rillo::fuzz::scratchFile("roundtrip.sin");
    const auto first = readThenWrite(path, std::string(reinterpret_cast<const char*>(data), size));
    if (!first) return 0;
    const auto second = readThenWrite(path, *first);
    if (!second || *second != *first) {
        std::fprintf(stderr, "round trip changed the deck\n--- first\n%s\n--- second\n%s\n", first->c_str(),
                     second ? second->c_str() : "(not read back)");
        std::abort();
    }
    return 0;
}
