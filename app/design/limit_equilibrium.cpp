#include "app/design/limit_equilibrium.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <utility>

namespace app::design {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
// Steps of the table of pressures down to the deepest toe looked for: the pressures are linear or
// smooth within a layer, so this is far finer than any printed digit.
constexpr int kSteps = 20000;
// How far below the excavation a solution is looked for, in excavation depths.
constexpr double kSearchDepths = 20.0;

const TLeLayer& layerAt(const TLeProblem& p, double z) {
    for (const TLeLayer& l : p.Layers)
        if (z < l.Bottom) return l;
    return p.Layers.back();  // the last layer goes on below its bottom
}

// The vertical effective stress at depth z below a surface at depth `surface`, with water from
// `water` down: the unit weights integrated exactly over the layers and the water table.
double effectiveStress(const TLeProblem& p, double surface, double water, double z) {
    if (z <= surface) return 0.0;
    std::vector<double> edges{surface, z};
    for (const TLeLayer& l : p.Layers)
        for (const double e : {l.Top, l.Bottom})
            if (e > surface && e < z) edges.push_back(e);
    if (water > surface && water < z) edges.push_back(water);
    std::sort(edges.begin(), edges.end());
    double stress = 0.0;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const double a = edges[i], b = edges[i + 1];
        const double middle = (a + b) / 2;
        const double weight = layerAt(p, middle).UnitWeight - (middle > water ? p.WaterUnitWeight : 0.0);
        stress += weight * (b - a);
    }
    return stress;
}

struct TStrength {
    TLeCoefficientPair K;      // behind the wall, under the retained surface at its slope
    TLeCoefficientPair Front;  // in front, under the level excavation
    double Cohesion = 0.0;
    double PassiveFactor = 1.0;  // divides the passive soil resistance
};

TStrength strengthAt(const TLeProblem& p, double z) {
    const TLeLayer& l = layerAt(p, z);
    TStrength s;
    double phi = l.Phi;
    s.Cohesion = l.Cohesion;
    const double fs = p.FactorOfSafety > 0.0 ? p.FactorOfSafety : 1.0;
    if (p.SafetyOn == TLeSafety::Strength) {
        phi = std::atan(std::tan(phi * kDegree) / fs) / kDegree;
        s.Cohesion /= fs;
    } else {
        s.PassiveFactor = fs;
    }
    s.K = EarthPressureCoefficients(phi, p.Coefficients, p.WallFriction, p.BackfillSlope);
    s.Front = EarthPressureCoefficients(phi, p.Coefficients, p.WallFriction, 0.0);
    return s;
}

// The four pressures at depth z: soil and water, active and passive, on either side.
struct TSides {
    double ActiveBack = 0.0, PassiveBack = 0.0, ActiveFront = 0.0, PassiveFront = 0.0;
};

TSides sidesAt(const TLeProblem& p, double z) {
    const TStrength s = strengthAt(p, z);
    const double uBack = p.WaterUnitWeight * std::max(0.0, z - p.WaterBack);
    const double uFront = p.WaterUnitWeight * std::max(0.0, z - p.WaterFront);
    const double back = p.Surcharge + effectiveStress(p, 0.0, p.WaterBack, z);
    const double sa = std::sqrt(s.K.Active), sp = std::sqrt(s.K.Passive);
    // Loads on the retained surface push on the wall whichever way it moves (not times Ka).
    double loads = 0.0;
    for (const TLeSurcharge& load : p.Loads)
        loads += SurchargePressure(load, p.Excavation, z);
    TSides sides;
    sides.ActiveBack = std::max(0.0, s.K.Active * back - 2 * s.Cohesion * sa) + uBack + loads;
    sides.PassiveBack = (s.K.Passive * back + 2 * s.Cohesion * sp) / s.PassiveFactor + uBack + loads;
    if (z > p.Excavation) {
        const double front = effectiveStress(p, p.Excavation, p.WaterFront, z);
        const double fa = std::sqrt(s.Front.Active), fp = std::sqrt(s.Front.Passive);
        sides.ActiveFront = std::max(0.0, s.Front.Active * front - 2 * s.Cohesion * fa) + uFront;
        sides.PassiveFront = (s.Front.Passive * front + 2 * s.Cohesion * fp) / s.PassiveFactor + uFront;
    } else {
        sides.ActiveFront = sides.PassiveFront = uFront;  // water standing in the excavation
    }
    return sides;
}

// The net pressures tabulated down to the deepest toe looked for, with their integrals, so that the
// force and the moment of any stretch cost a lookup: before the pivot the active pressure behind less
// the passive in front; after it (the full method) the passive behind less the active in front.
class TNetTable {
public:
    TNetTable(const TLeProblem& p, double deepest) : m_step(deepest / kSteps) {
        m_z.resize(kSteps + 1);
        for (int k = 0; k < 2; ++k) {
            m_f[k].resize(kSteps + 1);
            m_f0[k].assign(kSteps + 1, 0.0);
            m_f1[k].assign(kSteps + 1, 0.0);
        }
        for (int i = 0; i <= kSteps; ++i) {
            const double z = i * m_step;
            const TSides s = sidesAt(p, z);
            m_z[static_cast<std::size_t>(i)] = z;
            m_f[0][static_cast<std::size_t>(i)] = s.ActiveBack - s.PassiveFront;
            m_f[1][static_cast<std::size_t>(i)] = s.PassiveBack - s.ActiveFront;
        }
        for (int k = 0; k < 2; ++k)
            for (std::size_t i = 1; i <= static_cast<std::size_t>(kSteps); ++i) {
                const double a = m_f[k][i - 1], b = m_f[k][i], za = m_z[i - 1], zb = m_z[i];
                m_f0[k][i] = m_f0[k][i - 1] + (a + b) / 2 * m_step;
                // ∫ f z over the step for f linear in it.
                m_f1[k][i] = m_f1[k][i - 1] + m_step * (a * (2 * za + zb) + b * (za + 2 * zb)) / 6;
            }
    }
    [[nodiscard]] double deepest() const { return m_z.back(); }
    /// ∫₀ˣ f and ∫₀ˣ f z of curve k (0: before the pivot, 1: after it).
    [[nodiscard]] double force(int k, double x) const { return integral(k, x, false); }
    [[nodiscard]] double firstMoment(int k, double x) const { return integral(k, x, true); }
    [[nodiscard]] double at(int k, double x) const {
        const auto [i, t] = cell(x);
        return m_f[k][i] + t * (m_f[k][i + 1] - m_f[k][i]);
    }

private:
    [[nodiscard]] std::pair<std::size_t, double> cell(double x) const {
        const double u = std::clamp(x / m_step, 0.0, static_cast<double>(kSteps) - 1e-9);
        const auto i = static_cast<std::size_t>(u);
        return {i, u - static_cast<double>(i)};
    }
    [[nodiscard]] double integral(int k, double x, bool moment) const {
        const auto [i, t] = cell(x);
        const double za = m_z[i], zx = za + t * m_step;
        const double a = m_f[k][i], b = at(k, x);
        const double h = zx - za;
        const double part = moment ? h * (a * (2 * za + zx) + b * (za + 2 * zx)) / 6 : (a + b) / 2 * h;
        return (moment ? m_f1[k][i] : m_f0[k][i]) + part;
    }

    double m_step;
    std::vector<double> m_z;
    std::array<std::vector<double>, 2> m_f, m_f0, m_f1;
};

// The root of a function that is positive at `low` and turns negative somewhere up to `high`: the
// first change of sign on a scan, then bisection. False when it never turns.
bool firstRoot(const std::function<double(double)>& g, double low, double high, double& root) {
    const int scan = 400;
    double a = low, ga = g(a);
    for (int i = 1; i <= scan; ++i) {
        const double b = low + (high - low) * i / scan;
        const double gb = g(b);
        if (ga > 0.0 && gb <= 0.0) {
            double lo = a, hi = b;
            for (int k = 0; k < 60; ++k) {
                const double m = (lo + hi) / 2;
                (g(m) > 0.0 ? lo : hi) = m;
            }
            root = (lo + hi) / 2;
            return true;
        }
        a = b;
        ga = gb;
    }
    return false;
}

std::vector<TLePressure> diagram(const TLeProblem& p, double toe) {
    std::vector<TLePressure> points;
    const int n = 200;
    for (int i = 0; i <= n; ++i)
        points.push_back(PressureAt(p, toe * i / n));
    return points;
}

// The largest bending moment of a net-pressure diagram over [0, toe] with a tieback force `force` at
// `anchor` (none when force is 0): M(z) = ∫ p (z - s) ds - T (z - anchor)⁺.
void largestMoment(const std::function<double(double)>& net, double toe, double force, double anchor,
                   TLeResult& r) {
    const int n = 400;
    const double h = toe / n;
    double shear = 0.0, moment = 0.0, previous = net(0.0);
    r.MaxMoment = 0.0;
    r.MaxMomentDepth = 0.0;
    for (int i = 1; i <= n; ++i) {
        const double z = i * h;
        const double current = net(z);
        const double before = shear;
        shear += (previous + current) / 2 * h;
        moment += (before + shear) / 2 * h;
        // The tieback acts at its depth, not at a step's end: its moment over the step is T (z - anchor).
        if (force != 0.0 && z - h <= anchor && anchor < z) {
            shear -= force;
            moment -= force * (z - anchor);
        }
        previous = current;
        if (std::fabs(moment) > std::fabs(r.MaxMoment)) {
            r.MaxMoment = moment;
            r.MaxMomentDepth = z;
        }
    }
}

bool validProblem(const TLeProblem& p, TLeResult& r) {
    if (p.Layers.empty()) {
        r.Why = "the problem has no soil layers";
        return false;
    }
    if (!(p.Excavation > 0.0)) {
        r.Why = "the excavation depth is not above zero";
        return false;
    }
    return true;
}

}  // namespace

TLeCoefficientPair EarthPressureCoefficients(double phi, TLeCoefficients kind, double wallFriction,
                                             double slope) {
    const double f = phi * kDegree;
    const double b = slope * kDegree;
    // A slope as steep as the friction angle leaves no limit state on it: level ground, as the p-y
    // analysis keeps it.
    const bool sloping = slope != 0.0 && std::fabs(slope) < phi;
    if (kind == TLeCoefficients::Rankine || wallFriction == 0.0) {
        if (!sloping)
            return {std::pow(std::tan(std::numbers::pi / 4 - f / 2), 2),
                    std::pow(std::tan(std::numbers::pi / 4 + f / 2), 2)};
        // Rankine's coefficients of a surface sloping at beta, applied to the vertical stress.
        const double cb = std::cos(b), root = std::sqrt(cb * cb - std::pow(std::cos(f), 2));
        return {cb * (cb - root) / (cb + root), cb * (cb + root) / (cb - root)};
    }
    // Coulomb, vertical wall, the wall friction delta on both sides, the surface at beta behind it.
    const double d = wallFriction * kDegree;
    const double beta = sloping ? b : 0.0;
    const double active =
        std::pow(std::cos(f), 2) /
        (std::cos(d) *
         std::pow(1 + std::sqrt(std::sin(f + d) * std::sin(f - beta) / (std::cos(d) * std::cos(beta))), 2));
    const double rootP = std::sqrt(std::sin(f + d) * std::sin(f + beta) / (std::cos(d) * std::cos(beta)));
    // Where the passive wedge has no bound (rootP >= 1) the level value with the same friction stands.
    const double levelRoot = std::sqrt(std::sin(f + d) * std::sin(f) / std::cos(d));
    const double passiveRoot = rootP < 1.0 ? rootP : levelRoot;
    const double passive = std::pow(std::cos(f), 2) / (std::cos(d) * std::pow(1 - passiveRoot, 2));
    return {active, passive};
}

double SurchargePressure(const TLeSurcharge& load, double height, double z) {
    if (!(height > 0.0) || !(z > 0.0)) return 0.0;
    const double n = z / height;
    const double m = load.Distance / height;
    switch (load.Kind) {
        case TLeSurcharge::Point:
            if (m <= 0.4)
                return 0.28 * load.Magnitude / (height * height) * n * n / std::pow(0.16 + n * n, 3);
            return 1.77 * load.Magnitude / (height * height) * m * m * n * n / std::pow(m * m + n * n, 3);
        case TLeSurcharge::Line:
            if (m <= 0.4) return 0.203 * load.Magnitude / height * n / std::pow(0.16 + n * n, 2);
            return 4.0 / std::numbers::pi * load.Magnitude / height * m * m * n / std::pow(m * m + n * n, 2);
        case TLeSurcharge::Strip: {
            const double alpha = std::atan(load.Distance / z);
            const double beta = std::atan((load.Distance + load.Width / 2) / z) -
                                std::atan((load.Distance - load.Width / 2) / z);
            return 2.0 / std::numbers::pi * load.Magnitude * (beta - std::sin(beta) * std::cos(2 * alpha));
        }
        default:
            return 0.0;
    }
}

TLePressure PressureAt(const TLeProblem& problem, double z) {
    const TSides s = sidesAt(problem, z);
    return {z, s.ActiveBack, s.PassiveFront};
}

const char* MethodName(TLeMethod method) {
    switch (method) {
        case TLeMethod::Simplified:
            return "simplified";
        case TLeMethod::Full:
            return "full";
        case TLeMethod::FreeEarth:
            return "free-earth";
        case TLeMethod::Apparent:
            return "apparent";
    }
    return "";
}

TLeResult FixedEarth(const TLeProblem& p, bool full, double increase) {
    TLeResult r;
    r.Method = full ? TLeMethod::Full : TLeMethod::Simplified;
    if (!validProblem(p, r)) return r;
    const double H = p.Excavation;
    const TNetTable table(p, H * (1.0 + kSearchDepths));
    double depth = 0.0;
    if (!full) {
        // Moments about the toe of the active pressure behind and the passive resistance in front.
        auto momentAboutToe = [&](double D) {
            const double toe = H + D;
            return toe * table.force(0, toe) - table.firstMoment(0, toe);
        };
        if (!firstRoot(momentAboutToe, 1e-6 * H, kSearchDepths * H, depth)) {
            r.Why = "the passive resistance does not balance the active pressure within 20 excavation depths";
            return r;
        }
        r.EmbedmentRequired = depth;
        r.EmbedmentDesign = depth * (1.0 + increase);
        largestMoment([&](double z) { return table.at(0, z); }, H + depth, 0.0, 0.0, r);
    } else {
        // Below the pivot the wall moves back: passive resistance behind, active pressure in front.
        auto force = [&](double pivot, double toe) {
            return table.force(0, pivot) + table.force(1, toe) - table.force(1, pivot);
        };
        auto moment = [&](double pivot, double toe) {
            const double first =
                table.firstMoment(0, pivot) + table.firstMoment(1, toe) - table.firstMoment(1, pivot);
            return toe * force(pivot, toe) - first;
        };
        auto pivotFor = [&](double toe, double& pivot) {
            return firstRoot([&](double z0) { return force(z0, toe); }, H, toe, pivot);
        };
        auto momentAboutToe = [&](double D) {
            const double toe = H + D;
            double pivot = toe;
            if (!pivotFor(toe, pivot)) return 1.0;  // no pivot yet: the wall would still overturn
            return moment(pivot, toe);
        };
        if (!firstRoot(momentAboutToe, 1e-3 * H, kSearchDepths * H, depth)) {
            r.Why = "no embedment within 20 excavation depths balances both forces and moments";
            return r;
        }
        double pivot = H + depth;
        pivotFor(H + depth, pivot);
        r.EmbedmentRequired = r.EmbedmentDesign = depth;
        r.PivotDepth = pivot;
        largestMoment([&](double z) { return table.at(z <= pivot ? 0 : 1, z); }, H + depth, 0.0, 0.0, r);
    }
    r.Diagram = diagram(p, H + depth);
    r.Solved = true;
    return r;
}

TLeResult FreeEarth(const TLeProblem& p, double anchorDepth) {
    TLeResult r;
    r.Method = TLeMethod::FreeEarth;
    if (!validProblem(p, r)) return r;
    const double H = p.Excavation;
    if (!(anchorDepth >= 0.0 && anchorDepth < H)) {
        r.Why = "the tieback is not above the excavation";
        return r;
    }
    const TNetTable table(p, H * (1.0 + kSearchDepths));
    // Moments about the tieback: the active pressure below it turns the wall out, the passive
    // resistance holds it.
    auto momentAboutAnchor = [&](double D) {
        const double toe = H + D;
        return table.firstMoment(0, toe) - anchorDepth * table.force(0, toe);
    };
    double depth = 0.0;
    if (!firstRoot(momentAboutAnchor, 1e-6 * H, kSearchDepths * H, depth)) {
        r.Why =
            "the passive resistance does not balance the moments about the tieback within 20 excavation "
            "depths";
        return r;
    }
    r.EmbedmentRequired = r.EmbedmentDesign = depth;
    r.TiebackForce = table.force(0, H + depth);
    if (r.TiebackForce <= 0.0) {
        r.Why = "the soil holds the wall without the tieback (free-earth support gives it no force)";
        return r;
    }
    largestMoment([&](double z) { return table.at(0, z); }, H + depth, r.TiebackForce, anchorDepth, r);
    r.Diagram = diagram(p, H + depth);
    r.Solved = true;
    return r;
}

TLeResult ApparentPressure(const TLeProblem& p, std::vector<double> anchors) {
    TLeResult r;
    r.Method = TLeMethod::Apparent;
    if (!validProblem(p, r)) return r;
    const double H = p.Excavation;
    std::sort(anchors.begin(), anchors.end());
    if (anchors.size() < 2) {
        r.Why = "the apparent-pressure method is for two or more tiebacks";
        return r;
    }
    if (anchors.front() < 0.0 || anchors.back() >= H) {
        r.Why = "a tieback is not above the excavation";
        return r;
    }
    const TNetTable table(p, H * (1.0 + kSearchDepths));
    // The trapezoid: rising over 2/3 of the depth to the first tieback, falling over 2/3 of the
    // distance from the last to the excavation, its area 1.3 times the active force above it.
    const double a = 2.0 * anchors.front() / 3.0;
    const double b = 2.0 * (H - anchors.back()) / 3.0;
    const double activeForce = table.force(0, H);  // nothing passive acts above the excavation
    const double peak = 1.3 * activeForce / (H - a / 2 - b / 2);
    auto apparent = [&](double z) {
        if (z < a) return peak * z / a;
        if (z <= H - b) return peak;
        return z < H ? peak * (H - z) / b : 0.0;
    };
    // Loads of a stretch of the trapezoid, by a fine sum (it is linear in pieces).
    auto load = [&](double from, double to, double about, bool moment) {
        const int n = 2000;
        double sum = 0.0;
        for (int i = 0; i < n; ++i) {
            const double z = from + (to - from) * (i + 0.5) / n;
            sum += apparent(z) * (moment ? z - about : 1.0) * (to - from) / n;
        }
        return sum;
    };
    // Each upper tieback takes the trapezoid from halfway to the one above (the top for the first)
    // to halfway to the one below.
    const std::size_t last = anchors.size() - 1;
    for (std::size_t i = 0; i < last; ++i) {
        const double top = i == 0 ? 0.0 : (anchors[i - 1] + anchors[i]) / 2;
        r.TiebackForces.push_back(load(top, (anchors[i] + anchors[i + 1]) / 2, 0.0, false));
    }
    // Below the lowest tieback: moments about it of the trapezoid down to the excavation and of the
    // net pressure below it.
    const double lowest = anchors[last];
    const double lower = load(lowest, H, lowest, true);
    auto moment = [&](double D) {
        const double toe = H + D;
        const double below = (table.firstMoment(0, toe) - table.firstMoment(0, H)) -
                             lowest * (table.force(0, toe) - table.force(0, H));
        return lower + below;
    };
    double depth = 0.0;
    if (!firstRoot(moment, 1e-6 * H, kSearchDepths * H, depth)) {
        r.Why =
            "the passive resistance does not balance the moments about the lowest tieback within 20 "
            "excavation "
            "depths";
        return r;
    }
    const double share = load((anchors[last - 1] + lowest) / 2, lowest, 0.0, false);
    const double rest = load(lowest, H, 0.0, false) + table.force(0, H + depth) - table.force(0, H);
    r.TiebackForces.push_back(share + rest);
    r.EmbedmentRequired = r.EmbedmentDesign = depth;
    r.TiebackForce = r.TiebackForces.back();
    // The moment diagram: the trapezoid above the excavation, the net pressure below, the tiebacks.
    const int n = 2000;
    const double toe = H + depth, h = toe / n;
    double shear = 0.0, bending = 0.0;
    auto pressure = [&](double z) { return z < H ? apparent(z) : table.at(0, z); };
    std::size_t next = 0;
    for (int i = 0; i < n; ++i) {
        const double z0 = i * h, z1 = z0 + h;
        const double before = shear;
        shear += (pressure(z0) + pressure(z1)) / 2 * h;
        bending += (before + shear) / 2 * h;
        for (; next < anchors.size() && anchors[next] < z1; ++next) {
            shear -= r.TiebackForces[next];
            bending -= r.TiebackForces[next] * (z1 - anchors[next]);
        }
        // The tributary areas do not close the moments at the toe; the spans above the excavation
        // are where the apparent pressure governs the bending.
        if (z1 <= H && std::fabs(bending) > std::fabs(r.MaxMoment)) {
            r.MaxMoment = bending;
            r.MaxMomentDepth = z1;
        }
    }
    r.Diagram.clear();
    for (int i = 0; i <= 200; ++i) {
        const double z = toe * i / 200;
        TLePressure point = PressureAt(p, z);
        if (z < H) point.Active = apparent(z);  // the apparent pressure stands for the soil above
        r.Diagram.push_back(point);
    }
    r.Solved = true;
    return r;
}

}  // namespace app::design
