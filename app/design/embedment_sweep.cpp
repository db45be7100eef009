#include "app/design/embedment_sweep.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

#include "app/model/data_file.h"
#include "app/model/plot_definitions.h"
#include "app/model/problem_tables.h"
#include "app/model/results_reader.h"
#include "app/model/results_summary.h"
#include "app/model/run_files.h"
#include "app/model/stages.h"
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

double DeepestExcavation(const TProgramData& model, const std::filesystem::path& dataFile) {
    double deepest = static_cast<double>(model.FreeHeight);
    if (model.StageCount > 1)
        for (const app::model::TCaseInputs& in : app::model::CaseInputsOfFile(model, dataFile))
            deepest = std::max(deepest, static_cast<double>(in.FreeHeight));
    return deepest;
}

int IncrementsFor(const TProgramData& model, double excavation, double embedment) {
    const double h = static_cast<double>(model.IncrementLength);
    if (!(h > 0.0)) return 0;
    return static_cast<int>(std::lround((excavation + embedment * lengthScale(model)) / h));
}

std::vector<double> SweepEmbedments(const TProgramData& model, double excavation, double from, double to,
                                    double step) {
    std::vector<double> embedments;
    if (!(step > 0.0) || !(to >= from) || (to - from) / step > 1000.0) return embedments;
    const double h = static_cast<double>(model.IncrementLength) / lengthScale(model);
    for (double d = from; d <= to + 1e-9 * std::max(1.0, std::fabs(to)); d += step) {
        const int n = IncrementsFor(model, excavation, d);
        const double rounded = n * h - excavation / lengthScale(model);
        if (n > 0 && rounded > 0.0 && (embedments.empty() || rounded > embedments.back() + 1e-9))
            embedments.push_back(rounded);
    }
    return embedments;
}

namespace {

// The data file of the problem with `change` made to it, or to every stage of a staged file.
std::string changed(const TProgramData& model, const std::filesystem::path& dataFile,
                    const std::function<void(TProgramData&)>& change) {
    if (model.StageCount < 2) {
        auto copy = std::make_unique<TProblem>();
        app::model::CopyProblem(model, copy->Model);
        change(copy->Model);
        return app::model::FormatDataFile(copy->Model);
    }
    const std::vector<std::string> stages = app::model::SplitStagedText(app::model::ReadInputFile(dataFile));
    std::string text;
    for (std::size_t n = 0; n < stages.size() && static_cast<int>(n) < model.StageCount; ++n) {
        auto stage = std::make_unique<TProblem>();
        app::model::ReadDataText(stage->Model, stages[n], app::model::TDataFileFormat::Current,
                                 dataFile.string());
        stage->Model.CurrentStage = static_cast<int>(n) + 1;
        change(stage->Model);
        text += app::model::FormatStageFile(stage->Model, static_cast<int>(n) + 1);
    }
    return text;
}

}  // namespace

std::string LengthenedDataText(const TProgramData& model, const std::filesystem::path& dataFile,
                               int increments) {
    return changed(model, dataFile, [increments](TProgramData& m) { m.SetIncrementCount(increments); });
}

std::string StiffenedDataText(const TProgramData& model, const std::filesystem::path& dataFile, double ei) {
    return changed(model, dataFile, [ei](TProgramData& m) {
        app::model::TGridTable& stiffness = m.Tables().PileSect;
        for (int r = 0; r < stiffness.RowCount(); ++r)
            stiffness.Cell(3, r).SetFloat(static_cast<long double>(ei));
    });
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
