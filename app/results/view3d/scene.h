#pragma once
// The 3D view's scene as a list of primitives — boxes, bricks, arrows, rings, lines and pyramids with
// their places, sizes and colours — built from the problem without any OpenGL, so it can be tested;
// the GL window replays the list into its display lists. Also the camera arithmetic of the view.

#include <array>
#include <vector>

#include "app/model/graph_plot.h"
#include "app/model/program_data.h"

namespace app::results {

using TVec3 = std::array<double, 3>;  // scene x (across the wall), y (along it), z (up, 0 at the top)

struct TRgba {
    float R = 0, G = 0, B = 0, A = 1;
    bool operator==(const TRgba&) const = default;
};

enum class TShape {
    Box,      // Centre, Size = (width x, depth y, height z)
    Brick,    // Corners: bottom four, then top four
    Arrow,    // Start (tail) and Direction (unit) of length GlyphSize: shaft 3/4, cone 1/4
    Ring,     // a half ring about Axis at Centre of radius GlyphSize / 9, the cone at the end of Sign
    Lines,    // Points joined in order
    Pyramid,  // apex at Centre pointing down, square base Size[0] wide above it
};

/// The GL window's display lists: the wall, loads and supports; the soil and water; list 1 is compiled
/// empty, and every list up to kLastList is called in order.
inline constexpr int kEmptyList = 1;
inline constexpr int kWallList = 2;
inline constexpr int kSoilList = 5;
inline constexpr int kLastList = 6;

struct TPrimitive {
    TShape Shape = TShape::Box;
    int List = kWallList;  // kWallList or kSoilList
    TVec3 Centre{};
    TVec3 Size{};
    std::array<TVec3, 8> Corners{};
    TVec3 Direction{};
    TVec3 Axis{};
    double GlyphSize = 0;
    int Sign = 1;
    std::vector<TVec3> Points;
    TRgba Fill, Outline;
    bool Filled = true;
    bool Blend = false;
};

/// The display options of the 3D window.
struct TSceneOptions {
    bool Wall = true, SoilLayers = true, WaterLevel = true, Surcharge = true, Springs = true, Tiebacks = true,
         ConcentratedLoads = true, BoundaryConditions = true, Axes = true;
    bool DeformedShape = false, UndeformedModel = false;
    long double DeformationFactor = 1.0L;
};

/// The scene's lengths [ft or m]: English values are divided by 12.
struct TSceneSizes {
    double Length = 0;     // L, the wall
    double Increment = 0;  // Δ
    double Width = 0;      // W: the active width, or L / 10
    double Thickness = 0;  // t: a tenth of the p-y width, or L / 100
    double FreeHeight = 0;
    double Largest = 1;  // D, for the fit scale
    double Centre = 0;   // c = −a / 2
    /// Scene length per unit of the deflection plot: deflections are shown in inches in English
    /// units while the scene is in feet.
    double DeflectionScale = 1;
};
[[nodiscard]] TSceneSizes SceneSizes(const app::model::TProgramData& model);

/// Every primitive of the scene; `deflection` is the first curve of the deflection plot (may be null).
[[nodiscard]] std::vector<TPrimitive> BuildScene(const app::model::TProgramData& model,
                                                 const TSceneOptions& options,
                                                 const app::model::TLine* deflection);

/// The nodes of a spring or load table row by row: a row set to interpolate runs to the next row's end
/// node and takes that row with it; a range ending before it starts keeps its first node.
[[nodiscard]] std::vector<std::pair<int, int>> NodeRanges(const app::model::TGridTable& table,
                                                          int interpolateColumn, int fromColumn,
                                                          int toColumn);

// ---- Camera ---------------------------------------------------------------------------------------------

struct TCamera {
    double RX = 0, RY = 0, RZ = 0;  // degrees
    double Zoom = 1, Fit = 1;
    double PX = 0, PY = 0, PZ = 0;
    std::array<double, 9> Matrix{1, 0, 0, 0, 1, 0, 0, 0, 1};  // 3 × 3 of the model view, row-major
};

/// Fit scale: min((h − 50) / D, (w − 50) / (25 W)); a zero denominator counts as 1.
[[nodiscard]] double FitScale(const TSceneSizes& sizes, int width, int height);
/// Half depth of the orthographic box.
[[nodiscard]] double OrthoDepth(const TSceneSizes& sizes, int width, int height);
/// Mᵀ v of the camera's matrix.
[[nodiscard]] TVec3 TransposedTimes(const TCamera& camera, const TVec3& v);
/// Pan after a drag of (dx, dy) pixels from the press (pan at press given); `shift` keeps the larger part.
void Pan(TCamera& camera, const TVec3& panAtPress, double dx, double dy, bool shift);
/// Rotation after a drag; a full height turns 90°.
void Rotate(TCamera& camera, const TVec3& anglesAtPress, double dx, double dy, int width, int height,
            bool shift);
/// Zoom after a vertical drag: dragging up enlarges.
void ZoomDrag(TCamera& camera, double zoomAtPress, double dy, int height);
/// The zoom box from (x0, y0) to (x, y): centred and filling the window; false when it is a line.
bool ZoomBox(TCamera& camera, const TVec3& panAtPress, double zoomAtPress, double x0, double y0, double x,
             double y, int width, int height);

/// Segments for a circle of radius `radiusPixels` on screen: 40 when the glyph is large enough for them to
/// show, fewer for small ones, so that the polygon departs from the circle by under a quarter pixel;
/// a multiple of 4 (half rings take half) and at least 8.
[[nodiscard]] int CircleSegments(double radiusPixels);

/// The deformed-shape factor after an arrow click: up 1 → 2 … 10 → 20, down 1 → 0.9 … 0.1 → 0.09.
[[nodiscard]] long double StepFactor(long double factor, bool up);

}  // namespace app::results
