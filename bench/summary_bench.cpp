// The results summary and the node tables of a five-stage, 300-increment run, from the results as
// read: 302 response rows per stage, a generated p-y curve every fifth node below the excavation
// (33 points each), a tieback and a spring per stage.

#include <benchmark/benchmark.h>

#include <cmath>

#include "app/model/problem_tables.h"
#include "app/model/program_data.h"
#include "app/model/results_summary.h"

namespace {

using namespace app::model;

constexpr int kStages = 5, kIncrements = 300;
constexpr long double kH = 4.0L;  // in

struct TRun {
    TGridTableRegistry plain, chart;
    TProblemTables tables{plain, chart};
    TProgramData model{tables};
    std::vector<TCaseInputs> inputs;
};

std::unique_ptr<TRun> makeRun() {
    auto run = std::make_unique<TRun>();
    run->model.StageCount = kStages;
    run->model.IncrementCount = kIncrements;
    run->model.IncrementLength = kH;
    for (int s = 0; s < kStages; ++s) {
        for (int j = 0; j < kIncrements + 2; ++j) {
            const long double t = static_cast<long double>(j) / kIncrements;
            TResponsePoint p;
            p.Depth = j * kH / 12.0L;
            p.Deflection = (s + 1) * 0.1L * std::exp(-4 * t);
            p.Moment = (s + 1) * 40 * std::sin(6 * t) * std::exp(-2 * t);
            p.Shear = (s + 1) * 3 * std::cos(6 * t) * std::exp(-2 * t);
            p.SoilReaction = -50 * std::sin(9 * t);
            run->model.Results.SetResponse(s, j, p);
            run->model.Results.SetPressure(s, j, {j * kH, 0.2L * j});
        }
        std::vector<TStoredCurve> curves;
        for (int node = 100; node <= kIncrements; node += 5) {
            TStoredCurve c{node * kH, {}};
            for (int k = -16; k <= 16; ++k) {
                const long double y = 0.05L * k;
                c.Points.emplace_back(y, 27.0L - 300.0L * std::tanh(4 * y));
            }
            curves.push_back(std::move(c));
        }
        run->model.Results.SetCurves(s, std::move(curves), false);
        TCaseInputs in;
        in.IncrementCount = kIncrements;
        in.IncrementLength = kH;
        in.ActiveWidth = 12.0L;
        in.Tiebacks.push_back({10.0L, 1.25L, 29e6L, 20.0L, 15.0L, 8.0L});
        in.Springs.push_back({200, 220, 500.0L});
        in.RestrainedNodes.push_back(kIncrements);
        run->inputs.push_back(in);
    }
    return run;
}

void SummaryOfFiveStages(benchmark::State& state) {
    const auto run = makeRun();
    for (auto _ : state) {
        TResultsSummary summary = SummarizeResults(run->model, run->inputs, {});
        benchmark::DoNotOptimize(summary);
    }
}
BENCHMARK(SummaryOfFiveStages)->Unit(benchmark::kMillisecond);

void SummaryAndEveryNodeTable(benchmark::State& state) {
    const auto run = makeRun();
    for (auto _ : state) {
        TResultsSummary summary = SummarizeResults(run->model, run->inputs, {});
        benchmark::DoNotOptimize(summary);
        for (int s = 0; s < kStages; ++s) {
            std::vector<TNodeRow> rows = NodeTable(run->model, run->inputs[static_cast<std::size_t>(s)], s);
            benchmark::DoNotOptimize(rows);
        }
    }
}
BENCHMARK(SummaryAndEveryNodeTable)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
