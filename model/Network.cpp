#include "Network.h"

#include "ModelError.h"

#include <algorithm>

namespace rillo::model {

Network buildNetwork(const std::vector<ElementInput>& elements, std::vector<std::string>& warnings) {
    Network net;
    const int n = static_cast<int>(elements.size());
    for (int i = 0; i < n; ++i) net.index.emplace(elements[static_cast<std::size_t>(i)].number, i);
    net.downstream.assign(static_cast<std::size_t>(n), -1);
    net.divertTo.assign(static_cast<std::size_t>(n), -1);

    std::vector<std::vector<int>> next(static_cast<std::size_t>(n)), previous(static_cast<std::size_t>(n));
    std::vector<int> incoming(static_cast<std::size_t>(n), 0);
    const auto link = [&](int from, int to) {
        next[static_cast<std::size_t>(from)].push_back(to);
        previous[static_cast<std::size_t>(to)].push_back(from);
        ++incoming[static_cast<std::size_t>(to)];
    };
    for (int i = 0; i < n; ++i) {
        const ElementInput& e = elements[static_cast<std::size_t>(i)];
        if (e.downstream != 0) {
            const int d = net.find(e.downstream);
            if (d < 0)
                warnings.push_back("Element " + std::to_string(e.number) + " drains to element " +
                                   std::to_string(e.downstream) + ", which the deck does not have; it is taken as an outlet.");
            else if (d == i)
                throw ModelError("Card 3.1: element " + std::to_string(e.number) + " drains into itself.");
            else
                link(i, d);
            net.downstream[static_cast<std::size_t>(i)] = d;
        }
        if (e.special == SpecialKind::Diversion) {
            const int d = net.find(e.divertTo);
            if (d < 0)
                warnings.push_back("Element " + std::to_string(e.number) + " diverts to element " +
                                   std::to_string(e.divertTo) + ", which the deck does not have; the diverted flow leaves the network.");
            else
                link(i, d);
            net.divertTo[static_cast<std::size_t>(i)] = d;
        }
    }

    // Kahn's order, taking elements in deck order where there is a choice.
    std::vector<int> ready;
    for (int i = n - 1; i >= 0; --i)
        if (incoming[static_cast<std::size_t>(i)] == 0) ready.push_back(i);
    while (!ready.empty()) {
        const int i = ready.back();
        ready.pop_back();
        net.order.push_back(i);
        for (int j : next[static_cast<std::size_t>(i)])
            if (--incoming[static_cast<std::size_t>(j)] == 0) ready.push_back(j);
    }
    if (static_cast<int>(net.order.size()) == n) return net;

    // Every element left over has a predecessor left over: walking back
    // through those must come round to an element already met.
    int at = 0;
    while (incoming[static_cast<std::size_t>(at)] == 0) ++at;
    std::vector<int> path, seenAt(static_cast<std::size_t>(n), -1);
    while (seenAt[static_cast<std::size_t>(at)] < 0) {
        seenAt[static_cast<std::size_t>(at)] = static_cast<int>(path.size());
        path.push_back(at);
        for (int p : previous[static_cast<std::size_t>(at)])
            if (incoming[static_cast<std::size_t>(p)] > 0) {
                at = p;
                break;
            }
    }
    std::vector<int> loop(path.begin() + seenAt[static_cast<std::size_t>(at)], path.end());
    std::reverse(loop.begin(), loop.end());
    std::string names;
    for (int i : loop) names += std::to_string(elements[static_cast<std::size_t>(i)].number) + " -> ";
    names += std::to_string(elements[static_cast<std::size_t>(loop.front())].number);
    throw ModelError("Card 3.1: the conveyance elements form a loop: " + names + ".");
}

}  // namespace rillo::model
