#pragma once
// Turns the engine's plot-data file into the curves of the result graphs and into the problem's
// results store. English values are converted for display (feet, kip-inches, kips).

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "app/model/plot_definitions.h"
#include "app/model/program_data.h"

namespace app::model {

/// Shows a message to the user in an information box with an OK button.
using TShowMessage = std::function<void(const std::string& message)>;

/// Shown when the plot-data file cannot be read.
inline constexpr const char* kResultsReadErrorMessage = "An error occured in running the main program.";

/// Counts beyond these cannot come from the engine; such a file is refused like a malformed one.
inline constexpr int kMaxPressureRows = 1199;
inline constexpr int kMaxPYCurves = 400;
inline constexpr int kMaxPYPoints = 400;

class TResultsReader {
public:
    /// The plots and the problem must outlive the reader.
    TResultsReader(PlotDefinitions& plots, TProgramData& data) : m_plots(&plots), m_data(&data) {}

    /// Installed by the user interface; without it no message is shown.
    TShowMessage OnShowMessage;

    /// Empties every plot, then fills the result plots and the results store from the file. A
    /// malformed, truncated or missing file ends the read with false (the message shown when
    /// showErrors); the plots keep what was filled until then. Other errors propagate.
    bool ReadResults(const std::filesystem::path& path, bool showErrors);

    /// As ReadResults, from the file's text.
    bool ReadResultsText(std::string_view text, bool showErrors);

private:
    template <typename MakeReader>
    bool read(MakeReader&& makeReader, bool showErrors);

    PlotDefinitions* m_plots;
    TProgramData* m_data;
};

}  // namespace app::model
