// The network's order, outlets and loops.
#include "ModelError.h"
#include "Network.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace rillo::model;

namespace {
ElementInput element(long number, long downstream, long divertTo = 0) {
    ElementInput e;
    e.number = number;
    e.downstream = downstream;
    if (divertTo) {
        e.special = SpecialKind::Diversion;
        e.divertTo = divertTo;
    }
    return e;
}
std::ptrdiff_t position(const Network& n, int index) {
    return std::find(n.order.begin(), n.order.end(), index) - n.order.begin();
}
}  // namespace

TEST(Network, EveryElementComesAfterThoseDrainingOrDivertingIntoIt) {
    // Listed downstream first; 30 diverts into 10, which lies on another branch.
    const std::vector<ElementInput> elems{element(1, 0), element(10, 1), element(20, 1), element(30, 20, 10),
                                          element(40, 30), element(50, 999)};
    std::vector<std::string> warnings;
    const Network net = buildNetwork(elems, warnings);
    ASSERT_EQ(net.order.size(), elems.size());
    for (std::size_t i = 0; i < elems.size(); ++i) {
        if (net.downstream[i] >= 0) {
            EXPECT_LT(position(net, static_cast<int>(i)), position(net, net.downstream[i]));
        }
        if (net.divertTo[i] >= 0) {
            EXPECT_LT(position(net, static_cast<int>(i)), position(net, net.divertTo[i]));
        }
    }
    // Element 1 drains to 0 and element 50 to a number the deck lacks: both outlets, the latter with a warning.
    EXPECT_EQ(net.downstream[0], -1);
    EXPECT_EQ(net.downstream[5], -1);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("999"), std::string::npos);
}

TEST(Network, LoopsAreRefusedWithTheirElementsNamed) {
    std::vector<std::string> warnings;
    try {
        buildNetwork({element(1, 0), element(2, 3), element(3, 4), element(4, 2), element(5, 2)}, warnings);
        FAIL() << "a loop was accepted";
    } catch (const ModelError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("loop"), std::string::npos);
        for (const char* n : {"2", "3", "4"}) EXPECT_NE(what.find(n), std::string::npos) << what;
        EXPECT_EQ(what.find("5"), std::string::npos) << what;
    }
    // A diversion back upstream closes a loop too, and so does an element draining into itself.
    EXPECT_THROW(buildNetwork({element(1, 0), element(2, 1, 3), element(3, 2)}, warnings), ModelError);
    EXPECT_THROW(buildNetwork({element(7, 7)}, warnings), ModelError);
}
