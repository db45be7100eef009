#include "engine/soil/earth_pressure.h"

#include <cmath>
#include <cstdio>

#include "engine/output_file.h"
#include "engine/run_stop.h"
#include "engine/soil/backfill_profile.h"
#include "engine/soil/constants.h"
#include "engine/soil/surcharge.h"
#include "engine/stations.h"

namespace engine::soil {

namespace {

constexpr double kUserCoefficientMin = 1.0e-7f;
constexpr double kNegligiblePressure = 1.0e-5f;  // totals and soil parts below this are not written
constexpr double kRowMarker = 1.0e-12f;          // ... but this times the row number instead
constexpr double kNoSurcharge = 1.0e-6f;

void frame(std::string& report, const char* title) {
    ff::formatTo(report, "(/,/,6X,50('*'),/,6X,A,/,6X,50('*'),/)", {title});
}

void flatRankine(double phi, double& ka, double& sqrtKa) {
    sqrtKa = std::tan((45.0 - 0.5 * phi) / kDegreesPerRadian);
    ka = sqrtKa * sqrtKa;
}

}  // namespace

void activeCoefficient(double phi, double beta, double& ka, double& sqrtKa, bool& warn) {
    flatRankine(phi, ka, sqrtKa);
    warn = false;
    if (std::fabs(beta) > 0.0) {
        if (std::fabs(beta) >= phi) {
            warn = true;
        } else {
            const double cb = std::cos(beta / kDegreesPerRadian);
            const double cp = std::cos(phi / kDegreesPerRadian);
            const double d = std::sqrt(cb * cb - cp * cp);
            ka = cb * (cb - d) / (cb + d);
            sqrtKa = std::sqrt(ka);
        }
    }
}

EarthPressureResult generateEarthPressureTable(const EarthPressureInput& in, const Surcharges& surcharges,
                                               std::string& report, std::string& notes) {
    const UnitLabels u = UnitLabels::forSystem(in.unitSystem);
    const SoilBlock& soil = in.soil;
    BackfillProfile profile(soil, in.unitSystem, u, report,
                            [&](std::string& out) { surcharges.writeInformation(out, u); });
    profile.computeOverburden(report, u);
    std::vector<BackfillEntry>& entries = profile.entries();
    const int nl = static_cast<int>(entries.size());
    const int exc = profile.excavationEntry();
    const double H = soil.freeHeight;
    const double dwb = soil.waterBackfill;
    const double gw = profile.gammaWater();
    const double q = soil.uniformSurcharge;

    // Coefficients.
    // One layout: the frame's closing '/' and the heading's own '/' make a single empty line.
    ff::formatTo(report,
                 "(/,/,6X,50('*'),/,6X,'* ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT  *',/,6X,50('*'),/,/,"
                 "6X,'  LAYER         ACTIVE EARTH     PASSIVE EARTH   ',/,"
                 "6X,'   NO.          COEFFICIENT      COEFFICIENT     ')");
    for (int k = 0; k < nl; ++k) {
        BackfillEntry& e = entries[static_cast<size_t>(k)];
        bool warn = false;
        activeCoefficient(e.phi, soil.backfillSlope, e.ka, e.sqrtKa, warn);
        e.sqrtKp = std::tan((45.0 + 0.5 * e.phi) / kDegreesPerRadian);
        e.kp = e.sqrtKp * e.sqrtKp;
        if (warn && k < exc) {
            const char* warning =
                "(/,/,'**** WARNING ******',/,'THE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE ''INTERNAL "
                "FRICTION ANGLE OF SAND.')";
            ff::formatTo(notes, warning);
            ff::formatTo(report, warning);
        }
        ff::formatTo(report, "(10X,I2,9X,E10.3,8X,E10.3)", {k + 1, e.ka, e.kp});
        if (e.userCoefficient > kUserCoefficientMin) {
            e.ka = e.userCoefficient;
            e.sqrtKa = 0.0;
        }
    }

    // Layer resultants above the excavation.
    frame(report, "*      ACTIVE EARTH PRESSURE OF EACH LAYER       *");
    ff::formatTo(report, "(6X,' LAYER    PA1     Z1       PA2     Z2         PA3     Z3','        PA4')");
    ff::formatTo(
        report,
        "(6X,'  "
        "NO',1X,A4,A1,A2,A2,A1,2X,A3,2X,A4,A1,A2,A2,A1,2X,A3,4X,A4,A1,A2,A2,A1,2X,A3,4X,A4,A1,A2,A2,A1,/)",
        {u.F, "/", u.L2, "**", "2", u.L, u.F, "/", u.L2, "**", "2", u.L,
         u.F, "/", u.L2, "**", "2", u.L, u.F, "/", u.L2, "**", "2"});
    auto effectiveWeight = [gw](const BackfillEntry& e) {
        return e.drained && e.belowWater ? e.gamma - gw : e.gamma;
    };
    for (int k = 0; k < exc; ++k) {
        BackfillEntry& e = entries[static_cast<size_t>(k)];
        const BackfillEntry& below = entries[static_cast<size_t>(k + 1)];
        const double t = e.thickness, f = e.kaFactor, c = e.cohesion;
        e.pa1 = e.overburden * e.ka * t * f + surcharges.singleForce(e.zTop, t);
        e.pa2 = 0.5 * effectiveWeight(e) * t * t * e.ka * f;
        e.pa3 = -2.0 * c * e.sqrtKa * t * f;
        e.z1 = e.zTop + t / 2.0;
        e.z2 = e.zTop + 2.0 * t / 3.0;
        if (e.pa1 + e.pa3 < 0.0) {  // tension at the top: only the part below the tension crack acts
            e.pa1 = e.pa2 = e.pa3 = 0.0;
            const double a = 2.0 * c * e.sqrtKa - e.overburden * e.ka;
            const double b = below.overburden * e.ka - 2.0 * c * e.sqrtKa;
            e.tensionFree = a + b != 0.0 ? b * t / (a + b) : 0.0;
            e.pa4 = b <= 0.0 ? 0.0 : f * e.tensionFree * b / 2.0;
            e.z3 = below.zTop - e.tensionFree / 3.0;
        }
        ff::formatTo(report, "(6X,I2,3(1X,F10.2,1X,F6.2),1X,F10.2)",
                     {k + 1, e.pa1, e.z1, e.pa2, e.z2, e.pa3, e.z3, e.pa4});
    }

    // Water resultants between the water table and the excavation.
    const int water = profile.waterEntry();
    if (water >= 0 && water < exc) {
        frame(report, "*      ACTIVE WATER PRESSURE OF EACH LAYER       *");
        ff::formatTo(
            report,
            "(6X,' LAYER    PW1     Z1       PW2     Z2                ',/,6X,'  NO             ',/)");
        for (int k = water; k < exc; ++k) {
            BackfillEntry& e = entries[static_cast<size_t>(k)];
            if (!e.drained || e.zTop < dwb - kDepthTolerance) continue;
            e.pw1 = (e.zTop - dwb) * gw * e.thickness;
            e.pw2 = 0.5 * gw * e.thickness * e.thickness;
            ff::formatTo(report, "(6X,I2,2(1X,F10.2,1X,F6.2))", {k + 1, e.pw1, e.z1, e.pw2, e.z2});
        }
    }

    double net = 0.0;
    for (int k = 0; k < exc; ++k) {
        const BackfillEntry& e = entries[static_cast<size_t>(k)];
        net += e.pa1 + e.pa2 + e.pa3 + e.pa4 + e.pw1 + e.pw2;
    }
    if (net < kNegligiblePressure) {
        const char* message = "(/,/,5X,'Net active pressure is negative.',/)";
        std::string text;
        ff::formatTo(text, message);
        std::fputs(text.c_str(), stderr);
        report += text;
    }

    // The pressure table, m rows per unit length.
    EarthPressureResult result;
    result.excavationOverburden = profile.excavationOverburden();
    const double m = in.unitSystem == 2 ? 20.0 : 1.0;
    const BackfillEntry& first = entries.front();
    const double surface = q * first.ka * first.kaFactor;
    result.rows.push_back({0.0, surface, 0.0, q == 0.0 ? 0.0 : surface});
    long long announced = 1;
    double previousTotal = 0.0;
    double force = 0.0;
    const double sigmaX = profile.excavationOverburden();
    for (int k = 0; k < nl; ++k) {
        const BackfillEntry& e = entries[static_cast<size_t>(k)];
        const double t = e.thickness, f = e.kaFactor, c = e.cohesion;
        const bool above = k < exc;
        const double gwEntry = e.drained && e.belowWater ? gw : 0.0;
        double slope = 0.0, constant = 0.0, share = 0.0;
        if (above) {
            slope = gwEntry + effectiveWeight(e) * e.ka * f;
            constant = (e.zTop - dwb) * gwEntry + e.overburden * e.ka * f - 2.0 * c * e.sqrtKa * f;
            share = q < kNoSurcharge ? 0.0 : (e.zTop - dwb) * gwEntry + q * e.ka * f - 2.0 * c * e.sqrtKa * f;
        } else {
            // Below the excavation the overburden stays that of the excavation level, with the
            // flat-backfill coefficient and no user coefficient.
            double ka, sqrtKa;
            flatRankine(e.phi, ka, sqrtKa);
            constant = sigmaX * ka * f - 2.0 * c * sqrtKa * f;
            share = q < kNoSurcharge ? 0.0 : q * ka * f - 2.0 * c * sqrtKa * f;
        }
        const double rowsWanted = std::nearbyint(t * m);
        const double tipLength = k == nl - 1 ? in.wallLength - e.zTop : t;
        announced += nearestInt(tipLength * m);
        if (!(rowsWanted <= static_cast<double>(kMaxPressureRows)) ||
            result.rows.size() + static_cast<size_t>(rowsWanted > 0 ? rowsWanted : 0) > kMaxPressureRows)
            stopTooMuchData();
        const int n = static_cast<int>(rowsWanted);
        for (int j = 1; j <= n; ++j) {
            const double zeta = j * t / n;
            const double z = e.zTop + zeta;
            const double r = static_cast<double>(result.rows.size() + 1);
            const double sigmaS = surcharges.anyListed() ? surcharges.pressureAt(z) : 0.0;
            const double p = slope * zeta + constant;
            double total = p + sigmaS;
            if (total < kNegligiblePressure) total = r * kRowMarker;
            const double soilPart = (p < kNegligiblePressure ? r * kRowMarker : p) - share;
            result.rows.push_back({z, total, soilPart, sigmaS + share});
            if (above) {
                force += (previousTotal + total) / (2.0 * m);
                previousTotal = total;
            }
        }
    }
    result.activeForce = force;
    // The file announces the rows down to the wall tip; never more than were computed, so the
    // reader cannot run past the written rows when the tip lies below the profile.
    if (announced > static_cast<long long>(result.rows.size()))
        announced = static_cast<long long>(result.rows.size());
    if (announced < 1) announced = 1;
    result.rowCount = static_cast<int>(announced);

    if (in.pressureOption == 3) {
        if (in.supportCount < 1) {
            // The apparent diagram hangs from the supports; without one there is none to draw.
            ff::formatTo(report,
                         "(/,/,5X,'WARNING -- THE APPARENT (TRAPEZOIDAL) PRESSURE NEEDS A SUPPORT;',/,"
                         "5X,'           THE TRIANGULAR DISTRIBUTION IS USED.')");
        } else {
            const double h1 = in.firstSupportDepth, hn = in.lastSupportDepth;
            const double a = 2.0 * h1 / 3.0;
            double b, middle, pmax;
            if (in.supportCount == 1) {
                b = 2.0 * (H - h1) / 3.0;
                middle = H / 3.0;
                pmax = kApparentPressureFactor * force * 3.0 / (2.0 * H);
            } else {
                b = 2.0 * (H - hn) / 3.0;
                middle = H - a - b;
                pmax = kApparentPressureFactor * force / (H - (a + b) / 3.0);
            }
            const double e = a + middle;
            if (std::isfinite(pmax)) {
                for (size_t i = 1; i < result.rows.size(); ++i) {
                    GeneratedRow& row = result.rows[i];
                    const double z = row.depth;
                    if (z > H + kDepthTolerance) break;
                    if (z < a)
                        row.total = pmax * z / a;
                    else if (z <= e)
                        row.total = pmax;
                    else
                        row.total = b != 0.0 ? pmax - (z - e) * pmax / b : 0.0;
                }
            }
        }
    }
    return result;
}

void writePressureScratch(const std::string& path, const EarthPressureResult& result) {
    OutputFile file;
    if (!file.open(path)) stopDataFault("THE SCRATCH FILE ZKTEMP.001 CANNOT BE WRITTEN");
    std::string& out = file.buffer();
    out += ' ' + std::to_string(result.rowCount) + '\n';
    static const ff::NumericLine row = [] {
        ff::NumericLine line;
        line.compile("(5X,E10.3,4X,E10.3,4X,E10.3,4X,E10.3)");
        return line;
    }();
    for (const GeneratedRow& r : result.rows)
        row.write(out, {r.depth, r.total, r.soil, r.surcharge});
    file.close();
}

}  // namespace engine::soil
