#include "engine/solver.h"

#include <algorithm>
#include <cmath>

namespace engine {

namespace {
constexpr int kMaxIterations = 100;
// An iteration that swings between two states after the plain iterations goes on with each step
// halved, for at most this many iterations more. The closure test stays that of a full step, so a
// damped solution closes to the same tolerance as a plain one.
// Damping that has not reduced the largest step for this many iterations will not close; the
// plain iteration's last results are then reported as they would have been without it.
constexpr int kMaxDampedIterations = 200;
constexpr int kDampedIterationsWithoutProgress = 20;
constexpr double kDampingFactor = 0.5;
}  // namespace

void linearise(const std::vector<double>& y, const std::vector<double>& p, double deflection,
               double& stiffness, double& load, bool& offCurve, bool sorted) {
    const size_t n = y.size();
    stiffness = 0.0;
    load = 0.0;
    if (n < 2) {  // no segment to lean on: no spring
        offCurve = true;
        return;
    }
    size_t m = 1;  // zero-based index of the upper point of the segment
    bool found = false;
    if (sorted) {  // the same first point at or beyond the deflection, found by halving
        const auto it = std::lower_bound(y.begin() + 1, y.end(), deflection);
        found = it != y.end();
        if (found) m = static_cast<size_t>(it - y.begin());
    } else {
        for (size_t k = 1; k < n; ++k) {
            if (deflection <= y[k]) {
                m = k;
                found = true;
                break;
            }
        }
    }
    if (found && deflection >= y[0]) {
        // within the curve
    } else if (deflection < y[0]) {
        m = 1;
        offCurve = true;
    } else {
        m = n - 1;
        offCurve = true;
    }
    if (n <= 2) offCurve = true;
    const double dy = y[m] - y[m - 1];
    if (dy == 0.0) return;
    stiffness = -(p[m] - p[m - 1]) / dy;
    load = stiffness * y[m - 1] + p[m - 1];
}

Solver::Solver(Stations& stations, const WallRecord& wall, std::vector<MomentEiSet> momentEi)
    : m_st(stations),
      m_wall(wall),
      m_momentEi(std::move(momentEi)),
      m_ni(stations.increments()),
      m_h(stations.h()) {
    const size_t size = static_cast<size_t>(m_ni) + 7;
    for (std::vector<double>* a :
         {&m_w, &m_wPrevious, &m_wBeforePrevious, &m_wAtUpdate, &m_qTotal, &m_sTotal, &m_a1, &m_a2, &m_c})
        a->assign(size, 0.0);
    m_ranges = m_st.curveRanges();
    for (const StoredCurve& c : m_st.curves)
        m_sorted.push_back(std::is_sorted(c.y.begin(), c.y.end()));
}

void Solver::soilSprings() {
    for (int k = -3; k <= m_ni + 3; ++k) {
        at(m_qTotal, k) = m_st.q(k);
        at(m_sTotal, k) = m_st.s(k);
    }
    m_offCurve = false;
    for (const CurveRange& range : m_ranges) {
        const StoredCurve& c1 = m_st.curves[static_cast<size_t>(range.first)];
        const StoredCurve& c2 = m_st.curves[static_cast<size_t>(range.second)];
        auto apply = [&](int j, double factor) {
            double k1, l1, k2, l2;
            linearise(c1.y, c1.p, at(m_w, j), k1, l1, m_offCurve, m_sorted[static_cast<size_t>(range.first)]);
            linearise(c2.y, c2.p, at(m_w, j), k2, l2, m_offCurve,
                      m_sorted[static_cast<size_t>(range.second)]);
            const double phi = range.end == range.start
                                   ? 0.0
                                   : static_cast<double>(j - range.start) / (range.end - range.start);
            at(m_sTotal, j) += (k1 + (k2 - k1) * phi) * factor;
            at(m_qTotal, j) += (l1 + (l2 - l1) * phi) * factor;
        };
        for (int j = range.start; j <= range.lastNode; ++j)
            apply(j, 1.0);
        if (range.end != range.start) {
            apply(range.start, -0.5);
            apply(range.lastNode, -0.5);
        }
    }
}

void Solver::eliminate() {
    const double h = m_h, h2 = h * h, h3 = h2 * h, twoH = 2.0 * h;
    const StationArray &F = m_st.ei, &P = m_st.p, &R = m_st.r, &T = m_st.t;
    int k = 1;  // running index into the specified values
    double ePrime = 0.0, a1Prime = 0.0, a2Prime = 0.0, cPrime = 0.0;
    for (int i = -1; i <= m_ni + 1; ++i) {
        const double a = F(i - 1) - 0.25 * h * (h * P(i - 1) + R(i - 1));
        const double b = -2.0 * (F(i - 1) + F(i));
        const double c = F(i - 1) + 4.0 * F(i) + F(i + 1) + h3 * at(m_sTotal, i) +
                         0.25 * h * (h * P(i - 1) + R(i - 1) + h * P(i + 1) + R(i + 1));
        const double d = -2.0 * (F(i) + F(i + 1));
        const double e = F(i + 1) - 0.25 * h * (h * P(i + 1) + R(i + 1));
        const double f = h3 * at(m_qTotal, i) - 0.5 * h2 * (T(i - 1) - T(i + 1));

        const double alpha = a * at(m_a1, i - 2) + b;
        const double D = alpha * at(m_a1, i - 1) + a * at(m_a2, i - 2) + c;
        const double E = D == 0.0 ? 0.0 : -1.0 / D;
        double& A1 = at(m_a1, i);
        double& A2 = at(m_a2, i);
        double& C = at(m_c, i);
        A2 = e * E;
        A1 = (alpha * at(m_a2, i - 1) + d) * E;
        C = (alpha * at(m_c, i - 1) + a * at(m_c, i - 2) - f) * E;

        switch (m_st.codeAt(i)) {
            case kDeflection:
                A1 = A2 = 0.0;
                C = m_st.deflectionAt(k);
                ++k;
                break;
            case kDeflectionAtSlope:
                A1 = A2 = 0.0;
                C = m_st.deflectionAt(k);
                break;
            case kAboveSlope:
                ePrime = E;
                a2Prime = A2;
                a1Prime = A1;
                cPrime = C;
                A2 = 1.0;
                A1 = 0.0;
                C = -twoH * m_st.slopeAt(k);  // w(i) = w(i+2) - 2h slope
                break;
            case kBelowSlope: {
                const double ratio = ePrime == 0.0 ? 0.0 : E / ePrime;
                const double denominator = 1.0 - (a1Prime * at(m_a1, i - 1) + a2Prime - 1.0) * ratio;
                const double G = denominator == 0.0 ? 0.0 : 1.0 / denominator;
                A2 = G * A2;
                A1 = G * (a1Prime * at(m_a2, i - 1) * ratio + A1);
                C = G * ((twoH * m_st.slopeAt(k) + cPrime + a1Prime * at(m_c, i - 1)) * ratio + C);
                ++k;
                break;
            }
            default:
                break;
        }
    }
}

void Solver::backSubstitute(int& exceeding, int& notClosed) {
    exceeding = 0;
    notClosed = 0;
    m_wPrevious = m_w;
    at(m_w, m_ni + 2) = 0.0;
    at(m_w, m_ni + 3) = 0.0;
    at(m_w, m_ni + 1) =
        at(m_a1, m_ni + 1) * at(m_w, m_ni + 2) + at(m_c, m_ni + 1) + at(m_a2, m_ni + 1) * at(m_w, m_ni + 3);
    for (int i = m_ni; i >= 0; --i) {
        const double w = at(m_a1, i) * at(m_w, i + 1) + at(m_c, i) + at(m_a2, i) * at(m_w, i + 2);
        at(m_w, i) = w;
        if (std::fabs(w) > m_wall.maxDeflection) ++exceeding;
        if (std::fabs(w - at(m_wPrevious, i)) > m_wall.tolerance) ++notClosed;
    }
    at(m_w, -1) = at(m_a1, -1) * at(m_w, 0) + at(m_c, -1) + at(m_a2, -1) * at(m_w, 1);
}

bool Solver::alternating() const {
    double step = 0.0, twoSteps = 0.0;
    for (int i = 0; i <= m_ni; ++i) {
        step = std::max(step, std::fabs(at(m_w, i) - at(m_wPrevious, i)));
        twoSteps = std::max(twoSteps, std::fabs(at(m_w, i) - at(m_wBeforePrevious, i)));
    }
    return twoSteps <= 0.5 * step;
}

void Solver::relax() {
    for (int i = -3; i <= m_ni + 3; ++i)
        at(m_w, i) = at(m_wPrevious, i) + kDampingFactor * (at(m_w, i) - at(m_wPrevious, i));
}

void Solver::updateRigidity() {
    const double h2 = m_h * m_h;
    for (const MomentEiSet& set : m_momentEi) {
        const size_t n = set.points.size();
        if (n == 0) continue;
        // The rigidity of stations outside the wall stays zero: it sets the free ends.
        const int from = set.from < 0 ? 0 : set.from;
        const int to = set.to > m_ni ? m_ni : set.to;
        for (int i = from; i <= to; ++i) {
            if (n == 1) {
                m_st.ei(i) = set.points[0][1];
                continue;
            }
            const double phi = std::fabs(at(m_w, i - 1) - 2.0 * at(m_w, i) + at(m_w, i + 1)) / h2;
            size_t k = n - 1;
            for (size_t j = 1; j + 1 < n; ++j) {
                if (set.points[j][0] > phi * set.points[j][1]) {
                    k = j;
                    break;
                }
            }
            const double m0 = set.points[k - 1][0], ei0 = set.points[k - 1][1];
            const double m1 = set.points[k][0], ei1 = set.points[k][1];
            const double denominator = (ei1 - ei0) * phi - m1 + m0;
            // A segment parallel to M = phi*EI (two equal points, for one) has no crossing: take
            // the rigidity at its upper end.
            if (denominator == 0.0) {
                m_st.ei(i) = ei1;
                continue;
            }
            const double t = (m0 - phi * ei0) / denominator;
            m_st.ei(i) = ei0 + t * (ei1 - ei0);
        }
    }
}

Results Solver::solve(const std::function<void(const IterationReport&)>& monitor) {
    Results out;
    int exceeding = 0, notClosed = 0;
    int iteration = 0;
    int limit = kMaxIterations;
    int dampedFrom = 0;
    // The state after the last plain iteration, restored when damping fails.
    struct {
        std::vector<double> w;
        StationArray ei;
        int exceeding = 0, notClosed = 0;
        bool offCurve = false;
    } plain;
    double bestStep = 0.0;
    int sinceBest = 0;
    for (iteration = 1; iteration <= limit; ++iteration) {
        if (iteration == kMaxIterations) m_wBeforePrevious = m_wPrevious;  // kept only when it may serve
        soilSprings();
        eliminate();
        backSubstitute(exceeding, notClosed);
        if (monitor) {
            IterationReport rep{iteration, notClosed, m_offCurve, {}, iteration == dampedFrom};
            for (int k = 1; k <= 5; ++k)
                rep.deflection[k - 1] = k <= m_ni + 3 ? at(m_w, k) : 0.0;
            monitor(rep);
        }
        if (exceeding > 0) break;
        if (notClosed == 0) {
            if (m_momentEi.empty()) break;
            int changed = 0;
            for (int i = 0; i <= m_ni; ++i)
                if (std::fabs(at(m_w, i) - at(m_wAtUpdate, i)) > m_wall.tolerance) ++changed;
            if (changed == 0) break;
            m_wAtUpdate = m_w;
            updateRigidity();
            notClosed = changed;
            continue;
        }
        if (dampedFrom > 0) {
            double step = 0.0;
            for (int i = 0; i <= m_ni; ++i)
                step = std::max(step, std::fabs(at(m_w, i) - at(m_wPrevious, i)));
            if (step < bestStep) {
                bestStep = step;
                sinceBest = 0;
            } else if (++sinceBest >= kDampedIterationsWithoutProgress) {
                break;
            }
            relax();
        } else if (iteration == kMaxIterations && alternating()) {
            plain = {m_w, m_st.ei, exceeding, notClosed, m_offCurve};
            for (int i = 0; i <= m_ni; ++i)
                bestStep = std::max(bestStep, std::fabs(at(m_w, i) - at(m_wPrevious, i)));
            dampedFrom = iteration + 1;
            limit = kMaxIterations + kMaxDampedIterations;
            relax();
        }
    }
    if (iteration > limit) iteration = limit;
    if (dampedFrom > 0 && exceeding == 0 && notClosed > 0) {
        m_w = plain.w;
        m_st.ei = plain.ei;
        exceeding = plain.exceeding;
        notClosed = plain.notClosed;
        m_offCurve = plain.offCurve;
        iteration = kMaxIterations;
    }
    out = results();
    out.iterations = iteration;
    out.exceeding = exceeding;
    out.notClosed = notClosed;
    out.offCurve = m_offCurve;
    out.dampedFrom = dampedFrom;
    return out;
}

Results Solver::results() const {
    Results out;
    const size_t size = static_cast<size_t>(m_ni) + 7;
    out.w = m_w;
    out.slope.assign(size, 0.0);
    out.moment.assign(size, 0.0);
    out.shear.assign(size, 0.0);
    out.reaction.assign(size, 0.0);
    auto idx = [](int k) { return static_cast<size_t>(k + 3); };
    std::vector<double>& w = out.w;
    w[idx(-2)] = 2.0 * w[idx(-1)] - w[idx(0)];
    w[idx(m_ni + 2)] = 2.0 * w[idx(m_ni + 1)] - w[idx(m_ni)];
    const double h = m_h, h2 = h * h, twoH = 2.0 * h;
    // The moment is computed one station ahead, so the shear and reaction at s can use M(s+1).
    for (int s = -1; s <= m_ni + 1; ++s) {
        out.slope[idx(s)] = (w[idx(s + 1)] - w[idx(s - 1)]) / twoH;
        if (s + 2 <= m_ni + 3)
            out.moment[idx(s + 1)] = (w[idx(s)] - 2.0 * w[idx(s + 1)] + w[idx(s + 2)]) * m_st.ei(s + 1) / h2;
        out.shear[idx(s)] = (out.moment[idx(s + 1)] - out.moment[idx(s - 1)]) / twoH;
        out.reaction[idx(s)] =
            (out.moment[idx(s - 1)] - 2.0 * out.moment[idx(s)] + out.moment[idx(s + 1)]) / h;
        for (const auto& [node, c] : m_st.concentratedMoments) {
            if (s == node) {
                out.shear[idx(s)] -= c;
            } else if (s == node + 1) {
                out.shear[idx(s)] -= c / 2.0;
                out.reaction[idx(s)] += c;
            } else if (s == node - 1) {
                out.shear[idx(s)] -= c / 2.0;
                out.reaction[idx(s)] -= c;
            }
        }
    }
    return out;
}

}  // namespace engine
