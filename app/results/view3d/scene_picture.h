#pragma once
// A picture of the 3D view without OpenGL and without a display: the software frame of the scene with
// the axis labels the GL window writes over its frame.

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QSize>
#include <array>
#include <vector>

#include "app/results/view3d/scene.h"

namespace app::results {

/// The frame of `scene` at `camera` (its fit scale taken for `size`), with labelled axes when
/// `showAxes`. An empty size gives a null image.
[[nodiscard]] QImage RenderScenePicture(const std::vector<TPrimitive>& scene, const TSceneSizes& sizes,
                                        const TCamera& camera, QSize size, bool showAxes);

/// Writes the axis labels "X", "Y" and "D" beside the axes' ends, as the GL window does.
void PaintAxisLabels(QPainter& painter, const std::array<QPointF, 3>& ends);

}  // namespace app::results
