#pragma once
// The wall side view's window: it paints the problem as it is at each paint, with the side-view
// painter; nothing is kept but the wall polygon and world window.

#include <QPageLayout>
#include <QWidget>
#include <array>
#include <functional>

#include "app/model/program_data.h"
#include "app/results/export/picture_export.h"
#include "app/results/views/side_view_painter.h"
#include "app/widgets/child_window.h"

class QPainter;
class QPagedPaintDevice;

namespace app::results {

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
    /// The view on the clipboard as an image and as SVG, at the canvas's size.
    void CopyToClipboard();
    /// The view as a picture file (PNG, SVG, PDF or BMP by its extension); false with the message shown.
    bool SavePictureTo(const QString& file, QSize size, int dpi);
    void SaveToDisk();
    /// What the pictures of the view paint: the problem fitted to any size.
    [[nodiscard]] TPaintPicture Picture() const;

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
