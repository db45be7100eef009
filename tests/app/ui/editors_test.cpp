// The data dialogs and table editors driven through their widgets, from the main window's menus.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include "app/model/expression.h"
#include "app/model/run_files.h"
#include "app/ui/dialogs/data_dialogs.h"
#include "app/ui/editors/table_form.h"
#include "app/widgets/data_edit.h"
#include "ui_test_support.h"

using namespace app::ui;
using namespace app::ui::testsupport;
using app::model::TGridTable;

namespace {

template <typename T>
T* dialog(Program& p, TDialogKind kind) {
    return dynamic_cast<T*>(p.form->DialogWindow(kind));
}

TTableForm* editorOf(Program& p, const TGridTable& table) {
    for (QMdiSubWindow* window : p.form->MdiArea()->subWindowList())
        if (auto* form = dynamic_cast<TTableForm*>(window->widget());
            form && window->isVisible() && &form->Table() == &table)
            return form;
    return nullptr;
}

// Types into a numeric field as a user does and presses Enter.
void typeInto(app::widgets::TDataEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// Types into a grid cell through the cell's own editor and presses Enter.
void typeCell(TTableForm* form, int row, int gridColumn, const QString& text) {
    TTableGrid* grid = form->Grid();
    grid->setFocus();
    grid->setCurrentCell(row, gridColumn);
    grid->editItem(grid->item(row, gridColumn));
    // The cell's editor is the one shown; editors of cells left before are hidden, waiting for deletion.
    QLineEdit* editor = nullptr;
    for (QLineEdit* child : grid->viewport()->findChildren<QLineEdit*>())
        if (child->isVisible()) editor = child;
    QVERIFY2(editor, "no cell editor");
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
}

QStringList records(const QString& text) {
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines << line.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts)
                     .join(QLatin1Char(' '));
    return lines;
}

QString fileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

}  // namespace

class EditorsTest : public QObject {
    Q_OBJECT

private slots:
    void numericFieldMessagesAndClamping();
    void feetShownInEitherDialogAndUnitsSwitchedWhileOpen();
    void cellValidationAndRowButtons();
    void soilTypeChangeRebuildsOnlyItsNestedTable();
    void pasteIntoACurveAndARefusedPaste();
    void everyDialogOnEveryExampleLeavesTheFileAlone();
    void aWallBuiltFromNothingSavesAndRuns();
    void undoOfADialogAndATableGivesTheFileBack();
};

void EditorsTest::numericFieldMessagesAndClamping() {
    Program p;
    p.form->show();
    p.trigger(TCommand::WallProperties);
    auto* wall = dialog<TDataDialog>(p, TDialogKind::WallProperties);
    QVERIFY(wall);
    app::widgets::TDataEdit* increments = wall->Edit(0);
    QCOMPARE(increments->LabelText(), QStringLiteral("&Increments (nodes)"));
    QCOMPARE(wall->Edit(1)->LabelText(), QStringLiteral("Increment Length (in)"));

    typeInto(increments, QStringLiteral("400"));
    QCOMPARE(p.lastMessage(), QStringLiteral("Entry must be less than or equal to 300"));
    QCOMPARE(increments->text(), QStringLiteral("300"));
    typeInto(increments, QStringLiteral("2.5"));
    QCOMPARE(p.lastMessage(), QStringLiteral("Entry must be an integer."));
    typeInto(increments, QStringLiteral("abc"));
    QCOMPARE(p.lastMessage(), QStringLiteral("Entry must be a valid integer."));
    // Leaving the window is refused while the field is invalid.
    QVERIFY(!p.form->close());
    QVERIFY(p.form->isVisible());
    typeInto(increments, QStringLiteral("12*25"));
    QCOMPARE(increments->text(), QStringLiteral("300"));
    wall->CommitEdit();
    QCOMPARE(p.form->Document().Model().IncrementCount, 300);
    QVERIFY(p.form->Document().IsChanged());

    typeInto(wall->Edit(1), QStringLiteral("x1"));
    QCOMPARE(p.lastMessage(),
             QStringLiteral("Entry could not be evaluated:\rinvalid character(s) in expression"));
    QVERIFY_THROWS_EXCEPTION(app::widgets::ECommitRefused, wall->CommitEdit());
    typeInto(wall->Edit(1), QStringLiteral("6"));
    // With the whole number selected an operator extends it.
    wall->Edit(1)->setFocus();
    wall->Edit(1)->selectAll();
    QTest::keyClicks(wall->Edit(1), QStringLiteral("*2"));
    QCOMPARE(wall->Edit(1)->text(), QStringLiteral("6*2"));
    QTest::keyClick(wall->Edit(1), Qt::Key_Return);
    QCOMPARE(wall->Edit(1)->text(), QStringLiteral("12"));

    // Hexadecimal display, which no dialog uses: "$" and at least four digits, read back as hex.
    app::widgets::TDataEdit hex;
    hex.SetHex(true);
    hex.SetNumber(30.6L);
    QCOMPARE(hex.text(), QStringLiteral("$001F"));
    hex.setText(QStringLiteral("$1FFFF"));
    QVERIFY(hex.Validate());
    QCOMPARE(hex.Number(), 131071.0L);
    QCOMPARE(hex.text(), QStringLiteral("$1FFFF"));

    p.trigger(TCommand::WallConfiguration);
    auto* configuration = dialog<TDataDialog>(p, TDialogKind::WallConfiguration);
    QVERIFY(configuration);
    QCOMPARE(p.form->Document().Model().IncrementLength, 12.0L);  // committed when the window was left
    typeInto(configuration->Edit(6), QStringLiteral("-50"));
    QCOMPARE(p.lastMessage(), QStringLiteral("Entry must be greater than or equal to -45"));
    QCOMPARE(configuration->Edit(6)->text(), QStringLiteral("-45"));
    configuration->CommitEdit();
    QCOMPARE(p.form->Document().Model().BackfillSlope, -45.0L);
    // A number the data file cannot hold is refused, and the problem keeps its value.
    const long double width = p.form->Document().Model().ActiveWidth;
    typeInto(configuration->Edit(1), QStringLiteral("1e999"));
    QCOMPARE(p.lastMessage(), QString::fromLatin1(app::model::kEntryNotFiniteMessage));
    QCOMPARE(p.form->Document().Model().ActiveWidth, width);
    QVERIFY_THROWS_EXCEPTION(app::widgets::ECommitRefused, configuration->CommitEdit());
}

void EditorsTest::feetShownInEitherDialogAndUnitsSwitchedWhileOpen() {
    Program p;
    p.form->show();
    p.trigger(TCommand::WallConfiguration);
    auto* configuration = dialog<TDataDialog>(p, TDialogKind::WallConfiguration);
    QVERIFY(configuration);
    QCOMPARE(configuration->Edit(0)->LabelText(), QStringLiteral("&Free Height of Wall, H (ft)"));
    QCOMPARE(configuration->Edit(7)->LabelText(),
             QStringLiteral("&Uniform Distributed Load at the top of backfill side  (lbs/ft^2)"));
    typeInto(configuration->Edit(0), QStringLiteral("20"));
    typeInto(configuration->Edit(7), QStringLiteral("288"));
    p.trigger(TCommand::WallProperties);
    auto* wall = dialog<TDataDialog>(p, TDialogKind::WallProperties);
    QCOMPARE(p.form->Document().Model().FreeHeight, 240.0L);
    QCOMPARE(p.form->Document().Model().TopSurcharge, 2.0L);  // lbs/in^2
    QCOMPARE(wall->Edit(4)->text(), QStringLiteral("20"));

    // Other units with the dialog open: it shows the converted values and labels.
    typeInto(wall->Edit(1), QStringLiteral("6"));
    p.trigger(TCommand::UnitsSI);
    QCOMPARE(p.form->Document().Model().UnitSystem(), 2);
    QCOMPARE(p.form->Document().Model().IncrementLength, 6.0L * 0.0254L);  // the typed value was kept
    QCOMPARE(wall->Edit(1)->LabelText(), QStringLiteral("Increment Length (m)"));
    QCOMPARE(wall->Edit(1)->text(), app::widgets::FormatNumber(6.0L * 0.0254L));
    QCOMPARE(wall->Edit(4)->LabelText(), QStringLiteral("Free Height of Wall (m)"));
    QCOMPARE(wall->Edit(4)->text(), app::widgets::FormatNumber(p.form->Document().Model().FreeHeight));
}

void EditorsTest::cellValidationAndRowButtons() {
    Program p;
    p.form->show();
    p.trigger(TCommand::ApplyPYModification);
    p.trigger(TCommand::PYModification);
    auto& table = p.form->Document().Tables().PYMod;
    TTableForm* form = editorOf(p, table);
    QVERIFY(form);
    QCOMPARE(table.RowCount(), 2);
    QVERIFY(!form->AddButton()->isHidden());

    typeCell(form, 0, 0, QStringLiteral("abc"));
    QCOMPARE(p.lastMessage(),
             QStringLiteral("Entry could not be evaluated:\rinvalid character(s) in expression"));
    QCOMPARE(table.Column(0).FloatAt(0), 0.0L);
    QVERIFY(!form->CommitCell());  // still invalid: refused again
    QTRY_COMPARE(form->Grid()->currentRow(), 0);
    typeCell(form, 0, 0, QStringLiteral("2*3"));
    QCOMPARE(table.Column(0).FloatAt(0), 6.0L);
    QVERIFY(form->CommitCell());
    // Enter moved down a row.
    QCOMPARE(form->Grid()->currentRow(), 1);

    // Insert before the first row, delete the last.
    form->Grid()->setCurrentCell(0, 1);
    form->InsertButton()->click();
    QCOMPARE(table.RowCount(), 3);
    QCOMPARE(table.Column(0).FloatAt(1), 6.0L);
    form->Grid()->setCurrentCell(2, 0);
    form->DeleteButton()->click();
    QCOMPARE(table.RowCount(), 2);
    form->Grid()->setCurrentCell(1, 0);
    form->DeleteButton()->click();  // at MinRows: nothing more is deleted
    QCOMPARE(table.RowCount(), 2);
    QVERIFY(!form->DeleteButton()->isEnabled());
    form->Grid()->setCurrentCell(-1, -1);
    form->InsertButton()->click();
    QCOMPARE(p.lastMessage(), QString::fromLatin1(kRowRangeMessage));
    form->AddButton()->click();
    QCOMPARE(table.RowCount(), 3);

    // Soil parameter tables (2 and 2 rows) have no row buttons.
    p.trigger(TCommand::SoilLayers);
    TTableForm* soil = editorOf(p, p.form->Document().Tables().NewSoil);
    QVERIFY(soil);
    qobject_cast<QPushButton*>(soil->Grid()->cellWidget(0, 2))->click();
    TTableForm* nested = editorOf(p, *p.form->Document().Tables().NewSoil.Column(2).TableAt(0));
    QVERIFY(nested);
    QVERIFY(nested->AddButton()->isHidden());
    QVERIFY(nested->DeleteButton()->isHidden());
    QCOMPARE(nested->windowTitle(), QStringLiteral("Clay 1"));
}

void EditorsTest::soilTypeChangeRebuildsOnlyItsNestedTable() {
    Program p;
    p.form->show();
    p.trigger(TCommand::SoilLayers);
    auto& soil = p.form->Document().Tables().NewSoil;
    TTableForm* form = editorOf(p, soil);
    QVERIFY(form);
    form->AddButton()->click();
    QCOMPARE(soil.RowCount(), 2);
    typeCell(form, 1, 1, QStringLiteral("30"));
    QCOMPARE(soil.Column(1).FloatAt(1), 30.0L);
    TGridTable* secondBefore = soil.Column(2).TableAt(1);
    secondBefore->Column(0).SetText(0, "110");

    auto* box = qobject_cast<QComboBox*>(form->Grid()->cellWidget(0, 0));
    QVERIFY(box);
    box->setFocus();
    for (int k = 0; k < 3; ++k)
        QTest::keyClick(box, Qt::Key_Down);  // Soft Clay → Sand
    QCoreApplication::processEvents();
    QCOMPARE(soil.Column(0).IntAt(0), 4);
    QCOMPARE(soil.Column(2).TableAt(0)->Caption(), std::string("Sand"));
    QCOMPARE(soil.Column(2).TableAt(1), secondBefore);  // the other row keeps its table and values
    QCOMPARE(secondBefore->Column(0).FloatAt(0), 110.0L);
    QCOMPARE(soil.Column(1).FloatAt(1), 30.0L);
    auto* button = qobject_cast<QPushButton*>(form->Grid()->cellWidget(0, 2));
    QTRY_VERIFY(button && button->text() == QStringLiteral("1: Sand"));
}

void EditorsTest::pasteIntoACurveAndARefusedPaste() {
    Program p;
    p.form->show();
    p.trigger(TCommand::ApplyExternalPY);
    p.trigger(TCommand::ExternalPY);
    auto& sets = p.form->Document().Tables().PYCurves2;
    TTableForm* setsForm = editorOf(p, sets);
    QVERIFY(setsForm);
    qobject_cast<QPushButton*>(setsForm->Grid()->cellWidget(0, 1))->click();
    auto* curve = dynamic_cast<TTableChartForm*>(editorOf(p, *sets.Column(1).TableAt(0)));
    QVERIFY(curve);
    QVERIFY(curve->Preview());
    curve->Table().SetRowCount(4);
    curve->Rebuild();

    QApplication::clipboard()->setText(QStringLiteral("0.1,200\r\n0.2 400\r\nabc\r\n"));
    curve->findChild<QPushButton*>(QStringLiteral("Paste"))->click();
    QCOMPARE(curve->Table().RowCount(), 2);
    QCOMPARE(curve->Table().Column(0).FloatAt(1), 0.2L);
    QCOMPARE(curve->Table().Column(1).FloatAt(1), 400.0L);
    QCOMPARE(curve->Grid()->rowCount(), 2);

    p.dialogs->messages.clear();
    QApplication::clipboard()->setText(QStringLiteral("1 2 3\r\n4 5 6\r\n"));
    curve->findChild<QPushButton*>(QStringLiteral("Paste"))->click();
    QCOMPARE(p.dialogs->messages.size(), 1);
    QVERIFY(p.lastMessage().contains(QStringLiteral("nothing was changed")));
    QCOMPARE(curve->Table().RowCount(), 2);
    QCOMPARE(curve->Table().Column(1).FloatAt(0), 200.0L);

    // A number beyond what a data file holds ended the program once: refused, nothing changed.
    p.dialogs->messages.clear();
    QApplication::clipboard()->setText(QStringLiteral("1e999 7\r\n"));
    curve->findChild<QPushButton*>(QStringLiteral("Paste"))->click();
    QVERIFY(p.lastMessage().contains(QStringLiteral("nothing was changed")));
    QCOMPARE(curve->Table().Column(1).FloatAt(0), 200.0L);
    // The largest finite numbers are taken and drawn.
    QApplication::clipboard()->setText(QStringLiteral("1e300 7\r\n-1e300 8\r\n"));
    curve->findChild<QPushButton*>(QStringLiteral("Paste"))->click();
    QCOMPARE(curve->Table().Column(0).FloatAt(0), 1e300L);
    (void)curve->grab();

    QApplication::clipboard()->clear();
    curve->findChild<QPushButton*>(QStringLiteral("Paste"))->click();
    QCOMPARE(p.lastMessage(), QString::fromLatin1(kNoClipboardTextMessage));

    // From a file: the buttons wait for a file that exists.
    QTemporaryDir folder;
    const QString points = folder.filePath(QStringLiteral("curve.txt"));
    auto* read = curve->findChild<QPushButton*>(QStringLiteral("ReadFile"));
    QVERIFY(read);
    curve->FileNameEdit()->setText(points);
    QVERIFY(!read->isEnabled());
    {
        QFile text(points);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("y p\n-1 30\n0 0\n1 -30\n");
    }
    curve->FileNameEdit()->clear();
    QTest::keyClicks(curve->FileNameEdit(), points);
    QVERIFY(read->isEnabled());
    read->click();
    QCOMPARE(curve->Table().RowCount(), 3);
    QCOMPARE(curve->Table().Column(1).FloatAt(2), -30.0L);

    // The preview draws the curve: its colour is on the picture.
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    curve->Preview()->Paint(painter, image.rect());
    painter.end();
    int curvePixels = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == QColor(30, 80, 200)) ++curvePixels;
    QVERIFY(curvePixels > 50);
}

void EditorsTest::everyDialogOnEveryExampleLeavesTheFileAlone() {
    QTemporaryDir folder;
    const TCommand data[] = {TCommand::Title,
                             TCommand::WallProperties,
                             TCommand::WallConfiguration,
                             TCommand::SoilLayers,
                             TCommand::SoilLayersShort,
                             TCommand::SoilLayersLong,
                             TCommand::DistributedPressure,
                             TCommand::DistributedShort,
                             TCommand::DistributedLong,
                             TCommand::Surcharge,
                             TCommand::ConcentratedLoads,
                             TCommand::Tiebacks,
                             TCommand::Restraints,
                             TCommand::PYModification,
                             TCommand::ExternalPY,
                             TCommand::Springs,
                             TCommand::MomentEI};
    for (const QString& name : exampleNames()) {
        Program p;
        p.form->show();
        const QString file = copyExample(folder, name);
        p.open(file);
        p.named("FileSave")->trigger();  // the file as this program writes it
        const QString before = fileText(file);
        int opened = 0;
        for (TCommand command : data) {
            QAction* action = p.action(command);
            if (!action->isEnabled() || !action->isVisible()) continue;
            action->trigger();
            ++opened;
        }
        QVERIFY2(opened >= 4, qPrintable(name));
        QVERIFY(p.form->MdiArea()->subWindowList().size() >= 3);
        p.form->MdiArea()->closeAllSubWindows();
        QCOMPARE(p.form->MdiArea()->subWindowList().size(), 0);
        QVERIFY2(!p.form->Document().WindowChanged(), qPrintable(name));
        p.named("FileSave")->trigger();
        QVERIFY2(fileText(file) == before, qPrintable(name));
    }
}

void EditorsTest::aWallBuiltFromNothingSavesAndRuns() {
    QTemporaryDir folder;
    Program p;
    p.form->show();
    auto& t = p.form->Document().Tables();

    p.trigger(TCommand::Title);
    auto* title = dialog<TDlgTitle>(p, TDialogKind::Title);
    QVERIFY(title);
    title->TitleEdit()->setFocus();
    title->TitleEdit()->selectAll();
    QTest::keyClicks(title->TitleEdit(), QStringLiteral("Hand-built cantilever with a tieback"));

    p.trigger(TCommand::WallProperties);
    auto* wall = dialog<TDataDialog>(p, TDialogKind::WallProperties);
    QVERIFY(wall);
    typeInto(wall->Edit(0), QStringLiteral("40"));
    typeInto(wall->Edit(1), QStringLiteral("6"));
    typeInto(wall->Edit(2), QStringLiteral("10"));
    typeInto(wall->Edit(3), QStringLiteral("0.001"));
    wall->findChild<QPushButton*>(QStringLiteral("SectionData"))->click();
    TTableForm* stiffness = editorOf(p, t.PileSect);
    QVERIFY(stiffness);
    // The choice column is wide enough for its longest choice.
    {
        const auto& choices = static_cast<const app::model::TEnumColumn&>(t.PileSect.Column(2)).Choices();
        const QFontMetrics metrics(stiffness->Grid()->font());
        int longest = 0;
        for (const std::string& choice : choices)
            longest = std::max(longest, metrics.horizontalAdvance(QString::fromStdString(choice)));
        QVERIFY(longest > 0);
        QVERIFY2(stiffness->Grid()->columnWidth(2) >= longest + 20,
                 qPrintable(QStringLiteral("%1 for %2").arg(stiffness->Grid()->columnWidth(2)).arg(longest)));
    }
    typeCell(stiffness, 0, 0, QStringLiteral("0"));
    typeCell(stiffness, 0, 1, QStringLiteral("40"));
    typeCell(stiffness, 0, 3, QStringLiteral("1e10"));

    p.trigger(TCommand::WallConfiguration);
    auto* configuration = dialog<TDataDialog>(p, TDialogKind::WallConfiguration);
    QVERIFY(configuration);
    typeInto(configuration->Edit(0), QStringLiteral("10"));
    typeInto(configuration->Edit(1), QStringLiteral("12"));
    typeInto(configuration->Edit(2), QStringLiteral("12"));
    typeInto(configuration->Edit(3), QStringLiteral("25"));
    typeInto(configuration->Edit(4), QStringLiteral("25"));

    p.trigger(TCommand::SoilLayers);
    TTableForm* soil = editorOf(p, t.NewSoil);
    QVERIFY(soil);
    auto* type = qobject_cast<QComboBox*>(soil->Grid()->cellWidget(0, 0));
    QVERIFY(type);
    type->setFocus();
    for (int k = 0; k < 3; ++k)
        QTest::keyClick(type, Qt::Key_Down);
    QCoreApplication::processEvents();
    typeCell(soil, 0, 1, QStringLiteral("30"));
    qobject_cast<QPushButton*>(soil->Grid()->cellWidget(0, 2))->click();
    TTableForm* sand = editorOf(p, *t.NewSoil.Column(2).TableAt(0));
    QVERIFY(sand);
    for (int row = 0; row < 2; ++row) {
        typeCell(sand, row, 0, QStringLiteral("120"));
        typeCell(sand, row, 1, QStringLiteral("32"));
        typeCell(sand, row, 2, QStringLiteral("90"));
    }

    p.trigger(TCommand::ApplyTiebacks);
    p.trigger(TCommand::Tiebacks);
    auto* tiebacks = dialog<TDlgTableLink>(p, TDialogKind::Tiebacks);
    QVERIFY(tiebacks);
    tiebacks->TableButton()->click();
    TTableForm* tieback = editorOf(p, t.TiebackTable1);
    QVERIFY(tieback);
    const QString tiebackRow[] = {QStringLiteral("3"),  QStringLiteral("1.5"), QStringLiteral("29e6"),
                                  QStringLiteral("15"), QStringLiteral("15"),  QStringLiteral("8")};
    for (int c = 0; c < 6; ++c)
        typeCell(tieback, 0, c, tiebackRow[c]);

    QVERIFY(!p.action(TCommand::ConcentratedLoads)->isEnabled());  // the option comes first
    p.trigger(TCommand::ApplyConcentratedLoads);
    p.trigger(TCommand::ConcentratedLoads);
    auto* loads = dialog<TDlgTableLink>(p, TDialogKind::ConcentratedLoads);
    QVERIFY(loads);
    QVERIFY(loads->OptionBox()->isChecked());
    loads->TableButton()->click();
    QVERIFY(t.BoundCond.IsEditorOpen());
    loads->OptionBox()->click();  // cleared: the option goes off and closes the table's editor
    QVERIFY(!p.form->Document().Model().ApplyConcentratedLoads);
    QVERIFY(!loads->TableButton()->isEnabled());
    QVERIFY(!t.BoundCond.IsEditorOpen());
    loads->OptionBox()->click();
    QVERIFY(loads->TableButton()->isEnabled());
    loads->TableButton()->click();
    TTableForm* load = editorOf(p, t.BoundCond);
    QVERIFY(load);
    typeCell(load, 0, 1, QStringLiteral("0"));
    typeCell(load, 0, 2, QStringLiteral("0"));
    typeCell(load, 0, 3, QStringLiteral("1000"));

    p.trigger(TCommand::ApplySprings);
    p.trigger(TCommand::Springs);
    auto* springs = dialog<TDlgTableLink>(p, TDialogKind::Springs);
    QVERIFY(springs);
    QVERIFY(springs->OptionBox()->isChecked());
    springs->TableButton()->click();
    TTableForm* spring = editorOf(p, t.SoilStrength);
    QVERIFY(spring);
    typeCell(spring, 0, 1, QStringLiteral("40"));
    typeCell(spring, 0, 2, QStringLiteral("40"));
    typeCell(spring, 0, 3, QStringLiteral("100"));

    p.trigger(TCommand::ApplyExternalPY);
    p.trigger(TCommand::ExternalPY);
    TTableForm* sets = editorOf(p, t.PYCurves2);
    QVERIFY(sets);
    typeCell(sets, 0, 0, QStringLiteral("20"));
    typeCell(sets, 1, 0, QStringLiteral("30"));
    qobject_cast<QPushButton*>(sets->Grid()->cellWidget(0, 1))->click();
    auto* first = dynamic_cast<TTableChartForm*>(editorOf(p, *t.PYCurves2.Column(1).TableAt(0)));
    QVERIFY(first);
    QApplication::clipboard()->setText(QStringLiteral("-1,100\r\n0 0\r\n1 -100\r\n"));
    first->findChild<QPushButton*>(QStringLiteral("Paste"))->click();
    qobject_cast<QPushButton*>(sets->Grid()->cellWidget(1, 1))->click();
    TTableForm* second = editorOf(p, *t.PYCurves2.Column(1).TableAt(1));
    QVERIFY(second);
    typeCell(second, 0, 0, QStringLiteral("-1"));
    typeCell(second, 0, 1, QStringLiteral("50"));
    typeCell(second, 1, 0, QStringLiteral("1"));
    typeCell(second, 1, 1, QStringLiteral("-50"));

    const QString file = folder.filePath(QStringLiteral("hand built.dn5d"));
    p.dialogs->saves.push_back(file.toStdString());
    p.named("FileSave")->trigger();
    QCOMPARE(records(fileText(file)),
             records(fileText(QStringLiteral(DRENOK_UI_TEST_DATA "/hand_built_wall.dn5d"))));

    p.dialogs->messages.clear();
    p.trigger(TCommand::RunAnalysis);
    QCOMPARE(p.dialogs->messages, QStringList{QString::fromLatin1(app::session::kCompletedMessage)});
    QVERIFY(p.form->Document().ResultsAvailable());
    const QString report = fileText(
        QString::fromStdString(app::model::RunFilePath(file.toStdString(), app::model::kReportExtension)));
    QVERIFY(report.contains(QStringLiteral("Hand-built cantilever with a tieback")));
    QVERIFY(report.contains(QStringLiteral("END OF ANALYSIS")));
    QVERIFY(!report.contains(QStringLiteral("ERROR")));
    // The values as entered: increments, their length, the stiffness, the sand, the tieback at node 6.
    QVERIFY(report.contains(QRegularExpression(QStringLiteral("NUMBER OF INCREMENTS\\s+=\\s+40\\b"))));
    QVERIFY(report.contains(QRegularExpression(QStringLiteral("INCREMENT LENGTH\\s+=\\s+6\\.000 IN"))));
    QVERIFY(report.contains(QStringLiteral("THE SOIL IS A SAND")));
    QVERIFY(report.contains(QRegularExpression(QStringLiteral("\\n\\s+6\\s+6\\s+0\\s+0\\.100E\\+11"))));
}

// Edit > Undo through the real windows: a value typed in a dialog and a cell typed in a table, both
// undone, and the saved file is the file as it was, byte for byte; Redo brings the cell back.
void EditorsTest::undoOfADialogAndATableGivesTheFileBack() {
    QTemporaryDir folder;
    Program p;
    p.form->show();
    const QString file = copyExample(folder, QStringLiteral("sand_cantilever_triangular.dn5d"));
    p.open(file);
    p.named("FileSave")->trigger();  // the program's own number format
    QFile before(file);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray original = before.readAll();
    before.close();
    auto& t = p.form->Document().Tables();
    QVERIFY(!p.named("EditUndo")->isEnabled());

    p.trigger(TCommand::WallProperties);
    auto* wall = dialog<TDataDialog>(p, TDialogKind::WallProperties);
    QVERIFY(wall);
    typeInto(wall->Edit(2), QStringLiteral("12"));  // the allowable deflection
    wall->findChild<QPushButton*>(QStringLiteral("SectionData"))->click();
    TTableForm* stiffness = editorOf(p, t.PileSect);
    QVERIFY(stiffness);
    typeCell(stiffness, 0, 3, QStringLiteral("3e9"));
    p.trigger(TCommand::Title);  // another command: the table's edit is taken
    QVERIFY(p.form->Document().IsChanged());
    QVERIFY(p.named("EditUndo")->isEnabled());

    p.named("EditUndo")->trigger();
    QCOMPARE(static_cast<double>(t.PileSect.Cell(3, 0).AsFloat()), 2.45e9);
    p.named("EditUndo")->trigger();
    QCOMPARE(static_cast<double>(p.form->Document().Model().MaxDeflection), 50.0);
    QVERIFY(!p.form->Document().IsChanged());
    QVERIFY(p.named("EditRedo")->isEnabled());
    p.named("FileSave")->trigger();
    QFile after(file);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), original);

    p.named("EditRedo")->trigger();
    QCOMPARE(static_cast<double>(p.form->Document().Model().MaxDeflection), 12.0);
    QVERIFY(p.form->Document().IsChanged());
}

QTEST_MAIN(EditorsTest)
#include "editors_test.moc"
