#pragma once
// The numbers an engineer takes from a run, per problem or stage: the largest deflection, moment,
// shear and soil reaction with their depths, the forces in tiebacks, springs and restraints, how much
// of the soil's resistance is used, and whether the statics close. Computed from the results store
// (the plot data as read) and the inputs of each problem; no widgets.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/model/graph_plot.h"
#include "app/model/plot_definitions.h"
#include "app/model/program_data.h"
#include "app/model/run_status.h"
#include "app/model/units.h"

namespace app::model {

// ---- Inputs of each problem ----------------------------------------------------------------------

struct TTiebackInput {
    long double Depth = 0.0L;  // data-file units (feet under English units)
    long double Area = 0.0L;
    long double Modulus = 0.0L;
    long double Unbonded = 0.0L;  // feet under English units
    long double Angle = 0.0L;     // degrees from the horizontal
    long double Spacing = 0.0L;   // feet under English units
};

struct TSpringInput {
    int From = 0;
    int To = 0;
    long double Lateral = 0.0L;  // F/L per node
};

/// What the summary needs of one problem (a stage, or the short- or long-term problem), in the
/// data file's units.
struct TCaseInputs {
    int Units = kUnitsEnglish;
    int IncrementCount = 0;
    long double IncrementLength = 0.0L;  // in or m
    long double ActiveWidth = 0.0L;      // Wa, in or m
    long double FreeHeight = 0.0L;       // the excavation depth, in or m
    long double WaterDepthBackfill = 0.0L;
    long double WaterDepthExcavation = 0.0L;
    std::vector<TTiebackInput> Tiebacks;
    std::vector<TSpringInput> Springs;
    std::vector<int> RestrainedNodes;  // nodes with a specified deflection
    std::vector<int> SlopeNodes;       // nodes with a specified slope
    std::vector<int> LoadedNodes;      // nodes with a concentrated lateral load
    int UserCurveCount = 0;            // user p-y curves, written before the generated ones
    bool GeneratedCurves = false;      // the engine generates p-y curves
    int PressureOption = 0;            // 0 none, 1 the user's table, 2 or 3 generated
};

/// The inputs of the model's current problem.
[[nodiscard]] TCaseInputs CaseInputsOf(const TProgramData& model);
/// The inputs of every problem of the data file `dataFile` as saved (each stage of a staged file;
/// the short- and long-term problems share theirs). Falls back on the model's own problem for a
/// stage that cannot be read.
[[nodiscard]] std::vector<TCaseInputs> CaseInputsOfFile(const TProgramData& model,
                                                        const std::filesystem::path& dataFile);

// ---- Summary --------------------------------------------------------------------------------------

/// A signed extreme and where it occurs; `Known` false when the case has no such value.
struct TExtreme {
    long double Value = 0.0L;
    long double Depth = 0.0L;
    int Node = -1;
    bool Known = false;
};

struct TSupportForce {
    std::string Kind;  // "Tieback", "Spring" or "Restraint"
    int Node = 0;      // the first node of a spring range
    int LastNode = 0;
    long double Depth = 0.0L;
    long double Stiffness = 0.0L;   // F/L; 0 for a restraint
    long double Horizontal = 0.0L;  // on the analysed wall width, F
    long double AlongTie = 0.0L;    // per anchor along the tie, F (tiebacks only)
    bool HasAlongTie = false;
};

/// The units the summary's numbers are in.
struct TSummaryUnits {
    std::string Depth, Deflection, Moment, Shear, Reaction, Force, Stiffness;
};
[[nodiscard]] TSummaryUnits SummaryUnits(int units);

struct TCaseSummary {
    std::string Name;  // "Problem", "Stage 2", "Short-Term", "Long-Term"
    TRunState State = TRunState::NoResults;
    int Iterations = 0;
    TExtreme TopDeflection, Deflection, Moment, Shear, SoilReaction;
    std::vector<TSupportForce> Supports;
    /// The largest mobilised resistance where the wall moves toward the excavation (the curves'
    /// branch y > 0) and toward the retained soil (y < 0): the resistance the curve gives at the
    /// node's deflection, counted from its value at y = 0 (a generated curve carries the earth
    /// pressure there), over the largest it gives on that side. Known false without p-y curves.
    TExtreme MobilisedExcavation, MobilisedRetained;
    /// Sum of the lateral forces and of their moments about the tip, as fractions of the largest
    /// shear and moment of the wall, with the soil's force taken from the p-y curves at the final
    /// deflections where they act: small on a converged run, large on one whose springs did not
    /// come to match the curves.
    long double ForceResidual = 0.0L;
    long double MomentResidual = 0.0L;
};

struct TResultsSummary {
    std::string Title;
    std::string DataFile;
    int Units = kUnitsEnglish;
    TSummaryUnits UnitNames;
    std::vector<TCaseSummary> Cases;
};

/// The summary of every case in `model.Results`; `inputs` per case (the last one serves the cases
/// beyond it), `status` from the report (empty: NO REPORT).
[[nodiscard]] TResultsSummary SummarizeResults(const TProgramData& model,
                                               const std::vector<TCaseInputs>& inputs,
                                               const TRunStatus& status);

// ---- Node table -----------------------------------------------------------------------------------

/// One node of a case, in the summary's units; Mobilised is negative where no p-y curve acts.
struct TNodeRow {
    int Node = 0;
    long double Depth = 0.0L;
    long double Deflection = 0.0L;
    long double Slope = 0.0L;
    long double Moment = 0.0L;
    long double Shear = 0.0L;
    long double SoilReaction = 0.0L;  // per unit length of wall, tiebacks and springs taken out
    long double EarthPressure = 0.0L;
    long double Mobilised = -1.0L;
};

/// The rows of case `caseIndex` from the top to the tip.
[[nodiscard]] std::vector<TNodeRow> NodeTable(const TProgramData& model, const TCaseInputs& inputs,
                                              int caseIndex);

/// Fills `plot` with a curve per case: the mobilised resistance (x, 0 to 1) against depth (y, in the
/// depth graphs' unit), at the nodes where p-y curves act.
void FillMobilisedPlot(TGraphPlot& plot, const TProgramData& model, const std::vector<TCaseInputs>& inputs);

/// The excavation of every problem and the water tables on both sides as levels of the depth graphs
/// (in their depth unit), named by stage when the stages differ; water below the tip is left out.
void SetDepthLevels(PlotDefinitions& plots, const std::vector<TCaseInputs>& inputs);

// ---- Texts ----------------------------------------------------------------------------------------

/// One row per case, one column per quantity, units in the header.
[[nodiscard]] std::string SummaryCsv(const TResultsSummary& summary);
[[nodiscard]] std::string SummaryJson(const TResultsSummary& summary);
/// Tab-separated, for pasting into a spreadsheet: a header row with units, a row per case.
[[nodiscard]] std::string SummaryTabbed(const TResultsSummary& summary);
/// Readable text, a block per case, for the window, the clipboard and printing.
[[nodiscard]] std::string SummaryText(const TResultsSummary& summary);
/// The node table with `separator` between fields, units in the header, numbers to `digits`
/// significant digits.
[[nodiscard]] std::string NodeTableText(const std::vector<TNodeRow>& rows, const TSummaryUnits& units,
                                        char separator, int digits = 6);

/// A CSV field, quoted when it holds a separator, a quote or a line break.
[[nodiscard]] std::string CsvField(const std::string& text);

/// Column headers of the per-case table (CSV, tab-separated, the workbook), with their units.
[[nodiscard]] std::vector<std::string> SummaryColumns(const TResultsSummary& summary);
/// The fields of a case under SummaryColumns, as text.
[[nodiscard]] std::vector<std::string> SummaryFields(const TResultsSummary& summary, const TCaseSummary& c);

}  // namespace app::model
