// The soil below the excavation as the p-y criteria see it: which layers it holds, the unit-weight
// and strength tables, the interpolation functions with their stops, and the report section.
#include "engine/soil/excavation_profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "engine/run_stop.h"

using engine::SoilBlock;
using engine::SoilLayer;
using engine::soil::ExcavationProfile;
using engine::soil::StrengthPoint;
using engine::soil::WeightPoint;

namespace {

// Single-precision values the engine's constants act with.
constexpr double kGw = 0.035999998450279236;  // 0.036
constexpr double kPiF = 3.1415998935699463;   // 3.1416

double radians(double degrees) {
    return degrees * kPiF / 180.0;
}

using Row = std::array<double, 6>;

SoilLayer layer(int type, double bottom, Row top, Row base) {
    return {type, bottom, top, base};
}
SoilLayer uniform(double bottom, double gamma) {
    return layer(1, bottom, {gamma, 0, 0, 0, 0, 0}, {gamma, 0, 0, 0, 0, 0});
}

SoilBlock block(double freeHeight, double waterZ, std::vector<SoilLayer> layers) {
    SoilBlock b;
    b.freeHeight = freeHeight;
    b.waterBackfill = waterZ;
    b.layers = std::move(layers);
    return b;
}

// The profile keeps `report` for its warnings; the caller's string outlives it.
ExcavationProfile build(std::string& report, const SoilBlock& soil, double h = 10.0, int increments = 100) {
    return ExcavationProfile(soil, h, increments, 1, engine::UnitLabels::forSystem(1), report);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

void expectWeights(const std::vector<WeightPoint>& actual, const std::vector<WeightPoint>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(actual[i].x, expected[i].x);
        EXPECT_DOUBLE_EQ(actual[i].gamma, expected[i].gamma);
    }
}

template <class F>
engine::RunStop stopOf(F&& call) {
    try {
        call();
    } catch (const engine::RunStop& stop) {
        return stop;
    }
    ADD_FAILURE() << "the run did not stop";
    return engine::RunStop("", -1);
}

}  // namespace

TEST(ExcavationProfile, KeepsTheLayersBelowTheExcavation) {
    std::string report;
    const ExcavationProfile p =
        build(report, block(100, 1000,
                            {uniform(60, 0.06),    // above the excavation
                             uniform(100, 0.065),  // ends at the excavation level: absent too
                             layer(2, 150, {0.07, 10, 0, 0.01, 500, 0}, {0.09, 20, 0, 0.01, 600, 0}),
                             layer(4, 300, {0.075, 0, 32, 0, 90, 0.4}, {0.075, 0, 36, 0, 95, 0.5})}));
    ASSERT_EQ(p.layers().size(), 2u);
    EXPECT_EQ(p.layers()[0].xTop, 0.0);  // straddles H: thickness bottom - H
    EXPECT_EQ(p.layers()[0].xBottom, 50.0);
    EXPECT_EQ(p.layers()[0].type, 2);
    EXPECT_EQ(p.layers()[0].slot5, 500.0);
    EXPECT_EQ(p.layers()[1].xTop, 50.0);
    EXPECT_EQ(p.layers()[1].xBottom, 200.0);
    EXPECT_EQ(p.layers()[1].type, 4);
    EXPECT_EQ(p.layers()[1].slot5, 90.0);  // top row only

    // The top row's unit weight holds for the whole layer.
    expectWeights(p.weights(), {{0, 0.07}, {50, 0.07}, {50, 0.075}, {200, 0.075}});

    const std::vector<StrengthPoint>& s = p.strengths();
    ASSERT_EQ(s.size(), 4u);
    const double expected[4][5] = {{0, 10, 0, 0.01, 0},
                                   {50, 20, 0, 0.01, 0},
                                   {50, 0, radians(32), 0, 0.4},
                                   {200, 0, radians(36), 0, 0.5}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(s[i].x, expected[i][0]);
        EXPECT_EQ(s[i].cohesion, expected[i][1]);
        EXPECT_DOUBLE_EQ(s[i].phi, expected[i][2]);  // 3.1416 as a float, not pi
        EXPECT_EQ(s[i].slot4, expected[i][3]);
        EXPECT_EQ(s[i].slot6, expected[i][4]);
    }
}

TEST(ExcavationProfile, CutTwoIncrementsBelowTheTip) {
    // x of the cut = 2h + NI h - H = 20 + 120 - 100 = 40, a third into the second layer.
    std::string report;
    const ExcavationProfile p =
        build(report,
              block(100, 1000,
                    {uniform(120, 0.07),
                     layer(5, 180, {0.08, 100, 30, 0.01, 50, 0.2}, {0.09, 400, 36, 0.04, 70, 0.8}),
                     uniform(250, 0.09)}),
              10.0, 12);
    ASSERT_EQ(p.layers().size(), 2u);
    EXPECT_EQ(p.layers()[1].xTop, 20.0);
    EXPECT_EQ(p.layers()[1].xBottom, 40.0);
    ASSERT_EQ(p.strengths().size(), 4u);
    const StrengthPoint& b = p.strengths()[3];
    EXPECT_EQ(b.x, 40.0);
    EXPECT_DOUBLE_EQ(b.cohesion, 200.0);
    EXPECT_NEAR(b.phi, radians(32), 1e-14);
    EXPECT_DOUBLE_EQ(b.slot4, 0.02);
    EXPECT_DOUBLE_EQ(b.slot6, 0.4);
    EXPECT_DOUBLE_EQ(p.cohesionAt(40), 200.0);

    // The unit weights keep every layer below the excavation, and so does the layer list printed.
    expectWeights(p.weights(), {{0, 0.07}, {20, 0.07}, {20, 0.08}, {80, 0.08}, {80, 0.09}, {150, 0.09}});
    EXPECT_DOUBLE_EQ(p.meanUnitWeight(150), (20 * 0.07 + 60 * 0.08 + 70 * 0.09) / 150);
    EXPECT_NE(report.find("\n         3 LAYER(S) OF SOIL\n"), std::string::npos);
    EXPECT_NE(report.find("\n                            6 POINTS\n"), std::string::npos);
    EXPECT_NE(report.find("\n                            4 POINTS\n"), std::string::npos);
}

TEST(ExcavationWeights, WaterTable) {
    // H = 100; layer 1 from x = 0 to 50 (unit weight 0.07), layer 2 from 50 to 200 (0.08).
    struct Case {
        const char* what;
        double waterZ;
        std::vector<WeightPoint> expected;
    };
    const double s1 = 0.07 - kGw, s2 = 0.08 - kGw;
    const Case cases[] = {
        {"inside the last layer: dry down to the water, then two submerged points",
         200,
         {{0, 0.07}, {50, 0.07}, {50, 0.08}, {100, 0.08}, {100, s2}, {200, s2}}},
        {"inside the first layer: the next layer's submerged weight starts at the water",
         125,
         {{0, 0.07}, {25, 0.07}, {25, s2}, {200, s2}}},
        {"at the layer boundary: the lower layer's top is submerged",
         150,
         {{0, 0.07}, {50, 0.07}, {50, s2}, {200, s2}}},
        {"at the excavation level: the first top point is submerged",
         100,
         {{0, s1}, {50, s1}, {50, s2}, {200, s2}}},
        {"below the profile: all dry", 400, {{0, 0.07}, {50, 0.07}, {50, 0.08}, {200, 0.08}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string report;
        const ExcavationProfile p =
            build(report, block(100, c.waterZ, {uniform(150, 0.07), uniform(300, 0.08)}));
        expectWeights(p.weights(), c.expected);
        EXPECT_EQ(p.strengths().back().x, 200.0);
    }
}

TEST(ExcavationWeights, TenLayersWithTheWaterInTheLast) {
    std::vector<SoilLayer> layers;
    for (int i = 1; i <= 10; ++i)
        layers.push_back(uniform(100 + 10 * i, 0.06 + 0.002 * i));
    std::string report;
    const ExcavationProfile p = build(report, block(100, 195, layers));
    EXPECT_EQ(p.layers().size(), 10u);
    EXPECT_EQ(p.strengths().size(), 20u);
    ASSERT_EQ(p.weights().size(), 22u);
    const double g = 0.08;
    const std::vector<WeightPoint> tail(p.weights().end() - 4, p.weights().end());
    expectWeights(tail, {{90, g}, {95, g}, {95, g - kGw}, {100, g - kGw}});

    // The weight count is printed before the two appended points, which are listed all the same;
    // ten layers overflow the one-digit layer count.
    const std::vector<std::string> l = lines(report);
    EXPECT_EQ(std::count(l.begin(), l.end(), "         * LAYER(S) OF SOIL"), 1);
    const auto w = std::find(l.begin(), l.end(), "         DISTRIBUTION OF EFFECTIVE UNIT WEIGHT WITH DEPTH");
    const auto s = std::find(l.begin(), l.end(), "         DISTRIBUTION OF STRENGTH PARAMETERS WITH DEPTH");
    ASSERT_NE(w, l.end());
    ASSERT_NE(s, l.end());
    EXPECT_EQ(w[1], "                           20 POINTS");
    EXPECT_EQ(s - w, 4 + 22 + 2);  // count, empty, heading, points, two empty lines
    EXPECT_EQ(w[25], "                 200.0000     0.4400D-01");
    EXPECT_EQ(s[1], "                           20 POINTS");
}

TEST(ExcavationInterpolation, PointsBoundariesAndEnds) {
    std::string report;
    const ExcavationProfile p =
        build(report, block(100, 1000,
                            {layer(3, 150, {0.07, 100, 20, 0.01, 0, 0.3}, {0.07, 200, 24, 0.02, 0, 0.5}),
                             layer(5, 250, {0.07, 300, 30, 0.005, 0, 0.7}, {0.07, 500, 40, 0.005, 0, 0.9})}));
    // At the boundary x = 50: cohesion from the lower layer, the others the mean.
    EXPECT_EQ(p.cohesionAt(50), 300.0);
    EXPECT_NEAR(p.frictionAt(50), radians(27), 1e-15);
    EXPECT_DOUBLE_EQ(p.slot4At(50), 0.0125);
    EXPECT_DOUBLE_EQ(p.slot6At(50), 0.6);
    // Inside layers, at the top and at the last point.
    EXPECT_DOUBLE_EQ(p.cohesionAt(25), 150.0);
    EXPECT_NEAR(p.frictionAt(25), radians(22), 1e-15);
    EXPECT_DOUBLE_EQ(p.slot4At(75), 0.005);
    EXPECT_DOUBLE_EQ(p.slot6At(100), 0.8);
    EXPECT_EQ(p.cohesionAt(0), 100.0);
    EXPECT_EQ(p.cohesionAt(150), 500.0);
    EXPECT_EQ(p.frictionAt(150), radians(40));
    // Beyond the table the slot values are 0; above the excavation the first layer's gradient.
    EXPECT_EQ(p.slot4At(150.5), 0.0);
    EXPECT_EQ(p.slot6At(150.5), 0.0);
    EXPECT_DOUBLE_EQ(p.cohesionAt(-10), 80.0);
}

TEST(ExcavationInterpolation, AbsentValuesAtABoundary) {
    // A clay over a sand: each lacks one of the strength values; below 1.0E-20 (as a float) counts
    // as absent, so the other layer's value holds at the boundary.
    std::string report;
    const ExcavationProfile p =
        build(report, block(100, 1000,
                            {layer(1, 150, {0.07, 100, 0, 0.01, 0, 0}, {0.07, 200, 0, 0.02, 0, 0}),
                             layer(4, 250, {0.07, 0, 30, 0, 0, 0.4}, {0.07, 0, 30, 0, 0, 0.4})}));
    EXPECT_EQ(p.cohesionAt(50), 200.0);
    EXPECT_EQ(p.frictionAt(50), radians(30));
    EXPECT_EQ(p.slot4At(50), 0.02);
    EXPECT_EQ(p.slot6At(50), 0.4);

    // 9.9999999E-21 lies above the float nearest 1.0E-20 (9.9999997E-21): a value, not absent.
    std::string report2;
    const ExcavationProfile q =
        build(report2, block(100, 1000,
                             {layer(1, 150, {0.07, 100, 0, 0, 0, 0}, {0.07, 200, 0, 0, 0, 0}),
                              layer(1, 250, {0.07, 9.9999999e-21, 0, 0, 0, 0}, {0.07, 1, 0, 0, 0, 0})}));
    EXPECT_EQ(q.cohesionAt(50), 9.9999999e-21);
}

TEST(ExcavationInterpolation, ZeroThicknessLayers) {
    std::string report;
    const SoilLayer upper = layer(1, 150, {0.07, 100, 0, 0, 0, 0}, {0.07, 200, 0, 0, 0, 0});
    const SoilLayer thin = layer(1, 150, {0.5, 999, 0, 0, 0, 0}, {0.5, 888, 0, 0, 0, 0});
    const SoilLayer lower = layer(1, 250, {0.08, 300, 0, 0, 0, 0}, {0.08, 500, 0, 0, 0, 0});

    // At the last depth the first point there wins, even with a zero-thickness layer after it.
    const ExcavationProfile last = build(report, block(100, 1000, {upper, thin}));
    EXPECT_EQ(last.strengths().size(), 4u);
    EXPECT_EQ(last.cohesionAt(50), 200.0);
    EXPECT_DOUBLE_EQ(last.meanUnitWeight(50), 0.07);

    // Between two layers the thin one's top is the lower value at the boundary; below it the next
    // layer interpolates from its own top, and the zero-length segments add no weight.
    const ExcavationProfile middle = build(report, block(100, 1000, {upper, thin, lower}));
    EXPECT_EQ(middle.cohesionAt(50), 999.0);
    EXPECT_DOUBLE_EQ(middle.cohesionAt(60), 320.0);
    EXPECT_DOUBLE_EQ(middle.meanUnitWeight(100), 0.075);
}

TEST(ExcavationMeanUnitWeight, TrapezoidFromTheSurface) {
    // Weights (x, gamma): (0, .07) (50, .07) (50, .08) (100, .08) (100, .08 - gw) (200, .08 - gw).
    std::string report;
    const ExcavationProfile p = build(report, block(100, 200, {uniform(150, 0.07), uniform(300, 0.08)}));
    EXPECT_DOUBLE_EQ(p.meanUnitWeight(30), 0.07);
    EXPECT_DOUBLE_EQ(p.meanUnitWeight(100), (50 * 0.07 + 50 * 0.08) / 100);
    EXPECT_DOUBLE_EQ(p.meanUnitWeight(125), (50 * 0.07 + 50 * 0.08 + 25 * (0.08 - kGw)) / 125);
    EXPECT_DOUBLE_EQ(p.meanUnitWeight(200), (50 * 0.07 + 50 * 0.08 + 100 * (0.08 - kGw)) / 200);
    EXPECT_EQ(p.meanUnitWeight(0), 0.07);
}

TEST(ExcavationMeanUnitWeight, AtTheSurfaceTheFirstPositiveWeight) {
    // Water at the excavation level: the first layer is lighter than water.
    std::string report;
    const ExcavationProfile p = build(report, block(100, 100, {uniform(150, 0.03), uniform(300, 0.1)}));
    EXPECT_DOUBLE_EQ(p.meanUnitWeight(0), 0.1 - kGw);
    EXPECT_DOUBLE_EQ(p.meanUnitWeight(-5), 0.1 - kGw);
    // 1.0E-6 acts as the float just below it, so 9.99999998E-7 already integrates.
    EXPECT_DOUBLE_EQ(p.meanUnitWeight(9.99999998e-7), 0.03 - kGw);

    const ExcavationProfile none = build(report, block(100, 100, {uniform(150, 0.03), uniform(300, 0.02)}));
    EXPECT_DOUBLE_EQ(none.meanUnitWeight(0), 0.02 - kGw);  // none positive: the last
}

TEST(ExcavationStops, BeyondTheTables) {
    std::string report;
    const ExcavationProfile p = build(report, block(100, 1000, {uniform(150, 0.07), uniform(200, 0.08)}));
    const std::size_t section = report.size();

    testing::internal::CaptureStderr();
    engine::RunStop stop = stopOf([&] { (void)p.cohesionAt(160); });
    const std::string strengthWarning =
        "\n                             **** WARNING ****\n"
        "     THE VALUE OF X =  0.2D+03IS BEYOND THE EXTENT OF\n"
        "     THE INPUT STRENGTH CURVE\n";
    EXPECT_EQ(stop.stopCode(), 1);
    EXPECT_EQ(report.substr(section), strengthWarning);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), strengthWarning);

    report.resize(section);
    stop = stopOf([&] { (void)p.frictionAt(100.5); });
    EXPECT_EQ(stop.stopCode(), 0);
    EXPECT_EQ(report.substr(section),
              "\n                             **** WARNING ****\n"
              "     THE VALUE OF X =  0.1D+03 IS BEYOND THE EXTENT OF\n"
              "     THE INPUT PHI CURVE\n");

    // The mean unit weight stops without a message.
    report.resize(section);
    stop = stopOf([&] { (void)p.meanUnitWeight(100.001); });
    EXPECT_EQ(stop.stopCode(), 4);
    EXPECT_EQ(report.size(), section);
    EXPECT_DOUBLE_EQ(p.meanUnitWeight(100), 0.075);
}

TEST(ExcavationStops, NoLayerBelowTheExcavation) {
    // Empty tables: every depth lies beyond them, the surface included.
    std::string report;
    const ExcavationProfile p = build(report, block(300, 1000, {uniform(150, 0.07), uniform(300, 0.08)}));
    EXPECT_TRUE(p.layers().empty());
    EXPECT_TRUE(p.weights().empty());
    EXPECT_TRUE(p.strengths().empty());
    EXPECT_NE(report.find("\n         0 LAYER(S) OF SOIL\n"), std::string::npos);

    EXPECT_EQ(p.slot4At(0), 0.0);
    EXPECT_EQ(p.slot6At(0), 0.0);
    EXPECT_EQ(stopOf([&] { (void)p.meanUnitWeight(0); }).stopCode(), 4);
    EXPECT_EQ(stopOf([&] { (void)p.meanUnitWeight(10); }).stopCode(), 4);
    EXPECT_EQ(stopOf([&] { (void)p.frictionAt(0); }).stopCode(), 0);
    EXPECT_EQ(stopOf([&] { (void)p.cohesionAt(0); }).stopCode(), 1);
    EXPECT_NE(report.find("     THE VALUE OF X =  0.0D+00IS BEYOND THE EXTENT OF\n"), std::string::npos);
}

TEST(ExcavationReport, SoilLayersAndStrengthData) {
    // H = 120 in; a soft clay to z = 180, a sand to z = 300 with the water table at z = 240.
    std::string report = "before\n";
    const ExcavationProfile p =
        build(report,
              block(120, 240,
                    {layer(1, 180, {0.065, 5, 0, 0.02, 100, 0}, {0.065, 6, 0, 0.02, 100, 0}),
                     // 1.0E-6 read from the data lies above the float limit: printed as a value.
                     layer(4, 300, {0.07, 0, 30, 0, 200, 0}, {0.07, 0, 34, 1.0e-6, 200, 0})}),
              12.0, 30);
    const std::string stars(50, '*');
    const std::vector<std::string> expected = {
        "before",
        "",
        "",
        "      " + stars,
        "      *        SOIL LAYERS AND STRENGTH DATA           *",
        "      " + stars,
        "",
        "",
        "         X AT THE SURFACE OF EXCAVATION SIDE     =     120.00 IN",
        "",
        "         2 LAYER(S) OF SOIL",
        "",
        "         LAYER  1",
        "         THE SOIL IS A SOFT CLAY",
        "",
        "         LAYER  2",
        "         THE SOIL IS A SAND",
        "",
        "",
        "         DISTRIBUTION OF EFFECTIVE UNIT WEIGHT WITH DEPTH",
        "                            4 POINTS",
        "",
        "                     X,IN   WEIGHT,LBS/IN**3",
        "                 120.0000     0.6500D-01",
        "                 180.0000     0.6500D-01",
        "                 180.0000     0.7000D-01",
        "                 240.0000     0.7000D-01",
        "                 240.0000     0.3400D-01",
        "                 300.0000     0.3400D-01",
        "",
        "",
        "         DISTRIBUTION OF STRENGTH PARAMETERS WITH DEPTH",
        "                            4 POINTS",
        "",
        "                     X,IN     S,LBS/IN**2      PHI,DEGREES      E50",
        "                   120.00     0.5000D+01          0.000     0.2000D-01",
        "                   180.00     0.6000D+01          0.000     0.2000D-01",
        "                   180.00     0.0000D+00         30.000       -----",
        "                   300.00     0.0000D+00         34.000     0.1000D-05",
    };
    const std::vector<std::string> actual = lines(report);
    ASSERT_EQ(actual.size(), expected.size()) << report;
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actual[i], expected[i]) << "line " << i;
    EXPECT_EQ(report.back(), '\n');
}
