// The p-y criteria of clay layers under static loading: soft clay, stiff clay with free water and
// stiff clay without free water. Each adds to the published curves a continuous-wall resistance,
// the active-thrust shift of both half-curves and the layered-soil equivalent depth.

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "engine/fixed_format.h"
#include "engine/run_stop.h"
#include "engine/soil/py_framework.h"

namespace engine::soil {

namespace {

// Decimal constants act with their single-precision value, as every soil constant does.
constexpr double kZeroDeflection = 1.0e-14f;  // the smallest deflection treated as non-zero [L]
constexpr double kNoShift = 1.0e-10f;         // a shift this small (or negative) is none [F/L]

// Soft clay.
constexpr double kSoftY50Factor = 2.5f;    // y50 = 2.5 e50 b
constexpr double kSoftFirstStep = 0.008f;  // second point at 0.008 y50
constexpr double kSoftNpSurface = 3.0;     // bearing factor at the ground surface
constexpr double kSoftNpMax = 9.0;         // bearing factor of flow around the wall
constexpr double kSoftPowerLawEnd = 8.0;   // p = pu beyond 8 y50

// Stiff clay with free water.
constexpr double kFreeWedgeFactor = 2.83f;    // pct = 2 ca b + g b x + 2.83 ca x
constexpr double kFreeFlowFactor = 11.0;      // pcd = 11 c b
constexpr double kFreeDrop = 0.411f;          // R = 0.5 pc sqrt(6A) - 0.411 pc
constexpr double kFreeSoftening = 0.055f;     // 0.055 pc ((y - A y50)/(A y50))^1.25
constexpr double kFreeSlope = 0.0625;         // 0.0625 pc (y - 6 A y50)/y50
constexpr double kFreeResidualSqrt = 1.225f;  // residual factor 1.225 sqrt(A) - 0.75 A - 0.411
constexpr double kFreeResidualA = 0.75;
constexpr int kFreeIntegrationSteps = 40;
// Factor A against xs/b: linear between the rows, constant beyond the last.
constexpr std::array<std::array<double, 2>, 6> kFreeFactorA = {
    {{0.0, 0.223f}, {1.0, 0.46f}, {2.0, 0.55f}, {3.0, 0.59f}, {4.0, 0.60f}, {5.0, 0.60f}}};

// Stiff clay without free water.
constexpr double kDryY50Factor = 2.5f;      // y50 = 2.5 e50 b
constexpr double kDryUltimateRatio = 16.0;  // yu = 16 y50
constexpr double kDryWedgeSurface = 3.0;    // pct = 3 ca b + g b x + 0.5 ca x
constexpr double kDryFlowFactor = 9.0;      // pcd = 9 c b
// Deflections of points 2 to 14 as fractions of yu.
constexpr std::array<double, 13> kDryFractions = {1.0e-5f, 5.0e-5f, 1.0e-4f, 5.0e-4f, 0.001f, 0.005f, 0.01f,
                                                  0.025f,  0.05f,   0.075f,  0.1f,    0.25,   0.5};

constexpr std::string_view kSoilDataPoint = "(I5,1X,E10.3,1X,E10.3)";

// Soil values of one curve, taken at its depth x on the excavation side and used for both sides.
struct CurveSoil {
    double x;      // below the excavation surface [L]
    double z;      // below the top of the wall [L]
    double c;      // cohesion at x [F/L^2]
    double ca;     // mean cohesion from the layer top to x [F/L^2] (stiff clays)
    double gamma;  // mean effective unit weight from the excavation surface to x [F/L^3]
    double e50;    // strain at half the maximum stress difference
};

// One half-curve before the multipliers and the shift.
struct HalfCurve {
    double ultimate = 0.0;  // pu, or pc for stiff clay with free water [F/L]
    double factorA = 0.0;   // stiff clay with free water only
    double k0 = 0.0;        // soft clay only: secant modulus at the smallest deflection [F/L^2]
    std::array<double, kHalfCurvePoints> y{};
    std::array<double, kHalfCurvePoints> p{};
};

class ClayCriterion {
public:
    virtual ~ClayCriterion() = default;
    /// The curve of one side, with xs the depth below that side's ground surface and xEff the depth
    /// of the resistance formulas.
    virtual HalfCurve curve(const PyFramework& fw, int layer, const CurveSoil& s, double xs,
                            double xEff) const = 0;
    /// The curve's term of the layer resistance integral (side 1, second curve of the layer on).
    virtual double integralTerm(const HalfCurve& now, const HalfCurve& before, double dx) const = 0;
    /// h_eq of a layer below the first, from the values of its first curve and Ro.
    virtual double equivalentDepth(const CurveSoil& first, double b, double ro) const = 0;
    /// Heading and value lines of a half-curve, after the side line.
    virtual void heading(PyFramework& fw, const CurveSoil& s, double xs) const = 0;
    virtual std::string_view pointLayout() const = 0;
    virtual bool hasMultipliersLine() const = 0;
    /// Written after a point other than the first whose deflection is below kZeroDeflection.
    virtual void zeroDeflectionWarning(PyFramework& /*fw*/, const HalfCurve& /*h*/) const {}
};

/// Rankine passive pressure with phi = 0 on the face of a continuous wall, at the depth of the side.
double continuousWallResistance(const CurveSoil& s, double xs, double b) {
    return (s.gamma * xs + 2.0 * s.c) * b;
}

/// The active thrust at the excavation level per unit length of wall; none when it is not positive.
double activeShift(double b, double sigmaX, double c) {
    const double shift = b * (sigmaX - 2.0 * c);
    return shift <= kNoShift ? 0.0 : shift;
}

/// Equivalent depth for a resistance 3cb + (g b + 0.5 c) h that reaches the flow value 9cb at xr:
/// the depth at which its integral from 0 reaches ro. A layer whose own soil gives no growing
/// resistance (c or the growth not positive) cannot reproduce ro; its resistance does not depend
/// on the depth then (pu = 0 or min(pct, 9cb) <= 0), and h_eq is taken as 0, as it is for ro <= 0.
double wedgeEquivalentDepth(double c, double gamma, double b, double ro) {
    const double growth = 0.5 * c + gamma * b;
    if (!(ro > 0.0) || !(c > 0.0) || !(b > 0.0) || !(growth > 0.0)) return 0.0;
    const double cb = c * b;
    const double xr = 6.0 * cb / growth;
    const double wedge = gamma * b * xr * xr / 2.0 + 3.0 * cb * xr + c * xr * xr / 4.0;
    if (ro <= wedge) {
        const double a = 0.25 * c + 0.5 * gamma * b;  // = growth / 2 > 0
        return (-3.0 * cb + std::sqrt(9.0 * cb * cb + 4.0 * a * ro)) / (2.0 * a);
    }
    return xr + (ro - wedge) / (kSoftNpMax * cb);
}

// ---- soft clay -------------------------------------------------------------------------------

class SoftClay final : public ClayCriterion {
public:
    HalfCurve curve(const PyFramework& fw, int /*layer*/, const CurveSoil& s, double xs,
                    double xEff) const override {
        const double b = fw.width();
        HalfCurve h;
        if (fw.continuousWall())
            h.ultimate = continuousWallResistance(s, xs, b);
        else if (s.c > 0.0)
            h.ultimate =
                s.c * b * std::min(kSoftNpSurface + s.gamma * xEff / s.c + 0.5 * xEff / b, kSoftNpMax);
        const double pu = h.ultimate;
        const double y50 = kSoftY50Factor * s.e50 * b;
        h.k0 = 0.5 * pu * std::pow(y50 / kZeroDeflection, 2.0 / 3.0) / y50;

        h.y[0] = 0.0;
        h.y[1] = kSoftFirstStep * y50;
        for (int i = 2; i <= 13; ++i)
            h.y[i] = (i - 1) * y50 / 4.0;  // y50/4 ... 3 y50
        h.y[14] = kSoftPowerLawEnd * y50;
        h.y[15] = 15.0 * y50;
        h.y[16] = 20.0 * y50;
        for (int i = 0; i < kHalfCurvePoints; ++i) {
            const double y = h.y[i];
            if (y < kZeroDeflection)
                h.p[i] = h.k0 * y;
            else if (y <= kSoftPowerLawEnd * y50)
                h.p[i] = 0.5 * pu * std::cbrt(y / y50);
            else
                h.p[i] = pu;
        }
        return h;
    }

    double integralTerm(const HalfCurve& now, const HalfCurve& /*before*/, double dx) const override {
        return now.ultimate * dx;
    }

    double equivalentDepth(const CurveSoil& first, double b, double ro) const override {
        return wedgeEquivalentDepth(first.c, first.gamma, b, ro);
    }

    void heading(PyFramework& fw, const CurveSoil& s, double xs) const override {
        const UnitLabels& u = fw.units();
        ff::formatTo(fw.report(),
                     "(/,9X,'DEPTH BELOW GS',6X,'DIAM',8X,'C',6X,'GAMMA AVG',6X,'E50',/,15X,A2,13X,A2,5X,"
                     "A3,A1,A2,A2,A1,2X,A3,A1,A2,A2,A1)",
                     {u.L2, u.L2, u.F3, "/", u.L2, "**", "2", u.F3, "/", u.L2, "**", "3"});
        ff::formatTo(fw.report(), "(8X,F10.2,6X,F10.3,1X,D10.4,1X,D10.4,1X,D12.4)",
                     {xs, fw.width(), s.c, s.gamma, s.e50});
        ff::formatTo(fw.report(), "(/,37X,'Y,',A2,13X,'P,',A3,A1,A2)", {u.L2, u.F3, "/", u.L2});
    }

    std::string_view pointLayout() const override { return "(1X,20X,2F20.3)"; }
    bool hasMultipliersLine() const override { return true; }

    void zeroDeflectionWarning(PyFramework& fw, const HalfCurve& h) const override {
        ff::formatTo(fw.report(),
                     "(/,29X,'**** WARNING ****',/,5X,'DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM',/,5X,"
                     "'USED A SOIL MODULUS OF ',D12.4)",
                     {h.k0});
    }
};

// ---- stiff clay with free water --------------------------------------------------------------

double factorA(double depthOverWidth) {
    if (depthOverWidth <= kFreeFactorA.front()[0]) return kFreeFactorA.front()[1];
    for (size_t i = 1; i < kFreeFactorA.size(); ++i) {
        const auto& lo = kFreeFactorA[i - 1];
        const auto& hi = kFreeFactorA[i];
        if (depthOverWidth <= hi[0])
            return lo[1] + (hi[1] - lo[1]) * (depthOverWidth - lo[0]) / (hi[0] - lo[0]);
    }
    return kFreeFactorA.back()[1];
}

/// Residual resistance over pc at large deflections, as the layer integral counts it.
double residualFactor(double a) {
    return kFreeResidualSqrt * std::sqrt(a) - kFreeResidualA * a - kFreeDrop;
}

class StiffClayWithFreeWater final : public ClayCriterion {
public:
    HalfCurve curve(const PyFramework& fw, int layer, const CurveSoil& s, double xs,
                    double xEff) const override {
        const double b = fw.width();
        HalfCurve h;
        const double a = factorA(xs / b);
        h.factorA = a;
        if (fw.continuousWall()) {
            h.ultimate = continuousWallResistance(s, xs, b);
        } else {
            const double pct = 2.0 * s.ca * b + s.gamma * b * xEff + kFreeWedgeFactor * s.ca * xEff;
            h.ultimate = std::min(pct, kFreeFlowFactor * s.c * b);
        }
        const double pc = h.ultimate;
        const double y50 = s.e50 * b;
        const double ay50 = a * y50;

        h.y[0] = 0.0;
        for (int i = 1; i <= 12; ++i)
            h.y[i] = i * 0.5 * ay50;  // up to 6 A y50
        h.y[13] = 10.0 * ay50;
        h.y[14] = 14.0 * ay50;
        h.y[15] = 18.0 * ay50;
        h.y[16] = 200.0 * ay50;

        // The initial straight line of slope k x_eff cuts the curve near the surface.
        const double initialSlope = fw.layer(layer).slot5 * xEff;
        const double r = 0.5 * pc * std::sqrt(6.0 * a) - kFreeDrop * pc;
        for (int i = 0; i < kHalfCurvePoints; ++i) {
            const double y = h.y[i];
            double p;
            if (y <= ay50)
                p = 0.5 * pc * std::sqrt(y / y50);
            else if (y <= 6.0 * ay50)
                p = 0.5 * pc * std::sqrt(y / y50) - kFreeSoftening * pc * std::pow((y - ay50) / ay50, 1.25);
            else if (y <= 18.0 * ay50)
                p = r - kFreeSlope * pc * (y - 6.0 * ay50) / y50;
            else
                p = r - kFreeResidualA * a * pc;
            h.p[i] = std::min(p, initialSlope * y);
        }
        return h;
    }

    double integralTerm(const HalfCurve& now, const HalfCurve& before, double dx) const override {
        return 0.5 * (now.ultimate + before.ultimate) * residualFactor(now.factorA) * dx;
    }

    /// Steps of the residual resistance of the first curve's soil (ca = c there) down to xr, where
    /// the wedge reaches flow; below xr the flow value. A soil without cohesion or with a
    /// resistance that does not grow gives 0, as for soft clay.
    double equivalentDepth(const CurveSoil& first, double b, double ro) const override {
        const double c = first.c;
        const double ca = first.c;
        const double growth = kFreeWedgeFactor * ca + first.gamma * b;
        if (!(ro > 0.0) || !(c > 0.0) || !(b > 0.0) || !(growth > 0.0)) return 0.0;
        const double xr = (kFreeFlowFactor * c * b - 2.0 * ca * b) / growth;
        const double step = xr / kFreeIntegrationSteps;
        double sum = 0.0;
        for (int i = 1; i <= kFreeIntegrationSteps; ++i) {
            const double xi = i * step;
            const double before = sum;
            sum += (kFreeWedgeFactor * ca * xi + first.gamma * b * xi + 2.0 * ca * b) *
                   residualFactor(factorA(xi / b)) * step;
            if (sum > ro) return xi - (sum - ro) * step / (sum - before);
        }
        // A >= 0.223 keeps the residual factor positive, so the flow tail divides by a positive value.
        return xr + (ro - sum) / (kFreeFlowFactor * c * b * residualFactor(factorA(xr / b)));
    }

    void heading(PyFramework& fw, const CurveSoil& s, double xs) const override {
        const UnitLabels& u = fw.units();
        ff::formatTo(
            fw.report(),
            "(/,/,9X,'DEPTH BELOW GS',6X,'DIAM',8X,'C',9X,'CAVG',4X,'GAMMA AVG',6X,'E50',/,15X,A2,13X,"
            "A2,5X,2(A3,A1,2A2,A1,2X),A3,A1,2A2,A1,/,9X,F10.2,5X,F10.3,3(1X,D10.2),D12.4)",
            {u.L2, u.L2, u.F3, "/",  u.L2, "**", "2",        u.F3, "/",  u.L2,    "**", "2",
             u.F3, "/",  u.L2, "**", "3",  xs,   fw.width(), s.c,  s.ca, s.gamma, s.e50});
    }

    std::string_view pointLayout() const override { return "(21X,2F20.3)"; }
    bool hasMultipliersLine() const override { return false; }
};

// ---- stiff clay without free water -----------------------------------------------------------

class StiffClayWithoutFreeWater final : public ClayCriterion {
public:
    HalfCurve curve(const PyFramework& fw, int /*layer*/, const CurveSoil& s, double xs,
                    double xEff) const override {
        const double b = fw.width();
        HalfCurve h;
        if (fw.continuousWall()) {
            h.ultimate = continuousWallResistance(s, xs, b);
        } else {
            const double pct = kDryWedgeSurface * s.ca * b + s.gamma * b * xEff + 0.5 * s.ca * xEff;
            h.ultimate = std::min(pct, kDryFlowFactor * s.c * b);
        }
        const double pu = h.ultimate;
        const double y50 = kDryY50Factor * s.e50 * b;
        const double yu = kDryUltimateRatio * y50;

        h.y[0] = 0.0;
        for (size_t i = 0; i < kDryFractions.size(); ++i)
            h.y[i + 1] = yu * kDryFractions[i];
        h.y[14] = yu;
        h.y[15] = 18.0 * y50;
        h.y[16] = 20.0 * y50;
        // The power law reaches 0 at y = 0 by itself: the zero-deflection modulus is not needed.
        for (int i = 0; i < kHalfCurvePoints; ++i)
            h.p[i] = h.y[i] <= yu ? 0.5 * pu * std::pow(h.y[i] / y50, 0.25) : pu;
        return h;
    }

    double integralTerm(const HalfCurve& now, const HalfCurve& before, double dx) const override {
        return 0.5 * (now.ultimate + before.ultimate) * dx;
    }

    double equivalentDepth(const CurveSoil& first, double b, double ro) const override {
        return wedgeEquivalentDepth(first.c, first.gamma, b, ro);
    }

    void heading(PyFramework& fw, const CurveSoil& s, double xs) const override {
        const UnitLabels& u = fw.units();
        ff::formatTo(
            fw.report(),
            "(/,/,10X,'DEPTH BELOW GS',5X,'DIAM',8X,'C',7X,'CAVG',4X,'GAMMA AVG',5X,'E50',/,16X,A2,12X,"
            "A2,5X,3(A3,A1,A2,A2,A1,1X),/,10X,F10.2,5X,F10.3,3D10.2,D12.4,/,38X,'Y',19X,'P',/,38X,A2,15X,"
            "A3,A1,A2)",
            {u.L2, u.L2, u.F3, "/", u.L2,       "**", "2",  u.F3,    "/",   u.L2, "**", "2", u.F3, "/",
             u.L2, "**", "3",  xs,  fw.width(), s.c,  s.ca, s.gamma, s.e50, u.L2, u.F3, "/", u.L2});
    }

    std::string_view pointLayout() const override { return "(1X,20X,2F20.5)"; }
    bool hasMultipliersLine() const override { return true; }
};

// ---- the walk over a layer's curves ----------------------------------------------------------

/// Without a positive y50 every deflection would be 0 and the power laws undefined; a curve
/// standing at y = 0 gives the wall no spring at all. The run stops instead.
[[noreturn]] void stopWithoutStrain(int layer, double z) {
    std::string depth = ff::formatField("F10.2", z);
    depth.erase(0, depth.find_first_not_of(' '));
    stopDataFault("CLAY LAYER " + std::to_string(layer + 1) +
                  " BELOW THE EXCAVATION NEEDS A POSITIVE E50 AND " +
                  "WIDTH FOR SOIL RESISTANCE (P-Y CURVE AT DEPTH " + depth + ")");
}

void generateLayer(PyFramework& fw, int layer, const ClayCriterion& criterion) {
    const ExcavationProfile& profile = fw.profile();
    const double b = fw.width();
    // The layer's own top value (its top strength point), whatever the layer above holds.
    const double cTop = profile.strengths()[2 * static_cast<size_t>(layer)].cohesion;
    const std::array<double, kCurvesPerLayer> depths = fw.curveDepths(layer);

    HalfCurve previous;  // side 1 of the curve above, for the layer integral
    for (int i = 0; i < kCurvesPerLayer; ++i) {
        CurveSoil s{};
        s.x = depths[static_cast<size_t>(i)];
        s.z = fw.freeHeight() + s.x;
        s.c = profile.cohesionAt(s.x);
        s.gamma = profile.meanUnitWeight(s.x);
        s.e50 = profile.slot4At(s.x);
        // Mean cohesion of the stiff clays, from the layer top to x, the same on both sides and in
        // every layer.
        s.ca = (cTop + s.c) / 2.0;
        if (!(s.e50 > 0.0) || !(b > 0.0)) stopWithoutStrain(layer, s.z);

        if (i == 0 && fw.needsEquivalentDepth(layer))
            fw.setEquivalentDepth(layer, criterion.equivalentDepth(s, b, fw.resistanceAbove(layer)));

        const double shift = activeShift(b, fw.sigmaX(), s.c);
        const double pm = fw.pMultiplier(s.z);
        const double ym = fw.yMultiplier(s.z);
        for (const Side side : {kExcavationSide, kBackfillSide}) {
            const double xs = fw.xs(side, s.x);
            const HalfCurve h = criterion.curve(fw, layer, s, xs, fw.xEff(layer, side, s.x));
            if (side == kExcavationSide) {
                if (i > 0)
                    fw.addToIntegral(
                        layer, criterion.integralTerm(h, previous, s.x - depths[static_cast<size_t>(i - 1)]));
                previous = h;
            }

            fw.sideLine(side);
            criterion.heading(fw, s, xs);
            if (side == kExcavationSide) fw.curveHeader(s.z);
            const double signedShift = side == kExcavationSide ? -shift : shift;
            for (int k = 0; k < kHalfCurvePoints; ++k) {
                const double y = ym * h.y[static_cast<size_t>(k)];
                const double p = pm * h.p[static_cast<size_t>(k)] + signedShift;
                fw.point(criterion.pointLayout(), kSoilDataPoint, k + 1, y, p);
                if (k + 1 == kHalfCurvePoints && criterion.hasMultipliersLine()) fw.multipliersLine(pm, ym);
                if (k > 0 && y < kZeroDeflection) criterion.zeroDeflectionWarning(fw, h);
            }
        }
    }
}

}  // namespace

void softClay(PyFramework& fw, int layer) {
    generateLayer(fw, layer, SoftClay());
}

void stiffClayWithFreeWater(PyFramework& fw, int layer) {
    generateLayer(fw, layer, StiffClayWithFreeWater());
}

void stiffClayWithoutFreeWater(PyFramework& fw, int layer) {
    generateLayer(fw, layer, StiffClayWithoutFreeWater());
}

}  // namespace engine::soil
