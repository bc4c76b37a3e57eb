#pragma once
// The rating of a channel or pipe element: storage V = A(y) L and outflow
// Q(y) by Manning's equation, as functions of the storage. It is tabulated
// at depths spaced in proportion (each 10 % above the last, from a
// hundred-thousandth of the full depth up), so a shallow flow is rated as
// closely as a deep one, whatever the full depth. Between the depths Q(V) is
// the cubic Hermite interpolant of the values and their slopes dQ/dV, which
// keeps the slope continuous for the time stepping's error estimate; the
// depth is linear in V.
//
// The rating rises with storage to its top: a pipe keeps its largest flow
// (a little below full) up to full depth. An element of type 4 or 5 goes on
// above its main full depth with the overflow channel, whose volume and
// Manning flow add to the main one's. Above the top the rating stays at its
// top flow (the excess is stored).

#include "Section.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace rillo::model {

struct Conduit {
    Section section;
    double length = 0;     ///< ft
    double slope = 0;      ///< ft/ft
    double roughness = 0;  ///< Manning's n
    double fullDepth = 0;  ///< ft
};

class Rating {
public:
    Rating(const Conduit& main, const std::optional<Conduit>& overflow);

    struct Value {
        double q = 0;      ///< cfs
        double slope = 0;  ///< dQ/dV, 1/s
    };
    struct Node {
        double v, q, slope, y, a;  ///< storage, flow, dQ/dV, depth, flow area
    };
    /// The segment last used, with copies of its ends and its cubic's
    /// coefficients: most steps stay in it, and then read nothing of the
    /// table. On the segment, with x = V - a.v,
    ///   Q = a.q + x (c1 + x (c2 + x c3)),   y = a.y + x dy,   A = a.a + x da.
    struct Cursor {
        std::size_t i = 0;
        Node a{}, b{};
        double q0 = 0, c1 = 0, c2 = 0, c3 = 0, dy = 0, da = 0;
        bool valid = false;
    };
    /// Q and dQ/dV at a storage (ft^3).
    Value at(double v, Cursor& cursor) const;
    /// The depth (ft) and flow area (ft^2) at a storage.
    double depth(double v, Cursor& cursor) const;
    double area(double v, Cursor& cursor) const;
    /// The storage V with V + c Q(V) = r (c >= 0 in seconds, r >= 0 in ft^3),
    /// and the rating there.
    double solve(double c, double r, Cursor& cursor, Value& there) const;

    double topVolume() const { return top_.v; }
    double topFlow() const { return top_.q; }
    double topDepth() const { return top_.y; }
    /// Manning's flow of the main channel running at its full depth.
    double fullFlow() const { return fullFlow_; }

private:
    void addPart(const Conduit& part, Node base);
    /// Moves the cursor to the segment holding storage v (below the top).
    void seek(double v, Cursor& cursor) const;
    void load(std::size_t i, Cursor& cursor) const;
    std::vector<Node> nodes_;
    Node top_{};  ///< the last node, kept here so that a step reads no more of the table than it must
    double fullFlow_ = 0;
};

}  // namespace rillo::model
