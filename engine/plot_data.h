#pragma once
// Writer of the plot-data file: per problem a pressure, a p-y and a response section. The desktop
// program reads it as a stream of blank-separated numbers, so only the order and count of the
// numbers matter to it; the fixed records keep the file readable.

#include <string>
#include <vector>

#include "engine/problem.h"

namespace engine {

/// One row of the response section.
struct ResponseRow {
    double depth, deflection, moment, shear, reaction;
};

struct ResponseTable {
    int unitSystem = 1;
    std::vector<ResponseRow> rows;
};

class PlotData {
public:
    explicit PlotData(std::string& out) : m_out(out) {}

    /// A free-form record of integers and reals.
    void record(std::initializer_list<double> reals);
    void intRecord(std::initializer_list<long long> ints);

    void noPressure() { intRecord({0}); }
    /// The printed rows of the pressure table: depth, total (before the factor h), soil, surcharge.
    void pressure(const std::vector<PressureRow>& rows);

    void noCurves(int unitSystem) { intRecord({unitSystem, 0}); }
    void curveCount(int unitSystem, int count) { intRecord({unitSystem, count}); }
    void generatedCurveHeader(double depth, int points);
    void nodeCurveHeader(int node, int points) { intRecord({node, points}); }
    void curvePoint(double y, double p) { record({y, p}); }
    /// A point given as the numerals it was read from, each negated when asked: the values read
    /// back exactly as the doubles they were read into, without formatting them again.
    void curvePointText(std::string_view y, bool negateY, std::string_view p, bool negateP);

    void response(int caseCount, const ResponseTable& table);

private:
    std::string& m_out;
};

/// Shortest text that reads back as the same double.
std::string freeFormReal(double v);

}  // namespace engine
