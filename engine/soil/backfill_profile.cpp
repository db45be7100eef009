#include "engine/soil/backfill_profile.h"

#include <algorithm>
#include <cmath>

#include "engine/run_stop.h"
#include "engine/soil/constants.h"

namespace engine::soil {

namespace {

bool isDrained(int type) {
    return type >= 4 && type <= 7;
}

bool sameDepth(double a, double b) {
    return std::fabs(a - b) <= kDepthTolerance;
}

void frame(std::string& report, const char* title) {
    ff::formatTo(report, "(/,/,6X,50('*'),/,6X,A,/,6X,50('*'),/)", {title});
}

}  // namespace

BackfillProfile::BackfillProfile(const SoilBlock& soil, int unitSystem, const UnitLabels& u,
                                 std::string& report,
                                 const std::function<void(std::string&)>& writeSurcharges)
    : m_soil(soil), m_gammaWater(soil::gammaWater(unitSystem)) {
    const double H = soil.freeHeight;
    const double dwb = soil.waterBackfill;

    frame(report, "*                WALL INFORMATION                *");
    ff::formatTo(report,
                 "(/,6X,'FREE HEIGHT OF WALL                    = ',E10.3,A3,/,"
                 "6X,'WIDTH FOR EARTH PRESSURE, WA           = ',E10.3,A3,/,"
                 "6X,'WIDTH FOR SOIL RESISTANCE, WP          = ',E10.3,A3,/,"
                 "6X,'DEPTH TO THE WATER TABLE AT BACKFILL   = ',E10.3,A3,/,"
                 "6X,'DEPTH TO THE WATER TABLE AT EXCAVATION = ',E10.3,A3,/,"
                 "6X,'UNIT WEIGHT OF WATER                   = ',E10.3,A4,A1,A2,A2,A1,/,"
                 "6X,'SLOPE OF THE BACKFILL (deg.)           = ',E10.3,/,"
                 "6X,'MODIFICATION FOR ACTIVE EARTH PRESSURE = ',E10.3,/)",
                 {H, u.L, soil.widthActive, u.L, soil.widthResistance, u.L, dwb, u.L, soil.waterExcavation,
                  u.L, m_gammaWater, u.F, "/", u.L2, "**", "3", soil.backfillSlope, soil.activeFactor});
    writeSurcharges(report);

    // Special depths where entries are split: the water table and the excavation level, once each.
    std::vector<double> special;
    for (double d : {dwb, H})
        if (!sameDepth(d, 0.0) &&
            std::none_of(special.begin(), special.end(), [d](double s) { return sameDepth(s, d); }))
            special.push_back(d);
    std::sort(special.begin(), special.end());

    bool overflow = false;
    size_t next = 0;
    double previousBottom = 0.0;
    auto push = [&](const BackfillEntry& e) {
        if (static_cast<int>(m_entries.size()) >= kMaxBackfillEntries) {
            overflow = true;
            return false;
        }
        m_entries.push_back(e);
        return true;
    };
    for (const SoilLayer& layer : soil.layers) {
        if (overflow) break;
        BackfillEntry e;
        e.zTop = previousBottom;
        e.thickness = layer.bottom - previousBottom;
        previousBottom = layer.bottom;
        e.cohesion = layer.top[1];
        e.phi = layer.top[2];
        e.gamma = layer.top[0];
        e.drained = isDrained(layer.type);
        // Slot 6 of weak rock holds its RQD, not an earth-pressure coefficient.
        e.userCoefficient = layer.type == 7 ? 0.0 : layer.top[5];
        e.kaFactor = soil.activeFactor;
        for (;;) {
            const double zb = e.zTop + e.thickness;
            if (next >= special.size() || special[next] > zb + kDepthTolerance) {
                push(e);
                break;
            }
            const double sd = special[next];
            if (sameDepth(sd, zb)) {  // falls on the bottom: used up without a split
                ++next;
                push(e);
                break;
            }
            ++next;
            if (sd <= e.zTop + kDepthTolerance) continue;  // at the top of the entry: nothing to split
            BackfillEntry upper = e;
            upper.thickness = sd - e.zTop;
            if (!push(upper)) break;
            e.zTop = sd;
            e.thickness = zb - sd;
        }
    }
    for (size_t k = 0; k < m_entries.size(); ++k) {
        BackfillEntry& e = m_entries[k];
        e.belowWater = e.zTop >= dwb - kDepthTolerance;
        if (m_excavation < 0 && sameDepth(e.zTop, H)) m_excavation = static_cast<int>(k);
        if (m_water < 0 && sameDepth(e.zTop, dwb)) m_water = static_cast<int>(k);
    }
    if (!m_entries.empty()) m_bottom = m_entries.back().zTop + m_entries.back().thickness;

    frame(report, "*                SOIL INFORMATION                *");
    if (unitSystem == 1 || unitSystem == 2) {
        ff::formatTo(
            report,
            "(/,15X,'TOTAL',17X,'TOTAL UNIT',/,1X,6X,'LAYER THICKNESS COHESION  PHI   WEIGHT   DRAINED  "
            "ZTOP')");
        if (unitSystem == 1)
            ff::formatTo(report, "(7X,'NO.',5X,'IN',8X,'PSI',5X,'DEG',5X,'PCI',5X,'T OR F',3X,'IN')");
        else
            ff::formatTo(report, "(7X,'NO.',6X,'M ',7X,'kPa',5X,'DEG',3X,'kN/M^3',4X,'T OR F',3X,' M ')");
    }
    for (size_t k = 0; k < m_entries.size(); ++k) {
        const BackfillEntry& e = m_entries[k];
        ff::formatTo(report, "(7X,I3,F9.1,F11.1,F6.1,F9.3,5X,L1,F10.2)",
                     {static_cast<int>(k + 1), e.thickness, e.cohesion, e.phi, e.gamma,
                      ff::Arg::logical(e.drained), e.zTop});
    }
    if (overflow) stopSoil(2);
    if (m_excavation < 0) stopSoil(1);
}

void BackfillProfile::computeOverburden(std::string& report, const UnitLabels& u) {
    const double dwb = m_soil.waterBackfill;
    double total = m_soil.uniformSurcharge;
    for (size_t k = 0; k < m_entries.size(); ++k) {
        BackfillEntry& e = m_entries[k];
        if (k > 0) total += m_entries[k - 1].thickness * m_entries[k - 1].gamma;
        e.overburden = total;
        // Drained soil below the water table carries the pore pressure apart; clay keeps total stress.
        if (e.drained && e.belowWater) e.overburden -= (e.zTop - dwb) * m_gammaWater;
    }
    ff::formatTo(report, "(/,/,6X,50('*'),/,6X,A,/,6X,50('*'),/)",
                 {"*            EFFECTIVE OVERBURDEN STRESS         *"});
    ff::formatTo(report, "(/,6X,'          DEPTH                     STRESS       ')");
    ff::formatTo(report, "(16X,A3,22X,A4,A1,A2,A2,A1,/)", {u.L, u.F, "/", u.L2, "**", "2"});
    for (const BackfillEntry& e : m_entries)
        ff::formatTo(report, "(12X,E10.3,17X,E10.3)", {e.zTop, e.overburden});
}

}  // namespace engine::soil
