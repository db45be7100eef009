#pragma once
// The ground behind the wall as the earth-pressure generator sees it: the input layers from the top
// of the wall down, split at the backfill water table and at the excavation level, with the
// effective overburden stress at the top of every entry.

#include <functional>
#include <string>
#include <vector>

#include "engine/problem.h"
#include "engine/report.h"

namespace engine::soil {

struct BackfillEntry {
    double thickness = 0.0;  // [L]
    double zTop = 0.0;       // ZTOP [L]
    double cohesion = 0.0;   // slot 2 of the top row [F/L^2]
    double phi = 0.0;        // slot 3 [deg]
    double gamma = 0.0;      // total unit weight, slot 1 [F/L^3]
    bool drained = false;
    double userCoefficient = 0.0;  // slot 6: an active coefficient given by the user, 0 for none
    double kaFactor = 1.0;
    bool belowWater = false;
    double overburden = 0.0;  // effective vertical stress at the top [F/L^2]

    // Results of the earth-pressure generator.
    double ka = 0.0, sqrtKa = 0.0, kp = 0.0, sqrtKp = 0.0;
    double pa1 = 0.0, pa2 = 0.0, pa3 = 0.0, pa4 = 0.0;
    double z1 = -1000.0, z2 = -1000.0, z3 = -1.0e-5f;
    double pw1 = 0.0, pw2 = 0.0;
    double tensionFree = 0.0;
};

/// Largest number of entries of the table.
inline constexpr int kMaxBackfillEntries = 21;

class BackfillProfile {
public:
    /// Splits the layers of `soil` and writes WALL INFORMATION, SURCHARGE INFORMATION (through
    /// `writeSurcharges`) and SOIL INFORMATION. Stops the run (codes 2 and 1) when the table
    /// overflows or no entry starts at the free height.
    BackfillProfile(const SoilBlock& soil, int unitSystem, const UnitLabels& u, std::string& report,
                    const std::function<void(std::string&)>& writeSurcharges);

    /// Fills the overburden of every entry and writes EFFECTIVE OVERBURDEN STRESS.
    void computeOverburden(std::string& report, const UnitLabels& u);

    std::vector<BackfillEntry>& entries() { return m_entries; }
    const std::vector<BackfillEntry>& entries() const { return m_entries; }
    int excavationEntry() const { return m_excavation; }  // index into entries()
    int waterEntry() const { return m_water; }            // -1: none
    double bottom() const { return m_bottom; }            // ZTOP of the entry after the last
    double excavationOverburden() const { return m_entries[static_cast<size_t>(m_excavation)].overburden; }
    double gammaWater() const { return m_gammaWater; }

private:
    const SoilBlock& m_soil;
    std::vector<BackfillEntry> m_entries;
    int m_excavation = -1;
    int m_water = -1;
    double m_bottom = 0.0;
    double m_gammaWater = 0.0;
};

}  // namespace engine::soil
