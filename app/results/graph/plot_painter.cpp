#include "app/results/graph/plot_painter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace app::results {

using app::model::TGraphPlot;
using app::model::TLineList;

namespace {

QRect qrect(const TRect& r) {
    return QRect(QPoint(r.Left, r.Top), QPoint(r.Right, r.Bottom));
}

// The graph's typeface; Liberation Serif has the metrics of the one the layout was made for.
QFont graphFont(int pixels, bool bold) {
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(std::max(pixels, 1));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

struct Text {
    QPainter& painter;
    QFont font;
    QFontMetrics metrics;
    Text(QPainter& p, int pixels, bool bold)
        : painter(p), font(graphFont(pixels, bold)), metrics(font, p.device()) {}
    [[nodiscard]] int width(const QString& s) const { return metrics.horizontalAdvance(s); }
    [[nodiscard]] int height() const { return metrics.height(); }
    // The text cell's top-left corner at (x, y).
    void horizontal(int x, int y, const QString& s) const {
        painter.setFont(font);
        painter.drawText(QPoint(x, y + metrics.ascent()), s);
    }
    // Reading upwards from (x, y): the cell's top edge on x.
    void upwards(int x, int y, const QString& s) const {
        painter.save();
        painter.setFont(font);
        painter.translate(x, y);
        painter.rotate(-90);
        painter.drawText(QPoint(0, metrics.ascent()), s);
        painter.restore();
    }
};

const TLineList& setOf(const TGraphPlot& plot, int set) {
    return set == 0 ? plot.Lines() : set == 1 ? plot.Lines2() : plot.Lines3();
}

std::string xTitle(const TGraphPlot& plot, int panel) {
    return plot.XTitle(panel + 1);
}
std::string yTitle(const TGraphPlot& plot, int panel) {
    return plot.YTitle(panel + 1);
}

void paintTitles(QPainter& painter, const TGraphPlot& plot, const TLayout& layout, const TPaintTarget& t,
                 int F) {
    const Text bold(painter, F, true);
    const TRect& out = layout.Output;
    const bool hasTitle = !plot.GraphTitle.empty();
    const QString graphTitle = QString::fromStdString(plot.GraphTitle);
    if (hasTitle) {
        const int x = out.Left + (out.Width() - bold.width(graphTitle)) / 2;
        bold.horizontal(x, plot.TitleAtTop ? out.Top : out.Bottom - bold.height(), graphTitle);
    }
    if (!plot.ShowThree) {
        const QString xt = QString::fromStdString(xTitle(plot, 0));
        int top;
        if (plot.XOnTop)
            top = out.Top + (hasTitle && plot.TitleAtTop ? F / 8 + F : 0);
        else
            top = out.Bottom - bold.height() - (hasTitle && !plot.TitleAtTop ? F / 8 + F : 0);
        bold.horizontal(out.Left + (out.Width() - bold.width(xt)) / 2, top, xt);
        const QString yt = QString::fromStdString(yTitle(plot, 0));
        bold.upwards(out.Left, (out.Top + out.Bottom + bold.width(yt)) / 2, yt);
        return;
    }
    for (int p = 0; p < 3; ++p) {
        const TRect& panel = layout.Panels[static_cast<std::size_t>(p)];
        const QString xt = QString::fromStdString(xTitle(plot, p));
        const int x = panel.Left + (panel.Width() - bold.width(xt)) / 2;
        if (plot.XOnTop)
            bold.horizontal(x, out.Top + t.DpiY / 16 + (hasTitle && plot.TitleAtTop ? t.DpiY / 4 : 0), xt);
        else
            bold.horizontal(
                x, out.Bottom - t.DpiY / 16 - (hasTitle && !plot.TitleAtTop ? t.DpiY / 4 : 0) - bold.height(),
                xt);
        const QString yt = QString::fromStdString(yTitle(plot, p));
        bold.upwards(panel.Left - t.DpiX / 8 - 2 * F, (out.Top + out.Bottom + bold.width(yt)) / 2, yt);
    }
}

// The plot's notice in red in its band beside the curves' box, on every output, so that no picture
// of such results leaves the program without it.
void paintNotice(QPainter& painter, const TGraphPlot& plot, const TLayout& layout, int F) {
    if (plot.Notice.empty()) return;
    const TRect& first = plot.ShowThree ? layout.Panels[0] : layout.Plot;
    const TRect& last = plot.ShowThree ? layout.Panels[2] : layout.Plot;
    const Text bold(painter, F, true);
    const QString shown = bold.metrics.elidedText(QString::fromStdString(plot.Notice), Qt::ElideRight,
                                                  std::max(last.Right - first.Left, F));
    const int band = NoticeBand(F);
    const int top = plot.XOnTop ? first.Bottom + 1 + (band - bold.height()) / 2
                                : first.Top - band + (band - bold.height()) / 2;
    painter.save();
    painter.setPen(QColor(190, 0, 0));
    bold.horizontal(first.Left, top, shown);
    painter.restore();
}

// The shown curves of set `set` as pixel polylines in `panel`.
std::vector<QPolygon> shownPolylines(const TGraphPlot& plot, int set, const TRect& panel,
                                     const TRange& range) {
    std::vector<QPolygon> out;
    const TLineList& lines = setOf(plot, set);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const app::model::TLine& governing = i < plot.Lines().size() ? *plot.Lines()[i] : *lines[i];
        if (!governing.Active || !governing.Shown) continue;
        QPolygon polyline;
        for (const auto& p : lines[i]->Points)
            polyline << QPoint(ToPixelX(p.X, range, panel), ToPixelY(p.Y, range, panel, plot.XOnTop));
        out.push_back(polyline);
    }
    return out;
}

// How much of the polylines runs through `box`: the count of their points, each segment sampled at
// most two pixels apart, that fall inside it.
int crossings(const std::vector<QPolygon>& polylines, const QRect& box) {
    int count = 0;
    for (const QPolygon& line : polylines)
        for (int k = 0; k + 1 < line.size(); ++k) {
            const QPoint a = line[k], b = line[k + 1];
            const int steps = std::max(1, std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y())) / 2);
            for (int j = 0; j <= steps; ++j)
                if (box.contains(a + (b - a) * j / steps)) ++count;
        }
    return count;
}

// The excavation (dashed, brown) and the water tables (dash-dot, blue, with the inverted triangle)
// across a depth panel (`lines`), and their names (`named`, after the curves of set `set`): above the
// line at its right end, or where the curves cross them least (the left end, or below the line).
void paintLevels(QPainter& painter, const TGraphPlot& plot, int set, const TRect& panel, const TRange& range,
                 int F, bool lines, bool named) {
    if (!plot.ShowLevels || plot.Levels.empty() || !plot.XOnTop) return;
    const Text small(painter, std::max(8, F * 4 / 5), false);
    const std::vector<QPolygon> curves =
        named ? shownPolylines(plot, set, panel, range) : std::vector<QPolygon>{};
    painter.save();
    painter.setClipRect(qrect(panel).adjusted(0, 0, 1, 1));
    for (const TGraphPlot::TLevel& level : plot.Levels) {
        if (level.Depth < std::min(range.YMin, range.YMax) || level.Depth > std::max(range.YMin, range.YMax))
            continue;
        const int y = ToPixelY(level.Depth, range, panel, plot.XOnTop);
        const QColor colour = level.Water ? QColor(0, 90, 200) : QColor(130, 80, 20);
        QPen pen(colour, std::max(1, F / 12));
        pen.setStyle(level.Water ? Qt::DashDotLine : Qt::DashLine);
        painter.setPen(pen);
        if (lines) painter.drawLine(panel.Left, y, panel.Right, y);
        const QString label = QString::fromStdString(level.Label);
        int right = panel.Right - F / 3;
        if (level.Water) {
            // The water symbol: a small inverted triangle standing on the line, two short strokes below.
            const int a = std::max(4, F / 2);
            const int x = panel.Right - 2 * a;
            if (lines) {
                painter.setPen(QPen(colour, 1));
                painter.setBrush(Qt::NoBrush);
                painter.drawPolygon(
                    QPolygon({QPoint(x - a / 2, y - a), QPoint(x + a / 2, y - a), QPoint(x, y)}));
                painter.drawLine(x - a / 3, y + a / 3, x + a / 3, y + a / 3);
                painter.drawLine(x - a / 6, y + 2 * a / 3, x + a / 6, y + 2 * a / 3);
            }
            right = x - a;
        }
        if (!named) continue;
        const int w = small.width(label);
        const int h = small.height();
        const int left = panel.Left + F / 3;
        // Candidate places for the name's left edge and top; the one the curves cross least wins (the
        // first of equals).
        const std::pair<int, int> places[] = {
            {right - w, y - h - 1}, {left, y - h - 1}, {right - w, y + 2}, {left, y + 2}};
        std::pair<int, int> at = places[0];
        int least = std::numeric_limits<int>::max();
        for (const auto& place : places) {
            const int n = crossings(curves, QRect(place.first - 2, place.second, w + 4, h));
            if (n < least) {
                least = n;
                at = place;
            }
        }
        // On white only where no curve passes: a white ground over a curve would hide the results.
        if (least == 0) painter.fillRect(QRect(at.first - 2, at.second, w + 4, h), Qt::white);
        painter.setPen(colour);
        small.horizontal(at.first, at.second, label);
    }
    painter.restore();
}

void paintTicks(QPainter& painter, const TGraphPlot& plot, const TRect& panel, const TRange& range,
                const TPaintTarget& t, int F, int per) {
    const TTicks xt = AxisTicks(range.XMin, range.XMax, panel.Width(), F, per);
    const TTicks yt = AxisTicks(range.YMin, range.YMax, panel.Height(), F, per);
    if (xt.Major == 0 || yt.Major == 0) return;  // no interval on one axis: neither ticks nor grid
    const Text label(painter, F, false);
    const QPen solid(Qt::black, 1, Qt::SolidLine);
    const QPen dotted(Qt::black, 1, Qt::DotLine);
    if (xt.Any) {
        for (int k = xt.KMin; k <= xt.KMax; ++k) {
            const long double x = k * xt.Minor;
            const int px = ToPixelX(x, range, panel);
            if (px < panel.Left || px > panel.Right) continue;
            painter.setPen(solid);
            if (plot.XOnTop)
                painter.drawLine(px, panel.Top, px, panel.Top + t.DpiY / 16);
            else
                painter.drawLine(px, panel.Bottom, px, panel.Bottom - t.DpiY / 16);
            if (k % 5 != 0) continue;
            painter.setPen(dotted);
            painter.drawLine(px, panel.Top, px, panel.Bottom);
            painter.setPen(Qt::black);
            const QString text = QString::fromStdString(TickLabel(x));
            const int top =
                plot.XOnTop ? panel.Top - label.height() - t.DpiY / 32 : panel.Bottom + t.DpiY / 16;
            // Not left of the panel, where the other axis has its labels.
            label.horizontal(std::max(panel.Left, px - label.width(text) / 2), top, text);
        }
    }
    if (yt.Any) {
        for (int k = yt.KMin; k <= yt.KMax; ++k) {
            const long double y = k * yt.Minor;
            const int py = ToPixelY(y, range, panel, plot.XOnTop);
            if (py < panel.Top || py > panel.Bottom) continue;
            painter.setPen(solid);
            painter.drawLine(panel.Left, py, panel.Left + t.DpiX / 16, py);
            if (k % 5 != 0) continue;
            painter.setPen(dotted);
            painter.drawLine(panel.Left, py, panel.Right, py);
            painter.setPen(Qt::black);
            const QString text = QString::fromStdString(TickLabel(y));
            // Not beyond the panel's edge on the side of the other axis's labels (the corner they share).
            const int w = label.width(text);
            const int base =
                plot.XOnTop ? std::max(py + w / 2, panel.Top + w) : std::min(py + w / 2, panel.Bottom);
            label.upwards(panel.Left - label.height() - t.DpiX / 32, base, text);
        }
    }
}

void drawMarker(QPainter& painter, int shape, int x, int y, const TPaintTarget& t) {
    const std::vector<std::pair<int, int>> vertices = MarkerVertices(shape, t.DpiX, t.DpiY);
    QPolygon outline;
    for (const auto& [dx, dy] : vertices)
        outline << QPoint(x + dx, y + dy);
    painter.drawPolyline(outline);
}

// Every marker of one curve as line segments, drawn in one call: the shape's corners are computed once.
void drawMarkers(QPainter& painter, int shape, const QPolygon& points, int every, const TPaintTarget& t) {
    const std::vector<std::pair<int, int>> vertices = MarkerVertices(shape, t.DpiX, t.DpiY);
    QList<QLine> segments;
    segments.reserve(static_cast<qsizetype>(points.size() / every + 1) *
                     static_cast<qsizetype>(vertices.size()));
    for (int j = 0; j < points.size(); j += every) {
        const QPoint at = points[j];
        for (std::size_t v = 1; v < vertices.size(); ++v)
            segments.append(QLine(at.x() + vertices[v - 1].first, at.y() + vertices[v - 1].second,
                                  at.x() + vertices[v].first, at.y() + vertices[v].second));
    }
    painter.drawLines(segments);
}

void paintCurves(QPainter& painter, const TGraphPlot& plot, int set, const TRect& panel, const TRange& range,
                 const TPaintTarget& t, int penWidth) {
    const TLineList& lines = setOf(plot, set);
    if (lines.empty() || lines.front()->Points.size() < 2) return;
    painter.save();
    painter.setClipRect(qrect(panel).adjusted(0, 0, 1, 1));
    int active = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // In three panels the main set's flags govern the curves of the other two.
        const app::model::TLine& governing = i < plot.Lines().size() ? *plot.Lines()[i] : *lines[i];
        if (!governing.Active) continue;
        const int position = active++;
        if (!governing.Shown) continue;
        const QPen pen(CurveQColor(position), penWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        painter.setPen(pen);
        const auto& points = lines[i]->Points;
        QPolygon polyline;
        polyline.reserve(static_cast<int>(points.size()));
        for (const auto& p : points)
            polyline << QPoint(ToPixelX(p.X, range, panel), ToPixelY(p.Y, range, panel, plot.XOnTop));
        painter.drawPolyline(polyline);
        if (plot.Markers > 0)
            drawMarkers(painter, MarkerShape(static_cast<int>(i)), polyline, plot.Markers, t);
    }
    painter.restore();
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
}

void paintLegendBox(QPainter& painter, const TGraphPlot& plot, const TLayout& layout, const TPlotView& view,
                    const TPaintTarget& t, int F) {
    const std::vector<TLegendEntry> entries = LegendBoxEntries(plot);
    if (entries.empty() || !plot.ShowLegend) return;
    const Text text(painter, F, false);
    int widest = 0;
    for (const TLegendEntry& e : entries)
        widest = std::max(widest, text.width(QString::fromStdString(e.Text)));
    const int width = widest + 3 * t.DpiX / 16;
    const int rowHeight = t.DpiY / 32 + text.height();
    const int height = static_cast<int>(entries.size()) * rowHeight + t.DpiY / 32;
    const TRect& plotRect = layout.Plot;
    int left, top;
    if (t.Legend.isValid() && t.WindowSize.width() > 0 && t.WindowSize.height() > 0) {
        left = plotRect.Left + t.Legend.left() * plotRect.Width() / t.WindowSize.width();
        top = plotRect.Top + plotRect.Height() * t.Legend.top() / t.WindowSize.height();
    } else {
        // Where the window puts its legend first, the lower right corner, unless the curves pass there:
        // then the corner of the (last) panel that they cross least.
        const int set = plot.ShowThree ? 2 : 0;
        const TRect& panel = layout.Panels[static_cast<std::size_t>(set)];
        const std::vector<QPolygon> curves =
            shownPolylines(plot, set, panel, view.Current[static_cast<std::size_t>(set)]);
        const std::pair<int, int> corners[] = {{panel.Right - width, panel.Bottom - height},
                                               {panel.Right - width, panel.Top + 1},
                                               {panel.Left + 1, panel.Bottom - height},
                                               {panel.Left + 1, panel.Top + 1}};
        int least = std::numeric_limits<int>::max();
        left = corners[0].first;
        top = corners[0].second;
        for (const auto& [x, y] : corners) {
            const int n = crossings(curves, QRect(x, y, width, height));
            if (n < least) {
                least = n;
                left = x;
                top = y;
            }
        }
    }
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRect(left, top, width, height));
    for (std::size_t n = 0; n < entries.size(); ++n) {
        const int rowTop = top + t.DpiY / 32 + static_cast<int>(n) * rowHeight;
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        drawMarker(painter, MarkerShape(static_cast<int>(n)), left + t.DpiX / 16, rowTop + text.height() / 2,
                   t);
        painter.setPen(CurveQColor(entries[n].Position));
        text.horizontal(left + t.DpiX / 16 + t.DpiX / 16, rowTop, QString::fromStdString(entries[n].Text));
    }
    painter.setPen(Qt::black);
}

QBrush soilBrush(int code, bool print) {
    auto picture = [print](int screen) { return QBrush(SoilPattern(print ? screen + 1 : screen)); };
    switch (code) {
        case 1:
            return picture(13);
        case 2:
            return QBrush(Qt::black, Qt::FDiagPattern);
        case 3:
            return QBrush(Qt::black, Qt::CrossPattern);
        case 4:
            return QBrush(Qt::black, Qt::DiagCrossPattern);
        case 5:
            return QBrush(Qt::black, Qt::HorPattern);
        case 6:
            return QBrush(Qt::black, Qt::VerPattern);
        case 7:
            return picture(1);
        case 8:
            return picture(3);
        case 9:
            return picture(5);
        case 10:
            return picture(7);
        case 11:
            return picture(9);
        case 12:
            return picture(11);
        default:
            return QBrush(Qt::NoBrush);
    }
}

void paintSoilColumn(QPainter& painter, const TGraphPlot& plot, const TRect& column, const TRange& range,
                     const TPaintTarget& t, int fontPixels) {
    const TLineList& layers = plot.LayerLines();
    if (layers.empty() || layers.front()->Points.empty()) return;
    painter.save();
    painter.setClipRect(qrect(column).adjusted(0, 0, 1, 1));
    int count = static_cast<int>(layers.size());
    if (plot.WallLineCount > 0) --count;
    if (!plot.ShowWall) --count;
    auto depthPixel = [&](long double depth) {
        return std::min(ToPixelY(depth, range, column, plot.XOnTop), column.Bottom);
    };
    const int width = column.Width();
    const int leftEnd = column.Left + 2 * width / 5;
    const int rightStart = column.Left + 3 * width / 5;
    const Text name(painter, fontPixels, false);
    const bool haveExcavation = plot.WallLineCount + 1 < static_cast<int>(layers.size()) &&
                                !layers[static_cast<std::size_t>(plot.WallLineCount + 1)]->Points.empty();
    const long double excavation =
        haveExcavation ? layers[static_cast<std::size_t>(plot.WallLineCount + 1)]->Points.front().Y : 0;
    long double previous = 0;
    for (int e = 0; e < count; ++e) {
        const app::model::TLine& entry = *layers[static_cast<std::size_t>(e)];
        const bool wall = plot.ShowWall && plot.WallLineCount > 0 && e == plot.WallLineCount;
        for (const auto& point : entry.Points) {
            painter.setPen(QPen(Qt::black, 1));
            if (wall) {
                painter.setBrush(QColor(128, 128, 128));
                painter.drawRect(QRect(QPoint(leftEnd, column.Top), QPoint(rightStart, depthPixel(point.Y))));
                continue;
            }
            QBrush brush = soilBrush(static_cast<int>(std::lround(point.X)), t.Print);
            painter.setBrush(brush);
            const int top = depthPixel(previous);
            int bottom = depthPixel(point.Y);
            if (!plot.ShowWall) {
                if (e + 1 < count) bottom = std::min(bottom + 1, column.Bottom);
                const QRect band(QPoint(column.Left, top), QPoint(column.Right, bottom));
                painter.drawRect(band);
                const QString label = QString::fromStdString(entry.GetName());
                const QRect textBox(0, 0, name.width(label) + 4, name.height());
                painter.setPen(Qt::NoPen);
                painter.setBrush(Qt::white);
                painter.drawRect(textBox.translated(band.center() - textBox.center()));
                painter.setPen(Qt::black);
                name.horizontal(band.center().x() - name.width(label) / 2,
                                band.center().y() - name.height() / 2, label);
            } else {
                const int excavationPixel = depthPixel(excavation);
                if (point.Y <= excavation) {
                    painter.drawRect(
                        QRect(QPoint(column.Left, top), QPoint(leftEnd, bottom)));  // retained side only
                } else if (e == 0 || excavation > previous) {
                    painter.drawRect(QRect(QPoint(column.Left, top), QPoint(leftEnd, bottom)));
                    painter.drawRect(QRect(QPoint(rightStart, std::max(top, excavationPixel)),
                                           QPoint(column.Right, bottom)));
                } else {
                    painter.drawRect(QRect(QPoint(column.Left, top), QPoint(column.Right, bottom)));
                }
            }
            previous = point.Y;
        }
    }
    painter.restore();
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
}

// ---- Soil pattern pictures ------------------------------------------------------------------------------

QImage makePattern(int number) {
    const bool print = number % 2 == 0;
    const int screen = print ? number - 1 : number;
    const int scale = print ? 3 : 1;
    const bool small = screen == 3 || screen == 5 || screen == 7;
    QImage image(QSize(small ? 30 : 80, small ? 42 : 80) * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.scale(scale, scale);
    p.setPen(QPen(Qt::black, print ? 0.7 : 1.0));
    p.setBrush(Qt::black);
    auto pebble = [&p](int x, int y, int w, int h) {
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRect(x, y, w, h));
        p.setBrush(Qt::black);
    };
    switch (screen) {
        case 13:  // dotted diagonal lines
            for (int d = -80; d < 80; d += 10)
                for (int s = 0; s < 80; s += 4)
                    p.drawPoint(s, s + d);
            break;
        case 1:  // square dots on a staggered grid
            for (int y = 0; y < 80; y += 8)
                for (int x = (y / 8) % 2 ? 4 : 0; x < 80; x += 8)
                    p.drawRect(x, y, 1, 1);
            break;
        case 3:  // broken horizontal dashes
            for (int y = 3; y < 42; y += 7) {
                const int shift = (y / 7) % 2 ? 8 : 0;
                p.drawLine(shift, y, shift + 10, y);
                p.drawLine(shift + 16, y, std::min(shift + 26, 29), y);
            }
            break;
        case 5:  // brickwork
        case 7:  // brickwork crossed by diagonal strokes
            for (int row = 0; row < 3; ++row) {
                const int y = row * 14;
                p.drawLine(0, y, 29, y);
                const int x = row % 2 ? 15 : 0;
                p.drawLine(x, y, x, y + 13);
            }
            if (screen == 7)
                for (int x = -42; x < 30; x += 10)
                    p.drawLine(x, 42, x + 42, 0);
            break;
        case 9:  // dots with scattered pebbles
            for (int y = 2; y < 80; y += 10)
                for (int x = (y / 10) % 2 ? 7 : 2; x < 80; x += 10)
                    p.drawPoint(x, y);
            [[fallthrough]];
        case 11:  // scattered pebbles
            pebble(8, 10, 10, 7);
            pebble(44, 6, 8, 6);
            pebble(24, 36, 12, 8);
            pebble(60, 30, 9, 9);
            pebble(6, 58, 9, 7);
            pebble(46, 60, 13, 8);
            break;
        default:
            break;
    }
    return image;
}

}  // namespace

const QImage& SoilPattern(int number) {
    static const std::array<QImage, 14> patterns = [] {
        std::array<QImage, 14> made;
        for (int n = 1; n <= 14; ++n)
            made[static_cast<std::size_t>(n - 1)] = makePattern(n);
        return made;
    }();
    return patterns[static_cast<std::size_t>(std::clamp(number, 1, 14) - 1)];
}

TPlotView MakeView(const TGraphPlot& plot) {
    TPlotView view;
    for (int s = 0; s < 3; ++s) {
        view.Full[static_cast<std::size_t>(s)] = FullRange(setOf(plot, s));
        view.Current[static_cast<std::size_t>(s)] = view.Full[static_cast<std::size_t>(s)];
    }
    return view;
}

QColor CurveQColor(int position) {
    const TColour c = CurveColour(position);
    return QColor(c.R, c.G, c.B);
}

int TextUnit(const TGraphPlot& plot, int fontPixels) {
    return std::abs(plot.SizeFont * fontPixels / 10);
}

int FontPixelsAt(int dpiY) {
    return Nearest(14.0L * dpiY / 96);
}

TLayoutInput LayoutInput(const TGraphPlot& plot, int width, int height, int dpiX, int dpiY) {
    TLayoutInput in;
    in.Width = width;
    in.Height = height;
    in.DpiX = dpiX;
    in.DpiY = dpiY;
    in.TextUnit = TextUnit(plot, FontPixelsAt(dpiY));
    in.XOnTop = plot.XOnTop;
    in.HasTitle = !plot.GraphTitle.empty();
    in.TitleAtTop = plot.TitleAtTop;
    in.ShowLayers = plot.ShowLayers;
    in.ShowThree = plot.ShowThree;
    in.HasNotice = !plot.Notice.empty();
    return in;
}

std::vector<TLegendEntry> LegendBoxEntries(const TGraphPlot& plot) {
    std::vector<TLegendEntry> entries;
    int active = 0;
    for (int i = 0; i < plot.LineCount(); ++i) {
        const app::model::TLine& line = plot.Line(i);
        if (!line.Active) continue;
        const int position = active++;
        if (line.Shown) entries.push_back({plot.LegendText(i), position});
    }
    return entries;
}

void PaintPlot(QPainter& painter, const TGraphPlot& plot, const TPlotView& view, const TLayout& layout,
               const TPaintTarget& target) {
    const TRect& out = layout.Output;
    painter.fillRect(qrect(out).adjusted(0, 0, 1, 1), Qt::white);
    const int penWidth = CurvePenWidth(target.DpiX, plot.WidthLine);
    if (out.Width() < target.DpiX || out.Height() < target.DpiY) return;
    const int F = TextUnit(plot, target.FontPixels);
    paintTitles(painter, plot, layout, target, F);
    const int panels = plot.ShowThree ? 3 : 1;
    for (int p = 0; p < panels; ++p)
        paintTicks(painter, plot, layout.Panels[static_cast<std::size_t>(p)],
                   view.Current[static_cast<std::size_t>(p)], target, F, plot.ShowThree ? 4 : 6);
    for (int p = 0; p < panels; ++p)
        paintLevels(painter, plot, p, layout.Panels[static_cast<std::size_t>(p)],
                    view.Current[static_cast<std::size_t>(p)], F, true, false);
    for (int p = 0; p < panels; ++p)
        paintCurves(painter, plot, p, layout.Panels[static_cast<std::size_t>(p)],
                    view.Current[static_cast<std::size_t>(p)], target, penWidth);
    paintLevels(painter, plot, panels - 1, layout.Panels[static_cast<std::size_t>(panels - 1)],
                view.Current[static_cast<std::size_t>(panels - 1)], F, false, true);
    if (target.ForOutput) paintLegendBox(painter, plot, layout, view, target, F);
    paintNotice(painter, plot, layout, F);
    if (plot.ShowLayers)
        paintSoilColumn(painter, plot, layout.Soil, view.Current[0], target, target.FontPixels);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    for (int p = 0; p < panels; ++p) {
        const TRect& r = plot.ShowThree ? layout.Panels[static_cast<std::size_t>(p)] : layout.Plot;
        painter.drawRect(QRect(QPoint(r.Left, r.Top), QPoint(r.Right + 1, r.Bottom + 1)));
    }
}

QImage RenderBitmap(const TGraphPlot& plot, const TPlotView& view, QSize size, int dpi, QRect legend,
                    QSize windowSize) {
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) return image;  // too large to allocate
    image.setDotsPerMeterX(Nearest(dpi / 0.0254L));
    image.setDotsPerMeterY(Nearest(dpi / 0.0254L));
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintPlotPicture(painter, plot, view, size, dpi, legend, windowSize);
    return image;
}

void PaintPlotPicture(QPainter& painter, const TGraphPlot& plot, const TPlotView& view, QSize size, int dpi,
                      QRect legend, QSize windowSize) {
    const TLayout layout = BitmapLayout(LayoutInput(plot, size.width(), size.height(), dpi, dpi));
    TPaintTarget target;
    target.DpiX = target.DpiY = dpi;
    target.FontPixels = FontPixelsAt(dpi);
    target.ForOutput = true;
    target.Legend = legend;
    target.WindowSize = windowSize;
    PaintPlot(painter, plot, view, layout, target);
}

void RenderPage(QPagedPaintDevice& device, const TGraphPlot& plot, const TPlotView& view, QRect legend,
                QSize windowSize) {
    QPainter painter(&device);
    const int dpiX = device.logicalDpiX();
    const int dpiY = device.logicalDpiY();
    // The painter's origin is the printable area's corner; the margins are measured from the paper edge.
    const QPageLayout page = device.pageLayout();
    const QRect paint = page.paintRectPixels(dpiX);
    const TRect output{0, 0, paint.width(), paint.height()};
    const TLayout layout = PrintLayout(LayoutInput(plot, paint.width(), paint.height(), dpiX, dpiY), output);
    TPaintTarget target;
    target.DpiX = dpiX;
    target.DpiY = dpiY;
    target.FontPixels = FontPixelsAt(dpiY);
    target.ForOutput = true;
    target.Print = true;
    target.Legend = legend;
    target.WindowSize = windowSize;
    PaintPlot(painter, plot, view, layout, target);
}

}  // namespace app::results
