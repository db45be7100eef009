#pragma once
// The report's own sections. Layouts are written in edit-descriptor form so each can be read
// against its definition line by line; numbers go through the fixed-format module.

#include <string>
#include <vector>

#include "engine/fixed_format.h"
#include "engine/problem.h"
#include "engine/solver.h"
#include "engine/stations.h"

namespace engine {

/// Unit labels of a problem, each of fixed width.
struct UnitLabels {
    std::string L;   // length, 3 wide
    std::string F;   // force, 4 wide
    std::string L2;  // length, 2 wide
    std::string F3;  // force, 3 wide
    static UnitLabels forSystem(int unitSystem);
};

/// Broken-down local time of the analysis; month 1..12 (0 or out of range: no date line).
struct AnalysisTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class Report {
public:
    explicit Report(std::string& out) : m_out(out) {}

    /// Writes one layout with its items.
    void write(std::string_view layout, std::initializer_list<ff::Arg> items = {}) {
        ff::formatTo(m_out, layout, items);
    }

    void header(const std::string& version, const std::string& dataPath, const std::string& reportPath,
                const std::string& plotPath, const AnalysisTime& time);
    void problemHeading(int stageCount, int problemNumber, const std::string& title,
                        const std::string& firstTitle);
    void controlParameters(const ControlRecord& c, const WallRecord& w, const UnitLabels& u);
    void restraintHeading();
    void restraintLine(int node, int caseRead, int caseUsed, double deflection, double slope);
    void noTableLine();  // an empty line and a line of 20 blanks
    void stiffnessHeading(const UnitLabels& u);
    void rangeLine(int rangeCase, int from, int to, int contd, const double values[6]);
    void userPressureHeading();
    void pressureColumns(const UnitLabels& u);
    void pressureRow(double depth, double load);
    void userCurvesHeading();
    void userCurveLine(bool withGenerated, int rangeCase, int node, int flag, double pm, double ym,
                       int points);
    void curvePointsHeading(const UnitLabels& u);
    void curvePoint(double y, double p);
    void results(const Results& r, int increments, double h, const StationArray& ei, const UnitLabels& u);
    void endOfAnalysis();

private:
    std::string& m_out;
};

/// The local time now (month 0 when the clock gives none).
AnalysisTime systemTime();

/// Splits a path into its folder (with the trailing separator) and its name with extension.
void splitPath(const std::string& path, std::string& folder, std::string& name);

}  // namespace engine
