// Two drawings of the technical manual that no window of the program shows: the stations of the
// difference equations with the sign convention, and the geometry of the surcharge loads.
// Usage: theory_shots OUTPUT_FOLDER (no display needed).

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

constexpr int kWidth = 1000, kHeight = 800;

void arrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
    QPainterPath head;
    head.moveTo(to);
    head.lineTo(to.x() - 12 * std::cos(a - 0.4), to.y() - 12 * std::sin(a - 0.4));
    head.lineTo(to.x() - 12 * std::cos(a + 0.4), to.y() - 12 * std::sin(a + 0.4));
    head.closeSubpath();
    p.fillPath(head, p.pen().color());
}

QImage canvas(QPainter& p, QImage& image) {
    image = QImage(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(19);
    p.setFont(f);
    return image;
}

// The wall's stations 0 … N_I with the fictitious ones beyond each end, the increment h, the depth z
// and x, and the positive senses of deflection, load, moment and shear.
QImage stations() {
    QImage image;
    QPainter p;
    canvas(p, image);
    const double x0 = 430, top = 160, h = 44;
    auto y = [&](int k) { return top + k * h; };
    // Ground: retained side left from the top, excavation side right from the excavation at station 5.
    p.fillRect(QRectF(QPointF(120, y(0)), QPointF(x0, y(12))), QColor(240, 228, 180));
    p.fillRect(QRectF(QPointF(x0, y(5)), QPointF(760, y(12))), QColor(240, 228, 180));
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(QPointF(120, y(0)), QPointF(x0, y(0)));
    p.drawLine(QPointF(x0, y(5)), QPointF(760, y(5)));
    p.drawText(QPointF(140, y(0) - 10), QStringLiteral("retained side"));
    p.drawText(QPointF(560, y(5) - 10), QStringLiteral("excavation side"));
    // The wall and its stations.
    p.setPen(QPen(QColor(40, 40, 40), 6));
    p.drawLine(QPointF(x0, y(0)), QPointF(x0, y(9)));
    // Stations 0 … N_I on the wall (drawn 0 … 9), the three beyond each end dashed.
    auto station = [&](double yy, bool fictitious) {
        p.setPen(QPen(Qt::black, 1.5, fictitious ? Qt::DashLine : Qt::SolidLine));
        p.setBrush(fictitious ? Qt::white : Qt::black);
        p.drawEllipse(QPointF(x0, yy), 5, 5);
    };
    for (int k = 1; k <= 3; ++k) {
        station(top - k * h * 0.8, true);
        station(y(9) + k * h * 0.8, true);
    }
    for (int k = 0; k <= 9; ++k)
        station(y(k), false);
    p.setBrush(Qt::NoBrush);
    p.setPen(Qt::black);
    struct TMark {
        double y;
        QString text;
    };
    const TMark marks[] = {{top - 3 * h * 0.8, QStringLiteral("−3")},
                           {top - 2 * h * 0.8, QStringLiteral("−2")},
                           {top - h * 0.8, QStringLiteral("−1  (no stiffness)")},
                           {y(0) - 14, QStringLiteral("0, top")},
                           {y(1), QStringLiteral("1")},
                           {y(4), QStringLiteral("i − 1")},
                           {y(5), QStringLiteral("i")},
                           {y(6), QStringLiteral("i + 1")},
                           {y(9), QStringLiteral("NI, tip")},
                           {y(9) + h * 0.8, QStringLiteral("NI + 1")},
                           {y(9) + 2 * h * 0.8, QStringLiteral("NI + 2")},
                           {y(9) + 3 * h * 0.8, QStringLiteral("NI + 3  (no stiffness)")}};
    for (const TMark& m : marks)
        p.drawText(QPointF(x0 - 20 - p.fontMetrics().horizontalAdvance(m.text), m.y + 6), m.text);
    // The increment between two stations, and the depths.
    p.drawLine(QPointF(x0 + 30, y(5)), QPointF(x0 + 50, y(5)));
    p.drawLine(QPointF(x0 + 30, y(6)), QPointF(x0 + 50, y(6)));
    p.drawLine(QPointF(x0 + 40, y(5)), QPointF(x0 + 40, y(6)));
    p.drawText(QPointF(x0 + 50, (y(5) + y(6)) / 2 + 6), QStringLiteral(" h"));
    arrow(p, QPointF(930, y(0)), QPointF(930, y(4)));
    p.drawText(QPointF(830, y(2) + 40), QStringLiteral("z (depth)"));
    p.drawLine(QPointF(900, y(0)), QPointF(960, y(0)));
    arrow(p, QPointF(930, y(5)), QPointF(930, y(8)));
    p.drawText(QPointF(945, y(6) + 20), QStringLiteral("x"));
    p.drawText(QPointF(780, y(5) + 6), QStringLiteral("H"));
    // Positive senses.
    p.setPen(QPen(QColor(20, 60, 160), 3));
    arrow(p, QPointF(x0 + 20, y(2)), QPointF(x0 + 130, y(2)));
    p.drawText(QPointF(x0 + 140, y(2) + 6), QStringLiteral("+w, +Q, +p"));
    p.drawText(QPointF(x0 + 140, y(2) + 30), QStringLiteral("toward the excavation"));
    p.setPen(Qt::black);
    p.drawText(QPointF(60, kHeight - 60),
               QStringLiteral("M = EI d²w/dz²: a load toward the excavation at the top of a cantilever "));
    p.drawText(QPointF(60, kHeight - 34),
               QStringLiteral("fixed below gives positive moment;  V = dM/dz;  slope = dw/dz."));
    p.end();
    return image;
}

// A point or line load Q at X from the wall and a strip q of width W centred at X, with the ratios m
// and n of the formulas and the angles of the strip seen from the wall at depth z.
QImage surcharges() {
    QImage image;
    QPainter p;
    canvas(p, image);
    const double wall = 760, top = 180, H = 360, scale = 60;  // pixels per unit of X
    p.fillRect(QRectF(QPointF(60, top), QPointF(wall, top + H + 120)), QColor(240, 228, 180));
    p.fillRect(QRectF(QPointF(wall, top + H), QPointF(960, top + H + 120)), QColor(240, 228, 180));
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(QPointF(60, top), QPointF(wall, top));
    p.drawLine(QPointF(wall, top + H), QPointF(960, top + H));
    p.setPen(QPen(QColor(40, 40, 40), 6));
    p.drawLine(QPointF(wall, top), QPointF(wall, top + H + 120));
    p.setPen(QPen(QColor(20, 20, 120), 3));
    const double xq = wall - 3.5 * scale;
    arrow(p, QPointF(xq, top - 80), QPointF(xq, top - 2));
    p.drawText(QPointF(xq - 70, top - 90), QStringLiteral("point or line load Q"));
    const double xs = wall - 8 * scale, w = 3 * scale;
    for (int i = 0; i <= 4; ++i)
        arrow(p, QPointF(xs - w / 2 + i * w / 4, top - 60), QPointF(xs - w / 2 + i * w / 4, top - 2));
    p.drawText(QPointF(xs - w / 2 - 10, top - 70), QStringLiteral("strip q, width W"));
    p.setPen(Qt::black);
    // Distances to the wall.
    auto dimension = [&](double from, double y, const QString& text) {
        p.drawLine(QPointF(from, y), QPointF(wall, y));
        p.drawLine(QPointF(from, y - 6), QPointF(from, y + 6));
        p.drawText(QPointF((from + wall) / 2 - 30, y - 6), text);
    };
    dimension(xq, top + 30, QStringLiteral("X = m H"));
    dimension(xs, top + 70, QStringLiteral("X (to the strip's centre)"));
    p.drawLine(QPointF(wall + 40, top), QPointF(wall + 40, top + H));
    p.drawText(QPointF(wall + 50, top + H / 2), QStringLiteral("H (free height)"));
    // The depth z = n H on the wall, and the strip's angles from there.
    const double z = top + 0.55 * H;
    p.drawEllipse(QPointF(wall, z), 5, 5);
    p.drawText(QPointF(wall + 50, z + 34), QStringLiteral("z = n H"));
    p.setPen(QPen(QColor(150, 20, 20), 1.5, Qt::DashLine));
    p.drawLine(QPointF(wall, z), QPointF(xs - w / 2, top));
    p.drawLine(QPointF(wall, z), QPointF(xs + w / 2, top));
    p.setPen(QPen(QColor(150, 20, 20), 1.5, Qt::DotLine));
    p.drawLine(QPointF(wall, z), QPointF(xs, top));
    p.drawLine(QPointF(wall, z), QPointF(wall, top));
    p.setPen(QColor(150, 20, 20));
    p.drawText(QPointF(wall - 560, z + 90), QStringLiteral("βs (dashed): the angle the strip subtends at z"));
    p.drawText(QPointF(wall - 560, z + 116),
               QStringLiteral("αs (dotted): from the vertical to the strip's centre"));
    p.setPen(Qt::black);
    p.drawText(
        QPointF(60, kHeight - 34),
        QStringLiteral("σ(z) acts on the wall behind it, added to the pressure table; m = X/H, n = z/H."));
    p.end();
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    const bool written = stations().save(out.filePath(QStringLiteral("stations.png"))) &&
                         surcharges().save(out.filePath(QStringLiteral("surcharges.png")));
    return written ? 0 : 1;
}
