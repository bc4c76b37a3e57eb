// Whatever the reader accepts and the writer writes must read back as the
// same deck, value by value, and write the same bytes again; every line of
// the input must be taken by a card or end the file. Each input is tried
// three times: as a deck file, as the choices of a deck written the ways
// other tools write them (negative numbers, change cards, exponents, long
// decimals, overflow rows, tabular pairs), and as that deck with one fault
// planted (a blank line, a tab, a +, a letter after the digits, a D
// exponent, a deleted overflow or 3.1A line), which must be refused naming
// a line or read back value for value.
#include "DeckCompare.h"
#include "FaultPlanter.h"
#include "FuzzDeck.h"
#include "TrickyDecks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(const std::string& bytes) {
    const std::string folder = rillo::fuzz::scratchFolder();
    const std::string strict = rillo::testdata::checkStrictRead(bytes, folder);
    if (!strict.empty()) {
        std::fprintf(stderr, "%s\n--- input\n%s\n", strict.c_str(), bytes.c_str());
        std::abort();
    }
    const auto first = rillo::testdata::roundTrip(bytes, folder);
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
    using namespace rillo::testdata;
    check(std::string(reinterpret_cast<const char*>(data), size));
    ByteChoices choices(data, size);
    const std::string deck = trickyDeck(choices);
    check(deck);
    const auto fault = static_cast<Fault>(choices.pick(0, static_cast<int>(Fault::Count) - 1));
    if (const auto planted = plantFault(deck, fault, choices)) check(*planted);
    return 0;
}
