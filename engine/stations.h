#pragma once
// The wall as equally spaced stations -3 .. NI+3, and the distribution of the problem's records
// onto them: ranges of stiffness, loads and springs, tiebacks, restraint codes, the pressure table
// and the store of p-y curves.

#include <array>
#include <cassert>
#include <vector>

#include "engine/problem.h"

namespace engine {

/// A real per station, indexed by station number -3 .. NI+3.
class StationArray {
public:
    void reset(int increments) { m_values.assign(static_cast<size_t>(increments) + 7, 0.0); }
    double& operator()(int k) {
        assert(k >= -3 && static_cast<size_t>(k + 3) < m_values.size());
        return m_values[static_cast<size_t>(k + 3)];
    }
    double operator()(int k) const {
        assert(k >= -3 && static_cast<size_t>(k + 3) < m_values.size());
        return m_values[static_cast<size_t>(k + 3)];
    }

private:
    std::vector<double> m_values;
};

/// The six distributed quantities of a stiffness, load or spring record.
struct StationValues {
    double ei = 0, q = 0, s = 0, t = 0, r = 0, p = 0;
};

/// Restraint codes at a station.
enum RestraintCode : int {
    kFree = 1,
    kDeflection = 2,         // deflection specified
    kAboveSlope = 3,         // station above a node with a specified slope
    kDeflectionAtSlope = 4,  // deflection specified at a node that also has its slope specified
    kBelowSlope = 5,         // station below a node with a specified slope
};

/// One curve of the store: p already per station (times h).
struct StoredCurve {
    int node = 0;
    int flag = 0;  // 1: starts a linear range that the next curve ends
    std::vector<double> y;
    std::vector<double> p;
};

/// A stretch of stations served by one curve (single node) or interpolated between two.
struct CurveRange {
    int first;     // index of the first curve in the store
    int second;    // index of the second curve (== first for a single node)
    int start;     // start node
    int end;       // end node (the curve's own node; may lie below the tip)
    int lastNode;  // last station served (end cut at the tip)
};

class Stations {
public:
    /// Clears every array for a wall of `increments` increments of length `h`.
    void reset(int increments, double h);

    int increments() const { return m_ni; }
    double h() const { return m_h; }

    StationArray ei, q, s, t, r, p;
    std::vector<int> code;  // restraint code per station, index k+3

    int& codeAt(int k) { return code[static_cast<size_t>(k + 3)]; }
    int codeAt(int k) const { return code[static_cast<size_t>(k + 3)]; }

    /// Specified values in the order of the restraint records (index from 1).
    std::vector<double> specifiedDeflection, specifiedSlope;
    double deflectionAt(int k) const;
    double slopeAt(int k) const;

    /// Concentrated moments: (FROM node, T/(2h)) of the load records with T not zero.
    std::vector<std::pair<int, double>> concentratedMoments;

    /// Adds `v1` .. `v2` linearly from node a to node b with half values at the two ends (or `v1`
    /// in full when a == b). Stops the run when b < a or a node lies outside the stations.
    void distribute(int a, int b, const StationValues& v1, const StationValues& v2);

    /// Adds one restraint record (case already limited to 1..3).
    void addRestraint(int restraintCase, int node, double deflection, double slope);

    /// Adds the pressure table (totals already times h) to Q at nodes 1 .. nearest(zEnd / h).
    void applyPressure(const std::vector<PressureRow>& rows, double zEnd);

    /// Stops the run when stiffness, loads or springs reach the stations below the tip.
    void checkBeyondTip() const;

    /// Checks that `k` is a station of the wall's arrays; stops the run otherwise.
    void requireStation(int k) const;

    std::vector<StoredCurve> curves;
    /// Builds the curve ranges that act on the stations, in store order.
    std::vector<CurveRange> curveRanges() const;

private:
    int m_ni = 0;
    double m_h = 0.0;
};

/// The range distribution of one block of records (stiffness, loads or springs): a record with
/// CONTD 2 starts a linear range that the next record ends.
class RangeDistributor {
public:
    /// Range case 1..4 of a record with code `contd` (2 continued, anything else constant).
    int caseOf(int contd) const { return 2 * m_previousContinued + (contd == 2 ? 1 : 0) + 1; }

    /// Distributes one record and returns its range case.
    int add(Stations& st, int from, int to, int contd, const StationValues& v);

private:
    int m_previousContinued = 0;
    int m_startNode = 0;
    StationValues m_startValues;
};

/// Nearest integer, halves away from zero, saturating far outside the int range.
int nearestInt(double v);

}  // namespace engine
