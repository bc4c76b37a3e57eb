#pragma once
// Horton infiltration in its integrated form: the capacity follows the depth
// that has actually infiltrated, not the time since the rain began.
//
//   f(tp) = fc + (f0 - fc) e^(-k tp)
//   F(tp) = fc tp + (f0 - fc) / k (1 - e^(-k tp))
//
// tp is the equivalent time at which Horton's curve has let F infiltrate.
// Over an interval h whose supply (ponded water plus rain) exceeds the
// capacity F(tp + h) - F(tp), the curve is followed (tp += h); otherwise the
// whole supply infiltrates and tp is found again from F(tp) = F by Newton's
// method. The interval may change from call to call (the sub-steps of the
// overland planes). Feet and seconds throughout; no recovery between storms.

namespace rillo::model {

class Horton {
public:
    /// Rates in ft/s, decay in 1/s.
    Horton(double f0, double fc, double decay);

    /// Infiltrates up to `supply` feet over `h` seconds; returns the depth taken.
    double infiltrate(double supply, double h);
    /// Depth that would infiltrate over the next `h` seconds with unlimited supply.
    double capacity(double h) const;
    /// Depth infiltrated so far (ft).
    double cumulative() const { return cumulative_; }
    /// The closed form F(t) of the curve (ft).
    double curve(double t) const;

private:
    double curve(double t, double e) const;
    double decayOver(double h) const;
    double f0_, fc_, k_;
    double tp_ = 0, e_ = 1, cumulative_ = 0;
    mutable double lastH_ = -1, lastDecay_ = 1;  ///< e^(-k h) of the last interval
};

}  // namespace rillo::model
