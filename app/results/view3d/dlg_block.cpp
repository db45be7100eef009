#include "app/results/view3d/dlg_block.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QOpenGLContext>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/model/graph_plot.h"
#include "app/model/number_format.h"
#include "app/widgets/messages.h"

namespace app::results {

TDlgBlock::TDlgBlock(std::function<const app::model::TProgramData&()> model,
                     app::model::PlotDefinitions& plots, QWidget* parent)
    : QWidget(parent), m_model(std::move(model)), m_plots(&plots) {
    setObjectName(QStringLiteral("DlgBlock"));
    setWindowTitle(tr("3-D View"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (OpenGLAvailable()) {
        m_gl = new TglWindow(this);
        layout->addWidget(m_gl);
    } else {
        // A display without OpenGL (such as the offscreen one) gets a note instead of a crash.
        auto* note = new QLabel(tr("The 3D view needs a display with OpenGL."), this);
        note->setAlignment(Qt::AlignCenter);
        layout->addWidget(note);
    }
    resize(800, 600);
    RedrawComplete();
}

bool TDlgBlock::HasDeflection() const {
    return m_plots->pltDef.HasCurveData();
}

bool OpenGLAvailable() {
    static const bool available = [] {
        QOpenGLContext context;
        return context.create();
    }();
    return available;
}

void TDlgBlock::RedrawComplete() {
    if (!m_gl) return;
    const app::model::TProgramData& model = m_model();
    const app::model::TLine* deflection =
        m_plots->pltDef.LineCount() > 0 ? &m_plots->pltDef.Line(0) : nullptr;
    m_gl->ShowAxes = m_options.Axes;
    m_gl->SetScene(BuildScene(model, m_options, HasDeflection() ? deflection : nullptr), SceneSizes(model));
    RefreshNotice();
}

void TDlgBlock::RefreshNotice() {
    const std::string& notice = m_model().Results.Notice;
    const bool shown = m_options.DeformedShape && HasDeflection() && !notice.empty();
    const QString text = shown ? QString::fromStdString(notice) : QString();
    setWindowTitle(shown ? tr("3-D View") + QStringLiteral(" - ") + text : tr("3-D View"));
    if (m_gl && m_gl->Notice != text) {
        m_gl->Notice = text;
        m_gl->update();
    }
}

void FillShowMenu(QMenu& menu, std::function<TDlgBlock*()> current,
                  std::function<void(const std::function<void()>&)> run) {
    const std::pair<QString, bool TSceneOptions::*> toggles[] = {
        {QObject::tr("&Wall"), &TSceneOptions::Wall},
        {QObject::tr("&Soil Layers"), &TSceneOptions::SoilLayers},
        {QObject::tr("Water &Level"), &TSceneOptions::WaterLevel},
        {QObject::tr("&Additional Surcharge"), &TSceneOptions::Surcharge},
        {QObject::tr("&Concentrated Loads"), &TSceneOptions::ConcentratedLoads},
        {QObject::tr("&Tie Backs"), &TSceneOptions::Tiebacks},
        {QObject::tr("&Boundary Conditions"), &TSceneOptions::BoundaryConditions},
        {QObject::tr("Lateral S&prings"), &TSceneOptions::Springs}};
    for (const auto& [text, flag] : toggles) {
        QAction* action = menu.addAction(text);
        action->setCheckable(true);
        QObject::connect(action, &QAction::triggered, &menu, [current, run, flag = flag] {
            run([&] {
                if (TDlgBlock* view = current()) {
                    view->Options().*flag = !(view->Options().*flag);
                    view->RedrawComplete();
                }
            });
        });
        QObject::connect(&menu, &QMenu::aboutToShow, action, [current, action, flag = flag] {
            if (TDlgBlock* view = current()) action->setChecked(view->Options().*flag);
        });
    }
}

void TDlgBlock::DeformedShapeWindow() {
    if (!m_deformedDialog) {
        m_deformedDialog = new TDlgDeformedShape(*this, this);
        m_deformedDialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_deformedDialog->Load();
    m_deformedDialog->show();
    m_deformedDialog->raise();
}

TDlgDeformedShape::TDlgDeformedShape(TDlgBlock& view, QWidget* parent) : QDialog(parent), m_view(view) {
    setWindowTitle(tr("Deformed Shape"));
    setObjectName(QStringLiteral("DlgDeformedShape"));
    auto* layout = new QVBoxLayout(this);
    m_deformed = new QCheckBox(tr("Show &Deformed Shape"), this);
    m_undeformed = new QCheckBox(tr("Show &Undeformed Model"), this);
    layout->addWidget(m_deformed);
    layout->addWidget(m_undeformed);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(tr("Deformed Shape &Factor"), this);
    m_factor = new QLineEdit(this);
    label->setBuddy(m_factor);
    m_up = new QToolButton(this);
    m_up->setArrowType(Qt::UpArrow);
    m_down = new QToolButton(this);
    m_down->setArrowType(Qt::DownArrow);
    row->addWidget(label);
    row->addWidget(m_factor);
    row->addWidget(m_up);
    row->addWidget(m_down);
    layout->addLayout(row);
    auto* close = new QPushButton(tr("Close"), this);
    layout->addWidget(close, 0, Qt::AlignRight);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_deformed, &QCheckBox::clicked, this, [this](bool on) {
        m_view.Options().DeformedShape = on;
        enableRule();
        m_view.RedrawComplete();
    });
    connect(m_undeformed, &QCheckBox::clicked, this, [this](bool on) {
        m_view.Options().UndeformedModel = on;
        m_view.RedrawComplete();
    });
    connect(m_factor, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (text.isEmpty()) return;  // an empty field leaves the factor as it was
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (!ok) {
            app::widgets::ShowInformation(this, tr("'%1' is not a valid floating point value").arg(text));
            return;
        }
        m_view.Options().DeformationFactor = value;
        m_view.RedrawComplete();
    });
    connect(m_up, &QToolButton::clicked, this, [this] { Step(true); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(false); });
}

void TDlgDeformedShape::Load() {
    const TSceneOptions& o = m_view.Options();
    m_factor->setText(QString::fromStdString(app::model::FormatGeneral(o.DeformationFactor, 15)));
    m_deformed->setChecked(o.DeformedShape);
    m_undeformed->setChecked(o.UndeformedModel);
    enableRule();
}

void TDlgDeformedShape::enableRule() {
    const bool on = m_deformed->isChecked();
    m_undeformed->setEnabled(on);
    m_factor->setEnabled(on);
    m_up->setEnabled(on);
    m_down->setEnabled(on);
}

void TDlgDeformedShape::Step(bool up) {
    const long double f = StepFactor(m_view.Options().DeformationFactor, up);
    m_view.Options().DeformationFactor = f;
    m_factor->setText(QString::fromStdString(app::model::FormatGeneral(f, 15)));
    m_view.RedrawComplete();
}

}  // namespace app::results
