// The graph window and its dialogs through their widgets and the mouse.

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include <QFileInfo>
#include <QPainter>
#include <cmath>
#include "../../modal_support.h"
#include "app/model/problem_tables.h"
#include "app/results/export/dlg_export.h"
#include "app/results/graph/plot_dialogs.h"
#include "app/results/graph/plot_form.h"
#include "app/results/views/side_view.h"
#include "app/widgets/data_edit.h"
#include "app/widgets/messages.h"

using namespace app::results;
using app::model::TGraphPlot;

namespace {

void fill(TGraphPlot& plot, int curves, int points = 11) {
    plot.Caption = "Deflection vs Depth";
    plot.CurveName = "Load #";
    plot.XOnTop = true;
    plot.SetLineCount(curves);
    plot.SetPointCount(points);
    for (int i = 0; i < curves; ++i)
        for (int j = 0; j < points; ++j)
            plot.Point(i, j) = {0.1L * (i + 1) * j, static_cast<long double>(j)};
}

using ::testsupport::onNextModal;

QAction* item(QMenu* menu, const char* name) {
    return menu->findChild<QAction*>(QString::fromLatin1(name));
}

}  // namespace

class PlotFormTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        messages.clear();
        app::widgets::SetMessageFunction([this](QWidget*, const QString& text) { messages << text; });
    }
    void cleanup() { app::widgets::SetMessageFunction({}); }

    void opensWithTwentyActiveCurvesAndTheirLegend();
    void legendKeepsItsPlaceThroughResizes();
    void zoomRectangleAndRightClick();
    void menuRefreshRules();
    void legendEditorRefusesAnEmptyName();
    void activeCurvesToggleOnlyTheSelectedEntry();
    void titleAndSaveAttributes();
    void exportDialogOffersTicksAndWrites();
    void sideViewDrawsTheWallAsEntered();

private:
    QStringList messages;
};

// Switching between maximized windows resizes each: an undragged legend stays at the plot's corner,
// a dragged one where the user put it, not where a small size pushed it.
void PlotFormTest::legendKeepsItsPlaceThroughResizes() {
    TGraphPlot plot;
    fill(plot, 2);
    TPlotForm form(plot);
    form.resize(900, 700);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QPoint corner = form.Legend()->geometry().bottomRight();
    form.resize(300, 250);
    form.resize(900, 700);
    QCOMPARE(form.Legend()->geometry().bottomRight(), corner);

    // Dragged to the upper left quarter by 200 px left and 300 px up.
    TLegendList* legend = form.Legend();
    const QPoint grip(5, 5);
    QTest::mousePress(legend, Qt::LeftButton, Qt::NoModifier, grip);
    QMouseEvent move(QEvent::MouseMove, QPointF(grip - QPoint(200, 300)),
                     legend->mapToGlobal(QPointF(grip - QPoint(200, 300))), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(legend, &move);
    QTest::mouseRelease(legend, Qt::LeftButton, Qt::NoModifier, grip - QPoint(200, 300));
    const QPoint placed = legend->pos();
    QVERIFY(placed.x() < 700 && placed.y() < 400);
    form.resize(300, 250);
    QVERIFY(legend->geometry().right() <= form.width());
    form.resize(900, 700);
    QVERIFY2((legend->pos() - placed).manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2 after %3,%4")
                                                                             .arg(legend->x())
                                                                             .arg(legend->y())
                                                                             .arg(placed.x())
                                                                             .arg(placed.y())));
}

void PlotFormTest::opensWithTwentyActiveCurvesAndTheirLegend() {
    TGraphPlot plot;
    fill(plot, 25);
    TPlotForm form(plot);
    form.resize(900, 700);
    form.show();
    for (int i = 0; i < 25; ++i)
        QCOMPARE(plot.Line(i).Active, i < 20);
    QCOMPARE(form.Legend()->Texts().size(), 20);
    QCOMPARE(form.Legend()->Texts().first(), QStringLiteral("Load #1"));
    QVERIFY(form.Legend()->isVisible());
    QCOMPARE(form.Legend()->height(), 20 * form.Legend()->ItemHeight() + 3);
    // Placed at the plot's lower right corner, inside the window.
    QVERIFY(form.Legend()->geometry().right() < form.width());
    // A double-click on an entry hides its curve; the menu follows.
    const QPoint third(10, 2 * form.Legend()->ItemHeight() + 5);
    QTest::mouseDClick(form.Legend(), Qt::LeftButton, Qt::NoModifier, third);
    QVERIFY(!plot.Line(2).Shown);
    form.RefreshMenu();
    const QList<QAction*> actions = form.PlotMenu()->actions();
    QAction* curveItem = actions[actions.size() - 20 + 2];
    QCOMPARE(curveItem->text(), QStringLiteral("Load #3"));
    QVERIFY(!curveItem->isChecked());
    curveItem->trigger();
    QVERIFY(plot.Line(2).Shown);
}

void PlotFormTest::zoomRectangleAndRightClick() {
    TGraphPlot plot;
    fill(plot, 2);
    TPlotForm form(plot);
    form.resize(800, 600);
    form.show();
    const TPlotView full = form.View();
    const TRect& p = form.Layout().Plot;
    // A small rectangle: exactly a twentieth of the full ranges.
    QTest::mousePress(&form, Qt::LeftButton, Qt::NoModifier, QPoint(p.Left + 50, p.Top + 50));
    QTest::mouseMove(&form, QPoint(p.Left + 52, p.Top + 53));
    QTest::mouseRelease(&form, Qt::LeftButton, Qt::NoModifier, QPoint(p.Left + 52, p.Top + 53));
    const TRange zoomed = form.View().Current[0];
    QVERIFY(qAbs(double(zoomed.XMax - zoomed.XMin) - double(full.Full[0].XMax - full.Full[0].XMin) / 20) <
            1e-9);
    QVERIFY(qAbs(double(zoomed.YMax - zoomed.YMin) - double(full.Full[0].YMax - full.Full[0].YMin) / 20) <
            1e-9);
    // The title shows the data under the mouse.
    QVERIFY(form.windowTitle().startsWith(QStringLiteral("Deflection vs Depth X: ")));
    QVERIFY(form.windowTitle().contains(QStringLiteral(" Y: ")));
    // A rectangle of a single column changes nothing.
    QTest::mousePress(&form, Qt::LeftButton, Qt::NoModifier, QPoint(p.Left + 80, p.Top + 80));
    QTest::mouseRelease(&form, Qt::LeftButton, Qt::NoModifier, QPoint(p.Left + 80, p.Top + 200));
    QCOMPARE(form.View().Current[0], zoomed);
    // Right clicks double the view until the full range.
    for (int k = 0; k < 8; ++k)
        QTest::mousePress(&form, Qt::RightButton, Qt::NoModifier, QPoint(p.Left + 100, p.Top + 100));
    QCOMPARE(form.View().Current[0], full.Full[0]);
    QTest::mousePress(&form, Qt::RightButton, Qt::NoModifier, QPoint(p.Left + 100, p.Top + 100));
    QCOMPARE(form.View().Current[0], full.Full[0]);
}

void PlotFormTest::menuRefreshRules() {
    TGraphPlot plot;
    fill(plot, 3);
    TPlotForm form(plot);
    QMenu* menu = form.PlotMenu();
    form.RefreshMenu();
    QVERIFY(!item(menu, "PlotSoilLayer")->isVisible());  // no soil column to show
    QVERIFY(!item(menu, "ShowWallGeometry")->isVisible());
    QVERIFY(item(menu, "PlotLegend")->isChecked());
    plot.SetLayerLineCount(3);
    plot.SetLayerPointCount(1);
    plot.WallLineCount = 1;
    form.RefreshMenu();
    QVERIFY(item(menu, "PlotSoilLayer")->isVisible());
    QVERIFY(item(menu, "ShowWallGeometry")->isVisible());
    QVERIFY(!item(menu, "ShowWallGeometry")->isEnabled());  // only with the soil column on
    item(menu, "PlotSoilLayer")->trigger();
    form.RefreshMenu();
    QVERIFY(plot.ShowLayers);
    QVERIFY(item(menu, "ShowWallGeometry")->isEnabled());
    QVERIFY(form.Layout().Soil.Width() > 0);
    plot.ShowFontWidth = false;
    form.RefreshMenu();
    QVERIFY(!menu->findChild<QMenu*>(QStringLiteral("FontSize"))->menuAction()->isVisible());
    // The markers submenu ticks the value of the plot.
    QMenu* markers = menu->findChild<QMenu*>(QStringLiteral("PlotMarkers"));
    plot.Markers = 5;
    emit markers->aboutToShow();
    for (QAction* a : markers->actions())
        QCOMPARE(a->isChecked(), a->data().toInt() == 5);
    markers->actions().first()->trigger();
    QCOMPARE(plot.Markers, 0);
    plot.Markers = 7;
    emit markers->aboutToShow();
    for (QAction* a : markers->actions())
        QVERIFY(!a->isChecked());
    item(menu, "PlotLegend")->trigger();
    QVERIFY(!plot.ShowLegend);
    QVERIFY(!form.Legend()->isVisible());
}

void PlotFormTest::legendEditorRefusesAnEmptyName() {
    TGraphPlot plot;
    fill(plot, 3);
    plot.Line(0).Active = false;
    TPlotForm form(plot);
    plot.Line(0).Active = false;  // the window made all active; one off again, as the chooser would
    form.RebuildLegend();
    onNextModal([this](QWidget* modal) {
        auto* dialog = qobject_cast<TfrmLineNames*>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->List()->count(), 3);
        dialog->List()->setCurrentRow(1);
        QCOMPARE(dialog->Edit()->text(), QStringLiteral("Load #2"));
        dialog->Edit()->clear();
        QTest::keyClick(dialog->Edit(), Qt::Key_Return);
        QCOMPARE(messages.value(0), QString::fromLatin1(kEmptyLegendMessage));
        QCOMPARE(dialog->Edit()->text(), QStringLiteral("Load #2"));  // the entry's text is back
        dialog->Edit()->setText(QStringLiteral("Stage two"));
        QTest::keyClick(dialog->Edit(), Qt::Key_Return);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    form.EditLegend();
    QCOMPARE(plot.Line(1).Name, std::string("Stage two"));
    QCOMPARE(plot.Line(0).Name, std::string("Load #1"));  // every curve now has its own name
    plot.CurveName = "Other #";
    QCOMPARE(plot.Line(2).GetName(), std::string("Load #3"));
    QCOMPARE(form.Legend()->Texts(), (QStringList{QStringLiteral("Stage two"), QStringLiteral("Load #3")}));
}

void PlotFormTest::activeCurvesToggleOnlyTheSelectedEntry() {
    const QStringList names{QStringLiteral("Load #1"), QStringLiteral("Load #2"), QStringLiteral("Load #3")};
    TfrmActiveLines dialog(names, {kActiveFlag, kActiveFlag, kInactiveFlag});
    QCOMPARE(dialog.List()->item(0)->text(), QStringLiteral(" yes :    Load #1"));
    QCOMPARE(dialog.List()->item(2)->text(), QStringLiteral(" no  :    Load #3"));
    dialog.List()->clearSelection();
    dialog.List()->item(2)->setSelected(true);
    dialog.ToggleSelected();
    QCOMPARE(dialog.Flags()[2], std::string(kActiveFlag));
    QCOMPARE(dialog.Flags()[0], std::string(kActiveFlag));
    dialog.SetAll(false);
    for (const std::string& flag : dialog.Flags())
        QCOMPARE(flag, std::string(kInactiveFlag));

    TGraphPlot plot;
    fill(plot, 3);
    TPlotForm form(plot);
    onNextModal([](QWidget* modal) {
        auto* chooser = qobject_cast<TfrmActiveLines*>(modal);
        QVERIFY(chooser);
        chooser->Toggle(1);
        chooser->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    form.ChooseActiveCurves();
    QVERIFY(!plot.Line(1).Active);
    QCOMPARE(form.LegendCurves(), (std::vector<int>{0, 2}));
    onNextModal([](QWidget* modal) {
        auto* chooser = qobject_cast<TfrmActiveLines*>(modal);
        chooser->SetAll(false);
        chooser->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    form.ChooseActiveCurves();
    QVERIFY(form.Legend()->Texts().isEmpty());
    QCOMPARE(form.Legend()->height(), 3);
}

void PlotFormTest::titleAndSaveAttributes() {
    TGraphPlot plot;
    fill(plot, 2);
    TPlotForm form(plot);
    form.resize(800, 600);
    const int bottom = form.Layout().Plot.Bottom;
    onNextModal([](QWidget* modal) {
        auto* dialog = qobject_cast<TfrmGraphCaption*>(modal);
        QVERIFY(dialog);
        dialog->Edit()->setText(QStringLiteral("Wall 7"));
        dialog->reject();  // whatever the result, the text is taken
    });
    form.EditGraphTitle();
    QCOMPARE(plot.GraphTitle, std::string("Wall 7"));
    QVERIFY(!plot.TitleAtTop);
    QCOMPARE(form.Layout().Plot.Bottom, bottom - 14);  // one text unit on the screen

    TdlgFormat attributes;
    QCOMPARE(attributes.BitmapSize(), QSize(432, 288));
    attributes.PpiEdit()->setText(QStringLiteral("96"));
    attributes.HeightEdit()->setText(QStringLiteral("1"));
    attributes.accept();  // the height is below its minimum of 2: clamped, the dialog stays
    QCOMPARE(attributes.result(), 0);
    QCOMPARE(attributes.HeightEdit()->text(), QStringLiteral("2"));
    attributes.accept();
    QCOMPARE(attributes.result(), int(QDialog::Accepted));
    QCOMPARE(attributes.BitmapSize(), QSize(576, 192));

    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("graph.bmp"));
    QVERIFY(form.SaveBitmapTo(file, QSize(432, 288)));
    QImage saved(file);
    QCOMPARE(saved.size(), QSize(432, 288));
    QFile raw(file);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    QCOMPARE(raw.read(2), QByteArray("BM"));

    // The other formats from the same painting: a PNG of the size asked for, an SVG drawing with the
    // graph's title, a one-page PDF; a name of no picture format is refused and nothing is written.
    QVERIFY(form.SavePictureTo(folder.filePath(QStringLiteral("graph.png")), QSize(640, 400), 96));
    QCOMPARE(QImage(folder.filePath(QStringLiteral("graph.png"))).size(), QSize(640, 400));
    QVERIFY(form.SavePictureTo(folder.filePath(QStringLiteral("graph.svg")), QSize(640, 400), 96));
    QFile svg(folder.filePath(QStringLiteral("graph.svg")));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    const QByteArray drawing = svg.readAll();
    QVERIFY(drawing.contains("<svg") && drawing.contains("<polyline"));
    QVERIFY(drawing.contains(QByteArray::fromStdString(plot.Caption)));
    QVERIFY(form.SavePictureTo(folder.filePath(QStringLiteral("picture.pdf")), QSize(640, 400), 96));
    QFile picture(folder.filePath(QStringLiteral("picture.pdf")));
    QVERIFY(picture.open(QIODevice::ReadOnly));
    QVERIFY(picture.read(4) == "%PDF");
    QVERIFY(!form.SavePictureTo(folder.filePath(QStringLiteral("graph.txt")), QSize(640, 400), 96));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("graph.txt"))));

    // Copy: the picture and the drawing together on the clipboard.
    form.findChild<QAction*>(QStringLiteral("PlotCopy"))->trigger();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    QVERIFY(copied->hasImage());
    QCOMPARE(qvariant_cast<QImage>(copied->imageData()).size(), form.size());
    QVERIFY(copied->data(QStringLiteral("image/svg+xml")).contains("<svg"));

    // Printing to a PDF file: one page with this window's view.
    const QString pdf = folder.filePath(QStringLiteral("graph.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageLayout(form.PageLayout());
        form.PrintTo(printer);
    }
    QFile page(pdf);
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QByteArray bytes = page.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 1);
    QCOMPARE(form.PageLayout().margins(QPageLayout::Inch), QMarginsF(1, 1, 1, 1));
}

void PlotFormTest::exportDialogOffersTicksAndWrites() {
    auto plots = app::model::CreatePlotDefinitions();
    // Without results nothing is offered.
    TDlgExport none(*plots, {});
    for (int i = 0; i < 7; ++i) {
        QVERIFY(!(none.List()->item(i)->flags() & Qt::ItemIsEnabled));
        QCOMPARE(none.List()->item(i)->checkState(), Qt::Unchecked);
    }
    QVERIFY(!none.GenerateButton()->isEnabled());
    none.SelectAll(true);
    QCOMPARE(none.List()->item(0)->checkState(), Qt::Unchecked);  // disabled entries stay as they are

    fill(plots->pltDef, 2);
    fill(plots->pltSoil, 1);
    TDlgExport dialog(*plots, {false, true, false, false, true, false, false});
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Export to Excel"));
    QCOMPARE(dialog.List()->item(1)->text(), QStringLiteral("Deflection vs Depth"));
    QCOMPARE(dialog.List()->item(1)->checkState(), Qt::Checked);
    QCOMPARE(dialog.List()->item(2)->checkState(), Qt::Unchecked);
    QVERIFY(dialog.GenerateButton()->isEnabled());
    dialog.SelectAll(false);
    QVERIFY(!dialog.GenerateButton()->isEnabled());
    dialog.SelectAll(true);
    QVERIFY(dialog.GenerateButton()->isEnabled());

    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("graphs.xlsx"));
    QString opened;
    dialog.ChooseFile = [&file] { return file; };
    dialog.OpenFile = [&opened](const QString& f) {
        opened = f;
        return true;
    };
    dialog.GenerateButton()->click();
    QCOMPARE(opened, file);
    QVERIFY(QFile::exists(file));
    // Where it was written is told either way.
    QCOMPARE(messages.value(0), QStringLiteral("The workbook was written to %1.").arg(file));
    messages.clear();
    dialog.OpenFile = [](const QString&) { return false; };
    QVERIFY(dialog.Generate(file));
    QVERIFY(messages.value(0).contains(file));
    // A folder that does not exist: a clear message, nothing written.
    messages.clear();
    QVERIFY(!dialog.Generate(folder.filePath(QStringLiteral("missing/graphs.xlsx"))));
    QVERIFY(messages.value(0).startsWith(QStringLiteral("The workbook was not written")));
}

void PlotFormTest::sideViewDrawsTheWallAsEntered() {
    app::model::TGridTableRegistry plain, chart;
    app::model::TProblemTables tables(plain, chart);
    app::model::TProgramData model(tables);
    model.IncrementCount = 100;
    model.IncrementLength = 3;  // a 300 in wall
    model.FreeHeight = 120;     // excavation 10 ft
    // Two layers: the first ends above the excavation (5 ft), the second below it (20 ft).
    tables.NewSoil.SetRowCount(2);
    tables.NewSoil.Column(0).SetInt(0, 4);
    tables.NewSoil.Column(1).SetFloat(0, 5);
    tables.NewSoil.Column(1).SetFloat(1, 20);
    tables.NewSoil.Column(2).TableAt(0)->Column(1).SetFloat(1, 33);

    const TSideGeometry g = SideGeometry(model);
    QVERIFY(g.HasWall);
    QCOMPARE(g.Margin, 30.0L);
    QCOMPARE(g.Wall[0], (std::pair<long double, long double>{-3, 30}));
    QCOMPARE(g.Wall[2], (std::pair<long double, long double>{3, 330}));
    QCOMPARE(g.Base.XMax, 3 * 1.05L);
    QCOMPARE(g.Base.YMax, 330 * 1.05L);
    const TWorldWindow w = FitWindow(g.Base, 600, 600);
    QVERIFY(qAbs(double((w.XMax - w.XMin) / (w.YMax - w.YMin)) - 1.0) < 1e-12);  // true proportions
    QCOMPARE(w.YMax, g.Base.YMax);
    QCOMPARE(LayerText(model, 0).first, QStringLiteral("Sand"));
    QVERIFY(LayerText(model, 0).second.startsWith(QStringLiteral("ø= 33; gamma=")));
    QCOMPARE(LayerText(model, 1).first, QStringLiteral("Soft clay"));

    auto paint = [&] {
        QImage image(600, 600, QImage::Format_RGB32);
        QPainter painter(&image);
        PaintSideView(painter, image.rect(), model, SideGeometry(model),
                      FitWindow(SideGeometry(model).Base, 600, 600), false);
        return image;
    };
    auto py = [&w](long double worldY) {
        return int(std::nearbyint(600 * (worldY - w.YMin) / (w.YMax - w.YMin)));
    };
    const QColor ink = QPalette().color(QPalette::WindowText);
    QImage image = paint();
    QCOMPARE(image.pixelColor(300, py(200)), ink);  // the wall
    QCOMPARE(image.pixelColor(150, py(90)), ink);   // the first bottom, retained side
    QVERIFY(image.pixelColor(450, py(90)) != ink);  // dug out on the excavation side
    QCOMPARE(image.pixelColor(450, py(270)), ink);  // the second bottom, both sides
    QCOMPARE(image.pixelColor(450, py(150)), ink);  // the excavation line
    QCOMPARE(image.pixelColor(121, py(30)), ink);   // a hatch stroke of the level backfill
    model.BackfillSlope = -5;
    QVERIFY(paint().pixelColor(135, py(30) + 4) != ink);
    // A spring above the excavation is marked, one below is not.
    model.ApplySprings = true;
    tables.SoilStrength.SetRowCount(2);
    tables.SoilStrength.Column(1).SetInt(0, 10);  // 60 in: above
    tables.SoilStrength.Column(1).SetInt(1, 80);  // 270 in: below
    image = paint();
    QCOMPARE(image.pixelColor(330, py(60)), ink);
    QVERIFY(image.pixelColor(330, py(270) - 3) != ink);
    // Without generated loads and curves no layers are drawn.
    model.GeneratePY = 0;
    QVERIFY(paint().pixelColor(150, py(90)) != ink);

    TDlgSideView view([&model]() -> const app::model::TProgramData& { return model; });
    view.show();
    QVERIFY(!view.Window().Degenerate());
    const QPoint middle(100, view.Canvas()->height() / 2);
    QMouseEvent move(QEvent::MouseMove, middle, view.Canvas()->mapToGlobal(middle), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view.Canvas(), &move);
    QVERIFY(view.windowTitle().startsWith(QStringLiteral("  Depth: ")));
    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath(QStringLiteral("side.pdf")));
    printer.setPageOrientation(QPageLayout::Landscape);
    view.PrintTo(printer);
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("side.pdf"))).size() > 500);
    // Pictures: the wall drawn in a PNG of the size asked for and in an SVG; Copy gives both.
    QVERIFY(view.SavePictureTo(folder.filePath(QStringLiteral("side.png")), QSize(600, 600), 96));
    QCOMPARE(QImage(folder.filePath(QStringLiteral("side.png"))).pixelColor(300, py(200)), ink);
    QVERIFY(view.SavePictureTo(folder.filePath(QStringLiteral("side.svg")), QSize(600, 600), 96));
    QFile svg(folder.filePath(QStringLiteral("side.svg")));
    QVERIFY(svg.open(QIODevice::ReadOnly) && svg.readAll().contains("<polyline"));
    view.findChild<QPushButton*>(QStringLiteral("SideCopy"))->click();
    QVERIFY(QApplication::clipboard()->mimeData()->hasImage());
    QVERIFY(QApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("image/svg+xml")));
}

QTEST_MAIN(PlotFormTest)
#include "plot_form_test.moc"
