#include "app/model/run_outcome.h"

#include <algorithm>

namespace app::model {

int ExpectedProblems(const TProgramData& data) {
    if (data.LongTerm || data.LongTermMarker == kLongTermFollows) return 2;
    return std::max(1, data.StageCount);
}

std::string ProblemName(const TProgramData& data, int index) {
    if (data.LongTerm || data.LongTermMarker == kLongTermFollows)
        return index == 0 ? "Short-term problem" : "Long-term problem";
    if (data.StageCount > 1) return "Stage " + std::to_string(index + 1);
    return "The problem";
}

std::string RunWarningText(const TRunStatus& status, const TProgramData& data) {
    if (status.AllConverged()) return {};
    const TRunState worst = status.Worst();
    std::string text = worst <= TRunState::DeflectionExceeded
                           ? "The analysis ran, but not every problem converged:\n"
                           : "The analysis did not give results for every problem:\n";
    for (std::size_t k = 0; k < status.problems.size(); ++k) {
        const TProblemStatus& p = status.problems[k];
        // Appended piece by piece: gcc 12 warns falsely on a literal + string chain here.
        text.append("\n").append(ProblemName(data, static_cast<int>(k))).append(": ");
        text.append(DescribeProblemStatus(p)).append(".\n");
        for (const std::string& line : p.engineLines)
            text.append("    ").append(line).append("\n");
    }
    text +=
        "\nResults of a problem that did not converge are marked \"(not converged)\" in the graphs; "
        "do not use them for design. The report gives the details.";
    return text;
}

namespace {

const char* shortState(TRunState state) {
    switch (state) {
        case TRunState::Converged:
            return "converged";
        case TRunState::NotClosed:
            return "not closed within the tolerance";
        case TRunState::DeflectionExceeded:
            return "allowable deflection exceeded";
        case TRunState::NonFinite:
            return "results not finite";
        case TRunState::Incomplete:
            return "run incomplete";
        case TRunState::ErrorStop:
            return "stopped with an error";
        case TRunState::NoResults:
            break;
    }
    return "no results";
}

}  // namespace

std::string NotConvergedNotice(const TRunStatus& status, const TProgramData& data) {
    if (status.problems.empty() || status.AllConverged()) return {};
    if (status.problems.size() == 1) {
        return std::string("Not converged: ") + shortState(status.problems[0].state);
    }
    std::string names;
    for (std::size_t k = 0; k < status.problems.size(); ++k) {
        const TProblemStatus& p = status.problems[k];
        if (p.state == TRunState::Converged) continue;
        if (!names.empty()) names += ", ";
        names += ProblemName(data, static_cast<int>(k)) + " (" + shortState(p.state) + ")";
    }
    return "Not converged: " + names;
}

}  // namespace app::model
