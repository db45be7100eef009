#pragma once
// The scene's primitives cut into the pieces that are drawn: triangles and line segments with their
// colours, in runs of one kind in the order they are drawn. The GL window sends the runs into its
// display lists; the software renderer fills them into a picture. Neither cuts shapes of its own, so
// both draw the same pieces. No OpenGL, no Qt.

#include <vector>

#include "app/results/view3d/scene.h"

namespace app::results {

struct TMeshVertex {
    TVec3 At;
    TRgba Colour;
};

/// Consecutive pieces of one kind: every three vertices a triangle, or every two a line segment.
struct TMeshRun {
    bool Lines = false;
    float LineWidth = 1;
    std::vector<TMeshVertex> Vertices;
};

/// One display list: the opaque runs (arrow outlines among them), then the translucent runs (every
/// blended piece and the arrows' solid parts), drawn with blending after the opaque ones.
struct TMeshList {
    std::vector<TMeshRun> Opaque;
    std::vector<TMeshRun> Translucent;
};

/// The pieces of the primitives of `list` (kWallList or kSoilList). Circles take the segments that
/// their size on screen needs at `pixelsPerUnit` (see CircleSegments).
[[nodiscard]] TMeshList TessellateList(const std::vector<TPrimitive>& scene, int list, double pixelsPerUnit);

}  // namespace app::results
