#include "engine/stations.h"

#include <climits>
#include <cmath>
#include <string>

#include "engine/run_stop.h"

namespace engine {

int nearestInt(double v) {
    if (!(v > INT_MIN / 2.0)) return INT_MIN / 2;  // also NaN
    if (v > INT_MAX / 2.0) return INT_MAX / 2;
    return static_cast<int>(std::lround(v));
}

void Stations::reset(int increments, double h) {
    m_ni = increments;
    m_h = h;
    for (StationArray* a : {&ei, &q, &s, &t, &r, &p})
        a->reset(increments);
    code.assign(static_cast<size_t>(increments) + 7, kFree);
    specifiedDeflection.clear();
    specifiedSlope.clear();
    concentratedMoments.clear();
    curves.clear();
}

double Stations::deflectionAt(int k) const {
    return k >= 1 && static_cast<size_t>(k) <= specifiedDeflection.size() ? specifiedDeflection[k - 1] : 0.0;
}

double Stations::slopeAt(int k) const {
    return k >= 1 && static_cast<size_t>(k) <= specifiedSlope.size() ? specifiedSlope[k - 1] : 0.0;
}

void Stations::requireStation(int k) const {
    if (k < -3 || k > m_ni + 3) stopDataFault("STATION " + std::to_string(k) + " LIES OUTSIDE THE WALL");
}

void Stations::distribute(int a, int b, const StationValues& v1, const StationValues& v2) {
    if (b < a) stopStationsNotInOrder();
    requireStation(a);
    requireStation(b);
    auto add = [this](int k, const StationValues& v, double factor) {
        ei(k) += v.ei * factor;
        q(k) += v.q * factor;
        s(k) += v.s * factor;
        t(k) += v.t * factor;
        r(k) += v.r * factor;
        p(k) += v.p * factor;
    };
    if (a == b) {
        add(a, v1, 1.0);
        return;
    }
    const double span = b - a;
    auto at = [&](int k) {
        const double f = (k - a) / span;
        return StationValues{v1.ei + (v2.ei - v1.ei) * f, v1.q + (v2.q - v1.q) * f, v1.s + (v2.s - v1.s) * f,
                             v1.t + (v2.t - v1.t) * f,    v1.r + (v2.r - v1.r) * f, v1.p + (v2.p - v1.p) * f};
    };
    for (int k = a; k <= b; ++k)
        add(k, at(k), 1.0);
    // The end stations carry half values, so two ranges meeting at a node add up to the full value.
    add(a, at(a), -0.5);
    add(b, at(b), -0.5);
}

void Stations::addRestraint(int restraintCase, int node, double deflection, double slope) {
    specifiedDeflection.push_back(deflection);
    specifiedSlope.push_back(slope);
    switch (restraintCase) {
        case 1:
            requireStation(node);
            codeAt(node) = kDeflection;
            break;
        case 2:
            requireStation(node - 1);
            requireStation(node + 1);
            codeAt(node - 1) = kAboveSlope;
            codeAt(node + 1) = kBelowSlope;
            break;
        default:
            requireStation(node - 1);
            requireStation(node + 1);
            codeAt(node - 1) = kAboveSlope;
            codeAt(node) = kDeflectionAtSlope;
            codeAt(node + 1) = kBelowSlope;
            break;
    }
}

void Stations::applyPressure(const std::vector<PressureRow>& rows, double zEnd) {
    const int n = nearestInt(zEnd);
    // Pressure below the last stations cannot act on the wall; the loads that reach the stations
    // just below the tip are caught by the beyond-tip check.
    const int last = n < m_ni + 3 ? n : m_ni + 3;
    double previous = 0.0;
    for (int k = 1; k <= last; ++k) {
        const double z = k * m_h;
        size_t m = 0;
        while (m < rows.size() && rows[m].depth < z)
            ++m;
        double value = previous;
        if (m < rows.size()) {
            const double d0 = m == 0 ? 0.0 : rows[m - 1].depth;
            const double v0 = m == 0 ? 0.0 : rows[m - 1].total;
            const double d1 = rows[m].depth;
            const double v1 = rows[m].total;
            value = d1 > d0 ? v0 + (v1 - v0) * (z - d0) / (d1 - d0) : v1;
        }
        q(k) += value;
        previous = value;
    }
}

void Stations::checkBeyondTip() const {
    const int a = m_ni + 1, b = m_ni + 2;
    const double sum = ei(a) + ei(b) + q(a) + s(a) + t(a) + t(b) + r(a) + r(b) + p(a) + p(b);
    if (sum != 0.0) stopDataBeyondEnd();
}

std::vector<CurveRange> Stations::curveRanges() const {
    std::vector<CurveRange> ranges;
    int open = -1;  // curve that started the open range
    for (int i = 0; i < static_cast<int>(curves.size()); ++i) {
        const StoredCurve& c = curves[static_cast<size_t>(i)];
        if (open >= 0) {
            const StoredCurve& startCurve = curves[static_cast<size_t>(open)];
            if (c.node == startCurve.node) continue;  // a second curve at the start node
            if (c.node < startCurve.node) stopStationsNotInOrder();
            if (startCurve.node < m_ni && startCurve.node >= -1)
                ranges.push_back({open, i, startCurve.node, c.node, c.node < m_ni ? c.node : m_ni});
            open = c.flag == 1 ? i : -1;
            continue;
        }
        if (c.flag == 1) {
            open = i;
        } else if (c.node <= m_ni && c.node >= -1) {
            ranges.push_back({i, i, c.node, c.node, c.node});
        }
    }
    return ranges;
}

int RangeDistributor::add(Stations& st, int from, int to, int contd, const StationValues& v) {
    const int rangeCase = caseOf(contd);
    switch (rangeCase) {
        case 1:
            st.distribute(from, to, v, v);
            break;
        case 2:
            m_startNode = from;
            m_startValues = v;
            break;
        case 3:
            st.distribute(m_startNode, to, m_startValues, v);
            break;
        default:
            st.distribute(m_startNode, to, m_startValues, v);
            m_startNode = to;
            m_startValues = v;
            break;
    }
    m_previousContinued = contd == 2 ? 1 : 0;
    return rangeCase;
}

}  // namespace engine
