#pragma once
// Numeric results of the latest run as read back from the plot-data file, kept for the wall views.
// Grown on demand within what the engine can write: 99 cases (stages, or short- and long-term) of 409
// response rows (407 increments give NI + 2 rows) and 100000 earth-pressure rows.

#include <string>
#include <utility>
#include <vector>

namespace app::model {

struct TPressurePoint {
    long double Depth = 0.0L;  // as read from the plot-data file
    long double Total = 0.0L;  // total earth pressure
};

/// One response row, as converted for display.
struct TResponsePoint {
    long double Depth = 0.0L;
    long double Deflection = 0.0L;
    long double Moment = 0.0L;
    long double Shear = 0.0L;
    long double SoilReaction = 0.0L;
};

/// One p-y curve of a problem as the engine used it: its label (a depth in the data file's length
/// unit for generated curves alone, else a node number) and its points y, p (p per unit length).
struct TStoredCurve {
    long double Label = 0.0L;
    std::vector<std::pair<long double, long double>> Points;
};

class TResultsStore {
public:
    static constexpr int kMaxCases = 99;
    static constexpr int kMaxPoints = 409;             // response rows of a case
    static constexpr int kMaxPressurePoints = 100000;  // earth-pressure rows of a case

    /// Indices are 0-based: case 0 is the first problem block. A point never set reads as zeros.
    [[nodiscard]] const TPressurePoint& Pressure(int caseIndex, int point) const;
    [[nodiscard]] const TResponsePoint& Response(int caseIndex, int point) const;
    /// False, storing nothing, when the case or point lies outside the limits.
    bool SetPressure(int caseIndex, int point, const TPressurePoint& value);
    bool SetResponse(int caseIndex, int point, const TResponsePoint& value);

    /// Cases up to the last one with a stored point; points up to the last stored one of a case.
    [[nodiscard]] int CaseCount() const;
    [[nodiscard]] int PressurePointCount(int caseIndex) const;
    [[nodiscard]] int ResponsePointCount(int caseIndex) const;

    /// The p-y curves of a case, in the order the engine wrote them; `labelsAreNodes` when every curve
    /// is labelled by its node (user curves present).
    void SetCurves(int caseIndex, std::vector<TStoredCurve> curves, bool labelsAreNodes);
    [[nodiscard]] const std::vector<TStoredCurve>& Curves(int caseIndex) const;
    [[nodiscard]] bool CurveLabelsAreNodes(int caseIndex) const;

    /// The largest earth-pressure point count read.
    [[nodiscard]] int MaxPressurePoints() const { return m_maxPressurePoints; }
    /// Keeps the larger of the stored and the given count (clamped to the point limit).
    void NotePressurePointCount(int count);

    void Clear();

    /// What the views drawing these results must say across them (results out of date, a problem
    /// that did not converge); empty when nothing. Kept by Clear: the reader and the session set it.
    std::string Notice;

private:
    struct Case {
        std::vector<TPressurePoint> pressure;
        std::vector<TResponsePoint> response;
        std::vector<TStoredCurve> curves;
        bool curveLabelsAreNodes = false;
    };
    static bool inside(int caseIndex, int point, int points);
    Case& caseAt(int caseIndex);

    std::vector<Case> m_cases;
    int m_maxPressurePoints = 0;
};

}  // namespace app::model
