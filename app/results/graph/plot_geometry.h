#pragma once
// The arithmetic of a graph window without any drawing: axis ranges and their rounding, ticks, the
// layout rectangles in integer pixels, data-to-pixel mapping, zooming, marker shapes and the colour
// table. The painter and the window use it; tests check it without a window.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/model/graph_plot.h"

namespace app::results {

struct TRange {
    long double XMin = 0, XMax = 0, YMin = 0, YMax = 0;
    bool operator==(const TRange&) const = default;
};

/// One axis bounds widened when equal (±0.01) and rounded outwards to the step: 10^e, a tenth of it
/// when the range is below 3 × 10^e.
void RoundAxis(long double& minimum, long double& maximum);

/// The full range of a curve set over all its curves and points: always containing zero, each axis
/// rounded by RoundAxis.
[[nodiscard]] TRange FullRange(const app::model::TLineList& lines);

struct TTicks {
    long double Major = 0, Minor = 0;
    int KMin = 0, KMax = 0;
    bool Any = false;  // false: the panel gets neither ticks nor grid
};

/// Ticks of one axis of `pixels` length: pixels / (per × F) major intervals (per is 6 for a single plot,
/// 4 for a panel of three), the major step rounded to 1, 2, 5 or 10 × a power of ten, minor = major / 5,
/// tick indices counted from zero within [minimum, maximum].
[[nodiscard]] TTicks AxisTicks(long double minimum, long double maximum, int pixels, int textUnit, int per);

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    [[nodiscard]] int Width() const { return Right - Left; }
    [[nodiscard]] int Height() const { return Bottom - Top; }
    [[nodiscard]] bool Contains(int x, int y) const {
        return x >= Left && x <= Right && y >= Top && y <= Bottom;
    }
    bool operator==(const TRect&) const = default;
};

struct TLayoutInput {
    int Width = 0, Height = 0;  // client or output size [pixels]
    int DpiX = 96, DpiY = 96;
    int TextUnit = 14;  // F: |SizeFont| × surface font height / 10
    bool XOnTop = true;
    bool HasTitle = false, TitleAtTop = false;
    bool ShowLayers = false, ShowThree = false;
    bool HasNotice = false;  // a band for the plot's notice below (depth plots) or above the curves
};

struct TLayout {
    TRect Output, Plot, Soil;
    std::array<TRect, 3> Panels{};
};

/// The window's layout.
[[nodiscard]] TLayout ScreenLayout(const TLayoutInput& in);
/// A printed page: `output` from the page and its margins; a title takes a quarter inch at the top or
/// half an inch at the bottom.
[[nodiscard]] TLayout PrintLayout(const TLayoutInput& in, const TRect& output);
/// A bitmap: the screen formulas without the title adjustment, the soil column taking half an inch.
[[nodiscard]] TLayout BitmapLayout(const TLayoutInput& in);

/// The band a notice takes from the plot box: below it in depth plots, above it otherwise.
[[nodiscard]] int NoticeBand(int textUnit);

/// Rounds to the nearest integer, halves to even.
[[nodiscard]] int Nearest(long double value);

/// Data to pixels in a panel with its range; the ordinate grows downwards with `xOnTop`.
[[nodiscard]] int ToPixelX(long double x, const TRange& range, const TRect& panel);
[[nodiscard]] int ToPixelY(long double y, const TRange& range, const TRect& panel, bool xOnTop);
/// Pixels back to data.
[[nodiscard]] std::pair<long double, long double> ToData(int px, int py, const TRange& range,
                                                         const TRect& panel, bool xOnTop);

/// The range after a zoom rectangle between two data corners: each axis at least 1/20 of the full
/// range, centred on the selection and kept inside the full range.
[[nodiscard]] TRange ZoomWindow(const TRange& full, long double x1, long double y1, long double x2,
                                long double y2);
/// The range after a right click at (x, y): doubled about the point until the full range is reached.
[[nodiscard]] TRange ZoomOut(const TRange& current, const TRange& full, long double x, long double y);

/// Marker shape 1 … 10 of curve `index` of its set.
[[nodiscard]] int MarkerShape(int index);
/// Vertices of marker shape `shape` around (0, 0), closing on the first: y grows downwards.
[[nodiscard]] std::vector<std::pair<int, int>> MarkerVertices(int shape, int dpiX, int dpiY);

/// The 17 curve colours, red, green, blue.
struct TColour {
    int R, G, B;
    bool operator==(const TColour&) const = default;
};
[[nodiscard]] TColour CurveColour(int position);

/// Curve pen width: (nearest(dpiX / 300) + 1) × WidthLine.
[[nodiscard]] int CurvePenWidth(int dpiX, int widthLine);

/// General format with `digits` significant digits as the window writes tick labels (4) and the mouse
/// position (5).
[[nodiscard]] std::string TickLabel(long double value, int digits = 4);

}  // namespace app::results
