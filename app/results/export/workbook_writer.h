#pragma once
// The spreadsheet workbook of exported graphs: a "Legend" index sheet, then per graph a data sheet
// "Page_k" with every curve's points and a chart sheet "Plot_k" with a scatter chart of them. Written
// as an .xlsx file; needs no window, so the export dialog and drenok-results share it.

#include <string>
#include <vector>

#include "app/model/graph_plot.h"
#include "app/model/results_summary.h"

namespace app::results {

/// Two-letter columns reach 702 ("ZZ"): 351 curves of an X and a Y column each.
inline constexpr int kMaxExportCurves = 351;

inline constexpr const char* kStatusData = "In Progress, Data";
inline constexpr const char* kStatusChart = "In Progress, Chart";
inline constexpr const char* kStatusComplete = "Complete";

/// Spreadsheet column letters of column `n` (1 = "A"): one letter to 26, two to 702, none beyond.
[[nodiscard]] std::string GetExcelCol(int n);

struct TExportResult {
    /// The file was written.
    bool Written = false;
    /// Why it was not, or which graph failed; empty when all went well.
    std::string Error;
    /// The status cell of each graph as written ("Complete" unless its export failed).
    std::vector<std::string> Statuses;
};

/// What the workbook says besides the graphs: the project and the date on the index sheet, and a
/// "Summary" sheet of the results summary when one is given.
struct TWorkbookExtras {
    std::string ProjectTitle;
    std::string DataFile;
    std::string Date;
    const app::model::TResultsSummary* Summary = nullptr;
};

/// The date and time now, as the workbook's index sheet shows it.
[[nodiscard]] std::string WorkbookDate();

/// Writes `graphs` (in order, numbered from 1) to the workbook `path`, replacing it.
[[nodiscard]] TExportResult WriteWorkbook(const std::string& path,
                                          const std::vector<const app::model::TGraphPlot*>& graphs,
                                          const TWorkbookExtras& extras = {});

}  // namespace app::results
