#pragma once
// The OpenGL window of the 3D view: a double-buffered RGBA context with a depth buffer, the fixed-
// function pipeline, the scene's primitives replayed into display lists 2 (wall, loads, supports) and
// 5 (soil, water) at each set-up, an orthographic camera in pixel units, the axes with their labels,
// and the mouse modes.

#include <QOpenGLFunctions_1_1>
#include <QOpenGLWidget>
#include <QString>
#include <functional>
#include <vector>

#include "app/results/view3d/scene.h"
#include "app/results/view3d/scene_mesh.h"

namespace app::results {

enum class TMouseMode { None = 0, Panning = 1, Zooming = 2, Rotating = 3, ZoomWindow = 4 };

class TglWindow : public QOpenGLWidget, protected QOpenGLFunctions_1_1 {
    Q_OBJECT
public:
    explicit TglWindow(QWidget* parent = nullptr);
    ~TglWindow() override;

    /// A new scene: the display lists are compiled again at the next frame.
    void SetScene(std::vector<TPrimitive> scene, const TSceneSizes& sizes);
    [[nodiscard]] TCamera& Camera() { return m_camera; }
    void SetMouseMode(TMouseMode mode, bool zoomWindow);
    [[nodiscard]] TMouseMode MouseMode() const { return m_mode; }
    void Zooming(double factor);
    void RestartView();
    bool ShowAxes = true;
    /// Drawn across the bottom of the view in red: the results shown are not to be taken as they stand.
    QString Notice;
    /// Draws one frame into the widget's framebuffer and waits for it (benchmarks).
    void RenderFrame();
    /// How often the glyph list has been compiled: at each set-up, and when zooming changes the detail
    /// its circles need.
    [[nodiscard]] int GlyphCompilations() const { return m_glyphCompilations; }
    /// False when the platform gave no context with the fixed-function pipeline.
    [[nodiscard]] bool Usable() const { return m_usable; }

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setup();
    void setOrtho();
    void compile(int list);
    void compileGlyphs();
    void send(const std::vector<TMeshRun>& runs);
    /// Scene point to window pixels with the current matrices.
    [[nodiscard]] QPointF project(const TVec3& v) const;

    double m_detailScale = 0;  // pixels per scene unit when the glyphs were compiled
    int m_glyphCompilations = 0;
    std::vector<TPrimitive> m_scene;
    TSceneSizes m_sizes;
    TCamera m_camera;
    TMouseMode m_mode = TMouseMode::None;
    bool m_zoomWindow = false;
    bool m_needsSetup = true;
    bool m_usable = false;
    // The press: where, and the camera then.
    bool m_pressed = false, m_boxing = false;
    QPointF m_press, m_corner;
    TCamera m_atPress;
    // Read back after each frame for the axis labels.
    std::array<double, 16> m_modelView{}, m_projection{};
    std::array<int, 4> m_viewport{};
};

}  // namespace app::results
