// The software frame of the 3D view: depth test, blending and seams, on boxes whose pixels are known.

#include "app/results/view3d/scene_raster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace app::results {
namespace {

constexpr std::uint32_t rgb(int r, int g, int b) {
    return 0xff000000U | static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(b);
}

TPrimitive box(TVec3 centre, double size, TRgba fill, bool blend = false) {
    TPrimitive p;
    p.Centre = centre;
    p.Size = {size, size, size};
    p.Fill = fill;
    p.Outline = fill;
    p.Blend = blend;
    return p;
}

// A unit of scene length is one pixel: the fit scale is 1 for these sizes on a 200 × 200 picture.
TSceneSizes pixelSizes() {
    TSceneSizes s;
    s.Largest = 150;
    s.Width = 6;
    return s;
}

TEST(SceneRaster, NearerPiecesHideFartherOnesAndTranslucentOnesBlendWithoutSeams) {
    const TSceneSizes sizes = pixelSizes();
    ASSERT_DOUBLE_EQ(FitScale(sizes, 200, 200), 1.0);
    const TRgba red{1, 0, 0}, green{0, 1, 0}, blue{0, 0, 1, 0.5F};
    // At the start camera the eye looks along +y: smaller y is nearer. The green box is drawn first
    // and nearer; the red one behind it must not show through, whatever the order.
    const std::vector<TPrimitive> scene = {box({0, -20, 0}, 40, green), box({0, 20, 0}, 60, red),
                                           box({60, -50, 0}, 30, blue, true)};
    const TRasterImage image = RasterizeScene(scene, sizes, TCamera{}, 200, 200, false);
    ASSERT_EQ(image.Width, 200);
    EXPECT_EQ(image.At(100, 100), rgb(0, 255, 0));
    EXPECT_EQ(image.At(100 + 25, 100), rgb(255, 0, 0));  // outside the green, inside the red
    EXPECT_EQ(image.At(5, 5), rgb(255, 255, 255));
    // The translucent box over white: its front face blended once, at every pixel of the face, though
    // the face is cut into triangles that share edges through its centre. Its back face lies behind
    // the front face and fails the depth test.
    const std::uint32_t blended = image.At(160, 100);
    EXPECT_EQ(blended, rgb(128, 128, 255));
    for (int x = 148; x <= 172; ++x)
        for (int y = 88; y <= 112; ++y)
            ASSERT_EQ(image.At(x, y), blended) << x << ", " << y;
}

TEST(SceneRaster, CameraTurnsTheSceneAsTheWindowDoes) {
    const TSceneSizes sizes = pixelSizes();
    // Scene z runs up the screen; depths below the top are negative.
    const TRasterImage start =
        RasterizeScene({box({0, 0, -50}, 10, TRgba{0, 0, 0})}, sizes, TCamera{}, 200, 200, false);
    EXPECT_EQ(start.At(100, 150), rgb(0, 0, 0));
    EXPECT_EQ(start.At(100, 50), rgb(255, 255, 255));
    // Turned a quarter about the vertical, a box on the scene's +x moves to the side.
    TCamera turned;
    turned.RZ = 90;
    const TMatrix4 m = ModelViewMatrix(turned, sizes);
    EXPECT_NEAR(m[0] * 50 + m[12], 0, 1e-9);             // x = 50 no longer across the screen
    EXPECT_NEAR(std::abs(m[2] * 50 + m[14]), 50, 1e-9);  // but along the line of sight
    // The axes keep their 80 pixels: X ends 80 pixels right of the origin.
    const TRasterImage axes = RasterizeScene({}, sizes, TCamera{}, 200, 200, true);
    EXPECT_NEAR(axes.AxisEnds[0][0] - 100, 80, 1e-9);
    EXPECT_EQ(axes.At(150, 100), rgb(0, 0, 255));
    EXPECT_TRUE(RasterizeScene({}, sizes, TCamera{}, 0, 10, true).Pixels.empty());
}

}  // namespace
}  // namespace app::results
