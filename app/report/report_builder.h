#pragma once
// The calculation report of a data file and its run: a cover, the inputs in tables with units, the
// section drawing, every problem's or stage's status, summary and figures, the design checks when
// asked for, the warnings and engine messages, the method notes with their references, and the
// fixed-width report as an appendix. Shared by drenok-report and the program's export.

#include <QDateTime>
#include <QString>
#include <filesystem>
#include <string>

#include "app/model/plot_definitions.h"
#include "app/model/program_data.h"
#include "app/model/run_status.h"
#include "app/report/report_document.h"

namespace app::report {

struct TReportOptions {
    bool Inputs = true;
    bool Drawing = true;
    bool Results = true;
    bool Figures = true;  // the result graphs of each problem or stage
    bool Messages = true;
    bool Methods = true;
    bool Appendix = false;  // the fixed-width report of the run
    /// The limit-equilibrium check of each problem or stage beside its p-y result, the factor of safety
    /// on the passive resistance.
    bool Design = false;
    double FactorOfSafety = 1.5;
    /// A sheet-pile section of the catalogue to check in bending (empty: none) and its steel grade.
    std::string Section;
    std::string Grade = "S355GP";
    QString Engineer, Checker;
};

/// What the report is made of: the problem as read, its result graphs, and the run's report beside the
/// data file.
struct TReportInput {
    const app::model::TProgramData* Model = nullptr;
    const app::model::PlotDefinitions* Plots = nullptr;
    std::filesystem::path DataFile;
    std::string ReportText;  // empty: no run
    app::model::TRunStatus Status;
    QDateTime RunTime;  // of the report file; invalid without a run
};

/// The input of `model` and `plots` (results read already) from the report file beside `dataFile`.
[[nodiscard]] TReportInput ReportInputFor(const app::model::TProgramData& model,
                                          const app::model::PlotDefinitions& plots,
                                          const std::filesystem::path& dataFile);

[[nodiscard]] TReport BuildReport(const TReportInput& input, const TReportOptions& options);

/// The report written as PDF or HTML by the extension of `file` (".pdf", ".html" or ".htm"); empty when
/// written, else why not.
[[nodiscard]] QString WriteReport(const TReport& report, const QString& file);

}  // namespace app::report
