#pragma once
// Lateral pressure on the wall from point, line and strip loads on the backfill surface: the
// pressure of one load at a depth, the sum over the listed loads on the sampling grid of the wall,
// the force of the single surcharge over a layer entry, and the SURCHARGE INFORMATION report section.

#include <string>
#include <vector>

#include "engine/problem.h"
#include "engine/report.h"

namespace engine::soil {

/// Lateral pressure [F/L^2] of one load at depth z below the top of the wall. `forEntryForce` selects the
/// constants of the surcharge force over an entry (kappa = 1.273, lambda = 0.6366) instead of those of the
/// pressure at a depth (kappa = 4/3.1416, lambda = 2/3.1416). H is the free height of the wall record.
/// Type 2 is a line load, 3 a strip load, and any other code a point load. H <= 0 or z <= 0 gives 0.
double loadPressure(int type, double magnitude, double distance, double width, double z, double H,
                    bool forEntryForce);

class Surcharges {
public:
    /// `H`: free height of the wall record; `wallLength`: NI*h. The single surcharge starts as the surface
    /// record's five values and is replaced by the listed records in order (as the report section does).
    Surcharges(const SoilBlock& soil, double H, double wallLength);
    /// SURCHARGE INFORMATION (appended to `report`).
    void writeInformation(std::string& report, const UnitLabels& u) const;
    /// Sum over the listed loads on the 200-slice grid of the wall length.
    double pressureAt(double z) const;
    /// Surcharge force of the single surcharge over an entry with top zTop and thickness t [F/L].
    double singleForce(double zTop, double t) const;
    bool anyListed() const { return !m_listed.empty(); }

private:
    /// The single surcharge: one distance with a point load, a line load and a strip load.
    struct Single {
        double distance = 0.0;
        double point = 0.0;  // F
        double line = 0.0;   // F/L
        double strip = 0.0;  // F/L^2
        double width = 0.0;  // strip width [L]
    };

    std::vector<Surcharge> m_listed;
    Single m_single;
    double m_uniform;
    double m_H;
    double m_wallLength;
    std::vector<double> m_slicePressure;  // sum over the listed loads at slice i
};

}  // namespace engine::soil
