#include "app/results/view3d/scene_picture.h"

#include <QFont>
#include <QPainter>

#include "app/results/view3d/scene_raster.h"

namespace app::results {

void PaintAxisLabels(QPainter& painter, const std::array<QPointF, 3>& ends) {
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(12);
    painter.setFont(font);
    const std::pair<QString, QColor> labels[] = {{QStringLiteral("X"), Qt::blue},
                                                 {QStringLiteral("Y"), Qt::darkGreen},
                                                 {QStringLiteral("D"), Qt::red}};
    for (std::size_t k = 0; k < 3; ++k) {
        painter.setPen(labels[k].second);
        painter.drawText(ends[k] + QPointF(3, -3), labels[k].first);
    }
}

QImage RenderScenePicture(const std::vector<TPrimitive>& scene, const TSceneSizes& sizes,
                          const TCamera& camera, QSize size, bool showAxes) {
    if (size.isEmpty()) return {};
    const TRasterImage frame = RasterizeScene(scene, sizes, camera, size.width(), size.height(), showAxes);
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < frame.Height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < frame.Width; ++x)
            line[x] = frame.At(x, y);
    }
    if (showAxes) {
        QPainter painter(&image);
        std::array<QPointF, 3> ends;
        for (std::size_t k = 0; k < 3; ++k)
            ends[k] = QPointF(frame.AxisEnds[k][0], frame.AxisEnds[k][1]);
        PaintAxisLabels(painter, ends);
    }
    return image;
}

}  // namespace app::results
