#include "app/model/graph_plot.h"
#include "app/model/number_format.h"
#include "app/model/plot_definitions.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using app::model::AxisTitle;
using app::model::CreatePlotDefinitions;
using app::model::FormatGeneral;
using app::model::TGraphPlot;
using app::model::TLine;
using app::model::UnitsTitle;

TEST(GraphPlotNames, DefaultLabelIsPrefixAndValueElseExplicitName) {
    TGraphPlot plot;
    plot.CurveName = "Load #";
    plot.SetLineCount(2);
    EXPECT_EQ(plot.Line(1).GetName(), "Load #2");

    plot.CurveName = "Depth";
    plot.Line(0).Value = 5.5L;
    EXPECT_EQ(plot.Line(0).GetName(), "Depth5.5");
    plot.Line(0).Value = -0.25L;
    EXPECT_EQ(plot.Line(0).GetName(), "Depth-0.25");
    plot.Line(0).Value = 1.0L / 3.0L;
    EXPECT_EQ(plot.Line(0).GetName(), "Depth0.333333333333333");

    plot.Line(0).Name = "Stage: 1";
    EXPECT_EQ(plot.Line(0).GetName(), "Stage: 1");
    plot.Line(0).Name.clear();
    EXPECT_EQ(plot.Line(0).GetName(), "Depth0.333333333333333");
}

TEST(GraphPlotNames, GeneralFormatSwitchesToExponentAtItsLimits) {
    EXPECT_EQ(FormatGeneral(0.0L, 15), "0");
    EXPECT_EQ(FormatGeneral(100.0L, 15), "100");
    EXPECT_EQ(FormatGeneral(0.00001L, 15), "0.00001");
    EXPECT_EQ(FormatGeneral(0.0000015L, 15), "1.5E-6");
    EXPECT_EQ(FormatGeneral(-0.0000015L, 15), "-1.5E-6");
    EXPECT_EQ(FormatGeneral(1e20L, 15), "1E20");
    EXPECT_EQ(FormatGeneral(123456789012345.0L, 15), "123456789012345");
    EXPECT_EQ(FormatGeneral(1234567890123456.0L, 15), "1.23456789012346E15");
    // Rounding carries into a new digit: 16 integer digits no longer fit.
    EXPECT_EQ(FormatGeneral(999999999999999.9L, 15), "1E15");
    EXPECT_EQ(FormatGeneral(12.3456L, 4), "12.35");
    EXPECT_EQ(FormatGeneral(123456.0L, 5), "1.2346E5");
}

TEST(GraphPlotCurves, NewCurvesAreNumberedAndZeroedLikeTheFirst) {
    TGraphPlot plot;
    plot.SetLineCount(2);
    EXPECT_EQ(plot.PointCount(), 0);
    plot.SetPointCount(3);
    plot.Point(1, 2) = {4.0L, -7.0L};

    plot.SetLineCount(4);
    ASSERT_EQ(plot.LineCount(), 4);
    for (int i = 0; i < 4; ++i) {
        const TLine& line = plot.Line(i);
        EXPECT_EQ(line.Value, i + 1);
        EXPECT_TRUE(line.Shown);
        EXPECT_TRUE(line.Active);
        EXPECT_TRUE(line.Name.empty());
        EXPECT_EQ(line.Owner, &plot);
        ASSERT_EQ(line.Points.size(), 3u);
    }
    EXPECT_EQ(plot.Point(3, 2).X, 0.0L);
    EXPECT_EQ(plot.Point(3, 2).Y, 0.0L);
    EXPECT_EQ(plot.Point(1, 2).Y, -7.0L);  // existing curves untouched

    TLine loose(plot);
    EXPECT_EQ(loose.Value, 5.0L);
    EXPECT_EQ(loose.Points.size(), 3u);
}

TEST(GraphPlotCurves, OtherSetsCountAgainstTheMainSet) {
    TGraphPlot plot;
    plot.SetLineCount2(2);
    EXPECT_EQ(plot.Line2(1).Value, 1.0L);  // main set empty
    EXPECT_EQ(plot.PointCount2(), 0);

    plot.SetLineCount(3);
    plot.SetPointCount(5);
    plot.SetLineCount3(2);
    EXPECT_EQ(plot.Line3(0).Value, 4.0L);
    EXPECT_EQ(plot.Line3(1).Value, 4.0L);
    EXPECT_EQ(plot.PointCount3(), 5);
    EXPECT_EQ(plot.LineCount2(), 2);
    EXPECT_EQ(plot.LayerLineCount(), 0);
}

TEST(GraphPlotCurves, CountsGrowAndShrinkFromTheEnd) {
    TGraphPlot plot;
    plot.SetLayerLineCount(3);
    plot.SetLayerPointCount(1);
    plot.LayerLine(0).Name = " CLAY ";
    plot.LayerPoint(0, 0).Y = 12.0L;

    plot.SetLayerLineCount(1);
    ASSERT_EQ(plot.LayerLineCount(), 1);
    EXPECT_EQ(plot.LayerLine(0).Name, " CLAY ");
    EXPECT_EQ(plot.LayerPoint(0, 0).Y, 12.0L);

    plot.SetLayerPointCount(4);
    EXPECT_EQ(plot.LayerPointCount(), 4);
    EXPECT_EQ(plot.LayerPoint(0, 0).Y, 12.0L);
    EXPECT_EQ(plot.LayerPoint(0, 3).Y, 0.0L);
    plot.SetLayerPointCount(-2);
    EXPECT_EQ(plot.LayerPointCount(), 0);
    EXPECT_EQ(plot.LayerLines().size(), 1u);

    plot.SetLayerLineCount(-1);
    EXPECT_EQ(plot.LayerLineCount(), 0);
    plot.SetLayerPointCount(7);  // nothing to do on an empty set
    EXPECT_EQ(plot.LayerPointCount(), 0);
}

TEST(GraphPlotCurves, EveryCurveGetsTheSamePointCount) {
    TGraphPlot plot;
    plot.SetLineCount(3);
    plot.Line(2).Points.resize(9);
    plot.SetPointCount(4);
    for (const auto& line : plot.Lines())
        EXPECT_EQ(line->Points.size(), 4u);
}

TEST(GraphPlotCurves, BadIndicesThrow) {
    TGraphPlot plot;
    plot.SetLineCount(1);
    plot.SetPointCount(2);
    EXPECT_THROW((void)plot.Line(1), std::out_of_range);
    EXPECT_THROW((void)plot.Line(-1), std::out_of_range);
    EXPECT_THROW((void)plot.Point(0, 2), std::out_of_range);
    EXPECT_THROW((void)plot.Point2(0, 0), std::out_of_range);
}

TEST(GraphPlotCurves, CurveDataNeedsMoreThanOnePoint) {
    TGraphPlot plot;
    EXPECT_FALSE(plot.HasCurveData());
    plot.SetLineCount(2);
    plot.SetPointCount(1);
    EXPECT_FALSE(plot.HasCurveData());
    plot.SetPointCount(2);
    EXPECT_TRUE(plot.HasCurveData());
}

TEST(GraphPlotCurves, LegendTextGoesThroughTheCaptionCallback) {
    TGraphPlot plot;
    plot.SetLineCount(2);
    EXPECT_EQ(plot.LegendText(1), "Curve #2");
    plot.onGetCaption = [](int index, std::string& value) {
        value.append(" @").append(std::to_string(index));
    };
    EXPECT_EQ(plot.LegendText(1), "Curve #2 @1");
}

TEST(GraphPlotUnits, SetterClampsToTheThreeSystems) {
    TGraphPlot plot;
    EXPECT_EQ(plot.Units(), 1);
    plot.SetUnits(2);
    EXPECT_EQ(plot.Units(), 2);
    plot.SetUnits(7);
    EXPECT_EQ(plot.Units(), 3);
    plot.SetUnits(-4);
    EXPECT_EQ(plot.Units(), 1);
}

TEST(GraphPlotUnits, LettersBecomeUnitNames) {
    struct Case {
        const char* letters;
        const char* english;
        const char* si;
    };
    const Case cases[] = {
        {"F", "lbs", "kN"},
        {"F1", "kips", "kN"},
        {"F2", "tons", "kN"},
        {"L", "in", "m"},
        {"L1", "in", "mm"},
        {"L2", "ft", "m"},
        {"F/L", "lbs/in", "kN/m"},
        {"L-F/Rad.", "in-lbs/Rad.", "m-kN/Rad."},
        {"F1/L2", "kips/ft", "kN/m"},
        {"f/l", "f/l", "f/l"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnitsTitle(c.letters, 1), c.english) << c.letters;
        EXPECT_EQ(UnitsTitle(c.letters, 2), c.si) << c.letters;
        EXPECT_EQ(UnitsTitle(c.letters, 3), c.letters) << c.letters;
    }
    // Only the first form found is replaced; the other forms of that letter stay.
    EXPECT_EQ(UnitsTitle("F2-F/L", 1), "tons-F/in");
    EXPECT_EQ(UnitsTitle("L1/L1", 2), "mm/mm");
}

TEST(GraphPlotUnits, AxisTitlesAddConvertedUnitsInParentheses) {
    EXPECT_EQ(AxisTitle("Depth", "", 1), "Depth");
    EXPECT_EQ(AxisTitle("p", "F/L", 2), "p (kN/m)");

    TGraphPlot plot;
    plot.XCaption = "y";
    plot.XUnits = "L";
    plot.YCaption2 = "Depth";
    plot.YUnits2 = "L2";
    plot.XCaption3 = "Shear";
    EXPECT_EQ(plot.XTitle(), "y (in)");
    EXPECT_EQ(plot.YTitle(2), "Depth (ft)");
    EXPECT_EQ(plot.XTitle(3), "Shear");
    plot.SetUnits(2);
    EXPECT_EQ(plot.XTitle(1), "y (m)");
    EXPECT_EQ(plot.YTitle(2), "Depth (m)");
}

TEST(PlotDefinitions, CaptionsAndAxesOfEveryGraph) {
    struct Expected {
        const char* caption;
        const char* curveName;
        const char* xCaption;
        const char* xUnits;
        const char* yCaption;
        const char* yUnits;
        bool xOnTop;
        bool showLegend;
    };
    const Expected expected[] = {
        {"p-y Curves", "Depth", "y", "L", "p", "F/L", false, true},
        {"Deflection vs Depth", "Load #", "Deflection", "L", "Depth", "", true, true},
        {"Moment vs Depth", "Load #", "Bending Moment", "", "Depth", "", true, true},
        {"Shear vs Depth", "Load #", "Shear", "", "Depth", "", true, true},
        {"Soil Reaction vs Depth", "Load #", "Reaction", "F", "Depth", "", true, true},
        {"Deflection, Moment, Shear vs Depth", "Curve #", "Deflection", "L", "Depth", "", true, true},
        {"Earth Pressure Distribution", "Curve #", "Distributed load", "F/L", "Depth", "", true, true},
        {"Earth Pressure Combined", "Curve #", "Distributed Load", "F/L", "Depth", "L2", true, true},
        {"Load vs Max Bending Moment", "Curve #", "Max Bending Moment", "", "Lateral Load", "", false, true},
        {"Pile Length vs Top Deflection", "Curve #", "Pile Length", "L", "Pile-Head Deflection", "L", false,
         true},
        {"EI vs Moment", "Axial Load ", "Moment", "", "EI", "", false, true},
        {"Moment vs Curvature", "Axial Load ", "Curvature (rad)", "", "Moment", "", false, true},
        {"Interaction Diagram", "Curve #", "Bending Moment", "", "Axial Load", "", false, false},
        {"Lateral Load vs K22", "Axial Load", "Lateral Load", "F", "Foundation Stiffness, K22", "F/L", false,
         false},
        {"Lateral Load vs K23", "Curve #", "lateral Load", "F", "Foundation Stiffness, K23", "F/L", false,
         false},
        {"Bending Moment vs K32", "Curve #", "Bending Moment", "L-F", "Foundation Stiffness, K32", "L-F/Rad.",
         false, false},
        {"Bending Moment vs K33", "Curve #", "Bending Moment", "L-F", "Foundation Stiffness, K33", "L-F/Rad.",
         false, false},
        {"Mobilised Resistance vs Depth", "Load #", "Mobilised Resistance", "", "Depth", "", true, true},
    };
    const auto defs = CreatePlotDefinitions();
    const auto plots = defs->All();
    ASSERT_EQ(plots.size(), std::size(expected));
    for (std::size_t k = 0; k < plots.size(); ++k) {
        const TGraphPlot& p = *plots[k];
        const Expected& e = expected[k];
        SCOPED_TRACE(e.caption);
        EXPECT_EQ(p.Caption, e.caption);
        EXPECT_EQ(p.CurveName, e.curveName);
        EXPECT_EQ(p.XCaption, e.xCaption);
        EXPECT_EQ(p.XUnits, e.xUnits);
        EXPECT_EQ(p.YCaption, e.yCaption);
        EXPECT_EQ(p.YUnits, e.yUnits);
        EXPECT_EQ(p.XOnTop, e.xOnTop);
        EXPECT_EQ(p.ShowLegend, e.showLegend);
        EXPECT_FALSE(p.ShowLayers);
        EXPECT_FALSE(p.ShowWall);
        EXPECT_FALSE(p.ShowThree);
        EXPECT_TRUE(p.ShowFontWidth);
        EXPECT_EQ(p.WallLineCount, 0);
        EXPECT_EQ(p.Markers, 1);
        EXPECT_EQ(p.SizeFont, 10);
        EXPECT_EQ(p.LegendFont, 11);
        EXPECT_EQ(p.WidthLine, 1);
        EXPECT_EQ(p.Units(), 1);
        EXPECT_EQ(p.LineCount(), 0);
        EXPECT_TRUE(p.XCaption2.empty() && p.YCaption3.empty() && p.GraphTitle.empty());
    }
}

TEST(PlotDefinitions, MembersHoldTheirOwnGraphs) {
    const auto defs = CreatePlotDefinitions();
    EXPECT_EQ(defs->pltDMS.Caption, "Deflection, Moment, Shear vs Depth");
    EXPECT_EQ(defs->PltCombine.YTitle(), "Depth (ft)");
    EXPECT_EQ(defs->pltMtK22.Caption, "Bending Moment vs K33");
    defs->pltDef.SetLineCount(2);
    EXPECT_EQ(defs->pltDef.Line(1).GetName(), "Load #2");
    EXPECT_EQ(defs->pltMom.LineCount(), 0);
}

}  // namespace
