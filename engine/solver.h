#pragma once
// Finite-difference solution of the wall as a beam-column on nonlinear soil springs: a two-pass
// recursion along the stations per iteration, the soil curves linearised at the current
// deflections, and the flexural rigidity updated from moment-EI curves in an outer loop.

#include <functional>
#include <vector>

#include "engine/problem.h"
#include "engine/stations.h"

namespace engine {

/// What an iteration leaves for the monitor line of the run notes.
struct IterationReport {
    int iteration;
    int notClosed;
    bool offCurve;
    double deflection[5];      // nodes 1 to 5
    bool firstDamped = false;  // the first iteration of the damped continuation
};

/// Results at stations, computed after the iteration.
struct Results {
    int iterations = 0;
    int exceeding = 0;  // nodes beyond the maximum allowable deflection
    int notClosed = 0;  // nodes not closed in the last iteration
    bool offCurve = false;
    int dampedFrom = 0;  // first damped iteration; 0 when the iteration needed no damping
    // Indexed by station + 3 (stations -3 .. NI+3).
    std::vector<double> w, slope, moment, shear, reaction;
    double at(const std::vector<double>& a, int k) const { return a[static_cast<size_t>(k + 3)]; }
};

class Solver {
public:
    Solver(Stations& stations, const WallRecord& wall, std::vector<MomentEiSet> momentEi);

    /// Runs the iteration; `monitor` receives one report per iteration.
    Results solve(const std::function<void(const IterationReport&)>& monitor);

private:
    void soilSprings();
    void eliminate();
    void backSubstitute(int& exceeding, int& notClosed);
    /// Whether the last iterations swing between two states: the latest deflections lie nearer to
    /// those two iterations back than to the last ones.
    [[nodiscard]] bool alternating() const;
    /// Moves the deflections only part of the way from the last iteration's to the new solution's.
    void relax();
    void updateRigidity();
    Results results() const;

    double& at(std::vector<double>& a, int k) { return a[static_cast<size_t>(k + 3)]; }
    double at(const std::vector<double>& a, int k) const { return a[static_cast<size_t>(k + 3)]; }

    Stations& m_st;
    WallRecord m_wall;
    std::vector<MomentEiSet> m_momentEi;
    std::vector<CurveRange> m_ranges;
    std::vector<bool> m_sorted;  // per curve of the store
    int m_ni;
    double m_h;
    std::vector<double> m_w, m_wPrevious, m_wBeforePrevious, m_wAtUpdate, m_qTotal, m_sTotal, m_a1, m_a2, m_c;
    bool m_offCurve = false;
};

/// The soil spring of a curve at deflection y: the secant p = load - stiffness*y through the
/// segment holding y (the end segments extended). Sets `offCurve` when y lies outside the curve.
/// `sorted` (y non-decreasing) allows a halving search; any curve gives the same result without it.
void linearise(const std::vector<double>& y, const std::vector<double>& p, double deflection,
               double& stiffness, double& load, bool& offCurve, bool sorted = false);

}  // namespace engine
