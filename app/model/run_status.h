#pragma once
// Reads an engine report (.dn5o) and pulls out what a user wants to see first: per problem the
// iteration count, the top deflection, the extreme deflection, moment and shear, and every warning
// or error line. Pure text in, data out, so it is tested without running the engine.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drenok::tools {

/// One numeric field of the report. `text` is the field as printed (trimmed); `value` is empty when
/// the field is blank or overflowed (all asterisks).
struct Field {
    std::string text;
    std::optional<double> value;
};

/// A largest-by-magnitude value with the node and depth where it occurs.
struct Extreme {
    int node = 0;
    Field value;
    Field depth;
};

struct Message {
    enum class Kind { Warning, Error };
    Kind kind;
    std::string text;  // trimmed
};

/// Column units from the line under the results heading; empty when the report gives none.
struct Units {
    std::string depth;
    std::string deflection;
    std::string moment;
    std::string shear;
};

struct ProblemSummary {
    std::string heading;           // trimmed problem title line
    std::optional<int> iteration;  // empty when the field overflowed
    Units units;
    int rows = 0;              // node rows read
    std::optional<Field> top;  // deflection at node 0
    std::optional<Extreme> maxDeflection;
    std::optional<Extreme> maxMoment;
    std::optional<Extreme> maxShear;
    std::vector<Message> messages;  // messages between the previous results table and this one's end
};

struct ReportSummary {
    std::vector<ProblemSummary> problems;
    std::vector<Message> trailing;  // messages after the last results table (all, when there is none)
    bool ended = false;             // "END OF ANALYSIS" found
    bool errorStop = false;         // any error message found

    /// True when the run ended in order and without an error stop.
    bool ok() const { return ended && !errorStop; }
};

/// Reads one number in the report's E form, including the letterless form of three-digit
/// exponents (" 0.100+101", "-0.100-101"). Empty for blanks, asterisks or anything malformed.
std::optional<double> parseNumber(std::string_view field);

/// Classifies one report line; empty when it is neither a warning nor an error line.
std::optional<Message::Kind> classifyLine(std::string_view line);

ReportSummary summarizeReport(std::string_view report);

}  // namespace drenok::tools
