#include "results_loader.h"

#include "app/model/data_file.h"
#include "app/model/results_summary.h"
#include "app/model/run_files.h"
#include "app/model/word_reader.h"

namespace tools {

namespace fs = std::filesystem;
using namespace app::model;

std::string OneLine(std::string text) {
    std::string line = MessageAsLines(text);
    for (std::size_t at = line.find('\n'); at != std::string::npos; at = line.find('\n', at))
        line.replace(at, 1, ": ");
    return line;
}

int LoadResults(const fs::path& dataFile, TLoadedResults& results, std::string& message, const char* tool,
                bool plotDataRequired) {
    const std::string prefix = std::string(tool) + ": ";
    std::error_code error;
    if (!fs::is_regular_file(dataFile, error)) {
        message = prefix + "no data file " + dataFile.string();
        return 2;
    }
    fs::path plotFile = dataFile;
    plotFile.replace_extension(app::model::kPlotDataExtension);
    const bool plotData = fs::is_regular_file(plotFile, error);
    if (!plotData && plotDataRequired) {
        message = prefix + "no plot-data file " + plotFile.string() + " (run the analysis first)";
        return 2;
    }
    try {
        CreateFromFile(results.model, dataFile, FormatFromExtension(dataFile));
    } catch (const EInOutError& e) {
        message = prefix + "cannot read " + dataFile.string() + ": " + OneLine(e.what());
        return 2;
    }
    if (!plotData) return 0;
    TResultsReader reader(*results.plots, results.model);
    std::string failure;
    reader.OnShowMessage = [&failure](const std::string& text) { failure = text; };
    reader.ReadResults(plotFile, true);
    results.outcome = reader.LastOutcome();
    app::model::SetDepthLevels(*results.plots, app::model::CaseInputsOfFile(results.model, dataFile));
    if (results.outcome.CasesRead == 0 && results.outcome.StoppedCase == 0) {
        // Damaged: the curves hold what came before the fault, which is not to be passed on as results.
        message =
            prefix + "the plot-data file " + plotFile.string() + " is damaged or incomplete and was not read";
        return 1;
    }
    if (const std::string stale =
            ResultsMismatch(results.model, *results.plots, results.outcome, dataFile, true);
        !stale.empty()) {
        message = prefix + "the results beside " + dataFile.string() + " were not used: " + stale +
                  " (run the analysis again)";
        return 1;
    }
    return 0;
}

}  // namespace tools
