#pragma once
// The deck as the model reads it: numbers in the deck's units, change cards
// applied, every value checked. Built from a deck by DeckInput.

#include "Curve.h"

#include <optional>
#include <string>
#include <vector>

namespace rillo::model {

struct SubcatchmentInput {
    int hyetograph = 1;  ///< 1-based
    long number = 0;
    long element = 0;    ///< the element it drains into (0: none)
    double width = 0;    ///< ft
    double area = 0;     ///< acres
    double imperviousPercent = 0;
    double slope = 0;    ///< ft/ft
    double imperviousN = 0, perviousN = 0;
    double imperviousStorage = 0, perviousStorage = 0;  ///< in
    double maxInfiltration = 0, minInfiltration = 0;    ///< in/hr
    double decay = 0;    ///< 1/s
    int line = 0;        ///< its line in the deck file
};

struct ChannelInput {
    double width = 0;  ///< bottom width or pipe diameter, ft
    double length = 0, slope = 0, leftSlope = 0, rightSlope = 0, roughness = 0, fullDepth = 0;
};

enum class SpecialKind { None, Detention, Diversion, Inflow };

struct ElementInput {
    long number = 0;
    long downstream = 0;
    int type = 0;  ///< 1 channel, 2 pipe, 3 direct flow, 4 and 5 with an overflow channel
    ChannelInput main;
    std::optional<ChannelInput> overflow;
    SpecialKind special = SpecialKind::None;
    long divertTo = 0;  ///< diversions: the element receiving the diverted flow
    Curve table;        ///< the tabular pairs of a special element
    int record = 0;     ///< its place among the card 3.1 lines (1-based)
};

/// Card 2.3: an imported hydrograph and the element it drains into.
struct Tributary {
    long number = 0;
    long element = 0;
    int line = 0;
};

struct ModelInput {
    int iopt = 0;
    std::string title1, title2;
    long steps = 0;
    int startHour = 0, startMinute = 0;
    double stepMinutes = 0;
    bool peakTable = false;
    double zeroDetentionPercent = 0;
    double hyetographInterval = 0;  ///< minutes
    std::vector<std::vector<double>> hyetographs;  ///< in/hr
    std::vector<SubcatchmentInput> subcatchments;
    std::vector<long> savedSubcatchments;
    std::vector<long> printedSubcatchments;
    int subcatchmentPrintInterval = 1;
    std::vector<Tributary> tributaries;
    std::vector<ElementInput> elements;
    std::vector<long> savedElements;
    std::vector<long> printedElements;
    int elementPrintInterval = 1;
    std::vector<std::string> warnings;
};

}  // namespace rillo::model
