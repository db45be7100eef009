#include "app/results/views/section_drawing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/model/number_format.h"
#include "app/model/problem_tables.h"
#include "app/model/units.h"

namespace app::results {

using app::model::TCaseInputs;
using app::model::TProgramData;

namespace {

QString num(double v, int digits = 4) {
    if (std::fabs(v) < 1e-12) v = 0;
    return QString::fromStdString(app::model::FormatGeneral(v, digits));
}

double cellValue(const app::model::TGridTable& t, int column, int row) {
    return static_cast<double>(t.Cell(column, row).AsFloat());
}

// The value of a parameter at the top and at the bottom of a layer: "34" or "30–34".
QString range(const app::model::TGridTable* p, int column) {
    if (p == nullptr || p->RowCount() < 1) return QStringLiteral("?");
    const double top = static_cast<double>(app::model::NumberAt(*p, column, 0));
    const double bottom =
        static_cast<double>(app::model::NumberAt(*p, column, std::min(1, p->RowCount() - 1)));
    return top == bottom ? num(top) : num(top) + QStringLiteral("–") + num(bottom);
}

QString soilName(int type) {
    switch (type) {
        case 1:
            return QStringLiteral("Soft clay");
        case 2:
            return QStringLiteral("Stiff clay with free water");
        case 3:
            return QStringLiteral("Stiff clay without free water");
        case 4:
            return QStringLiteral("Sand");
        case 5:
            return QStringLiteral("Silt (c-φ soil)");
        case 6:
            return QStringLiteral("Strong rock");
        default:
            return QStringLiteral("Weak rock");
    }
}

QColor soilColour(int type) {
    switch (type) {
        case 1:
            return {205, 220, 190};
        case 2:
            return {186, 205, 160};
        case 3:
            return {170, 192, 142};
        case 4:
            return {242, 228, 170};
        case 5:
            return {226, 208, 170};
        case 6:
            return {196, 196, 200};
        default:
            return {214, 206, 196};
    }
}

// The soil block is written, and layers and water matter, only with generated curves or pressure.
bool soilApplies(const TProgramData& m) {
    return m.GeneratePY != 0 || (m.GeneratedEarthPressureRead && !m.UserEarthPressure);
}

}  // namespace

double ScaleBarLength(double span) {
    if (!(span > 0) || !std::isfinite(span)) return 1;
    const double target = span / 5;
    const double decade = std::pow(10.0, std::floor(std::log10(target)));
    for (const double f : {5.0, 2.0, 1.0})
        if (f * decade <= target) return f * decade;
    return decade;
}

TSectionDrawing SectionDrawingOf(const TProgramData& m, const std::vector<TCaseInputs>& inputs) {
    using namespace app::model;
    TSectionDrawing d;
    const int units = m.UnitSystem();
    const bool english = units == kUnitsEnglish;
    const bool si = units == kUnitsSI;
    d.Title = QString::fromStdString(m.Title);
    d.LengthUnit = english ? "ft" : si ? "m" : "L";
    d.ForceUnit = english ? "lb" : si ? "kN" : "F";
    d.PressureUnit = english ? "lb/ft²" : si ? "kPa" : "F/L²";
    d.UnitWeightUnit = english ? "lb/ft³" : si ? "kN/m³" : "F/L³";
    const double scale = static_cast<double>(LengthScale(units));  // stored lengths per shown one
    d.WallLength = m.IncrementCount * static_cast<double>(m.IncrementLength) / scale;
    d.Surcharge = static_cast<double>(m.TopSurcharge) * (english ? 144.0 : 1.0);
    d.BackfillSlope = static_cast<double>(m.BackfillSlope);
    const TProblemTables& t = m.Tables();
    d.Soil = soilApplies(m) || m.ApplyExternalPY || m.UserEarthPressure;

    if (soilApplies(m)) {
        double top = 0;
        for (int r = 0; r < t.NewSoil.RowCount(); ++r) {
            TSectionDrawing::TLayer layer;
            layer.Type = t.NewSoil.Cell(0, r).AsInt();
            layer.Top = top;
            layer.Bottom = cellValue(t.NewSoil, 1, r);
            if (layer.Bottom <= top) continue;
            top = layer.Bottom;
            const TGridTable* p = t.NewSoil.Column(2).TableAt(r);
            layer.Name = soilName(layer.Type);
            const QString gamma = QStringLiteral("γ = %1 %2").arg(range(p, 0), d.UnitWeightUnit);
            const QString strength = english ? "psi" : "kPa";
            switch (layer.Type) {
                case 1:
                case 2:
                case 3:
                    layer.Parameters = QStringLiteral("c = %1 %2, ε50 = %3, %4")
                                           .arg(range(p, 1), d.PressureUnit, range(p, 2), gamma);
                    break;
                case 4:
                    layer.Parameters = QStringLiteral("φ = %1°, %2").arg(range(p, 1), gamma);
                    break;
                case 5:
                    layer.Parameters = QStringLiteral("φ = %1°, c = %2 %3, %4")
                                           .arg(range(p, 1), range(p, 2), d.PressureUnit, gamma);
                    break;
                default:
                    layer.Parameters =
                        QStringLiteral("qu = %1 %2, %3").arg(range(p, 1), si ? strength : "lb/in²", gamma);
                    break;
            }
            d.Layers.push_back(layer);
        }
    }

    for (const TCaseInputs& in : inputs) {
        TSectionDrawing::TStage s;
        const double tip = in.IncrementCount * static_cast<double>(in.IncrementLength) / scale;
        s.Excavation = static_cast<double>(in.FreeHeight) / scale;
        if (in.PressureOption >= 2 || in.GeneratedCurves) {
            const double back = static_cast<double>(in.WaterDepthBackfill) / scale;
            const double front = static_cast<double>(in.WaterDepthExcavation) / scale;
            if (back <= tip) s.WaterBack = back;
            if (front <= tip) s.WaterFront = std::max(front, s.Excavation);
        }
        for (const TTiebackInput& tb : in.Tiebacks)
            s.Tiebacks.push_back({static_cast<double>(tb.Depth), static_cast<double>(tb.Angle),
                                  static_cast<double>(tb.Unbonded), static_cast<double>(tb.Spacing)});
        d.Stages.push_back(s);
    }
    if (d.Stages.empty()) d.Stages.push_back({static_cast<double>(m.FreeHeight) / scale, -1, -1, {}});

    if (m.ApplySurcharge) {
        // Magnitudes as entered (lb, lb/in, lb/in²; kN, kN/m, kPa), distances in inches or millimetres.
        const TGridTable& loads = t.SurchargeTable;
        const double distance = english ? 12.0 : si ? 1000.0 : 1.0;
        for (int r = 0; r < loads.RowCount(); ++r) {
            TSectionDrawing::TLoad load;
            load.Kind = loads.Cell(0, r).AsInt();
            const double magnitude = cellValue(loads, 1, r);
            load.Magnitude = !english         ? magnitude
                             : load.Kind == 2 ? magnitude * 12
                             : load.Kind == 3 ? magnitude * 144
                                              : magnitude;
            load.Distance = cellValue(loads, 2, r) / distance;
            load.Width = cellValue(loads, 3, r) / distance;
            if (load.Magnitude != 0) d.Loads.push_back(load);
        }
    }
    const double h = static_cast<double>(m.IncrementLength) / scale;
    auto depthOf = [&](int node) { return std::clamp(node, 0, m.IncrementCount) * h; };
    if (m.ApplyConcentratedLoads)
        for (int r = 0; r < t.BoundCond.RowCount(); ++r) {
            const double lateral = cellValue(t.BoundCond, 3, r), moment = cellValue(t.BoundCond, 4, r);
            if (lateral == 0 && moment == 0) continue;
            d.WallLoads.push_back({depthOf(t.BoundCond.Cell(1, r).AsInt()),
                                   depthOf(t.BoundCond.Cell(2, r).AsInt()), lateral, moment});
        }
    if (!inputs.empty()) {
        const TCaseInputs& in = inputs.front();
        const QString stiffness = english ? "lb/in" : si ? "kN/m" : "F/L";
        for (const app::model::TSpringInput& s : in.Springs)
            d.Supports.push_back(
                {depthOf(s.From), depthOf(std::max(s.From, s.To)), true,
                 QStringLiteral("k = %1 %2").arg(num(static_cast<double>(s.Lateral)), stiffness)});
        for (const int n : in.RestrainedNodes)
            d.Supports.push_back({depthOf(n), depthOf(n), false, QStringLiteral("deflection given")});
        for (const int n : in.SlopeNodes) {
            // A node with both given is one mark.
            auto both = std::find_if(
                d.Supports.begin(), d.Supports.end(),
                [&](const TSectionDrawing::TSupport& s) { return !s.Spring && s.Depth == depthOf(n); });
            if (both != d.Supports.end())
                both->Text = QStringLiteral("deflection and slope given");
            else
                d.Supports.push_back({depthOf(n), depthOf(n), false, QStringLiteral("slope given")});
        }
    }
    return d;
}

namespace {

// World (x across, 0 at the wall, retained side negative; z depth down) to the page.
struct TMap {
    double x0 = 0, z0 = 0, k = 1;
    [[nodiscard]] QPointF at(double x, double z) const { return {x0 + k * x, z0 + k * z}; }
    [[nodiscard]] double X(double x) const { return x0 + k * x; }
    [[nodiscard]] double Z(double z) const { return z0 + k * z; }
};

void arrow(QPainter& p, QPointF from, QPointF to, double head) {
    p.drawLine(from, to);
    const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
    QPainterPath path;
    path.moveTo(to);
    path.lineTo(to.x() - head * std::cos(a - 0.4), to.y() - head * std::sin(a - 0.4));
    path.lineTo(to.x() - head * std::cos(a + 0.4), to.y() - head * std::sin(a + 0.4));
    path.closeSubpath();
    p.fillPath(path, p.pen().color());
}

// The water-table symbol: a filled triangle on the level, three shortening lines beneath.
void waterSymbol(QPainter& p, QPointF at, double size) {
    QPainterPath tri;
    tri.moveTo(at);
    tri.lineTo(at.x() - size * 0.6, at.y() - size);
    tri.lineTo(at.x() + size * 0.6, at.y() - size);
    tri.closeSubpath();
    p.fillPath(tri, QColor(30, 90, 200));
    for (int i = 1; i <= 3; ++i) {
        const double half = size * (1.0 - 0.25 * i);
        p.drawLine(QPointF(at.x() - half, at.y() + i * size * 0.3),
                   QPointF(at.x() + half, at.y() + i * size * 0.3));
    }
}

}  // namespace

void PaintSectionDrawing(QPainter& painter, const QRectF& area, const TSectionDrawing& d, int dpi) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(area, Qt::white);
    const double pt = dpi / 72.0;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(7.5 * pt))));
    painter.setFont(font);
    const QFontMetricsF fm(font, painter.device());
    const double line = fm.height();
    const double L = d.WallLength > 0 ? d.WallLength : 1.0;
    const QString u = d.LengthUnit;

    // Extent: the retained side reaches past the tiebacks and the loads, the excavation side shows the
    // passive wedge; above the top, room for the surcharge arrows.
    double back = 0.8 * L, front = 0.45 * L;
    double deepest = L;
    for (const auto& s : d.Stages)
        for (const auto& tb : s.Tiebacks) {
            const double a = tb.Angle * std::numbers::pi / 180;
            back = std::max(back, tb.Unbonded * std::cos(a) * 1.25 + 0.1 * L);
            deepest = std::max(deepest, tb.Depth + tb.Unbonded * std::sin(a) * 1.2);
        }
    for (const auto& load : d.Loads)
        back = std::max(back, load.Distance + load.Width / 2 + 0.1 * L);
    const double bottom = std::max(deepest, L) + 0.08 * L;
    const double above = 0.16 * L;

    const QRectF inner = area.adjusted(line * 0.8, line * 1.2, -line * 7.5, -line * 3.6);
    TMap map;
    map.k = std::min(inner.width() / (back + front), inner.height() / (bottom + above));
    map.x0 = inner.left() + map.k * back + (inner.width() - map.k * (back + front)) / 2;
    map.z0 = inner.top() + map.k * above;
    const double xl = map.X(-back), xr = map.X(front);
    const double excavation =
        std::max_element(d.Stages.begin(), d.Stages.end(), [](const auto& a, const auto& b) {
            return a.Excavation < b.Excavation;
        })->Excavation;
    const double wallHalf = std::max(1.2 * pt, 0.006 * L * map.k);

    // Soil: bands of the layers on the retained side from the surface, on the excavation side from the
    // deepest excavation down; without layers a plain ground tone.
    auto band = [&](double x1, double x2, double z1, double z2, QColor c) {
        if (z2 <= z1) return;
        painter.fillRect(QRectF(QPointF(x1, map.Z(z1)), QPointF(x2, map.Z(z2))), c);
    };
    if (d.Layers.empty() && d.Soil) {
        band(xl, map.X(0) + 1, 0, bottom, QColor(232, 226, 210));
        band(map.X(0), xr, excavation, bottom, QColor(232, 226, 210));
    }
    for (std::size_t i = 0; i < d.Layers.size(); ++i) {
        const auto& layer = d.Layers[i];
        const double z2 = i + 1 == d.Layers.size() ? std::max(layer.Bottom, bottom) : layer.Bottom;
        band(xl, map.X(0) + 1, layer.Top, std::min(z2, bottom), soilColour(layer.Type));
        band(map.X(0), xr, std::max(layer.Top, excavation), std::min(z2, bottom), soilColour(layer.Type));
    }
    // Layer boundaries and names with their main parameters.
    painter.setPen(QPen(QColor(90, 80, 60), 0.5 * pt));
    for (std::size_t i = 0; i < d.Layers.size(); ++i) {
        const auto& layer = d.Layers[i];
        if (layer.Top > 0 && layer.Top < bottom) {
            painter.drawLine(QPointF(xl, map.Z(layer.Top)), QPointF(map.X(0), map.Z(layer.Top)));
            if (layer.Top > excavation)
                painter.drawLine(QPointF(map.X(0), map.Z(layer.Top)), QPointF(xr, map.Z(layer.Top)));
        }
        const double z2 = std::min(layer.Bottom, bottom);
        if (map.k * (z2 - layer.Top) < 3.2 * line) continue;
        const double y = map.Z(layer.Top) + line * (layer.Top > 0 ? 0.3 : 0.9);
        painter.setPen(Qt::black);
        QFont bold = font;
        bold.setBold(true);
        painter.setFont(bold);
        painter.drawText(QRectF(xl + line * 0.3, y, map.X(0) - xl - line, line), Qt::AlignLeft,
                         QStringLiteral("%1  %2").arg(i + 1).arg(layer.Name));
        painter.setFont(font);
        painter.drawText(QRectF(xl + line * 0.3, y + line, map.X(0) - xl - line, line), Qt::AlignLeft,
                         layer.Parameters);
        painter.drawText(QRectF(xl + line * 0.3, y + 2 * line, map.X(0) - xl - line, line), Qt::AlignLeft,
                         QStringLiteral("to %1 %2").arg(num(layer.Bottom), u));
        painter.setPen(QPen(QColor(90, 80, 60), 0.5 * pt));
    }

    // Ground surface (sloping backfill drawn at its angle) and the excavation of each stage.
    painter.setPen(QPen(Qt::black, 1.0 * pt));
    const double slope = std::tan(std::clamp(d.BackfillSlope, -45.0, 45.0) * std::numbers::pi / 180);
    if (d.Soil) {
        painter.drawLine(map.at(0, 0), QPointF(xl, map.Z(-slope * back)));
        for (double x = -back + 0.03 * L; x < -0.02 * L; x += 0.05 * L)
            painter.drawLine(map.at(x, -slope * -x), map.at(x - 0.02 * L, -slope * -x + 0.02 * L));
        painter.drawLine(map.at(0, excavation), QPointF(xr, map.Z(excavation)));
    } else {
        painter.drawText(QRectF(xl, map.Z(0.4 * L), back * map.k - line, 2 * line),
                         Qt::AlignCenter | Qt::TextWordWrap,
                         QStringLiteral("No soil acts on the wall (no layers, p-y curves or pressures)."));
    }
    for (std::size_t s = 0; s < d.Stages.size(); ++s) {
        const double z = d.Stages[s].Excavation;
        const bool last = z == excavation;
        painter.setPen(QPen(Qt::black, 0.6 * pt, last ? Qt::SolidLine : Qt::DashLine));
        if (!last) painter.drawLine(map.at(0, z), QPointF(xr, map.Z(z)));
        QString text = d.Stages.size() > 1
                           ? QStringLiteral("Stage %1: excavation %2 %3").arg(s + 1).arg(num(z), u)
                           : QStringLiteral("Excavation %1 %2").arg(num(z), u);
        // In a narrow excavation the shorter form, so that the depth keeps its unit.
        const double start = map.X(0) + wallHalf + line * 0.3;
        if (fm.horizontalAdvance(text) > xr - start && d.Stages.size() > 1)
            text = QStringLiteral("Stage %1: %2 %3").arg(s + 1).arg(num(z), u);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(start, map.Z(z) - line * 1.05, xr - start, line),
                         Qt::AlignLeft | Qt::TextDontClip, text);
    }
    if (d.BackfillSlope != 0)
        painter.drawText(QRectF(xl + line * 0.3, map.Z(-slope * back) - 1.2 * line, back * map.k, line),
                         Qt::AlignLeft, QStringLiteral("backfill slope %1°").arg(num(d.BackfillSlope)));

    // Water on both sides: the symbol at the level, a thin blue line across.
    const QPen water(QColor(30, 90, 200), 0.7 * pt);
    double labelledBack = -1e300, labelledFront = -1e300;
    for (const auto& s : d.Stages) {
        painter.setPen(water);
        if (s.WaterBack >= 0 && s.WaterBack != labelledBack) {
            labelledBack = s.WaterBack;
            painter.drawLine(QPointF(xl, map.Z(s.WaterBack)), map.at(0, s.WaterBack));
            const QPointF at(map.X(-0.25 * back), map.Z(s.WaterBack));
            waterSymbol(painter, at, line * 0.7);
            const QString text = QStringLiteral("water %1 %2").arg(num(s.WaterBack), u);
            // Left of the symbol where the right would run into the wall.
            const double w = fm.horizontalAdvance(text);
            const double wallFace = map.X(0) - wallHalf - line * 0.3;
            const double x =
                at.x() + line * 0.6 + w > wallFace ? at.x() - line * 0.6 - w : at.x() + line * 0.6;
            painter.drawText(QRectF(x, at.y() - line * 1.1, w + line, line), Qt::AlignLeft, text);
        }
        if (s.WaterFront >= 0 && s.WaterFront != labelledFront) {
            labelledFront = s.WaterFront;
            painter.drawLine(map.at(0, s.WaterFront), QPointF(xr, map.Z(s.WaterFront)));
            const QPointF at(map.X(0.6 * front), map.Z(s.WaterFront));
            waterSymbol(painter, at, line * 0.7);
            const QString text = QStringLiteral("water %1 %2").arg(num(s.WaterFront), u);
            // Left of the symbol where the right would run into the depth dimension.
            const double w = fm.horizontalAdvance(text);
            const double x =
                at.x() + line * 0.6 + w > xr - line * 0.3 ? at.x() - line * 0.6 - w : at.x() + line * 0.6;
            painter.drawText(QRectF(x, at.y() - line * 1.1, w + line, line), Qt::AlignLeft, text);
        }
    }

    // The wall.
    painter.fillRect(QRectF(QPointF(map.X(0) - wallHalf, map.Z(0)), QPointF(map.X(0) + wallHalf, map.Z(L))),
                     QColor(40, 40, 40));

    // Tiebacks of every stage, each once, from the wall into the retained soil at their angle: the
    // unbonded length to scale, the bond zone beyond it marked (its length is not an input).
    std::vector<std::pair<double, double>> drawn;
    int number = 0;
    for (std::size_t s = 0; s < d.Stages.size(); ++s)
        for (const auto& tb : d.Stages[s].Tiebacks) {
            if (std::any_of(drawn.begin(), drawn.end(),
                            [&](const auto& p) { return p.first == tb.Depth && p.second == tb.Angle; }))
                continue;
            drawn.emplace_back(tb.Depth, tb.Angle);
            ++number;
            const double a = tb.Angle * std::numbers::pi / 180;
            const QPointF head = map.at(0, tb.Depth);
            const QPointF end = map.at(-tb.Unbonded * std::cos(a), tb.Depth + tb.Unbonded * std::sin(a));
            const double bond = 0.12 * L;
            const QPointF bondEnd =
                map.at(-(tb.Unbonded + bond) * std::cos(a), tb.Depth + (tb.Unbonded + bond) * std::sin(a));
            painter.setPen(QPen(QColor(150, 20, 20), 1.0 * pt));
            painter.drawLine(head, end);
            painter.setPen(QPen(QColor(150, 20, 20), 3.2 * pt, Qt::DotLine, Qt::FlatCap));
            painter.drawLine(end, bondEnd);
            painter.fillRect(QRectF(head.x() - 1.5 * pt, head.y() - 3 * pt, 3 * pt, 6 * pt),
                             QColor(150, 20, 20));
            painter.setPen(Qt::black);
            QString text = QStringLiteral("T%1 at %2 %3, %4°, unbonded %5 %3")
                               .arg(number)
                               .arg(num(tb.Depth), u, num(tb.Angle), num(tb.Unbonded));
            if (tb.Spacing > 0) text += QStringLiteral(", spacing %1 %2").arg(num(tb.Spacing), u);
            if (d.Stages.size() > 1) text += QStringLiteral(" (from stage %1)").arg(s + 1);
            const double w = fm.horizontalAdvance(text) + line;
            // Below the line, ending just short of the wall: above it the label would run into the
            // first layer's name near the top, or across the wall. The line falls away from the wall,
            // so the text clears it where it is lowest, at the text's far end.
            // Where the soil left of the wall is narrower than the text, the text wraps there.
            const double right = head.x() - 0.5 * line;
            const double left = std::max(xl, right - w);
            // Too wide for one line: break after the angle, so that no word is left alone below.
            if (right - left < w) text.replace(QStringLiteral("°, unbonded"), QStringLiteral("°,\nunbonded"));
            const double below = head.y() + (head.x() - left) * std::tan(a);
            const QRectF room(left, below + 0.3 * line, right - left, 4 * line);
            painter.drawText(room, Qt::AlignRight | Qt::AlignTop | Qt::TextWordWrap, text);
        }

    // Surcharges on the retained surface: the uniform load as a row of arrows, point and line loads as
    // one arrow at their distance, strip loads as arrows over their width.
    painter.setPen(QPen(QColor(20, 20, 120), 0.8 * pt));
    const double arrowLength = 0.07 * L * map.k;
    auto down = [&](double x) {
        const QPointF foot(map.X(x), map.Z(-slope * -x) - 1.5 * pt);
        arrow(painter, QPointF(foot.x(), foot.y() - arrowLength), foot, 3.5 * pt);
        return foot;
    };
    if (d.Surcharge != 0) {
        for (double x = -0.03 * L; x > -back; x -= 0.07 * L)
            down(x);
        painter.drawText(QRectF(xl + line * 0.3, map.Z(0) - arrowLength - line * 1.2, back * map.k, line),
                         Qt::AlignLeft, QStringLiteral("q = %1 %2").arg(num(d.Surcharge), d.PressureUnit));
    }
    for (const auto& load : d.Loads) {
        QString text;
        double x = -load.Distance;
        if (load.Kind == 3) {
            for (double s = -load.Width / 2; s <= load.Width / 2 + 1e-9; s += std::max(load.Width / 4, 1e-6))
                down(x + s);
            text = QStringLiteral("strip %1 %2, width %3 %4")
                       .arg(num(load.Magnitude), d.PressureUnit, num(load.Width), u);
        } else {
            painter.setPen(QPen(QColor(20, 20, 120), 1.6 * pt));
            down(x);
            painter.setPen(QPen(QColor(20, 20, 120), 0.8 * pt));
            text = load.Kind == 1 ? QStringLiteral("P = %1 %2").arg(num(load.Magnitude), d.ForceUnit)
                                  : QStringLiteral("line %1 %2/%3").arg(num(load.Magnitude), d.ForceUnit, u);
        }
        text += QStringLiteral(" at %1 %2").arg(num(load.Distance), u);
        const double w = fm.horizontalAdvance(text) + line;
        painter.drawText(QRectF(std::max(xl, map.X(x) - w / 2), map.Z(0) - arrowLength - line * 2.3, w, line),
                         Qt::AlignLeft, text);
    }

    // Loads on the wall (positive toward the excavation) and supports.
    painter.setPen(QPen(QColor(150, 60, 0), 1.0 * pt));
    for (const auto& w : d.WallLoads) {
        const double z = w.Depth;
        QString text;
        if (w.Lateral != 0) {
            const double dir = w.Lateral > 0 ? 1 : -1;
            arrow(painter, map.at(-dir * 0.1 * L, z), QPointF(map.X(0) - dir * wallHalf, map.Z(z)), 4 * pt);
            text = QStringLiteral("H = %1 %2").arg(num(w.Lateral), d.ForceUnit);
        }
        if (w.Moment != 0)
            text += (text.isEmpty() ? "" : ", ") +
                    QStringLiteral("M = %1 %2-%3").arg(num(w.Moment), d.ForceUnit, u == "ft" ? "in" : u);
        if (w.LastDepth > w.Depth) text += QStringLiteral(" (to %1 %2)").arg(num(w.LastDepth), u);
        painter.drawText(QRectF(map.X(-0.1 * L) - 12 * line, map.Z(z) - line * 1.2, 12 * line, line),
                         Qt::AlignRight, text);
    }
    for (const auto& s : d.Supports) {
        painter.setPen(QPen(QColor(0, 110, 60), 0.9 * pt));
        const double x1 = map.X(0) + wallHalf, x2 = x1 + 0.08 * L * map.k;
        for (const double z : {s.Depth, s.LastDepth}) {
            const double y = map.Z(z);
            if (s.Spring) {
                QPainterPath zig;
                zig.moveTo(x1, y);
                for (int i = 1; i < 8; ++i)
                    zig.lineTo(x1 + (x2 - x1) * i / 8, y + ((i % 2) ? -2.5 : 2.5) * pt);
                zig.lineTo(x2, y);
                painter.drawPath(zig);
            } else {
                painter.drawLine(QPointF(x1, y), QPointF(x2, y));
            }
            painter.drawLine(QPointF(x2, y - 4 * pt), QPointF(x2, y + 4 * pt));
            if (s.LastDepth == s.Depth) break;
        }
        painter.setPen(Qt::black);
        // Above its mark, clear of the dimension line at the right.
        painter.drawText(QRectF(x1 + 2 * pt, map.Z(s.Depth) - line * 1.15, xr - x1, line), Qt::AlignLeft,
                         s.Text);
    }

    // Dimensions at the right: the top, each excavation, the tip, and the embedment below the deepest
    // excavation.
    painter.setPen(QPen(Qt::black, 0.5 * pt));
    const double xd = xr + line * 1.2;
    std::vector<double> marks{0.0, L};
    for (const auto& s : d.Stages)
        marks.push_back(s.Excavation);
    std::sort(marks.begin(), marks.end());
    marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
    painter.drawLine(QPointF(xd, map.Z(0)), QPointF(xd, map.Z(L)));
    for (const double z : marks) {
        painter.drawLine(QPointF(xd - 3 * pt, map.Z(z) + 3 * pt), QPointF(xd + 3 * pt, map.Z(z) - 3 * pt));
        painter.drawLine(QPointF(map.X(0) + wallHalf, map.Z(z)), QPointF(xd + 3 * pt, map.Z(z)));
        painter.drawText(QRectF(xd + 4 * pt, map.Z(z) - line / 2, 7 * line, line),
                         Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("%1 %2").arg(num(z), u));
    }
    painter.save();
    painter.translate(xd - 2 * pt, (map.Z(excavation) + map.Z(L)) / 2);
    painter.rotate(-90);
    if (d.Soil)
        painter.drawText(QRectF(-10 * line, -line, 20 * line, line), Qt::AlignCenter,
                         QStringLiteral("embedment %1 %2").arg(num(L - excavation), u));
    painter.restore();
    painter.drawText(QRectF(map.X(0) - 10 * line, map.Z(L) + 2 * pt, 20 * line, line),
                     Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("wall %1 %2").arg(num(L), u));

    // Scale bar and units under the drawing.
    const double bar = ScaleBarLength(back + front);
    const double yb = area.bottom() - line * 2.2;
    const double xb = area.left() + line;
    painter.setPen(QPen(Qt::black, 0.8 * pt));
    for (int i = 0; i < 2; ++i)
        painter.fillRect(QRectF(xb + i * bar * map.k / 2, yb, bar * map.k / 2, 3 * pt),
                         i == 0 ? QColor(Qt::black) : QColor(Qt::white));
    painter.drawRect(QRectF(xb, yb, bar * map.k, 3 * pt));
    painter.drawText(QRectF(xb - line, yb + 3.5 * pt, 2 * line, line), Qt::AlignHCenter, QStringLiteral("0"));
    painter.drawText(QRectF(xb + bar * map.k - 3 * line, yb + 3.5 * pt, 6 * line, line), Qt::AlignHCenter,
                     QStringLiteral("%1 %2").arg(num(bar), u));
    QString note =
        QStringLiteral(
            "Retained side left, excavation right, drawn to one scale. Lengths in %1, forces in %2.")
            .arg(u, d.ForceUnit);
    if (number > 0)
        note += QStringLiteral(" Tiebacks: unbonded length to scale, bond zone dotted (not to scale).");
    const QRectF noteRoom(xb + bar * map.k + 3.5 * line, yb - 0.3 * line,
                          area.right() - xb - bar * map.k - 4 * line, 2 * line);
    // Two lines are all the room there is: a note that needs more is set smaller rather than cut.
    QFont noteFont = painter.font();
    for (int step = 0; step < 3; ++step) {
        const QFontMetricsF nm(noteFont, painter.device());
        if (nm.boundingRect(QRectF(0, 0, noteRoom.width(), 100 * line), Qt::TextWordWrap, note).height() <=
            noteRoom.height())
            break;
        if (noteFont.pointSizeF() > 0)
            noteFont.setPointSizeF(noteFont.pointSizeF() * 0.88);
        else
            noteFont.setPixelSize(std::max(1, static_cast<int>(noteFont.pixelSize() * 0.88)));
    }
    painter.setFont(noteFont);
    painter.drawText(noteRoom, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, note);
    painter.restore();
}

}  // namespace app::results
