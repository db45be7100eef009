// The generator's shared rules: multipliers, curve depths, the two sides and the layered soil.

#include "engine/soil/py_framework.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace engine;
using namespace engine::soil;

namespace {

struct Fixture {
    SoilBlock soil;
    std::string report, soilData;
    std::vector<Modifier> modifiers;
    std::unique_ptr<ExcavationProfile> profile;
    std::unique_ptr<PyFramework> fw;

    Fixture(double wa, double wp, std::vector<Modifier> table = {}, int unitSystem = 1)
        : modifiers(std::move(table)) {
        soil.freeHeight = 120.0;
        soil.widthActive = wa;
        soil.widthResistance = wp;
        soil.waterBackfill = soil.waterExcavation = 1000.0;
        soil.layers = {SoilLayer{4, 120, {0.07, 0, 30, 0, 100, 0}, {0.07, 0, 30, 0, 100, 0}},
                       SoilLayer{1, 200, {0.06, 5, 0, 0.02, 0, 0}, {0.06, 5, 0, 0.02, 0, 0}},
                       SoilLayer{4, 600, {0.07, 0, 35, 0, 100, 0}, {0.07, 0, 35, 0, 100, 0}}};
        profile = std::make_unique<ExcavationProfile>(soil, 4.0, 75, unitSystem,
                                                      UnitLabels::forSystem(unitSystem), report);
        fw = std::make_unique<PyFramework>(soil, *profile, modifiers, unitSystem, 0.0, report, soilData);
    }
};

}  // namespace

TEST(PyMultipliers, GroupReductionFromTheSpacing) {
    EXPECT_EQ(Fixture(12, 12).fw->pMultiplier(150), 1.0);  // continuous wall
    EXPECT_TRUE(Fixture(12, 12).fw->continuousWall());
    const Fixture two(24, 12);
    EXPECT_NEAR(two.fw->pMultiplier(150), 0.5292 * std::pow(2.0, 0.5659), 1e-6);
    EXPECT_NEAR(two.fw->pMultiplier(150), 0.784, 1e-3);
    EXPECT_EQ(two.fw->pMultiplier(100), 1.0);  // above the excavation
    EXPECT_EQ(two.fw->yMultiplier(150), 1.0);  // p only
    EXPECT_FALSE(two.fw->continuousWall());
    EXPECT_EQ(Fixture(38.4, 12).fw->pMultiplier(150), 1.0);  // 3.2 widths apart: single elements
}

TEST(PyMultipliers, TableRowsInterpolationAndRepeatedDepths) {
    const Fixture s(24, 12, {{0, 0.5, 1}, {240, 1, 1}});
    EXPECT_DOUBLE_EQ(s.fw->pMultiplier(120), 0.75);  // the table replaces the group reduction
    EXPECT_EQ(s.fw->pMultiplier(300), 1.0);
    const Fixture r(12, 12, {{100, 0.5, 0.8}, {200, 0.6, 0.9}, {200, 0.2, 0.3}, {300, 0.4, 0.5}});
    EXPECT_EQ(r.fw->pMultiplier(50), 1.0);
    EXPECT_EQ(r.fw->pMultiplier(100), 0.5);
    EXPECT_DOUBLE_EQ(r.fw->pMultiplier(150), 0.55);
    EXPECT_EQ(r.fw->pMultiplier(200), 0.2);  // the second of two rows at the same depth
    EXPECT_EQ(r.fw->yMultiplier(200), 0.3);
    EXPECT_DOUBLE_EQ(r.fw->pMultiplier(250), 0.3);
    EXPECT_EQ(r.fw->pMultiplier(301), 1.0);
}

TEST(PyDepths, CurveDepthsSidesAndEquivalentDepth) {
    Fixture s(12, 12);
    ASSERT_EQ(s.fw->layerCount(), 2);         // the layer above the excavation is absent
    const auto first = s.fw->curveDepths(0);  // soft clay from x = 0 to 80
    EXPECT_NEAR(first[0], 0.1, 1e-7);
    EXPECT_DOUBLE_EQ(first[1], 20.0);
    EXPECT_DOUBLE_EQ(first[2], 40.0);
    EXPECT_DOUBLE_EQ(first[3], 60.0);
    EXPECT_NEAR(first[4], 79.9, 1e-6);
    const auto second = s.fw->curveDepths(1);  // sand from 80 to the cut 2 increments below the tip: 188
    EXPECT_NEAR(second[4], 300 + 8 - 120 - 0.1, 1e-6);
    EXPECT_EQ(s.fw->xs(kExcavationSide, 30.0), 30.0);
    EXPECT_EQ(s.fw->xs(kBackfillSide, 30.0), 150.0);
    EXPECT_EQ(s.fw->xEff(0, kBackfillSide, 30.0), 150.0);
    s.fw->addToIntegral(0, 1000.0);
    s.fw->addToIntegral(0, 500.0);
    EXPECT_EQ(s.fw->resistanceAbove(1), 1500.0);
    EXPECT_EQ(s.fw->resistanceAbove(0), 0.0);
    s.fw->setEquivalentDepth(1, 12.5);
    EXPECT_DOUBLE_EQ(s.fw->xEff(1, kExcavationSide, 100.0), 100.0 - 80.0 + 12.5);
    EXPECT_DOUBLE_EQ(s.fw->xEff(1, kBackfillSide, 100.0), 220.0 - 80.0 + 12.5);

    Fixture si(1, 1, {}, 2);
    EXPECT_NEAR(si.fw->curveDepths(0)[0], 0.01, 1e-8);  // the first curve sits 0.01 m below the top in SI
}
