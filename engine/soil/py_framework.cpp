#include "engine/soil/py_framework.h"

#include <charconv>
#include <cmath>

#include "engine/fixed_format.h"
#include "engine/soil/constants.h"

namespace engine::soil {

namespace {
// Closely spaced wall elements: a row of elements closer than 3.1 widths resists less than the sum
// of single elements; closer than 1.1 widths it acts as a continuous wall.
constexpr double kContinuousRatio = 1.1f;
constexpr double kGroupRatio = 3.1f;
constexpr double kGroupFactor = 0.5292f;
constexpr double kGroupExponent = 0.5659f;
constexpr double kFirstCurveOffsetEnglish = 0.1f;  // [in] (also consistent units)
constexpr double kFirstCurveOffsetSI = 0.01f;      // [m]

/// The multiplier table's column `column` (1 p, 2 y) at depth z: 1 outside the table, the row's
/// value at a row depth (the second of two rows at the same depth), linear in between.
double tableValue(const std::vector<Modifier>& table, double z, int column) {
    auto value = [column](const Modifier& m) { return column == 1 ? m.pMultiplier : m.yMultiplier; };
    if (table.empty() || z < table.front().depth || z > table.back().depth) return 1.0;
    for (size_t i = 0; i < table.size(); ++i) {
        if (z == table[i].depth) {
            if (i + 1 < table.size() && table[i + 1].depth == z) return value(table[i + 1]);
            return value(table[i]);
        }
        if (i + 1 < table.size() && z > table[i].depth && z < table[i + 1].depth) {
            const double d0 = table[i].depth, d1 = table[i + 1].depth;
            return value(table[i]) + (value(table[i + 1]) - value(table[i])) * (z - d0) / (d1 - d0);
        }
    }
    return 1.0;
}
}  // namespace

PyFramework::PyFramework(const SoilBlock& soil, const ExcavationProfile& profile,
                         const std::vector<Modifier>& modifiers, int unitSystem, double sigmaX,
                         std::string& report, std::string& soilData)
    : m_profile(profile),
      m_modifiers(modifiers),
      m_unitSystem(unitSystem),
      m_units(UnitLabels::forSystem(unitSystem)),
      m_H(soil.freeHeight),
      m_b(soil.widthResistance),
      m_ratio(soil.widthResistance != 0.0 ? soil.widthActive / soil.widthResistance : 0.0),
      m_sigmaX(sigmaX),
      m_report(report),
      m_soilData(soilData),
      m_integral(profile.layers().size(), 0.0),
      m_equivalentDepth(profile.layers().size(), 0.0) {}

bool PyFramework::continuousWall() const {
    return m_ratio < kContinuousRatio;
}

std::array<double, kCurvesPerLayer> PyFramework::curveDepths(int layerIndex) const {
    const ExcavationLayer& l = layer(layerIndex);
    const double delta = m_unitSystem == 2 ? kFirstCurveOffsetSI : kFirstCurveOffsetEnglish;
    const double t = l.xBottom - l.xTop;
    return {l.xTop + delta, l.xTop + t / 4.0, l.xTop + t / 2.0, l.xTop + 3.0 * t / 4.0, l.xBottom - delta};
}

double PyFramework::xEff(int layerIndex, Side side, double x) const {
    const double depth = xs(side, x);
    if (layerIndex == 0) return depth;
    return depth - layer(layerIndex).xTop + equivalentDepth(layerIndex);
}

double PyFramework::resistanceAbove(int layerIndex) const {
    double ro = 0.0;
    for (int i = 0; i < layerIndex; ++i)
        ro += m_integral[static_cast<size_t>(i)];
    return ro;
}

void PyFramework::setEquivalentDepth(int layerIndex, double heq) {
    m_equivalentDepth[static_cast<size_t>(layerIndex)] = heq;
}

double PyFramework::pMultiplier(double z) const {
    if (!m_modifiers.empty()) return tableValue(m_modifiers, z, 1);
    if (m_ratio >= kContinuousRatio && m_ratio < kGroupRatio && z >= m_H)
        return kGroupFactor * std::pow(m_ratio, kGroupExponent);
    return 1.0;
}

double PyFramework::yMultiplier(double z) const {
    return tableValue(m_modifiers, z, 2);
}

void PyFramework::sideLine(Side side) {
    if (side == kExcavationSide)
        ff::formatTo(m_report, "(/,/,9X,'AT THE EXCAVATION SIDE')");
    else
        ff::formatTo(m_report, "(/,/,9X,'AT THE BACKFILL SIDE')");
}

void PyFramework::curveHeader(double z) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, z);
    m_soilData += ' ';
    m_soilData.append(buf, res.ptr);
    if (std::string_view(buf, static_cast<size_t>(res.ptr - buf)).find_first_of(".e") ==
        std::string_view::npos)
        m_soilData += ".0";
    m_soilData += " 34\n";
}

const ff::NumericLine* PyFramework::plan(std::string_view layout, size_t fields) {
    for (const LinePlan& entry : m_plans)
        if (entry.layout == layout) return entry.usable ? &entry.line : nullptr;
    LinePlan entry{std::string(layout), {}, false};
    entry.usable = entry.line.compile(layout) && entry.line.fieldCount() == fields;
    m_plans.push_back(std::move(entry));
    return m_plans.back().usable ? &m_plans.back().line : nullptr;
}

void PyFramework::point(std::string_view reportLayout, std::string_view soilLayout, int number, double y,
                        double p) {
    if (const ff::NumericLine* line = plan(reportLayout, 2))
        line->write(m_report, {y, p});
    else
        ff::formatTo(m_report, reportLayout, {y, p});
    if (const ff::NumericLine* line = plan(soilLayout, 3))
        line->write(m_soilData, {static_cast<double>(number), p, y});
    else
        ff::formatTo(m_soilData, soilLayout, {number, p, y});
}

void PyFramework::multipliersLine(double pm, double ym) {
    ff::formatTo(m_report, "(/,21X,' P-Multiplier = ',E10.3,' Y-Multiplier = ',E10.3)", {pm, ym});
}

void generateLayers(PyFramework& fw, const std::vector<Modifier>& modifiers) {
    std::string& report = fw.report();
    if (!modifiers.empty()) {
        ff::formatTo(report,
                     "(/,9X,'REDUCTION FACTORS FOR CLOSELY-SPACED WALL ELEMENTS',/,7X,'                      "
                     "           ',/,"
                     "7X,'      DEPTH     P-FACTOR     Y-FACTOR        ',/)");
        for (const Modifier& m : modifiers)
            ff::formatTo(report, "(12X,F7.2,4X,F6.2,6X,F6.2)", {m.depth, m.pMultiplier, m.yMultiplier});
    }
    ff::formatTo(report, "(/,/,8X,'P-Y CURVES DATA',/)");
    for (int layer = 0; layer < fw.layerCount(); ++layer) {
        switch (fw.layer(layer).type) {
            case 2:
                stiffClayWithFreeWater(fw, layer);
                break;
            case 3:
                stiffClayWithoutFreeWater(fw, layer);
                break;
            case 4:
                sand(fw, layer);
                break;
            case 5:
                silt(fw, layer);
                break;
            case 6:
                strongRock(fw, layer);
                break;
            case 7:
                weakRock(fw, layer);
                break;
            default:
                softClay(fw, layer);
                break;
        }
    }
}

}  // namespace engine::soil
