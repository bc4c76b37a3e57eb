// The computing kernels against closed forms and mass balances.
#include "ChannelRouting.h"
#include "Curve.h"
#include "Horton.h"
#include "LevelPool.h"
#include "OverlandPlane.h"
#include "Rating.h"
#include "Section.h"
#include "Simulation.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace rillo::model;

namespace {
constexpr double Pi = 3.14159265358979323846;
double inHr(double v) { return v / 12.0 / 3600.0; }  // in/hr to ft/s
}  // namespace

TEST(Horton, RainAboveCapacityInfiltratesTheClosedFormAndLightRainKeepsTheCapacityHigh) {
    const double dt = 60, f0 = inHr(3), fc = inHr(0.5), k = 0.00115;
    Horton heavy(f0, fc, k);
    const double pond = 1.0;  // feet of water always on the surface
    for (int i = 0; i < 90; ++i) heavy.infiltrate(pond, dt);
    const double t = 90 * dt;
    const double closed = fc * t + (f0 - fc) / k * (1 - std::exp(-k * t));
    EXPECT_NEAR(heavy.cumulative(), closed, 0.005 * closed);

    // An hour of rain at 0.2 in/hr all infiltrates; the capacity is then that
    // of the curve where it has let 0.2 in through, not that of an hour.
    Horton light(f0, fc, k);
    for (int i = 0; i < 60; ++i) EXPECT_DOUBLE_EQ(light.infiltrate(inHr(0.2) * dt, dt), inHr(0.2) * dt);
    const double target = inHr(0.2) * 3600;
    double lo = 0, hi = 3600;
    for (int i = 0; i < 100; ++i) (light.curve(0.5 * (lo + hi)) < target ? lo : hi) = 0.5 * (lo + hi);
    const double tp = 0.5 * (lo + hi);
    const double expected = light.curve(tp + dt) - light.curve(tp);
    EXPECT_NEAR(light.capacity(dt), expected, 1e-3 * expected);
    EXPECT_GT(light.capacity(dt), 3 * (heavy.curve(3600 + dt) - heavy.curve(3600)));
}

TEST(OverlandPlane, ImperviousPlaneReachesRainTimesAreaAtTheKinematicWaveTime) {
    // A plane 200 ft long and 100 ft wide, S = 0.01, n = 0.015, 2 in/hr.
    const double width = 100, length = 200, area = width * length, slope = 0.01, n = 0.015, dt = 5;
    const double rain = inHr(2);
    const double alpha = 1.49 * width * std::sqrt(slope) / (n * area);
    OverlandPlane plane(alpha, 0);
    const double te = std::pow(length * n / (1.49 * std::sqrt(slope) * std::pow(rain, 2.0 / 3.0)), 0.6);
    double rained = 0, runoff = 0, q = 0, q80Time = -1;
    for (int i = 0; i * dt < 20 * te; ++i) {
        const double out = plane.step(rain, dt, nullptr, {}).runoff;
        rained += rain * dt;
        runoff += out;
        q = out / dt;
        if (q80Time < 0 && q >= 0.8 * rain) q80Time = (i + 1) * dt;
    }
    EXPECT_NEAR(q * area, rain * area, 0.005 * rain * area);
    // Water is conserved exactly by the implicit step.
    EXPECT_NEAR(rained, runoff + plane.depth(), 1e-12 * rained);
    // The time to equilibrium as the area between the rain and the runoff
    // curves over the rain rate (equilibrium storage / rain) is the
    // kinematic-wave time t_e = (L n / (1.49 S^1/2 i^2/3))^3/5.
    EXPECT_NEAR(plane.depth() / rain, te, 0.15 * te);
    // The rising limb follows the reservoir's own closed form: 80 % of
    // equilibrium at 1.4919 t_e (the integral of dy / (1 - y^5/3)).
    EXPECT_NEAR(q80Time, 1.4919 * te, 0.05 * te);
}

TEST(OverlandPlane, RetentionStorageHoldsWaterBackAndLongStepsNeverOvershoot) {
    OverlandPlane plane(0.05, 0.01);
    EXPECT_EQ(plane.step(0.006 / 3600, 3600, nullptr, {}).runoff, 0);
    EXPECT_DOUBLE_EQ(plane.depth(), 0.006);
    const double out = plane.step(0.1 / 3600, 3600, nullptr, {}).runoff;
    EXPECT_GT(out, 0);
    EXPECT_GE(plane.depth(), 0.01);
    EXPECT_NEAR(out + plane.depth(), 0.106, 1e-15);
    for (int i = 0; i < 20; ++i) EXPECT_GE(plane.step(0, 3600, nullptr, {}).runoff, 0);
    EXPECT_GE(plane.depth(), 0.01 - 1e-15);
}

TEST(OverlandPlane, ARainlessRecessionFollowsItsClosedFormWhateverTheStep) {
    // dd/dt = -alpha (d - dp)^(5/3): (d - dp)^(-2/3) grows by 2/3 alpha a second.
    const double alpha = 0.02, dp = 0.005;
    const auto wet = [&] {
        OverlandPlane plane(alpha, dp);
        plane.step(2.0 / 12 / 3600, 1800, nullptr, {});
        return plane;
    };
    OverlandPlane oneStep = wet(), manySteps = wet();
    const double x0 = oneStep.depth() - dp;
    ASSERT_GT(x0, 0.001);
    const double closed = std::pow(std::pow(x0, -2.0 / 3.0) + 2.0 / 3.0 * alpha * 3600, -1.5);
    const double big = oneStep.step(0, 3600, nullptr, {}).runoff;
    double small = 0;
    for (int i = 0; i < 60; ++i) small += manySteps.step(0, 60, nullptr, {}).runoff;
    EXPECT_NEAR(oneStep.depth() - dp, closed, 1e-9 * x0);
    EXPECT_NEAR(manySteps.depth() - dp, closed, 1e-9 * x0);
    EXPECT_NEAR(big, x0 - closed, 1e-12);
    EXPECT_NEAR(small, big, 1e-12);
    EXPECT_GE(oneStep.depth(), dp);
}

TEST(Section, GeometryOfCircleAndTrapezoidAndManningsNormalDepth) {
    const Section pipe = Section::circle(2);
    EXPECT_NEAR(pipe.area(2), Pi, 1e-12);
    EXPECT_NEAR(pipe.area(1), Pi / 2, 1e-12);
    EXPECT_NEAR(pipe.perimeter(1), Pi, 1e-12);
    const Section ditch = Section::trapezoid(4, 2, 3);
    EXPECT_DOUBLE_EQ(ditch.area(2), 4 * 2 + 0.5 * 5 * 4);
    EXPECT_NEAR(ditch.perimeter(2), 4 + 2 * (std::sqrt(5.0) + std::sqrt(10.0)), 1e-12);
    const double y = normalDepth(ditch, 0.03, 0.004, 50, 10);
    EXPECT_NEAR(ditch.flow(y, 0.03, 0.004), 50, 1e-6);
    // A wide rectangle: Q = 1.49/n b y^5/3 S^1/2 nearly.
    const Section wide = Section::trapezoid(1000, 0, 0);
    const double yw = normalDepth(wide, 0.02, 0.001, 500, 10);
    EXPECT_NEAR(yw, std::pow(500 * 0.02 / (1.49 * 1000 * std::sqrt(0.001)), 0.6), 0.005);
}

namespace {
/// Steady inflow until the element passes it on; returns the depth.
double steadyDepth(ChannelRouting& c, double inflow, double& outflow) {
    for (int i = 0; i < 20000; ++i) outflow = c.step(inflow, 0, 60, {}).outflow;
    return c.depth();
}
}  // namespace

TEST(ChannelRouting, SteadyFlowLeavesAsItCameAtManningsNormalDepth) {
    Conduit channel{Section::trapezoid(4, 2, 2), 600, 0.004, 0.035, 3};
    ChannelRouting ditch(channel, std::nullopt);
    double out = 0;
    const double y = steadyDepth(ditch, 25, out);
    EXPECT_NEAR(out, 25, 1e-9);
    const double yn = normalDepth(channel.section, 0.035, 0.004, 25, 3);
    EXPECT_NEAR(y, yn, 0.005 * yn);

    Conduit circular{Section::circle(2.5), 420, 0.005, 0.013, 2.5};
    ChannelRouting pipe(circular, std::nullopt);
    const double yp = steadyDepth(pipe, 12, out);
    EXPECT_NEAR(out, 12, 1e-9);
    const double ypn = normalDepth(circular.section, 0.013, 0.005, 12, 2.5);
    EXPECT_NEAR(yp, ypn, 0.005 * ypn);
}

TEST(ChannelRouting, AboveCapacityTheExcessIsStoredOrFlowsInTheOverflowChannel) {
    Conduit small{Section::circle(1), 300, 0.004, 0.013, 1};
    ChannelRouting pipe(small, std::nullopt);
    const double cap = pipe.capacity();
    double out = 0, in = 0;
    for (int i = 0; i < 600; ++i) {
        out += pipe.step(2 * cap, 0, 60, {}).outflow * 60;
        in += 2 * cap * 60;
    }
    EXPECT_TRUE(pipe.surcharged());
    EXPECT_NEAR(in, out + pipe.storage(), 1e-9 * in);
    EXPECT_NEAR(pipe.step(2 * cap, 0, 60, {}).outflow, cap, 1e-9 * cap);
    EXPECT_NEAR(pipe.depth(), 1.0, 1e-12);
    // The stored water drains at capacity once the inflow stops.
    const double stored = pipe.storage();
    EXPECT_NEAR(pipe.step(0, 0, 60, {}).outflow, cap, 1e-9 * cap);
    EXPECT_NEAR(pipe.storage(), stored - cap * 60, 1e-6 * stored);

    Conduit over{Section::trapezoid(10, 3, 3), 300, 0.004, 0.04, 2};
    ChannelRouting both(small, over);
    double q = 0;
    const double y = steadyDepth(both, 2 * cap, q);
    EXPECT_NEAR(q, 2 * cap, 1e-9);
    EXPECT_GT(y, 1.0);
    // The overflow channel carries the flow above the pipe's capacity at its normal depth.
    EXPECT_GT(both.capacity(), 2 * cap);
    EXPECT_NEAR(y - 1.0, normalDepth(over.section, 0.04, 0.004, cap, 2), 0.01);
}

TEST(LevelPool, LinearTableDrainsExponentiallyAtItsRateAndConservesWater) {
    // O = k S with k = 2 cfs per acre-ft: the rate is 2 / 43560 per second.
    const Curve table({0, 10}, {0, 20});
    const double dt = 300, rate = 2.0 / 43560.0;
    LevelPool pool(table);
    double in = 0, out = 0;
    for (int i = 0; i < 24; ++i) {
        out += pool.step(30, 0, dt, {}).outflow * dt;
        in += 30 * dt;
    }
    EXPECT_NEAR(in, out + pool.storage(), 1e-9 * in);
    const double o1 = pool.outflow();
    double last = o1;
    for (int i = 0; i < 36; ++i) {
        out += pool.step(0, 0, dt, {}).outflow * dt;
        const double o = pool.outflow();
        EXPECT_NEAR(std::log(last / o) / dt, rate, 0.01 * rate);
        last = o;
    }
    EXPECT_NEAR(in, out + pool.storage(), 1e-9 * in);
}

TEST(LevelPool, ALinearReservoirFollowsItsClosedFormEvenWhenTheStepIsLongAgainstItsTimeConstant) {
    // O = k S with k = 100 cfs per acre-ft: a time constant of 7.3 minutes
    // against a 10-minute step, under 50 cfs that rises over an hour.
    const Curve table({0, 1}, {0, 100});
    const double k = 100 / 43560.0, dt = 600, rise = 50.0 / 3600;
    // S' = rise t - k S from empty: S = rise / k (t - (1 - e^(-kt)) / k).
    const auto stored = [&](double t) { return rise / k * (t - (1 - std::exp(-k * t)) / k); };
    const auto check = [&](const StepControl& control, double tolerance) {
        LevelPool pool(table);
        double worst = 0, in = 0, out = 0;
        for (int i = 0; i < 6; ++i) {
            const double t1 = i * dt, t2 = t1 + dt, inflow = rise * 0.5 * (t1 + t2);
            const double q = pool.step(inflow, rise, dt, control).outflow;
            const double exact = inflow - (stored(t2) - stored(t1)) / dt;
            worst = std::max(worst, std::abs(q - exact) / 50);
            in += inflow * dt;
            out += q * dt;
        }
        EXPECT_NEAR(in, out + pool.storage(), 1e-9 * in);
        return worst < tolerance;
    };
    EXPECT_TRUE(check({}, 0.001));
    // One storage-indication step per time step misses it.
    StepControl single;
    single.maxSubsteps = 1;
    EXPECT_FALSE(check(single, 0.001));

    // Emptying with nothing coming in: e^(-k dt) a step, exactly as the
    // closed form, and the error estimate is that of sub-steps, not steps.
    LevelPool pool(table);
    pool.step(50, 0, 3600, {});
    for (int i = 0; i < 5; ++i) {
        const double before = pool.storage();
        const LevelPool::Result r = pool.step(0, 0, dt, {});
        EXPECT_NEAR(pool.storage(), before * std::exp(-k * dt), 1e-3 * before) << i;
        EXPECT_NEAR(r.outflow * dt, before - pool.storage(), 1e-9 * before);
        EXPECT_LT(r.error, 2e-4 * before);
    }
    EXPECT_GT(pool.substeps(), 1);
}

TEST(Curve, InterpolationAndExactMeansOfTablesAndHyetographs) {
    const Curve c({0, 1, 3}, {0, 10, 0});
    EXPECT_DOUBLE_EQ(c.bounded(0.5), 5);
    EXPECT_DOUBLE_EQ(c.bounded(4), 0);
    EXPECT_DOUBLE_EQ(c.extended(4), -5);
    EXPECT_DOUBLE_EQ(c.extended(-1), 0);
    // The triangle's area 15 over [0, 3], and a piece spanning the vertex.
    EXPECT_DOUBLE_EQ(c.boundedMean(-1, 5) * 6, 15);
    EXPECT_DOUBLE_EQ(c.boundedMean(0.5, 1.5), (7.5 * 0.5 + 8.75 * 0.5));
    const std::vector<double> rain{1, 2, 4};
    EXPECT_DOUBLE_EQ(hyetographMean(rain, 5, 0, 5), 1);
    EXPECT_DOUBLE_EQ(hyetographMean(rain, 5, 3, 7), (1 * 2 + 2 * 2) / 4.0);
    EXPECT_DOUBLE_EQ(hyetographMean(rain, 5, 12, 17), 4 * 3 / 5.0);
    EXPECT_DOUBLE_EQ(hyetographMean(rain, 5, 15, 20), 0);
}

TEST(Rating, APipeRisesToItsLargestFlowAndKeepsItUpToFullAndAShallowFlowIsRatedByItsOwnDepth) {
    const Conduit pipe{Section::circle(2), 400, 0.005, 0.013, 2};
    const Rating r(pipe, std::nullopt);
    double largest = 0;
    for (int i = 1; i <= 1000; ++i) largest = std::max(largest, pipe.section.flow(2.0 * i / 1000, 0.013, 0.005));
    EXPECT_NEAR(r.topFlow(), largest, 1e-3 * largest);
    EXPECT_GT(r.topFlow(), 1.05 * r.fullFlow());  // a pipe carries most a little below full
    Rating::Cursor cursor;
    double last = 0;
    for (int i = 0; i <= 2000; ++i) {
        const double v = r.topVolume() * i / 2000;
        const double q = r.at(v, cursor).q;
        EXPECT_GE(q, last - 1e-9 * largest) << "storage " << v;
        last = q;
    }
    EXPECT_NEAR(last, largest, 1e-3 * largest);
    // Between full depth and the depth of the largest flow a steady inflow
    // just below that flow passes on unchanged, below full.
    ChannelRouting routing(pipe, std::nullopt);
    double out = 0;
    for (int i = 0; i < 3000; ++i) out = routing.step(0.99 * largest, 0, 60, {}).outflow;
    EXPECT_NEAR(out, 0.99 * largest, 1e-6 * largest);
    EXPECT_LT(routing.depth(), 2.0);
    EXPECT_FALSE(routing.surcharged());

    // A wide channel 0.2 ft deep: the rating between its tabulated depths
    // gives Manning's flow to 0.1 %, with a full depth of 3 ft or of 100 ft.
    for (double full : {3.0, 100.0}) {
        const Conduit wide{Section::trapezoid(40, 0, 0), 1000, 0.001, 0.03, full};
        const Rating w(wide, std::nullopt);
        Rating::Cursor c;
        for (double y : {0.013, 0.05, 0.2, 0.37}) {
            const double exact = wide.section.flow(y, 0.03, 0.001);
            EXPECT_NEAR(w.at(wide.section.area(y) * 1000, c).q, exact, 1e-3 * exact) << full << " ft full, " << y << " ft deep";
            EXPECT_NEAR(w.depth(wide.section.area(y) * 1000, c), y, 1e-3 * y);
        }
    }
}

TEST(LevelPool, ABasinWithDeadStorageHoldsEveryDropAndNeverGivesANegativeFlow) {
    // Nothing leaves below one acre-foot.
    const Curve table({0, 1, 2}, {0, 0, 10});
    LevelPool pool(table);
    double in = 0, out = 0;
    for (int i = 0; i < 200; ++i) {
        const double inflow = i < 30 ? 10.0 + 0.1 * i : 0.0;  // 2.4 acre-ft in all
        const double q = pool.step(inflow, 0, 300, {}).outflow;
        ASSERT_GE(q, 0.0) << i;
        in += inflow * 300;
        out += q * 300;
    }
    EXPECT_NEAR(in, out + pool.storage(), 1e-9 * in);
    EXPECT_NEAR(pool.storage(), 43560, 1.0);  // drained down to its dead storage
    // Inflows that only fill the dead storage give exactly nothing.
    LevelPool dead(table);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(dead.step(1.0 / 3 + 1e-3 * i, 0, 300, {}).outflow, 0.0) << i;
}
