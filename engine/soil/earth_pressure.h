#pragma once
// Generated earth pressure on the back of the wall: Rankine coefficients, layer resultants, the
// net-pressure check and the pressure table (triangular, or the apparent trapezoid for anchored
// walls), handed to the run through the scratch file ZKTEMP.001.

#include <string>
#include <vector>

#include "engine/problem.h"
#include "engine/report.h"

namespace engine::soil {

class BackfillProfile;
class Surcharges;

/// One row of the generated table: depth z [L] and pressures per unit width [F/L^2].
struct GeneratedRow {
    double depth, total, soil, surcharge;
};

/// What the generator needs beyond the soil block.
struct EarthPressureInput {
    const SoilBlock& soil;
    int unitSystem;
    int pressureOption;  // 2 triangular, 3 trapezoidal
    double wallLength;   // NI*h [L]
    int supportCount;
    double firstSupportDepth;  // [L]
    double lastSupportDepth;   // [L]
};

/// The table and what the run keeps of it.
struct EarthPressureResult {
    std::vector<GeneratedRow> rows;  // every computed row
    int rowCount = 0;                // rows down to the wall tip: the count the file announces
    double excavationOverburden = 0.0;
    double activeForce = 0.0;  // P above the excavation [F/L]
};

/// Rankine's active coefficient for a backfill slope beta [deg] and friction angle phi [deg];
/// `warn` is set when the slope is not less than the friction angle (the flat value is kept).
void activeCoefficient(double phi, double beta, double& ka, double& sqrtKa, bool& warn);

/// Computes the table and writes the report sections from WALL INFORMATION to the net check.
/// `notes` receives the slope warning as well.
EarthPressureResult generateEarthPressureTable(const EarthPressureInput& in, const Surcharges& surcharges,
                                               std::string& report, std::string& notes);

/// Writes the table in the scratch-file layout.
void writePressureScratch(const std::string& path, const EarthPressureResult& result);

/// Largest number of rows a generated table may hold.
inline constexpr size_t kMaxPressureRows = 100000;

}  // namespace engine::soil
