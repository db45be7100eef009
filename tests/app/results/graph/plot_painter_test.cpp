// The painter on images and a PDF page: geometry and colours at computed places, not golden pictures.

#include "app/results/graph/plot_painter.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

namespace app::results {
namespace {

using app::model::TGraphPlot;

int countColour(const QImage& image, QColor colour, QRect area = QRect()) {
    if (area.isNull()) area = image.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == colour) ++n;
    return n;
}

QRect qrect(const TRect& r) {
    return QRect(QPoint(r.Left, r.Top), QPoint(r.Right, r.Bottom));
}

// Three straight curves at depths 0 … 10, deflections 1, 2 and 3.
void threeCurves(TGraphPlot& plot) {
    plot.XOnTop = true;
    plot.Markers = 0;
    plot.SetLineCount(3);
    plot.SetPointCount(2);
    for (int i = 0; i < 3; ++i) {
        plot.Point(i, 0) = {static_cast<long double>(i + 1), 0};
        plot.Point(i, 1) = {static_cast<long double>(i + 1), 10};
    }
}

struct Painted {
    QImage image;
    TLayout layout;
    TPlotView view;
};

Painted paint(const TGraphPlot& plot, QSize size = QSize(800, 600), bool forOutput = false) {
    Painted p{QImage(size, QImage::Format_RGB32), {}, MakeView(plot)};
    p.image.fill(Qt::gray);
    p.layout = ScreenLayout(LayoutInput(plot, size.width(), size.height(), 96, 96));
    QPainter painter(&p.image);
    TPaintTarget target;
    target.ForOutput = forOutput;
    PaintPlot(painter, plot, p.view, p.layout, target);
    return p;
}

TEST(PlotPainter, ColoursFollowTheActivePositions) {
    TGraphPlot plot;
    threeCurves(plot);
    Painted all = paint(plot);
    EXPECT_GT(countColour(all.image, Qt::blue), 100);
    EXPECT_GT(countColour(all.image, Qt::red), 100);
    // The curve at x = 2 is blue; in pixels it is the column of x = 2.
    const int column = ToPixelX(2, all.view.Current[0], all.layout.Plot);
    const int middle = ToPixelY(5, all.view.Current[0], all.layout.Plot, true);
    EXPECT_EQ(all.image.pixelColor(column, middle), QColor(Qt::blue));

    plot.Line(1).Active = false;  // between two active ones: the third becomes blue, nothing is red
    Painted gap = paint(plot);
    EXPECT_EQ(countColour(gap.image, Qt::red), 0);
    EXPECT_EQ(gap.image.pixelColor(ToPixelX(3, gap.view.Current[0], gap.layout.Plot), middle),
              QColor(Qt::blue));
    plot.Line(2).Shown = false;  // hidden, and still holding its colour slot
    EXPECT_EQ(countColour(paint(plot).image, Qt::blue), 0);
}

TEST(PlotPainter, DepthGrowsDownwardsWithTheAxisOnTop) {
    TGraphPlot plot;
    plot.Markers = 0;
    plot.SetLineCount(2);
    plot.SetPointCount(2);
    plot.Point(1, 0) = {0, 2};  // the blue curve: a horizontal line at y = 2 of 0 … 10
    plot.Point(1, 1) = {6, 2};
    plot.Point(0, 1) = {0, 10};
    for (const bool onTop : {true, false}) {
        plot.XOnTop = onTop;
        Painted p = paint(plot);
        const int x = ToPixelX(3, p.view.Current[0], p.layout.Plot);
        const int near = ToPixelY(2, p.view.Current[0], p.layout.Plot, onTop);
        EXPECT_EQ(p.image.pixelColor(x, near), QColor(Qt::blue)) << onTop;
        EXPECT_EQ(near < p.layout.Plot.Top + p.layout.Plot.Height() / 2,
                  onTop);  // near the top only with the axis on top
    }
}

TEST(PlotPainter, ThreePanelsAndTheSoilColumn) {
    TGraphPlot plot;
    threeCurves(plot);
    plot.ShowThree = true;
    for (auto [setLines, setPoints] : {std::pair{&TGraphPlot::SetLineCount2, &TGraphPlot::SetPointCount2},
                                       std::pair{&TGraphPlot::SetLineCount3, &TGraphPlot::SetPointCount3}}) {
        (plot.*setLines)(2);
        (plot.*setPoints)(2);
    }
    for (int i = 0; i < 2; ++i) {
        plot.Point2(i, 0) = {-5, 0};
        plot.Point2(i, 1) = {5.0L + i, 10};
        plot.Point3(i, 0) = {0, 0};
        plot.Point3(i, 1) = {100.0L * (i + 1), 10};
    }
    // Layers: clay to 4, sand to 10; the wall to 10 and the excavation at 6.
    plot.SetLayerLineCount(4);
    plot.SetLayerPointCount(1);
    plot.LayerPoint(0, 0) = {1, 4};
    plot.LayerLine(0).Name = " CLAY ";
    plot.LayerPoint(1, 0) = {7, 10};
    plot.LayerLine(1).Name = " SAND ";
    plot.LayerPoint(2, 0) = {0, 10};
    plot.LayerPoint(3, 0) = {0, 6};
    plot.WallLineCount = 2;
    plot.ShowLayers = true;

    Painted p = paint(plot, QSize(1200, 700));
    // Each panel holds its own curves: blue in all three, the black first curve only where set 1 has it.
    for (int k = 0; k < 3; ++k)
        EXPECT_GT(countColour(p.image, Qt::blue, qrect(p.layout.Panels[static_cast<std::size_t>(k)])), 20)
            << k;
    EXPECT_GT(p.layout.Panels[1].Left, p.layout.Panels[0].Right);
    EXPECT_LT(p.layout.Panels[2].Right, p.layout.Soil.Left);
    const QRect soil = qrect(p.layout.Soil);
    // The wall's place: the middle fifth near the top, away from the layer names.
    auto wallBand = [](const Painted& painted) {
        const TRect& s = painted.layout.Soil;
        const TRange& range = painted.view.Current[0];
        const int top = ToPixelY(0.2L, range, s, true), bottom = ToPixelY(1, range, s, true);
        return QRect(s.Left + 2 * s.Width() / 5 + 2, top, s.Width() / 5 - 4, bottom - top);
    };
    EXPECT_EQ(countColour(p.image, QColor(128, 128, 128), wallBand(p)), 0);  // no wall without ShowWall
    EXPECT_GT(countColour(p.image, Qt::black, soil), 100);                   // the patterns

    plot.ShowWall = true;
    Painted walled = paint(plot, QSize(1200, 700));
    const QRect column = qrect(walled.layout.Soil);
    const QRect band = wallBand(walled);
    EXPECT_EQ(countColour(walled.image, QColor(128, 128, 128), band), band.width() * band.height());
    // Above the excavation the excavation side is empty; below it the sand fills it.
    const int right = column.left() + column.width() * 9 / 10;
    const TRange& range = walled.view.Current[0];
    const QRect aboveExcavation(
        right - 3, ToPixelY(2, range, walled.layout.Soil, true), 6,
        ToPixelY(5, range, walled.layout.Soil, true) - ToPixelY(2, range, walled.layout.Soil, true));
    EXPECT_EQ(countColour(walled.image, Qt::white, aboveExcavation),
              aboveExcavation.width() * aboveExcavation.height());
    const QRect belowExcavation(right - 3, ToPixelY(7, range, walled.layout.Soil, true), 6, 20);
    EXPECT_GT(countColour(walled.image, Qt::black, belowExcavation), 0);
}

TEST(PlotPainter, LegendBoxBitmapPageAndTooSmall) {
    TGraphPlot plot;
    threeCurves(plot);
    plot.Line(0).Name = "Stage: 1";
    plot.Line(1).Name = "Stage: 2";
    plot.Line(2).Name = "Stage: 3";
    plot.Line(1).Shown = false;
    const std::vector<TLegendEntry> entries = LegendBoxEntries(plot);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Text, "Stage: 1");
    EXPECT_EQ(entries[1].Text, "Stage: 3");
    EXPECT_EQ(entries[1].Position, 2);  // red, as its curve

    const QImage bitmap = RenderBitmap(plot, MakeView(plot), QSize(432, 288));
    EXPECT_EQ(bitmap.size(), QSize(432, 288));
    EXPECT_GT(countColour(bitmap, Qt::red), 20);
    EXPECT_EQ(countColour(bitmap, Qt::blue), 0);  // hidden: neither curve nor legend text

    // Less than an inch: left blank.
    const QImage small = RenderBitmap(plot, MakeView(plot), QSize(90, 300));
    EXPECT_EQ(countColour(small, Qt::white), 90 * 300);

    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("page.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                                          QMarginsF(1, 1, 1, 1), QPageLayout::Inch));
        plot.GraphTitle = "A title at the bottom";
        RenderPage(printer, plot, MakeView(plot));
    }
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 1) << "one page";
}

TEST(PlotPainter, SoilPatternsAreBlackOnWhiteInTwoSizes) {
    for (int n = 1; n <= 14; ++n) {
        const QImage& pattern = SoilPattern(n);
        ASSERT_FALSE(pattern.isNull()) << n;
        EXPECT_GT(countColour(pattern, Qt::white), pattern.width() * pattern.height() / 2) << n;
        EXPECT_GT(pattern.width() * pattern.height() - countColour(pattern, Qt::white), 0) << n;
    }
    EXPECT_EQ(SoilPattern(13).size(), QSize(80, 80));
    EXPECT_EQ(SoilPattern(3).size(), QSize(30, 42));
    EXPECT_GT(SoilPattern(4).width(), SoilPattern(3).width());  // the printer's are larger
}

}  // namespace
}  // namespace app::results

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
