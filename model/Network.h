#pragma once
// The conveyance network: elements in an order in which every element comes
// after all that drain or divert into it. An element whose next downstream
// number is 0, or names no element, is an outlet of the network; a loop is
// an error that names its elements.

#include "ModelInput.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace rillo::model {

struct Network {
    std::vector<int> order;       ///< element indices, upstream first
    std::vector<int> downstream;  ///< index per element, -1 at an outlet
    std::vector<int> divertTo;    ///< index receiving a diversion, -1 for none or outside the network
    std::unordered_map<long, int> index;  ///< element number to index

    int find(long number) const {
        const auto it = index.find(number);
        return it == index.end() ? -1 : it->second;
    }
};

/// Builds the network; unknown downstream or diversion numbers add a
/// warning; a loop throws ModelError.
Network buildNetwork(const std::vector<ElementInput>& elements, std::vector<std::string>& warnings);

}  // namespace rillo::model
