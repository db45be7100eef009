#pragma once
// Checks of a problem before it is run: what the engine would run without a word and answer with
// nonsense, all zeros, NaN or an error stop. Each finding names the table (or dialog), the row and the
// field, and says how to mend it. Errors block a run; warnings are for the user to weigh.

#include <filesystem>
#include <string>
#include <vector>

#include "app/model/program_data.h"

namespace app::model {

struct TCheckFinding {
    enum class Severity { Error, Warning };
    Severity severity = Severity::Error;
    /// Table or dialog, row and field: "Soil Layers, row 2, Depth at Bottom of the Layer".
    std::string where;
    /// What is wrong and how to mend it.
    std::string message;
};

/// Every finding for the problem as it is in the model (one problem; the long-term soil and
/// distributed loads too when the long-term analysis is on).
[[nodiscard]] std::vector<TCheckFinding> CheckProblem(const TProgramData& data);

/// Every finding for a data file as the engine would read it: each stage of a staged file (their
/// places prefixed "Stage n: "), the short- and long-term problem of a long-term file. A file that
/// cannot be read gives one error with the reader's message.
[[nodiscard]] std::vector<TCheckFinding> CheckDataFile(const std::filesystem::path& path);

/// The fields and cells of the problem that hold no number a data file can carry.
[[nodiscard]] std::vector<TCheckFinding> NonFiniteValues(const TProgramData& data);

[[nodiscard]] bool HasErrors(const std::vector<TCheckFinding>& findings);

/// "Error: <where>: <message>" or "Warning: …", one per line.
[[nodiscard]] std::string FormatFindings(const std::vector<TCheckFinding>& findings);

}  // namespace app::model
