#pragma once
// Level-pool routing of a detention basin by the storage-indication method
// (Puls): the trapezoidal rule on dS/dt = I - O(S) gives
//
//   S2 + O(S2) dt / 2 = S1 - O1 dt / 2 + I dt,
//
// with O(S) the basin's storage (acre-ft) to outflow (cfs) table, linear
// between pairs and extended along its last segment. On the table the left
// side is piecewise linear, so each step is a search and one interpolation.
// The step's outflow is what the balance leaves, (S1 - S2) / dt + I; when
// the right side falls below zero the basin empties and gives what it held.
// A basin whose table starts with zero outflows holds that dead storage:
// it never drains below it.

#include "Curve.h"

#include <vector>

namespace rillo::model {

class LevelPool {
public:
    /// Table in acre-ft and cfs; step in seconds.
    LevelPool(const Curve& storageOutflow, double dt);

    /// One step with the mean inflow (cfs); returns the mean outflow (cfs).
    double step(double inflow);
    /// Storage in cubic feet.
    double storage() const { return storage_; }
    /// Outflow at the end of the step (cfs).
    double outflow() const { return outflow_; }
    /// Whether the storage has gone beyond the table's last pair.
    bool beyondTable() const { return storage_ > s_.back(); }

private:
    double outflowAt(double storage) const;
    double dt_;
    std::vector<double> s_, o_, h_;
    double dead_ = 0;  ///< storage below the outlet (ft^3): no outflow up to it
    double storage_ = 0, outflow_ = 0;
};

}  // namespace rillo::model
