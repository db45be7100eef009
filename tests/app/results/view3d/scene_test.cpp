// The 3D scene as a list of primitives and the camera arithmetic, without OpenGL.

#include "app/results/view3d/scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/model/problem_tables.h"
#include "app/model/units.h"

namespace app::results {
namespace {

struct Problem {
    app::model::TGridTableRegistry plain, chart;
    app::model::TProblemTables tables{plain, chart};
    app::model::TProgramData model{tables};
    Problem() {
        model.IncrementCount = 100;
        model.IncrementLength = 3;  // 25 ft
        model.ActiveWidth = 12;     // W = 1 ft
        model.PYWidth = 12;         // t = 0.1 ft
        model.FreeHeight = 120;     // 10 ft
        model.WaterDepthBackfill = 360;
        model.WaterDepthExcavation = 360;
        tables.NewSoil.SetRowCount(2);
        tables.NewSoil.Column(1).SetFloat(0, 5);   // above the excavation
        tables.NewSoil.Column(1).SetFloat(1, 30);  // past the tip
    }
};

int count(const std::vector<TPrimitive>& scene, TShape shape, int list = 0) {
    return static_cast<int>(std::count_if(scene.begin(), scene.end(), [&](const TPrimitive& p) {
        return p.Shape == shape && (list == 0 || p.List == list);
    }));
}

TEST(Scene, SizesAndTheWall) {
    Problem p;
    const TSceneSizes s = SceneSizes(p.model);
    EXPECT_DOUBLE_EQ(s.Length, 25);
    EXPECT_DOUBLE_EQ(s.Increment, 0.25);
    EXPECT_DOUBLE_EQ(s.Width, 1);
    EXPECT_DOUBLE_EQ(s.Thickness, 0.1);
    EXPECT_DOUBLE_EQ(s.FreeHeight, 10);
    EXPECT_DOUBLE_EQ(s.Largest, 60);  // 2 × the last layer's 30 ft
    EXPECT_DOUBLE_EQ(s.Centre, -15);

    TSceneOptions only;
    only.SoilLayers = only.WaterLevel = false;
    const std::vector<TPrimitive> scene = BuildScene(p.model, only, nullptr);
    ASSERT_EQ(count(scene, TShape::Box, 2), 40);  // 20 panels and their tops
    const TPrimitive& panel = scene.front();
    EXPECT_DOUBLE_EQ(panel.Size[2], 25);
    EXPECT_DOUBLE_EQ(panel.Centre[1], 0.5);
    EXPECT_EQ(panel.Fill, (TRgba{0.75F, 0.75F, 0.75F, 1}));
    EXPECT_EQ(panel.Outline, (TRgba{0.9F, 0.9F, 0, 1}));
}

TEST(Scene, SoilOnBothSidesAndBelowTheTipAndWater) {
    Problem p;
    TSceneOptions soil;
    soil.Wall = soil.WaterLevel = false;
    const std::vector<TPrimitive> scene = BuildScene(p.model, soil, nullptr);
    // Layer 1 (0-5 ft) behind the wall only; layer 2 (5-30) behind in two parts cut at 10, in front
    // from 10 to the tip at 25, and across the whole width from 25 to 30.
    ASSERT_EQ(count(scene, TShape::Box, 5), 6);
    EXPECT_DOUBLE_EQ(scene[0].Size[2], 5);
    EXPECT_LT(scene[0].Centre[0], 0);
    EXPECT_TRUE(scene[0].Blend);
    EXPECT_FLOAT_EQ(scene[0].Fill.A, 0.5F);
    const auto front =
        std::find_if(scene.begin(), scene.end(), [](const TPrimitive& b) { return b.Centre[0] > 0; });
    ASSERT_NE(front, scene.end());
    EXPECT_DOUBLE_EQ(front->Centre[2], -(10 + 25) / 2.0);

    TSceneOptions water;
    water.Wall = water.SoilLayers = false;
    const std::vector<TPrimitive> wet = BuildScene(p.model, water, nullptr);
    EXPECT_EQ(count(wet, TShape::Box, 5), 2);
    EXPECT_EQ(count(wet, TShape::Pyramid, 5), 50);
    EXPECT_DOUBLE_EQ(wet.front().Centre[2], -30);

    p.model.GeneratePY = 0;  // no generated curves: neither soil nor water
    EXPECT_EQ(count(BuildScene(p.model, TSceneOptions{}, nullptr), TShape::Box, 5), 0);
}

TEST(Scene, RangesLoadsRestraintsTiebacksAndSurcharges) {
    Problem p;
    auto& t = p.tables;
    t.BoundCond.SetRowCount(3);
    t.BoundCond.Column(0).SetInt(0, 2);  // interpolate to the next row's end
    t.BoundCond.Column(1).SetInt(0, 0);
    t.BoundCond.Column(2).SetInt(0, 5);
    t.BoundCond.Column(2).SetInt(1, 10);
    t.BoundCond.Column(1).SetInt(2, 8);
    t.BoundCond.Column(2).SetInt(2, 3);  // ends before it starts: its first node only
    EXPECT_EQ(NodeRanges(t.BoundCond, 0, 1, 2), (std::vector<std::pair<int, int>>{{0, 10}, {8, 8}}));

    TSceneOptions loads;
    loads.Wall = loads.SoilLayers = loads.WaterLevel = false;
    p.model.ApplyConcentratedLoads = true;
    t.BoundCond.SetRowCount(1);
    t.BoundCond.Column(0).SetInt(0, 1);
    t.BoundCond.Column(1).SetInt(0, 4);
    t.BoundCond.Column(2).SetInt(0, 4);
    t.BoundCond.Column(3).SetFloat(0, -100);  // lateral, towards the retained side
    t.BoundCond.Column(5).SetFloat(0, 50);    // axial, down
    std::vector<TPrimitive> scene = BuildScene(p.model, loads, nullptr);
    ASSERT_EQ(count(scene, TShape::Arrow), 40);
    const TPrimitive& lateral = scene[0];
    EXPECT_DOUBLE_EQ(lateral.Direction[0], -1);
    EXPECT_DOUBLE_EQ(lateral.Centre[0] + lateral.Direction[0] * lateral.GlyphSize, 0);  // the tip at the wall
    EXPECT_DOUBLE_EQ(lateral.Centre[2], -1);                                            // node 4 × 0.25 ft
    EXPECT_DOUBLE_EQ(scene[1].Direction[2], -1);
    EXPECT_EQ(lateral.Outline, (TRgba{1, 0, 0, 1}));
    EXPECT_EQ(count(scene, TShape::Ring), 0);  // a zero moment draws nothing

    TSceneOptions ties = loads;
    p.model.ApplyConcentratedLoads = false;
    p.model.ApplyTiebacks = true;
    t.TiebackTable1.SetRowCount(1);
    const double row[] = {3, 1.5, 29e6, 15, 15, 2};
    for (int c = 0; c < 6; ++c)
        t.TiebackTable1.Column(c).SetFloat(0, row[c]);
    scene = BuildScene(p.model, ties, nullptr);
    ASSERT_EQ(count(scene, TShape::Brick), 20);  // round(10 × 1 ft / 2 ft) = 5 each side: rods and anchors
    const TPrimitive& rod = scene[0];
    EXPECT_LT(rod.Corners[4][0], rod.Corners[0][0]);  // into the retained side
    EXPECT_LT(rod.Corners[4][2], rod.Corners[0][2]);  // and down

    p.model.ApplyTiebacks = false;
    p.model.ApplySurcharge = true;
    t.SurchargeTable.SetRowCount(1);
    t.SurchargeTable.Column(0).SetInt(0, 2);  // a line load 60 in behind the wall
    t.SurchargeTable.Column(1).SetFloat(0, 500);
    t.SurchargeTable.Column(2).SetFloat(0, 60);
    scene = BuildScene(p.model, ties, nullptr);
    EXPECT_EQ(count(scene, TShape::Arrow), 21);
    EXPECT_EQ(count(scene, TShape::Lines), 2);
    EXPECT_DOUBLE_EQ(scene[0].Centre[0] + scene[0].Direction[0] * scene[0].GlyphSize, -5);
    EXPECT_DOUBLE_EQ(scene[0].Direction[2], -1);
    TSceneOptions off = ties;
    off.Surcharge = false;
    EXPECT_EQ(BuildScene(p.model, off, nullptr).size(), 0u);
}

TEST(Scene, DeformedWallIsAContinuousStrip) {
    Problem p;
    app::model::TGraphPlot plot;
    plot.SetLineCount(1);
    plot.SetPointCount(p.model.IncrementCount + 2);
    for (int n = 0; n <= p.model.IncrementCount + 1; ++n)
        plot.Point(0, n).X = 0.01L * (p.model.IncrementCount - n);
    TSceneOptions o;
    o.SoilLayers = o.WaterLevel = false;
    o.DeformedShape = true;
    o.UndeformedModel = true;
    o.DeformationFactor = 10;
    const std::vector<TPrimitive> scene = BuildScene(p.model, o, &plot.Line(0));
    ASSERT_EQ(count(scene, TShape::Brick), 20 * 100);
    EXPECT_EQ(count(scene, TShape::Box), 20);  // the undeformed outlines
    const TPrimitive& first = scene[0];
    const TPrimitive& second = scene[1];
    EXPECT_DOUBLE_EQ(second.Corners[3][0], first.Corners[0][0]);  // shared corners
    EXPECT_DOUBLE_EQ(second.Corners[2][2], first.Corners[1][2]);
    // The top node deflects 1.00 in: × 10 that is 10 in, 0.833 ft in the scene's feet.
    EXPECT_NEAR((first.Corners[2][0] + first.Corners[3][0]) / 2, 10.0 / 12.0, 1e-9);
    o.DeformationFactor = 0;
    EXPECT_NEAR(BuildScene(p.model, o, &plot.Line(0))[0].Corners[0][0], -0.05, 1e-9);  // straight

    // In SI the deflection graph is in millimetres and the scene in metres: 1 mm x 10 is 0.01 m.
    o.DeformationFactor = 10;
    p.model.SetUnitSystem(app::model::kUnitsSI);
    const std::vector<TPrimitive> si = BuildScene(p.model, o, &plot.Line(0));
    EXPECT_NEAR((si[0].Corners[2][0] + si[0].Corners[3][0]) / 2, 0.01, 1e-9);
}

TEST(Camera, FitPanRotateZoomAndTheFactorSteps) {
    Problem p;
    const TSceneSizes s = SceneSizes(p.model);
    EXPECT_DOUBLE_EQ(FitScale(s, 800, 650), std::min(600 / 60.0, 750 / 25.0));
    TSceneSizes flat;
    flat.Largest = 0;
    flat.Width = 0;
    EXPECT_DOUBLE_EQ(FitScale(flat, 800, 600), 1);
    EXPECT_DOUBLE_EQ(FitScale(s, 40, 30), 1);  // a client too small to fit: no inside-out scene
    EXPECT_DOUBLE_EQ(OrthoDepth(flat, 800, 600), 400);

    TCamera c;
    Rotate(c, {0, 0, 0}, 0, 600, 800, 600, false);  // the full height: 90°
    EXPECT_DOUBLE_EQ(c.RX, 90);
    Rotate(c, {0, 0, 0}, 300, 200, 800, 600, true);  // diagonal with Shift: one axis only
    EXPECT_DOUBLE_EQ(c.RX, 0);  // 200 px of 600 is 30°, 300 px of 800 is 33.75°: the larger stays
    EXPECT_DOUBLE_EQ(c.RY, 33.75);
    c.Fit = 2;
    Pan(c, {0, 0, 0}, 40, -20, false);
    EXPECT_DOUBLE_EQ(c.PX, 10);
    EXPECT_DOUBLE_EQ(c.PY, 5);
    ZoomDrag(c, 1, -300, 600);
    EXPECT_DOUBLE_EQ(c.Zoom, 1.5);  // dragging up enlarges
    TCamera box;
    EXPECT_FALSE(ZoomBox(box, {0, 0, 0}, 1, 100, 100, 100, 300, 800, 600));
    EXPECT_EQ(box.Zoom, 1);
    EXPECT_TRUE(ZoomBox(box, {0, 0, 0}, 1, 100, 100, 300, 250, 800, 600));
    EXPECT_DOUBLE_EQ(box.Zoom, std::min(600 / 150.0, 800 / 200.0));

    long double f = 1;
    for (const long double expected : {2.0L, 3.0L, 4.0L, 5.0L, 6.0L, 7.0L, 8.0L, 9.0L, 10.0L, 20.0L, 30.0L}) {
        f = StepFactor(f, true);
        EXPECT_NEAR(static_cast<double>(f), static_cast<double>(expected), 1e-12);
    }
    f = 1;
    for (const long double expected : {0.9L, 0.8L, 0.7L, 0.6L, 0.5L, 0.4L, 0.3L, 0.2L, 0.1L, 0.09L, 0.08L}) {
        f = StepFactor(f, false);
        EXPECT_NEAR(static_cast<double>(f), static_cast<double>(expected), 1e-12);
    }
    EXPECT_NEAR(static_cast<double>(StepFactor(0.1L, true)), 0.2, 1e-12);
    EXPECT_EQ(StepFactor(0, true), 1);
    EXPECT_EQ(StepFactor(-3, false), 1);
}

// Small glyphs get fewer circle segments, never so few that the polygon strays a quarter pixel from the
// circle; large ones the full 40.
TEST(CircleSegmentsTest, QuarterPixelAtMostAndFortyForLargeGlyphs) {
    int previous = 0;
    for (double r = 0.01; r < 2000; r *= 1.1) {
        const int n = CircleSegments(r);
        ASSERT_GE(n, 8);
        ASSERT_LE(n, 40);
        ASSERT_EQ(n % 4, 0) << r;
        ASSERT_GE(n, previous) << r;  // never fewer for a larger circle
        previous = n;
        if (n < 40) {
            EXPECT_LE(r * (1 - std::cos(3.14159265358979 / n)), 0.25) << r;
        }
    }
    EXPECT_EQ(CircleSegments(2), 8);
    EXPECT_LT(CircleSegments(8), 40);
    EXPECT_EQ(CircleSegments(200), 40);
    EXPECT_EQ(CircleSegments(std::numeric_limits<double>::infinity()), 40);
    EXPECT_EQ(CircleSegments(std::numeric_limits<double>::quiet_NaN()), 8);
    EXPECT_EQ(CircleSegments(-5), 8);
}

}  // namespace
}  // namespace app::results
