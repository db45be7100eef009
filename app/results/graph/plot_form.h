#pragma once
// The graph window: one plot definition drawn by the shared painter, with its "&Plot" menu, the
// legend list, the mouse position in the title, zooming, printing and saving a bitmap.

#include <QPageLayout>
#include <QPointF>
#include <QPointer>
#include <QWidget>
#include <vector>

#include "app/model/graph_plot.h"
#include "app/results/export/picture_export.h"
#include "app/results/graph/plot_painter.h"

class QMenu;
class QAction;
class QActionGroup;
class QRubberBand;
class QPagedPaintDevice;

namespace app::results {

class TPlotForm;

/// The on-screen legend: the active curves in their colours, " *" after those shown; it can be dragged
/// and an entry double-clicked.
class TLegendList : public QWidget {
    Q_OBJECT
public:
    explicit TLegendList(TPlotForm& form);
    void SetEntries(const QStringList& texts, const std::vector<int>& curves);
    [[nodiscard]] const QStringList& Texts() const { return m_texts; }
    /// Font size := scale × LegendFont / 10, item height 3/2 of it; width and height follow the entries.
    void Setup(int scale);
    void Widen(int extraPixels);
    [[nodiscard]] int ItemHeight() const { return m_itemHeight; }
    /// The entry at a point of the list, -1 when none.
    [[nodiscard]] int EntryAt(QPoint point) const;
    void ToggleEntry(int entry);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void updateHeight();

    TPlotForm& m_form;
    QStringList m_texts;
    std::vector<int> m_curves;
    int m_itemHeight = 16;
    QFont m_font;
    bool m_dragging = false;
    bool m_moved = false;  // the drag moved the list
    QPoint m_grip;
};

class TPlotForm : public QWidget {
    Q_OBJECT
public:
    explicit TPlotForm(app::model::TGraphPlot& plot, QWidget* parent = nullptr);

    [[nodiscard]] app::model::TGraphPlot& Plot() const { return *m_plot; }
    [[nodiscard]] const TPlotView& View() const { return m_view; }
    [[nodiscard]] const TLayout& Layout() const { return m_layout; }
    [[nodiscard]] QMenu* PlotMenu() const { return m_menu; }
    [[nodiscard]] TLegendList* Legend() const { return m_legend; }
    /// Curve index of each legend entry (the active curves in order).
    [[nodiscard]] const std::vector<int>& LegendCurves() const { return m_legendCurves; }

    /// Lays the window out; `placeLegend` puts the legend back at the plot's lower right corner,
    /// forgetting where the user dragged it.
    void LayOut(bool placeLegend);
    /// The legend list was dragged: it keeps that place through resizes.
    void LegendPlacedByUser();
    /// The plot menu's items as they stand when it opens.
    void RefreshMenu();
    /// Zoom rectangle between two window points, and a right click at one.
    void ZoomTo(QPoint anchor, QPoint release);
    void ZoomOutAt(QPoint point);
    /// The legend and the menu follow the active curves again.
    void RebuildLegend();
    /// Toggles Shown of curve `index` and repaints.
    void ToggleCurve(int index);
    /// Paints one page of `device` with this window's view.
    void PrintTo(QPagedPaintDevice& device);
    /// Writes the bitmap of `size`; false when it could not be made or written.
    bool SaveBitmapTo(const QString& file, QSize size);
    /// The graph as a picture file of the format its extension names (PNG, SVG, PDF, BMP), at `size`
    /// pixels and `dpi`; false with the message shown when it could not be written.
    bool SavePictureTo(const QString& file, QSize size, int dpi);
    /// The graph on the clipboard as an image and as SVG, at the window's size.
    void CopyToClipboard();
    /// The page layout used for printing: one-inch margins when the window opens.
    [[nodiscard]] QPageLayout& PageLayout() { return m_pageLayout; }

    // The menu's commands.
    void EditLegend();
    void ChooseActiveCurves();
    void EditGraphTitle();
    void Print();
    void PageSetup();
    void SaveToDisk();
    /// What the pictures of the graph paint: the window's graph at any size.
    [[nodiscard]] TPaintPicture Picture() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    [[nodiscard]] QString titleText() const;
    void placeLegendBox();
    void buildMenu();
    void setMarkers(int every);
    void setFontSize(int size);
    void setLineWidth(int width);
    [[nodiscard]] TLayout screenLayout() const;
    void keepLegendInside();
    [[nodiscard]] int panelAt(QPoint point) const;

    app::model::TGraphPlot* m_plot;
    TPlotView m_view;
    TLayout m_layout;
    QMenu* m_menu = nullptr;
    QAction* m_legendItem = nullptr;
    QAction* m_soilItem = nullptr;
    QAction* m_wallItem = nullptr;
    QAction* m_levelsItem = nullptr;
    QMenu* m_markersMenu = nullptr;
    QMenu* m_fontMenu = nullptr;
    QMenu* m_widthMenu = nullptr;
    QAction* m_printItem = nullptr;
    QAction* m_pageItem = nullptr;
    QAction* m_curveSeparator = nullptr;
    std::vector<QAction*> m_curveItems;
    std::vector<int> m_legendCurves;
    TLegendList* m_legend = nullptr;
    QRubberBand* m_band = nullptr;
    QPoint m_anchor;
    bool m_zooming = false;
    bool m_painted = false;
    std::string m_shownNotice;
    bool m_legendPlaced = false;  // dragged by the user: kept at m_legendPlace
    QPointF m_legendPlace;  // its top-left corner as a share of the room left for it  // the notice the title
                            // and layout were made for
    QPageLayout m_pageLayout;
};

/// The curve items' and legend's text of curve `index`: its legend text.
[[nodiscard]] QString CurveText(const app::model::TGraphPlot& plot, int index);

}  // namespace app::results
