#include "app/results/view3d/scene.h"

#include <algorithm>
#include <cmath>

#include "app/model/problem_tables.h"
#include "app/model/units.h"

namespace app::results {

using app::model::TGridTable;
using app::model::TProgramData;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kPanels = 10;  // on each side of y = 0

const TRgba kLayerColours[10] = {{0.8F, 0.55F, 0},    {0.55F, 0.4F, 0.2F}, {0.4F, 0.4F, 0.2F},
                                 {0.4F, 0.4F, 0.55F}, {0, 0.5F, 0.5F},     {0.2F, 0.2F, 0.55F},
                                 {0.8F, 0, 0.8F},     {0.4F, 0.4F, 0.55F}, {0.15F, 0.15F, 0.45F},
                                 {0.65F, 0.4F, 0.2F}};
const TRgba kRed{1, 0, 0}, kGreen{0, 1, 0}, kBlue{0, 0, 1};

TRgba withAlpha(TRgba c, float a) {
    c.A = a;
    return c;
}

double cell(const TGridTable& table, int column, int row) {
    return static_cast<double>(app::model::NumberAt(table, column, row));
}

struct Builder {
    std::vector<TPrimitive> out;

    void box(int list, TVec3 centre, TVec3 size, TRgba fill, TRgba outline, bool blend = false,
             bool filled = true) {
        TPrimitive p;
        p.Shape = TShape::Box;
        p.List = list;
        p.Centre = centre;
        p.Size = size;
        p.Fill = fill;
        p.Outline = outline;
        p.Blend = blend;
        p.Filled = filled;
        out.push_back(p);
    }
    // x from x0 to x1, the whole soil depth in y, z from −top to −bottom.
    void slab(int list, double x0, double x1, double top, double bottom, double halfY, TRgba colour) {
        box(list, {(x0 + x1) / 2, 0, -(top + bottom) / 2}, {x1 - x0, 2 * halfY, bottom - top},
            withAlpha(colour, 0.5F), withAlpha(colour, 1), true);
    }
    void brick(std::array<TVec3, 8> corners, TRgba fill, TRgba outline) {
        TPrimitive p;
        p.Shape = TShape::Brick;
        p.Corners = corners;
        p.Fill = fill;
        p.Outline = outline;
        out.push_back(p);
    }
    // A force ends with its tip at the point, a displacement starts there; the value's sign turns it.
    void arrow(TVec3 at, TVec3 axis, double value, double size, TRgba colour, bool force) {
        if (value == 0) return;
        const double s = value < 0 ? -1 : 1;
        const TVec3 d{axis[0] * s, axis[1] * s, axis[2] * s};
        TPrimitive p;
        p.Shape = TShape::Arrow;
        p.Direction = d;
        p.GlyphSize = size;
        p.Centre = force ? TVec3{at[0] - d[0] * size, at[1] - d[1] * size, at[2] - d[2] * size} : at;
        p.Fill = withAlpha(colour, 0.6F);
        p.Outline = withAlpha(colour, 1);
        out.push_back(p);
    }
    void ring(TVec3 at, TVec3 axis, double value, double size, TRgba colour) {
        if (value == 0) return;
        TPrimitive p;
        p.Shape = TShape::Ring;
        p.Centre = at;
        p.Axis = axis;
        p.GlyphSize = size;
        p.Sign = value < 0 ? -1 : 1;
        p.Fill = withAlpha(colour, 0.6F);
        p.Outline = withAlpha(colour, 1);
        out.push_back(p);
    }
    void lines(std::vector<TVec3> points, TRgba colour) {
        TPrimitive p;
        p.Shape = TShape::Lines;
        p.Points = std::move(points);
        p.Outline = colour;
        p.Filled = false;
        out.push_back(p);
    }
};

std::vector<double> panelPositions(double width) {
    std::vector<double> ys;
    for (int k = 0; k < kPanels; ++k) {
        ys.push_back(width * (k + 0.5));
        ys.push_back(-width * (k + 0.5));
    }
    return ys;
}

// A bar from `start` along the unit `u` for `length`, of square section `side`.
std::array<TVec3, 8> bar(TVec3 start, TVec3 u, double length, double side) {
    const TVec3 v{0, 1, 0};
    const TVec3 w{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    std::array<TVec3, 8> c{};
    int n = 0;
    for (const double along : {0.0, length})
        for (const auto& [a, b] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
            TVec3& p = c[static_cast<std::size_t>(n++)];
            for (int i = 0; i < 3; ++i)
                p[static_cast<std::size_t>(i)] = start[static_cast<std::size_t>(i)] +
                                                 along * u[static_cast<std::size_t>(i)] +
                                                 a * side / 2 * v[static_cast<std::size_t>(i)] +
                                                 b * side / 2 * w[static_cast<std::size_t>(i)];
        }
    return c;
}

void soilAndWater(Builder& b, const TProgramData& m, const TSceneSizes& s, const TSceneOptions& o,
                  double scale) {
    if (m.GeneratePY == 0) return;  // the soil is drawn only where it makes the p-y curves
    const double W = s.Width, L = s.Length, FH = s.FreeHeight, halfY = 10 * W, t = s.Thickness;
    if (o.SoilLayers) {
        const auto& soil = m.Tables().NewSoil;
        double top = 0;
        for (int i = 0; i < soil.RowCount(); ++i) {
            const double bottom = cell(soil, 1, i);
            const TRgba colour = kLayerColours[i % 10];
            if (top < L) {
                const double end = std::min(bottom, L);
                if (top < FH && FH < end) {
                    b.slab(kSoilList, -25 * W, -t / 2, top, FH, halfY, colour);
                    b.slab(kSoilList, -25 * W, -t / 2, FH, end, halfY, colour);
                } else if (end > top) {
                    b.slab(kSoilList, -25 * W, -t / 2, top, end, halfY, colour);
                }
                const double from = std::max(top, FH);
                if (end > from) b.slab(kSoilList, t / 2, 25 * W, from, end, halfY, colour);
            }
            if (bottom > L) {
                const double from = std::max(top, L);
                b.slab(kSoilList, -25 * W, 0, from, bottom, halfY, colour);
                b.slab(kSoilList, 0, 25 * W, from, bottom, halfY, colour);
            }
            top = bottom;
        }
    }
    if (o.WaterLevel) {
        for (const auto& [depth, x0] :
             {std::pair{m.WaterDepthBackfill / scale, -25 * W}, {m.WaterDepthExcavation / scale, 0.0}}) {
            const double z = -static_cast<double>(depth);
            b.box(kSoilList, {x0 + 12.5 * W, 0, z}, {25 * W, 2 * halfY, 0}, withAlpha(kBlue, 0.5F), kBlue,
                  true);
            for (int i = 0; i < 5; ++i)
                for (int j = 0; j < 5; ++j) {
                    TPrimitive p;
                    p.Shape = TShape::Pyramid;
                    p.List = kSoilList;
                    p.Centre = {x0 + (i + 0.5) * 5 * W, -halfY + (j + 0.5) * 4 * W, z};
                    p.Size = {4 * s.Increment, 4 * s.Increment, 4 * s.Increment};
                    p.Fill = withAlpha(kBlue, 0.5F);
                    p.Outline = kBlue;
                    p.Blend = true;
                    b.out.push_back(p);
                }
        }
    }
}

void wall(Builder& b, const TSceneSizes& s, const TSceneOptions& o, const app::model::TLine* deflection,
          int nodes) {
    const double W = s.Width, L = s.Length, t = s.Thickness;
    const TRgba grey{0.75F, 0.75F, 0.75F}, yellow{0.9F, 0.9F, 0};
    const bool deformed =
        o.DeformedShape && deflection && static_cast<int>(deflection->Points.size()) > nodes && nodes > 0;
    for (const double y : panelPositions(W)) {
        if (!deformed) {
            b.box(kWallList, {0, y, -L / 2}, {t, W, L}, grey, yellow);
            b.box(kWallList, {0, y, 0}, {t, W, 0}, TRgba{0.25F, 0.25F, 0.25F}, TRgba{1, 0.5F, 0});
            continue;
        }
        // The centre line bent by the deflections × the factor; the strip's corners shared along it.
        const double f = static_cast<double>(o.DeformationFactor), delta = s.Increment;
        auto xAt = [&](int n) {
            return static_cast<double>(deflection->Points[static_cast<std::size_t>(n)].X) *
                   s.DeflectionScale * f;
        };
        auto normal = [&](int i) {  // of segment i (1-based)
            const double dx = xAt(i) - xAt(i - 1);
            const double length = std::hypot(delta, dx);
            return std::pair{delta / length, -dx / length};
        };
        std::pair<double, double> topLeft, topRight;
        {
            const auto [nx, nz] = normal(1);
            topLeft = {xAt(0) - t / 2 * nx, -t / 2 * nz};
            topRight = {xAt(0) + t / 2 * nx, t / 2 * nz};
        }
        for (int i = 1; i <= nodes; ++i) {
            auto [nx, nz] = normal(i);
            if (i < nodes) {
                const auto [mx, mz] = normal(i + 1);
                nx = (nx + mx) / 2;
                nz = (nz + mz) / 2;
            }
            const double cx = xAt(i), cz = -i * delta;
            const std::pair<double, double> bottomLeft{cx - t / 2 * nx, cz - t / 2 * nz};
            const std::pair<double, double> bottomRight{cx + t / 2 * nx, cz + t / 2 * nz};
            std::array<TVec3, 8> c{};
            const std::pair<double, double> quad[4] = {bottomLeft, bottomRight, topRight, topLeft};
            for (int k = 0; k < 4; ++k) {
                c[static_cast<std::size_t>(k)] = {quad[k].first, y - t / 2, quad[k].second};
                c[static_cast<std::size_t>(k + 4)] = {quad[k].first, y + t / 2, quad[k].second};
            }
            b.brick(c, grey, yellow);
            topLeft = bottomLeft;
            topRight = bottomRight;
        }
        if (o.UndeformedModel)
            b.box(kWallList, {0, y, -L / 2}, {t, t, L}, {}, TRgba{0.75F, 0.75F, 0}, false, false);
    }
}

}  // namespace

TSceneSizes SceneSizes(const TProgramData& m) {
    TSceneSizes s;
    const auto scale = static_cast<double>(app::model::LengthScale(m.UnitSystem()));
    s.Length = m.IncrementCount * static_cast<double>(m.IncrementLength) / scale;
    s.Increment = static_cast<double>(m.IncrementLength) / scale;
    s.Width = m.ActiveWidth > 0 ? static_cast<double>(m.ActiveWidth) / scale : s.Length / 10;
    s.Thickness = m.PYWidth > 0 ? 0.1 * static_cast<double>(m.PYWidth) / scale : s.Length / 100;
    s.FreeHeight = static_cast<double>(m.FreeHeight) / scale;
    const auto& soil = m.Tables().NewSoil;
    const double lastBottom = soil.RowCount() > 0 ? cell(soil, 1, soil.RowCount() - 1) : 0;
    const double a = std::max(s.Length, lastBottom);
    const double e = 12.5 * s.Width, b = 5 * s.Width;
    s.Largest = std::max({2 * std::fabs(a), std::fabs(e), std::fabs(b)});
    s.Centre = -a / 2;
    // The deflection curve is the graph's: millimetres for SI runs.
    s.DeflectionScale = 1.0 / scale / static_cast<double>(app::model::DeflectionShownScale(m.UnitSystem()));
    return s;
}

std::vector<std::pair<int, int>> NodeRanges(const TGridTable& table, int interpolateColumn, int fromColumn,
                                            int toColumn) {
    std::vector<std::pair<int, int>> ranges;
    for (int r = 0; r < table.RowCount(); ++r) {
        const int from = table.Column(fromColumn).IntAt(r);
        int to = table.Column(toColumn).IntAt(r);
        if (table.Column(interpolateColumn).IntAt(r) > 1 && r + 1 < table.RowCount()) {
            to = table.Column(toColumn).IntAt(r + 1);
            ++r;  // the row interpolated to is drawn with this one
        }
        ranges.emplace_back(from, std::max(to, from));
    }
    return ranges;
}

std::vector<TPrimitive> BuildScene(const TProgramData& m, const TSceneOptions& o,
                                   const app::model::TLine* deflection) {
    Builder b;
    const TSceneSizes s = SceneSizes(m);
    const auto scale = static_cast<double>(app::model::LengthScale(m.UnitSystem()));
    const double W = s.Width, delta = s.Increment;
    const auto& t = m.Tables();
    const std::vector<double> panels = panelPositions(W);
    if (o.Wall) wall(b, s, o, deflection, m.IncrementCount);
    if (o.Springs && m.ApplySprings) {
        for (const auto& [from, to] : NodeRanges(t.SoilStrength, 0, 1, 2))
            for (int n = from; n <= to; ++n)
                for (const double y : panels)
                    b.box(kWallList, {-3.125 * W, y, -n * delta}, {6.25 * W, s.Thickness, delta / 2},
                          TRgba{0.5F, 0.5F, 0.5F}, TRgba{1, 0.5F, 0});
    }
    if (o.ConcentratedLoads && m.ApplyConcentratedLoads) {
        int row = 0;
        for (const auto& [from, to] : NodeRanges(t.BoundCond, 0, 1, 2)) {
            // The values are those of the range's first row.
            while (row < t.BoundCond.RowCount() && t.BoundCond.Column(1).IntAt(row) != from)
                ++row;
            const int r = std::min(row, t.BoundCond.RowCount() - 1);
            for (int n = from; n <= to; ++n)
                for (const double y : panels) {
                    const TVec3 at{0, y, -n * delta};
                    b.arrow(at, {1, 0, 0}, cell(t.BoundCond, 3, r), 4 * W / 3, kRed, true);
                    b.ring(at, {1, 0, 0}, cell(t.BoundCond, 4, r), 4 * W, kGreen);
                    b.arrow(at, {0, 0, 1}, -cell(t.BoundCond, 5, r), 4 * W / 3, kBlue, true);
                }
        }
    }
    if (o.BoundaryConditions && m.ApplyRestraints) {
        for (int r = 0; r < t.Soillayer.RowCount(); ++r) {
            const int node = t.Soillayer.Column(1).IntAt(r);
            for (const double y : panels) {
                const TVec3 at{0, y, -node * delta};
                if (t.Soillayer.Column(0).IntAt(r) == 1)
                    b.arrow(at, {1, 0, 0}, cell(t.Soillayer, 2, r), 2 * W / 3, kRed, false);
                else
                    b.ring(at, {1, 0, 0}, cell(t.Soillayer, 3, r), 2 * W, kGreen);
            }
        }
    }
    if (o.Tiebacks && m.ApplyTiebacks) {
        const auto& ties = t.TiebackTable1;
        const double activeWidth = static_cast<double>(m.ActiveWidth) / scale;
        for (int r = 0; r < ties.RowCount(); ++r) {
            const double depth = cell(ties, 0, r), side = std::sqrt(std::max(0.0, cell(ties, 1, r))) / scale;
            const double unbonded = cell(ties, 3, r), alpha = cell(ties, 4, r) * kPi / 180,
                         spacing = cell(ties, 5, r);
            if (spacing <= 0) continue;
            const int count = static_cast<int>(std::lround(10 * activeWidth / spacing));
            const TVec3 u{-std::cos(alpha), 0,
                          -std::sin(alpha)};  // into the retained side, α below horizontal
            for (int j = 0; j < count; ++j)
                for (const double sign : {1.0, -1.0}) {
                    const TVec3 start{0, sign * spacing * (j + 0.5), -depth};
                    b.brick(bar(start, u, unbonded, side), TRgba{0.5F, 0.75F, 0.75F}, TRgba{1, 0.5F, 0});
                    const TVec3 end{start[0] + unbonded * u[0], start[1], start[2] + unbonded * u[2]};
                    b.brick(bar(end, u, unbonded / 8, 4 * side), TRgba{0.5F, 0.75F, 0.75F},
                            TRgba{1, 0.5F, 0});
                }
        }
    }
    if (o.Surcharge && m.ApplySurcharge) {
        const auto& sur = t.SurchargeTable;
        const double toScene = m.UnitSystem() == 1   ? 12
                               : m.UnitSystem() == 2 ? 1000
                                                     : 1;  // X and B: in or mm
        std::vector<double> along{0};
        for (int k = 0; k < kPanels; ++k) {
            along.push_back(W * (k + 1));
            along.push_back(-W * (k + 1));
        }
        std::sort(along.begin(), along.end());
        for (int r = 0; r < sur.RowCount(); ++r) {
            const int type = sur.Column(0).IntAt(r);
            const double P = cell(sur, 1, r), X = cell(sur, 2, r) / toScene, B = cell(sur, 3, r) / toScene;
            if (type == 1) {
                for (const double y : panels)
                    b.arrow({-X, y, 0}, {0, 0, 1}, -P, 4 * W / 3, kRed, true);
            } else if (type == 2) {
                for (const double y : along)
                    b.arrow({-X, y, 0}, {0, 0, 1}, -P, W, kGreen, true);
                b.lines({{-X, along.front(), 0}, {-X, along.back(), 0}}, kGreen);
                b.lines({{-X, along.front(), W}, {-X, along.back(), W}}, kGreen);
            } else if (type == 3) {
                for (std::size_t k = 0; k < along.size(); ++k) {
                    for (const double x : {-X - B / 2, -X, -X + B / 2})
                        b.arrow({x, along[k], 0}, {0, 0, 1}, -P, 2 * W / 3, kBlue, true);
                    if (k + 1 < along.size())
                        b.box(kWallList, {-X, (along[k] + along[k + 1]) / 2, W / 3}, {B / 2, W, 2 * W / 3},
                              withAlpha(kBlue, 0.25F), kBlue, true);
                }
            }
        }
    }
    soilAndWater(b, m, s, o, scale);
    return std::move(b.out);
}

// ---- Camera
// -------------------------------------------------------------------------------------------------

double FitScale(const TSceneSizes& s, int width, int height) {
    const double a = s.Largest != 0 ? (height - 50) / s.Largest : 1;
    const double b = s.Width != 0 ? (width - 50) / (25 * s.Width) : 1;
    // A client of 50 pixels or less would turn the scene inside out or flatten it to a point.
    const double fit = std::min(a, b);
    return fit > 0 ? fit : 1;
}

double OrthoDepth(const TSceneSizes& s, int width, int height) {
    if (s.Width == 0) return std::max(width, height) / 2.0;
    return s.Largest / (10 * s.Width) * (std::min(width, height) / 2.0) * 640;
}

TVec3 TransposedTimes(const TCamera& c, const TVec3& v) {
    const auto& m = c.Matrix;
    return {m[0] * v[0] + m[3] * v[1] + m[6] * v[2], m[1] * v[0] + m[4] * v[1] + m[7] * v[2],
            m[2] * v[0] + m[5] * v[1] + m[8] * v[2]};
}

namespace {

TVec3 larger(TVec3 v) {
    if (std::fabs(v[0]) >= std::fabs(v[1]))
        v[1] = 0;
    else
        v[0] = 0;
    return v;
}

}  // namespace

void Pan(TCamera& c, const TVec3& pan0, double dx, double dy, bool shift) {
    TVec3 v{dx, -dy, 0};
    if (shift) v = larger(v);
    const TVec3 u = TransposedTimes(c, v);
    const double k = (c.Zoom * c.Fit) * (c.Zoom * c.Fit);
    c.PX = pan0[0] + u[0] / k;
    c.PY = pan0[1] + u[1] / k;
    c.PZ = pan0[2] + u[2] / k;
}

void Rotate(TCamera& c, const TVec3& a0, double dx, double dy, int width, int height, bool shift) {
    TVec3 v{dy * 90 / std::max(height, 1), dx * 90 / std::max(width, 1), 0};
    if (shift) v = larger(v);
    TVec3 u = TransposedTimes(c, v);
    const double lv = std::hypot(v[0], v[1], v[2]), lu = std::hypot(u[0], u[1], u[2]);
    if (lu > 0 && lv > 0)
        for (double& x : u)
            x *= lv / lu;
    c.RX = a0[0] + u[0];
    c.RY = a0[1] + u[1];
    c.RZ = a0[2] + u[2];
}

void ZoomDrag(TCamera& c, double zoom0, double dy, int height) {
    c.Zoom = zoom0 * (1 - dy / std::max(height, 1));
}

bool ZoomBox(TCamera& c, const TVec3& pan0, double zoom0, double x0, double y0, double x, double y, int width,
             int height) {
    if (x == x0 || y == y0) return false;
    const TVec3 u = TransposedTimes(c, {width / 2.0 - (x + x0) / 2, (y + y0) / 2 - height / 2.0, 0});
    const double k = (zoom0 * c.Fit) * (zoom0 * c.Fit);
    c.PX = pan0[0] + u[0] / k;
    c.PY = pan0[1] + u[1] / k;
    c.PZ = pan0[2] + u[2] / k;
    c.Zoom = zoom0 * std::min(height / std::fabs(y - y0), width / std::fabs(x - x0));
    return true;
}

int CircleSegments(double radiusPixels) {
    constexpr int kFewest = 8, kMost = 40;
    constexpr double kPi = 3.14159265358979323846, kTolerance = 0.25;  // pixels
    if (!(radiusPixels > kTolerance / 2)) return kFewest;              // also NaN
    if (!std::isfinite(radiusPixels)) return kMost;
    // A chord of n segments lies r (1 − cos(π / n)) inside the circle at its middle.
    const double n = std::ceil(kPi / std::acos(1 - kTolerance / radiusPixels));
    if (!(n < kMost)) return kMost;
    const int rounded = (static_cast<int>(n) + 3) / 4 * 4;
    return std::clamp(rounded, kFewest, kMost);
}

long double StepFactor(long double f, bool up) {
    const long double k = (f > 0.1L && f < 1) ? 10 : 1;
    f *= k;
    if (f <= 0) return 1;
    int e = static_cast<int>(std::log10(f));  // the integer part, towards zero
    if (std::log10(f) < 0) --e;
    const long double g = std::pow(10.0L, e);
    // The leading digit; the quotient of an exact power of ten may fall a hair short of a whole number.
    const int d = static_cast<int>(f / g + 1e-9L);
    long double next;
    if (up)
        next = d == 10 ? 20 : d + 1;
    else
        next = d == 1 ? 0.9L : d - 1;
    return g * next / k;
}

}  // namespace app::results
