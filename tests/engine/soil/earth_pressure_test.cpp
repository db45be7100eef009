// The ground behind the wall and the generated earth pressure, checked against hand computations
// of Rankine's theory rather than against the code's own arithmetic.

#include "engine/soil/earth_pressure.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/run_stop.h"
#include "engine/soil/backfill_profile.h"
#include "engine/soil/constants.h"
#include "engine/soil/surcharge.h"

using namespace engine;
using namespace engine::soil;

namespace {

constexpr double kPiExact = 3.14159265358979323846;

SoilLayer layer(int type, double bottom, double gamma, double c, double phi, double userK = 0.0) {
    SoilLayer l{type, bottom, {gamma, c, phi, 0.01, 100.0, userK}, {gamma, c, phi, 0.01, 100.0, userK}};
    return l;
}

SoilBlock block(double H, double dwb, std::vector<SoilLayer> layers, double q = 0.0, double beta = 0.0) {
    SoilBlock b;
    b.freeHeight = H;
    b.widthActive = 12.0;
    b.widthResistance = 12.0;
    b.waterBackfill = dwb;
    b.waterExcavation = 1000.0;
    b.backfillSlope = beta;
    b.uniformSurcharge = q;
    b.layers = std::move(layers);
    return b;
}

struct Generated {
    EarthPressureResult result;
    std::string report, notes;
};

Generated generate(const SoilBlock& soil, int unitSystem = 1, double wallLength = 240.0, int option = 2,
                   int supports = 0, double first = 0.0, double last = 0.0) {
    Generated g;
    const Surcharges surcharges(soil, soil.freeHeight, wallLength);
    const EarthPressureInput in{soil, unitSystem, option, wallLength, supports, first, last};
    g.result = generateEarthPressureTable(in, surcharges, g.report, g.notes);
    return g;
}

std::vector<BackfillEntry> profileOf(const SoilBlock& soil, int unitSystem = 1) {
    std::string report;
    BackfillProfile p(soil, unitSystem, UnitLabels::forSystem(unitSystem), report, [](std::string&) {});
    p.computeOverburden(report, UnitLabels::forSystem(unitSystem));
    return p.entries();
}

int stopCodeOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RunStop& s) {
        return s.stopCode();
    }
    return -1;
}

const GeneratedRow& rowAt(const EarthPressureResult& r, double z) {
    for (const GeneratedRow& row : r.rows)
        if (std::fabs(row.depth - z) < 1e-6) return row;
    static const GeneratedRow none{-1, -1, -1, -1};
    return none;
}

}  // namespace

TEST(BackfillProfile, SplitsAtTheWaterTableAndTheExcavation) {
    const double gw = kGammaWaterEnglish;
    {
        // DWb = H: one split; the excavation entry is also the water entry.
        const auto e = profileOf(block(60, 60, {layer(4, 240, 0.07, 0, 30)}));
        ASSERT_EQ(e.size(), 2u);
        EXPECT_EQ(e[1].zTop, 60.0);
        EXPECT_FALSE(e[0].belowWater);
        EXPECT_TRUE(e[1].belowWater);
        EXPECT_NEAR(e[1].overburden, 60 * 0.07, 1e-12);  // no pore pressure yet at the water table
    }
    {
        // Water at the surface: no split there; every entry below water; sand loses (z - 0) gw.
        const auto e = profileOf(block(60, 0, {layer(4, 30, 0.07, 0, 30), layer(4, 240, 0.07, 0, 30)}));
        ASSERT_EQ(e.size(), 3u);
        for (const auto& entry : e)
            EXPECT_TRUE(entry.belowWater);
        EXPECT_NEAR(e[1].overburden, 30 * 0.07 - 30 * gw, 1e-12);
        EXPECT_NEAR(e[2].overburden, 60 * 0.07 - 60 * gw, 1e-12);
    }
    {
        // Water below the profile: no entry below water, total stress throughout; q adds everywhere.
        const auto e = profileOf(block(60, 500, {layer(4, 240, 0.07, 0, 30)}, 2.0));
        ASSERT_EQ(e.size(), 2u);
        EXPECT_FALSE(e[1].belowWater);
        EXPECT_NEAR(e[1].overburden, 2.0 + 60 * 0.07, 1e-12);
    }
    {
        // A boundary at H (within the tolerance): no split; clay below water keeps total stress,
        // sand below water loses the pore pressure.
        const auto e = profileOf(
            block(60.000001, 20,
                  {layer(1, 40, 0.07, 5, 0), layer(4, 60, 0.07, 0, 30), layer(4, 240, 0.07, 0, 30)}));
        ASSERT_EQ(e.size(), 4u);  // the clay is split at the water table only
        EXPECT_EQ(e[1].zTop, 20.0);
        EXPECT_TRUE(e[1].belowWater);
        EXPECT_NEAR(e[1].overburden, 20 * 0.07, 1e-12);            // clay: total
        EXPECT_NEAR(e[2].overburden, 40 * 0.07 - 20 * gw, 1e-12);  // sand: effective
        EXPECT_EQ(e[3].zTop, 60.0);
    }
}

TEST(BackfillProfile, StopsWhenTheTableOverflowsOrMissesTheExcavation) {
    std::vector<SoilLayer> twenty;
    for (int i = 1; i <= 20; ++i)
        twenty.push_back(layer(4, 10.0 * i, 0.07, 0, 30));
    std::string report;
    const int code = stopCodeOf([&] {
        BackfillProfile p(block(55, 25, twenty), 1, UnitLabels::forSystem(1), report, [](std::string&) {});
    });
    EXPECT_EQ(code, 2);
    // the table is printed with its first 21 entries
    EXPECT_NE(report.find("\n        21     10.0        0.0  30.0    0.070     T    180.00\n"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("\n        22 "), std::string::npos);

    std::string report2;
    EXPECT_EQ(stopCodeOf([&] {
                  BackfillProfile p(block(300, 500, {layer(4, 240, 0.07, 0, 30)}), 1,
                                    UnitLabels::forSystem(1), report2, [](std::string&) {});
              }),
              1);
    EXPECT_NE(report2.find("SOIL INFORMATION"), std::string::npos);
}

TEST(EarthPressure, RankineCoefficients) {
    double ka, sqrtKa;
    bool warn;
    activeCoefficient(30.0, 0.0, ka, sqrtKa, warn);
    EXPECT_NEAR(ka, 1.0 / 3.0, 1e-5);
    EXPECT_FALSE(warn);
    activeCoefficient(30.0, 20.0, ka, sqrtKa, warn);
    const double b = 20 * kPiExact / 180, f = 30 * kPiExact / 180;
    const double d = std::sqrt(std::cos(b) * std::cos(b) - std::cos(f) * std::cos(f));
    EXPECT_NEAR(ka, std::cos(b) * (std::cos(b) - d) / (std::cos(b) + d), 1e-5);
    EXPECT_GT(ka, 1.0 / 3.0);
    EXPECT_FALSE(warn);
    activeCoefficient(0.0, 20.0, ka, sqrtKa, warn);  // clay under a slope keeps Ka = 1 with a warning
    EXPECT_NEAR(ka, 1.0, 1e-5);                      // 45 degrees through the single-precision 57.2958
    EXPECT_TRUE(warn);

    // The warning precedes the clay entry's line; the sand entry gets the sloping value; Kp is flat.
    const Generated g =
        generate(block(120, 500, {layer(1, 60, 0.07, 5, 0), layer(4, 240, 0.07, 0, 30)}, 0, 20));
    const size_t warning =
        g.report.find("THE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION");
    ASSERT_NE(warning, std::string::npos);
    EXPECT_LT(warning, g.report.find("\n           1          0.100E+01         0.100E+01\n"));
    EXPECT_NE(g.report.find("\n           2          0.414E+00         0.300E+01\n"), std::string::npos);
    EXPECT_NE(g.notes.find("**** WARNING ******"), std::string::npos);
}

TEST(EarthPressure, UserCoefficientAndTensionZone) {
    // A user coefficient of 0.5 on clay: Ka = 0.5, no cohesion term; the line shows the computed Ka.
    const Generated g = generate(block(60, 500, {layer(1, 240, 0.07, 2.0, 0, 0.5)}, 10.0));
    EXPECT_NE(g.report.find("\n           1          0.100E+01         0.100E+01\n"), std::string::npos);
    // rows above the excavation: p = (gamma Ka) z + q Ka
    EXPECT_NEAR(rowAt(g.result, 30).total, 0.07 * 0.5 * 30 + 10 * 0.5, 1e-12);

    // Clay at the surface, q = 0: tension at the top. With c = 1, Ka = 1, gamma = 0.07, t = 60:
    // A = 2, B = 4.2 - 2 = 2.2, zc = 2.2*60/4.2, PA4 = zc*B/2.
    const Generated t = generate(block(60, 500, {layer(1, 240, 0.07, 1.0, 0)}));
    const double zc = 2.2 * 60 / 4.2;
    char line[200];
    std::snprintf(line, sizeof line,
                  "\n       1       0.00  30.00       0.00  40.00       0.00 %6.2f %10.2f\n", 60 - zc / 3,
                  zc * 2.2 / 2);
    EXPECT_NE(t.report.find(line), std::string::npos) << line << t.report;
    // Negative pressure is never written: tiny values growing with the row number instead.
    EXPECT_DOUBLE_EQ(rowAt(t.result, 10).total, 11 * double(1.0e-12f));
    EXPECT_EQ(t.report.find("Net active pressure is negative."), std::string::npos);
    // With c = 5 the pressure is negative down to the excavation: no force, and the message.
    const Generated n = generate(block(60, 500, {layer(1, 240, 0.07, 5.0, 0)}));
    EXPECT_NE(n.report.find("\n\n     Net active pressure is negative.\n\n"), std::string::npos);
}

TEST(EarthPressure, WaterResultants) {
    const double gw = kGammaWaterEnglish;
    // Water at the surface over sand, split at 30 by a layer boundary.
    const Generated g = generate(block(60, 0, {layer(4, 30, 0.07, 0, 30), layer(4, 240, 0.07, 0, 30)}));
    char l1[120], l2[120];
    std::snprintf(l1, sizeof l1, "\n       1 %10.2f %6.2f %10.2f %6.2f\n", 0.0, 15.0, 0.5 * gw * 900, 20.0);
    std::snprintf(l2, sizeof l2, "\n       2 %10.2f %6.2f %10.2f %6.2f\n", 30 * gw * 30, 45.0, 0.5 * gw * 900,
                  50.0);
    EXPECT_NE(g.report.find(l1), std::string::npos) << g.report;
    EXPECT_NE(g.report.find(l2), std::string::npos);
    // below the excavation the pressure is constant within the entry: sigma_x Ka
    const double sigmaX = 60 * (0.07 - gw);
    EXPECT_NEAR(rowAt(g.result, 100).total, sigmaX / 3.0, 1e-5);
    EXPECT_EQ(rowAt(g.result, 100).total, rowAt(g.result, 200).total);

    const Generated dry = generate(block(60, 100, {layer(4, 240, 0.07, 0, 30)}));
    EXPECT_EQ(dry.report.find("ACTIVE WATER PRESSURE OF EACH LAYER"), std::string::npos);
}

TEST(EarthPressure, RowsPerUnitLengthAndTheTip) {
    // SI: 20 rows per metre; an entry 2.0 m thick gives 40 rows 0.05 m apart.
    const Generated si = generate(block(2.0, 100, {layer(4, 6.0, 18.0, 0, 30)}), 2, 5.0);
    EXPECT_NEAR(si.result.rows[1].depth, 0.05, 1e-12);
    EXPECT_NEAR(si.result.rows[40].depth, 2.0, 1e-12);
    EXPECT_EQ(si.result.rows.size(), 1u + 40 + 80);
    EXPECT_EQ(si.result.rowCount, 1 + 40 + 60);  // down to the tip at 5 m

    // A tip below the bottom of the profile announces no more rows than were written.
    const Generated deep = generate(block(60, 500, {layer(4, 100, 0.07, 0, 30)}), 1, 240.0);
    EXPECT_EQ(deep.result.rowCount, static_cast<int>(deep.result.rows.size()));
}

TEST(EarthPressure, ApparentPressureDiagrams) {
    const double H = 120.0;
    const SoilBlock soil = block(H, 500, {layer(4, 360, 0.07, 0, 30)});
    // one support at H/2: a = H/3, b = H/3, pmax = 1.95 P/H
    const Generated one = generate(soil, 1, 240.0, 3, 1, H / 2, H / 2);
    const double P = one.result.activeForce;
    EXPECT_NEAR(P, 0.5 * 0.07 / 3.0 * H * H, 0.01 * P);  // the triangle's force
    const double pmax = 1.95 * P / H;
    EXPECT_NEAR(rowAt(one.result, 20).total, pmax * 20 / 40, 1e-6 * pmax);
    EXPECT_NEAR(rowAt(one.result, 60).total, pmax, 1e-6 * pmax);
    EXPECT_NEAR(rowAt(one.result, 100).total, pmax * 20 / 40, 1e-6 * pmax);
    EXPECT_NEAR(rowAt(one.result, 120).total, 0.0, 1e-6 * pmax);
    EXPECT_NEAR(rowAt(one.result, 150).total, 40 * 0.07 * 120 / 3.0 / 40, 1e-5);  // below H: unchanged
    EXPECT_NEAR(rowAt(one.result, 60).soil, 0.07 * 60 / 3.0, 1e-5);               // soil part kept

    // two supports at H/4 and 3H/4: a = b = H/6, pmax = 1.4625 P/H
    const Generated two = generate(soil, 1, 240.0, 3, 2, H / 4, 3 * H / 4);
    EXPECT_NEAR(rowAt(two.result, 10).total, 1.4625 * P / H * 10 / 20, 1e-6 * P);
    EXPECT_NEAR(rowAt(two.result, 100).total, 1.4625 * P / H, 1e-6 * P);
    EXPECT_NEAR(rowAt(two.result, 110).total, 1.4625 * P / H * 10 / 20, 1e-6 * P);

    // no support: the triangular table with a message
    const Generated none = generate(soil, 1, 240.0, 3, 0);
    EXPECT_NE(none.report.find("NEEDS A SUPPORT"), std::string::npos);
    EXPECT_NEAR(rowAt(none.result, 60).total, 0.07 * 60 / 3.0, 1e-5);
}
