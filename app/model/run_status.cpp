#include "tools/report_summary.h"

#include <charconv>
#include <cmath>
#include <cstddef>

namespace drenok::tools {
namespace {

constexpr std::string_view kResults = "RESULTS -- ITERATION";
constexpr std::string_view kEnd = "END OF ANALYSIS";

// Row layout (2X,I4,2X,E10.3,6E12.3): column start and width of each field.
constexpr std::size_t kNodeCol = 2, kNodeWidth = 4;
constexpr std::size_t kDepthCol = 8, kDepthWidth = 10;
constexpr std::size_t kFirstValueCol = 18, kValueWidth = 12;
enum ValueColumn { kDeflection = 0, kSlope = 1, kMoment = 2, kShear = 3 };

std::string_view trim(std::string_view s) {
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string_view::npos) return {};
    const auto e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// A field that runs past a shortened (right-trimmed) line is blank.
std::string_view column(std::string_view line, std::size_t col, std::size_t width) {
    if (col >= line.size()) return {};
    return line.substr(col, width);
}

Field readField(std::string_view raw) {
    const auto t = trim(raw);
    return Field{std::string(t), parseNumber(t)};
}

std::optional<int> parseInt(std::string_view s) {
    s = trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

void keepLarger(std::optional<Extreme>& best, int node, const Field& value, const Field& depth) {
    if (!value.value) return;
    // Ties keep the shallower node: the first in the table.
    if (best && std::fabs(*value.value) <= std::fabs(*best->value.value)) return;
    best = Extreme{node, value, depth};
}

// Assigns each blank-separated piece of a unit label to the column its middle falls in, so a label
// that spills a little past its field still lands on the right quantity. Pieces in one column are
// joined: a fixed-width label such as " KN- M" arrives in two.
Units readUnits(std::string_view line) {
    Units u;
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
bool readRow(std::string_view line, ProblemSummary& p) {
    const auto node = parseInt(column(line, kNodeCol, kNodeWidth));
    if (!node || !trim(column(line, 0, kNodeCol)).empty()) return false;
    if (!trim(column(line, kNodeCol + kNodeWidth, kDepthCol - kNodeCol - kNodeWidth)).empty()) return false;
    const Field depth = readField(column(line, kDepthCol, kDepthWidth));
    auto value = [&](int k) {
        return readField(column(line, kFirstValueCol + k * kValueWidth, kValueWidth));
    };
    const Field defl = value(kDeflection);
    if (*node == 0) p.top = defl;
    keepLarger(p.maxDeflection, *node, defl, depth);
    keepLarger(p.maxMoment, *node, value(kMoment), depth);
    keepLarger(p.maxShear, *node, value(kShear), depth);
    ++p.rows;
    return true;
}

}  // namespace

std::optional<double> parseNumber(std::string_view field) {
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

std::optional<Message::Kind> classifyLine(std::string_view line) {
    const auto t = trim(line);
    // A line of asterisks alone is a box border in the data echo, not a warning.
    if (startsWith(t, "*****") && t.find_first_not_of('*') != std::string_view::npos) {
        return Message::Kind::Warning;
    }
    if (startsWith(t, "WARNING")) return Message::Kind::Warning;
    // The soil routines' warnings: a heading of asterisks or dashes around the word, the text below it.
    if (isWarningHeading(t)) return Message::Kind::Warning;
    if (t == "Net active pressure is negative.") return Message::Kind::Warning;
    if (startsWith(t, "ERROR") || startsWith(t, "STOP") || t == "TOO MUCH DATA FOR AVAILABLE STORAGE") {
        return Message::Kind::Error;
    }
    return std::nullopt;
}

ReportSummary summarizeReport(std::string_view report) {
    ReportSummary out;
    std::vector<Message> pending;  // not yet tied to a problem
    std::string lastText;          // last non-empty line: the heading of a results block
    enum class State { Text, Heading, Units, Rows } state = State::Text;
    ProblemSummary* current = nullptr;
    std::vector<Message>* continued = nullptr;  // its last message is a warning heading taking text

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
            ProblemSummary p;
            p.heading = lastText;
            p.iteration = parseInt(t.substr(kResults.size()));
            p.messages = std::move(pending);
            pending.clear();
            out.problems.push_back(std::move(p));
            current = &out.problems.back();
            state = State::Heading;
        } else if (state == State::Heading && startsWith(t, "STA I")) {
            state = State::Units;
        } else if (continued && !classifyLine(t) && t != kEnd) {
            // The text under a warning heading, up to the next empty line.
            continued->back().text.append(1, ' ').append(t);
            lastText = t;
            continue;
        } else if (const auto kind = classifyLine(t)) {
            if (*kind == Message::Kind::Error) out.errorStop = true;
            // Warnings printed inside a results block belong to that block.
            auto& into = state == State::Heading ? current->messages : pending;
            const bool heading = isWarningHeading(t);
            into.push_back(Message{*kind, heading ? std::string("WARNING:") : std::string(t)});
            continued = heading ? &into : nullptr;
        } else if (t == kEnd) {
            out.ended = true;
        }
        lastText = t;
    }
    out.trailing = std::move(pending);
    return out;
}

}  // namespace drenok::tools
