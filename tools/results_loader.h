#pragma once
// What the result tools share: a data file and the plot data beside it, read through the desktop
// program's reader.

#include <filesystem>
#include <memory>
#include <string>

#include "app/model/plot_definitions.h"
#include "app/model/problem_tables.h"
#include "app/model/program_data.h"
#include "app/model/results_reader.h"

namespace tools {

struct TLoadedResults {
    app::model::TProblemTables tables;
    app::model::TProgramData model{tables};
    std::unique_ptr<app::model::PlotDefinitions> plots = app::model::CreatePlotDefinitions();
    app::model::TResultsOutcome outcome;
};

/// Reads `dataFile` and its ".dn5p". 0 when read (an engine stop in a later problem is in `outcome`);
/// 2 when a file is missing or the data file cannot be read; 1 when the plot data are damaged. The
/// message, prefixed by `tool`, says why. Without `plotDataRequired` a missing ".dn5p" leaves the
/// problem read and no curves (pictures of the problem as entered need no run).
int LoadResults(const std::filesystem::path& dataFile, TLoadedResults& results, std::string& message,
                const char* tool, bool plotDataRequired = true);

/// A reader's message on one line.
[[nodiscard]] std::string OneLine(std::string text);

}  // namespace tools
