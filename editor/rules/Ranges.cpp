#include "Ranges.h"

#include <array>

namespace rillo {

namespace {

const std::array<NormalRange, 11> kRanges = {{
    {GridId::Card15, 7, std::nullopt, 1.0, "This value maybe too large."},
    {GridId::Card15, 8, 0.008, 0.03, "Normal ranges are 0.008 to 0.03 "},
    {GridId::Card15, 9, 0.01, 0.99, "Normal ranges are 0.01 to 0.99 "},
    {GridId::Card15, 10, 0.04, 0.25, "Normal ranges are 0.04 to 0.25 "},
    {GridId::Card15, 11, 0.1, 1.0, "Normal ranges are 0.1 to 1.0 "},
    {GridId::Card15, 12, 0.05, 25.0, "Normal ranges are 0.05 to 25 "},
    {GridId::Card15, 13, 0.0, 25.0, "Normal ranges are 0 to 25 "},
    {GridId::Card15, 14, 0.0, 1.0, "Normal ranges are 0 to 1 ", true},
    {GridId::Card31, 8, 0.00001, 0.25, "Normal ranges are 0.00001 to 0.25 "},
    {GridId::Card31, 11, 0.001, 0.99, "Normal ranges are 0.001 to 0.99 "},
    {GridId::Card31, 12, 0.1, 100.0, "Normal ranges are 0.1 to 100 "},
}};

}  // namespace

std::span<const NormalRange> normalRanges() { return kRanges; }

const NormalRange* findRange(GridId grid, int col) {
    for (const auto& r : kRanges)
        if (r.grid == grid && r.col == col) return &r;
    return nullptr;
}

std::string rangeQuestion(const NormalRange& range) {
    return std::string(range.message) + "\nDo you want to keep this value?";
}

}  // namespace rillo
