// The mechanics against solutions derived independently of the finite-difference code: beam
// theory, the beam on an elastic foundation and the beam-column.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>

#include "engine/solver.h"
#include "tests/engine/test_support.h"

using namespace engine;

namespace {

constexpr double kPi = 3.14159265358979323846;

double at(const std::vector<double>& a, int k) {
    return a[static_cast<size_t>(k + 3)];
}

struct Wall {
    WallRecord record;
    Stations st;
    Wall(int ni, double length, double ei) : record{ni, length / ni, 1e12, 1e-10, 0.0, 12.0} {
        st.reset(ni, record.h);
        RangeDistributor r;
        r.add(st, 0, ni, 1, StationValues{ei, 0, 0, 0, 0, 0});
    }
    Results solve() {
        Solver solver(st, record, {});
        return solver.solve({});
    }
};

// Solves a 4x4 system by Gaussian elimination with partial pivoting.
std::array<double, 4> solve4(std::array<std::array<double, 5>, 4> m) {
    for (int c = 0; c < 4; ++c) {
        int p = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(m[r][c]) > std::fabs(m[p][c])) p = r;
        std::swap(m[c], m[p]);
        for (int r = 0; r < 4; ++r) {
            if (r == c) continue;
            const double f = m[r][c] / m[c][c];
            for (int k = c; k < 5; ++k)
                m[r][k] -= f * m[c][k];
        }
    }
    return {m[0][4] / m[0][0], m[1][4] / m[1][1], m[2][4] / m[2][2], m[3][4] / m[3][3]};
}

// Free beam of length L on a foundation of modulus k (force per length per deflection) with a load
// P and a moment M at x = 0: y = e^(lx)(A cos lx + B sin lx) + e^(-lx)(C cos lx + D sin lx), the
// constants from zero moment and shear at x = L and the end actions at x = 0. Derivatives in
// closed form; returns y(x) and the bending moment EI y''(x) on a grid.
struct FoundationBeam {
    double lambda, ei;
    std::array<double, 4> c{};
    // derivatives of the four basis functions at x, order 0..3
    static std::array<double, 4> basis(double l, double x, int order) {
        const double ep = std::exp(l * x), em = std::exp(-l * x), co = std::cos(l * x), si = std::sin(l * x);
        // d/dx of e^(sx)(a cos + b sin) maps (a, b) -> l*(s a + b, s b - a)
        auto derive = [l](double s, double a, double b, int n) {
            for (int i = 0; i < n; ++i) {
                const double na = l * (s * a + b), nb = l * (s * b - a);
                a = na;
                b = nb;
            }
            return std::pair<double, double>(a, b);
        };
        std::array<double, 4> out{};
        const std::pair<double, double> f[4] = {derive(1, 1, 0, order), derive(1, 0, 1, order),
                                                derive(-1, 1, 0, order), derive(-1, 0, 1, order)};
        out[0] = ep * (f[0].first * co + f[0].second * si);
        out[1] = ep * (f[1].first * co + f[1].second * si);
        out[2] = em * (f[2].first * co + f[2].second * si);
        out[3] = em * (f[3].first * co + f[3].second * si);
        return out;
    }
    FoundationBeam(double k, double eiIn, double L, double P, double M)
        : lambda(std::pow(k / (4 * eiIn), 0.25)), ei(eiIn) {
        std::array<std::array<double, 5>, 4> m{};
        auto row = [&](int r, double x, int order, double rhs) {
            const auto b = basis(lambda, x, order);
            for (int i = 0; i < 4; ++i)
                m[r][i] = b[i];
            m[r][4] = rhs;
        };
        // EI y'' = moment, EI y''' = shear: at the loaded end they balance the applied actions.
        row(0, 0.0, 2, -M / ei);
        row(1, 0.0, 3, P / ei);
        row(2, L, 2, 0.0);
        row(3, L, 3, 0.0);
        c = solve4(m);
    }
    double value(double x, int order) const {
        const auto b = basis(lambda, x, order);
        return c[0] * b[0] + c[1] * b[1] + c[2] * b[2] + c[3] * b[3];
    }
};

double maxAbs(const std::vector<double>& v, int from, int to) {
    double m = 0;
    for (int k = from; k <= to; ++k)
        m = std::max(m, std::fabs(at(v, k)));
    return m;
}

}  // namespace

TEST(Verification, CantileverConvergesAtSecondOrder) {
    const double L = 40, EI = 1e6, P = 1000, M = 1000;
    double previous = 0;
    for (int ni : {40, 80, 160}) {
        SCOPED_TRACE(ni);
        Wall load(ni, L, EI);
        load.st.addRestraint(3, ni, 0, 0);
        load.st.q(0) += P;
        const double error = at(load.solve().w, 0) - P * L * L * L / (3 * EI);
        EXPECT_LT(std::fabs(error), 1e-3 * P * L * L * L / (3 * EI));
        if (previous != 0) {
            EXPECT_NEAR(previous / error, 4.0, 0.05);  // h halves, the error quarters
        }
        previous = error;

        Wall moment(ni, L, EI);
        moment.st.addRestraint(3, ni, 0, 0);
        moment.st.t(0) += M;
        moment.st.concentratedMoments.emplace_back(0, M / (2 * moment.record.h));
        EXPECT_NEAR(at(moment.solve().w, 0), M * L * L / (2 * EI), 1e-9);
    }
}

TEST(Verification, BeamOnElasticFoundation) {
    const double EI = 1e6, k = 100;  // k per unit length of beam
    const double lambda = std::pow(k / (4 * EI), 0.25);
    struct Case {
        const char* name;
        double lambdaL, P, M;
    };
    for (const Case& c :
         {Case{"long beam, top load", 8.0, 1000, 0}, Case{"long beam, top moment", 8.0, 0, 1e5},
          Case{"short beam, top load", 1.5, 1000, 0}, Case{"short beam, top moment", 1.5, 0, 1e5}}) {
        SCOPED_TRACE(c.name);
        const double L = c.lambdaL / lambda;
        const int ni = 200;
        Wall w(ni, L, EI);
        RangeDistributor springs;
        springs.add(w.st, 0, ni, 1, StationValues{0, 0, k * w.record.h, 0, 0, 0});
        w.st.q(0) += c.P;
        if (c.M != 0) {
            w.st.t(0) += c.M;
            w.st.concentratedMoments.emplace_back(0, c.M / (2 * w.record.h));
        }
        const Results r = w.solve();
        const FoundationBeam exact(k, EI, L, c.P, c.M);
        const double y0 = exact.value(0, 0);
        EXPECT_NEAR(std::fabs(at(r.w, 0)), std::fabs(y0), 0.01 * std::fabs(y0));
        double mmax = 0;
        for (int s = 0; s <= ni; ++s)
            mmax = std::max(mmax, std::fabs(EI * exact.value(s * w.record.h, 2)));
        EXPECT_NEAR(maxAbs(r.moment, 0, ni), mmax, 0.01 * mmax);
        if (c.lambdaL > 5 && c.P != 0) {
            EXPECT_NEAR(y0, 2 * c.P * lambda / k, 1e-3 * y0);  // the semi-infinite beam
            EXPECT_NEAR(mmax, 0.3224 * c.P / lambda, 1e-3 * mmax);
        }
    }
}

TEST(Verification, CompressionAmplifiesTheDeflection) {
    const double L = 100, EI = 1e6, Q = 10;
    const double pcr = kPi * kPi * EI / (L * L);
    const int ni = 200;
    auto midspan = [&](double compression) {
        Wall w(ni, L, EI);
        w.st.addRestraint(1, 0, 0, 0);
        w.st.addRestraint(1, ni, 0, 0);
        w.st.q(ni / 2) += Q;
        RangeDistributor axial;
        axial.add(w.st, 0, ni, 1, StationValues{0, 0, 0, 0, 0, -compression});  // tension positive inside
        return at(w.solve().w, ni / 2);
    };
    const double w0 = midspan(0);
    EXPECT_NEAR(w0, Q * L * L * L / (48 * EI), 1e-3 * w0);
    for (double ratio : {0.25, 0.5}) {
        SCOPED_TRACE(ratio);
        const double amplification = midspan(ratio * pcr) / w0;
        EXPECT_NEAR(amplification, 1 / (1 - ratio), 0.02 / (1 - ratio));
        const double u = 0.5 * L * std::sqrt(ratio * pcr / EI);  // exact for a central point load
        EXPECT_NEAR(amplification, 3 * (std::tan(u) - u) / (u * u * u), 0.005 * amplification);
    }
}

namespace {

// The soil resistance of a curve at deflection y [F per station]: the curve's own polyline, its end
// segments extended.
double curveResistance(const StoredCurve& c, double y) {
    const size_t n = c.y.size();
    if (n < 2) return 0.0;
    size_t m = 1;
    while (m < n - 1 && y > c.y[m])
        ++m;
    const double dy = c.y[m] - c.y[m - 1];
    return dy == 0.0 ? c.p[m] : c.p[m - 1] + (c.p[m] - c.p[m - 1]) * (y - c.y[m - 1]) / dy;
}

}  // namespace

TEST(Verification, EveryExampleIsInEquilibrium) {
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(DRENOK_EXAMPLES)) {
        if (entry.path().extension() != ".dn5d") continue;
        SCOPED_TRACE(entry.path().filename().string());
        enginetest::TempDir dir;
        engine::Run::Options options;
        options.workDir = dir.path().string();
        options.onSolved = [&](const Stations& st, const Results& r) {
            const int ni = st.increments();
            bool restrained = false;
            for (int s = -3; s <= ni + 3; ++s)
                restrained = restrained || st.codeAt(s) != kFree;
            if (restrained) return;  // the restraint reactions are not known apart
            std::vector<double> force(static_cast<size_t>(ni) + 1, 0.0);
            double scale = 0.0;
            for (int s = 0; s <= ni; ++s) {
                const double applied = st.q(s), spring = -st.s(s) * at(r.w, s);
                force[static_cast<size_t>(s)] = applied + spring;
                scale += std::fabs(applied) + std::fabs(spring);
            }
            for (const CurveRange& range : st.curveRanges()) {
                const StoredCurve& c1 = st.curves[static_cast<size_t>(range.first)];
                const StoredCurve& c2 = st.curves[static_cast<size_t>(range.second)];
                for (int j = range.start; j <= range.lastNode; ++j) {
                    if (j < 0) continue;
                    const double phi =
                        range.end == range.start ? 0.0 : double(j - range.start) / (range.end - range.start);
                    const double p1 = curveResistance(c1, at(r.w, j)), p2 = curveResistance(c2, at(r.w, j));
                    const bool end = range.end != range.start && (j == range.start || j == range.lastNode);
                    const double p = (p1 + (p2 - p1) * phi) * (end ? 0.5 : 1.0);
                    force[static_cast<size_t>(j)] += p;
                    scale += std::fabs(p);
                }
            }
            double sum = 0.0, moment = 0.0, momentScale = 0.0;
            for (int s = 0; s <= ni; ++s) {
                sum += force[static_cast<size_t>(s)];
                moment += s * st.h() * force[static_cast<size_t>(s)];
                momentScale += std::fabs(s * st.h() * force[static_cast<size_t>(s)]);
            }
            EXPECT_LT(std::fabs(sum), 2e-3 * scale) << "lateral forces";
            EXPECT_LT(std::fabs(moment), 2e-3 * momentScale) << "moments about the top";
            ++checked;
        };
        enginetest::writeFile(dir.path() / "wall.dn5d", enginetest::readFile(entry.path()));
        enginetest::writeFile(dir.path() / "names.dat",
                              "2015.5.2\nwall.dn5d\nwall.dn5o\nwall.dn5p\nwall.dn5r\n");
        EXPECT_EQ(engine::callEntry(2, options), 0);
    }
    EXPECT_GE(checked, 6);
}
