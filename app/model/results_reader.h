#pragma once
// Turns the engine's plot-data file into the curves of the result graphs and into the problem's
// results store. English values are converted for display (feet, kip-inches, kips).

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "app/model/plot_definitions.h"
#include "app/model/program_data.h"
#include "app/model/run_status.h"

namespace app::model {

/// Shows a message to the user in an information box with an OK button.
using TShowMessage = std::function<void(const std::string& message)>;

/// Shown when the plot-data file cannot be read.
inline constexpr const char* kResultsReadErrorMessage = "An error occured in running the main program.";

/// Counts beyond these cannot come from the engine; such a file is refused like a malformed one. The
/// engine's generated tables stop at 100000 rows; p-y curves are at most 400, of 33 points when generated.
inline constexpr int kMaxPressureRows = 100000;
inline constexpr int kMaxPYCurves = 400;
inline constexpr int kMaxPYPoints = 5000;

/// What the last read found.
struct TResultsOutcome {
    /// Problem blocks whose results were read (stages, or the short- and the long-term problem).
    int CasesRead = 0;
    /// The problem (1-based) at which the engine stopped with an error; 0 when the run ended normally.
    int StoppedCase = 0;
    /// Told to the user when StoppedCase is set: which problem stopped, what is shown, where to look.
    std::string StopMessage;
    /// The file could not be read as plot data (damaged, cut short, missing).
    bool Malformed = false;
    /// The run's status from the report beside the plot data; no problems when there was no report.
    TRunStatus Status;
};

class TResultsReader {
public:
    /// The plots and the problem must outlive the reader.
    TResultsReader(PlotDefinitions& plots, TProgramData& data) : m_plots(&plots), m_data(&data) {}

    /// Installed by the user interface; without it no message is shown.
    TShowMessage OnShowMessage;

    /// Empties every plot, then fills the result plots and the results store from the file. True when
    /// the results of at least one problem were read. A run that stopped with an error in a later
    /// problem keeps the problems before it (the stop message shown when showErrors). A malformed,
    /// truncated or missing file ends the read with false (the message shown when showErrors); the
    /// plots keep what was filled until then. Other errors propagate. The report beside the file
    /// (".dn5o") settles the one case the plot data alone cannot: a stop after a problem's p-y curves.
    /// Its status marks the response curves of every problem that did not converge
    /// (kNotConvergedMark in the legend) and gives the response plots a Notice.
    bool ReadResults(const std::filesystem::path& path, bool showErrors);

    /// As ReadResults, from the file's text; `reportShowsStop` stands for the report's verdict and
    /// `status`, when given, for its status.
    bool ReadResultsText(std::string_view text, bool showErrors, bool reportShowsStop = false,
                         const TRunStatus* status = nullptr);

    [[nodiscard]] const TResultsOutcome& LastOutcome() const { return m_outcome; }

private:
    template <typename MakeReader>
    bool read(MakeReader&& makeReader, bool showErrors, bool reportShowsStop, const TRunStatus* status);

    PlotDefinitions* m_plots;
    TProgramData* m_data;
    TResultsOutcome m_outcome;
};

/// Why the outputs beside `dataFile` are not the results of `data` as saved, or empty when they
/// are: the plot data older than the data file (when `checkAge`), cut short of its final line end,
/// or with other counts of problems or stations than the data file gives. Read the plot data into
/// the reader first: its outcome and the deflection curves give the counts.
[[nodiscard]] std::string ResultsMismatch(const TProgramData& data, const PlotDefinitions& plots,
                                          const TResultsOutcome& outcome,
                                          const std::filesystem::path& dataFile, bool checkAge);

/// The legend of a p-y curve of the plot data by its label (a depth, or a node of user curves), in
/// the plot data's `units`: "Depth 12.5 ft".
[[nodiscard]] std::string PYCurveLegend(const TProgramData& data, int units, long double label);

/// True when the report text holds one of the engine's error stops.
[[nodiscard]] bool ReportShowsErrorStop(std::string_view reportText);

}  // namespace app::model
