#include "app/model/results_store.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace app::model {

namespace {

const TPressurePoint kNoPressure{};
const TResponsePoint kNoResponse{};

std::size_t index(int i) {
    return static_cast<std::size_t>(i);
}

}  // namespace

bool TResultsStore::inside(int caseIndex, int point, int points) {
    return caseIndex >= 0 && caseIndex < kMaxCases && point >= 0 && point < points;
}

TResultsStore::Case& TResultsStore::caseAt(int caseIndex) {
    if (index(caseIndex) >= m_cases.size()) m_cases.resize(index(caseIndex) + 1);
    return m_cases[index(caseIndex)];
}

const TPressurePoint& TResultsStore::Pressure(int caseIndex, int point) const {
    if (caseIndex < 0 || point < 0 || index(caseIndex) >= m_cases.size()) return kNoPressure;
    const auto& points = m_cases[index(caseIndex)].pressure;
    return index(point) < points.size() ? points[index(point)] : kNoPressure;
}

const TResponsePoint& TResultsStore::Response(int caseIndex, int point) const {
    if (caseIndex < 0 || point < 0 || index(caseIndex) >= m_cases.size()) return kNoResponse;
    const auto& points = m_cases[index(caseIndex)].response;
    return index(point) < points.size() ? points[index(point)] : kNoResponse;
}

bool TResultsStore::SetPressure(int caseIndex, int point, const TPressurePoint& value) {
    if (!inside(caseIndex, point, kMaxPressurePoints)) return false;
    auto& points = caseAt(caseIndex).pressure;
    if (index(point) >= points.size()) points.resize(index(point) + 1);
    points[index(point)] = value;
    return true;
}

bool TResultsStore::SetResponse(int caseIndex, int point, const TResponsePoint& value) {
    if (!inside(caseIndex, point, kMaxPoints)) return false;
    auto& points = caseAt(caseIndex).response;
    if (index(point) >= points.size()) points.resize(index(point) + 1);
    points[index(point)] = value;
    return true;
}

void TResultsStore::SetCurves(int caseIndex, std::vector<TStoredCurve> curves, bool labelsAreNodes) {
    if (caseIndex < 0 || caseIndex >= kMaxCases) return;
    Case& c = caseAt(caseIndex);
    c.curves = std::move(curves);
    c.curveLabelsAreNodes = labelsAreNodes;
}

const std::vector<TStoredCurve>& TResultsStore::Curves(int caseIndex) const {
    static const std::vector<TStoredCurve> kNone;
    if (caseIndex < 0 || index(caseIndex) >= m_cases.size()) return kNone;
    return m_cases[index(caseIndex)].curves;
}

bool TResultsStore::CurveLabelsAreNodes(int caseIndex) const {
    return caseIndex >= 0 && index(caseIndex) < m_cases.size() &&
           m_cases[index(caseIndex)].curveLabelsAreNodes;
}

int TResultsStore::CaseCount() const {
    return static_cast<int>(m_cases.size());
}

int TResultsStore::PressurePointCount(int caseIndex) const {
    if (caseIndex < 0 || index(caseIndex) >= m_cases.size()) return 0;
    return static_cast<int>(m_cases[index(caseIndex)].pressure.size());
}

int TResultsStore::ResponsePointCount(int caseIndex) const {
    if (caseIndex < 0 || index(caseIndex) >= m_cases.size()) return 0;
    return static_cast<int>(m_cases[index(caseIndex)].response.size());
}

void TResultsStore::NotePressurePointCount(int count) {
    m_maxPressurePoints = std::max(m_maxPressurePoints, std::clamp(count, 0, kMaxPressurePoints));
}

void TResultsStore::Clear() {
    m_cases.clear();
    m_maxPressurePoints = 0;
}

}  // namespace app::model
