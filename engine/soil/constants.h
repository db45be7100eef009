#pragma once
// Decimal constants of the soil computations. They are single-precision values used in double
// arithmetic (0.036 acts as 0.035999998450279236), which keeps the printed digits of every
// generated table stable; integers and binary fractions are exact anyway.

namespace engine::soil {

inline constexpr double kGammaWaterEnglish = 0.036f;  // [lb/in^3], also for consistent units
inline constexpr double kGammaWaterSI = 9.81f;        // [kN/m^3]
inline constexpr double kDegreesPerRadian = 57.2958f;
inline constexpr double kPi = 3.1416f;  // the soil formulas' pi; the silt criterion alone uses 4 atan(1)
inline constexpr double kDepthTolerance = 1.0e-5f;  // two depths closer than this are equal [L]
inline constexpr double kTiny = 1.0e-20f;           // a table value below this counts as absent
inline constexpr double kNegligible = 1.0e-6f;      // a depth [L] or a strain this small counts as zero
inline constexpr double kApparentPressureFactor = 1.3f;

/// Unit weight of water of a unit system [F/L^3].
constexpr double gammaWater(int unitSystem) {
    return unitSystem == 2 ? kGammaWaterSI : kGammaWaterEnglish;
}

}  // namespace engine::soil
