#pragma once
// The one painting routine of a graph: the window, the printer, bitmaps and drenok-plot all call it,
// with the layout and resolution of their device.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>
#include <array>

#include "app/model/graph_plot.h"
#include "app/results/graph/plot_geometry.h"

class QPainter;
class QPagedPaintDevice;

namespace app::results {

/// The zoom state of a window: current and full range of each curve set (main, 2, 3).
struct TPlotView {
    std::array<TRange, 3> Current{};
    std::array<TRange, 3> Full{};
};
/// Full ranges computed from the curves, current = full.
[[nodiscard]] TPlotView MakeView(const app::model::TGraphPlot& plot);

struct TPaintTarget {
    int DpiX = 96, DpiY = 96;
    /// Height of the surface's font [pixels]; text heights are SizeFont × this / 10.
    int FontPixels = 14;
    /// Drawing for print or a bitmap: the legend box is drawn instead of the on-screen list.
    bool ForOutput = false;
    /// The larger soil pictures of the printer.
    bool Print = false;
    /// Where the on-screen legend stands in a window of `WindowSize`; the legend box takes its place.
    QRect Legend{};
    QSize WindowSize{};
};

/// The colour of the curve at `position` in the legend, as a Qt colour.
[[nodiscard]] QColor CurveQColor(int position);

/// F, the text unit: |SizeFont| × font height / 10.
[[nodiscard]] int TextUnit(const app::model::TGraphPlot& plot, int fontPixels);
/// The surface font's height at a resolution: the window's 14 pixels at 96 dots per inch.
[[nodiscard]] int FontPixelsAt(int dpiY);
/// The layout input of a plot on a device of this size and resolution.
[[nodiscard]] TLayoutInput LayoutInput(const app::model::TGraphPlot& plot, int width, int height, int dpiX,
                                       int dpiY);

void PaintPlot(QPainter& painter, const app::model::TGraphPlot& plot, const TPlotView& view,
               const TLayout& layout, const TPaintTarget& target);

/// The legend box's entries: the shown active curves of the main set, with their legend texts and the
/// active position that gives their colour.
struct TLegendEntry {
    std::string Text;
    int Position = 0;
};
[[nodiscard]] std::vector<TLegendEntry> LegendBoxEntries(const app::model::TGraphPlot& plot);

/// Soil pattern picture 1 … 14 (odd for the screen and bitmaps, even for print), black on white.
[[nodiscard]] const QImage& SoilPattern(int number);

/// The plot as a picture of `size` pixels at `dpi` on any painter (an image, an SVG generator), laid
/// out as a bitmap: the legend box at the lower right of the plot.
void PaintPlotPicture(QPainter& painter, const app::model::TGraphPlot& plot, const TPlotView& view,
                      QSize size, int dpi, QRect legend = QRect(), QSize windowSize = QSize());
/// The plot as a bitmap of `size` (the legend box at the lower right of the plot).
[[nodiscard]] QImage RenderBitmap(const app::model::TGraphPlot& plot, const TPlotView& view, QSize size,
                                  int dpi = 96, QRect legend = QRect(), QSize windowSize = QSize());
/// The plot on one page of `device` (a printer or a PDF writer), inside its page margins.
void RenderPage(QPagedPaintDevice& device, const app::model::TGraphPlot& plot, const TPlotView& view,
                QRect legend = QRect(), QSize windowSize = QSize());

}  // namespace app::results
