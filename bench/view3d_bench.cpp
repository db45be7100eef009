// Rotating the 3D view of a large problem: a 300-increment wall, ten soil layers, ten tiebacks and
// twenty surcharge rows, 800 × 600, each frame replaying the compiled scene at a new angle. Needs
// OpenGL: run under a display or xvfb-run. Reports frames per second over 200 frames.
// BENCH_NO_SOIL or BENCH_NO_SURCHARGE leave those elements out and BENCH_SURCHARGE_TYPE=1, 2 or 3 makes
// every surcharge row of one type, to see what costs. BENCH_ZOOM=N rotates at N times the start zoom, where
// the glyphs' circles take more segments.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>

#include "app/model/plot_definitions.h"
#include "app/model/problem_tables.h"
#include "app/results/view3d/dlg_block.h"

namespace {

void fill(app::model::TProgramData& m) {
    auto& t = m.Tables();
    m.IncrementCount = 300;
    m.IncrementLength = 2;  // 50 ft
    m.FreeHeight = 240;
    m.ActiveWidth = 24;
    m.PYWidth = 18;
    m.WaterDepthBackfill = 120;
    m.WaterDepthExcavation = 300;
    m.ApplyTiebacks = m.ApplySurcharge = true;
    t.NewSoil.SetRowCount(10);
    for (int i = 0; i < 10; ++i) {
        t.NewSoil.Column(0).SetInt(i, 1 + i % 7);
        t.NewSoil.Column(1).SetFloat(i, 6.0L * (i + 1));
    }
    t.TiebackTable1.SetRowCount(10);
    for (int i = 0; i < 10; ++i) {
        const long double row[] = {3.0L + 3 * i, 1.5L, 29e6L, 15, 15, 8};
        for (int c = 0; c < 6; ++c)
            t.TiebackTable1.Column(c).SetFloat(i, row[c]);
    }
    t.SurchargeTable.SetRowCount(20);
    for (int i = 0; i < 20; ++i) {
        const int only = qEnvironmentVariableIntValue("BENCH_SURCHARGE_TYPE");
        t.SurchargeTable.Column(0).SetInt(i, only > 0 ? only : 1 + i % 3);
        t.SurchargeTable.Column(1).SetFloat(i, 1000);
        t.SurchargeTable.Column(2).SetFloat(i, 24.0L * (i + 1));
        t.SurchargeTable.Column(3).SetFloat(i, 24);
    }
}

void RotateLargeScene(benchmark::State& state) {
    app::model::TGridTableRegistry plain, chart;
    app::model::TProblemTables tables(plain, chart);
    app::model::TProgramData model(tables);
    fill(model);
    auto plots = app::model::CreatePlotDefinitions();
    app::results::TDlgBlock view([&model]() -> const app::model::TProgramData& { return model; }, *plots);
    if (qEnvironmentVariableIsSet("BENCH_NO_SOIL"))
        view.Options().SoilLayers = view.Options().WaterLevel = false;
    if (qEnvironmentVariableIsSet("BENCH_NO_SURCHARGE")) view.Options().Surcharge = false;
    view.RedrawComplete();
    view.resize(800, 600);
    view.show();
    QApplication::processEvents();
    if (const int zoom = qEnvironmentVariableIntValue("BENCH_ZOOM"); zoom > 1)
        view.Gl()->Camera().Zoom = zoom;
    view.Gl()->RenderFrame();  // the set-up compiles the lists once
    double angle = 0;
    for (auto _ : state) {
        view.Gl()->Camera().RZ = angle += 1.8;
        view.Gl()->RenderFrame();
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(RotateLargeScene)->Iterations(200)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (!app::results::OpenGLAvailable()) {
        std::fprintf(stderr, "drenok-view3d-bench: needs OpenGL (run under a display or xvfb-run)\n");
        return 77;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
