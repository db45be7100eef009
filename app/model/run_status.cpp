#include "app/model/run_status.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>

namespace app::model {
namespace {

constexpr std::string_view kResults = "RESULTS -- ITERATION";
constexpr std::string_view kEnd = "END OF ANALYSIS";

// Row layout (2X,I4,2X,E10.3,6E12.3): column start and width of each field.
constexpr std::size_t kNodeCol = 2, kNodeWidth = 4;
constexpr std::size_t kDepthCol = 8, kDepthWidth = 10;
constexpr std::size_t kFirstValueCol = 18, kValueWidth = 12;
enum ValueColumn { kDeflection = 0, kSlope = 1, kMoment = 2, kShear = 3, kValueColumns = 6 };

constexpr std::string_view kExceeded = "MAX ALLOWABLE DEFLECTION EXCEEDED AT";
constexpr std::string_view kNotClosed = "SOLUTION NOT CLOSED";
constexpr std::string_view kDamped = "DAMPED ITERATIONS FROM ITERATION";

std::string_view trim(std::string_view s) {
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string_view::npos) return {};
    const auto e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool contains(std::string_view s, std::string_view part) {
    return s.find(part) != std::string_view::npos;
}

// The engine writes non-finite numbers as Fortran run-times do.
bool isNonFinite(std::string_view field) {
    if (!field.empty() && (field.front() == '-' || field.front() == '+')) field.remove_prefix(1);
    return field == "NaN" || field == "Inf" || field == "Infinity";
}

// A field that runs past a shortened (right-trimmed) line is blank.
std::string_view column(std::string_view line, std::size_t col, std::size_t width) {
    if (col >= line.size()) return {};
    return line.substr(col, width);
}

TReportField readField(std::string_view raw) {
    const auto t = trim(raw);
    return TReportField{std::string(t), ParseReportNumber(t)};
}

std::optional<int> parseInt(std::string_view s) {
    s = trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

void keepLarger(std::optional<TReportExtreme>& best, int node, const TReportField& value,
                const TReportField& depth) {
    if (!value.value) return;
    // Ties keep the shallower node: the first in the table.
    if (best && std::fabs(*value.value) <= std::fabs(*best->value.value)) return;
    best = TReportExtreme{node, value, depth};
}

// Assigns each blank-separated piece of a unit label to the column its middle falls in, so a label
// that spills a little past its field still lands on the right quantity. Pieces in one column are
// joined: a fixed-width label such as " KN- M" arrives in two.
TReportUnits readUnits(std::string_view line) {
    TReportUnits u;
    std::size_t i = 0;
    while (i < line.size()) {
        const auto b = line.find_first_not_of(" \t\r", i);
        if (b == std::string_view::npos) break;
        auto e = line.find_first_of(" \t\r", b);
        if (e == std::string_view::npos) e = line.size();
        std::string_view label = line.substr(b, e - b);
        i = e;
        if (label.size() >= 2 && label.front() == '(' && label.back() == ')') {
            label = label.substr(1, label.size() - 2);
        }
        const std::size_t mid = (b + e - 1) / 2;
        if (mid < kDepthCol) continue;
        if (mid < kFirstValueCol) {
            u.depth += label;
            continue;
        }
        switch ((mid - kFirstValueCol) / kValueWidth) {
            case kDeflection:
                u.deflection += label;
                break;
            case kMoment:
                u.moment += label;
                break;
            case kShear:
                u.shear += label;
                break;
            default:
                break;
        }
    }
    return u;
}

// Reads one table row into the problem; false when the line is not a row.
bool readRow(std::string_view line, TReportProblem& p) {
    const auto node = parseInt(column(line, kNodeCol, kNodeWidth));
    if (!node || !trim(column(line, 0, kNodeCol)).empty()) return false;
    if (!trim(column(line, kNodeCol + kNodeWidth, kDepthCol - kNodeCol - kNodeWidth)).empty()) return false;
    const TReportField depth = readField(column(line, kDepthCol, kDepthWidth));
    auto value = [&](int k) {
        return readField(column(line, kFirstValueCol + k * kValueWidth, kValueWidth));
    };
    const TReportField defl = value(kDeflection);
    for (int k = kDeflection; k < kValueColumns; ++k) {
        if (isNonFinite(value(k).text)) {
            ++p.nonFiniteRows;
            break;
        }
    }
    if (*node == 0) p.top = defl;
    keepLarger(p.maxDeflection, *node, defl, depth);
    keepLarger(p.maxMoment, *node, value(kMoment), depth);
    keepLarger(p.maxShear, *node, value(kShear), depth);
    ++p.rows;
    return true;
}

// The warnings of a results block that decide its status.
void noteResultsWarning(std::string_view line, TReportProblem& p) {
    if (const auto at = line.find(kExceeded); at != std::string_view::npos) {
        std::string_view rest = line.substr(at + kExceeded.size());
        const auto digits = rest.find_first_of("0123456789");
        const auto end = rest.find_first_not_of("0123456789", digits);
        if (digits != std::string_view::npos)
            p.exceedingStations = parseInt(rest.substr(digits, end - digits)).value_or(1);
        p.exceedingStations = std::max(p.exceedingStations, 1);
    }
    if (contains(line, kNotClosed)) p.notClosed = true;
    if (contains(line, kDamped)) p.damped = true;
}

}  // namespace

std::optional<double> ParseReportNumber(std::string_view field) {
    std::string_view s = trim(field);
    if (s.empty()) return std::nullopt;
    // Where the exponent starts: at a letter, or at a sign after the mantissa when the letter was dropped.
    std::size_t expAt = s.find_first_of("EeDd");
    std::size_t expDigits = expAt == std::string_view::npos ? std::string_view::npos : expAt + 1;
    if (expAt == std::string_view::npos) {
        expAt = s.find_first_of("+-", 1);
        expDigits = expAt;
    }
    std::string text(s.substr(0, expAt));
    if (expAt != std::string_view::npos) {
        const auto exponent = parseInt(s.substr(expDigits));
        if (!exponent) return std::nullopt;
        text += 'e' + std::to_string(*exponent);
    }
    if (!text.empty() && text.front() == '+') text.erase(0, 1);
    double v = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (!std::isfinite(v))
        return std::nullopt;  // from_chars takes "nan" and "inf"; the report never means them
    return v;
}

namespace {

bool isWarningHeading(std::string_view line) {
    const auto t = trim(line);
    const auto word = t.find("WARNING");
    if (word == std::string_view::npos || word == 0) return false;
    const auto rest = t.substr(word + 7);
    auto frame = [](std::string_view part, char c) {
        return !part.empty() && part.find_first_not_of(c) == std::string_view::npos;
    };
    auto framedBy = [&](char c) { return frame(trim(t.substr(0, word)), c) && frame(trim(rest), c); };
    return framedBy('*') || framedBy('-');
}

}  // namespace

std::optional<TReportMessage::Kind> ClassifyReportLine(std::string_view line) {
    const auto t = trim(line);
    // A line of asterisks alone is a box border in the data echo, not a warning.
    if (startsWith(t, "*****") && t.find_first_not_of('*') != std::string_view::npos) {
        return TReportMessage::Kind::Warning;
    }
    if (startsWith(t, "WARNING")) return TReportMessage::Kind::Warning;
    // The soil routines' warnings: a heading of asterisks or dashes around the word, the text below it.
    if (isWarningHeading(t)) return TReportMessage::Kind::Warning;
    if (t == "Net active pressure is negative.") return TReportMessage::Kind::Warning;
    if (startsWith(t, "ERROR") || startsWith(t, "STOP") || t == "TOO MUCH DATA FOR AVAILABLE STORAGE") {
        return TReportMessage::Kind::Error;
    }
    return std::nullopt;
}

TReportSummary SummarizeReport(std::string_view report) {
    TReportSummary out;
    std::vector<TReportMessage> pending;  // not yet tied to a problem
    std::string lastText;                 // last non-empty line: the heading of a results block
    enum class State { Text, Heading, Units, Rows } state = State::Text;
    TReportProblem* current = nullptr;
    std::vector<TReportMessage>* continued = nullptr;  // its last message is a warning heading taking text

    while (!report.empty()) {
        const auto nl = report.find('\n');
        std::string_view line = report.substr(0, nl);
        report.remove_prefix(nl == std::string_view::npos ? report.size() : nl + 1);
        const auto t = trim(line);

        if (state == State::Units) {
            current->units = readUnits(line);
            state = State::Rows;
            continue;
        }
        if (state == State::Rows) {
            if (startsWith(t, "---")) continue;
            if (t.empty()) {
                state = State::Text;
                continue;
            }
            if (readRow(line, *current)) continue;
            state = State::Text;  // the table ended without an empty line; read this line as text
        }

        if (t.empty()) {
            continued = nullptr;
            continue;
        }
        if (startsWith(t, kResults)) {
            continued = nullptr;
            TReportProblem p;
            p.heading = lastText;
            p.iteration = parseInt(t.substr(kResults.size()));
            p.messages = std::move(pending);
            pending.clear();
            out.problems.push_back(std::move(p));
            current = &out.problems.back();
            state = State::Heading;
        } else if (state == State::Heading && startsWith(t, "STA I")) {
            state = State::Units;
        } else if (continued && !ClassifyReportLine(t) && t != kEnd) {
            // The text under a warning heading, up to the next empty line.
            continued->back().text.append(1, ' ').append(t);
            lastText = t;
            continue;
        } else if (const auto kind = ClassifyReportLine(t)) {
            if (*kind == TReportMessage::Kind::Error) out.errorStop = true;
            // Warnings printed inside a results block belong to that block.
            auto& into = state == State::Heading ? current->messages : pending;
            if (state == State::Heading) noteResultsWarning(t, *current);
            const bool heading = isWarningHeading(t);
            into.push_back(TReportMessage{*kind, heading ? std::string("WARNING:") : std::string(t)});
            continued = heading ? &into : nullptr;
        } else if (t == kEnd) {
            out.ended = true;
        }
        lastText = t;
    }
    out.trailing = std::move(pending);
    return out;
}

// ---- Status ------------------------------------------------------------------------------------

bool TRunStatus::AllConverged() const {
    return !problems.empty() && Worst() == TRunState::Converged;
}

TRunState TRunStatus::Worst() const {
    if (problems.empty()) return TRunState::NoResults;
    TRunState worst = TRunState::Converged;
    for (const TProblemStatus& p : problems)
        worst = std::max(worst, p.state);
    return worst;
}

TRunStatus RunStatusFrom(const TReportSummary& summary, int expectedProblems) {
    TRunStatus out;
    out.ended = summary.ended;
    for (const TReportProblem& p : summary.problems) {
        TProblemStatus s;
        s.heading = p.heading;
        s.iterations = p.iteration;
        s.damped = p.damped;
        s.exceedingStations = p.exceedingStations;
        for (const TReportMessage& m : p.messages)
            s.engineLines.push_back(m.text);
        s.state = p.rows == 0           ? TRunState::NoResults
                  : p.nonFiniteRows > 0 ? TRunState::NonFinite
                  : p.exceedingStations ? TRunState::DeflectionExceeded
                  : p.notClosed         ? TRunState::NotClosed
                                        : TRunState::Converged;
        out.problems.push_back(std::move(s));
    }
    // What follows the last results table belongs to the problem the run was on when it ended.
    if (summary.errorStop || !summary.ended || out.problems.empty()) {
        TProblemStatus s;
        s.state = summary.errorStop ? TRunState::ErrorStop
                  : !summary.ended  ? TRunState::Incomplete
                                    : TRunState::NoResults;
        for (const TReportMessage& m : summary.trailing)
            s.engineLines.push_back(m.text);
        out.problems.push_back(std::move(s));
    } else {
        // Warnings after the last table (none are expected) stay with the last problem.
        for (const TReportMessage& m : summary.trailing)
            out.problems.back().engineLines.push_back(m.text);
    }
    while (static_cast<int>(out.problems.size()) < expectedProblems)
        out.problems.push_back(TProblemStatus{});
    return out;
}

TRunStatus ReadRunStatus(std::string_view report, int expectedProblems) {
    return RunStatusFrom(SummarizeReport(report), expectedProblems);
}

const char* RunStateWord(TRunState state) {
    switch (state) {
        case TRunState::Converged:
            return "converged";
        case TRunState::NotClosed:
            return "NOT CLOSED";
        case TRunState::DeflectionExceeded:
            return "DEFLECTION EXCEEDED";
        case TRunState::NonFinite:
            return "NON-FINITE RESULTS";
        case TRunState::Incomplete:
            return "INCOMPLETE";
        case TRunState::ErrorStop:
            return "ERROR STOP";
        case TRunState::NoResults:
            break;
    }
    return "NO RESULTS";
}

std::string DescribeProblemStatus(const TProblemStatus& s) {
    const std::string iterations =
        s.iterations ? std::to_string(*s.iterations) + (*s.iterations == 1 ? " iteration" : " iterations")
                     : std::string("more than 999 iterations");
    switch (s.state) {
        case TRunState::Converged:
            return "converged in " + iterations + (s.damped ? " (with damped iterations)" : "");
        case TRunState::NotClosed:
            return "not closed within the deflection tolerance after " + iterations;
        case TRunState::DeflectionExceeded:
            return "the maximum allowable deflection was exceeded at " + std::to_string(s.exceedingStations) +
                   (s.exceedingStations == 1 ? " station" : " stations") + " (iteration " +
                   (s.iterations ? std::to_string(*s.iterations) : std::string("***")) + ")";
        case TRunState::NonFinite:
            return "the results are not finite numbers (NaN or infinity): the data are out of range";
        case TRunState::Incomplete:
            return "the report ends before END OF ANALYSIS: the run did not finish";
        case TRunState::ErrorStop:
            return "the engine stopped with an error";
        case TRunState::NoResults:
            break;
    }
    return "no results: the run ended before this problem was solved";
}

int RunExitCode(const TRunStatus& status) {
    switch (status.Worst()) {
        case TRunState::Converged:
            return kExitConverged;
        case TRunState::NotClosed:
        case TRunState::DeflectionExceeded:
            return kExitNotConverged;
        default:
            return kExitFailed;
    }
}

}  // namespace app::model
