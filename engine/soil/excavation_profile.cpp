#include "engine/soil/excavation_profile.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string_view>

#include "engine/fixed_format.h"
#include "engine/run_stop.h"
#include "engine/soil/constants.h"

namespace engine::soil {

namespace {

enum class Where { Point, Boundary, Between, Beyond };

struct Hit {
    Where where;
    std::size_t j;
};

// The first point from the second one on with x <= x(j). A depth equal to the last point's
// returns that point's value even when a zero-thickness layer ends the table.
template <class P>
Hit locate(const std::vector<P>& table, double x) {
    const std::size_t n = table.size();
    for (std::size_t j = 1; j < n; ++j) {
        if (!(x <= table[j].x)) continue;
        if (x == table[n - 1].x) return {Where::Point, j};
        if (x == table[j].x) {
            const bool boundary = j + 1 < n && table[j + 1].x == table[j].x;
            return {boundary ? Where::Boundary : Where::Point, j};
        }
        return {Where::Between, j};
    }
    return {Where::Beyond, n};
}

// Linear between points j-1 and j. The guard matters only for a table whose first two points
// share their depth (the wall tip at the excavation level), asked above them.
template <class P>
double between(const std::vector<P>& table, std::size_t j, double x, double P::*value) {
    const P& a = table[j - 1];
    const P& b = table[j];
    if (b.x == a.x) return b.*value;
    return a.*value + (b.*value - a.*value) * (x - a.x) / (b.x - a.x);
}

enum class BoundaryRule { LowerLayer, Mean };

// Value at x, or nothing beyond the table (an empty table reaches no depth).
std::optional<double> strengthValue(const std::vector<StrengthPoint>& table, double x,
                                    double StrengthPoint::*value, BoundaryRule rule) {
    const Hit hit = locate(table, x);
    switch (hit.where) {
        case Where::Beyond:
            return std::nullopt;
        case Where::Point:
            return table[hit.j].*value;
        case Where::Between:
            return between(table, hit.j, x, value);
        case Where::Boundary:
            break;
    }
    // A value below kTiny marks a parameter its layer does not have.
    const double upper = table[hit.j].*value;
    const double lower = table[hit.j + 1].*value;
    if (rule == BoundaryRule::LowerLayer) return lower < kTiny ? upper : lower;
    if (upper < kTiny) return lower;
    if (lower < kTiny) return upper;
    return (upper + lower) / 2.0;
}

StrengthPoint strengthPoint(double x, const std::array<double, 6>& row) {
    return {x, row[1], row[2] * kPi / 180.0, row[3], row[5]};
}

const char* typeLine(int type) {
    switch (type) {
        case 1:
            return "(9X,'THE SOIL IS A SOFT CLAY')";
        case 2:
            return "(9X,'THE SOIL IS A STIFF CLAY BELOW THE WATER TABLE')";
        case 3:
            return "(9X,'THE SOIL IS A STIFF CLAY ABOVE THE WATER TABLE')";
        case 4:
            return "(9X,'THE SOIL IS A SAND')";
        case 5:
            return "(9X,'THE SOIL IS A SILT')";
        case 6:
            return "(9X,'THE LAYER IS ROCK')";
        case 7:
            return "(9X,'THE LAYER IS WEAK ROCK')";
        default:
            return nullptr;  // the reader does not check the type; such a layer gets no line
    }
}

constexpr std::string_view kStrengthWarning =
    "(/,29X,'**** WARNING ****',/,5X,'THE VALUE OF X =',D9.1,'IS BEYOND THE EXTENT OF',/,5X,"
    "'THE INPUT STRENGTH CURVE')";
constexpr std::string_view kPhiWarning =
    "(/,29X,'**** WARNING ****',/,5X,'THE VALUE OF X =',D9.1,' IS BEYOND THE EXTENT OF',/,5X,"
    "'THE INPUT PHI CURVE')";

}  // namespace

ExcavationProfile::ExcavationProfile(const SoilBlock& soil, double h, int increments, int unitSystem,
                                     const UnitLabels& u, std::string& report)
    : m_freeHeight(soil.freeHeight), m_report(&report) {
    build(soil, h, increments, gammaWater(unitSystem));
    writeReport(u);
}

// Storage follows the data: the tables grow with the layers below the excavation instead of
// stopping at ten layers, so no count in the input can write past them. Counts beyond the report's
// fields (9 layers, 99 points) print as asterisks.
void ExcavationProfile::build(const SoilBlock& soil, double h, int increments, double gw) {
    const double H = soil.freeHeight;
    const double waterZ = soil.waterBackfill;
    const double xCut = 2.0 * h + increments * h - H;  // two increments below the wall tip
    bool cut = false;
    double xTop = 0.0;
    for (const SoilLayer& in : soil.layers) {
        if (!(in.bottom > H)) continue;
        const double xBottom = in.bottom - H;
        m_typesBelow.push_back(in.type);

        // Both points carry the top row's unit weight; submerged where they lie below the water
        // table, and at the water table itself for a top that starts exactly there.
        const double gamma = in.top[0];
        const bool first = m_weights.empty();
        const double xPrevious = first ? 0.0 : m_weights.back().x;
        WeightPoint top{xTop, gamma};
        WeightPoint bottom{xBottom, gamma};
        if (H + xTop > waterZ || (H + xTop == waterZ && xPrevious == xTop)) top.gamma -= gw;
        if (H + xBottom > waterZ) bottom.gamma -= gw;
        // A water table inside the layer above ended that layer's points at the water table; this
        // layer's submerged weight starts there.
        if (!first && xTop > xPrevious) top.x = xPrevious;
        if (H + xTop < waterZ && waterZ < H + xBottom) bottom = {waterZ - H, gamma};  // dry down to the water
        m_weights.push_back(top);
        m_weights.push_back(bottom);

        // Layers past the cut take no part in the strength table or the curves; the unit-weight
        // table keeps them.
        if (!cut) {
            const StrengthPoint sTop = strengthPoint(xTop, in.top);
            StrengthPoint sBottom = strengthPoint(xBottom, in.base);
            ExcavationLayer layer{xTop, xBottom, in.type, in.top[4]};
            if (xBottom > xCut) {
                // xBottom > xTop here: the layer above ended at or above the cut.
                const double f = (xCut - xTop) / (xBottom - xTop);
                sBottom.x = xCut;
                sBottom.cohesion = sTop.cohesion + (sBottom.cohesion - sTop.cohesion) * f;
                sBottom.phi = sTop.phi + (sBottom.phi - sTop.phi) * f;
                sBottom.slot4 = sTop.slot4 + (sBottom.slot4 - sTop.slot4) * f;
                sBottom.slot6 = sTop.slot6 + (sBottom.slot6 - sTop.slot6) * f;
                layer.xBottom = xCut;
                cut = true;
            }
            m_layers.push_back(layer);
            m_strengths.push_back(sTop);
            m_strengths.push_back(sBottom);
        }
        xTop = xBottom;
    }

    // A water table inside the last layer leaves the unit weights short of the strength table;
    // the submerged weight of that layer carries them down to its end.
    m_weightsBeforeAppend = m_weights.size();
    if (!m_strengths.empty() && m_weights.back().x < m_strengths.back().x) {
        const WeightPoint last = m_weights.back();
        m_weights.push_back({last.x, last.gamma - gw});
        m_weights.push_back({m_strengths.back().x, last.gamma - gw});
    }
}

void ExcavationProfile::writeReport(const UnitLabels& u) const {
    std::string& out = *m_report;
    ff::formatTo(
        out, "(/,/,6X,50('*'),/,6X,'*        SOIL LAYERS AND STRENGTH DATA           *',/,6X,50('*'),/)", {});
    ff::formatTo(out, "(/,9X,'X AT THE SURFACE OF EXCAVATION SIDE     = ',F10.2,A3)", {m_freeHeight, u.L});
    // Every layer below the excavation is listed, also those below the cut at the wall tip.
    ff::formatTo(out, "(/,9X,I1,' LAYER(S) OF SOIL')", {static_cast<int>(m_typesBelow.size())});
    for (std::size_t i = 0; i < m_typesBelow.size(); ++i) {
        ff::formatTo(out, "(/,9X,'LAYER',I3)", {static_cast<int>(i + 1)});
        if (const char* line = typeLine(m_typesBelow[i])) ff::formatTo(out, line, {});
    }

    ff::formatTo(out,
                 "(/,/,9X,'DISTRIBUTION OF EFFECTIVE UNIT WEIGHT WITH DEPTH',/,27X,I2,' POINTS',/,/,21X,'X,',"
                 "A2,3X,'WEIGHT,',A3,A1,A2,A2,A1)",
                 {static_cast<int>(m_weightsBeforeAppend), u.L2, u.F3, "/", u.L2, "**", "3"});
    for (const WeightPoint& p : m_weights)
        ff::formatTo(out, "(10X,F15.4,D15.4)", {m_freeHeight + p.x, p.gamma});

    ff::formatTo(
        out,
        "(/,/,9X,'DISTRIBUTION OF STRENGTH PARAMETERS WITH DEPTH',/,27X,I2,' POINTS',/,/,21X,'X,',A2,"
        "5X,'S,',A3,A1,A2,A2,A1,6X,'PHI,DEGREES',6X,'E50')",
        {static_cast<int>(m_strengths.size()), u.L2, u.F3, "/", u.L2, "**", "2"});
    for (const StrengthPoint& p : m_strengths) {
        const double z = m_freeHeight + p.x;
        const double degrees = p.phi * 180.0 / kPi;
        if (p.slot4 > kNegligible)
            ff::formatTo(out, "(10X,F15.2,2X,D13.4,2X,F13.3,D15.4)", {z, p.cohesion, degrees, p.slot4});
        else
            ff::formatTo(out, "(10X,F15.2,2X,D13.4,2X,F13.3,7X,'-----')", {z, p.cohesion, degrees});
    }
}

void ExcavationProfile::beyondStrength(double x, std::string_view layout, int stopCode) const {
    const std::string warning = ff::format(layout, {x});
    std::fputs(warning.c_str(), stderr);
    *m_report += warning;
    stopSoil(stopCode);
}

double ExcavationProfile::cohesionAt(double x) const {
    const auto v = strengthValue(m_strengths, x, &StrengthPoint::cohesion, BoundaryRule::LowerLayer);
    if (!v) beyondStrength(x, kStrengthWarning, 1);
    return *v;
}

double ExcavationProfile::frictionAt(double x) const {
    const auto v = strengthValue(m_strengths, x, &StrengthPoint::phi, BoundaryRule::Mean);
    if (!v) beyondStrength(x, kPhiWarning, 0);
    return *v;
}

double ExcavationProfile::slot4At(double x) const {
    return strengthValue(m_strengths, x, &StrengthPoint::slot4, BoundaryRule::Mean).value_or(0.0);
}

double ExcavationProfile::slot6At(double x) const {
    return strengthValue(m_strengths, x, &StrengthPoint::slot6, BoundaryRule::Mean).value_or(0.0);
}

double ExcavationProfile::meanUnitWeight(double x) const {
    const std::vector<WeightPoint>& t = m_weights;
    // With no layer below the excavation there is no weight to give at any depth.
    if (t.empty()) stopSoil(4);
    if (x < kNegligible) {
        for (const WeightPoint& p : t)
            if (p.gamma > 0.0) return p.gamma;
        return t.back().gamma;
    }
    if (x > t.back().x) stopSoil(4);
    double area = 0.0;
    for (std::size_t j = 1; j < t.size(); ++j) {
        const WeightPoint& a = t[j - 1];
        const WeightPoint& b = t[j];
        if (x <= b.x) {
            const double gammaX = between(t, j, x, &WeightPoint::gamma);
            area += (x - a.x) * (a.gamma + gammaX) / 2.0;
            break;
        }
        area += (b.x - a.x) * (a.gamma + b.gamma) / 2.0;
    }
    return area / x;
}

}  // namespace engine::soil
