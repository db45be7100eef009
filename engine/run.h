#pragma once
// One run of the engine: reads the run file, analyses every problem of the data file in order and
// ends in one place, whatever stopped it. Everything lives in this object, created per call.

#include <functional>
#include <optional>
#include <string>

#include "engine/output_file.h"
#include "engine/plot_data.h"
#include "engine/report.h"
#include "engine/solver.h"
#include "engine/stations.h"

namespace engine {

class DataReader;

class Run {
public:
    struct Options {
        std::string workDir = ".";         // holds names.dat and the scratch files
        std::optional<AnalysisTime> time;  // fixed clock for tests; the system clock otherwise
        /// Called after each problem is solved with its stations and results (checks and tools).
        std::function<void(const Stations&, const Results&)> onSolved;
    };

    explicit Run(Options options);

    /// Performs the run; never throws. Returns the entry's result (0).
    int execute();

private:
    bool readRunFile();
    std::string openPath(const std::string& path) const;
    void runProblems(DataReader& data);
    /// Reads, solves and reports one problem; returns its end-of-problem marker (after the
    /// stage-count rule).
    int runProblem(DataReader& data);

    Options m_options;
    std::string m_version, m_dataPath, m_reportPath, m_plotPath, m_notesPath;
    OutputFile m_reportFile, m_plotFile, m_notesFile;

    int m_problemCounter = 0;
    std::string m_firstTitle;
    int m_caseCount = 1;
    int m_marker = 0;
    int m_stageCount = 1;          // of the problem at hand
    int m_unitSystem = 1;          // of the problem at hand, for an empty response block
    ResponseTable m_lastResponse;  // response of the latest solved problem
    bool m_haveResponse = false;
    double m_excavationOverburden = 0.0;
};

/// The entry's behaviour: 1 for an interface number other than 2, else one run in `options`.
int callEntry(int interfaceNumber, const Run::Options& options) noexcept;

/// `name` inside the folder `dir` ("." for the current folder).
inline std::string joinPath(const std::string& dir, const std::string& name) {
    if (dir.empty() || dir == ".") return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

/// Largest increment count the engine accepts.
inline constexpr int kMaxIncrements = 407;
/// Largest number of restraint records.
inline constexpr int kMaxRestraints = 20;
/// Largest number of p-y curves of a problem.
inline constexpr int kMaxCurves = 400;

}  // namespace engine
