#pragma once
// "3-D View": the problem as a rotatable scene, and the small "Deformed Shape" dialog that bends the
// wall by its computed deflection. The window holds the display options and the camera.

#include <QDialog>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "app/model/plot_definitions.h"
#include "app/results/view3d/gl_window.h"
#include "app/widgets/child_window.h"

class QCheckBox;
class QLineEdit;
class QMenu;
class QToolButton;

namespace app::results {

class TDlgBlock;

class TDlgDeformedShape : public QDialog {
    Q_OBJECT
public:
    explicit TDlgDeformedShape(TDlgBlock& view, QWidget* parent = nullptr);
    /// Loads the controls from the 3D window.
    void Load();
    void Step(bool up);
    [[nodiscard]] QCheckBox* DeformedBox() const { return m_deformed; }
    [[nodiscard]] QCheckBox* UndeformedBox() const { return m_undeformed; }
    [[nodiscard]] QLineEdit* FactorEdit() const { return m_factor; }

private:
    void enableRule();

    TDlgBlock& m_view;
    QCheckBox* m_deformed;
    QCheckBox* m_undeformed;
    QLineEdit* m_factor;
    QToolButton* m_up;
    QToolButton* m_down;
};

/// Whether this display can make an OpenGL context.
[[nodiscard]] bool OpenGLAvailable();

class TDlgBlock : public QWidget, public app::widgets::TChildWindow {
    Q_OBJECT
public:
    /// `model` and `plots` give the problem and the results as they are when the scene is built.
    TDlgBlock(std::function<const app::model::TProgramData&()> model, app::model::PlotDefinitions& plots,
              QWidget* parent = nullptr);

    void CommitEdit() override {}
    void Reload() override { RedrawComplete(); }
    /// The results' notice in the title and on the picture while the deformed shape is shown.
    void RefreshNotice();

    [[nodiscard]] TSceneOptions& Options() { return m_options; }
    /// The GL window; null on a display without OpenGL.
    [[nodiscard]] TglWindow* Gl() const { return m_gl; }
    /// The scene built again from the problem and the options, and drawn.
    void RedrawComplete();
    /// Opens the deformed-shape dialog once, then brings it forward.
    void DeformedShapeWindow();
    [[nodiscard]] TDlgDeformedShape* DeformedDialog() const { return m_deformedDialog; }
    /// Deflection results exist: the deflection plot's first curve has more than one point.
    [[nodiscard]] bool HasDeflection() const;

private:
    std::function<const app::model::TProgramData&()> m_model;
    app::model::PlotDefinitions* m_plots;
    TSceneOptions m_options;
    TglWindow* m_gl = nullptr;
    QPointer<TDlgDeformedShape> m_deformedDialog;
};

/// Fills the "Show 3DView" menu with a check item per display option of the 3D window. An item turns
/// its option in the window `current` gives (none: nothing) and redraws it, through `run`, which keeps
/// exceptions out of the slot; opening the menu checks the items as that window's options stand.
void FillShowMenu(QMenu& menu, std::function<TDlgBlock*()> current,
                  std::function<void(const std::function<void()>&)> run);

}  // namespace app::results
