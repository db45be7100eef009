#include "app/ui/dialogs/sketches.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <utility>

#include "app/model/problem_tables.h"

namespace app::ui {

namespace {

const QColor kSoil(222, 196, 150);
const QColor kSoilLine(150, 115, 70);
const QColor kWall(90, 90, 100);
const QColor kWater(60, 120, 210);
const QColor kLoad(200, 40, 40);
const QColor kNote(30, 30, 30);

// A sketch is drawn in a 200 × 160 design space and scaled into the widget, keeping its proportions.
void fit(QPainter& painter, const QRectF& area, qreal width = 200, qreal height = 160) {
    const qreal scale = std::min(area.width() / width, area.height() / height);
    painter.translate(area.center().x() - width * scale / 2, area.center().y() - height * scale / 2);
    painter.scale(scale, scale);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(9);
    painter.setFont(font);
}

void arrow(QPainter& painter, QPointF from, QPointF to, const QColor& colour) {
    painter.setPen(QPen(colour, 1.6));
    painter.drawLine(from, to);
    const QPointF d = to - from;
    const qreal length = std::hypot(d.x(), d.y());
    if (length <= 0) return;
    const QPointF u = d / length;
    const QPointF n(-u.y(), u.x());
    QPolygonF head;
    head << to << to - u * 6 + n * 3 << to - u * 6 - n * 3;
    painter.setBrush(colour);
    painter.drawPolygon(head);
    painter.setBrush(Qt::NoBrush);
}

// Retained soil to the left of the wall, excavation to the right; the wall from top to tip.
struct Scene {
    qreal wallX = 100, top = 30, excavation = 85, tip = 145;
};

void soilAndWall(QPainter& painter, const Scene& s) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSoil);
    painter.drawRect(QRectF(10, s.top, s.wallX - 10, 150 - s.top));
    painter.drawRect(QRectF(s.wallX, s.excavation, 190 - s.wallX, 150 - s.excavation));
    painter.setPen(QPen(kSoilLine, 0.8));
    painter.drawLine(QPointF(10, s.top), QPointF(s.wallX, s.top));
    painter.drawLine(QPointF(s.wallX, s.excavation), QPointF(190, s.excavation));
    for (qreal x = 14; x < s.wallX; x += 10)
        painter.drawLine(QPointF(x, s.top), QPointF(x - 4, s.top + 4));
    for (qreal x = s.wallX + 4; x < 190; x += 10)
        painter.drawLine(QPointF(x, s.excavation), QPointF(x - 4, s.excavation + 4));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kWall);
    painter.drawRect(QRectF(s.wallX - 2.5, s.top - 5, 5, s.tip - s.top + 5));
    painter.setBrush(Qt::NoBrush);
}

void dimension(QPainter& painter, qreal x, qreal y1, qreal y2, const QString& label) {
    painter.setPen(QPen(kNote, 0.7));
    painter.drawLine(QPointF(x, y1), QPointF(x, y2));
    painter.drawLine(QPointF(x - 3, y1), QPointF(x + 3, y1));
    painter.drawLine(QPointF(x - 3, y2), QPointF(x + 3, y2));
    painter.drawText(QRectF(x + 3, (y1 + y2) / 2 - 6, 40, 12), Qt::AlignLeft | Qt::AlignVCenter, label);
}

void water(QPainter& painter, qreal x1, qreal x2, qreal y) {
    painter.setPen(QPen(kWater, 1.0, Qt::DashLine));
    painter.drawLine(QPointF(x1, y), QPointF(x2, y));
    QPolygonF mark;
    const qreal mx = (x1 + x2) / 2;
    mark << QPointF(mx - 4, y - 6) << QPointF(mx + 4, y - 6) << QPointF(mx, y);
    painter.setPen(QPen(kWater, 0.8));
    painter.drawPolygon(mark);
}

}  // namespace

void DrawWallConfiguration(QPainter& painter, const QRectF& area) {
    painter.save();
    fit(painter, area);
    Scene s;
    soilAndWall(painter, s);
    // Backfill slope and the uniform load on it.
    painter.setPen(QPen(kNote, 0.7));
    painter.drawText(QRectF(12, 2, 90, 12), Qt::AlignLeft, QStringLiteral("q (uniform load)"));
    for (qreal x = 18; x < s.wallX - 4; x += 12)
        arrow(painter, QPointF(x, 14), QPointF(x, s.top - 1), kLoad);
    dimension(painter, 172, s.top, s.excavation, QStringLiteral("H"));
    painter.setPen(QPen(kNote, 0.5, Qt::DotLine));
    painter.drawLine(QPointF(s.wallX, s.top), QPointF(175, s.top));
    water(painter, 20, 90, 60);
    painter.setPen(kNote);
    painter.drawText(QRectF(20, 62, 60, 12), Qt::AlignLeft, QStringLiteral("DWb"));
    water(painter, 115, 185, 110);
    painter.setPen(kNote);
    painter.drawText(QRectF(150, 112, 40, 12), Qt::AlignLeft, QStringLiteral("DWe"));
    painter.drawText(QRectF(20, 132, 70, 12), Qt::AlignLeft, QStringLiteral("backfill side"));
    painter.drawText(QRectF(110, 132, 80, 12), Qt::AlignLeft, QStringLiteral("excavation side"));
    painter.restore();
}

void DrawSurcharge(QPainter& painter, const QRectF& area) {
    painter.save();
    fit(painter, area);
    Scene s;
    soilAndWall(painter, s);
    arrow(painter, QPointF(70, 5), QPointF(70, s.top - 1), kLoad);
    painter.setPen(kNote);
    painter.drawText(QRectF(56, -6, 40, 11), Qt::AlignLeft, QStringLiteral("point"));
    for (qreal x = 18; x <= 44; x += 6)
        arrow(painter, QPointF(x, 14), QPointF(x, s.top - 1), kLoad);
    painter.setPen(kNote);
    painter.drawText(QRectF(14, 3, 40, 11), Qt::AlignLeft, QStringLiteral("strip, W"));
    // Distance X from the wall to the load.
    painter.setPen(QPen(kNote, 0.7));
    painter.drawLine(QPointF(70, s.top + 8), QPointF(s.wallX - 3, s.top + 8));
    painter.drawText(QRectF(76, s.top + 9, 20, 11), Qt::AlignLeft, QStringLiteral("X"));
    painter.restore();
}

void DrawConcentratedLoads(QPainter& painter, const QRectF& area) {
    painter.save();
    fit(painter, area);
    Scene s;
    soilAndWall(painter, s);
    arrow(painter, QPointF(150, 40), QPointF(s.wallX + 4, 40), kLoad);
    painter.setPen(kNote);
    painter.drawText(QRectF(140, 28, 60, 11), Qt::AlignLeft, QStringLiteral("lateral load"));
    arrow(painter, QPointF(s.wallX, 2), QPointF(s.wallX, s.top - 6), kLoad);
    painter.setPen(kNote);
    painter.drawText(QRectF(s.wallX + 5, 0, 60, 11), Qt::AlignLeft, QStringLiteral("axial load"));
    painter.setPen(QPen(kLoad, 1.4));
    painter.drawArc(QRectF(s.wallX - 14, 50, 28, 28), 30 * 16, 240 * 16);
    arrow(painter, QPointF(s.wallX - 12, 72), QPointF(s.wallX - 7, 77), kLoad);
    painter.setPen(kNote);
    painter.drawText(QRectF(s.wallX + 16, 58, 50, 11), Qt::AlignLeft, QStringLiteral("moment"));
    painter.restore();
}

void DrawSprings(QPainter& painter, const QRectF& area) {
    painter.save();
    fit(painter, area);
    Scene s;
    soilAndWall(painter, s);
    // A lateral spring to a fixed support, and a rotational spring at the top.
    QPainterPath coil;
    coil.moveTo(s.wallX + 3, 45);
    for (int k = 0; k < 6; ++k)
        coil.lineTo(s.wallX + 10 + k * 8, k % 2 ? 39 : 51);
    coil.lineTo(s.wallX + 60, 45);
    painter.setPen(QPen(kLoad, 1.2));
    painter.drawPath(coil);
    painter.setPen(QPen(kNote, 1.5));
    painter.drawLine(QPointF(s.wallX + 60, 35), QPointF(s.wallX + 60, 55));
    for (qreal y = 36; y <= 54; y += 4)
        painter.drawLine(QPointF(s.wallX + 60, y), QPointF(s.wallX + 64, y - 3));
    painter.setPen(kNote);
    painter.drawText(QRectF(s.wallX + 12, 54, 70, 11), Qt::AlignLeft, QStringLiteral("lateral spring"));
    QPainterPath spiral;
    for (int k = 0; k <= 40; ++k) {
        const qreal t = k / 40.0 * 4 * M_PI;
        const QPointF p(s.wallX + std::cos(t) * (2 + t * 1.2), s.top - 8 + std::sin(t) * (2 + t * 1.2));
        k == 0 ? spiral.moveTo(p) : spiral.lineTo(p);
    }
    painter.setPen(QPen(kLoad, 1.0));
    painter.drawPath(spiral);
    painter.setPen(kNote);
    painter.drawText(QRectF(s.wallX + 22, s.top - 26, 80, 11), Qt::AlignLeft,
                     QStringLiteral("rotational spring"));
    painter.restore();
}

void DrawTieback(QPainter& painter, const QRectF& area) {
    painter.save();
    fit(painter, area);
    Scene s;
    soilAndWall(painter, s);
    // Anchor rod down into the backfill at an angle, its bonded length thicker.
    const QPointF head(s.wallX - 3, 50);
    const QPointF bondStart(50, 72);
    const QPointF end(18, 86);
    painter.setPen(QPen(kWall, 1.2));
    painter.drawLine(head, bondStart);
    painter.setPen(QPen(kLoad, 5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(bondStart, end);
    painter.setPen(kNote);
    painter.drawText(QRectF(62, 64, 90, 11), Qt::AlignLeft, QStringLiteral("unbonded length"));
    painter.drawText(QRectF(10, 92, 60, 11), Qt::AlignLeft, QStringLiteral("grouted anchor"));
    painter.setPen(QPen(kNote, 0.5, Qt::DotLine));
    painter.drawLine(head, QPointF(60, 50));
    painter.setPen(kNote);
    painter.drawText(QRectF(66, 36, 40, 11), Qt::AlignLeft, QStringLiteral("angle"));
    dimension(painter, s.wallX + 10, s.top, 50, QStringLiteral("depth"));
    painter.restore();
}

QPixmap HelpPicture(const std::string& name, const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(QPointF(0, 0), QSizeF(size));
    if (name == app::model::kSpringArrangementPicture) {
        DrawSprings(painter, area);
    } else if (name == app::model::kPressureDistributionPicture) {
        // A distributed pressure given by depth and load pairs, linear between the points.
        fit(painter, area);
        Scene s;
        soilAndWall(painter, s);
        const QPointF points[] = {
            {s.wallX, s.top}, {s.wallX - 30, 70}, {s.wallX - 55, 120}, {s.wallX - 55, 145}};
        QPolygonF outline;
        for (const QPointF& p : points)
            outline << p;
        outline << QPointF(s.wallX, 145);
        painter.setPen(QPen(kLoad, 1.0));
        painter.setBrush(QColor(240, 150, 150, 120));
        painter.drawPolygon(outline);
        for (qreal y = 50; y < 145; y += 16) {
            const qreal t = (y - s.top) / (145 - s.top);
            arrow(painter, QPointF(s.wallX - 50 * std::min(1.0, t * 1.4), y), QPointF(s.wallX - 3, y), kLoad);
        }
        painter.setPen(kNote);
        painter.drawText(QRectF(12, 2, 180, 12), Qt::AlignLeft,
                         QStringLiteral("load per unit length at each depth"));
    } else {
        return QPixmap();
    }
    return pixmap;
}

TSketch::TSketch(std::function<void(QPainter&, const QRectF&)> draw, QWidget* parent)
    : QWidget(parent), m_draw(std::move(draw)) {
    setMinimumSize(220, 170);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TSketch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QColor(180, 180, 180));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    m_draw(painter, QRectF(rect()).adjusted(6, 6, -6, -6));
}

}  // namespace app::ui
