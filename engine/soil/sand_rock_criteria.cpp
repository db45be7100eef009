// The p-y criteria of the drained soils: sand, silt (a c-phi soil: the sand resistance plus a
// cohesive part), strong rock (brittle, on half the uniaxial strength) and weak rock. Each walks the
// curves of one layer, both sides, and writes them through the p-y framework.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

#include "engine/fixed_format.h"
#include "engine/run_stop.h"
#include "engine/soil/constants.h"
#include "engine/soil/py_framework.h"

namespace engine::soil {

// Pieces of the sand and silt curves that the tests reach directly.
namespace sandrock {
/// Factor A of the ultimate resistance at the depth ratio d/b.
double coefficientA(double depthRatio);
/// Factor B of the resistance at the end of the parabola at the depth ratio d/b.
double coefficientB(double depthRatio);
/// Resistance [F/L] at deflection y [L] of a sand or silt half-curve with ultimate resistance pu,
/// resistance pMid at b/60, width b, subgrade modulus k [F/L^3] and depth x_eff [L].
double sandResistance(double y, double pu, double pMid, double b, double k, double xEff);
}  // namespace sandrock

namespace {

using sandrock::coefficientA;
using sandrock::coefficientB;
using sandrock::sandResistance;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// ---- sand and silt -----------------------------------------------------------------------------

constexpr double kK0 = 0.4f;                    // earth-pressure coefficient at rest
constexpr double kSiltWallFriction = 0.17453f;  // [rad] (10 degrees), continuous silt wall
constexpr double kNoShift = 1.0e-5f;            // a shift below this is none [F/L]
constexpr double kNoFriction = 1.0e-10f;        // sin^2(phi) below this: no friction angle
constexpr int kSandSteps = 100;                 // steps of the equivalent-depth integration
constexpr int kSiltSteps = 50;

// A and B against d/b; linear between points. The last segment, extended beyond 6, is flat.
constexpr std::array<double, 10> kDepthRatios = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
constexpr std::array<double, 10> kA = {2.83f, 2.48f, 2.11f, 1.76f, 1.48f, 1.23f, 1.06f, 0.90f, 0.88f, 0.88f};
constexpr std::array<double, 10> kB = {2.14f, 1.83f, 1.54f, 1.27f, 1.05f, 0.86f, 0.71f, 0.53f, 0.50f, 0.50f};
static_assert(kA[8] == kA[9] && kB[8] == kB[9], "beyond the table the last value holds");
// A beyond the end of the integration, used to extend the layer's resistance below xr.
constexpr double kADeep = kA.back();

double tableAt(const std::array<double, 10>& values, double ratio) {
    if (!(ratio > 0.0)) return values.front();  // d/b is never negative
    for (std::size_t i = 1; i < kDepthRatios.size(); ++i) {
        if (ratio <= kDepthRatios[i]) {
            const double r0 = kDepthRatios[i - 1];
            return values[i - 1] + (values[i] - values[i - 1]) * (ratio - r0) / (kDepthRatios[i] - r0);
        }
    }
    return values.back();
}

/// d/b; a wall of no width lies deeper than the table at any depth.
double depthRatio(double depth, double b) {
    return b > 0.0 ? depth / b : kInfinity;
}

/// The angle functions of one friction angle with a criterion's pi.
struct Angles {
    double phi, alpha, beta, ka, kp;
    Angles(double frictionAngle, double pi)
        : phi(frictionAngle),
          alpha(frictionAngle / 2.0),
          beta(pi / 4.0 + frictionAngle / 2.0),
          ka(std::pow(std::tan(pi / 4.0 - frictionAngle / 2.0), 2)),
          kp(std::pow(std::tan(pi / 4.0 + frictionAngle / 2.0), 2)) {}
};

struct WedgeFlow {
    double pst;  // wedge resistance [F/L]
    double psd;  // flow-around resistance [F/L]
};

WedgeFlow wedgeFlow(const Angles& a, double gamma, double b, double x) {
    const double tanPhi = std::tan(a.phi), sinBeta = std::sin(a.beta), tanBeta = std::tan(a.beta);
    const double tanAlpha = std::tan(a.alpha), cosAlpha = std::cos(a.alpha),
                 tanBetaPhi = std::tan(a.beta - a.phi);
    const double pst = gamma * x *
                       (kK0 * x * tanPhi * sinBeta / (tanBetaPhi * cosAlpha) +
                        tanBeta / tanBetaPhi * (b + x * tanBeta * tanAlpha) +
                        kK0 * x * tanBeta * (tanPhi * sinBeta - tanAlpha) - a.ka * b);
    const double psd = a.ka * b * gamma * x * (std::pow(tanBeta, 8) - 1.0) +
                       kK0 * b * gamma * x * tanPhi * std::pow(tanBeta, 4);
    return {pst, psd};
}

/// Frictional resistance [F/L]: the smaller of wedge and flow; for a continuous wall the passive
/// pressure of a vertical wall with wall friction delta over the depth xs. Where that coefficient
/// is unbounded (sin(phi + delta) sin(phi) >= cos(delta), friction angles of 60 degrees and more
/// for sand), the wall is taken as single elements.
double frictionalResistance(const WedgeFlow& wf, bool continuous, double phi, double delta, double gamma,
                            double b, double xs) {
    if (continuous) {
        const double root = std::sqrt(std::sin(phi + delta) * std::sin(phi) / std::cos(delta));
        if (root < 1.0) {
            const double kpc = std::pow(std::cos(phi), 2) / (std::cos(delta) * std::pow(1.0 - root, 2));
            return b * kpc * gamma * xs;
        }
    }
    return std::min(wf.pst, wf.psd);
}

/// Equivalent depth of a sand (c = 0) or silt layer: the depth at which the integral of the layer's
/// own ultimate resistance, with its values at the first curve (x1), reaches `ro`.
double frictionalEquivalentDepth(const Angles& a, double gamma, double c, double b, double x1, double ro,
                                 bool silt) {
    const double tanPhi = std::tan(a.phi), sinBeta = std::sin(a.beta), tanBeta = std::tan(a.beta);
    const double tanAlpha = std::tan(a.alpha), cosAlpha = std::cos(a.alpha);
    const double c1 =
        tanBeta * (kK0 * (tanPhi * sinBeta * (1.0 / cosAlpha + 1.0) - tanAlpha) + a.kp * tanAlpha);
    const double c2 = a.kp - a.ka;
    const double c3 = a.kp * a.kp * (a.kp + kK0 * tanPhi) - a.ka;
    const double g = gamma * b * b;
    // Without friction (c1 = 0) or width there is no frictional resistance to integrate; what the
    // rounded pi leaves in c3 then is noise, not resistance.
    const bool frictional = c1 > 0.0 && b > 0.0;
    double xr = frictional ? (c3 - c2) * b / c1 : 0.0;
    if (!(xr > 0.0)) xr = 0.0;
    const int steps = silt ? kSiltSteps : kSandSteps;
    double s = 0.0;
    if (xr > 0.0) {
        const double dx = xr / steps;
        for (int i = 1; i <= steps; ++i) {
            const double xi = i * dx;
            const double r = xi / b;
            const double before = s;
            double term = g * coefficientA(r) * (c1 * r * r + c2 * r);
            if (silt) term += 0.5 * c * xi + gamma * b * xi + 3.0 * c * b;
            s += term * dx;
            if (s > ro) return xi - (s - ro) * dx / (s - before);  // s > before here
        }
    }
    // Below xr the resistance grows by this much per unit depth; a layer that gains none (no
    // weight, no width, no strength) starts at xr.
    double rate = frictional ? kADeep * c3 * gamma * b * x1 : 0.0;
    if (silt) rate += 9.0 * c * b;
    if (!(rate > 0.0)) return xr;
    return xr + (ro - s) / rate;
}

constexpr std::string_view kSandHeading =
    "(/,/,11X,'DEPTH BELOW GS',2X,'DIAM',3X,'PHI',2X,'GAMMA AVG',4X,'A',4X,'B',5X,'PCT',7X,'PCD',/,"
    "17X,A2,9X,A2,9X,A3,A1,A2,A2,A1,/,10X,F10.2,4X,2F7.2,E9.2,2X,2F5.2,2E9.2,/,/,38X,'Y',19X,'P',/,"
    "38X,A2,15X,A3,A1,A2)";
// The last heading is 'P', 'u' and the byte 0xED.
constexpr std::string_view kSiltHeading =
    "(/,/,5X,'DEPTH',6X,'DIAM',6X,'PHI',2X,'GAMMA AVG',8X,'A',9X,'B',5X,'Puc',7X,'Pu\xED"
    "',/,7X,A2,8X,A2,12X,A3,A1,A2,A2,A1,/,2F10.2,F10.1,E10.3,2F10.2,2E10.3,/,/,37X,'Y',19X,'P',/,"
    "37X,A2,16X,A3,A1,A2)";
constexpr std::string_view kSiltNoFriction =
    "(/,/,7X,'WARNING-------The Angle of the slope can not',/,"
    "7X,'              be greater than the internal  ',/,"
    "7X,'              friction angle of the sand.   ',/)";

/// Writes a warning to the console and ends the run with it (no stop code).
[[noreturn]] void stopWithWarning(std::string_view layout) {
    const std::string warning = ff::format(layout);
    std::fputs(warning.c_str(), stderr);
    stopSoil(0, warning);
}

/// Sand (silt = false) and silt: both sides of every curve of the layer.
void frictionalLayer(PyFramework& fw, int layer, bool silt) {
    const ExcavationProfile& profile = fw.profile();
    const UnitLabels& u = fw.units();
    const double b = fw.width();
    const double k = fw.layer(layer).slot5;
    const double pi = silt ? 4.0 * std::atan(1.0) : kPi;  // silt alone takes pi at full precision
    const std::array<double, kCurvesPerLayer> depths = fw.curveDepths(layer);
    double puAbove = 0.0;  // pu of the previous curve, excavation side

    for (int curve = 0; curve < kCurvesPerLayer; ++curve) {
        const double x = depths[static_cast<std::size_t>(curve)];
        const double c = silt ? profile.cohesionAt(x) : 0.0;
        const double phi = profile.frictionAt(x);
        const double gamma = profile.meanUnitWeight(x);
        if (silt && std::pow(std::sin(phi), 2) < kNoFriction) stopWithWarning(kSiltNoFriction);
        const Angles angles(phi, pi);
        const double delta = silt ? kSiltWallFriction : phi / 2.0;  // wall friction, continuous wall

        if (curve == 0 && fw.needsEquivalentDepth(layer))
            fw.setEquivalentDepth(
                layer, frictionalEquivalentDepth(angles, gamma, c, b, x, fw.resistanceAbove(layer), silt));

        double shift = fw.sigmaX() * angles.ka * b;
        if (silt) shift -= 2.0 * c * std::sqrt(angles.ka) * b;
        if (shift < kNoShift) shift = 0.0;

        const double z = fw.freeHeight() + x;
        const double pMult = fw.pMultiplier(z);
        const double yMult = fw.yMultiplier(z);

        for (const Side side : {kExcavationSide, kBackfillSide}) {
            const double xs = fw.xs(side, x);
            const double xEff = fw.xEff(layer, side, x);
            const WedgeFlow wf = wedgeFlow(angles, gamma, b, xEff);
            const double ps = frictionalResistance(wf, fw.continuousWall(), phi, delta, gamma, b, xs);
            // Cohesive part of silt; a soil without cohesion has none.
            double pc = 0.0;
            if (silt && c > 0.0) {
                if (fw.continuousWall())
                    pc = (gamma * xs + 2.0 * c) * b;
                else if (b > 0.0)
                    pc = c * b * std::min(3.0 + gamma * xEff / c + 0.5 * xEff / b, 9.0);
            }
            const double ratio = depthRatio(silt ? xEff : xs, b);
            const double a = coefficientA(ratio);
            const double bFactor = coefficientB(ratio);
            const double pu = a * ps + pc;
            const double pMid = bFactor * ps + pc;

            if (side == kExcavationSide) {
                if (curve > 0) {
                    double term = 0.5 * (pu + puAbove) * (x - depths[static_cast<std::size_t>(curve - 1)]);
                    if (curve == kCurvesPerLayer - 1) term += pu * (fw.layer(layer).xBottom - x);
                    fw.addToIntegral(layer, term);
                }
                puAbove = pu;
            }

            fw.sideLine(side);
            const double degrees = phi * 180.0 / kPi;
            if (silt)
                ff::formatTo(fw.report(), kSiltHeading,
                             {u.L2, u.L2, u.F3, "/", u.L2, "**", "3", xs, b, degrees, gamma, a, bFactor, pc,
                              ps, u.L2, u.F3, "/", u.L2});
            else
                ff::formatTo(fw.report(), kSandHeading,
                             {u.L2, u.L2, u.F3, "/", u.L2, "**", "3", xs, b, degrees, gamma, a, bFactor,
                              wf.pst, wf.psd, u.L2, u.F3, "/", u.L2});
            if (side == kExcavationSide) fw.curveHeader(z);

            const double yMid = b / 60.0;
            const double yUlt = 3.0 * b / 80.0;
            for (int i = 1; i <= kHalfCurvePoints; ++i) {
                double y;
                if (i <= 13)
                    y = (i - 1) * yMid / 12.0;
                else
                    y = yUlt + (i - 14) * b;
                const double p = sandResistance(y, pu, pMid, b, k, xEff);
                const double pOut = side == kExcavationSide ? pMult * p - shift : pMult * p + shift;
                if (silt)
                    fw.point("(21X,2E20.3)", "(I5,2(2X,E10.3))", i, yMult * y, pOut);
                else
                    fw.point("(21X,2F20.3)", "(I5,1X,E10.3,1X,E10.3)", i, yMult * y, pOut);
            }
            fw.multipliersLine(pMult, yMult);
        }
    }
}

// ---- rock --------------------------------------------------------------------------------------

constexpr double kRockInitialModulus = 2000.0;   // k1 / Su
constexpr double kRockPeakDeflection = 0.0004f;  // y1 / b
constexpr double kRockSecondSlope = 100.0;       // slope / Su beyond y1

constexpr std::string_view kStrongRockExcavation =
    "(/,/,17X,'DEPTH-EXCAVATION SIDE',5X,'DIAM',8X,'C',7X,/,30X,A2,12X,A2,5X,A3,A1,A2,A2,A1,1X,/,"
    "24X,F10.2,5X,F10.3,E10.1,/,38X,'Y',19X,'P',/,38X,A2,15X,A3,A1,A2)";
constexpr std::string_view kStrongRockBackfill =
    "(/,/,17X,'DEPTH-BACKFILL SIDE  ',5X,'DIAM',8X,'C',7X,/,30X,A2,12X,A2,5X,A3,A1,A2,A2,A1,1X,/,"
    "24X,F10.2,5X,F10.3,E10.1,/,38X,'Y',19X,'P',/,38X,A2,15X,A3,A1,A2)";

constexpr double kRqdScale = 150.0;       // alpha_r = 1 - RQD/150
constexpr double kXrOffset = 1.0e-8f;     // added to the depth below the rock surface [L]
constexpr double kDepthGrowth = 1.4f;     // pur = alpha qur (b + 1.4 xr) down to 3b
constexpr double kDeepFactor = 5.2f;      // pur = 5.2 alpha qur b below 3b
constexpr double kNoStrength = 1.0e-10f;  // qu below this is none [F/L^2]
constexpr double kWeakRockExponent = 0.25;
constexpr std::array<double, kHalfCurvePoints> kWeakRockDeflections = {
    0.0005f, 0.001f, 0.003f, 0.006f, 0.009f, 0.02f, 0.04f, 0.06f, 0.08f,
    0.1f,    0.25,   0.5,    0.75,   1.0,    4.0,   8.0,   12.0};

constexpr std::string_view kWeakRockHeading =
    "(/,/,14X,'DEPTH',5X,'DIAM',7X,'Qu',7X,' Eu ',3X,'GAMMA AVG',6X,'E50',/,16X,A2,7X,A2,4X,"
    "3(A3,A1,A2,A2,A1,1X),/,10X,F10.2,F10.3,3E10.2,E12.3,/,37X,'Y',19X,'P',/,37X,A2,16X,A3,A1,A2)";
constexpr std::string_view kWeakRockNoStrength =
    "(/,7X,'--------------------WARNING----------------------',/,7X,"
    "'THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT',/,7X,"
    "'DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.')";

}  // namespace

namespace sandrock {

double coefficientA(double ratio) {
    return tableAt(kA, ratio);
}
double coefficientB(double ratio) {
    return tableAt(kB, ratio);
}

// The curve: the straight line k x_eff y up to yk, a parabola C y^(1/n) up to b/60 that meets the
// straight line from (b/60, pMid) to (3b/80, pu) with its slope, then pu; never above k x_eff y.
// Where the parabola and the initial line have no meeting point other than 0 (no initial slope,
// a parabola that is itself a line through 0 (n = 1), a parabola not above 0) yk is 0, and the
// curve is the lower of the two.
double sandResistance(double y, double pu, double pMid, double b, double k, double xEff) {
    const double yMid = b / 60.0;
    const double yUlt = 3.0 * b / 80.0;
    const double kx = k * xEff;
    const double m = yUlt > yMid ? (pu - pMid) / (yUlt - yMid) : 0.0;
    double exponent = 0.0;  // 1/n
    double c = 0.0;
    double yk = 0.0;
    if (pMid > 0.0 && yMid > 0.0) {
        if (m != 0.0) {
            const double n = pMid / (m * yMid);
            exponent = 1.0 / n;
            c = pMid / std::pow(yMid, 1.0 / n);
            if (xEff > 0.0 && kx > 0.0 && n != 1.0) yk = std::pow(c / kx, n / (n - 1.0));
        } else {
            c = pMid;  // n without bound: the parabola is flat at pMid
            if (xEff > 0.0 && kx > 0.0) yk = c / kx;
        }
    }
    if (!(xEff > 0.0)) yk = 2.0 * b;

    double p;
    if (y <= yk)
        p = kx * y;
    else if (y <= yMid)
        p = c * std::pow(y, exponent);
    else if (y <= yUlt)
        p = pMid + m * (y - yMid);
    else
        p = pu;
    return std::min(p, kx * y);
}

}  // namespace sandrock

void sand(PyFramework& fw, int layer) {
    frictionalLayer(fw, layer, false);
}

void silt(PyFramework& fw, int layer) {
    frictionalLayer(fw, layer, true);
}

void strongRock(PyFramework& fw, int layer) {
    const ExcavationProfile& profile = fw.profile();
    const UnitLabels& u = fw.units();
    const double b = fw.width();
    for (const double x : fw.curveDepths(layer)) {
        const double qu = profile.cohesionAt(x);
        const double gamma = profile.meanUnitWeight(x);
        const double su = 0.5 * qu;
        const double k1 = kRockInitialModulus * su;
        const double y1 = kRockPeakDeflection * b;
        const double p1 = k1 * y1;
        // Su cancels; without strength the deflections keep their proportions to b.
        const double y2 = su != 0.0 ? y1 + (su * b - p1) / (kRockSecondSlope * su)
                                    : y1 + (b - kRockInitialModulus * y1) / kRockSecondSlope;
        const double z = fw.freeHeight() + x;
        const double pMult = fw.pMultiplier(z);
        const double yMult = fw.yMultiplier(z);

        for (const Side side : {kExcavationSide, kBackfillSide}) {
            const double xs = fw.xs(side, x);
            ff::formatTo(fw.report(), side == kExcavationSide ? kStrongRockExcavation : kStrongRockBackfill,
                         {u.L2, u.L2, u.F3, "/", u.L2, "**", "2", xs, b, su, u.L2, u.F3, "/", u.L2});
            if (side == kExcavationSide) fw.curveHeader(z);
            for (int i = 1; i <= kHalfCurvePoints; ++i) {
                const double y = (i - 1) * y2 / 15.0;
                double p;
                if (y < y1)
                    p = pMult * k1 * y;
                else if (y < y2)
                    p = pMult * (p1 + kRockSecondSlope * su * (y - y1));
                else
                    p = 0.5 * gamma * b * xs;  // residual, not reduced
                fw.point("(1X,20X,2D20.3)", "(I5,1X,2E10.3)", i, yMult * y, p);
            }
        }
    }
}

void weakRock(PyFramework& fw, int layer) {
    const ExcavationProfile& profile = fw.profile();
    const UnitLabels& u = fw.units();
    const double b = fw.width();
    const ExcavationLayer& rock = fw.layer(layer);
    const double er = rock.slot5;
    // The layer's own value at its top (the table holds two points per layer).
    const double quTop = profile.strengths()[2 * static_cast<std::size_t>(layer)].cohesion;
    const std::array<double, kCurvesPerLayer> depths = fw.curveDepths(layer);

    for (int curve = 0; curve < kCurvesPerLayer; ++curve) {
        const double x = depths[static_cast<std::size_t>(curve)];
        const double qu = profile.cohesionAt(x);
        if (curve > 0 && qu < kNoStrength) stopWithWarning(kWeakRockNoStrength);
        const double krm = profile.slot4At(x);
        const double rqd = profile.slot6At(x);
        const double gamma = profile.meanUnitWeight(x);
        const double alpha = 1.0 - rqd / kRqdScale;
        const double qur = (quTop + qu) / 2.0;
        const double yrm = krm * b;
        const double z = fw.freeHeight() + x;
        const double pMult = fw.pMultiplier(z);
        const double yMult = fw.yMultiplier(z);

        for (const Side side : {kExcavationSide, kBackfillSide}) {
            const double xs = fw.xs(side, x);
            const double xr = xs - rock.xTop + kXrOffset;
            double pur, kir;
            if (b > 0.0 && xr <= 3.0 * b) {
                pur = alpha * qur * (b + kDepthGrowth * xr);
                kir = (100.0 + 400.0 * xr / (3.0 * b)) * er;
            } else {
                pur = kDeepFactor * alpha * qur * b;
                kir = 500.0 * er;
            }
            // Where the initial line meets the curve. Without initial stiffness or without yrm the
            // initial line (p = Kir y) holds throughout; without strength the curve starts at once.
            double ya;
            if (!(kir > 0.0) || !(yrm > 0.0))
                ya = kInfinity;
            else if (!(pur > 0.0))
                ya = 0.0;
            else
                ya = std::pow(0.5 * pur / (std::pow(yrm, kWeakRockExponent) * kir),
                              1.0 / (1.0 - kWeakRockExponent));

            fw.sideLine(side);
            ff::formatTo(fw.report(), kWeakRockHeading,
                         {u.L2, u.L2, u.F3, "/", u.L2, "**", "2", u.F3,  "/", u.L2, "**", "2", u.F3, "/",
                          u.L2, "**", "3",  xs,  b,    qu,   er,  gamma, krm, u.L2, u.F3, "/", u.L2});
            if (side == kExcavationSide) fw.curveHeader(z);
            for (int i = 1; i <= kHalfCurvePoints; ++i) {
                const double y = yrm * kWeakRockDeflections[static_cast<std::size_t>(i - 1)];
                const double p =
                    y < ya ? kir * y : std::min(0.5 * pur * std::pow(y / yrm, kWeakRockExponent), pur);
                fw.point("(21X,2E20.3)", "(I5,2(2X,E10.3))", i, yMult * y, pMult * p);
            }
        }
    }
}

}  // namespace engine::soil
