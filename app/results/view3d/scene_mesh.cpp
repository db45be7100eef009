#include "app/results/view3d/scene_mesh.h"

#include <cmath>
#include <utility>

namespace app::results {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Two unit vectors across `d`.
std::pair<TVec3, TVec3> across(const TVec3& d) {
    const TVec3 helper = std::fabs(d[2]) < 0.9 ? TVec3{0, 0, 1} : TVec3{1, 0, 0};
    TVec3 u{d[1] * helper[2] - d[2] * helper[1], d[2] * helper[0] - d[0] * helper[2],
            d[0] * helper[1] - d[1] * helper[0]};
    const double lu = std::hypot(u[0], u[1], u[2]);
    for (double& x : u)
        x /= lu;
    const TVec3 v{d[1] * u[2] - d[2] * u[1], d[2] * u[0] - d[0] * u[2], d[0] * u[1] - d[1] * u[0]};
    return {u, v};
}

TVec3 at(const TVec3& base, const TVec3& d, double along, const TVec3& u, const TVec3& v, double r,
         double angle) {
    TVec3 p{};
    for (int i = 0; i < 3; ++i)
        p[static_cast<std::size_t>(i)] = base[static_cast<std::size_t>(i)] +
                                         along * d[static_cast<std::size_t>(i)] +
                                         r * (std::cos(angle) * u[static_cast<std::size_t>(i)] +
                                              std::sin(angle) * v[static_cast<std::size_t>(i)]);
    return p;
}

}  // namespace

// Cuts primitives into runs of pieces; a run ends where the kind of piece or the line width changes.
class TMesher {
public:
    TMesher(double pixelsPerUnit, std::vector<TMeshRun>& target)
        : m_pixelsPerUnit(pixelsPerUnit), m_target(&target) {}
    enum class TArrowPart { Outline, Solid };
    void SetTarget(std::vector<TMeshRun>& target, TArrowPart part) {
        flush();
        m_target = &target;
        m_arrowPart = part;
    }
    void draw(const TPrimitive& p);
    void flush();

private:
    [[nodiscard]] int segments(double radius) const { return CircleSegments(radius * m_pixelsPerUnit); }
    void colour(const TRgba& c);
    void begin(bool lines, float lineWidth = 1);
    void vertex(const TVec3& v);
    void fan(const TVec3& centre, const std::vector<TVec3>& rim);
    void polyline(const std::vector<TVec3>& points, float lineWidth = 1);
    void boxFaces(const std::array<TVec3, 8>& corners, const TPrimitive& p);
    void arrow(const TPrimitive& p);
    void ring(const TPrimitive& p);
    void pyramid(const TPrimitive& p);

    double m_pixelsPerUnit;
    std::vector<TMeshRun>* m_target;
    TArrowPart m_arrowPart = TArrowPart::Outline;
    std::vector<TMeshVertex> m_run;
    bool m_runLines = false;
    float m_runWidth = 1;
    TRgba m_colour;
};

void TMesher::colour(const TRgba& c) {
    m_colour = c;
}

void TMesher::begin(bool lines, float lineWidth) {
    if (lines != m_runLines || lineWidth != m_runWidth) flush();
    m_runLines = lines;
    m_runWidth = lineWidth;
}

void TMesher::vertex(const TVec3& v) {
    m_run.push_back({v, m_colour});
}

void TMesher::flush() {
    // Runs of one kind of piece become a single primitive, so thousands of glyphs cost a handful of
    // draws; the order of the pieces, which blending depends on, is kept.
    if (m_run.empty()) return;
    m_target->push_back(TMeshRun{m_runLines, m_runWidth, std::move(m_run)});
    m_run.clear();
}

void TMesher::fan(const TVec3& centre, const std::vector<TVec3>& rim) {
    begin(false);
    for (std::size_t k = 0; k + 1 < rim.size(); ++k) {
        vertex(centre);
        vertex(rim[k]);
        vertex(rim[k + 1]);
    }
}

void TMesher::polyline(const std::vector<TVec3>& points, float lineWidth) {
    begin(true, lineWidth);
    for (std::size_t k = 0; k + 1 < points.size(); ++k) {
        vertex(points[k]);
        vertex(points[k + 1]);
    }
}

void TMesher::boxFaces(const std::array<TVec3, 8>& c, const TPrimitive& p) {
    static constexpr int kFaces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                         {2, 3, 7, 6}, {0, 4, 7, 3}, {1, 2, 6, 5}};
    std::vector<TVec3> rim(5);
    if (p.Filled) {
        colour(p.Fill);
        for (const auto& face : kFaces) {
            TVec3 centre{};
            for (int k : face)
                for (int i = 0; i < 3; ++i)
                    centre[static_cast<std::size_t>(i)] +=
                        c[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)] / 4;
            for (std::size_t k = 0; k < 5; ++k)
                rim[k] = c[static_cast<std::size_t>(face[k % 4])];
            fan(centre, rim);
        }
    }
    colour(p.Outline);
    for (const auto& face : kFaces) {
        for (std::size_t k = 0; k < 5; ++k)
            rim[k] = c[static_cast<std::size_t>(face[k % 4])];
        polyline(rim);
    }
}

void TMesher::arrow(const TPrimitive& p) {
    const double S = p.GlyphSize;
    const TVec3& d = p.Direction;
    const auto [u, v] = across(d);
    const double shaft = S / 16, cone = 3 * S / 16;
    const int n = segments(shaft), m = segments(cone);
    std::vector<TVec3> circle;
    auto round = [&](double along, double radius, int count) {
        circle.resize(static_cast<std::size_t>(count) + 1);
        for (int k = 0; k <= count; ++k)
            circle[static_cast<std::size_t>(k)] = at(p.Centre, d, along, u, v, radius, 2 * kPi * k / count);
    };
    if (m_arrowPart == TArrowPart::Outline) {
        colour(p.Outline);
        for (const auto& [along, radius] : {std::pair{0.0, shaft}, {3 * S / 4, shaft}, {3 * S / 4, cone}}) {
            round(along, radius, radius == cone ? m : n);
            polyline(circle);
        }
        return;
    }
    colour(p.Fill);
    begin(false);  // the shaft
    for (int k = 0; k < n; ++k) {
        const double a = 2 * kPi * k / n, b = 2 * kPi * (k + 1) / n;
        const TVec3 a0 = at(p.Centre, d, 0, u, v, shaft, a), a1 = at(p.Centre, d, 3 * S / 4, u, v, shaft, a);
        const TVec3 b0 = at(p.Centre, d, 0, u, v, shaft, b), b1 = at(p.Centre, d, 3 * S / 4, u, v, shaft, b);
        for (const TVec3* q : {&a0, &a1, &b0, &a1, &b1, &b0})
            vertex(*q);
    }
    round(3 * S / 4, cone, m);  // the cone
    fan(at(p.Centre, d, S, u, v, 0, 0), circle);
}

void TMesher::ring(const TPrimitive& p) {
    const double r = p.GlyphSize / 9;
    const auto [u, v] = across(p.Axis);
    colour(p.Outline);
    const int n = segments(r) / 2;
    std::vector<TVec3> half(static_cast<std::size_t>(n) + 1);
    for (int k = 0; k <= n; ++k)
        half[static_cast<std::size_t>(k)] = at(p.Centre, p.Axis, 0, u, v, r, kPi * k / n);
    polyline(half, 2);
    // The cone at the end the sign chooses, pointing along the ring.
    const double end = p.Sign > 0 ? kPi : 0;
    const TVec3 tip = at(p.Centre, p.Axis, 0, u, v, r, end);
    const double side = p.Sign > 0 ? -1 : 1;
    TVec3 tangent{};
    for (int i = 0; i < 3; ++i)
        tangent[static_cast<std::size_t>(i)] = side * (-std::sin(end) * u[static_cast<std::size_t>(i)] +
                                                       std::cos(end) * v[static_cast<std::size_t>(i)]);
    const double head = p.GlyphSize / 9;
    const auto [a, b] = across(tangent);
    colour(p.Fill);
    const int m = segments(head / 3);
    std::vector<TVec3> base(static_cast<std::size_t>(m) + 1);
    for (int k = 0; k <= m; ++k)
        base[static_cast<std::size_t>(k)] = at(tip, tangent, 0, a, b, head / 3, 2 * kPi * k / m);
    fan(at(tip, tangent, head, a, b, 0, 0), base);
}

void TMesher::pyramid(const TPrimitive& p) {
    const double e = p.Size[0];
    const TVec3 apex = p.Centre;
    const std::vector<TVec3> base = {TVec3{apex[0] - e / 2, apex[1] - e / 2, apex[2] + e},
                                     {apex[0] + e / 2, apex[1] - e / 2, apex[2] + e},
                                     {apex[0] + e / 2, apex[1] + e / 2, apex[2] + e},
                                     {apex[0] - e / 2, apex[1] + e / 2, apex[2] + e},
                                     {apex[0] - e / 2, apex[1] - e / 2, apex[2] + e}};
    colour(p.Fill);
    fan(apex, base);
    colour(p.Outline);
    begin(true);
    for (std::size_t k = 0; k < 4; ++k) {
        vertex(apex);
        vertex(base[k]);
    }
    polyline(base);
}

void TMesher::draw(const TPrimitive& p) {
    switch (p.Shape) {
        case TShape::Box: {
            std::array<TVec3, 8> c{};
            int n = 0;
            for (const double z : {-0.5, 0.5})
                for (const auto& [x, y] : {std::pair{-0.5, -0.5}, {0.5, -0.5}, {0.5, 0.5}, {-0.5, 0.5}})
                    c[static_cast<std::size_t>(n++)] = {p.Centre[0] + x * p.Size[0],
                                                        p.Centre[1] + y * p.Size[1],
                                                        p.Centre[2] + z * p.Size[2]};
            boxFaces(c, p);
            break;
        }
        case TShape::Brick:
            boxFaces(p.Corners, p);
            break;
        case TShape::Arrow:
            arrow(p);
            break;
        case TShape::Ring:
            ring(p);
            break;
        case TShape::Lines:
            colour(p.Outline);
            polyline(p.Points);
            break;
        case TShape::Pyramid:
            pyramid(p);
            break;
    }
}

TMeshList TessellateList(const std::vector<TPrimitive>& scene, int list, double pixelsPerUnit) {
    // Opaque pieces first, then everything translucent under one blending state: fewer state
    // changes, and translucent faces show what lies behind them.
    // An arrow's outline circles are opaque and drawn with the opaque pieces: lines drawn with blending
    // on cost the software renderer several times more.
    auto translucent = [](const TPrimitive& p) { return p.Blend || p.Shape == TShape::Arrow; };
    TMeshList mesh;
    TMesher mesher(pixelsPerUnit, mesh.Opaque);
    mesher.SetTarget(mesh.Opaque, TMesher::TArrowPart::Outline);
    for (const TPrimitive& p : scene)
        if (p.List == list && (!translucent(p) || p.Shape == TShape::Arrow)) mesher.draw(p);
    mesher.SetTarget(mesh.Translucent, TMesher::TArrowPart::Solid);
    for (const TPrimitive& p : scene)
        if (p.List == list && translucent(p)) mesher.draw(p);
    mesher.flush();
    return mesh;
}

}  // namespace app::results
