#pragma once
// Painting of the wall side view without a window: the problem as entered, drawn to scale — wall,
// ground, excavation, soil layers with their main parameters, restraint, external p-y and spring
// marks, and a small plan of the piles — into any painter: the window, a printed page, a picture.

#include <QRect>
#include <QString>
#include <array>
#include <utility>

#include "app/model/program_data.h"

class QPagedPaintDevice;
class QPainter;

namespace app::results {

/// World coordinates: x across the wall (0 on its centre line), y downwards, in the model's length
/// unit; depths are shifted by a top margin of a tenth of the wall length.
struct TWorldWindow {
    long double XMin = -10, XMax = 10, YMin = 0, YMax = 10;
    [[nodiscard]] bool Degenerate() const { return XMax == XMin || YMax == YMin; }
};

struct TSideGeometry {
    long double Margin = 0;  // m = 0.1 × wall length
    std::array<std::pair<long double, long double>, 4> Wall{};
    bool HasWall = false;
    TWorldWindow Base;
};

/// The wall polygon and the base world window (each bound × 1.05) of the problem; no wall while the
/// wall stiffness table has no row.
[[nodiscard]] TSideGeometry SideGeometry(const app::model::TProgramData& model);
/// The base window fitted to a client of `width` × `height`: one world unit the same size both ways.
[[nodiscard]] TWorldWindow FitWindow(const TWorldWindow& base, int width, int height);

/// The soil name and parameter line of soil type `type` (1 … 7) with the layer's bottom parameters.
[[nodiscard]] std::pair<QString, QString> LayerText(const app::model::TProgramData& model, int layer);

/// Paints the view into `area` (the window's client, or a printed page when `print`).
void PaintSideView(QPainter& painter, const QRect& area, const app::model::TProgramData& model,
                   const TSideGeometry& geometry, const TWorldWindow& window, bool print);

/// Paints the view on the page of `device` as it is printed, with 10-point text, in `window`, or in
/// the base window fitted to the page when `window` is null.
void PaintSideViewPage(QPagedPaintDevice& device, const app::model::TProgramData& model,
                       const TSideGeometry& geometry, const TWorldWindow* window);

}  // namespace app::results
