#include "app/results/views/side_view_painter.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>

#include "app/model/graph_plot.h"
#include "app/model/number_format.h"
#include "app/model/problem_tables.h"
#include "app/model/units.h"
#include "app/results/graph/plot_geometry.h"

namespace app::results {

using app::model::TProgramData;

namespace {

QString number(long double v) {
    return QString::fromStdString(app::model::FormatGeneral(v, 15));
}

// The soil block is written, and layers matter, only with generated p-y curves or generated pressure.
bool layersApply(const TProgramData& m) {
    return m.GeneratePY != 0 || (m.GeneratedEarthPressureRead && !m.UserEarthPressure);
}

// Screen and page differ only in how world y and the line ends map.
struct Mapping {
    QRect area;
    TWorldWindow window;
    bool print;
    [[nodiscard]] int x(long double worldX) const {
        return area.left() + Nearest(area.width() * (worldX - window.XMin) / (window.XMax - window.XMin));
    }
    [[nodiscard]] int y(long double worldY) const {
        const long double f = (worldY - window.YMin) / (window.YMax - window.YMin);
        return area.top() + (print ? Nearest(f * 0.8L * area.height() + 0.1L * area.height())
                                   : Nearest(area.height() * f));
    }
    [[nodiscard]] int fraction(long double f) const { return area.left() + Nearest(f * area.width()); }
    [[nodiscard]] int lineStart() const { return fraction(print ? 0.1L : 0); }
    [[nodiscard]] int lineEnd() const { return fraction(print ? 0.9L : 1); }
};

}  // namespace

TSideGeometry SideGeometry(const TProgramData& m) {
    TSideGeometry g;
    const long double length = m.IncrementCount * m.IncrementLength;
    g.Margin = 0.1L * length;
    g.Base = TWorldWindow{0, 0, 0, 0};
    if (m.Tables().PileSect.RowCount() > 0) {
        const long double a = m.FreeHeight / 40;
        g.Wall = {{{-a, g.Margin}, {-a, length + g.Margin}, {a, length + g.Margin}, {a, g.Margin}}};
        g.HasWall = true;
        for (const auto& [x, y] : g.Wall) {
            g.Base.XMin = std::min(g.Base.XMin, x);
            g.Base.XMax = std::max(g.Base.XMax, x);
            g.Base.YMin = std::min(g.Base.YMin, y);
            g.Base.YMax = std::max(g.Base.YMax, y);
        }
    }
    g.Base.XMin *= 1.05L;
    g.Base.XMax *= 1.05L;
    g.Base.YMin *= 1.05L;
    g.Base.YMax *= 1.05L;
    return g;
}

TWorldWindow FitWindow(const TWorldWindow& base, int width, int height) {
    TWorldWindow w = base;
    if (w.Degenerate() || width <= 0 || height <= 0) return w;
    const long double k =
        (static_cast<long double>(width) / height) / ((w.XMax - w.XMin) / (w.YMax - w.YMin));
    if (k >= 1) {
        w.XMin *= k;
        w.XMax *= k;
    } else {
        w.YMin /= k;
        w.YMax /= k;
    }
    return w;
}

std::pair<QString, QString> LayerText(const TProgramData& m, int layer) {
    const auto& soil = m.Tables().NewSoil;
    const int type = soil.Column(0).IntAt(layer);
    const app::model::TGridTable* p = soil.Column(2).TableAt(layer);
    auto v = [p](int column) { return p ? app::model::NumberAt(*p, column, 1) : 0.0L; };
    switch (type) {
        case 1:
            return {QStringLiteral("Soft clay"),
                    QStringLiteral("c= %1; gamma= %2").arg(number(v(1)), number(v(0)))};
        case 2:
            return {QStringLiteral("Stiff clay w/free water"),
                    QStringLiteral("c= %1; gamma= %2").arg(number(v(1)), number(v(0)))};
        case 3:
            return {QStringLiteral("Stiff clay w/o free water"),
                    QStringLiteral("c= %1; gamma= %2").arg(number(v(1)), number(v(0)))};
        case 4:
            return {QStringLiteral("Sand"),
                    QStringLiteral("ø= %1; gamma= %2").arg(number(v(1)), number(v(0)))};
        case 5:
            return {QStringLiteral("Silt"),
                    QStringLiteral("ø= %1; c= %2; gamma= %3").arg(number(v(1)), number(v(2)), number(v(0)))};
        case 6:
            return {QStringLiteral("Rock"),
                    QStringLiteral("compressive strength= %1; gamma= %2").arg(number(v(1)), number(v(0)))};
        default:
            return {QStringLiteral("Weak Rock"),
                    QStringLiteral("compressive strength= %1; gamma= %2").arg(number(v(1)), number(v(0)))};
    }
}

void PaintSideView(QPainter& painter, const QRect& area, const TProgramData& m, const TSideGeometry& g,
                   const TWorldWindow& window, bool print) {
    if (window.Degenerate()) return;
    const Mapping map{area, window, print};
    const QPalette palette;
    painter.fillRect(area, palette.color(QPalette::Window));
    const QColor ink = palette.color(QPalette::WindowText);
    const int outline = print ? 12 : 1;
    painter.setPen(QPen(ink, outline));
    const int W = area.width();
    const long double h = m.IncrementLength;
    const long double excavation = g.Margin + m.FreeHeight;
    const int ground = map.y(g.Margin);
    const int half = map.fraction(0.5L);
    const QFontMetrics metrics(painter.font());
    const int textX = map.fraction(print ? 0.1L : 0);

    if (layersApply(m)) {
        const auto& soil = m.Tables().NewSoil;
        const long double toLength =
            app::model::LengthScale(m.UnitSystem());  // the table's depths are shown lengths
        long double top = g.Margin;
        for (int i = 0; i < soil.RowCount(); ++i) {
            const long double bottom = soil.Column(1).FloatAt(i) * toLength + g.Margin;
            if (i == 0) {
                painter.drawLine(map.lineStart(), ground, half, ground);
                const long double slope = m.BackfillSlope * std::acos(-1.0L) / 180;
                if (m.BackfillSlope > 0) {
                    const int to = map.fraction(print ? 0.2L : 0.25L);
                    painter.drawLine(half, ground, to,
                                     ground - Nearest((to - area.left()) * std::tan(slope)));
                } else if (m.BackfillSlope == 0) {
                    for (int k = 1; k <= 5; ++k) {
                        if (print)
                            painter.drawLine(area.left() + Nearest(0.35L * area.height() + 50 * k), ground,
                                             area.left() + Nearest(0.365L * area.height() + 50 * k),
                                             ground + 70);
                        else
                            painter.drawLine(area.left() + 100 + 20 * k, ground, area.left() + 115 + 20 * k,
                                             ground + 5);
                    }
                }
            }
            // The excavation side is dug out above the excavation level.
            const int y = map.y(bottom);
            painter.drawLine(map.lineStart(), y, bottom >= excavation ? map.lineEnd() : half, y);
            const auto [name, parameters] = LayerText(m, i);
            const int textTop = map.y(top);
            painter.drawText(QPoint(textX, textTop + metrics.ascent()), name);
            painter.drawText(QPoint(textX, textTop + metrics.height() + metrics.ascent()), parameters);
            top = bottom;
        }
    }

    if (g.HasWall) {
        QPolygon wall;
        for (const auto& [x, y] : g.Wall)
            wall << QPoint(map.x(x), map.y(y));
        painter.setBrush(ink);
        painter.drawPolygon(wall);
        painter.setBrush(Qt::NoBrush);
    }
    painter.drawLine(map.lineStart(), ground, half, ground);
    painter.drawLine(half, map.y(excavation), map.lineEnd(), map.y(excavation));

    const auto& t = m.Tables();
    painter.setPen(QPen(ink, print ? 15 : 2));
    if (m.ApplyRestraints) {
        for (int r = 0; r < t.Soillayer.RowCount(); ++r) {
            const int y = map.y(t.Soillayer.Column(1).IntAt(r) * h + g.Margin);
            const int tip = map.fraction(0.52L), lift = Nearest(0.01L * W);
            painter.drawLine(half, y, tip, y);
            painter.drawLine(half, y, tip, y - lift);
            painter.drawLine(half, y, tip, y + lift);
        }
    }
    if (m.ApplyExternalPY || m.Results.MaxPressurePoints() > 1) {
        for (int r = 0; r < t.PYCurves2.RowCount(); ++r) {
            const int y = map.y(t.PYCurves2.Column(0).IntAt(r) * h + g.Margin);
            const int lift = Nearest(0.01L * W);
            painter.drawLine(half, y, map.fraction(0.45L), y);
            painter.drawLine(map.fraction(0.43L), y, map.fraction(0.38L), y);
            painter.drawLine(map.fraction(0.38L), y, map.fraction(0.40L), y - lift);
            painter.drawLine(map.fraction(0.38L), y, map.fraction(0.40L), y + lift);
        }
    }
    painter.setPen(QPen(ink, print ? 35 : 5));
    if (m.ApplySprings) {
        for (int r = 0; r < t.SoilStrength.RowCount(); ++r) {
            const long double depth = t.SoilStrength.Column(1).IntAt(r) * h + g.Margin;
            if (depth >= excavation) continue;  // springs below the excavation get no mark
            painter.drawLine(half, map.y(depth), map.fraction(0.6L), map.y(depth));
        }
    }
    painter.setPen(QPen(ink, print ? 15 : 2));
    if (m.ActiveWidth > 0 && m.PYWidth > 0) {
        const long double perPixel = (window.XMax - window.XMin) / W;
        const int radius = std::max(1, Nearest(m.PYWidth / perPixel));
        for (int k = 0; k < 5; ++k) {
            const QPoint centre(map.x(400), map.y(70 + 2 * m.ActiveWidth * k));
            painter.setBrush(Qt::white);
            painter.drawEllipse(centre, radius, radius);
            if (k == 0) {
                painter.drawText(QPoint(centre.x() - radius / 5, area.top() + 5 + metrics.ascent()),
                                 QStringLiteral("top view"));
                painter.drawText(QPoint(half, area.top() + 5 + metrics.ascent()),
                                 QStringLiteral("side view"));
            }
        }
        painter.setBrush(Qt::NoBrush);
    }
    painter.setPen(QPen(ink, 1));
}

void PaintSideViewPage(QPagedPaintDevice& device, const TProgramData& model, const TSideGeometry& geometry,
                       const TWorldWindow* window) {
    QPainter painter(&device);
    const QRect page(QPoint(0, 0), device.pageLayout().paintRectPixels(device.logicalDpiX()).size());
    QFont font = painter.font();
    font.setPointSize(10);
    painter.setFont(font);
    PaintSideView(painter, page, model, geometry,
                  window ? *window : FitWindow(geometry.Base, page.width(), page.height()), true);
}

}  // namespace app::results
