// The 3D view from the main window, under a display with OpenGL: its menu and buttons, the mouse modes
// and the deformed-shape dialog. Skipped where no OpenGL context can be made.

#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QtTest>
#include <cmath>

#include "app/results/view3d/dlg_block.h"
#include "app/results/view3d/scene_picture.h"
#include "app/results/view3d/scene_raster.h"
#include "ui_test_support.h"

using namespace app::ui;
using namespace app::ui::testsupport;

class View3DTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!app::results::OpenGLAvailable()) QSKIP("no OpenGL on this display");
    }
    void menuButtonsAndTheCamera();
    void deformedShapeDialog();
    void wallSoilAndAxesInTheirColours();
    void softwareFrameAgreesWithTheWindow();
};

void View3DTest::menuButtonsAndTheCamera() {
    QTemporaryDir folder;
    Program p;
    p.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.form.get()));
    p.open(copyExample(folder, QStringLiteral("generated_layered_profile.dn5d")));
    p.trigger(TCommand::RunAnalysis);
    auto* show3D = p.form->findChild<QMenu*>(QStringLiteral("Show3DMenu"));
    QVERIFY(!show3D->menuAction()->isVisible());
    QVERIFY(!p.action(TCommand::DeformedShape)->isVisible());
    p.trigger(TCommand::View3D);
    auto* view = qobject_cast<app::results::TDlgBlock*>(p.form->MdiArea()->activeSubWindow()->widget());
    QVERIFY(view && view->Gl());
    QTRY_VERIFY(view->Gl()->height() > 300);  // maximized in the frame
    QCOMPARE(view->windowTitle(), QStringLiteral("3-D View"));
    QVERIFY(show3D->menuAction()->isVisible());
    QVERIFY(p.action(TCommand::DeformedShape)->isVisible());
    QVERIFY(p.action(TCommand::DeformedShape)->isEnabled());  // deflections exist after the run
    QVERIFY(p.named("View3DRotating")->isVisible());

    // The menu ticks the options and toggles them.
    emit show3D->aboutToShow();
    QAction* soil = show3D->actions().at(1);
    QCOMPARE(soil->text(), QStringLiteral("&Soil Layers"));
    QVERIFY(soil->isChecked());
    soil->trigger();
    QVERIFY(!view->Options().SoilLayers);
    emit show3D->aboutToShow();
    QVERIFY(!soil->isChecked());

    // Zoom in and out, restart.
    app::results::TglWindow* gl = view->Gl();
    QTest::qWait(100);
    p.named("View3DZoomIn")->trigger();
    QVERIFY(std::fabs(gl->Camera().Zoom - 1.4142) < 1e-12);
    p.named("View3DZoomOut")->trigger();
    QVERIFY(std::fabs(gl->Camera().Zoom - 1) < 1e-12);
    // Without a mode a drag does nothing; rotating a full height turns by 90°.
    const QPoint from(200, 100);
    QTest::mousePress(gl, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(gl, from + QPoint(0, gl->height()));
    QTest::mouseRelease(gl, Qt::LeftButton, Qt::NoModifier, from + QPoint(0, gl->height()));
    QCOMPARE(gl->Camera().RX + gl->Camera().RY + gl->Camera().RZ, 0.0);
    p.named("View3DRotating")->trigger();
    QCOMPARE(gl->MouseMode(), app::results::TMouseMode::Rotating);
    QVERIFY(!gl->grabFramebuffer().isNull());  // a frame, whose matrix the mouse works with
    QVERIFY(gl->Camera().Matrix != (std::array<double, 9>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
    QMouseEvent press(QEvent::MouseButtonPress, from, gl->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(gl, &press);
    const QPoint to = from + QPoint(0, gl->height());
    QMouseEvent move(QEvent::MouseMove, to, gl->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(gl, &move);
    const auto& c = gl->Camera();
    QVERIFY2(std::fabs(std::hypot(c.RX, c.RY, c.RZ) - 90) < 1e-9,
             qPrintable(QString::number(std::hypot(c.RX, c.RY, c.RZ))));
    p.named("View3DRestartView")->trigger();
    QCOMPARE(gl->Camera().RX, 0.0);
    QCOMPARE(gl->Camera().Zoom, 1.0);

    // Closing the view hides its menu and buttons.
    p.form->MdiArea()->closeAllSubWindows();
    QTRY_VERIFY(!show3D->menuAction()->isVisible());
    QVERIFY(!p.named("View3DRotating")->isVisible());
}

void View3DTest::deformedShapeDialog() {
    QTemporaryDir folder;
    Program p;
    p.form->show();
    p.open(copyExample(folder, QStringLiteral("generated_sand.dn5d")));
    p.trigger(TCommand::RunAnalysis);
    p.trigger(TCommand::View3D);
    auto* view = qobject_cast<app::results::TDlgBlock*>(p.form->MdiArea()->activeSubWindow()->widget());
    QVERIFY(view);
    p.trigger(TCommand::DeformedShape);
    app::results::TDlgDeformedShape* dialog = view->DeformedDialog();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->FactorEdit()->text(), QStringLiteral("1"));
    QVERIFY(!dialog->UndeformedBox()->isEnabled());  // only with the deformed shape on
    QVERIFY(!dialog->FactorEdit()->isEnabled());
    dialog->DeformedBox()->click();
    QVERIFY(view->Options().DeformedShape);
    QVERIFY(dialog->UndeformedBox()->isEnabled());
    dialog->Step(true);
    QCOMPARE(dialog->FactorEdit()->text(), QStringLiteral("2"));
    dialog->Step(false);
    dialog->Step(false);
    QCOMPARE(dialog->FactorEdit()->text(), QStringLiteral("0.9"));
    QVERIFY(std::fabs(double(view->Options().DeformationFactor) - 0.9) < 1e-12);
    dialog->FactorEdit()->clear();
    QTest::keyClick(dialog->FactorEdit(), Qt::Key_Backspace);  // an empty field leaves the factor
    QVERIFY(std::fabs(double(view->Options().DeformationFactor) - 0.9) < 1e-12);
    QTest::keyClicks(dialog->FactorEdit(), QStringLiteral("25"));
    QCOMPARE(view->Options().DeformationFactor, 25.0L);
    dialog->close();
    QTRY_VERIFY(!view->DeformedDialog());
}

namespace {

// Pixels near a colour (the soil is blended over the white background).
int near(const QImage& image, QColor colour, int tolerance = 6) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= tolerance &&
                std::abs(c.green() - colour.green()) <= tolerance &&
                std::abs(c.blue() - colour.blue()) <= tolerance)
                ++n;
        }
    return n;
}

// The length of the blue X axis in pixels: its pure blue run in the frame.
int axisLength(const QImage& image) {
    int longest = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = image.pixelColor(x, y) == QColor(0, 0, 255) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

}  // namespace

void View3DTest::wallSoilAndAxesInTheirColours() {
    QTemporaryDir folder;
    Program p;
    p.form->show();
    p.open(copyExample(folder, QStringLiteral("generated_layered_profile.dn5d")));
    p.trigger(TCommand::RunAnalysis);
    p.trigger(TCommand::View3D);
    auto* view = qobject_cast<app::results::TDlgBlock*>(p.form->MdiArea()->activeSubWindow()->widget());
    QVERIFY(view && view->Gl());
    QTRY_VERIFY(view->Gl()->height() > 300);
    view->Gl()->Camera().RX = 20;
    view->Gl()->Camera().RZ = -30;
    const QImage frame = view->Gl()->grabFramebuffer();
    QVERIFY(!frame.isNull());
    QVERIFY(near(frame, QColor(191, 191, 191)) + near(frame, QColor(230, 230, 0)) >
            100);  // the wall, grey and yellow
    int soil = 0;  // the sand and clay layers' browns and oranges, blended over the white
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const QColor c = frame.pixelColor(x, y);
            if (c.red() - c.green() > 10 && c.green() - c.blue() > 10) ++soil;
        }
    QVERIFY2(soil > 1000, qPrintable(QString::number(soil)));
    QVERIFY(near(frame, QColor(0, 0, 255), 0) > 20);  // the X axis
    // The axes keep their 80 pixels at every zoom.
    view->Gl()->Camera().RX = view->Gl()->Camera().RZ = 0;
    const int atOne = axisLength(view->Gl()->grabFramebuffer());
    view->Gl()->Zooming(2);
    const int atTwo = axisLength(view->Gl()->grabFramebuffer());
    QVERIFY2(std::abs(atOne - 80) <= 2, qPrintable(QString::number(atOne)));
    QVERIFY2(std::abs(atTwo - 80) <= 2, qPrintable(QString::number(atTwo)));
    // Rotating keeps every glyph's size on screen and recompiles nothing; zooming in far enough
    // recompiles the glyphs once for the new detail, zooming back out once more.
    const int compiled = view->Gl()->GlyphCompilations();
    view->Gl()->Camera().RZ = 45;
    view->Gl()->grabFramebuffer();
    QCOMPARE(view->Gl()->GlyphCompilations(), compiled);
    view->Gl()->Zooming(4);
    view->Gl()->grabFramebuffer();
    view->Gl()->grabFramebuffer();
    QCOMPARE(view->Gl()->GlyphCompilations(), compiled + 1);
    view->Gl()->Zooming(1 / 8.0);
    view->Gl()->grabFramebuffer();
    QCOMPARE(view->Gl()->GlyphCompilations(), compiled + 2);
}

// The pictures drawn without OpenGL show what the window shows: the same pieces, camera and blending.
void View3DTest::softwareFrameAgreesWithTheWindow() {
    const std::pair<const char*, bool> cases[] = {{"generated_layered_profile.dn5d", false},
                                                  {"anchored_tieback_trapezoidal.dn5d", false},
                                                  {"three_stages.dn5d", true}};
    for (const auto& [name, deformed] : cases) {
        QTemporaryDir folder;
        Program p;
        p.form->show();
        p.open(copyExample(folder, QString::fromLatin1(name)));
        p.trigger(TCommand::RunAnalysis);
        p.trigger(TCommand::View3D);
        auto* view = qobject_cast<app::results::TDlgBlock*>(p.form->MdiArea()->activeSubWindow()->widget());
        QVERIFY(view && view->Gl());
        QTRY_VERIFY(view->Gl()->height() > 300);
        app::results::TglWindow* gl = view->Gl();
        if (deformed) {
            view->Options().DeformedShape = view->Options().UndeformedModel = true;
            // A bend well clear of the straight wall, so the two do not fight over depth.
            view->Options().DeformationFactor = 600;
            view->RedrawComplete();
        }
        gl->Camera().RX = 25;
        gl->Camera().RZ = -35;
        // The window shows the frame's colours and ignores its alpha, which the grab takes as
        // premultiplied.
        QImage grabbed = gl->grabFramebuffer();
        QVERIFY(grabbed.format() == QImage::Format_ARGB32_Premultiplied ||
                grabbed.format() == QImage::Format_RGBA8888_Premultiplied);
        grabbed.reinterpretAsFormat(grabbed.format() == QImage::Format_ARGB32_Premultiplied
                                        ? QImage::Format_ARGB32
                                        : QImage::Format_RGBA8888);
        const QImage window = grabbed.convertToFormat(QImage::Format_RGB32);

        const app::model::TProgramData& model = p.form->Document().Model();
        const app::model::TGraphPlot& deflection = p.form->Document().Plots().pltDef;
        const auto scene = app::results::BuildScene(model, view->Options(), &deflection.Line(0));
        const auto sizes = app::results::SceneSizes(model);
        // The camera arithmetic is the window's.
        const app::results::TMatrix4 modelView = app::results::ModelViewMatrix(gl->Camera(), sizes);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                QVERIFY(std::fabs(gl->Camera().Matrix[static_cast<std::size_t>(3 * i + j)] -
                                  modelView[static_cast<std::size_t>(4 * j + i)]) <
                        1e-5 * gl->Camera().Zoom * gl->Camera().Fit);  // GL keeps single precision
        const QImage picture =
            app::results::RenderScenePicture(scene, sizes, gl->Camera(), window.size(), view->Options().Axes);
        QCOMPARE(picture.size(), window.size());
        int drawn = 0, differ = 0;
        for (int y = 0; y < window.height(); ++y)
            for (int x = 0; x < window.width(); ++x) {
                const QColor a = window.pixelColor(x, y), b = picture.pixelColor(x, y);
                if (a != QColor(Qt::white)) ++drawn;
                if (std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                              std::abs(a.blue() - b.blue())}) > 8)
                    ++differ;
            }
        const double all = window.width() * window.height();
        QVERIFY2(drawn > 0.01 * all, name);
        QVERIFY2(differ < 0.08 * drawn, qPrintable(QStringLiteral("%1: %2 of %3 pixels differ, %4 drawn")
                                                       .arg(QString::fromLatin1(name))
                                                       .arg(differ)
                                                       .arg(all)
                                                       .arg(drawn)));
    }
}

QTEST_MAIN(View3DTest)
#include "view3d_test.moc"
