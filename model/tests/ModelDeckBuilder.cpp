#include "ModelDeckBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rillo::model::testdata {

namespace {

std::string rj(const std::string& text, int width) {
    return static_cast<int>(text.size()) >= width ? text : std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

std::string integer(long v, int width) { return rj(std::to_string(v), width); }

void numberLines(std::vector<std::string>& lines, const std::vector<int>& numbers) {
    for (std::size_t i = 0; i < numbers.size(); i += 16) {
        std::string line;
        for (std::size_t j = i; j < std::min(numbers.size(), i + 16); ++j) line += integer(numbers[j], 5);
        lines.push_back(line);
    }
}

std::string dims(const std::array<double, 7>& d) {
    std::string s;
    for (double v : d) s += v == 0 ? std::string(8, ' ') : field(v, 8);
    return s;
}

}  // namespace

std::string field(double value, int width) {
    for (int decimals = width - 1; decimals >= 0; --decimals) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
        std::string t(buf);
        if (t.find('.') != std::string::npos) {
            while (t.back() == '0') t.pop_back();
        }
        if (t.rfind("0.", 0) == 0 && static_cast<int>(t.size()) > width) t.erase(0, 1);
        if (static_cast<int>(t.size()) <= width) return rj(t, width);
    }
    return std::string(static_cast<std::size_t>(width), '9');
}

std::string deckText(const DeckSpec& s) {
    std::vector<std::string> lines{"   2   1   1   2", "   3   4", std::string("WATERSHED   ") + (s.iopt == 1 ? "1" : "0")};
    lines.push_back(s.title1);
    lines.push_back(s.title2);
    if (s.iopt == 0) {
        lines.push_back(std::string(5, ' ') + integer(s.steps, 5) + integer(s.hour, 3) + integer(s.minute, 2) +
                        field(s.stepMinutes, 5) + integer(static_cast<long>(s.hyetographs.size()), 5) +
                        field(s.zeroDetention, 5) + std::string(49, ' ') + (s.peakTable ? "1" : "0"));
        std::size_t n = 0;
        for (const auto& h : s.hyetographs) n = std::max(n, h.size());
        lines.push_back(integer(static_cast<long>(n), 5) + field(s.hyetographInterval, 5));
        for (const auto& h : s.hyetographs)
            for (std::size_t first = 0; first < std::max<std::size_t>(n, 1); first += 10) {
                std::string line;
                for (std::size_t v = first; v < first + 10 && v < n; ++v)
                    line += v < h.size() && h[v] != 0 ? field(h[v], 5) : std::string(5, ' ');
                lines.push_back(line);
            }
        std::vector<int> saved;
        for (const SubSpec& c : s.subcatchments) {
            std::string line = (c.hyetograph ? integer(c.hyetograph, 5) : std::string(5, ' ')) + integer(c.number, 5) +
                               integer(c.element, 5);
            for (double v : {c.width, c.area, c.impervious, c.slope, c.imperviousN, c.perviousN, c.imperviousStorage,
                             c.perviousStorage, c.maxInfiltration, c.minInfiltration})
                line += v == 0 ? std::string(5, ' ') : field(v, 5);
            line += c.decay == 0 ? std::string(10, ' ') : field(c.decay, 10);
            lines.push_back(line);
            if (c.number > 0) saved.push_back(c.number);
        }
        lines.push_back("");
        if (s.saveSubcatchments && !saved.empty()) {
            lines.push_back(integer(static_cast<long>(saved.size()), 5));
            numberLines(lines, saved);
        } else {
            lines.push_back("    0");
        }
        lines.push_back(integer(static_cast<long>(s.printedSubcatchments.size()), 5) + integer(s.subcatchmentInterval, 5));
        numberLines(lines, s.printedSubcatchments);
    } else {
        lines.push_back(std::string(5, ' ') + integer(s.steps, 5) + integer(s.hour, 3) + integer(s.minute, 2) +
                        field(s.stepMinutes, 5) + std::string(59, ' ') + (s.peakTable ? "1" : "0"));
        for (const auto& [sub, element] : s.tributaries)
            lines.push_back(std::string(5, ' ') + integer(sub, 5) + integer(element, 5));
        lines.push_back("");
    }
    for (const ElementSpec& e : s.elements) {
        const std::size_t ndp = e.pairs.size();
        lines.push_back(rj(e.jk, 5) + integer(e.number, 5) + integer(e.downstream, 5) + " " +
                        (ndp ? integer(static_cast<long>(ndp), 2) : "  ") + " " + std::to_string(e.type) + dims(e.dims));
        if (e.type >= 4) lines.push_back(std::string(20, ' ') + dims(e.overflow.value_or(std::array<double, 7>{})));
        for (std::size_t first = 0; first < ndp; first += 4) {
            std::string line;
            for (std::size_t p = first; p < first + 4 && p < ndp; ++p)
                line += field(e.pairs[p].first, 10) + field(e.pairs[p].second, 10);
            lines.push_back(line);
        }
    }
    lines.push_back("");
    lines.push_back(integer(static_cast<long>(s.savedElements.size()), 5));
    numberLines(lines, s.savedElements);
    lines.push_back(integer(static_cast<long>(s.printedElements.size()), 5) + integer(s.elementInterval, 5));
    numberLines(lines, s.printedElements);
    lines.push_back("ENDPROGRAM");
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

namespace {

double uniform(std::mt19937& rng, double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); }
int pick(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

/// Elements 1..n draining towards lower numbers, so the network is a tree
/// whose outlet is element 1; a few special ones and a few with overflow.
std::vector<ElementSpec> treeElements(std::mt19937& rng, int n, int special, int overflow) {
    std::vector<ElementSpec> out;
    for (int i = 1; i <= n; ++i) {
        ElementSpec e;
        e.number = i;
        e.downstream = i == 1 ? 0 : pick(rng, std::max(1, i - 5), i - 1);
        e.type = pick(rng, 1, 3);
        const double depth = uniform(rng, 1.5, 6);
        if (e.type == 2)
            e.dims = {uniform(rng, 1, 5), uniform(rng, 100, 1500), uniform(rng, 0.001, 0.02), 0, 0, 0.013, 0};
        else if (e.type == 3)
            e.dims = {0, 1, 0, 0, 0, 0, 20};
        else
            e.dims = {uniform(rng, 1, 10), uniform(rng, 100, 1500), uniform(rng, 0.001, 0.02), uniform(rng, 0, 3),
                      uniform(rng, 0, 3), uniform(rng, 0.012, 0.05), depth};
        if (i > 1 && i <= 1 + overflow) {
            e.type = pick(rng, 4, 5);
            e.dims = {uniform(rng, 1, 10), uniform(rng, 100, 1500), uniform(rng, 0.001, 0.02), uniform(rng, 0, 3),
                      uniform(rng, 0, 3), uniform(rng, 0.012, 0.05), depth};
            if (e.type == 5) e.dims = {uniform(rng, 1, 4), uniform(rng, 100, 1000), uniform(rng, 0.002, 0.02), 0, 0, 0.013, 0};
            e.overflow = std::array<double, 7>{uniform(rng, 5, 20), e.dims[1], e.dims[2], 3, 3, 0.04, uniform(rng, 1, 3)};
        }
        out.push_back(e);
    }
    // Special elements: detention basins, diversions to an element further
    // down, inflow hydrographs.
    for (int k = 0; k < special && k + 2 <= n; ++k) {
        ElementSpec& e = out[static_cast<std::size_t>(n - 1 - k)];
        const int kind = k % 3;
        if (kind == 0) {
            e.jk = "0";
            const double s = uniform(rng, 0.5, 5);
            e.pairs = {{0, 0}, {s, uniform(rng, 5, 30)}, {2 * s, uniform(rng, 40, 80)}, {4 * s, uniform(rng, 100, 200)}};
        } else if (kind == 1) {
            e.jk = std::to_string(pick(rng, 1, e.number - 1));
            e.pairs = {{0, 0}, {10, 0}, {30, 8}, {100, 40}};
        } else {
            e.jk = "-1";
            e.pairs = {{0, 0}, {0.5, uniform(rng, 1, 30)}, {1.5, uniform(rng, 1, 10)}, {3, 0}};
        }
    }
    return out;
}

std::vector<SubSpec> subcatchmentsOn(std::mt19937& rng, int n, int elements, int hyetographs) {
    std::vector<SubSpec> out;
    for (int i = 1; i <= n; ++i) {
        SubSpec c;
        c.number = i;
        c.hyetograph = pick(rng, 1, hyetographs);
        c.element = pick(rng, 1, elements);
        c.width = uniform(rng, 100, 1500);
        c.area = uniform(rng, 0.5, 60);
        c.impervious = uniform(rng, 5, 95);
        c.slope = uniform(rng, 0.002, 0.08);
        c.imperviousN = uniform(rng, 0.011, 0.02);
        c.perviousN = uniform(rng, 0.1, 0.4);
        c.imperviousStorage = uniform(rng, 0.04, 0.1);
        c.perviousStorage = uniform(rng, 0.1, 0.4);
        c.maxInfiltration = uniform(rng, 1, 5);
        c.minInfiltration = uniform(rng, 0.1, 0.8);
        c.decay = uniform(rng, 0.0005, 0.002);
        out.push_back(c);
    }
    return out;
}

std::vector<double> storm(std::mt19937& rng, int values) {
    std::vector<double> h;
    const double peak = uniform(rng, 1, 6);
    const int at = pick(rng, 0, std::max(0, values - 1));
    for (int v = 0; v < values; ++v) h.push_back(std::max(0.0, peak * (1 - std::abs(v - at) / (values / 2.0 + 1))));
    return h;
}

}  // namespace

DeckSpec randomSpec(std::mt19937& rng) {
    DeckSpec s;
    s.stepMinutes = pick(rng, 1, 10);
    s.steps = pick(rng, 20, 300);
    s.zeroDetention = pick(rng, 0, 100);
    s.hyetographInterval = pick(rng, 1, 15);
    s.hyetographs.clear();
    const int nh = pick(rng, 1, 4);
    const int values = pick(rng, 1, 30);
    for (int h = 0; h < nh; ++h) s.hyetographs.push_back(storm(rng, values));
    const int ne = pick(rng, 1, 40);
    s.elements = treeElements(rng, ne, pick(rng, 0, std::min(6, ne - 1)), pick(rng, 0, std::min(4, ne - 1)));
    s.subcatchments = subcatchmentsOn(rng, pick(rng, 1, 40), ne, nh);
    for (int i = 1; i <= ne; i += 3) s.savedElements.push_back(i);
    s.printedElements = {1};
    s.printedSubcatchments = {1};
    return s;
}

DeckSpec oneSubcatchment(const SubSpec& c, std::vector<double> rain, int steps, double stepMinutes) {
    DeckSpec s;
    s.stepMinutes = stepMinutes;
    s.steps = steps;
    s.hyetographInterval = 5;
    s.hyetographs = {std::move(rain)};
    s.subcatchments = {c};
    s.elements = {ElementSpec{}};
    s.savedElements = {1};
    return s;
}

DeckSpec fiveMinuteDeck(int steps) {
    DeckSpec s;
    s.stepMinutes = 5;
    s.steps = steps;
    SubSpec far;
    far.element = 9;
    s.subcatchments = {far};
    return s;
}

ElementSpec inflowHydrograph(int number, int downstream, std::vector<std::pair<double, double>> pairs) {
    ElementSpec e;
    e.number = number;
    e.downstream = downstream;
    e.jk = "-1";
    e.type = 3;
    e.dims = {0, 1, 0, 0, 0, 0, 20};
    e.pairs = std::move(pairs);
    return e;
}

DeckSpec maximalSpec() {
    std::mt19937 rng(1900);
    DeckSpec s;
    s.title1 = "Largest deck: 10 hyetographs, 1900 subcatchments, 1900 elements";
    s.steps = 2880;
    s.stepMinutes = 1;
    s.hyetographInterval = 5;
    s.hyetographs.clear();
    for (int h = 0; h < 10; ++h) s.hyetographs.push_back(storm(rng, 72));
    s.elements = treeElements(rng, 1900, 100, 20);
    s.subcatchments = subcatchmentsOn(rng, 1900, 1900, 10);
    for (int i = 1; i <= 1900; ++i) s.savedElements.push_back(i);
    for (int i = 1; i <= 16; ++i) {
        s.printedElements.push_back(i);
        s.printedSubcatchments.push_back(i);
    }
    s.subcatchmentInterval = 60;
    s.elementInterval = 60;
    return s;
}

}  // namespace rillo::model::testdata
