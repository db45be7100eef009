#pragma once
// What the desktop program tells the user about a run, from the run's status and the problem: the
// names of its problems (stages, short- and long-term) and the warning shown when not every
// problem converged.

#include <string>

#include "app/model/program_data.h"
#include "app/model/run_status.h"

namespace app::model {

/// The problems one run of `data` solves: its stages, the short- and the long-term problem, or one.
[[nodiscard]] int ExpectedProblems(const TProgramData& data);

/// "Stage 2", "Short-term problem", "Long-term problem" or "The problem" for problem `index` (0-based).
[[nodiscard]] std::string ProblemName(const TProgramData& data, int index);

/// Said by every result window and picture once the problem has changed since its run.
inline constexpr const char* kOutOfDateNotice = "out of date \u2014 run the analysis again";

/// The legend mark of a curve whose problem did not converge.
inline constexpr const char* kNotConvergedMark = " (not converged)";

/// The warning after a run in which some problem did not converge: a heading, each problem with its
/// status and the engine's own lines, and what to do. Empty when every problem converged.
[[nodiscard]] std::string RunWarningText(const TRunStatus& status, const TProgramData& data);

/// One line across a result picture whose problems did not all converge; empty when they did.
[[nodiscard]] std::string NotConvergedNotice(const TRunStatus& status, const TProgramData& data);

}  // namespace app::model
