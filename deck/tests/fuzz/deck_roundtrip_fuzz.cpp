// Whatever the reader accepts and the writer writes must read back as the
// same deck, value by value, and write the same bytes again. Each input is
// tried twice: as a deck file, and as the choices of a deck written the
// ways other tools write them (negative numbers, change cards, exponents,
// long decimals, overflow rows, tabular pairs).
#include "DeckCompare.h"
#include "FuzzDeck.h"
#include "TrickyDecks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(const std::string& bytes) {
    const std::string folder = rillo::fuzz::scratchFolder();
    const auto first = rillo::testdata::roundTrip(bytes, folder);
    if (!first.difference.empty()) {
        std::fprintf(stderr, "the saved deck is not the deck that was read:\n%s\n--- original\n%s\n--- saved\n%s\n",
                     first.difference.c_str(), bytes.c_str(), first.text.c_str());
        std::abort();
    }
    if (!first.saved) return;
    const auto second = rillo::testdata::roundTrip(first.text, folder);
    if (!second.saved || second.text != first.text) {
        std::fprintf(stderr, "a second save changed the deck\n--- first\n%s\n--- second\n%s\n", first.text.c_str(),
                     second.saved ? second.text.c_str() : "(not saved)");
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check(std::string(reinterpret_cast<const char*>(data), size));
    rillo::testdata::ByteChoices choices(data, size);
    check(rillo::testdata::trickyDeck(choices));
    return 0;
}
