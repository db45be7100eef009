#pragma once
// What a run says about itself, read from its report: per problem (or stage) whether it converged,
// did not close within the tolerance, exceeded the allowable deflection, stopped with an error,
// gave non-finite numbers or gave no results, with the engine's own lines; beside it the first
// numbers a user wants (top deflection, extreme deflection, moment and shear). Every face of the
// program says what a run did through this reader, so none of them calls a run completed that
// did not converge. Plain text in, data out.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app::model {

/// One numeric field of the report. `text` is the field as printed (trimmed); `value` is empty when
/// the field is blank, overflowed (all asterisks) or not finite.
struct TReportField {
    std::string text;
    std::optional<double> value;
};

/// A largest-by-magnitude value with the node and depth where it occurs.
struct TReportExtreme {
    int node = 0;
    TReportField value;
    TReportField depth;
};

struct TReportMessage {
    enum class Kind { Warning, Error };
    Kind kind;
    std::string text;  // trimmed
};

/// Column units from the line under the results heading; empty when the report gives none.
struct TReportUnits {
    std::string depth;
    std::string deflection;
    std::string moment;
    std::string shear;
};

struct TReportProblem {
    std::string heading;           // trimmed problem title line
    std::optional<int> iteration;  // empty when the field overflowed
    TReportUnits units;
    int rows = 0;                     // node rows read
    int nonFiniteRows = 0;            // rows holding NaN or Infinity
    int exceedingStations = 0;        // from the allowable-deflection warning; 0 when not printed
    bool notClosed = false;           // the "not closed" warning was printed
    bool damped = false;              // closed with damped iterations
    std::optional<TReportField> top;  // deflection at node 0
    std::optional<TReportExtreme> maxDeflection;
    std::optional<TReportExtreme> maxMoment;
    std::optional<TReportExtreme> maxShear;
    std::vector<TReportMessage> messages;  // messages between the previous results table and this one's end
};

struct TReportSummary {
    std::vector<TReportProblem> problems;
    std::vector<TReportMessage> trailing;  // messages after the last results table (all, when there is none)
    bool ended = false;                    // "END OF ANALYSIS" found
    bool errorStop = false;                // any error message found
};

/// Reads one number in the report's E form, including the letterless form of three-digit
/// exponents (" 0.100+101", "-0.100-101"). Empty for blanks, asterisks or anything malformed.
std::optional<double> ParseReportNumber(std::string_view field);

/// Classifies one report line; empty when it is neither a warning nor an error line.
std::optional<TReportMessage::Kind> ClassifyReportLine(std::string_view line);

TReportSummary SummarizeReport(std::string_view report);

// ---- Status ------------------------------------------------------------------------------------

/// How one problem of a run ended, from best to worst.
enum class TRunState {
    Converged,           // closed within the tolerance
    NotClosed,           // iterations ran out before the deflections closed
    DeflectionExceeded,  // iterating stopped at the allowable deflection
    NonFinite,           // NaN or infinite numbers in the results
    Incomplete,          // the report ends before the run did: killed, or the disk full
    ErrorStop,           // the engine stopped the run in this problem
    NoResults,           // the run ended before this problem was solved
};

struct TProblemStatus {
    std::string heading;  // the problem's title line; empty for a problem that has no results block
    TRunState state = TRunState::NoResults;
    std::optional<int> iterations;
    bool damped = false;
    int exceedingStations = 0;
    /// The engine's warning and error lines for this problem, verbatim (trimmed).
    std::vector<std::string> engineLines;
};

struct TRunStatus {
    std::vector<TProblemStatus> problems;
    bool ended = false;  // the report reached "END OF ANALYSIS"

    [[nodiscard]] bool AllConverged() const;
    /// The worst state of any problem; NoResults for a run without problems.
    [[nodiscard]] TRunState Worst() const;
};

/// The status of every problem of a run from its report. `expectedProblems` (from the data file:
/// stages, or short- and long-term) adds a "no results" entry for each problem the report never
/// reached; 0 takes the report's count.
TRunStatus ReadRunStatus(std::string_view report, int expectedProblems = 0);
TRunStatus RunStatusFrom(const TReportSummary& summary, int expectedProblems = 0);

/// The status as one word or short phrase: "converged", "NOT CLOSED", "DEFLECTION EXCEEDED",
/// "NON-FINITE RESULTS", "INCOMPLETE", "ERROR STOP", "NO RESULTS".
[[nodiscard]] const char* RunStateWord(TRunState state);

/// One line for a problem, e.g. "not closed within the tolerance after 100 iterations".
[[nodiscard]] std::string DescribeProblemStatus(const TProblemStatus& status);

/// The exit code of a command-line run: 0 when every problem converged; 3 when all ran but at least
/// one did not close or exceeded the allowable deflection; 1 for an error stop, non-finite results,
/// a report cut short or no results.
[[nodiscard]] int RunExitCode(const TRunStatus& status);

inline constexpr int kExitConverged = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNotConverged = 3;

}  // namespace app::model
