#pragma once
// The p-y curve generator's shared machinery: curve depths, the two sides, the layered-soil
// equivalent depth, the p- and y-multipliers and the output of half-curves to the report and the
// scratch file SOILDATA. The soil criteria (one per soil type) use it to generate their layers.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fixed_format.h"
#include "engine/problem.h"
#include "engine/report.h"
#include "engine/soil/excavation_profile.h"

namespace engine::soil {

/// Points of a half-curve, deflection increasing from 0.
inline constexpr int kHalfCurvePoints = 17;
/// Curves per layer below the excavation.
inline constexpr int kCurvesPerLayer = 5;

/// Which face of the wall a half-curve belongs to.
enum Side : int { kExcavationSide = 1, kBackfillSide = 2 };

class PyFramework {
public:
    /// `sigmaX`: the excavation overburden the run keeps [F/L^2]. `report` and `soilData` receive
    /// the report lines and the SOILDATA records.
    PyFramework(const SoilBlock& soil, const ExcavationProfile& profile,
                const std::vector<Modifier>& modifiers, int unitSystem, double sigmaX, std::string& report,
                std::string& soilData);

    // ---- the problem -------------------------------------------------------------------------
    const ExcavationProfile& profile() const { return m_profile; }
    const ExcavationLayer& layer(int layer) const { return m_profile.layers()[static_cast<size_t>(layer)]; }
    int layerCount() const { return static_cast<int>(m_profile.layers().size()); }
    int unitSystem() const { return m_unitSystem; }
    const UnitLabels& units() const { return m_units; }
    double freeHeight() const { return m_H; }        // H [L]
    double width() const { return m_b; }             // b = WP [L]
    double spacingRatio() const { return m_ratio; }  // r = WA/WP
    bool continuousWall() const;                     // r < 1.1
    double sigmaX() const { return m_sigmaX; }       // [F/L^2]
    std::string& report() { return m_report; }

    // ---- depths ------------------------------------------------------------------------------
    /// The five curve depths x of a layer [L].
    std::array<double, kCurvesPerLayer> curveDepths(int layer) const;
    /// Depth below the ground surface of a side: x on the excavation side, H + x behind the wall.
    double xs(Side side, double x) const { return side == kExcavationSide ? x : m_H + x; }
    /// Depth used by the resistance formulas: xs in the first layer, xs - xt + h_eq deeper down.
    /// The layer's equivalent depth must have been set before, for layers below the first.
    double xEff(int layer, Side side, double x) const;

    // ---- layered soil ------------------------------------------------------------------------
    /// True for layers whose equivalent depth must be set at their first curve (all but the first).
    bool needsEquivalentDepth(int layer) const { return layer > 0; }
    /// Ro: the resistance integrals of the layers above `layer` [F].
    double resistanceAbove(int layer) const;
    void setEquivalentDepth(int layer, double heq);
    double equivalentDepth(int layer) const { return m_equivalentDepth[static_cast<size_t>(layer)]; }
    /// Adds a curve's term to the layer's resistance integral [F].
    void addToIntegral(int layer, double term) { m_integral[static_cast<size_t>(layer)] += term; }
    double layerIntegral(int layer) const { return m_integral[static_cast<size_t>(layer)]; }

    // ---- multipliers -------------------------------------------------------------------------
    double pMultiplier(double z) const;
    double yMultiplier(double z) const;

    // ---- output ------------------------------------------------------------------------------
    /// (/,/,9X,'AT THE EXCAVATION SIDE') or the backfill-side line.
    void sideLine(Side side);
    /// SOILDATA header of a generated curve: depth z below the top of the wall and 34 points.
    void curveHeader(double z);
    /// One point of a half-curve: the report line in `reportLayout` with (y', p') and the SOILDATA
    /// record in `soilLayout` with (number, p', y').
    void point(std::string_view reportLayout, std::string_view soilLayout, int number, double y, double p);
    /// (/,21X,' P-Multiplier = ',E10.3,' Y-Multiplier = ',E10.3)
    void multipliersLine(double pm, double ym);

private:
    const ExcavationProfile& m_profile;
    const std::vector<Modifier>& m_modifiers;
    int m_unitSystem;
    UnitLabels m_units;
    double m_H, m_b, m_ratio, m_sigmaX;
    std::string& m_report;
    std::string& m_soilData;
    std::vector<double> m_integral;
    std::vector<double> m_equivalentDepth;

    // Point lines are the bulk of the output: their layouts are compiled once per generation.
    struct LinePlan {
        std::string layout;
        ff::NumericLine line;
        bool usable;
    };
    std::vector<LinePlan> m_plans;
    const ff::NumericLine* plan(std::string_view layout, size_t fields);
};

/// The criteria: each generates every curve of one layer, both sides, in the order of the curves.
void softClay(PyFramework& fw, int layer);
void stiffClayWithFreeWater(PyFramework& fw, int layer);
void stiffClayWithoutFreeWater(PyFramework& fw, int layer);
void sand(PyFramework& fw, int layer);
void silt(PyFramework& fw, int layer);
void strongRock(PyFramework& fw, int layer);
void weakRock(PyFramework& fw, int layer);

/// Generates the curves of every layer below the excavation, each by the criterion of its soil
/// type (types outside 1 to 7 as soft clay). Writes REDUCTION FACTORS and P-Y CURVES DATA.
void generateLayers(PyFramework& fw, const std::vector<Modifier>& modifiers);

}  // namespace engine::soil
