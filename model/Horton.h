#pragma once
// Horton infiltration in its integrated form: the capacity follows the depth
// that has actually infiltrated, not the time since the rain began.
//
//   f(tp) = fc + (f0 - fc) e^(-k tp)
//   F(tp) = fc tp + (f0 - fc) / k (1 - e^(-k tp))
//
// tp is the equivalent time at which Horton's curve has let F infiltrate.
// In a step whose supply (ponded water plus rain) exceeds the capacity
// F(tp + dt) - F(tp), the curve is followed (tp += dt); otherwise the whole
// supply infiltrates and tp is found again from F(tp) = F by Newton's method.
// Feet and seconds throughout; no recovery between storms.

namespace rillo::model {

class Horton {
public:
    /// Rates in ft/s, decay in 1/s, step in seconds.
    Horton(double f0, double fc, double decay, double dt);

    /// Infiltrates up to `supply` feet in one step; returns the depth taken.
    double infiltrate(double supply);
    /// Depth that would infiltrate in the next step with unlimited supply.
    double capacity() const { return curve(tp_ + dt_, e_ * edt_) - cumulative_; }
    /// Depth infiltrated so far (ft).
    double cumulative() const { return cumulative_; }
    /// The closed form F(t) of the curve (ft).
    double curve(double t) const;

private:
    double curve(double t, double e) const;
    double f0_, fc_, k_, dt_, edt_;
    double tp_ = 0, e_ = 1, cumulative_ = 0;
};

}  // namespace rillo::model
