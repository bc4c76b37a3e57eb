#pragma once
// Deck files for the tests and benchmarks, written line by line from the
// layout in the form the program itself writes (so reading then writing
// must give back the same bytes).

#include <random>
#include <string>
#include <vector>

namespace rillo::testdata {

/// Lines joined with CR LF, the last one ended too.
std::string joinLines(const std::vector<std::string>& lines);
/// Right-justified in `width`.
std::string rj(const std::string& text, int width);

/// Card 1.2 and card 2.2 lines from their fields.
std::string card12(const std::string& nstep, const std::string& nhr, const std::string& nmn, const std::string& delt,
                   const std::string& nrgag, const std::string& pctzer, const std::string& check);
std::string card22(const std::string& nstep, const std::string& nhr, const std::string& nmn, const std::string& delt,
                   const std::string& check);

struct DeckShape {
    int iopt = 0;
    int hyetographs = 2;
    int valuesPerHyetograph = 12;
    int subcatchments = 5;
    bool saveList = true;
    int printed = 3;        ///< card 1.9 / 2.3 count
    int elements = 6;
    int specialElements = 2;
    int maxPairs = 9;       ///< NDP of special elements is drawn from 1..maxPairs
    bool fixedPairs = false;  ///< every special element has exactly maxPairs
    int overflowElements = 1;
    int conveyanceSaved = 4;
    int conveyancePrinted = 2;
};

/// A deck of that shape with random values.
std::string generateDeck(const DeckShape& shape, std::mt19937& rng);
/// A random shape within the model's limits.
DeckShape randomShape(std::mt19937& rng);
/// The largest deck the model takes.
DeckShape maximalShape();

}  // namespace rillo::testdata
