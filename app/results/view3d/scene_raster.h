#pragma once
// One frame of the 3D view drawn in software, for pictures where no OpenGL context can be had (no
// display at all). It fills the same pieces as the GL window, with the same camera, projection, depth
// test and blending, into a plain pixel buffer. No OpenGL, no Qt.

#include <array>
#include <cstdint>
#include <vector>

#include "app/results/view3d/scene.h"

namespace app::results {

using TMatrix4 = std::array<double, 16>;  // column-major, as OpenGL keeps it

/// The GL window's model view for `camera`: the scene turned so that its z runs up the screen, rotated
/// by RX, RY and RZ, scaled by zoom × fit and moved by the centre and the pan.
[[nodiscard]] TMatrix4 ModelViewMatrix(const TCamera& camera, const TSceneSizes& sizes);

/// The camera of the tool's pictures: turned so that the wall, the soil on both sides, the water and
/// the supports all show.
[[nodiscard]] TCamera IsometricCamera();

struct TRasterImage {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Pixels;  // 0xffRRGGBB, rows from the top
    /// Where the axes end in the picture (x right, y down), for their labels: X, Y and D.
    std::array<std::array<double, 2>, 3> AxisEnds{};
    [[nodiscard]] std::uint32_t At(int x, int y) const {
        return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
                      static_cast<std::size_t>(x)];
    }
};

/// The frame of `scene` at `camera` (its fit scale taken for the picture's size) on white, with the
/// 80-pixel axes when `showAxes`; the labels are left to the caller. Sizes below 1 give an empty image.
[[nodiscard]] TRasterImage RasterizeScene(const std::vector<TPrimitive>& scene, const TSceneSizes& sizes,
                                          const TCamera& camera, int width, int height, bool showAxes);

}  // namespace app::results
