// The clay p-y criteria: the generated curves against the published static formulas written out
// again here (with an equivalent depth found by bisection, not by the closed form), and the report
// and SOILDATA lines against hand-derived text.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/problem.h"
#include "engine/report.h"
#include "engine/run_stop.h"
#include "engine/soil/excavation_profile.h"
#include "engine/soil/py_framework.h"

using namespace engine;
using namespace engine::soil;

namespace {

// The criteria's decimal constants act with their single-precision values.
constexpr double sp(float v) {
    return v;
}

constexpr double kH = 120.0;  // free height [in]
constexpr double kB = 24.0;   // width for soil resistance [in]
constexpr double kIncrement = 12.0;
constexpr int kIncrements = 40;  // the wall tip cut lies at x = 2h + NI h - H = 384
constexpr double kOffset = sp(0.1f);
constexpr int kPoints = 17;

using Row = std::array<double, 6>;  // unit weight, c, phi, e50, k, slot 6

Row row(double gamma, double c, double e50, double k = 0.0) {
    return {gamma, c, 0.0, e50, k, 0.0};
}

struct Layer {
    int type;
    double xTop, xBottom;  // below the excavation; the first layer starts at 0
    Row top, base;
};

struct Case {
    std::vector<Layer> layers;
    double widthActive = 100.0;  // r = 4.17: no reduction, not a continuous wall
    double sigmaX = 0.0;
    std::vector<Modifier> table;  // none, or two rows
};

SoilBlock blockOf(const Case& c) {
    SoilBlock s;
    s.freeHeight = kH;
    s.widthActive = c.widthActive;
    s.widthResistance = kB;
    s.waterBackfill = 10000.0;  // far below: every unit weight stays dry
    s.waterExcavation = 10000.0;
    for (const Layer& l : c.layers)
        s.layers.push_back({l.type, kH + l.xBottom, l.top, l.base});
    return s;
}

// One generation: the profile, the framework and the texts they write. The profile and the
// framework keep references to the members, so the object stays where it is built.
struct Generation {
    SoilBlock soil;
    std::vector<Modifier> table;
    std::string profileReport, report, soilData;
    ExcavationProfile profile;
    PyFramework fw;

    explicit Generation(const Case& c)
        : soil(blockOf(c)),
          table(c.table),
          profile(soil, kIncrement, kIncrements, 1, UnitLabels::forSystem(1), profileReport),
          fw(soil, profile, table, 1, c.sigmaX, report, soilData) {}

    void run() {
        for (int layer = 0; layer < fw.layerCount(); ++layer) {
            const int type = fw.layer(layer).type;
            (type == 2   ? stiffClayWithFreeWater
             : type == 3 ? stiffClayWithoutFreeWater
                         : softClay)(fw, layer);
        }
    }
};

// ---- reading what was written ------------------------------------------------------------------

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

bool number(const std::string& field, double& value) {
    const size_t first = field.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    const std::string text = field.substr(first);
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

struct PrintedHalf {
    int side = 0;
    std::vector<std::string> lines;  // from the side line to the last line before the next side line
    std::vector<double> y, p;
};

const std::string kSide1 = "         AT THE EXCAVATION SIDE";
const std::string kSide2 = "         AT THE BACKFILL SIDE";

// The half-curves of a report. A point line is 21 blanks and two F20 fields.
std::vector<PrintedHalf> halves(const std::string& report) {
    const std::vector<std::string> all = lines(report);
    std::vector<PrintedHalf> out;
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i] == kSide1 || all[i] == kSide2) {
            if (!out.empty()) out.back().lines.resize(out.back().lines.size() - 2);  // the next side's (/,/
            out.push_back({all[i] == kSide1 ? 1 : 2, {}, {}, {}});
        }
        if (out.empty()) continue;
        PrintedHalf& h = out.back();
        h.lines.push_back(all[i]);
        double y, p;
        if (all[i].size() == 61 && all[i].compare(0, 21, std::string(21, ' ')) == 0 &&
            number(all[i].substr(21, 20), y) && number(all[i].substr(41, 20), p)) {
            h.y.push_back(y);
            h.p.push_back(p);
        }
    }
    return out;
}

struct DataCurve {
    double z = 0.0;
    int count = 0;
    std::vector<std::string> records;
    std::vector<double> p, y;
};

// SOILDATA as the criteria write it: a header (z, 34) per curve, then the point records.
std::vector<DataCurve> dataCurves(const std::string& soilData) {
    std::vector<DataCurve> out;
    for (const std::string& line : lines(soilData)) {
        std::istringstream in(line);
        std::vector<std::string> tokens;
        for (std::string t; in >> t;)
            tokens.push_back(t);
        if (tokens.size() == 2) {
            out.push_back({});
            out.back().z = std::strtod(tokens[0].c_str(), nullptr);
            out.back().count = std::atoi(tokens[1].c_str());
        } else if (!out.empty()) {
            DataCurve& c = out.back();
            c.records.push_back(line);
            c.p.push_back(std::strtod(tokens.at(1).c_str(), nullptr));
            c.y.push_back(std::strtod(tokens.at(2).c_str(), nullptr));
        }
    }
    return out;
}

// ---- the published criteria, written out again ----------------------------------------------

struct Curve {
    double ultimate = 0.0;
    double a = 0.0;
    std::array<double, kPoints> y{}, p{};
};

Curve softClayCurve(bool continuous, double c, double gamma, double e50, double xs, double xEff) {
    Curve k;
    if (continuous)
        k.ultimate = kB * (gamma * xs + 2.0 * c);
    else if (c > 0.0)
        k.ultimate = std::min(9.0 * c * kB, 3.0 * c * kB + gamma * kB * xEff + c * xEff / 2.0);  // c b Np
    const double y50 = 2.5 * e50 * kB;
    const double ratio[kPoints] = {0.0, sp(0.008f), 0.25, 0.5,  0.75, 1.0, 1.25, 1.5, 1.75,
                                   2.0, 2.25,       2.5,  2.75, 3.0,  8.0, 15.0, 20.0};
    for (int i = 0; i < kPoints; ++i) {
        k.y[i] = ratio[i] * y50;
        k.p[i] = ratio[i] > 8.0 ? k.ultimate : k.ultimate / 2.0 * std::pow(ratio[i], 1.0 / 3.0);
    }
    return k;
}

double factorA(double depthOverWidth) {
    const double a[6] = {sp(0.223f), sp(0.46f), sp(0.55f), sp(0.59f), sp(0.60f), sp(0.60f)};
    if (depthOverWidth >= 5.0) return a[5];
    const int i = static_cast<int>(depthOverWidth);
    return a[i] + (a[i + 1] - a[i]) * (depthOverWidth - i);
}

double residual(double a) {
    return sp(1.225f) * std::sqrt(a) - 0.75 * a - sp(0.411f);
}

Curve freeWaterCurve(bool continuous, double c, double ca, double gamma, double e50, double k, double xs,
                     double xEff) {
    Curve r;
    r.a = factorA(xs / kB);
    const double pc = continuous
                          ? kB * (gamma * xs + 2.0 * c)
                          : std::min(11.0 * c * kB, 2.0 * ca * kB + (gamma * kB + sp(2.83f) * ca) * xEff);
    r.ultimate = pc;
    const double y50 = e50 * kB;
    const double m[kPoints] = {0,   0.5, 1,   1.5, 2,  2.5, 3,  3.5, 4,
                               4.5, 5,   5.5, 6,   10, 14,  18, 200};  // of A y50
    const double top = pc / 2.0 * std::sqrt(6.0 * r.a) - sp(0.411f) * pc;
    for (int i = 0; i < kPoints; ++i) {
        const double y = m[i] * r.a * y50;
        double p;
        if (m[i] <= 1.0)
            p = pc / 2.0 * std::sqrt(m[i] * r.a);
        else if (m[i] <= 6.0)
            p = pc / 2.0 * std::sqrt(m[i] * r.a) - sp(0.055f) * pc * std::pow(m[i] - 1.0, 1.25);
        else if (m[i] <= 18.0)
            p = top - 0.0625 * pc * (m[i] - 6.0) * r.a;
        else
            p = top - 0.75 * r.a * pc;
        r.y[i] = y;
        r.p[i] = std::min(p, k * xEff * y);
    }
    return r;
}

Curve noFreeWaterCurve(bool continuous, double c, double ca, double gamma, double e50, double xs,
                       double xEff) {
    Curve r;
    r.ultimate = continuous ? kB * (gamma * xs + 2.0 * c)
                            : std::min(9.0 * c * kB, 3.0 * ca * kB + gamma * kB * xEff + ca * xEff / 2.0);
    const double y50 = 2.5 * e50 * kB;
    const double ofYu[kPoints] = {0,          sp(1e-5f), sp(5e-5f),  sp(1e-4f), sp(5e-4f),  sp(0.001f),
                                  sp(0.005f), sp(0.01f), sp(0.025f), sp(0.05f), sp(0.075f), sp(0.1f),
                                  0.25,       0.5,       1.0,        18.0 / 16, 20.0 / 16};
    for (int i = 0; i < kPoints; ++i) {
        r.y[i] = ofYu[i] * 16.0 * y50;
        r.p[i] = ofYu[i] <= 1.0 ? r.ultimate / 2.0 * std::pow(16.0 * ofYu[i], 0.25) : r.ultimate;
    }
    return r;
}

// The depth at which the integral of min(3cb + (g b + c/2) t, 9cb) from 0 reaches ro, by bisection
// on a fine trapezoid sum.
double wedgeDepthByBisection(double c, double gamma, double ro) {
    auto integral = [&](double h) {
        const int n = 100000;
        const double d = h / n;
        double s = 0.0;
        for (int k = 0; k < n; ++k) {
            auto q = [&](double t) {
                return std::min(3.0 * c * kB + (gamma * kB + c / 2.0) * t, 9.0 * c * kB);
            };
            s += (q(k * d) + q((k + 1) * d)) / 2.0 * d;
        }
        return s;
    };
    double lo = 0.0, hi = 1.0;
    while (integral(hi) < ro)
        hi *= 2.0;
    for (int k = 0; k < 60; ++k) {
        const double mid = (lo + hi) / 2.0;
        (integral(mid) < ro ? lo : hi) = mid;
    }
    return (lo + hi) / 2.0;
}

// The 40-step residual integration of stiff clay with free water (ca = c), searched afterwards.
double freeWaterDepthBySteps(double c, double gamma, double ro) {
    const double xr = 9.0 * c * kB / (sp(2.83f) * c + gamma * kB);
    const double d = xr / 40.0;
    std::array<double, 41> sum{};
    for (int i = 1; i <= 40; ++i) {
        const double x = i * d;
        sum[i] =
            sum[i - 1] + (2.0 * c * kB + (sp(2.83f) * c + gamma * kB) * x) * residual(factorA(x / kB)) * d;
    }
    for (int i = 1; i <= 40; ++i)
        if (sum[i] > ro) return (i - 1) * d + (ro - sum[i - 1]) * d / (sum[i] - sum[i - 1]);
    return xr + (ro - sum[40]) / (11.0 * c * kB * residual(factorA(xr / kB)));
}

struct ExpectedHalf {
    int side;
    double z;
    double tolerance;  // half a unit of the printed decimals: F20.5 for stiff clay without free water
    std::array<double, kPoints> y, p;  // after the multipliers and the shift
};

struct Expected {
    std::vector<ExpectedHalf> halves;
    std::vector<double> integral, heq;
};

double linearIn(const Layer& l, int slot, double x) {
    return l.top[slot] + (l.base[slot] - l.top[slot]) * (x - l.xTop) / (l.xBottom - l.xTop);
}

double meanGamma(const std::vector<Layer>& layers, double x) {
    double area = 0.0;
    for (const Layer& l : layers)
        area += l.top[0] * std::max(0.0, std::min(l.xBottom, x) - l.xTop);
    return area / x;
}

// p- and y-multiplier at z: the two-row table, else the reduction of closely spaced elements.
std::pair<double, double> multipliers(const Case& cs, double z) {
    if (cs.table.empty()) {
        const double r = cs.widthActive / kB;
        return {r >= sp(1.1f) && r < sp(3.1f) ? sp(0.5292f) * std::pow(r, sp(0.5659f)) : 1.0, 1.0};
    }
    const Modifier& a = cs.table.front();
    const Modifier& b = cs.table.back();
    if (z < a.depth || z > b.depth) return {1.0, 1.0};
    const double f = (z - a.depth) / (b.depth - a.depth);
    return {a.pMultiplier + (b.pMultiplier - a.pMultiplier) * f,
            a.yMultiplier + (b.yMultiplier - a.yMultiplier) * f};
}

Expected evaluate(const Case& cs) {
    Expected e;
    const bool continuous = cs.widthActive / kB < sp(1.1f);
    for (size_t li = 0; li < cs.layers.size(); ++li) {
        const Layer& l = cs.layers[li];
        const double t = l.xBottom - l.xTop;
        const double xs5[5] = {l.xTop + kOffset, l.xTop + t / 4, l.xTop + t / 2, l.xTop + 3 * t / 4,
                               l.xBottom - kOffset};
        double integral = 0.0, heq = 0.0, previous = 0.0;
        for (int i = 0; i < 5; ++i) {
            const double x = xs5[i];
            const double z = kH + x;
            const double c = linearIn(l, 1, x);
            const double e50 = linearIn(l, 3, x);
            const double gamma = meanGamma(cs.layers, x);
            const double ca = (l.top[1] + c) / 2.0;
            if (i == 0 && li > 0) {
                double ro = 0.0;
                for (double v : e.integral)
                    ro += v;
                heq = l.type == 2 ? freeWaterDepthBySteps(c, gamma, ro) : wedgeDepthByBisection(c, gamma, ro);
            }
            const double shift = std::max(0.0, kB * (cs.sigmaX - 2.0 * c));
            const auto [pm, ym] = multipliers(cs, z);
            for (int side = 1; side <= 2; ++side) {
                const double xs = side == 1 ? x : kH + x;
                const double xEff = li == 0 ? xs : xs - l.xTop + heq;
                Curve k;
                if (l.type == 2)
                    k = freeWaterCurve(continuous, c, ca, gamma, e50, l.top[4], xs, xEff);
                else if (l.type == 3)
                    k = noFreeWaterCurve(continuous, c, ca, gamma, e50, xs, xEff);
                else
                    k = softClayCurve(continuous, c, gamma, e50, xs, xEff);
                if (side == 1) {
                    const double dx = i > 0 ? x - xs5[i - 1] : 0.0;
                    if (l.type == 2)
                        integral += (k.ultimate + previous) / 2.0 * residual(k.a) * dx;
                    else if (l.type == 3)
                        integral += (k.ultimate + previous) / 2.0 * dx;
                    else
                        integral += k.ultimate * dx;
                    previous = k.ultimate;
                }
                ExpectedHalf h{side, z, l.type == 3 ? 5.1e-6 : 5.1e-4, {}, {}};
                for (int j = 0; j < kPoints; ++j) {
                    h.y[j] = ym * k.y[j];
                    h.p[j] = pm * k.p[j] + (side == 1 ? -shift : shift);
                }
                e.halves.push_back(h);
            }
        }
        e.integral.push_back(integral);
        e.heq.push_back(heq);
    }
    return e;
}

// Report points and SOILDATA records (E10.3) against the expectation, curve by curve, side 1 first.
void expectCurves(const Generation& g, const Expected& e) {
    // The layer integrals (side-1 ultimate resistances) and the equivalent depths below the first.
    ASSERT_EQ(g.fw.layerCount(), static_cast<int>(e.integral.size()));
    for (int l = 0; l < g.fw.layerCount(); ++l) {
        EXPECT_NEAR(g.fw.layerIntegral(l), e.integral[l], 1e-9 * std::fabs(e.integral[l])) << "layer " << l;
        if (l > 0) {
            EXPECT_NEAR(g.fw.equivalentDepth(l), e.heq[l], 1e-6 * e.heq[l] + 1e-9) << "layer " << l;
        }
    }
    const std::vector<PrintedHalf> printed = halves(g.report);
    const std::vector<DataCurve> data = dataCurves(g.soilData);
    ASSERT_EQ(printed.size(), e.halves.size());
    ASSERT_EQ(data.size() * 2, e.halves.size());
    for (size_t i = 0; i < e.halves.size(); ++i) {
        SCOPED_TRACE("half-curve " + std::to_string(i + 1));
        const ExpectedHalf& x = e.halves[i];
        const PrintedHalf& h = printed[i];
        EXPECT_EQ(h.side, x.side);
        ASSERT_EQ(h.y.size(), static_cast<size_t>(kPoints));
        const DataCurve& d = data[i / 2];
        EXPECT_NEAR(d.z, x.z, 1e-9);
        EXPECT_EQ(d.count, 34);
        ASSERT_EQ(d.records.size(), 34u);
        for (int j = 0; j < kPoints; ++j) {
            SCOPED_TRACE("point " + std::to_string(j + 1));
            EXPECT_NEAR(h.y[j], x.y[j], x.tolerance + 1e-12 * std::fabs(x.y[j]));
            EXPECT_NEAR(h.p[j], x.p[j], x.tolerance + 1e-12 * std::fabs(x.p[j]));
            const size_t r = (x.side == 1 ? 0 : kPoints) + j;  // E10.3: three digits
            EXPECT_NEAR(d.p[r], x.p[j], 5.01e-3 * std::fabs(x.p[j]) + 1e-12);
            EXPECT_NEAR(d.y[r], x.y[j], 5.01e-3 * std::fabs(x.y[j]) + 1e-12);
        }
    }
}

constexpr double kF3 = 5.1e-4;  // half a unit of F20.3

std::string blanks(int n) {
    return std::string(static_cast<size_t>(n), ' ');
}

bool finite(const std::string& text) {
    return text.find("nan") == std::string::npos && text.find("inf") == std::string::npos &&
           text.find("NaN") == std::string::npos && text.find("Inf") == std::string::npos;
}

Layer soft(double xTop, double xBottom, double gamma, double cTop, double cBottom, double e50) {
    return {1, xTop, xBottom, row(gamma, cTop, e50), row(gamma, cBottom, e50)};
}

// The soft clay of the published example: c = 5 lb/in^2, unit weight 0.0696 lb/in^3, b = 24 in.
Case softExample() {
    Case c;
    c.layers = {soft(0, 240, 0.0696, 5, 5, 0.01)};
    return c;
}

}  // namespace

TEST(SoftClay, PublishedExampleHalfCurve) {
    // The second curve lies at x = 60: Np = 3 + 0.0696 * 60/5 + 0.5 * 60/24 = 5.0852,
    // pu = 5 * 24 * 5.0852 = 610.224 lb/in, y50 = 2.5 * 0.01 * 24 = 0.6 in, p(y50) = pu/2 = 305.112.
    Generation g(softExample());
    g.run();
    const std::vector<PrintedHalf> h = halves(g.report);
    ASSERT_EQ(h.size(), 10u);
    const std::vector<std::string> expected = {
        blanks(9) + "AT THE EXCAVATION SIDE",
        "",
        blanks(9) + "DEPTH BELOW GS" + blanks(6) + "DIAM" + blanks(8) + "C" + blanks(6) + "GAMMA AVG" +
            blanks(6) + "E50",
        blanks(15) + "IN" + blanks(13) + "IN" + blanks(5) + "LBS/IN**2" + blanks(2) + "LBS/IN**3",
        blanks(13) + "60.00" + blanks(10) + "24.000 0.5000D+01 0.6960D-01   0.1000D-01",
        "",
        blanks(37) + "Y,IN" + blanks(13) + "P,LBS/IN",
        "                                    0.000               0.000",
        "                                    0.005              61.022",
        "                                    0.150             192.209",
        "                                    0.300             242.168",
        "                                    0.450             277.213",
        "                                    0.600             305.112",
        "                                    0.750             328.672",
        "                                    0.900             349.266",
        "                                    1.050             367.682",
        "                                    1.200             384.417",
        "                                    1.350             399.810",
        "                                    1.500             414.101",
        "                                    1.650             427.468",
        "                                    1.800             440.048",
        "                                    4.800             610.224",
        "                                    9.000             610.224",
        "                                   12.000             610.224",
        "",
        blanks(22) + "P-Multiplier =  0.100E+01 Y-Multiplier =  0.100E+01",
    };
    EXPECT_EQ(h[2].lines, expected);

    // Its SOILDATA header and records; the side-2 points follow those of side 1.
    const std::vector<DataCurve> d = dataCurves(g.soilData);
    ASSERT_EQ(d.size(), 5u);
    EXPECT_EQ(lines(g.soilData)[35], " 180.0 34");
    EXPECT_EQ(d[1].records[1], "    2  0.610E+02  0.480E-02");
    EXPECT_EQ(d[1].records[16], "   17  0.610E+03  0.120E+02");
    EXPECT_EQ(d[1].records[17], "    1  0.000E+00  0.000E+00");
}

TEST(SoftClay, EveryCurveFollowsTheCriterionWithTheCapOfNine) {
    const Case cs = softExample();
    Generation g(cs);
    g.run();
    expectCurves(g, evaluate(cs));

    // Np = 9.26 at x = 180 before the cap: pu = 9 c b = 1080; at x = 120 Np = 7.17. Side 2 lies
    // H deeper: its curves are stronger, and capped from the second curve on.
    const std::vector<PrintedHalf> h = halves(g.report);
    EXPECT_NEAR(h[6].p[16], 1080.0, kF3);
    EXPECT_NEAR(h[8].p[16], 1080.0, kF3);
    EXPECT_NEAR(h[4].p[16], 120.0 * (3.0 + 0.0696 * 120 / 5 + 120.0 / 48), 1e-3);
    EXPECT_NEAR(h[3].p[16], 1080.0, kF3);
    EXPECT_GT(h[1].p[16], h[0].p[16] + 200.0);
}

TEST(SoftClay, ZeroDeflectionWarning) {
    // e50 = 1.0E-16: y50 = 6.0E-15, so points 2 to 8 (up to 1.5 y50 = 9.0E-15) lie below 1.0E-14
    // and follow p = k0 y; point 9 (1.75 y50) is back on the power law. At x = 0.1 on side 1,
    // pu = 120 (3 + 0.0696 * 0.1/5 + 0.05/24) = 360.417, k0 = pu/2 (y50/1.0E-14)^(2/3)/y50 = 0.2137E+17.
    Case cs;
    cs.layers = {soft(0, 240, 0.0696, 5, 5, 1e-16)};
    Generation g(cs);
    g.run();
    const std::vector<PrintedHalf> h = halves(g.report);
    ASSERT_EQ(h.size(), 10u);
    const std::vector<std::string>& l = h[0].lines;
    ASSERT_GT(l.size(), 40u);
    const std::vector<std::string> expected = {
        blanks(37) + "Y,IN" + blanks(13) + "P,LBS/IN",
        blanks(36) + "0.000" + blanks(15) + "0.000",  // the first point never warns
        blanks(36) + "0.000" + blanks(15) + "1.026",  // k0 * 0.008 y50
        "",
        blanks(29) + "**** WARNING ****",
        "     DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM",
        "     USED A SOIL MODULUS OF   0.2137D+17",
        blanks(36) + "0.000" + blanks(14) + "32.049",  // k0 * y50/4
    };
    EXPECT_EQ(std::vector<std::string>(l.begin() + 6, l.begin() + 14), expected);
    EXPECT_EQ(std::count(l.begin(), l.end(), blanks(29) + "**** WARNING ****"), 7);
    const auto ninth = std::find(l.begin(), l.end(), blanks(36) + "0.000" + blanks(13) + "217.164");
    ASSERT_NE(ninth, l.end());
    EXPECT_EQ(*(ninth - 1), "     USED A SOIL MODULUS OF   0.2137D+17");  // after point 8
    EXPECT_NE(*(ninth + 1), "");                                          // none after point 9
    size_t count = 0;
    for (size_t at = g.report.find("**** WARNING"); at != std::string::npos;
         at = g.report.find("**** WARNING", at + 1))
        ++count;
    EXPECT_EQ(count, 70u);  // 7 in each half-curve
}

TEST(StiffClayWithFreeWater, FactorAStraightLineAndResidualResistance) {
    // c from 10 to 22 lb/in^2 over 240 in, e50 = 0.005 (y50 = 0.12 in), k = 500 lb/in^3.
    Case cs;
    cs.layers = {{2, 0, 240, row(0.07, 10, 0.005, 500), row(0.07, 22, 0.005, 500)}};
    Generation g(cs);
    g.run();
    const Expected e = evaluate(cs);
    expectCurves(g, e);
    const std::vector<PrintedHalf> h = halves(g.report);
    ASSERT_EQ(h.size(), 10u);

    // y17 = 200 A y50. At xs = 0.1, A is 0.223 plus the table's first slope over 0.1/24; at
    // xs/b >= 5 (side 2 everywhere, H = 5 b) it is 0.6.
    const double y50 = 0.12;
    EXPECT_NEAR(h[0].y[16] / (200 * y50) - (0.46 - 0.223) * kOffset / kB, 0.223, 3e-5);
    for (int i : {1, 3, 5, 7, 9, 6, 8})
        EXPECT_NEAR(h[i].y[16] / (200 * y50), 0.6, 2e-5) << i;

    // Near the surface k x_eff = 50 lb/in^2 is small: the straight line carries the points up to
    // the residual branch; deep down the curve lies well below the line.
    const double a = factorA(kOffset / kB);
    for (int j = 1; j <= 13; ++j)
        EXPECT_NEAR(h[0].p[j], 500 * kOffset * e.halves[0].y[j], kF3) << j;
    EXPECT_LT(h[0].p[16], 500 * kOffset * 200 * a * y50);
    EXPECT_LT(h[8].p[1], 500 * (240 - kOffset) * e.halves[8].y[1] / 2);

    // One record (no column heading, no multipliers line): at x = 120, c = 16 and
    // ca = (10 + 16)/2 = 13.
    const std::vector<std::string> head = {
        blanks(9) + "AT THE EXCAVATION SIDE",
        "",
        "",
        blanks(9) + "DEPTH BELOW GS      DIAM        C         CAVG    GAMMA AVG      E50",
        blanks(15) + "IN             IN     LBS/IN**2  LBS/IN**2  LBS/IN**3",
        blanks(13) + "120.00" + blanks(9) + "24.000   0.16D+02   0.13D+02   0.70D-01  0.5000D-02",
    };
    EXPECT_EQ(std::vector<std::string>(h[4].lines.begin(), h[4].lines.begin() + 6), head);
    EXPECT_EQ(h[4].lines.size(), 6u + kPoints);
    EXPECT_EQ(g.report.find("Multiplier"), std::string::npos);
}

TEST(StiffClayWithoutFreeWater, PowerLawToSixteenY50) {
    Case cs;
    cs.layers = {{3, 0, 240, row(0.075, 8, 0.004), row(0.075, 20, 0.008)}};
    Generation g(cs);
    g.run();
    expectCurves(g, evaluate(cs));
    const std::vector<PrintedHalf> h = halves(g.report);
    ASSERT_EQ(h.size(), 10u);

    // y2 = 16 y50 * 1.0E-5: p = pu/2 (1.6E-4)^(1/4) = 0.0562 pu; pu from yu = 16 y50 on.
    for (const PrintedHalf& half : h) {
        EXPECT_NEAR(half.p[1] / half.p[14], 0.05623, 1e-5);
        EXPECT_EQ(half.p[15], half.p[14]);
        EXPECT_EQ(half.p[16], half.p[14]);
    }

    // At x = 120 on side 2: xs = 240, c = 14, ca = 11, e50 = 0.006.
    const std::vector<std::string> head = {
        blanks(9) + "AT THE BACKFILL SIDE",
        "",
        "",
        blanks(10) + "DEPTH BELOW GS     DIAM        C       CAVG    GAMMA AVG     E50",
        blanks(16) + "IN            IN     LBS/IN**2 LBS/IN**2 LBS/IN**3",
        blanks(14) + "240.00" + blanks(9) + "24.000  0.14D+02  0.11D+02  0.75D-01  0.6000D-02",
        blanks(38) + "Y" + blanks(19) + "P",
        blanks(38) + "IN" + blanks(15) + "LBS/IN",
    };
    EXPECT_EQ(std::vector<std::string>(h[5].lines.begin(), h[5].lines.begin() + 8), head);
    EXPECT_EQ(h[5].lines.back(), blanks(22) + "P-Multiplier =  0.100E+01 Y-Multiplier =  0.100E+01");
}

TEST(ClayCriteria, ContinuousWallResistsWithPassivePressureAtTheSideDepth) {
    // WA = WP: r = 1. At x = 120, pu = (0.07 * 120 + 2 * 6) * 24 = 489.6 on side 1 and
    // (0.07 * 240 + 12) * 24 = 691.2 on side 2, whatever e50 and the wedge say.
    for (int type : {1, 2, 3}) {
        for (double e50 : {0.01, 0.03}) {
            SCOPED_TRACE("type " + std::to_string(type) + ", e50 " + std::to_string(e50));
            Case cs;
            cs.widthActive = kB;
            cs.layers = {{type, 0, 240, row(0.07, 6, e50, 2000), row(0.07, 6, e50, 2000)}};
            Generation g(cs);
            g.run();
            expectCurves(g, evaluate(cs));
            if (type == 2) continue;  // its last point is the residual resistance, checked above
            const std::vector<PrintedHalf> h = halves(g.report);
            ASSERT_EQ(h.size(), 10u);
            EXPECT_NEAR(h[4].p[16], 489.6, kF3);
            EXPECT_NEAR(h[5].p[16], 691.2, kF3);
        }
    }
}

TEST(ClayCriteria, ShiftAndMultipliers) {
    // shift = b (sigmaX - 2c), subtracted on side 1 and added on side 2 after the p-multiplier;
    // c runs from 5 to 9, so the shift fades out with depth (0 once 2c > 16).
    for (int type : {1, 2, 3}) {
        SCOPED_TRACE("type " + std::to_string(type));
        Case cs;
        cs.layers = {{type, 0, 240, row(0.07, 5, 0.01, 800), row(0.07, 9, 0.01, 800)}};
        cs.sigmaX = 16.0;
        Generation g(cs);
        g.run();
        expectCurves(g, evaluate(cs));
        const std::vector<PrintedHalf> h = halves(g.report);
        ASSERT_EQ(h.size(), 10u);
        const double shift = kB * (16.0 - 2.0 * (5.0 + 4.0 * kOffset / 240));
        EXPECT_NEAR(h[0].p[0], -shift, kF3);
        EXPECT_NEAR(h[1].p[0], shift, kF3);
        EXPECT_EQ(h[8].p[0], 0.0);
        EXPECT_EQ(h[9].p[0], 0.0);

        // sigmaX = 0: b (0 - 2c) < 0 gives no shift.
        cs.sigmaX = 0.0;
        Generation none(cs);
        none.run();
        for (const PrintedHalf& half : halves(none.report))
            EXPECT_EQ(half.p[0], 0.0);

        // Multiplier table (z 0: p 0.4, y 2; z 500: p 1, y 1): at z = 180, pm = 0.616, ym = 1.64.
        cs.sigmaX = 16.0;
        cs.table = {{0.0, 0.4, 2.0}, {500.0, 1.0, 1.0}};
        Generation scaled(cs);
        scaled.run();
        expectCurves(scaled, evaluate(cs));
        const std::string line = blanks(22) + "P-Multiplier =  0.616E+00 Y-Multiplier =  0.164E+01\n";
        EXPECT_EQ(scaled.report.find(line) != std::string::npos, type != 2);
    }

    // c = 5: sigmaX = 10 + d gives b d; up to 1.0E-10 it counts as no shift.
    for (const auto& [d, record] :
         {std::pair{2e-12, "    1  0.000E+00  0.000E+00"}, std::pair{1e-11, "    1 -0.240E-09  0.000E+00"}}) {
        Case threshold = softExample();
        threshold.sigmaX = 10.0 + d;
        Generation g(threshold);
        g.run();
        EXPECT_EQ(dataCurves(g.soilData).at(0).records.at(0), record) << d;
    }

    // The automatic reduction for WA = 2 WP: pm = 0.5292 * 2^0.5659 = 0.7834 on p, not on the shift.
    Case cs;
    cs.widthActive = 2 * kB;
    cs.sigmaX = 16.0;
    cs.layers = {soft(0, 240, 0.0696, 5, 5, 0.01)};
    Generation g(cs);
    g.run();
    expectCurves(g, evaluate(cs));
    EXPECT_NE(g.report.find("P-Multiplier =  0.783E+00 Y-Multiplier =  0.100E+01"), std::string::npos);
    EXPECT_NEAR(halves(g.report)[2].p[16], 0.5292 * std::pow(2.0, 0.5659) * 610.224 - 144.0, 0.05);
}

TEST(ClayCriteria, DeeperLayerStartsAtItsEquivalentDepth) {
    struct Two {
        const char* what;
        bool tail;  // Ro beyond the integral down to xr, where the layer's own soil reaches flow
        std::vector<Layer> layers;
    };
    const Two cases[] = {
        {"weak soft clay over soft clay: Ro below the wedge integral, a small h_eq",
         false,
         {soft(0, 48, 0.06, 1, 1, 0.02), soft(48, 240, 0.07, 6, 6, 0.01)}},
        {"soft clay over stiff clay without free water: Ro beyond the wedge, h_eq in the flow tail",
         true,
         {soft(0, 48, 0.0696, 5, 5, 0.01), {3, 48, 288, row(0.0696, 0.5, 0.005), row(0.0696, 60, 0.005)}}},
        {"stiff clay with free water over the same: stepwise residual integral",
         false,
         {{2, 0, 60, row(0.07, 10, 0.005, 500), row(0.07, 20, 0.005, 500)},
          {2, 60, 240, row(0.075, 15, 0.004, 1000), row(0.075, 40, 0.004, 1000)}}},
        {"strong soft clay over stiff clay with free water: beyond the 40 steps",
         true,
         {soft(0, 96, 0.07, 20, 20, 0.01),
          {2, 96, 240, row(0.07, 5, 0.004, 1000), row(0.07, 10, 0.004, 1000)}}},
    };
    for (const Two& two : cases) {
        SCOPED_TRACE(two.what);
        Case cs;
        cs.layers = two.layers;
        Generation g(cs);
        g.run();
        const Expected e = evaluate(cs);
        expectCurves(g, e);
        const Layer& l = two.layers[1];
        const double c = linearIn(l, 1, l.xTop + kOffset), gamma = meanGamma(two.layers, l.xTop + kOffset);
        const double xr =
            l.type == 2 ? 9 * c * kB / (sp(2.83f) * c + gamma * kB) : 6 * c * kB / (c / 2 + gamma * kB);
        EXPECT_GT(g.fw.equivalentDepth(1), 0.0);
        EXPECT_EQ(g.fw.equivalentDepth(1) > xr, two.tail);
    }

    // The first case by hand: the deeper layer's curves do not start from the excavation surface.
    Case cs;
    cs.layers = cases[0].layers;
    Generation g(cs);
    g.run();
    const double heq = evaluate(cs).heq[1];
    EXPECT_LT(heq, 20.0);
    const double x = 96.0, gamma = (0.06 * 48 + 0.07 * 48) / 96;
    const double pu = 3 * 6 * kB + gamma * kB * (x - 48 + heq) + 3 * (x - 48 + heq);
    EXPECT_NEAR(halves(g.report)[12].p[16], pu, 1e-3);
    EXPECT_GT(std::fabs(pu - (3 * 6 * kB + gamma * kB * x + 3 * x)), 50.0);
}

TEST(ClayCriteria, DegenerateSoilGivesFiniteCurvesOrAClearStop) {
    // Soft clay without cohesion: pu = 0, so every point is the shift 24 * (3 - 0) = 72 lb/in.
    Case none;
    none.layers = {soft(0, 120, 0.07, 0, 0, 0.02)};
    none.sigmaX = 3.0;
    Generation zero(none);
    zero.run();
    for (const PrintedHalf& half : halves(zero.report)) {
        ASSERT_EQ(half.p.size(), static_cast<size_t>(kPoints));
        for (double p : half.p)
            EXPECT_EQ(p, half.side == 1 ? -72.0 : 72.0);
    }
    EXPECT_EQ(zero.report.find("WARNING"), std::string::npos);
    EXPECT_TRUE(finite(zero.report + zero.soilData));

    // No cohesion in a deeper layer: nothing of the layer's own soil reproduces Ro; h_eq = 0.
    for (int type : {1, 2, 3}) {
        SCOPED_TRACE("type " + std::to_string(type));
        Case cs;
        cs.layers = {soft(0, 48, 0.07, 5, 5, 0.01),
                     {type, 48, 240, row(0.07, 0, 0.01, 500), row(0.07, 0, 0.01, 500)}};
        Generation g(cs);
        g.run();
        EXPECT_EQ(g.fw.equivalentDepth(1), 0.0);
        EXPECT_TRUE(finite(g.report + g.soilData));
        const std::vector<PrintedHalf> h = halves(g.report);
        ASSERT_EQ(h.size(), 20u);
        for (size_t i = 10; i < 20; ++i)
            for (double p : h[i].p)
                EXPECT_EQ(p, 0.0);
    }

    // No strain: every deflection would be 0 and the power laws undefined. The run stops before the
    // curve is written.
    for (int type : {1, 2, 3}) {
        SCOPED_TRACE("type " + std::to_string(type));
        Case cs;
        cs.layers = {soft(0, 48, 0.07, 5, 5, 0.01),
                     {type, 48, 240, row(0.07, 5, 0, 500), row(0.07, 5, 0, 500)}};
        Generation g(cs);
        try {
            g.run();
            ADD_FAILURE() << "no stop";
        } catch (const RunStop& stop) {
            EXPECT_EQ(
                stop.reportLines(),
                "\n\n     ERROR -- CLAY LAYER 2 BELOW THE EXCAVATION NEEDS A POSITIVE E50 AND WIDTH FOR SOIL "
                "RESISTANCE (P-Y CURVE AT DEPTH 168.10)\n");
        }
        EXPECT_EQ(dataCurves(g.soilData).size(), 5u);
        EXPECT_TRUE(finite(g.report + g.soilData));
    }
}
