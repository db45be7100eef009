#pragma once
// The wall side view: the problem as entered, drawn to scale — wall, ground, excavation, soil layers
// with their main parameters, restraint, external p-y and spring marks, and a small plan of the piles.
// It reads the problem each time it paints; nothing is kept but the wall polygon and world window.

#include <QPageLayout>
#include <QWidget>
#include <array>
#include <functional>

#include "app/model/program_data.h"
#include "app/widgets/child_window.h"

class QPainter;
class QPagedPaintDevice;

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

class TDlgSideView : public QWidget, public app::widgets::TChildWindow {
    Q_OBJECT
public:
    /// `model` gives the problem as it is at each paint (New and Open replace the problem object).
    explicit TDlgSideView(std::function<const app::model::TProgramData&()> model, QWidget* parent = nullptr);
    void CommitEdit() override {}
    void Reload() override { Rebuild(); }
    /// Rebuilds the polygon and the world window from the problem (on activation).
    void Rebuild();
    [[nodiscard]] const TSideGeometry& Geometry() const { return m_geometry; }
    [[nodiscard]] const TWorldWindow& Window() const { return m_window; }
    [[nodiscard]] QWidget* Canvas() const { return m_canvas; }
    /// One landscape page of `device` ("Soil-Pile Profile").
    void PrintTo(QPagedPaintDevice& device);
    void Print();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::function<const app::model::TProgramData&()> m_model;
    QWidget* m_canvas;
    TSideGeometry m_geometry;
    TWorldWindow m_window;
};

}  // namespace app::results
