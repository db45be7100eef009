#pragma once
// Plot model behind the graph windows: curves of points in four curve sets, with the captions, unit
// letters and display options of one graph. Holds data only; drawing lives with the windows.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace app::model {

class TGraphPlot;

/// One point of a curve.
struct TFloatPoint {
    long double X = 0.0L;  // abscissa
    long double Y = 0.0L;  // ordinate
};

/// One curve of a plot.
class TLine {
public:
    /// Value = number of curves in the owner's main set + 1; as many zeroed points as the main set's
    /// first curve has (none for an empty main set). The owner must outlive the curve.
    explicit TLine(TGraphPlot& owner);

    /// Name when non-empty, otherwise the owner's CurveName followed by Value (15 significant digits).
    [[nodiscard]] std::string GetName() const;

    std::vector<TFloatPoint> Points;  // in drawing order
    long double Value;                // number of the default label
    std::string Name;                 // explicit label; empty means the default label
    bool Shown = true;                // drawn
    bool Active = true;               // offered in the legend and menu at all
    TGraphPlot* Owner;
};

using TLineList = std::vector<std::unique_ptr<TLine>>;

/// A curve's label callback: index in Lines, legend text to replace in place.
using TGetCaptionEvent = std::function<void(int index, std::string& value)>;

/// One graph: four owned curve sets and the options the window draws them with.
/// Curves point back to their plot, so a plot is neither copied nor moved.
class TGraphPlot {
public:
    TGraphPlot() = default;
    TGraphPlot(const TGraphPlot&) = delete;
    TGraphPlot& operator=(const TGraphPlot&) = delete;

    // Main set: the curves of a single plot and of panel 1 of the three-panel layout.
    // SetLineCount appends new curves or frees surplus ones from the end (n < 0 counts as 0).
    // SetPointCount gives every curve exactly n points, appending zeroed ones (n < 0 counts as 0).
    // Line and Point throw std::out_of_range for a bad index.
    void SetLineCount(int n) { SetCount(m_lines, n); }
    void SetPointCount(int n) { SetPoints(m_lines, n); }
    [[nodiscard]] int LineCount() const { return Count(m_lines); }
    [[nodiscard]] int PointCount() const { return Points(m_lines); }
    [[nodiscard]] TLine& Line(int i) { return At(m_lines, i); }
    [[nodiscard]] const TLine& Line(int i) const { return At(m_lines, i); }
    [[nodiscard]] TFloatPoint& Point(int i, int j) { return At(m_lines, i, j); }
    [[nodiscard]] const TFloatPoint& Point(int i, int j) const { return At(m_lines, i, j); }

    // Soil-column entries.
    void SetLayerLineCount(int n) { SetCount(m_layerLines, n); }
    void SetLayerPointCount(int n) { SetPoints(m_layerLines, n); }
    [[nodiscard]] int LayerLineCount() const { return Count(m_layerLines); }
    [[nodiscard]] int LayerPointCount() const { return Points(m_layerLines); }
    [[nodiscard]] TLine& LayerLine(int i) { return At(m_layerLines, i); }
    [[nodiscard]] const TLine& LayerLine(int i) const { return At(m_layerLines, i); }
    [[nodiscard]] TFloatPoint& LayerPoint(int i, int j) { return At(m_layerLines, i, j); }
    [[nodiscard]] const TFloatPoint& LayerPoint(int i, int j) const { return At(m_layerLines, i, j); }

    // Panel 2 of the three-panel layout.
    void SetLineCount2(int n) { SetCount(m_lines2, n); }
    void SetPointCount2(int n) { SetPoints(m_lines2, n); }
    [[nodiscard]] int LineCount2() const { return Count(m_lines2); }
    [[nodiscard]] int PointCount2() const { return Points(m_lines2); }
    [[nodiscard]] TLine& Line2(int i) { return At(m_lines2, i); }
    [[nodiscard]] const TLine& Line2(int i) const { return At(m_lines2, i); }
    [[nodiscard]] TFloatPoint& Point2(int i, int j) { return At(m_lines2, i, j); }
    [[nodiscard]] const TFloatPoint& Point2(int i, int j) const { return At(m_lines2, i, j); }

    // Panel 3 of the three-panel layout.
    void SetLineCount3(int n) { SetCount(m_lines3, n); }
    void SetPointCount3(int n) { SetPoints(m_lines3, n); }
    [[nodiscard]] int LineCount3() const { return Count(m_lines3); }
    [[nodiscard]] int PointCount3() const { return Points(m_lines3); }
    [[nodiscard]] TLine& Line3(int i) { return At(m_lines3, i); }
    [[nodiscard]] const TLine& Line3(int i) const { return At(m_lines3, i); }
    [[nodiscard]] TFloatPoint& Point3(int i, int j) { return At(m_lines3, i, j); }
    [[nodiscard]] const TFloatPoint& Point3(int i, int j) const { return At(m_lines3, i, j); }

    [[nodiscard]] const TLineList& Lines() const { return m_lines; }
    [[nodiscard]] const TLineList& LayerLines() const { return m_layerLines; }
    [[nodiscard]] const TLineList& Lines2() const { return m_lines2; }
    [[nodiscard]] const TLineList& Lines3() const { return m_lines3; }

    /// True when some curve of the main set has more than one point: the graph has something to draw.
    [[nodiscard]] bool HasCurveData() const;

    /// Legend text of curve i of the main set: GetName, passed through onGetCaption when assigned.
    [[nodiscard]] std::string LegendText(int i) const;

    /// Axis titles of panel 1, 2 or 3 (any other number means 1): the caption, followed by the
    /// converted unit letters in parentheses when there are any.
    [[nodiscard]] std::string XTitle(int panel = 1) const;
    [[nodiscard]] std::string YTitle(int panel = 1) const;

    /// Unit system for unit letters: 1 English, 2 SI, 3 letters kept. Clamped to 1..3.
    [[nodiscard]] int Units() const { return m_units; }
    void SetUnits(int units);

    std::string CurveName = "Curve #";  // prefix of default curve labels
    std::string Caption;                // graph name
    bool ShowLegend = true;
    bool ShowLayers = false;    // soil column beside the plot
    bool ShowWall = false;      // wall and excavation in the soil column
    bool ShowThree = false;     // three side-by-side panels
    bool ShowFontWidth = true;  // font size and line width choices offered
    int WallLineCount = 0;      // index of the wall entry in LayerLines
    int Markers = 1;            // a marker every N points; 0 = none
    int SizeFont = 10;          // text scale in tenths
    int LegendFont = 11;        // legend font size, points
    int WidthLine = 1;          // curve pen width multiplier
    std::string XCaption, XUnits;
    bool XOnTop = true;  // horizontal axis on top, ordinate growing downwards (depth plots)
    std::string YCaption, YUnits;
    std::string XCaption2, XUnits2, YCaption2, YUnits2;
    std::string XCaption3, XUnits3, YCaption3, YUnits3;
    TGetCaptionEvent onGetCaption;

    /// A line drawn across the picture when its results are not to be taken as they stand (a problem
    /// that did not converge, results older than the data); empty when there is nothing to say.
    std::string Notice;

    /// Levels drawn across a depth graph (the excavation, the water tables), at depths in the graph's
    /// depth unit; shown while ShowLevels.
    struct TLevel {
        long double Depth = 0.0L;
        std::string Label;
        bool Water = false;
    };
    std::vector<TLevel> Levels;
    bool ShowLevels = true;

    // Set only by the graph title dialog.
    std::string GraphTitle;
    bool TitleAtTop = false;

private:
    void SetCount(TLineList& set, int n);
    static void SetPoints(TLineList& set, int n);
    static int Count(const TLineList& set) { return static_cast<int>(set.size()); }
    static int Points(const TLineList& set);
    static TLine& At(const TLineList& set, int i);
    static TFloatPoint& At(const TLineList& set, int i, int j);

    TLineList m_lines;
    TLineList m_layerLines;
    TLineList m_lines2;
    TLineList m_lines3;
    int m_units = 1;
};

/// Unit letters as shown: force ("F2", "F1", "F": the first form found has every occurrence
/// replaced), then length ("L2", "L1", "L") alike; capitals only. Units 1 English, 2 SI, 3 (or more)
/// unchanged; below 1 counts as 1.
[[nodiscard]] std::string UnitsTitle(const std::string& letters, int units);

/// Caption, followed by " (" + converted unit letters + ")" when the letters are not empty.
[[nodiscard]] std::string AxisTitle(const std::string& caption, const std::string& unitLetters, int units);

}  // namespace app::model
