#include "app/design/embedment_sweep.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "app/model/data_file.h"
#include "app/model/plot_definitions.h"
#include "app/model/problem_tables.h"
#include "app/model/results_reader.h"
#include "app/model/results_summary.h"
#include "app/model/run_files.h"
#include "app/model/units.h"
#include "app/model/word_reader.h"

namespace app::design {

namespace {

using app::model::TProgramData;

struct TProblem {
    app::model::TGridTableRegistry Plain, Chart;
    app::model::TProblemTables Tables{Plain, Chart};
    TProgramData Model{Tables};
};

// Depths of the sweep are in the depth unit of the results (feet, metres); the wall's in the
// problem's (inches, metres).
double lengthScale(const TProgramData& model) {
    return static_cast<double>(app::model::LengthScale(model.UnitSystem()));
}

}  // namespace

int IncrementsFor(const TProgramData& model, double embedment) {
    const double h = static_cast<double>(model.IncrementLength);
    if (!(h > 0.0)) return 0;
    const double wall = static_cast<double>(model.FreeHeight) + embedment * lengthScale(model);
    return static_cast<int>(std::lround(wall / h));
}

std::vector<double> SweepEmbedments(const TProgramData& model, double from, double to, double step) {
    std::vector<double> embedments;
    if (!(step > 0.0) || !(to >= from) || (to - from) / step > 1000.0) return embedments;
    const double h = static_cast<double>(model.IncrementLength) / lengthScale(model);
    for (double d = from; d <= to + 1e-9 * std::max(1.0, std::fabs(to)); d += step) {
        const int n = IncrementsFor(model, d);
        const double rounded = n * h - static_cast<double>(model.FreeHeight) / lengthScale(model);
        if (n > 0 && rounded > 0.0 && (embedments.empty() || rounded > embedments.back() + 1e-9))
            embedments.push_back(rounded);
    }
    return embedments;
}

std::string LengthenedDataText(const TProgramData& model, int increments) {
    auto copy = std::make_unique<TProblem>();
    app::model::CopyProblem(model, copy->Model);
    copy->Model.SetIncrementCount(increments);
    return app::model::FormatDataFile(copy->Model);
}

std::string StiffenedDataText(const TProgramData& model, double ei) {
    auto copy = std::make_unique<TProblem>();
    app::model::CopyProblem(model, copy->Model);
    app::model::TGridTable& stiffness = copy->Model.Tables().PileSect;
    for (int r = 0; r < stiffness.RowCount(); ++r)
        stiffness.Cell(3, r).SetFloat(static_cast<long double>(ei));
    return app::model::FormatDataFile(copy->Model);
}

TSweepRun ReadSweepRun(const std::filesystem::path& dataFile, double embedment, int increments) {
    TSweepRun run;
    run.Embedment = embedment;
    run.Increments = increments;
    auto problem = std::make_unique<TProblem>();
    try {
        app::model::CreateFromFile(problem->Model, dataFile, app::model::TDataFileFormat::Current);
    } catch (const app::model::EInOutError&) {
        run.Status = app::model::RunStateWord(run.State);
        return run;
    }
    const auto plots = app::model::CreatePlotDefinitions();
    app::model::TResultsReader reader(*plots, problem->Model);
    const std::string plotData = app::model::RunFilePath(dataFile.string(), app::model::kPlotDataExtension);
    reader.ReadResults(plotData, false);
    const app::model::TRunStatus& status = reader.LastOutcome().Status;
    run.State = status.problems.empty() ? app::model::TRunState::NoResults : status.Worst();
    run.Status = app::model::RunStateWord(run.State);
    const app::model::TResultsSummary summary = app::model::SummarizeResults(
        problem->Model, app::model::CaseInputsOfFile(problem->Model, dataFile), status);
    for (const app::model::TCaseSummary& c : summary.Cases) {
        // The worst of several problems (short- and long-term) counts.
        run.TopDeflection =
            std::max(run.TopDeflection, std::fabs(static_cast<double>(c.TopDeflection.Value)));
        run.MaxMoment = std::max(run.MaxMoment, std::fabs(static_cast<double>(c.Moment.Value)));
        run.MaxShear = std::max(run.MaxShear, std::fabs(static_cast<double>(c.Shear.Value)));
        std::size_t k = 0;
        for (const app::model::TSupportForce& f : c.Supports) {
            if (f.Kind != "Tieback") continue;
            if (run.TiebackForces.size() <= k) run.TiebackForces.push_back(0.0);
            run.TiebackForces[k] =
                std::max(run.TiebackForces[k], std::fabs(static_cast<double>(f.Horizontal)));
            ++k;
        }
    }
    return run;
}

std::vector<TPyComparison> PyComparison(const std::filesystem::path& dataFile) {
    std::vector<TPyComparison> cases;
    const std::string plotData = app::model::RunFilePath(dataFile.string(), app::model::kPlotDataExtension);
    std::error_code error;
    if (!std::filesystem::is_regular_file(plotData, error)) return cases;
    auto problem = std::make_unique<TProblem>();
    try {
        app::model::CreateFromFile(problem->Model, dataFile, app::model::FormatFromExtension(dataFile));
    } catch (const app::model::EInOutError&) {
        return cases;
    }
    const auto plots = app::model::CreatePlotDefinitions();
    app::model::TResultsReader reader(*plots, problem->Model);
    if (!reader.ReadResults(plotData, false)) return cases;
    // Outputs of another file, or older than this one, are not its results.
    if (!app::model::ResultsMismatch(problem->Model, *plots, reader.LastOutcome(), dataFile, true).empty())
        return cases;
    const auto inputs = app::model::CaseInputsOfFile(problem->Model, dataFile);
    const app::model::TResultsSummary summary =
        app::model::SummarizeResults(problem->Model, inputs, reader.LastOutcome().Status);
    const bool english = problem->Model.UnitSystem() == app::model::kUnitsEnglish;
    for (std::size_t c = 0; c < summary.Cases.size(); ++c) {
        const app::model::TCaseSummary& s = summary.Cases[c];
        const double width = static_cast<double>(inputs[std::min(c, inputs.size() - 1)].ActiveWidth);
        TPyComparison p;
        p.Status = app::model::RunStateWord(s.State);
        if (!(width > 0.0)) {
            cases.push_back(p);
            continue;
        }
        // kip-in on the width in inches → lb-ft per foot; kN-m on metres → kN-m per metre.
        const double perWidth = english ? 1000.0 / 12.0 * 12.0 / width : 1.0 / width;
        const double forcePerWidth = english ? 1000.0 * 12.0 / width : 1.0 / width;
        p.Known = s.Moment.Known;
        p.MaxMoment = static_cast<double>(s.Moment.Value) * perWidth;
        for (const app::model::TSupportForce& f : s.Supports)
            if (f.Kind == "Tieback")
                p.TiebackForces.push_back(static_cast<double>(f.Horizontal) * forcePerWidth);
        cases.push_back(p);
    }
    return cases;
}

std::optional<double> ShortestConvergingEmbedment(const std::vector<TSweepRun>& runs,
                                                  std::optional<double> limit) {
    std::optional<double> shortest;
    // From the longest down: the first failure ends the stretch that holds.
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        const bool holds =
            run->State == app::model::TRunState::Converged && (!limit || run->TopDeflection <= *limit);
        if (!holds) break;
        shortest = run->Embedment;
    }
    return shortest;
}

}  // namespace app::design
