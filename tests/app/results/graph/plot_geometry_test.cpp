#include "app/results/graph/plot_geometry.h"

#include <gtest/gtest.h>

#include "app/model/graph_plot.h"

namespace app::results {
namespace {

using app::model::TGraphPlot;

TEST(PlotRanges, RoundedOutwardsAndAlwaysContainingZero) {
    struct Case {
        long double min, max, roundedMin, roundedMax;
    };
    const Case cases[] = {
        {0, 7.3L, 0, 8},            // step 1: 7.3 is at least 3 × 10^0
        {0, 2.5L, 0, 2.5L},         // step 0.1: 2.5 is below 3
        {0, 0, -0.01L, 0.01L},      // all zeros
        {-12.5L, 4, -13, 4},        // r = 16.5: step 1
        {0, 30.25L, 0, 40},         // r = 30.25: step 10
        {-0.0042L, 0, -0.005L, 0},  // r = 0.0042: step 0.001
    };
    for (const Case& c : cases) {
        long double lo = c.min, hi = c.max;
        RoundAxis(lo, hi);
        EXPECT_NEAR(static_cast<double>(lo), static_cast<double>(c.roundedMin), 1e-12)
            << static_cast<double>(c.max);
        EXPECT_NEAR(static_cast<double>(hi), static_cast<double>(c.roundedMax), 1e-12)
            << static_cast<double>(c.max);
    }

    TGraphPlot plot;
    plot.SetLineCount(2);
    plot.SetPointCount(2);
    plot.Point(0, 0) = {1.5L, 3};  // every X positive: the range still starts at zero
    plot.Point(0, 1) = {7.3L, 5};
    plot.Point(1, 0) = {2, 0.5L};
    plot.Point(1, 1) = {3, 2.5L};
    const TRange r = FullRange(plot.Lines());
    EXPECT_EQ(r.XMin, 0);
    EXPECT_NEAR(static_cast<double>(r.XMax), 8, 1e-12);
    EXPECT_EQ(r.YMin, 0);
    EXPECT_NEAR(static_cast<double>(r.YMax), 5, 1e-12);
    const TRange empty = FullRange(TGraphPlot().Lines());
    EXPECT_NEAR(static_cast<double>(empty.XMax), 0.01, 1e-15);
    EXPECT_NEAR(static_cast<double>(empty.YMin), -0.01, 1e-15);
}

TEST(PlotTicks, StepsIndicesAndPanels) {
    // 400 pixels with F = 14: 4 intervals of 0..8 give a raw step of 2, so major 2, minor 0.4.
    const TTicks t = AxisTicks(0, 8, 400, 14, 6);
    EXPECT_NEAR(static_cast<double>(t.Major), 2, 1e-12);
    EXPECT_NEAR(static_cast<double>(t.Minor), 0.4, 1e-12);
    EXPECT_EQ(t.KMin, 0);
    EXPECT_EQ(t.KMax, 20);
    EXPECT_TRUE(t.Any);
    // Raw steps rounded to 1, 2, 5 or 10 times a power of ten.
    EXPECT_NEAR(static_cast<double>(AxisTicks(0, 0.3L, 400, 14, 6).Major), 0.05,
                1e-12);  // raw 0.075: h = 7 → 5
    EXPECT_NEAR(static_cast<double>(AxisTicks(-40, 110, 500, 14, 4).Major), 10,
                1e-12);                                                              // 8 intervals, raw 18.75
    EXPECT_NEAR(static_cast<double>(AxisTicks(0, 30, 500, 14, 4).Major), 2, 1e-12);  // raw 3.75: h = 3 → 2
    EXPECT_NEAR(static_cast<double>(AxisTicks(0, 9.5L, 84, 14, 6).Major), 10, 1e-12);  // raw 9.5: h = 9
    const TTicks negative = AxisTicks(-17, 4, 600, 14, 6);  // 7 intervals, raw 3: major 2, minor 0.4
    EXPECT_EQ(negative.KMin, -42);
    EXPECT_EQ(negative.KMax, 10);
    // Too small for one interval: no ticks, no grid.
    EXPECT_EQ(AxisTicks(0, 8, 83, 14, 6).Major, 0);
    EXPECT_FALSE(AxisTicks(0, 8, 83, 14, 6).Any);
    // A zoomed range away from zero still counts its ticks from zero.
    const TTicks zoomed = AxisTicks(3, 3.4L, 400, 14, 6);
    EXPECT_EQ(zoomed.KMin, 0);
    EXPECT_NEAR(static_cast<double>(zoomed.KMax * zoomed.Minor), 3.4, 1e-9);
}

TEST(PlotLayout, RectanglesOfScreenPrintAndBitmap) {
    TLayoutInput in;
    in.Width = 800;
    in.Height = 600;
    in.TextUnit = 14;
    const TLayout screen = ScreenLayout(in);
    EXPECT_EQ(screen.Plot, (TRect{41, 41, 769, 569}));  // 2F + 12 + 1, W − 24 − 7
    in.XOnTop = false;
    EXPECT_EQ(ScreenLayout(in).Plot, (TRect{41, 31, 769, 559}));
    in.XOnTop = true;
    in.HasTitle = true;
    EXPECT_EQ(ScreenLayout(in).Plot.Bottom, 569 - 14);  // a bottom title costs one text unit on screen
    in.TitleAtTop = true;
    EXPECT_EQ(ScreenLayout(in).Plot.Top, 41 + 1 + 14);
    in.HasTitle = false;
    in.ShowLayers = true;
    const TLayout layers = ScreenLayout(in);
    EXPECT_EQ(layers.Plot.Right, 769 - 96);
    EXPECT_EQ(layers.Soil, (TRect{769 - 96 + 19, 41, 769, 569}));
    in.ShowLayers = false;
    in.ShowThree = true;
    const TLayout three = ScreenLayout(in);
    const int w = (769 - 41 - 56 - 48) / 3;
    EXPECT_EQ(three.Panels[0], (TRect{41, 41, 41 + w, 569}));
    EXPECT_EQ(three.Panels[1].Left, 41 + w + 28 + 24);
    EXPECT_EQ(three.Panels[1].Width(), w);
    EXPECT_EQ(three.Panels[2].Right, 769);

    // A printed page: a bottom title costs half an inch, a top one a quarter.
    TLayoutInput page;
    page.DpiX = page.DpiY = 600;
    page.TextUnit = 88;
    page.HasTitle = true;
    const TRect output{0, 0, 5400, 3900};
    const TLayout printed = PrintLayout(page, output);
    EXPECT_EQ(printed.Plot.Bottom, 3900 - 300);
    EXPECT_EQ(printed.Plot.Left, 176 + 75 + 11);
    page.TitleAtTop = true;
    EXPECT_EQ(PrintLayout(page, output).Plot.Top, 176 + 75 + 11 + 150);

    // A bitmap keeps its plot whatever the title, and its soil column takes half an inch.
    TLayoutInput bitmap;
    bitmap.Width = 432;
    bitmap.Height = 288;
    bitmap.HasTitle = true;
    bitmap.ShowLayers = true;
    const TLayout b = BitmapLayout(bitmap);
    EXPECT_EQ(b.Plot.Bottom, 288 - 24 - 7);
    EXPECT_EQ(b.Plot.Right, 432 - 24 - 7 - 48);
    EXPECT_EQ(b.Soil.Left, b.Plot.Right + 19);
}

TEST(PlotMapping, PixelsZoomAndMarkers) {
    const TRange r{0, 8, 0, 20};
    const TRect panel{100, 50, 500, 450};
    EXPECT_EQ(ToPixelX(4, r, panel), 300);
    EXPECT_EQ(ToPixelY(5, r, panel, true), 150);   // depth grows downwards
    EXPECT_EQ(ToPixelY(5, r, panel, false), 350);  // otherwise upwards
    EXPECT_EQ(Nearest(2.5L), 2);                   // halves to even
    EXPECT_EQ(Nearest(3.5L), 4);
    const auto [x, y] = ToData(300, 150, r, panel, true);
    EXPECT_NEAR(static_cast<double>(x), 4, 1e-12);
    EXPECT_NEAR(static_cast<double>(y), 5, 1e-12);

    // A rectangle narrower than 1/20 of the full range gives exactly 1/20, kept inside.
    const TRange z = ZoomWindow(r, 0.01L, 10, 0.02L, 10.5L);
    EXPECT_NEAR(static_cast<double>(z.XMax - z.XMin), 0.4, 1e-12);
    EXPECT_EQ(z.XMin, 0);
    EXPECT_NEAR(static_cast<double>(z.YMax - z.YMin), 1, 1e-12);
    EXPECT_NEAR(static_cast<double>(z.YMin), 9.75, 1e-12);
    const TRange wide = ZoomWindow(r, 2, 3, 6, 15);
    EXPECT_EQ(wide, (TRange{2, 6, 3, 15}));
    // A right click doubles the view about the point until the full range is reached.
    EXPECT_EQ(ZoomOut(r, r, 1, 1), r);
    const TRange out = ZoomOut(TRange{2, 4, 3, 5}, r, 5, 9);
    EXPECT_EQ(out, (TRange{3, 7, 7, 11}));
    EXPECT_EQ(ZoomOut(TRange{2, 6, 3, 15}, r, 7, 1), r);  // the view reaches the full range and stays there

    EXPECT_EQ(MarkerShape(0), 1);
    EXPECT_EQ(MarkerShape(9), 10);
    EXPECT_EQ(MarkerShape(10), 1);
    const auto triangle = MarkerVertices(1, 96, 96);
    ASSERT_EQ(triangle.size(), 4u);
    EXPECT_EQ(triangle[0], (std::pair<int, int>{0, 3}));  // pointing down
    EXPECT_EQ(triangle.front(), triangle.back());
    const auto square = MarkerVertices(2, 96, 96);
    ASSERT_EQ(square.size(), 5u);
    EXPECT_EQ(square[0], (std::pair<int, int>{2, -2}));
    EXPECT_EQ(MarkerVertices(6, 96, 96).size(), 7u);
    EXPECT_EQ(MarkerVertices(6, 96, 96)[0], (std::pair<int, int>{0, -3}));  // a corner straight above

    EXPECT_EQ(CurveColour(0), (TColour{0, 0, 0}));
    EXPECT_EQ(CurveColour(2), (TColour{255, 0, 0}));
    EXPECT_EQ(CurveColour(18), (TColour{0, 0, 255}));
    EXPECT_EQ(CurvePenWidth(96, 1), 1);
    EXPECT_EQ(CurvePenWidth(600, 1), 3);
    EXPECT_EQ(CurvePenWidth(96, 4), 4);
    EXPECT_EQ(TickLabel(12.3456L), "12.35");
    EXPECT_EQ(TickLabel(-0.0000012345L, 5), "-1.2345E-6");
}

}  // namespace
}  // namespace app::results
