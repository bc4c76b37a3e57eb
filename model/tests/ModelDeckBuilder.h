#pragma once
// Decks for the model's tests, benchmark and fuzz seeds, written in the deck
// layout from values that make hydrological sense.

#include <array>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace rillo::model::testdata {

struct SubSpec {
    int hyetograph = 1;
    int number = 1;
    int element = 1;
    double width = 400, area = 10, impervious = 40, slope = 0.01;
    double imperviousN = 0.015, perviousN = 0.25, imperviousStorage = 0.06, perviousStorage = 0.25;
    double maxInfiltration = 3, minInfiltration = 0.5, decay = 0.00115;
};

struct ElementSpec {
    std::string jk = "0";  ///< the file's JK field: "0", "-1" or the receiving element
    int number = 1;
    int downstream = 0;
    int type = 1;
    /// width or diameter, length, slope, left and right side slopes, n, full depth
    std::array<double, 7> dims{4, 500, 0.005, 2, 2, 0.03, 3};
    std::optional<std::array<double, 7>> overflow;
    std::vector<std::pair<double, double>> pairs;
};

struct DeckSpec {
    int iopt = 0;
    std::string title1 = "Model test deck", title2 = "written by the test builder";
    int steps = 60;
    double stepMinutes = 1;
    int hour = 6, minute = 0;
    double zeroDetention = 25;
    bool peakTable = true;
    double hyetographInterval = 5;
    std::vector<std::vector<double>> hyetographs{{1, 2, 1}};
    std::vector<SubSpec> subcatchments;
    bool saveSubcatchments = true;
    std::vector<int> printedSubcatchments;
    int subcatchmentInterval = 1;
    std::vector<std::pair<int, int>> tributaries;  ///< IOPT 1: sub-catchment, element
    std::vector<ElementSpec> elements;
    std::vector<int> savedElements;
    std::vector<int> printedElements;
    int elementInterval = 1;
};

/// The deck file's text (CR LF lines).
std::string deckText(const DeckSpec& spec);

/// A random tree-shaped network with special elements and overflow
/// channels, and subcatchments on it.
DeckSpec randomSpec(std::mt19937& rng);

/// The largest deck the model takes: 10 hyetographs, 1,900 subcatchments,
/// 1,900 elements of which 100 special, 2,880 one-minute steps.
DeckSpec maximalSpec();

/// One subcatchment under one hyetograph (five-minute values) draining to
/// element 1, a channel whose hydrograph is saved.
DeckSpec oneSubcatchment(const SubSpec& c, std::vector<double> rain, int steps, double stepMinutes = 5);

/// Five-minute steps for a test of the conveyance elements: the deck's one
/// subcatchment drains to element 9, away from them, so that the deck still
/// has its subcatchment card.
DeckSpec fiveMinuteDeck(int steps);

/// An inflow hydrograph element (direct flow) with the given (hours, cfs)
/// pairs.
ElementSpec inflowHydrograph(int number, int downstream, std::vector<std::pair<double, double>> pairs);

/// A number in at most `width` columns, right-justified, with as many
/// decimals as fit.
std::string field(double value, int width);

}  // namespace rillo::model::testdata
