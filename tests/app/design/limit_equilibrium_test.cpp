// Limit-equilibrium embedment against closed forms of dry sand: the simplified fixed-earth method's
// D = H / ((Kp/Ka)^(1/3) - 1), free-earth support's cubic, and the full method's two equilibria.

#include "app/design/limit_equilibrium.h"

#include <gtest/gtest.h>

#include <cmath>

namespace app::design {
namespace {

TLeProblem drySand(double phi) {
    TLeProblem p;
    p.Layers = {{0.0, 100.0, 1.0, 0.0, phi}};
    p.Excavation = 10.0;
    p.WaterUnitWeight = 0.0624;
    return p;
}

TEST(LimitEquilibrium, CoefficientsOfRankineAndCoulomb) {
    const TLeCoefficientPair rankine = EarthPressureCoefficients(30.0, TLeCoefficients::Rankine, 0.0);
    EXPECT_NEAR(rankine.Active, 1.0 / 3.0, 1e-12);
    EXPECT_NEAR(rankine.Passive, 3.0, 1e-12);
    // Coulomb with δ = 20° on φ = 30°: Ka 0.297, Kp 6.105 (vertical wall, level ground).
    const TLeCoefficientPair coulomb = EarthPressureCoefficients(30.0, TLeCoefficients::Coulomb, 20.0);
    EXPECT_NEAR(coulomb.Active, 0.297, 5e-4);
    EXPECT_NEAR(coulomb.Passive, 6.105, 5e-3);
}

// A backfill sloping at 20° on sand of 30°: Rankine's Ka of a sloping surface, 0.414 (the value of the
// textbook tables), either way of the slope; a slope as steep as the friction angle keeps level
// values. The slope is behind the wall only: the simplified method's closed form takes the sloping Ka
// with the level Kp in front, D = H / ((3 / 0.4142)^(1/3) - 1) = 1.070 H.
TEST(LimitEquilibrium, SlopingBackfill) {
    const TLeCoefficientPair up = EarthPressureCoefficients(30.0, TLeCoefficients::Rankine, 0.0, 20.0);
    EXPECT_NEAR(up.Active, 0.4142, 5e-4);
    EXPECT_EQ(EarthPressureCoefficients(30.0, TLeCoefficients::Rankine, 0.0, -20.0).Active, up.Active);
    EXPECT_NEAR(EarthPressureCoefficients(30.0, TLeCoefficients::Rankine, 0.0, 30.0).Active, 1.0 / 3.0,
                1e-12);
    // Coulomb with wall friction gives more active pressure under a rising slope than on level ground.
    EXPECT_GT(EarthPressureCoefficients(30.0, TLeCoefficients::Coulomb, 20.0, 10.0).Active,
              EarthPressureCoefficients(30.0, TLeCoefficients::Coulomb, 20.0, 0.0).Active);
    TLeProblem p = drySand(30.0);
    p.BackfillSlope = 20.0;
    const TLeResult r = FixedEarth(p, false);
    ASSERT_TRUE(r.Solved) << r.Why;
    const double exact = p.Excavation / (std::cbrt(3.0 / up.Active) - 1.0);
    EXPECT_NEAR(r.EmbedmentRequired, exact, 1e-3 * exact);
    EXPECT_GT(r.EmbedmentRequired, FixedEarth(drySand(30.0), false).EmbedmentRequired);
}

TEST(LimitEquilibrium, SimplifiedFixedEarthInDrySand) {
    const TLeProblem p = drySand(30.0);
    const TLeResult r = FixedEarth(p, false);
    ASSERT_TRUE(r.Solved) << r.Why;
    const double exact = p.Excavation / (std::cbrt(9.0) - 1.0);  // 0.926 H
    EXPECT_NEAR(r.EmbedmentRequired / p.Excavation, 0.926, 5e-4);
    EXPECT_NEAR(r.EmbedmentRequired, exact, 1e-3 * exact);
    EXPECT_NEAR(r.EmbedmentDesign, 1.2 * r.EmbedmentRequired, 1e-12);
    // The largest moment where the shear vanishes: Ka (H + x)² = Kp x².
    const double x = p.Excavation / (std::sqrt(9.0) - 1.0);
    const double z = p.Excavation + x;
    const double moment = (z * z * z / 3.0 / 6.0) * 1.0 - 3.0 * x * x * x / 6.0;
    EXPECT_NEAR(r.MaxMoment, moment, 2e-3 * moment);
    EXPECT_NEAR(r.MaxMomentDepth, z, 0.05);

    // A factor of 1.5 on the passive resistance needs more embedment; on the strength, more still.
    TLeProblem factored = p;
    factored.FactorOfSafety = 1.5;
    const double onPassive = FixedEarth(factored, false).EmbedmentRequired;
    factored.SafetyOn = TLeSafety::Strength;
    const double onStrength = FixedEarth(factored, false).EmbedmentRequired;
    EXPECT_NEAR(onPassive, p.Excavation / (std::cbrt(9.0 / 1.5) - 1.0), 2e-3 * onPassive);
    EXPECT_GT(onStrength, onPassive);
}

TEST(LimitEquilibrium, FullFixedEarthBalancesForcesAndMoments) {
    const TLeProblem p = drySand(30.0);
    const TLeResult simplified = FixedEarth(p, false);
    const TLeResult full = FixedEarth(p, true);
    ASSERT_TRUE(full.Solved) << full.Why;
    const double H = p.Excavation, D = full.EmbedmentRequired, t = H + D, z0 = full.PivotDepth;
    ASSERT_GT(z0, H);
    ASSERT_LT(z0, t);
    // Dry sand, unit weight 1: above the pivot Ka z behind and Kp (z - H) in front, below it Kp z behind
    // and Ka (z - H) in front.
    const double ka = 1.0 / 3.0, kp = 3.0;
    auto above = [&](double z) { return ka * z - (z > H ? kp * (z - H) : 0.0); };
    auto below = [&](double z) { return kp * z - ka * (z - H); };
    double force = 0.0, moment = 0.0;
    const int n = 200000;
    for (int i = 0; i < n; ++i) {
        const double z = (i + 0.5) * t / n;
        const double q = z <= z0 ? above(z) : below(z);
        force += q * t / n;
        moment += q * (t - z) * t / n;
    }
    const double scale = ka * t * t / 2;
    EXPECT_NEAR(force / scale, 0.0, 2e-3);
    EXPECT_NEAR(moment / (scale * t), 0.0, 2e-3);
    EXPECT_GT(D, simplified.EmbedmentRequired);
    EXPECT_LT(D, 1.3 * simplified.EmbedmentRequired);
}

TEST(LimitEquilibrium, FreeEarthSupportInDrySand) {
    const TLeProblem p = drySand(30.0);
    const TLeResult r = FreeEarth(p, 0.0);
    ASSERT_TRUE(r.Solved) << r.Why;
    // Moments about a tieback at the top: Ka (H + D)³ / 3 = Kp (D³ / 3 + H D² / 2).
    const double H = p.Excavation, D = r.EmbedmentRequired;
    const double ka = 1.0 / 3.0, kp = 3.0;
    EXPECT_NEAR(ka * std::pow(H + D, 3) / 3, kp * (D * D * D / 3 + H * D * D / 2),
                1e-3 * ka * std::pow(H + D, 3));
    EXPECT_NEAR(r.TiebackForce, ka * (H + D) * (H + D) / 2 - kp * D * D / 2, 1e-3 * r.TiebackForce);
    EXPECT_GT(r.TiebackForce, 0.0);
    // The largest moment where the shear vanishes above the excavation: Ka z² / 2 = T.
    const double zero = std::sqrt(2 * r.TiebackForce / ka);
    EXPECT_NEAR(r.MaxMoment, ka * zero * zero * zero / 6 - r.TiebackForce * zero,
                1e-3 * std::fabs(r.MaxMoment));
    EXPECT_LT(r.MaxMoment, 0.0);
    // Less embedment than the cantilever needs.
    EXPECT_LT(D, FixedEarth(p, false).EmbedmentRequired);

    EXPECT_FALSE(FreeEarth(p, 12.0).Solved);  // a tieback below the excavation
    TLeProblem empty;
    empty.Excavation = 10.0;
    EXPECT_FALSE(FixedEarth(empty, false).Solved);
}

// Two tiebacks in dry sand: the trapezoid of 1.3 Ka γ H² / 2 with its peak 2.6 (H = 10, anchors at
// 2.5 and 7.5), the upper tieback 10.83 by its tributary area, every force balanced, and the moments
// below the lowest tieback balanced at the embedment found.
TEST(LimitEquilibrium, ApparentPressureWithTwoTiebacks) {
    const TLeProblem p = drySand(30.0);
    const TLeResult r = ApparentPressure(p, {7.5, 2.5});
    ASSERT_TRUE(r.Solved) << r.Why;
    ASSERT_EQ(r.TiebackForces.size(), 2U);
    EXPECT_NEAR(r.TiebackForces[0], 10.8333, 2e-3);
    const double H = 10.0, D = r.EmbedmentRequired, ka = 1.0 / 3.0, kp = 3.0;
    auto net = [&](double z) { return ka * z - kp * (z - H); };
    double below = 0.0, belowMoment = 0.0;
    const int n = 100000;
    for (int i = 0; i < n; ++i) {
        const double z = H + (i + 0.5) * D / n;
        below += net(z) * D / n;
        belowMoment += net(z) * (z - 7.5) * D / n;
    }
    EXPECT_NEAR(r.TiebackForces[0] + r.TiebackForces[1], 1.3 * ka * H * H / 2 + below, 2e-3);
    // The trapezoid from 7.5 to 10 about the lowest tieback: 2.6 × (0.8333² / 2) + the falling part.
    const double a = 10.0 - 5.0 / 3.0,
                 lower = 2.6 * (a - 7.5) * (a - 7.5) / 2 + 2.6 * (5.0 / 3.0) / 2 * (a + 5.0 / 9.0 - 7.5);
    EXPECT_NEAR(lower + belowMoment, 0.0, 5e-3);
    EXPECT_FALSE(ApparentPressure(p, {2.5}).Solved);  // one tieback: free-earth support
}

// Loads on the retained surface: the modified elastic pressures (a line load 6 ft back on a 10 ft wall at
// 5 ft: 4/pi Q/H m² n / (m² + n²)², m = 0.6, n = 0.5), and a strip load needs more embedment.
TEST(LimitEquilibrium, SurchargeLoadsPushTheWall) {
    const TLeSurcharge line{TLeSurcharge::Line, 1000.0, 6.0, 0.0};
    EXPECT_NEAR(SurchargePressure(line, 10.0, 5.0), 4.0 / M_PI * 100.0 * 0.36 * 0.5 / std::pow(0.61, 2),
                1e-9);
    const TLeSurcharge near{TLeSurcharge::Line, 1000.0, 2.0, 0.0};  // m = 0.2: the form for loads close by
    EXPECT_NEAR(SurchargePressure(near, 10.0, 5.0), 0.203 * 100.0 * 0.5 / std::pow(0.41, 2), 1e-9);
    // A strip of 2 ft centred 3 ft back, at 3 ft down: beta and alpha of the strip's edges and centre.
    const TLeSurcharge strip{TLeSurcharge::Strip, 500.0, 3.0, 2.0};
    const double beta = std::atan(4.0 / 3.0) - std::atan(2.0 / 3.0), alpha = std::atan(1.0);
    EXPECT_NEAR(SurchargePressure(strip, 10.0, 3.0),
                2.0 / M_PI * 500.0 * (beta - std::sin(beta) * std::cos(2 * alpha)), 1e-9);
    TLeProblem loaded = drySand(30.0);
    loaded.Loads.push_back({TLeSurcharge::Strip, 2.0, 3.0, 2.0});
    EXPECT_GT(FixedEarth(loaded, false).EmbedmentRequired,
              FixedEarth(drySand(30.0), false).EmbedmentRequired);
}

// Water behind and not in front pushes harder: more embedment than the dry wall.
TEST(LimitEquilibrium, WaterBehindTheWallNeedsMoreEmbedment) {
    TLeProblem wet = drySand(30.0);
    wet.WaterBack = 5.0;
    wet.WaterFront = 10.0;
    wet.WaterUnitWeight = 0.5;
    EXPECT_GT(FixedEarth(wet, false).EmbedmentRequired, FixedEarth(drySand(30.0), false).EmbedmentRequired);
}

}  // namespace
}  // namespace app::design
