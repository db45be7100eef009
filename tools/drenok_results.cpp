// drenok-results [--plot NAME] [--wide] [--list] wall.dn5d: the results of a run (the plot-data file
// beside the data file) as CSV on standard output, read by the desktop program's results reader, so
// the numbers, units and curve labels are those of the graph windows. Exit 0 when everything was
// read; 1 when part of the plot data could not be read (an error stop of the engine, or a damaged
// file), with the message on standard error; 2 for a usage error or a missing file.

#include <charconv>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/model/data_file.h"
#include "app/model/plot_definitions.h"
#include "app/model/problem_tables.h"
#include "app/model/program_data.h"
#include "app/model/results_reader.h"
#include "app/model/results_summary.h"
#include "app/model/run_outcome.h"
#include "app/model/word_reader.h"
#include "app/results/export/workbook_writer.h"
#include "output_guard.h"
#include "results_loader.h"
#include "usage.h"

namespace {

namespace fs = std::filesystem;
using app::model::TGraphPlot;

constexpr const char* kUsage =
    "usage: drenok-results [--plot NAME] [--wide] [--list] wall.dn5d\n"
    "       drenok-results --xlsx FILE.xlsx wall.dn5d\n"
    "       drenok-results --summary [--json] wall.dn5d\n"
    "       drenok-results --table [--stage N] wall.dn5d\n"
    "  NAME: py, deflection, moment, shear, reaction, pressure, pressure-combined, mobilised\n";

using app::model::TNamedPlot;

// The shortest text that reads back as the same extended real: every digit that was read, no more.
std::string number(long double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// A CSV field, quoted when it holds a separator, a quote or a line break.
std::string field(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted.push_back('"');
        quoted.push_back(c);
    }
    return quoted.append("\"");
}

// The status of the problem a curve belongs to: response and pressure curves have one per problem;
// the others (p-y curves, the combined pressure) take the run's worst.
std::string curveStatus(const TNamedPlot& named, int curve, const app::model::TRunStatus& status) {
    if (status.problems.empty()) return "NO REPORT";
    const std::string_view name = named.name;
    const bool perProblem = name == "deflection" || name == "moment" || name == "shear" ||
                            name == "reaction" || name == "pressure";
    const auto k = static_cast<std::size_t>(curve);
    if (perProblem && k < status.problems.size()) return app::model::RunStateWord(status.problems[k].state);
    return app::model::RunStateWord(status.Worst());
}

void writeLong(std::ostream& out, const std::vector<TNamedPlot>& plots,
               const app::model::TRunStatus& status) {
    out << "plot,curve,point,x,y,x_title,y_title,status\n";
    for (const TNamedPlot& named : plots) {
        const TGraphPlot& plot = *named.plot;
        const std::string xTitle = field(plot.XTitle());
        const std::string yTitle = field(plot.YTitle());
        for (int i = 0; i < plot.LineCount(); ++i) {
            const std::string label = field(plot.LegendText(i));
            const std::string state = field(curveStatus(named, i, status));
            const auto& points = plot.Line(i).Points;
            for (std::size_t j = 0; j < points.size(); ++j)
                out << named.name << ',' << label << ',' << j + 1 << ',' << number(points[j].X) << ','
                    << number(points[j].Y) << ',' << xTitle << ',' << yTitle << ',' << state << '\n';
        }
    }
}

// One table per plot: its name and caption, a header of curve and axis, a row per point with a
// column pair per curve; curves shorter than the longest leave their cells empty.
void writeWide(std::ostream& out, const std::vector<TNamedPlot>& plots) {
    bool first = true;
    for (const TNamedPlot& named : plots) {
        const TGraphPlot& plot = *named.plot;
        if (!first) out << '\n';
        first = false;
        out << named.name << ',' << field(plot.Caption) << '\n' << "point";
        std::size_t rows = 0;
        for (int i = 0; i < plot.LineCount(); ++i) {
            const std::string label = plot.LegendText(i);
            out << ',' << field(label + ": " + plot.XTitle()) << ',' << field(label + ": " + plot.YTitle());
            rows = std::max(rows, plot.Line(i).Points.size());
        }
        out << '\n';
        for (std::size_t j = 0; j < rows; ++j) {
            out << j + 1;
            for (int i = 0; i < plot.LineCount(); ++i) {
                const auto& points = plot.Line(i).Points;
                if (j < points.size())
                    out << ',' << number(points[j].X) << ',' << number(points[j].Y);
                else
                    out << ",,";
            }
            out << '\n';
        }
    }
}

void writeList(std::ostream& out, const std::vector<TNamedPlot>& plots, const app::model::TRunStatus& status,
               const app::model::TProgramData& data) {
    out << "status: " << (status.problems.empty() ? "NO REPORT" : app::model::RunStateWord(status.Worst()))
        << '\n';
    for (std::size_t k = 0; k < status.problems.size(); ++k)
        out << "  " << app::model::ProblemName(data, static_cast<int>(k)) << ": "
            << app::model::DescribeProblemStatus(status.problems[k]) << '\n';
    for (const TNamedPlot& named : plots) {
        const TGraphPlot& plot = *named.plot;
        out << named.name << ": " << plot.Caption << '\n'
            << "  x: " << plot.XTitle() << '\n'
            << "  y: " << plot.YTitle() << '\n'
            << "  curves: " << plot.LineCount() << '\n';
        for (int i = 0; i < plot.LineCount(); ++i)
            out << "    " << plot.LegendText(i) << ": " << plot.Line(i).Points.size() << " points\n";
    }
}

struct TOptions {
    std::string plot;
    bool wide = false;
    bool list = false;
    std::string xlsx;
    bool summary = false;
    bool json = false;
    bool table = false;
    int stage = 0;  // 0: not given
    fs::path dataFile;
};

// A whole positive number and nothing else.
bool parseStage(std::string_view text, int& stage) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), stage);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && stage > 0;
}

bool parseArguments(int argc, char** argv, TOptions& options) {
    bool haveFile = false;
    for (int k = 1; k < argc; ++k) {
        const std::string_view argument = argv[k];
        if (argument == "--wide") {
            options.wide = true;
        } else if (argument == "--list") {
            options.list = true;
        } else if (argument == "--summary") {
            options.summary = true;
        } else if (argument == "--json") {
            options.json = true;
        } else if (argument == "--table") {
            options.table = true;
        } else if (argument == "--stage") {
            if (++k >= argc || !parseStage(argv[k], options.stage)) return false;
        } else if (argument == "--plot") {
            if (++k >= argc) return false;
            options.plot = argv[k];
        } else if (argument == "--xlsx") {
            if (++k >= argc) return false;
            options.xlsx = argv[k];
        } else if (argument.starts_with("--plot=")) {
            options.plot = std::string(argument.substr(7));
        } else if (argument.starts_with("-") || haveFile) {
            return false;
        } else {
            options.dataFile = argument;
            haveFile = true;
        }
    }
    const int faces = (options.wide || options.list || !options.plot.empty() ? 1 : 0) +
                      (options.xlsx.empty() ? 0 : 1) + (options.summary ? 1 : 0) + (options.table ? 1 : 0);
    return haveFile && !(options.wide && options.list) && faces <= 1 && (!options.json || options.summary) &&
           (options.stage == 0 || options.table);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace app::model;
    TOptions options;
    if (tools::AskedForHelp(argc, argv)) {
        std::cout << kUsage;
        return 0;
    }
    if (!parseArguments(argc, argv, options)) {
        std::cerr << kUsage;
        return 2;
    }
    if (!options.xlsx.empty()) {
        if (const auto refusal =
                tools::OverwriteRefusal("drenok-results", "workbook", options.xlsx, options.dataFile)) {
            std::cerr << *refusal << '\n';
            return 2;
        }
    }
    tools::TLoadedResults results;
    std::string message;
    if (const int status = tools::LoadResults(options.dataFile, results, message, "drenok-results");
        status != 0) {
        std::cerr << message << '\n';
        return status;
    }
    std::vector<TNamedPlot> plots = app::model::NamedResultPlots(*results.plots, false);
    if (!options.plot.empty()) {
        std::erase_if(plots, [&](const TNamedPlot& p) { return options.plot != p.name; });
        if (plots.empty()) {
            std::cerr << "drenok-results: no plot named " << options.plot << '\n' << kUsage;
            return 2;
        }
    }
    const TResultsOutcome& outcome = results.outcome;

    if (options.summary || options.table) {
        const std::vector<TCaseInputs> inputs = CaseInputsOfFile(results.model, options.dataFile);
        if (options.summary) {
            const TResultsSummary summary = SummarizeResults(results.model, inputs, outcome.Status);
            std::cout << (options.json ? SummaryJson(summary) : SummaryCsv(summary));
        } else {
            const int cases = results.model.Results.CaseCount();
            const int stage = options.stage == 0 ? 1 : options.stage;
            if (stage > cases) {
                std::cerr << "drenok-results: --stage " << stage << ": the results hold " << cases
                          << (cases == 1 ? " problem" : " problems") << '\n';
                return 2;
            }
            const TCaseInputs& in = inputs[std::min(static_cast<std::size_t>(stage - 1), inputs.size() - 1)];
            std::cout << NodeTableText(NodeTable(results.model, in, stage - 1), SummaryUnits(in.Units), ',');
        }
        std::cout.flush();
        if (outcome.StoppedCase > 0) {
            std::cerr << "drenok-results: " << outcome.StopMessage << '\n';
            return 1;
        }
        return std::cout ? 0 : 1;
    }

    if (!options.xlsx.empty()) {
        // The workbook of the export: every graph of the export list that has curves, in its order.
        std::vector<const TGraphPlot*> graphs;
        for (TGraphPlot* graph :
             {&results.plots->pltPY, &results.plots->pltDef, &results.plots->pltShear, &results.plots->pltMom,
              &results.plots->pltSoil, &results.plots->pltLD, &results.plots->PltCombine})
            if (graph->HasCurveData()) graphs.push_back(graph);
        const TResultsSummary summary = SummarizeResults(
            results.model, CaseInputsOfFile(results.model, options.dataFile), outcome.Status);
        app::results::TWorkbookExtras extras;
        extras.ProjectTitle = summary.Title;
        extras.DataFile = options.dataFile.string();
        extras.Date = app::results::WorkbookDate();
        extras.Summary = &summary;
        const app::results::TExportResult written = app::results::WriteWorkbook(options.xlsx, graphs, extras);
        if (!written.Written || !written.Error.empty()) {
            std::cerr << "drenok-results: " << written.Error << '\n';
            return 1;
        }
        if (outcome.StoppedCase > 0) {
            std::cerr << "drenok-results: " << outcome.StopMessage << '\n';
            return 1;
        }
        return 0;
    }
    if (options.list)
        writeList(std::cout, plots, outcome.Status, results.model);
    else if (options.wide)
        writeWide(std::cout, plots);
    else
        writeLong(std::cout, plots, outcome.Status);
    std::cout.flush();
    if (outcome.StoppedCase > 0) {
        std::cerr << "drenok-results: " << outcome.StopMessage << '\n';
        return 1;
    }
    return std::cout ? 0 : 1;
}
