#include "app/results/view3d/scene_raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/results/view3d/scene_mesh.h"

namespace app::results {

namespace {

constexpr double kPi = 3.14159265358979323846;
// As the GL window: glyph circles cut for a quarter more zoom than the frame's.
constexpr double kDetailHeadroom = 1.25;
// Corners are snapped to 1/256 pixel so that edge tests are exact integers: pixels on an edge that two
// triangles share belong to one of them, as on a GPU, and translucent faces show no seams.
constexpr double kSubpixel = 256.0;
// Lines lie on the faces they outline; a hair nearer the eye, so that they show instead of fighting
// the face for the depth.
constexpr double kLineDepthBias = 1e-9;
constexpr double kFarPixels = 4194304.0;  // 2^22

TMatrix4 multiply(const TMatrix4& a, const TMatrix4& b) {
    TMatrix4 c{};
    for (std::size_t col = 0; col < 4; ++col)
        for (std::size_t row = 0; row < 4; ++row) {
            double sum = 0;
            for (std::size_t k = 0; k < 4; ++k)
                sum += a[k * 4 + row] * b[col * 4 + k];
            c[col * 4 + row] = sum;
        }
    return c;
}

TMatrix4 identity() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

// glRotated about one of the axes (0 x, 1 y, 2 z).
TMatrix4 rotation(double degrees, int axis) {
    const double a = degrees * kPi / 180, c = std::cos(a), s = std::sin(a);
    TMatrix4 m = identity();
    const auto i = static_cast<std::size_t>((axis + 1) % 3), j = static_cast<std::size_t>((axis + 2) % 3);
    m[i * 4 + i] = c;
    m[j * 4 + i] = -s;
    m[i * 4 + j] = s;
    m[j * 4 + j] = c;
    return m;
}

TMatrix4 translation(double x, double y, double z) {
    TMatrix4 m = identity();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

struct TPoint {
    double X, Y, Depth;  // window pixels from the top left; depth 0 (near) … 1 (far)
};

struct TColour {
    float R, G, B, A;
};

class TRaster {
public:
    TRaster(int width, int height, const TMatrix4& modelView, double depth)
        : m_width(width),
          m_height(height),
          m_modelView(modelView),
          m_depth(depth),
          m_colour(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 1.0F),
          m_depthBuffer(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 1.0) {}

    [[nodiscard]] TPoint Project(const TVec3& v) const {
        const TMatrix4& m = m_modelView;
        const double x = m[0] * v[0] + m[4] * v[1] + m[8] * v[2] + m[12];
        const double y = m[1] * v[0] + m[5] * v[1] + m[9] * v[2] + m[13];
        const double z = m[2] * v[0] + m[6] * v[1] + m[10] * v[2] + m[14];
        // glOrtho(-w/2, w/2, -h/2, h/2, -d, d) and the viewport; the eye looks down −z.
        return {x + m_width / 2.0, m_height / 2.0 - y, m_depth > 0 ? (1 - z / m_depth) / 2 : 0.5};
    }

    void Runs(const std::vector<TMeshRun>& runs, bool blend) {
        for (const TMeshRun& run : runs) {
            const auto& v = run.Vertices;
            if (run.Lines) {
                for (std::size_t k = 0; k + 1 < v.size(); k += 2)
                    Line(Project(v[k].At), Project(v[k + 1].At), colour(v[k].Colour), run.LineWidth, blend,
                         true);
            } else {
                for (std::size_t k = 0; k + 2 < v.size(); k += 3)
                    triangle(Project(v[k].At), Project(v[k + 1].At), Project(v[k + 2].At),
                             colour(v[k].Colour), blend);
            }
        }
    }

    void Line(TPoint a, TPoint b, TColour c, float width, bool blend, bool depthTest) {
        const double dx = b.X - a.X, dy = b.Y - a.Y;
        const bool xMajor = std::fabs(dx) >= std::fabs(dy);
        const double major = xMajor ? dx : dy;
        if (major == 0) return;
        if (!std::isfinite(major) || !std::isfinite(a.X + a.Y + b.X + b.Y)) return;
        const double from = xMajor ? a.X : a.Y, to = xMajor ? b.X : b.Y;
        // Only the stretch over the picture is walked.
        const double limit = xMajor ? m_width : m_height;
        const auto first = static_cast<long>(std::clamp(std::ceil(std::min(from, to) - 0.5), 0.0, limit));
        const auto last = static_cast<long>(std::clamp(std::ceil(std::max(from, to) - 0.5), 0.0, limit));
        const int thick = std::max(1, static_cast<int>(std::lround(width)));
        for (long i = first; i < last; ++i) {
            const double t = (i + 0.5 - from) / major;
            const double minor = xMajor ? a.Y + t * dy : a.X + t * dx;
            const double depth = a.Depth + t * (b.Depth - a.Depth) - kLineDepthBias;
            const auto centre = static_cast<long>(std::floor(minor));
            for (int k = 0; k < thick; ++k) {
                const long m = centre - (thick - 1) / 2 + k;
                if (xMajor)
                    plot(i, m, depth, c, blend, depthTest);
                else
                    plot(m, i, depth, c, blend, depthTest);
            }
        }
    }

    [[nodiscard]] TRasterImage Image() const {
        TRasterImage image;
        image.Width = m_width;
        image.Height = m_height;
        image.Pixels.resize(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height));
        auto byte = [](float v) {
            return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0F, 1.0F) * 255.0F));
        };
        // The window shows the frame's colours and ignores its alpha; so does the picture.
        for (std::size_t p = 0; p < image.Pixels.size(); ++p) {
            const float* c = &m_colour[3 * p];
            image.Pixels[p] = 0xff000000U | byte(c[0]) << 16 | byte(c[1]) << 8 | byte(c[2]);
        }
        return image;
    }

private:
    static TColour colour(const TRgba& c) { return {c.R, c.G, c.B, c.A}; }

    void plot(long x, long y, double depth, TColour c, bool blend, bool depthTest) {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
        if (depth < 0 || depth > 1) return;  // outside the near and far planes
        const std::size_t p =
            static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x);
        if (depthTest) {
            if (!(depth < m_depthBuffer[p])) return;
            m_depthBuffer[p] = depth;
        }
        // GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA.
        float* out = &m_colour[3 * p];
        if (blend) {
            out[0] = c.R * c.A + out[0] * (1 - c.A);
            out[1] = c.G * c.A + out[1] * (1 - c.A);
            out[2] = c.B * c.A + out[2] * (1 - c.A);
        } else {
            out[0] = c.R;
            out[1] = c.G;
            out[2] = c.B;
        }
    }

    void triangle(TPoint a, TPoint b, TPoint c, TColour colour, bool blend) {
        if (!std::isfinite(a.X + a.Y + b.X + b.Y + c.X + c.Y)) return;
        // Corners further than kFarPixels away (a scene zoomed very far in) are pulled in, so that the
        // edge products stay inside 64 bits; such a triangle is drawn approximately.
        auto snap = [](double v) {
            return static_cast<std::int64_t>(
                std::llround(std::clamp(v, -kFarPixels, kFarPixels) * kSubpixel));
        };
        std::int64_t x[3] = {snap(a.X), snap(b.X), snap(c.X)}, y[3] = {snap(a.Y), snap(b.Y), snap(c.Y)};
        double z[3] = {a.Depth, b.Depth, c.Depth};
        auto edge = [&](int i, int j, std::int64_t px, std::int64_t py) {
            return (x[j] - x[i]) * (py - y[i]) - (y[j] - y[i]) * (px - x[i]);
        };
        std::int64_t area = edge(0, 1, x[2], y[2]);
        if (area == 0) return;
        if (area < 0) {  // one winding for all
            std::swap(x[1], x[2]);
            std::swap(y[1], y[2]);
            std::swap(z[1], z[2]);
            area = -area;
        }
        // Pixels exactly on an edge go to the triangle for which the edge is a top or left one.
        auto owns = [&](int i, int j) {
            const std::int64_t ex = x[j] - x[i], ey = y[j] - y[i];
            return ey < 0 || (ey == 0 && ex > 0) ? 0 : -1;
        };
        const std::int64_t bias[3] = {owns(1, 2), owns(2, 0), owns(0, 1)};
        const auto lo = [&](const std::int64_t* v, int limit) {
            return std::clamp<long>(static_cast<long>(std::floor(*std::min_element(v, v + 3) / kSubpixel)), 0,
                                    limit);
        };
        const auto hi = [&](const std::int64_t* v, int limit) {
            return std::clamp<long>(static_cast<long>(std::ceil(*std::max_element(v, v + 3) / kSubpixel)), 0,
                                    limit);
        };
        const long x0 = lo(x, m_width), x1 = hi(x, m_width), y0 = lo(y, m_height), y1 = hi(y, m_height);
        const auto half = static_cast<std::int64_t>(kSubpixel / 2);
        for (long py = y0; py < y1; ++py) {
            const std::int64_t sy =
                static_cast<std::int64_t>(py) * static_cast<std::int64_t>(kSubpixel) + half;
            for (long px = x0; px < x1; ++px) {
                const std::int64_t sx =
                    static_cast<std::int64_t>(px) * static_cast<std::int64_t>(kSubpixel) + half;
                const std::int64_t w0 = edge(1, 2, sx, sy), w1 = edge(2, 0, sx, sy), w2 = edge(0, 1, sx, sy);
                if (w0 + bias[0] < 0 || w1 + bias[1] < 0 || w2 + bias[2] < 0) continue;
                const double depth = (static_cast<double>(w0) * z[0] + static_cast<double>(w1) * z[1] +
                                      static_cast<double>(w2) * z[2]) /
                                     static_cast<double>(area);
                plot(px, py, depth, colour, blend, true);
            }
        }
    }

    int m_width, m_height;
    TMatrix4 m_modelView;
    double m_depth;
    std::vector<float> m_colour;  // r, g, b per pixel
    std::vector<double> m_depthBuffer;
};

}  // namespace

TMatrix4 ModelViewMatrix(const TCamera& camera, const TSceneSizes& sizes) {
    TMatrix4 m = rotation(-90, 0);
    m = multiply(m, rotation(camera.RX, 0));
    m = multiply(m, rotation(camera.RY, 1));
    m = multiply(m, rotation(camera.RZ, 2));
    const double scale = camera.Zoom * camera.Fit;
    TMatrix4 s = identity();
    s[0] = s[5] = s[10] = scale;
    m = multiply(m, s);
    m = multiply(m, translation(0, 0, -sizes.Centre));
    return multiply(m, translation(camera.PX, camera.PY, camera.PZ));
}

TCamera IsometricCamera() {
    TCamera camera;
    camera.RX = 25;
    camera.RZ = -35;
    return camera;
}

TRasterImage RasterizeScene(const std::vector<TPrimitive>& scene, const TSceneSizes& sizes,
                            const TCamera& camera, int width, int height, bool showAxes) {
    if (width < 1 || height < 1) return {};
    TCamera view = camera;
    view.Fit = FitScale(sizes, width, height);
    const TMatrix4 modelView = ModelViewMatrix(view, sizes);
    TRaster raster(width, height, modelView, OrthoDepth(sizes, width, height));
    const double scale = view.Zoom * view.Fit;
    // The lists in the GL window's order, each with its opaque pieces first.
    for (const int list : {kWallList, kSoilList}) {
        const TMeshList mesh = TessellateList(scene, list, scale * kDetailHeadroom);
        raster.Runs(mesh.Opaque, false);
        raster.Runs(mesh.Translucent, true);
    }
    const double axis = scale != 0 ? 80 / scale : 0;  // always 80 pixels
    const std::array<TVec3, 3> ends = {TVec3{axis, 0, 0}, TVec3{0, axis, 0}, TVec3{0, 0, -axis}};
    const TColour colours[3] = {{0, 0, 1, 1}, {0, 1, 0, 1}, {1, 0, 0, 1}};
    if (showAxes) {
        const TPoint origin = raster.Project({0, 0, 0});
        for (std::size_t k = 0; k < 3; ++k)
            raster.Line(origin, raster.Project(ends[k]), colours[k], 1, false, false);
    }
    TRasterImage image = raster.Image();
    for (std::size_t k = 0; k < 3; ++k) {
        const TPoint p = raster.Project(ends[k]);
        image.AxisEnds[k] = {p.X, p.Y};
    }
    return image;
}

}  // namespace app::results
