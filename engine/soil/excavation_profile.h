#pragma once
// The ground below the excavation as the p-y generator sees it: the layers below the excavation
// level and two depth tables (effective unit weight, strength parameters) with the interpolation
// functions the criteria query. Depths x are measured from the excavation surface, x = z - H.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/problem.h"
#include "engine/report.h"

namespace engine::soil {

struct ExcavationLayer {
    double xTop;     // [L]
    double xBottom;  // [L], cut two increments below the wall tip for the last layer
    int type;        // soil type 1..7
    double slot5;    // slot 5 of the top row: subgrade modulus k, or rock modulus Er (weak rock)
};

struct WeightPoint {
    double x;      // [L]
    double gamma;  // effective unit weight [F/L^3]
};

struct StrengthPoint {
    double x;         // [L]
    double cohesion;  // slot 2: c, or qu for rock [F/L^2]
    double phi;       // slot 3 [rad]
    double slot4;     // strain e50, or krm for weak rock
    double slot6;     // user coefficient, or RQD for weak rock
};

class ExcavationProfile {
public:
    /// Builds the profile from the soil block (H = soil.freeHeight), the increment length h [L] and
    /// the increment count NI, and appends SOIL LAYERS AND STRENGTH DATA to `report`. The report is
    /// kept by reference for the interpolation warnings; it must outlive the profile.
    /// With no layer below the excavation the tables are empty and every depth lies beyond them.
    ExcavationProfile(const SoilBlock& soil, double h, int increments, int unitSystem, const UnitLabels& u,
                      std::string& report);

    /// Layers of the profile, down to the one holding the cut at the wall tip.
    const std::vector<ExcavationLayer>& layers() const { return m_layers; }
    /// Unit-weight points of every layer below the excavation, the appended submerged pair included.
    const std::vector<WeightPoint>& weights() const { return m_weights; }
    /// Two strength points per layer of the profile.
    const std::vector<StrengthPoint>& strengths() const { return m_strengths; }
    double freeHeight() const { return m_freeHeight; }

    /// Cohesion [F/L^2] at x [L]; beyond the strength table a warning and stop code 1.
    double cohesionAt(double x) const;
    /// Friction angle [rad] at x [L]; beyond the strength table a warning and a stop without code.
    double frictionAt(double x) const;
    /// Slot 4 at x [L]; 0 beyond the strength table.
    double slot4At(double x) const;
    /// Slot 6 at x [L]; 0 beyond the strength table.
    double slot6At(double x) const;
    /// Mean effective unit weight [F/L^3] from the excavation surface down to x [L]; beyond the
    /// unit-weight table stop code 4.
    double meanUnitWeight(double x) const;

private:
    void build(const SoilBlock& soil, double h, int increments, double gammaWater);
    void writeReport(const UnitLabels& u) const;
    [[noreturn]] void beyondStrength(double x, std::string_view warningLayout, int stopCode) const;

    double m_freeHeight;
    std::vector<int> m_typesBelow;  // soil types of every input layer below the excavation
    std::vector<ExcavationLayer> m_layers;
    std::vector<WeightPoint> m_weights;
    std::size_t m_weightsBeforeAppend = 0;
    std::vector<StrengthPoint> m_strengths;
    std::string* m_report;
};

}  // namespace engine::soil
