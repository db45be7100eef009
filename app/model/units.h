#pragma once
// Unit labels: short strings over the force letter F and the length letter L (each with an optional
// variant digit and power), joined by "-" and at most one "/", such as 'F/L2^3'. A label gives a display
// text per unit system and the factor that turns an SI value into an English one.

#include <string>
#include <string_view>

namespace app::model {

/// Unit systems of a problem.
inline constexpr int kUnitsEnglish = 1;
inline constexpr int kUnitsSI = 2;
/// Deflection graphs of SI runs read in millimetres: their values are the metres of the results times
/// this (1 for English runs, whose deflections are in inches).
[[nodiscard]] inline long double DeflectionShownScale(int unitSystem) {
    return unitSystem == kUnitsSI ? 1000.0L : 1.0L;
}
inline constexpr int kUnitsOther = 3;  // consistent F and L, never converted

/// English lengths are stored in inches and shown in feet; other systems show lengths as stored.
inline constexpr long double kInchesPerFoot = 12.0L;

/// Stored length units per shown one: 12 in English units (inches per foot), 1 otherwise.
[[nodiscard]] constexpr long double LengthScale(int unitSystem) noexcept {
    return unitSystem == kUnitsEnglish ? kInchesPerFoot : 1.0L;
}
/// A stored length [in or m] as shown [ft or m].
[[nodiscard]] constexpr long double ShownLength(long double stored, int unitSystem) noexcept {
    return stored / LengthScale(unitSystem);
}
/// A shown length [ft or m] as stored [in or m].
[[nodiscard]] constexpr long double StoredLength(long double shown, int unitSystem) noexcept {
    return shown * LengthScale(unitSystem);
}

/// Display text of `label` in `unitSystem` (1, 2 or 3; anything else reads as English):
/// 'F/L2^3' gives "lbs/ft^3", "kN/m^3" or "F/L^3".
[[nodiscard]] std::string UnitText(std::string_view label, int unitSystem);

/// Unit text of a numeric field's label: in system 3 the label itself; otherwise only the first force
/// form present (looked for as F6, F5, F4, F2, F1, F) and the first length form present (L2, L1, L3, L)
/// are replaced, each wherever it occurs: 'F/L2^2' reads "lbs/ft^2" in English units.
[[nodiscard]] std::string EditUnitText(std::string_view label, int unitSystem);

/// SI value × factor = English value. Labels without a letter ('DEG.', 'SEE NOTES', '') give 1.
[[nodiscard]] long double UnitFactor(std::string_view label);

/// `value` stored in `from` units, held in `to` units: multiplied by the label's factor from SI to
/// English, divided by it from English to SI, unchanged by any other change (unit system 3).
[[nodiscard]] long double ConvertUnits(long double value, std::string_view label, int from, int to);

}  // namespace app::model
