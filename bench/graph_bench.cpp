// Painting the three-panel deflection, moment and shear graph of a five-stage, 300-increment run:
// five curves of 302 points in each panel, a marker at every point, the soil column on, 1600 × 1000.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "app/model/graph_plot.h"
#include "app/results/graph/plot_painter.h"

namespace {

using app::model::TGraphPlot;

void fill(TGraphPlot& plot) {
    constexpr int kStages = 5, kPoints = 302;
    plot.ShowThree = true;
    plot.ShowLayers = true;
    plot.ShowWall = true;
    plot.XOnTop = true;
    plot.Markers = 1;
    plot.SetLineCount(kStages);
    plot.SetPointCount(kPoints);
    plot.SetLineCount2(kStages);
    plot.SetPointCount2(kPoints);
    plot.SetLineCount3(kStages);
    plot.SetPointCount3(kPoints);
    for (int s = 0; s < kStages; ++s) {
        for (int j = 0; j < kPoints; ++j) {
            const long double depth = 0.1L * j;
            const long double t = depth / 30.2L;
            plot.Point(s, j) = {(s + 1) * 0.1L * std::exp(-4 * t), depth};
            plot.Point2(s, j) = {(s + 1) * 40 * std::sin(6 * t) * std::exp(-2 * t), depth};
            plot.Point3(s, j) = {(s + 1) * 3 * std::cos(6 * t) * std::exp(-2 * t), depth};
        }
        plot.Line(s).Name = "Stage: " + std::to_string(s + 1);
    }
    // Four layers, the wall and the excavation.
    plot.SetLayerLineCount(6);
    plot.SetLayerPointCount(1);
    const long double bottoms[] = {5, 12, 20, 32};
    const long double codes[] = {1, 7, 8, 9};
    for (int k = 0; k < 4; ++k)
        plot.LayerPoint(k, 0) = {codes[k], bottoms[k]};
    plot.LayerPoint(4, 0) = {0, 30.1L};
    plot.LayerPoint(5, 0) = {0, 10};
    plot.WallLineCount = 4;
}

void PaintThreePanels(benchmark::State& state) {
    TGraphPlot plot;
    fill(plot);
    const app::results::TPlotView view = app::results::MakeView(plot);
    QImage image(1600, 1000, QImage::Format_RGB32);
    const app::results::TLayout layout =
        app::results::ScreenLayout(app::results::LayoutInput(plot, image.width(), image.height(), 96, 96));
    app::results::TPaintTarget target;
    for (auto _ : state) {
        QPainter painter(&image);
        app::results::PaintPlot(painter, plot, view, layout, target);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(PaintThreePanels)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
