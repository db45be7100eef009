#include "app/model/grid_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/model/expression.h"
#include "app/model/grid_table_chart.h"
#include "app/model/units.h"

namespace app::model {
namespace {

constexpr long double kForce = 224.8089237L;
constexpr long double kFoot = 3.280839895L;

std::string refusal(const TData& cell, const std::string& text) {
    try {
        const_cast<TData&>(cell).SetText(text);
    } catch (const EAssignError& e) {
        return e.what();
    }
    return "accepted";
}

template <class F>
std::string errorOf(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

TFloatColumn& addFloat(TGridTable& table, const std::string& caption, const std::string& label,
                       long double defaultValue = 0.0L) {
    auto& column = table.AddColumn<TFloatColumn>(kFloatColumn);
    column.Captions() = {caption};
    column.SetUnitLabel(label);
    column.SetDefault(defaultValue);
    return column;
}

// Records what the model asks of the user interface.
struct FakeEditors {
    struct Editor : TTableEditor {
        FakeEditors* owner;
        TGridTable* table;
        Editor(FakeEditors* o, TGridTable* t) : owner(o), table(t) {}
        void Close() override { owner->closed.push_back(table->Caption()); }
        void Activate() override { ++owner->activations; }
    };
    std::vector<std::pair<std::string, TEditorMode>> opened;
    std::vector<std::string> closed;
    int activations = 0;
    std::function<void(TGridTable&)> whileModal;

    TEditorFactory factory() {
        return [this](TGridTable& table, TEditorMode mode) -> std::unique_ptr<TTableEditor> {
            opened.emplace_back(table.Caption(), mode);
            if (mode == TEditorMode::Modal) {
                if (whileModal) whileModal(table);
                return nullptr;  // ran to its end
            }
            return std::make_unique<Editor>(this, &table);
        };
    }
};

// The soil-layer table with its parameter templates, as the main window builds them.
struct SoilTables {
    TGridTableRegistry registry;
    TGridTable clay{registry}, sand{registry}, weakRock{registry}, layers{registry};

    SoilTables() {
        auto makeTemplate = [](TGridTable& t, int id, const char* caption, std::vector<const char*> labels) {
            t.SetIdentifier(id);
            t.SetCaption(caption);
            t.SetMinRows(2);
            t.SetMaxRows(2);
            for (const char* label : labels)
                addFloat(t, "parameter", label);
        };
        makeTemplate(clay, 18, "Clay", {"F/L2^3", "F/L2^2", "", "F/L^3", ""});
        makeTemplate(sand, 17, "Sand", {"F/L2^3", "", "F/L^3", ""});
        makeTemplate(weakRock, 31, "Weak Rock", {"F/L2^3", "F/L^2", "", "F/L^2", ""});
        layers.SetIdentifier(19);
        layers.SetCaption("Soil Layers");
        layers.SetMaxRows(10);
        auto& type = layers.AddColumn<TEnumColumn>(kEnumColumn);
        type.SetChoices({"Soft Clay", "Stiff Clay with Free Water", "Stiff Clay w/o Free Water", "Sand",
                         "Silt (c-phi soil)", "Strong Rock", "Weak Rock"});
        addFloat(layers, "Depth at Bottom of the Layer", "L2");
        auto& nested = layers.AddColumn<TTableColumn>(kTableColumn);
        const int templates[] = {18, 18, 18, 17, 29, 30, 31};
        for (int i = 0; i < 7; ++i)
            nested.Templates().Set(i, TIntWrapper::Identifier(templates[i]));
    }
};

TEST(GridTableNesting, SoilTypeChoosesAndReplacesTheParameterTable) {
    SoilTables s;
    s.layers.AddRows();
    TData& type = s.layers.Cell(0, 0);
    ASSERT_EQ(s.layers.Column(2).Kind(), kTableColumn);
    EXPECT_EQ(dynamic_cast<TTableColumn&>(s.layers.Column(2)).Templates().Count(), 7);
    EXPECT_EQ(s.layers.Cell(2, 0).AsTable()->Caption(), "Clay");  // new rows hold choice 1

    type.SetText("4");
    TGridTable* sand = s.layers.Cell(2, 0).AsTable();
    ASSERT_NE(sand, nullptr);
    EXPECT_EQ(sand->Caption(), "Sand");
    EXPECT_EQ(sand->RowCount(), 2);
    EXPECT_EQ(sand->ColumnCount(), 4);
    EXPECT_NE(sand, &s.sand);
    EXPECT_EQ(sand->Parent(), &s.layers);

    // Committing the same choice again keeps what was entered in the parameter table.
    sand->Cell(0, 1).SetFloat(110);
    type.SetText("4");
    EXPECT_EQ(s.layers.Cell(2, 0).AsTable(), sand);
    EXPECT_EQ(sand->Cell(0, 1).AsFloat(), 110);

    type.SetInt(7);
    TGridTable* rock = s.layers.Cell(2, 0).AsTable();
    ASSERT_NE(rock, nullptr);
    EXPECT_EQ(rock->Caption(), "Weak Rock");
    EXPECT_EQ(rock->ColumnCount(), 5);
    EXPECT_EQ(rock->Cell(0, 1).AsFloat(), 0);

    // Silt has no template in this registry: no table, and the button still has a caption.
    type.SetInt(5);
    EXPECT_EQ(s.layers.Cell(2, 0).AsTable(), nullptr);
    auto& nested = dynamic_cast<TTableColumn&>(s.layers.Column(2));
    EXPECT_EQ(nested.ButtonCaption(0), "1: ");
}

TEST(GridTableNesting, RowNumbersTitlesAndInheritedUnits) {
    SoilTables s;
    s.layers.SetUnits(kUnitsSI);
    s.layers.SetRowCount(2);
    s.layers.Cell(0, 1).SetInt(4);
    TGridTable* second = s.layers.Cell(2, 1).AsTable();
    EXPECT_EQ(second->ParentRow(), 2);
    EXPECT_EQ(second->EditorTitle(), "Sand 2");
    EXPECT_EQ(second->Units(), kUnitsSI);  // inherited from the owner, not the template's 1

    s.layers.InsertRows(0);
    EXPECT_EQ(s.layers.Cell(2, 2).AsTable(), second);
    EXPECT_EQ(second->EditorTitle(), "Sand 3");
    auto& nested = dynamic_cast<TTableColumn&>(s.layers.Column(2));
    EXPECT_EQ(nested.ButtonCaption(2), "3: Sand");
    s.layers.DeleteRows(0);
    s.layers.DeleteRows(0);
    EXPECT_EQ(second->ParentRow(), 1);

    // Two levels: the outermost row number comes first.
    TGridTableRegistry registry;
    TGridTable inner(registry), middle(registry), outer(registry);
    inner.SetCaption("Inner");
    addFloat(inner, "x", "");
    middle.SetCaption("Middle");
    middle.SetMinRows(3);
    middle.AddColumn<TTableColumn>(kTableColumn).Templates().Add(TIntWrapper::Identifier(inner.Identifier()));
    outer.AddColumn<TTableColumn>(kTableColumn).Templates().Add(TIntWrapper::Identifier(middle.Identifier()));
    outer.SetRowCount(2);
    TGridTable* m = outer.Cell(0, 1).AsTable();
    ASSERT_EQ(m->RowCount(), 3);
    EXPECT_EQ(m->Cell(0, 2).AsTable()->EditorTitle(), "Inner 2 3");
}

TEST(GridTableNesting, SelfNestingTemplateStopsAndChartTablesNestOnlyChartTables) {
    TGridTableRegistry registry;
    TGridTable loop(registry);
    loop.AddColumn<TTableColumn>(kTableColumn).Templates().Add(TIntWrapper::Identifier(loop.Identifier()));
    loop.SetRowCount(1);
    int depth = 0;
    for (TGridTable* t = loop.Cell(0, 0).AsTable(); t != nullptr; t = t->Cell(0, 0).AsTable())
        ++depth;
    EXPECT_GT(depth, 0);
    EXPECT_LT(depth, 20);

    // A plain template in the chart registry is not nested by a chart table.
    TGridTableRegistry charts;
    TGridTable plain(charts);
    TGridTableChart curve(charts), sets(charts);
    curve.SetCaption("External p-y Curve");
    curve.SetMinRows(2);
    curve.SetGetDataFromFile(true);
    curve.SetGraphicParameters({true, false, 0, 1, 0, 0});
    addFloat(curve, "Lateral Deflection, y (*)", "L");
    addFloat(curve, "Soil Resistance, p", "F/L");
    sets.AddColumn(kIntColumn);
    auto& nested = sets.AddColumn<TTableColumn>(kTableColumn);
    nested.Templates().Add(TIntWrapper::Identifier(curve.Identifier()));
    sets.SetRowCount(1);
    auto* copy = dynamic_cast<TGridTableChart*>(sets.Cell(1, 0).AsTable());
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->GetDataFromFile());
    EXPECT_EQ(copy->GraphicParameters(), curve.GraphicParameters());
    EXPECT_EQ(copy->RowCount(), 2);
    EXPECT_NE(dynamic_cast<TFloatColumnChart*>(&copy->Column(0)), nullptr);

    nested.Templates().Set(0, TIntWrapper::Identifier(plain.Identifier()));
    nested.Rebuild(0);
    EXPECT_EQ(sets.Cell(1, 0).AsTable(), nullptr);
}

TEST(UnitLabels, TextsPerUnitSystem) {
    struct Case {
        const char* label;
        int units;
        const char* text;
    };
    const Case cases[] = {
        {"F/L2^3", kUnitsEnglish, "lbs/ft^3"},
        {"F/L2^3", kUnitsSI, "kN/m^3"},
        {"F/L2^3", kUnitsOther, "F/L^3"},
        {"F-L^2", kUnitsSI, "kN-m^2"},
        {"F-L^2", kUnitsEnglish, "lbs-in^2"},
        {"F1/L1", kUnitsEnglish, "kips/in"},
        {"F2/L1", kUnitsSI, "kN/mm"},
        {"F-L/RAD.", kUnitsEnglish, "lbs-in/RAD."},
        {"F4", kUnitsEnglish, "lb-sec2/in"},
        {"F4", kUnitsOther, "M"},
        {"L3", kUnitsSI, "rad"},
        {"SEE NOTES", kUnitsSI, "SEE NOTES"},
        {"", kUnitsEnglish, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.label) + " in " + std::to_string(c.units));
        EXPECT_EQ(UnitText(c.label, c.units), c.text);
    }

    TGridTableRegistry registry;
    TGridTable table(registry);
    auto& weight = addFloat(table, "Total Unit Weight", "F/L2^3");
    auto& ratio = addFloat(table, "Ratio", "");
    weight.Captions() = {"Total", "Unit Weight"};
    EXPECT_EQ(weight.CaptionLine(0), "Total");
    EXPECT_EQ(weight.CaptionLine(1), "Unit Weight (lbs/ft^3)  ");
    table.SetUnits(kUnitsSI);
    EXPECT_EQ(weight.CaptionLine(1), "Unit Weight (kN/m^3)  ");
    EXPECT_EQ(ratio.CaptionLine(0), "Ratio");
}

TEST(UnitLabels, Factors) {
    const long double unitWeight = UnitFactor("F/L2^3");
    EXPECT_NEAR(static_cast<double>(unitWeight / (kForce / (kFoot * kFoot * kFoot))), 1.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(unitWeight), 6.365879805, 1e-8);
    EXPECT_NEAR(static_cast<double>(UnitFactor("F-L^2") / (kForce * 39.37007874L * 39.37007874L)), 1.0,
                1e-15);
    EXPECT_NEAR(static_cast<double>(UnitFactor("L1")), 0.03937007874, 1e-15);
    EXPECT_NEAR(static_cast<double>(UnitFactor("F1/L2")), 0.2248089237 / 3.280839895, 1e-15);
    EXPECT_NEAR(static_cast<double>(UnitFactor("F-L/RAD.")), 224.8089237 * 39.37007874, 1e-9);
    for (const char* neutral : {"DEG.", "SEE NOTES", "", "L3", "F5"}) {
        SCOPED_TRACE(neutral);
        EXPECT_EQ(UnitFactor(neutral), 1.0L);
    }
}

TEST(UnitConversion, BothWaysNestedAndTheOtherSystem) {
    TGridTableRegistry registry;
    TGridTable table(registry);
    addFloat(table, "Unit weight", "F/L2^3");
    addFloat(table, "Angle", "DEG.");
    auto& count = table.AddColumn<TIntColumn>(kIntColumn);
    count.SetDefault(5);
    table.SetUnits(kUnitsSI);
    table.SetRowCount(1);
    table.Cell(0, 0).SetFloat(100);
    table.Cell(1, 0).SetFloat(30);
    table.ResetChanged();

    table.SetUnits(kUnitsEnglish);
    const long double expected = 100.0L * kForce / (kFoot * kFoot * kFoot);
    EXPECT_NEAR(static_cast<double>(table.Cell(0, 0).AsFloat() / expected), 1.0, 1e-15);
    EXPECT_EQ(table.Cell(1, 0).AsFloat(), 30);
    EXPECT_EQ(table.Cell(2, 0).AsInt(), 5);
    EXPECT_TRUE(table.IsChanged());

    table.SetUnits(kUnitsSI);
    EXPECT_NEAR(static_cast<double>(table.Cell(0, 0).AsFloat()), 100.0, 1e-12);

    // Unchanged system: nothing happens, not even the changed flag.
    table.ResetChanged();
    table.SetUnits(kUnitsSI);
    EXPECT_FALSE(table.IsChanged());

    // Through the other system: both steps leave values, the system is still recorded.
    const long double before = table.Cell(0, 0).AsFloat();
    table.SetUnits(kUnitsOther);
    EXPECT_EQ(table.Units(), kUnitsOther);
    EXPECT_EQ(table.Cell(0, 0).AsFloat(), before);
    table.SetUnits(kUnitsEnglish);
    EXPECT_EQ(table.Cell(0, 0).AsFloat(), before);
    EXPECT_EQ(table.Units(), kUnitsEnglish);

    // Nested tables convert with their owner.
    SoilTables s;
    s.layers.SetRowCount(1);
    s.layers.Cell(0, 0).SetInt(4);
    s.layers.Cell(1, 0).SetFloat(10);
    TGridTable* sand = s.layers.Cell(2, 0).AsTable();
    sand->Cell(0, 0).SetFloat(120);
    s.layers.SetUnits(kUnitsSI);
    EXPECT_NEAR(static_cast<double>(s.layers.Cell(1, 0).AsFloat()), 10 / 3.280839895, 1e-12);
    EXPECT_NEAR(static_cast<double>(sand->Cell(0, 0).AsFloat()), 120 / 6.365879805, 1e-7);
    EXPECT_EQ(sand->Units(), kUnitsSI);
}

TEST(CellValidation, IntegerCells) {
    TGridTableRegistry registry;
    FakeEditors editors;
    registry.SetEditorFactory(editors.factory());
    TGridTable table(registry);
    table.SetCaption("Nodes");
    auto& node = table.AddColumn<TIntColumn>(kIntColumn);
    node.SetRange(0, 10);
    table.SetRowCount(1);
    TData& cell = table.Cell(0, 0);

    ASSERT_TRUE(table.ShowEditor());
    EXPECT_EQ(refusal(cell, "3.0"), "accepted");
    EXPECT_EQ(cell.AsInt(), 3);
    EXPECT_EQ(refusal(cell, "3.5"), "Entry must be an integer.");
    EXPECT_EQ(refusal(cell, "7/2"), "Entry must be an integer.");
    EXPECT_EQ(cell.AsInt(), 3);  // refusals keep the previous value
    EXPECT_EQ(refusal(cell, "14/2"), "accepted");
    EXPECT_EQ(cell.AsInt(), 7);
    EXPECT_EQ(refusal(cell, "11"), "Entry must be between 0 and 10.");
    EXPECT_EQ(refusal(cell, "-1"), "Entry must be between 0 and 10.");
    EXPECT_EQ(refusal(cell, "2 * 5"), "accepted");
    EXPECT_EQ(cell.AsText(), "10");
    EXPECT_EQ(refusal(cell, "abc"), "Entry could not be evaluated:\rinvalid character(s) in expression");

    // Without an open editor only the evaluation and the integer range apply.
    table.CloseEditor();
    EXPECT_EQ(refusal(cell, "3.6"), "accepted");
    EXPECT_EQ(cell.AsInt(), 4);
    EXPECT_EQ(refusal(cell, "11"), "accepted");
    EXPECT_EQ(cell.AsInt(), 11);
    EXPECT_EQ(refusal(cell, "3000000000"), "Entry must be between 0 and 10.");
    EXPECT_EQ(cell.AsInt(), 11);
}

TEST(CellValidation, EnumerationCells) {
    TGridTableRegistry registry;
    TGridTable table(registry);
    auto& choice = table.AddColumn<TEnumColumn>(kEnumColumn);
    choice.SetChoices({"Point Load", "Line Load", "Strip Load"});
    table.SetRowCount(1);
    TData& cell = table.Cell(0, 0);
    EXPECT_EQ(cell.AsInt(), 1);
    EXPECT_EQ(refusal(cell, "2.5"), "Value must be an integer.");
    EXPECT_EQ(refusal(cell, "3e9"), "Value must be an integer.");
    EXPECT_EQ(refusal(cell, "-2147483649"), "Value must be an integer.");
    EXPECT_EQ(cell.AsInt(), 1);
    EXPECT_EQ(refusal(cell, "6/2"), "accepted");
    EXPECT_EQ(cell.AsText(), "3");
    EXPECT_EQ(refusal(cell, ""), "Entry could not be evaluated:\rentry cannot be blank");
}

TEST(CellValidation, RealCellsThroughTheEvaluatorAndTheirText) {
    TGridTableRegistry registry;
    TGridTable table(registry);
    addFloat(table, "Depth", "L2", 1.5L);
    table.SetRowCount(1);
    TData& cell = table.Cell(0, 0);
    EXPECT_EQ(cell.AsText(), "1.5");
    EXPECT_EQ(refusal(cell, "2*3"), "accepted");
    EXPECT_EQ(cell.AsFloat(), 6);
    EXPECT_EQ(refusal(cell, "letters"), "Entry could not be evaluated:\rinvalid character(s) in expression");
    EXPECT_EQ(refusal(cell, "1/0"), "Entry could not be evaluated:\rinvalid character(s) in expression");
    EXPECT_EQ(refusal(cell, "3+"), "Entry could not be evaluated:\rinvalid expression");
    EXPECT_EQ(cell.AsFloat(), 6);

    struct Case {
        const char* entry;
        const char* shown;
    };
    const Case cases[] = {
        {"1/3", "0.33333333"},    {"123456789", "1.2345679E8"},
        {"12345678", "12345678"}, {"0.00001", "0.00001"},
        {"1e-7", "1E-7"},         {"-2.5", "-2.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        cell.SetText(c.entry);
        EXPECT_EQ(cell.AsText(), c.shown);
    }
    // Beyond double precision a value would be saved as infinity: refused, the cell keeps its value.
    EXPECT_EQ(errorOf([&] { cell.SetText("1e999"); }), kEntryNotFiniteMessage);
    EXPECT_EQ(cell.AsText(), "-2.5");

    // Accessors a kind does not have.
    EXPECT_EQ(errorOf([&] { (void)cell.AsInt(); }), "Data of wrong type");
    EXPECT_EQ(errorOf([&] { (void)cell.AsTable(); }), "Data of wrong type");
}

TEST(GridTableRows, LimitsGroupsAndDefaults) {
    TGridTableRegistry registry;
    TGridTable table(registry);
    auto& number = table.AddColumn<TIntColumn>(kIntColumn);
    number.SetDefault(7);
    addFloat(table, "Value", "", 2.5L);
    auto& name = table.AddColumn<TStringColumn>(kStringColumn);
    name.SetDefaultText("none");
    table.AddColumn<TEnumColumn>(kEnumColumn);

    table.SetRowCount(-3);
    EXPECT_EQ(table.RowCount(), 0);
    table.SetRowCount(2);
    EXPECT_EQ(table.Cell(0, 1).AsInt(), 7);
    EXPECT_EQ(table.Cell(1, 1).AsFloat(), 2.5L);
    EXPECT_EQ(table.Cell(2, 1).AsText(), "none");
    EXPECT_EQ(table.Cell(3, 1).AsInt(), 1);

    // Groups of two: add, insert and delete work on whole groups.
    table.SetRowGroup(2);
    table.SetRowCount(3);
    EXPECT_EQ(table.RowCount(), 3);
    table.AddRows();
    EXPECT_EQ(table.RowCount(), 5);
    for (int r = 0; r < 5; ++r)
        table.Cell(0, r).SetInt(r);
    table.InsertRows(3);  // before the group of rows 2 and 3
    ASSERT_EQ(table.RowCount(), 7);
    EXPECT_EQ(table.Cell(0, 1).AsInt(), 1);
    EXPECT_EQ(table.Cell(0, 2).AsInt(), 7);
    EXPECT_EQ(table.Cell(0, 3).AsInt(), 7);
    EXPECT_EQ(table.Cell(0, 4).AsInt(), 2);
    table.DeleteRows(5);  // rows 4 and 5
    ASSERT_EQ(table.RowCount(), 5);
    EXPECT_EQ(table.Cell(0, 4).AsInt(), 4);
    table.DeleteRows(4);  // the last group is a single row
    EXPECT_EQ(table.RowCount(), 4);
    EXPECT_EQ(errorOf([&] { table.DeleteRows(4); }), "Row index out of range");

    // A shared column sets the whole group of the cell, no more.
    number.SetRowGroupShared(true);
    table.Cell(0, 3).SetInt(42);
    EXPECT_EQ(table.Cell(0, 2).AsInt(), 42);
    EXPECT_EQ(table.Cell(0, 1).AsInt(), 1);
    table.Cell(1, 3).SetFloat(9);
    EXPECT_EQ(table.Cell(1, 2).AsFloat(), 2.5L);

    // Row limits as the editor's buttons see them.
    table.SetMinRows(4);
    table.SetMaxRows(4);
    EXPECT_FALSE(table.CanAddRows());
    EXPECT_FALSE(table.CanDeleteRows());
    table.SetMaxRows(0);  // no upper limit
    EXPECT_TRUE(table.CanAddRows());
    table.SetMinRows(1);
    EXPECT_TRUE(table.CanDeleteRows());

    EXPECT_EQ(errorOf([&] { table.SetMinRows(0); }), "Value must be greater than 0");
    EXPECT_EQ(table.MinRows(), 1);
    table.SetMinRows(3);
    table.SetLoading(true);
    table.SetMinRows(-2);
    EXPECT_EQ(table.MinRows(), 1);
    table.SetRowGroup(0);
    EXPECT_EQ(table.RowGroup(), 1);
}

TEST(GridTableRows, TopBottomDepthPairKeepsLayersContiguous) {
    TGridTableRegistry registry;
    TGridTable table(registry);
    auto& top = addFloat(table, "Top", "L2", -1);
    addFloat(table, "Bottom", "L2", -2);
    top.SetTopDepth(true);
    const int kTop = 0, kBottom = 1;

    table.AddRows();
    EXPECT_EQ(table.Cell(kTop, 0).AsFloat(), -1);  // first row: defaults
    EXPECT_EQ(table.Cell(kBottom, 0).AsFloat(), -2);
    table.Cell(kBottom, 0).SetFloat(10);
    table.AddRows();
    EXPECT_EQ(table.Cell(kTop, 1).AsFloat(), 10);  // the previous bottom
    EXPECT_EQ(table.Cell(kBottom, 1).AsFloat(), -2);
    table.Cell(kBottom, 1).SetFloat(20);
    table.AddRows();
    table.Cell(kBottom, 2).SetFloat(30);

    // Setting a bottom moves the next top; setting a top moves the previous bottom.
    table.Cell(kBottom, 0).SetFloat(12);
    EXPECT_EQ(table.Cell(kTop, 1).AsFloat(), 12);
    table.Cell(kTop, 2).SetFloat(22);
    EXPECT_EQ(table.Cell(kBottom, 1).AsFloat(), 22);
    EXPECT_EQ(table.Cell(kBottom, 2).AsFloat(), 30);

    // An inserted row starts at the previous bottom and ends at the next top.
    table.InsertRows(1);
    EXPECT_EQ(table.Cell(kTop, 1).AsFloat(), 12);
    EXPECT_EQ(table.Cell(kBottom, 1).AsFloat(), 12);
    table.Cell(kBottom, 1).SetFloat(15);
    EXPECT_EQ(table.Cell(kTop, 2).AsFloat(), 15);

    // Deleting an inner row closes the gap with its predecessor's bottom.
    table.DeleteRows(2);  // rows: 12|15 .. 22|30 left with 15 feeding the next top
    ASSERT_EQ(table.RowCount(), 3);
    EXPECT_EQ(table.Cell(kTop, 2).AsFloat(), 15);
    EXPECT_EQ(table.Cell(kBottom, 2).AsFloat(), 30);

    // A top-depth column must be followed by a real column.
    TGridTable broken(registry);
    addFloat(broken, "Top", "L2").SetTopDepth(true);
    broken.AddColumn(kIntColumn);
    EXPECT_EQ(errorOf([&] { broken.AddRows(); }),
              "If column if a topdepth then the next column must be a float column");
    EXPECT_EQ(broken.RowCount(), 0);
}

TEST(GridTableRegistry, IdentifiersStayUnique) {
    TGridTableRegistry registry;
    TGridTable a(registry), b(registry), c(registry);
    EXPECT_EQ(a.Identifier(), 0);
    EXPECT_EQ(b.Identifier(), 1);
    EXPECT_EQ(c.Identifier(), 2);

    a.SetIdentifier(2);  // c takes a's previous identifier
    EXPECT_EQ(a.Identifier(), 2);
    EXPECT_EQ(c.Identifier(), 0);
    a.SetIdentifier(-5);
    EXPECT_EQ(a.Identifier(), 2);
    b.SetIdentifier(4);
    EXPECT_EQ(registry.Find(4), &b);
    EXPECT_EQ(registry.Find(1), nullptr);

    {
        TGridTable d(registry), e(registry);
        EXPECT_EQ(d.Identifier(), 3);
        EXPECT_EQ(e.Identifier(), 5);  // 4 is taken
        EXPECT_EQ(registry.Count(), 5);
        EXPECT_EQ(registry.PositionOf(e), 4);
    }
    EXPECT_EQ(registry.Count(), 3);
    EXPECT_EQ(registry.At(3), nullptr);

    // Separate registries share nothing; clones draw fresh identifiers from theirs.
    TGridTableRegistry other;
    TGridTable first(other);
    EXPECT_EQ(first.Identifier(), 0);
    SoilTables s;
    s.layers.SetRowCount(3);
    std::vector<int> ids;
    for (int i = 0; i < s.registry.Count(); ++i)
        ids.push_back(s.registry.At(i)->Identifier());
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
    EXPECT_EQ(s.registry.Count(), 7);
}

TEST(GridTableChanges, FlagsCoverNestedTables) {
    SoilTables s;
    s.layers.SetRowCount(1);
    EXPECT_TRUE(s.layers.IsChanged());
    s.layers.ResetChanged();
    EXPECT_FALSE(s.layers.IsChanged());
    s.layers.Cell(2, 0).AsTable()->Cell(1, 1).SetText("5");
    EXPECT_TRUE(s.layers.IsChanged());
    s.layers.ResetChanged();
    EXPECT_FALSE(s.layers.Cell(2, 0).AsTable()->IsChanged());
    s.layers.Cell(1, 0).SetText("3");
    EXPECT_TRUE(s.layers.IsChanged());
}

TEST(GridTableEditor, FactoryHookModesAndClosing) {
    SoilTables s;
    FakeEditors editors;
    EXPECT_FALSE(s.layers.ShowEditor());  // no factory installed
    s.registry.SetEditorFactory(editors.factory());

    EXPECT_TRUE(s.layers.ShowEditor());
    EXPECT_EQ(s.layers.RowCount(), 1);  // raised to MinRows on show
    EXPECT_TRUE(s.layers.IsEditorOpen());
    EXPECT_FALSE(s.layers.IsEditorModal());
    EXPECT_TRUE(s.layers.ShowEditor());
    EXPECT_EQ(editors.opened.size(), 1u);
    EXPECT_EQ(editors.activations, 1);

    auto& nested = dynamic_cast<TTableColumn&>(s.layers.Column(2));
    ASSERT_TRUE(nested.OpenEditor(0));
    ASSERT_EQ(editors.opened.size(), 2u);
    EXPECT_EQ(editors.opened[1], std::make_pair(std::string("Clay"), TEditorMode::Child));
    s.layers.CloseEditor();  // nested first, then its own
    EXPECT_EQ(editors.closed, (std::vector<std::string>{"Clay", "Soil Layers"}));
    EXPECT_FALSE(s.layers.IsEditorOpen());

    int fakeWindow = 0;
    s.sand.SetFormParent(&fakeWindow);
    EXPECT_TRUE(s.sand.ShowEditor());
    EXPECT_EQ(editors.opened.back().second, TEditorMode::Embedded);
    s.sand.EditorClosed();
    EXPECT_FALSE(s.sand.IsEditorOpen());

    // A modal editor counts as open while it runs, and its nested editors open modally too.
    bool openDuringRun = false;
    editors.whileModal = [&](TGridTable& table) {
        if (&table != &s.layers) return;
        openDuringRun = table.IsEditorOpen() && table.IsEditorModal();
        nested.OpenEditor(0);
    };
    EXPECT_TRUE(s.layers.ShowEditorModal());
    EXPECT_TRUE(openDuringRun);
    EXPECT_EQ(editors.opened.back(), std::make_pair(std::string("Clay"), TEditorMode::Modal));
    EXPECT_FALSE(s.layers.IsEditorOpen());

    // Refused without a visible column.
    TGridTable hidden(s.registry);
    hidden.AddColumn(kIntColumn).SetVisible(false);
    const size_t before = editors.opened.size();
    EXPECT_FALSE(hidden.ShowEditor());
    EXPECT_FALSE(hidden.ShowEditorModal());
    EXPECT_EQ(editors.opened.size(), before);
}

TEST(GridTableEditor, MinimumWidths) {
    TGridTableRegistry registry;
    TGridTable table(registry);
    table.AddColumn(kEnumColumn).Captions() = {"Type"};
    table.AddColumn(kIntColumn).Captions() = {"A very long caption"};
    addFloat(table, "Depth", "L2");
    table.AddColumn(kTableColumn);
    table.AddColumn<TStringColumn>(kStringColumn).SetWidthInches(1.25L);
    const TTextWidth tenPerChar = [](std::string_view text) { return static_cast<int>(text.size()) * 10; };
    EXPECT_EQ(table.Column(0).MinWidth(96, tenPerChar), 144);
    EXPECT_EQ(table.Column(1).MinWidth(96, tenPerChar), 190);
    EXPECT_EQ(table.Column(2).MinWidth(96, tenPerChar), 120);  // "Depth (ft)  "
    EXPECT_EQ(table.Column(3).MinWidth(96, tenPerChar), 192);
    EXPECT_EQ(table.Column(4).MinWidth(96, tenPerChar), 120);
}

// A table holding every column kind, for the definition stream.
void buildAllKinds(TGridTable& table) {
    auto& choice = table.AddColumn<TEnumColumn>(kEnumColumn);
    choice.Captions() = {"Load", "Types"};
    choice.SetChoices({"Point", "Line", "Strip"});
    auto& node = table.AddColumn<TIntColumn>(kIntColumn);
    node.SetDefault(3);
    node.SetRange(-4, 2147483600);
    node.SetVisible(false);
    auto& top = addFloat(table, "Top", "F/L2^3", 1.0L / 3.0L);
    top.SetTopDepth(true);
    addFloat(table, "Bottom", "", -0.0L).SetRowGroupShared(true);
    auto& nested = table.AddColumn<TTableColumn>(kTableColumn);
    nested.Templates().Set(0, TIntWrapper::Identifier(77));  // not in the registry (yet)
    nested.Templates().Set(2, TIntWrapper::Position(0));
    auto& text = table.AddColumn<TStringColumn>(kStringColumn);
    text.SetDefaultText("note");
    text.SetWidthInches(1.75L);
}

TEST(ColumnDefinitions, RoundTrip) {
    TGridTableRegistry registry;
    TGridTable table(registry);
    table.SetIdentifier(5);
    buildAllKinds(table);
    const std::vector<std::uint8_t> bytes = table.Col();

    TGridTable copy(registry);
    copy.SetRowCount(2);
    copy.SetCol(bytes);
    EXPECT_EQ(copy.Col(), bytes);
    ASSERT_EQ(copy.ColumnCount(), 6);
    EXPECT_EQ(copy.Column(0).Captions(), (std::vector<std::string>{"Load", "Types"}));
    EXPECT_EQ(dynamic_cast<TEnumColumn&>(copy.Column(0)).Choices().size(), 3u);
    auto& node = dynamic_cast<TIntColumn&>(copy.Column(1));
    EXPECT_FALSE(node.Visible());
    EXPECT_EQ(node.Minimum(), -4);
    EXPECT_EQ(node.Maximum(), 2147483600);
    auto& top = dynamic_cast<TFloatColumn&>(copy.Column(2));
    EXPECT_TRUE(top.TopDepth());
    EXPECT_EQ(top.UnitLabel(), "F/L2^3");
    EXPECT_EQ(top.Default(), 1.0L / 3.0L);  // exact, all 64 bits
    EXPECT_TRUE(copy.Column(3).RowGroupShared());
    EXPECT_TRUE(std::signbit(dynamic_cast<TFloatColumn&>(copy.Column(3)).Default()));
    const TGridTableList& templates = dynamic_cast<TTableColumn&>(copy.Column(4)).Templates();
    ASSERT_EQ(templates.Count(), 3);
    EXPECT_EQ(templates.Entry(0), TIntWrapper::Identifier(77));
    EXPECT_EQ(templates.Entry(1), TIntWrapper::Identifier(-1));
    EXPECT_EQ(templates.Entry(2), TIntWrapper::Identifier(5));  // the position, written as its identifier
    auto& text = dynamic_cast<TStringColumn&>(copy.Column(5));
    EXPECT_EQ(text.WidthInches(), 1.75L);

    // The new columns fill the rows the table already had, with their defaults.
    EXPECT_EQ(copy.Cell(1, 1).AsInt(), 3);
    EXPECT_EQ(copy.Cell(5, 0).AsText(), "note");
    EXPECT_EQ(copy.Cell(0, 1).AsInt(), 1);

    // Chart tables add their graphic parameters.
    TGridTableRegistry charts;
    TGridTableChart chart(charts);
    buildAllKinds(chart);
    chart.SetGraphicParameters({true, true, 1, 0, 0, 0});
    TGridTableChart chartCopy(charts);
    chartCopy.SetCol(chart.Col());
    EXPECT_EQ(chartCopy.GraphicParameters(), chart.GraphicParameters());
    EXPECT_EQ(chartCopy.Col(), chart.Col());
    EXPECT_NE(dynamic_cast<TTableColumnChart*>(&chartCopy.Column(4)), nullptr);
}

TEST(ColumnDefinitions, LegacyForms) {
    TGridTableRegistry registry;
    TGridTable templateTable(registry);
    TTypedWriter w;
    w.WriteInteger(4);
    w.WriteInteger(kEnumColumn);
    w.WriteListBegin();
    w.WriteListEnd();
    w.WriteBoolean(true);
    w.WriteBoolean(false);
    w.WriteListBegin();
    for (const char* choice : {"a", "b", "c"})
        w.WriteString(choice);
    w.WriteListEnd();
    // A real column written before defaults existed: the label stands where the mark would.
    w.WriteInteger(kFloatColumn);
    w.WriteListBegin();
    w.WriteString("Depth");
    w.WriteListEnd();
    w.WriteBoolean(true);
    w.WriteBoolean(false);
    w.WriteBoolean(false);
    w.WriteString("L2");
    // A nested-table column naming one registry position.
    w.WriteInteger(kTableColumn);
    w.WriteListBegin();
    w.WriteListEnd();
    w.WriteBoolean(true);
    w.WriteBoolean(false);
    w.WriteString("FLEXCOLUMN");
    w.WriteInteger(0);
    w.WriteInteger(kStringColumn);
    w.WriteListBegin();
    w.WriteListEnd();
    w.WriteBoolean(true);
    w.WriteBoolean(false);
    w.WriteString("x");
    w.WriteFloat(1);

    TGridTable byChoice(registry);
    byChoice.SetCol(w.Bytes());
    auto& depth = dynamic_cast<TFloatColumn&>(byChoice.Column(1));
    EXPECT_EQ(depth.UnitLabel(), "L2");
    EXPECT_EQ(depth.Default(), 0);
    EXPECT_EQ(dynamic_cast<TStringColumn&>(byChoice.Column(3)).DefaultText(), "x");
    const TGridTableList& choices = dynamic_cast<TTableColumn&>(byChoice.Column(2)).Templates();
    ASSERT_EQ(choices.Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(choices.Entry(i), TIntWrapper::Identifier(i + 1));

    TGridTable hardwired(registry);
    hardwired.SetHardwiredButton(true);
    hardwired.SetCol(w.Bytes());
    const TGridTableList& fixed = dynamic_cast<TTableColumn&>(hardwired.Column(2)).Templates();
    ASSERT_EQ(fixed.Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(fixed.Entry(i), TIntWrapper::Position(0));
    EXPECT_EQ(fixed.Resolve(1, registry), &templateTable);

    // Without a choice column in front: a single position entry.
    TTypedWriter single;
    single.WriteInteger(1);
    single.WriteInteger(kTableColumn);
    single.WriteListBegin();
    single.WriteListEnd();
    single.WriteBoolean(true);
    single.WriteBoolean(false);
    single.WriteString("");
    single.WriteInteger(0);
    TGridTable lone(registry);
    lone.SetCol(single.Bytes());
    const TGridTableList& one = dynamic_cast<TTableColumn&>(lone.Column(0)).Templates();
    ASSERT_EQ(one.Count(), 1);
    EXPECT_EQ(one.Entry(0), TIntWrapper::Position(0));
}

TEST(ColumnDefinitions, ReadingErrors) {
    TGridTableRegistry registry;
    TGridTable table(registry);
    buildAllKinds(table);
    const std::vector<std::uint8_t> good = table.Col();
    TGridTable target(registry);
    target.AddColumn(kIntColumn);

    auto readError = [&](const std::vector<std::uint8_t>& bytes) {
        try {
            target.SetCol(bytes);
        } catch (const EReadError& e) {
            return std::string(e.what());
        }
        return std::string("read");
    };
    EXPECT_EQ(readError({}), "Error reading column count");
    TTypedWriter notCount;
    notCount.WriteString("2");
    EXPECT_EQ(readError(notCount.Bytes()), "Error reading column count");
    TTypedWriter negative;
    negative.WriteInteger(-1);
    EXPECT_EQ(readError(negative.Bytes()), "Error reading column count");

    TTypedWriter unknownKind;
    unknownKind.WriteInteger(1);
    unknownKind.WriteInteger(9);
    EXPECT_EQ(readError(unknownKind.Bytes()), "Error Column Class not defined");

    // Cut inside the second column's definition (its caption list).
    TTypedWriter prefix;
    prefix.WriteInteger(6);
    table.Column(0).WriteDefinition(prefix);
    const auto secondColumn = static_cast<std::ptrdiff_t>(prefix.Bytes().size());
    const std::vector<std::uint8_t> cut(good.begin(), good.begin() + secondColumn + 6);
    EXPECT_EQ(readError(cut), "Error occured when creating column 1: Unexpected end of stream");
    TTypedWriter mistyped;
    mistyped.WriteInteger(1);
    mistyped.WriteInteger(kIntColumn);
    mistyped.WriteListBegin();
    mistyped.WriteListEnd();
    mistyped.WriteBoolean(true);
    mistyped.WriteBoolean(false);
    mistyped.WriteInteger(0);
    mistyped.WriteFloat(1);  // a real where the minimum belongs
    EXPECT_EQ(readError(mistyped.Bytes()),
              "Error occured when creating column 0: Wrong type of value in stream");

    // Every failure leaves the previous columns.
    ASSERT_EQ(target.ColumnCount(), 1);
    EXPECT_EQ(target.Column(0).Kind(), kIntColumn);

    // Chart tables: the graphic parameters must follow the columns.
    TGridTableRegistry charts;
    TGridTableChart chart(charts);
    EXPECT_EQ(errorOf([&] { chart.SetCol(good); }), "Error reading graphic parameters");
    EXPECT_EQ(chart.ColumnCount(), 0);
}

TEST(TypedStream, ValuesKeepTypeAndEveryBit) {
    TTypedWriter w;
    const long double values[] = {1.0L / 3.0L, -1e-4950L, 1e4930L,
                                  -0.0L,       0.0L,      std::numeric_limits<long double>::infinity()};
    for (long double v : values)
        w.WriteFloat(v);
    w.WriteFloat(std::numeric_limits<long double>::quiet_NaN());
    w.WriteInteger(-2147483647 - 1);
    w.WriteString(std::string("a\0b", 3));
    TTypedReader r(w.Bytes());
    for (long double v : values) {
        const long double read = r.ReadFloat();
        EXPECT_EQ(read, v);
        EXPECT_EQ(std::signbit(read), std::signbit(v));
    }
    EXPECT_TRUE(std::isnan(r.ReadFloat()));
    EXPECT_EQ(r.ReadInteger(), -2147483647 - 1);
    EXPECT_EQ(r.ReadString(), std::string("a\0b", 3));
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(errorOf([&] { r.ReadBoolean(); }), "Unexpected end of stream");

    TTypedReader wrong(w.Bytes());
    EXPECT_EQ(errorOf([&] { wrong.ReadString(); }), "Wrong type of value in stream");
}

}  // namespace
}  // namespace app::model
