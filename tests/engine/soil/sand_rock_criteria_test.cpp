// The drained criteria (sand, silt, strong and weak rock) against the published formulas written out
// again here, on hand-built ground below a 120 in excavation.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/fixed_format.h"
#include "engine/run_stop.h"
#include "engine/soil/py_framework.h"

using namespace engine;
using namespace engine::soil;

namespace engine::soil::sandrock {  // reached directly, defined with the criteria
double coefficientA(double depthRatio);
double coefficientB(double depthRatio);
double sandResistance(double y, double pu, double pMid, double b, double k, double xEff);
}  // namespace engine::soil::sandrock

namespace {

constexpr double kH = 120.0;
constexpr double kPi32 = 3.1416f, kK0 = 0.4f;
constexpr double kRatios[] = {0, 0.5, 1, 1.5, 2, 2.5, 3, 4, 5, 6};
constexpr double kTabA[] = {2.83f, 2.48f, 2.11f, 1.76f, 1.48f, 1.23f, 1.06f, 0.90f, 0.88f, 0.88f};
constexpr double kTabB[] = {2.14f, 1.83f, 1.54f, 1.27f, 1.05f, 0.86f, 0.71f, 0.53f, 0.50f, 0.50f};
constexpr char kSandPoint[] = "(I5,1X,E10.3,1X,E10.3)", kSiltPoint[] = "(I5,2(2X,E10.3))";

using Row = std::array<double, 6>;  // unit weight, c or qu, phi [deg], e50 or krm, k or Er, RQD

// Ground: a sand above the excavation, then `below` (bottoms as depths z), water out of reach.
struct Ground {
    SoilBlock soil;
    std::vector<Modifier> table;
    std::string report, soilData;
    std::unique_ptr<ExcavationProfile> profile;
    std::unique_ptr<PyFramework> fw;
    Ground(std::vector<SoilLayer> below, double wp, double wa, double sigmaX = 0,
           std::vector<Modifier> t = {})
        : table(std::move(t)) {
        soil.freeHeight = kH;
        soil.widthActive = wa;
        soil.widthResistance = wp;
        soil.waterBackfill = soil.waterExcavation = 1.0e4;
        soil.layers = {{4, kH, {0.07, 0, 30, 0, 0, 0}, {0.07, 0, 30, 0, 0, 0}}};
        soil.layers.insert(soil.layers.end(), below.begin(), below.end());
        profile = std::make_unique<ExcavationProfile>(soil, 10.0, 60, 1, UnitLabels::forSystem(1), report);
        report.clear();
        fw = std::make_unique<PyFramework>(soil, *profile, table, 1, sigmaX, report, soilData);
    }
    std::vector<std::string> soilLines() const {
        std::vector<std::string> out;
        std::istringstream in(soilData);
        for (std::string l; std::getline(in, l);)
            out.push_back(l);
        return out;
    }
    // SOILDATA record of point i (1..17) of a side of the n-th curve generated (0-based).
    std::string point(int curve, int side, int i) const {
        return soilLines().at(curve * 35 + (side - 1) * 17 + i);
    }
};

SoilLayer uniform(int type, double bottom, Row row) {
    return {type, bottom, row, row};
}
std::string sp(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}
bool finite(const std::string& text) {
    return text.find("NaN") == std::string::npos && text.find("Inf") == std::string::npos;
}

std::string line(const char* layout, std::initializer_list<ff::Arg> items) {
    std::string s = ff::format(layout, items);
    s.pop_back();
    return s;
}

double middleNumber(const std::string& s) {  // p of a SOILDATA point record
    std::istringstream in(s);
    int n;
    double p;
    in >> n >> p;
    return p;
}

// The report shows the point of a SOILDATA record (y', p') in `layout` (three digits, as the record).
bool reportShows(const Ground& g, const char* layout, int curve, int side, int i) {
    std::istringstream in(g.point(curve, side, i));
    int n;
    double p, y;
    in >> n >> p >> y;
    return g.report.find(line(layout, {y, p}) + "\n") != std::string::npos;
}

// ---- the published sand and silt formulas, written again ----------------------------------------

double table(const double* v, double r) {
    int i = 1;
    while (i < 9 && r > kRatios[i])
        ++i;  // beyond 6 the last segment is extended
    return v[i - 1] + (v[i] - v[i - 1]) * (r - kRatios[i - 1]) / (kRatios[i] - kRatios[i - 1]);
}

struct Soil {
    double phiDeg, gamma, c, k;
    bool silt;
    double phi() const { return phiDeg * kPi32 / 180.0; }
    double pi() const { return silt ? 4 * std::atan(1.0) : kPi32; }
    double ka() const { return std::pow(std::tan(pi() / 4 - phi() / 2), 2); }
    double kp() const { return std::pow(std::tan(pi() / 4 + phi() / 2), 2); }
};

struct Resistance {
    double pst, psd, ps, pc, a, b, pu, pm;
};

Resistance resistance(const Soil& s, double b, double xs, double x, bool continuous) {
    const double f = s.phi(), al = f / 2, be = s.pi() / 4 + f / 2, ka = s.ka();
    Resistance r{};
    r.pst = s.gamma * x *
            (kK0 * x * std::tan(f) * std::sin(be) / (std::tan(be - f) * std::cos(al)) +
             std::tan(be) / std::tan(be - f) * (b + x * std::tan(be) * std::tan(al)) +
             kK0 * x * std::tan(be) * (std::tan(f) * std::sin(be) - std::tan(al)) - ka * b);
    r.psd = ka * b * s.gamma * x * (std::pow(std::tan(be), 8) - 1) +
            kK0 * b * s.gamma * x * std::tan(f) * std::pow(std::tan(be), 4);
    r.ps = std::min(r.pst, r.psd);
    if (continuous) {
        const double d = s.silt ? double(0.17453f) : f / 2;
        const double kpc =
            std::pow(std::cos(f), 2) /
            (std::cos(d) * std::pow(1 - std::sqrt(std::sin(f + d) * std::sin(f) / std::cos(d)), 2));
        r.ps = b * kpc * s.gamma * xs;
    }
    if (s.silt && s.c > 0)
        r.pc = continuous ? (s.gamma * xs + 2 * s.c) * b
                          : s.c * b * std::min(3 + s.gamma * x / s.c + 0.5 * x / b, 9.0);
    const double ratio = (s.silt ? x : xs) / b;
    r.a = table(kTabA, ratio);
    r.b = table(kTabB, ratio);
    r.pu = r.a * r.ps + r.pc;
    r.pm = r.b * r.ps + r.pc;
    return r;
}

double deflection(int i, double b) {
    return i <= 13 ? (i - 1) * (b / 60) / 12 : 3 * b / 80 + (i - 14) * b;
}

double curveP(double y, const Resistance& r, double b, double kx) {
    const double ym = b / 60, yu = 3 * b / 80;
    const double m = (r.pu - r.pm) / (yu - ym), n = r.pm / (m * ym), c = r.pm / std::pow(ym, 1 / n);
    const double yk = std::pow(c / kx, n / (n - 1));
    const double p = y <= yk   ? kx * y
                     : y <= ym ? c * std::pow(y, 1 / n)
                     : y <= yu ? r.pm + m * (y - ym)
                               : r.pu;
    return std::min(p, kx * y);
}

double shiftOf(const Soil& s, double b, double sigmaX) {
    const double v = sigmaX * s.ka() * b - 2 * s.c * std::sqrt(s.ka()) * b;
    return v < double(1.0e-5f) ? 0.0 : v;
}

// The 34 SOILDATA records of one curve.
void expectCurve(const Ground& g, int curve, const Soil& s, double x, double xEffExcavation,
                 double pm = 1.0) {
    const double b = g.soil.widthResistance;
    for (int side = 1; side <= 2; ++side) {
        const double xs = side == 1 ? x : kH + x, xEff = side == 1 ? xEffExcavation : xEffExcavation + kH;
        const Resistance r = resistance(s, b, xs, xEff, g.fw->continuousWall());
        const double shift = shiftOf(s, b, g.fw->sigmaX());
        for (int i = 1; i <= 17; ++i) {
            SCOPED_TRACE(testing::Message() << "curve " << curve << " side " << side << " point " << i);
            const double y = deflection(i, b), p = pm * curveP(y, r, b, s.k * xEff);
            EXPECT_EQ(g.point(curve, side, i),
                      line(s.silt ? kSiltPoint : kSandPoint, {i, side == 1 ? p - shift : p + shift, y}));
        }
    }
}

// Equivalent depth by the stepwise integration of the layer's own resistance.
double equivalentDepth(const Soil& s, double b, double x1, double ro) {
    const double f = s.phi(), al = f / 2, be = s.pi() / 4 + f / 2, ka = s.ka(), kp = s.kp();
    const double c1 =
        std::tan(be) *
        (kK0 * (std::tan(f) * std::sin(be) * (1 / std::cos(al) + 1) - std::tan(al)) + kp * std::tan(al));
    const double c2 = kp - ka, c3 = kp * kp * (kp + kK0 * std::tan(f)) - ka, g = s.gamma * b * b;
    const double xr = (c3 - c2) * b / c1;
    const int steps = s.silt ? 50 : 100;
    double sum = 0;
    for (int i = 1; i <= steps; ++i) {
        const double xi = i * xr / steps, before = sum;
        sum += (g * table(kTabA, xi / b) * (c1 * (xi / b) * (xi / b) + c2 * xi / b) +
                (s.silt ? 0.5 * s.c * xi + s.gamma * b * xi + 3 * s.c * b : 0.0)) *
               (xr / steps);
        if (sum > ro) return xi - (sum - ro) * (xr / steps) / (sum - before);
    }
    return xr + (ro - sum) / ((s.silt ? 9 * s.c * b : 0.0) + double(0.88f) * c3 * s.gamma * b * x1);
}

template <class F>
RunStop stopOf(F&& call, std::string& console) {
    testing::internal::CaptureStderr();
    try {
        call();
    } catch (const RunStop& stop) {
        console = testing::internal::GetCapturedStderr();
        return stop;
    }
    console = testing::internal::GetCapturedStderr();
    ADD_FAILURE() << "the run did not stop";
    return RunStop("", -1);
}

}  // namespace

TEST(SandCurve, CoefficientsAndPointFunctionLimits) {
    using namespace engine::soil::sandrock;
    EXPECT_NEAR(coefficientA(0.25), 2.655, 1e-6);
    EXPECT_NEAR(coefficientB(0.25), 1.985, 1e-6);
    EXPECT_NEAR(coefficientA(3.5), 0.98, 1e-6);
    EXPECT_EQ(coefficientA(5), double(0.88f));
    EXPECT_EQ(coefficientB(5), 0.5);
    EXPECT_EQ(coefficientA(40), double(0.88f));  // the flat last segment extended
    EXPECT_EQ(coefficientB(40), 0.5);

    const double b = 24, pu = 3000, pm = 1700;
    for (int i = 1; i <= 17; ++i) {
        const double y = deflection(i, b);
        SCOPED_TRACE(i);
        // x_eff = 0: yk = 2b and the straight line k x_eff y = 0 governs every point.
        EXPECT_EQ(sandResistance(y, pu, pm, b, 50, 0), 0.0);
        EXPECT_EQ(sandResistance(y, pu, pm, b, 0, 60), 0.0);  // no initial slope
        EXPECT_EQ(sandResistance(y, 0, 0, 0, 50, 60), 0.0);   // no width
        // n = 1 (pu = 2.25 pm): no knee; the lower of the initial line and the curve.
        const double line = 50 * 60 * y, straight = y <= b / 60       ? pm * y / (b / 60)
                                                    : y <= 3 * b / 80 ? pm + (2.25 * pm - pm) * (y - b / 60) /
                                                                                 (3 * b / 80 - b / 60)
                                                                      : 2.25 * pm;
        EXPECT_NEAR(sandResistance(y, 2.25 * pm, pm, b, 50, 60), std::min(line, straight), 1e-9 * pm);
        // pu = pm: a flat parabola met by the initial line at pm / (k x_eff).
        EXPECT_NEAR(sandResistance(y, pm, pm, b, 50, 60), std::min(line, pm), 1e-9 * pm);
    }
}

// phi = 35 deg, mean unit weight 0.0637, b = 24, x = 120: A(5) = 0.88, B = 0.5, pu = 0.88 ps. With
// WA = 2 WP (pm = 0.5292 2^0.5659) and an overburden of 2 (shift = 2 Ka b).
TEST(SandCurve, CompleteHalfCurveAtFiveWidths) {
    Ground g({uniform(4, 360, {0.0637, 0, 35, 0, 60, 0})}, 24, 48, 2.0);
    sand(*g.fw, 0);
    const char* expected =
        "\n\n         AT THE EXCAVATION SIDE\n\n\n"
        "           DEPTH BELOW GS  DIAM   PHI  GAMMA AVG    A    B     PCT       PCD\n"
        "                 IN         IN         LBS/IN**3\n"
        "              120.00      24.00  35.00 0.64E-01   0.88 0.50 0.34E+04 0.99E+04\n\n"
        "                                      Y                   P\n"
        "                                      IN               LBS/IN\n"
        "                                    0.000             -13.008\n"
        "                                    0.033             175.004\n"
        "                                    0.067             363.015\n"
        "                                    0.100             551.026\n"
        "                                    0.133             660.219\n"
        "                                    0.167             758.042\n"
        "                                    0.200             848.432\n"
        "                                    0.233             933.073\n"
        "                                    0.267            1013.087\n"
        "                                    0.300            1089.263\n"
        "                                    0.333            1162.184\n"
        "                                    0.367            1232.297\n"
        "                                    0.400            1299.951\n"
        "                                    0.900            2297.799\n"
        "                                   24.900            2297.799\n"
        "                                   48.900            2297.799\n"
        "                                   72.900            2297.799\n\n"
        "                      P-Multiplier =  0.783E+00 Y-Multiplier =  0.100E+01\n";
    EXPECT_NE(g.report.find(expected), std::string::npos) << g.report;

    const Soil s{35, 0.0637, 0, 60, false};
    for (int curve = 0; curve < 5; ++curve)
        expectCurve(g, curve, s, g.fw->curveDepths(0)[curve], g.fw->curveDepths(0)[curve],
                    g.fw->pMultiplier(240));
}

TEST(SandLayers, SecondLayerStartsAtItsEquivalentDepth) {
    Ground g({uniform(4, 240, {0.07, 0, 30, 0, 80, 0}), uniform(4, 420, {0.06, 0, 38, 0, 150, 0})}, 24, 96);
    sand(*g.fw, 0);
    sand(*g.fw, 1);
    const Soil upper{30, 0.07, 0, 80, false};
    double ro = 0, puAbove = 0, xAbove = 0;
    for (int i = 0; i < 5; ++i) {
        const double x = g.fw->curveDepths(0)[i], pu = resistance(upper, 24, x, x, false).pu;
        if (i > 0) ro += 0.5 * (pu + puAbove) * (x - xAbove) + (i == 4 ? pu * (120 - x) : 0.0);
        puAbove = pu;
        xAbove = x;
    }
    EXPECT_NEAR(g.fw->layerIntegral(0), ro, 1e-9 * ro);

    const double x1 = 120.1, gammaAt1 = (0.07 * 120 + 0.06 * 0.1) / x1;
    const double heq = equivalentDepth({38, gammaAt1, 0, 150, false}, 24, x1, ro);
    EXPECT_NEAR(g.fw->equivalentDepth(1), heq, 1e-9 * heq);
    ASSERT_EQ(g.soilLines().size(), 10u * 35u);
    for (int i = 0; i < 5; ++i) {
        const double x = g.fw->curveDepths(1)[i];
        expectCurve(g, 5 + i, {38, (0.07 * 120 + 0.06 * (x - 120)) / x, 0, 150, false}, x, x - 120 + heq);
    }
}

// A strong thick layer over a weak one: the resistance above exceeds the weak soil's integral over
// its wedge range, and the equivalent depth extends below that range.
TEST(SandLayers, EquivalentDepthBelowTheWedgeRange) {
    for (const int type : {4, 5}) {
        Ground g({uniform(4, 420, {0.07, 0, 40, 0, 80, 0}), uniform(type, 500, {0.06, 1, 20, 0, 150, 0})}, 24,
                 96);
        sand(*g.fw, 0);
        type == 4 ? sand(*g.fw, 1) : silt(*g.fw, 1);
        const double x1 = 300.1, gamma = (0.07 * 300 + 0.06 * 0.1) / x1;
        const double heq = equivalentDepth({20, gamma, type == 5 ? 1.0 : 0.0, 150, type == 5}, 24, x1,
                                           g.fw->layerIntegral(0));
        EXPECT_GT(g.fw->equivalentDepth(1), 500.0) << type;  // the wedge range is about 224
        EXPECT_NEAR(g.fw->equivalentDepth(1), heq, 1e-9 * heq) << type;
    }
}

TEST(SandLayers, DegenerateDataKeepsTheCurvesFinite) {
    // No friction in the second layer (no wedge range, no resistance), then a wall of no width.
    Ground g({uniform(4, 240, {0.07, 0, 30, 0, 80, 0}), uniform(4, 420, {0.06, 0, 0, 0, 150, 0})}, 24, 96,
             3.0);
    sand(*g.fw, 0);
    sand(*g.fw, 1);
    EXPECT_EQ(g.fw->equivalentDepth(1), 0.0);
    Ground narrow({uniform(5, 240, {0.07, 2, 30, 0, 80, 0})}, 0, 0, 3.0);
    silt(*narrow.fw, 0);
    for (const std::string* text : {&g.soilData, &g.report, &narrow.soilData, &narrow.report})
        EXPECT_TRUE(finite(*text)) << *text;
    // Only the shift is left: 3 Ka b with Ka = 1.
    EXPECT_EQ(g.point(9, 1, 17), line(kSandPoint, {17, -72.0, 3 * 24.0 / 80 + 3 * 24}));
    EXPECT_EQ(narrow.point(4, 2, 17), line(kSiltPoint, {17, 0.0, 0.0}));
    // A continuous wall at 60 deg, where Coulomb's coefficient has no bound: taken as single elements.
    Ground steep({uniform(4, 360, {0.0637, 0, 60, 0, 60, 0})}, 24, 24);
    sand(*steep.fw, 0);
    const Resistance single = resistance({60, 0.0637, 0, 60, false}, 24, 120, 120, false);
    EXPECT_EQ(steep.point(2, 1, 17),
              line(kSandPoint, {17, curveP(deflection(17, 24), single, 24, 60 * 120.0), deflection(17, 24)}));
}

TEST(Silt, WithoutCohesionAsSandWithTenDegreesOfWallFriction) {
    Ground sandy({uniform(4, 360, {0.0637, 0, 35, 0, 60, 0})}, 24, 96, 1.0);
    Ground silty({uniform(5, 360, {0.0637, 0, 35, 0, 60, 0})}, 24, 96, 1.0);
    sand(*sandy.fw, 0);
    silt(*silty.fw, 0);
    ASSERT_EQ(silty.soilLines().size(), sandy.soilLines().size());
    for (int curve = 0; curve < 5; ++curve)
        for (int i = 1; i <= 34; ++i) {
            const double a = middleNumber(sandy.point(curve, 1, i)),
                         b = middleNumber(silty.point(curve, 1, i));
            EXPECT_NEAR(a, b, 1.01e-3 * std::pow(10.0, std::floor(std::log10(std::abs(a))) + 1))
                << curve << " " << i;
        }
    // Continuous wall: Coulomb's coefficient with 10 deg; no cohesive part.
    Ground wall({uniform(5, 360, {0.0637, 0, 35, 0, 60, 0})}, 24, 24);
    silt(*wall.fw, 0);
    const Resistance r = resistance({35, 0.0637, 0, 60, true}, 24, 240, 240, true);
    const std::string values =
        line("(2F10.2,F10.1,E10.3,2F10.2,2E10.3)", {240.0, 24.0, 35.0, 0.0637, r.a, r.b, 0.0, r.ps});
    EXPECT_NE(wall.report.find(values + "\n"), std::string::npos) << values << "\n" << wall.report;
    EXPECT_NE(wall.report.find("Puc       Pu\xED\n"), std::string::npos);
}

TEST(Silt, CohesiveLayerBelowSand) {
    // sigma_x Ka b exceeds 2 c sqrt(Ka) b: a shift remains.
    Ground g({uniform(4, 240, {0.07, 0, 30, 0, 80, 0}), uniform(5, 420, {0.06, 4, 25, 0, 150, 0})}, 24, 96,
             20.0);
    sand(*g.fw, 0);
    silt(*g.fw, 1);
    const double x1 = 120.1;
    const double heq =
        equivalentDepth({25, (0.07 * 120 + 0.06 * 0.1) / x1, 4, 150, true}, 24, x1, g.fw->layerIntegral(0));
    EXPECT_NEAR(g.fw->equivalentDepth(1), heq, 1e-9 * heq);
    for (int i = 0; i < 5; ++i) {
        const double x = g.fw->curveDepths(1)[i];
        expectCurve(g, 5 + i, {25, (0.07 * 120 + 0.06 * (x - 120)) / x, 4, 150, true}, x, x - 120 + heq);
    }
    EXPECT_TRUE(reportShows(g, "(21X,2E20.3)", 7, 2, 9));
    EXPECT_NE(g.report.find("P-Multiplier"), std::string::npos);
}

TEST(Silt, NoFrictionAngleEndsTheRun) {
    Ground g({uniform(5, 240, {0.07, 5, 0, 0, 80, 0})}, 24, 96);
    std::string console;
    const RunStop stop = stopOf([&] { silt(*g.fw, 0); }, console);
    EXPECT_EQ(stop.stopCode(), 0);
    const std::string warning =
        std::string("\n\n") + sp(7) + "WARNING-------The Angle of the slope can not\n" + sp(21) +
        "be greater than the internal  \n" + sp(21) + "friction angle of the sand.   \n\n";
    EXPECT_EQ(stop.reportLines().substr(0, warning.size()), warning);
    EXPECT_EQ(console, warning);
    EXPECT_TRUE(g.soilData.empty());
}

// Su = 1000, b = 24, pm = 0.5 and ym = 2 from the table.
TEST(StrongRock, RisesToTheStrengthThenDropsToTheResidual) {
    Ground g({uniform(6, 360, {0.09, 2000, 0, 0, 0, 0})}, 24, 96, 5.0, {{0, 0.5, 2}, {1000, 0.5, 2}});
    strongRock(*g.fw, 0);
    EXPECT_EQ(g.fw->layerIntegral(0), 0.0);
    std::istringstream header(g.soilLines()[0]);
    double z;
    int count;
    header >> z >> count;
    EXPECT_EQ(z, kH + g.fw->curveDepths(0)[0]);
    EXPECT_EQ(count, 34);
    const double su = 1000, b = 24, y1 = double(0.0004f) * b,
                 y2 = y1 + (su * b - 2000 * su * y1) / (100 * su);
    for (int curve = 0; curve < 5; ++curve)
        for (int side = 1; side <= 2; ++side) {
            const double x = g.fw->curveDepths(0)[curve], xs = side == 1 ? x : kH + x;
            for (int i = 1; i <= 17; ++i) {
                const double y = (i - 1) * y2 / 15;
                const double p = y < y1   ? 0.5 * 2000 * su * y
                                 : y < y2 ? 0.5 * (2000 * su * y1 + 100 * su * (y - y1))
                                          : 0.5 * 0.09 * b * xs;
                EXPECT_EQ(g.point(curve, side, i), line("(I5,1X,2E10.3)", {i, p, 2 * y}))
                    << curve << side << i;
            }
        }
    // By hand: 0.64 Su b at 0.00032 b, 0.984 Su b at 0.00224 b, the residual from 0.0024 b on.
    EXPECT_EQ(g.point(0, 1, 3), "    3  0.768E+04 0.154E-01");
    EXPECT_EQ(g.point(0, 1, 15), "   15  0.118E+05 0.108E+00");
    EXPECT_EQ(g.point(0, 1, 16), "   16  0.108E+00 0.115E+00");
    EXPECT_EQ(g.point(0, 2, 16), "   16  0.130E+03 0.115E+00");
    EXPECT_NE(g.report.find(sp(17) + "DEPTH-BACKFILL SIDE" + sp(7) + "DIAM" + sp(8) + "C\n"),
              std::string::npos);
    EXPECT_NE(g.report.find(sp(28) + "120.10" + sp(9) + "24.000   0.1E+04\n"), std::string::npos);
    EXPECT_NE(g.report.find(sp(32) + "0.115D+00" + sp(11) + "0.130D+03\n"), std::string::npos);
    EXPECT_EQ(g.report.find("AT THE "), std::string::npos);
    EXPECT_EQ(g.report.find("Multiplier"), std::string::npos);
}

TEST(WeakRock, StrengthReductionAndTheDepthRule) {
    // qu from 1000 at the top of the rock to 2000 at x = 240.
    const double b = 20, er = 5.0e4, krm = 0.0005;
    auto run = [&](double rqd) {
        const SoilLayer rock{7, 360, {0.08, 1000, 0, krm, er, rqd}, {0.08, 2000, 0, krm, er, rqd}};
        auto g = std::make_unique<Ground>(std::vector<SoilLayer>{rock}, b, 80);
        weakRock(*g->fw, 0);
        return g;
    };
    const double factors[] = {0.0005f, 0.001f, 0.003f, 0.006f, 0.009f, 0.02f, 0.04f, 0.06f, 0.08f,
                              0.1f,    0.25,   0.5,    0.75,   1,      4,     8,     12};
    auto expected = [&](double alpha, double qur, double xr, bool deep, int i) {
        const double pur = deep ? double(5.2f) * alpha * qur * b : alpha * qur * (b + double(1.4f) * xr);
        const double kir = deep ? 500 * er : (100 + 400 * xr / (3 * b)) * er, yrm = krm * b;
        const double ya = std::pow(0.5 * pur / (std::pow(yrm, 0.25) * kir), 4.0 / 3.0),
                     y = yrm * factors[i - 1];
        return line(kSiltPoint,
                    {i, y < ya ? kir * y : std::min(0.5 * pur * std::pow(y / yrm, 0.25), pur), y});
    };
    for (const double rqd : {0.0, 100.0}) {
        const auto g = run(rqd);
        const double alpha = rqd == 0 ? 1.0 : 1.0 / 3.0;
        for (int curve = 0; curve < 5; ++curve)
            for (int side = 1; side <= 2; ++side) {
                const double x = g->fw->curveDepths(0)[curve], qur = (1000 + 1000 + 1000 * x / 240) / 2;
                const double xr = (side == 1 ? 0 : kH) + x + double(1.0e-8f);
                for (int i = 1; i <= 17; ++i)
                    EXPECT_EQ(g->point(curve, side, i), expected(alpha, qur, xr, xr > 3 * b, i))
                        << rqd << curve << side << i;
            }
        // x = 60 on the excavation side: xr = 3b, where both rules give 5.2 alpha qur b.
        for (int i = 1; i <= 17; ++i) {
            EXPECT_EQ(g->point(1, 1, i), expected(alpha, 1125, 60 + double(1.0e-8f), false, i));
            EXPECT_EQ(g->point(1, 1, i), expected(alpha, 1125, 60, true, i));
        }
    }
    EXPECT_NEAR(middleNumber(run(0)->point(4, 2, 17)) / middleNumber(run(100)->point(4, 2, 17)), 3.0, 1e-2);
    const auto g = run(0);
    EXPECT_NE(g->report.find(sp(16) + "IN" + sp(7) + "IN" + sp(4) + "LBS/IN**2 LBS/IN**2 LBS/IN**3\n"),
              std::string::npos);
    EXPECT_TRUE(reportShows(*g, "(21X,2E20.3)", 3, 2, 12));
    EXPECT_EQ(g->report.find("Multiplier"), std::string::npos);
}

TEST(WeakRock, ZeroStrengthEndsTheRunAtTheSecondCurve) {
    Ground g({uniform(7, 360, {0.08, 0, 0, 0.0005, 5e4, 50})}, 20, 80);
    std::string console;
    const RunStop stop = stopOf([&] { weakRock(*g.fw, 0); }, console);
    EXPECT_EQ(stop.stopCode(), 0);
    const std::string warning = std::string("\n") + sp(7) +
                                "--------------------WARNING----------------------\n" + sp(7) +
                                "THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT\n" + sp(7) +
                                "DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.\n";
    EXPECT_EQ(stop.reportLines().substr(0, warning.size()), warning);
    EXPECT_EQ(console, warning);
    EXPECT_EQ(g.soilLines().size(), 35u);  // the first curve was written
    EXPECT_EQ(g.point(0, 2, 17), line(kSiltPoint, {17, 0.0, 12 * double(0.0005f) * 20}));
}

TEST(RockGuards, NoStiffnessOrNoStrengthGiveZeroResistance) {
    Ground soft({uniform(7, 360, {0.08, 1000, 0, 0.0005, 0, 50})}, 20, 80);  // Er = 0
    weakRock(*soft.fw, 0);
    Ground flat({uniform(7, 360, {0.08, 1000, 0, 0, 5e4, 50})}, 20, 80);  // krm = 0
    weakRock(*flat.fw, 0);
    Ground none({uniform(6, 360, {0.09, 0, 0, 0, 0, 0})}, 24, 96);  // qu = 0
    strongRock(*none.fw, 0);
    for (int i = 1; i <= 17; ++i) {
        EXPECT_EQ(middleNumber(soft.point(2, 1, i)), 0.0);
        EXPECT_EQ(flat.point(2, 2, i), line(kSiltPoint, {i, 0.0, 0.0}));
    }
    EXPECT_EQ(none.point(0, 1, 15), line("(I5,1X,2E10.3)", {15, 0.0, 14 * double(0.0024f) * 24 / 15}));
    for (const std::string* text :
         {&soft.soilData, &flat.soilData, &none.soilData, &soft.report, &flat.report})
        EXPECT_TRUE(finite(*text)) << *text;
}
