#include "app/model/program_data.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/model/problem_tables.h"
#include "app/model/results_store.h"

namespace app::model {
namespace {

// Registries first: they must outlive the tables.
struct Problem {
    TGridTableRegistry plain;
    TGridTableRegistry chart;
    TProblemTables tables{plain, chart};
};

struct Editor : TTableEditor {
    void Close() override {}
};

TEditorFactory openingFactory() {
    return
        [](TGridTable&, TEditorMode) -> std::unique_ptr<TTableEditor> { return std::make_unique<Editor>(); };
}

std::string formatReal(long double value) {
    return std::to_string(static_cast<double>(value));
}

// One line per column: kind letter, caption lines and the kind's own definition.
std::string describe(const TColumn& column) {
    std::string text;
    for (const std::string& line : column.Captions())
        text.append(line).append("|");
    if (const auto* e = dynamic_cast<const TEnumColumn*>(&column)) {
        text.insert(0, "E ");
        for (const std::string& choice : e->Choices())
            text.append(choice).append(";");
    } else if (const auto* i = dynamic_cast<const TIntColumn*>(&column)) {
        text.insert(0, "I ");
        text.append(std::to_string(i->Default()))
            .append(" ")
            .append(std::to_string(i->Minimum()))
            .append("..")
            .append(std::to_string(i->Maximum()));
    } else if (const auto* f = dynamic_cast<const TFloatColumn*>(&column)) {
        text.insert(0, "R ");
        text.append("'").append(f->UnitLabel()).append("' ").append(formatReal(f->Default()));
    } else if (const auto* t = dynamic_cast<const TTableColumn*>(&column)) {
        text.insert(0, "T ");
        for (int k = 0; k < t->Templates().Count(); ++k)
            text.append(std::to_string(t->Templates().IdentifierOf(k, column.Owner().Registry())))
                .append(";");
    } else {
        text.insert(0, "? ");
    }
    return text;
}

std::vector<std::string> describeColumns(const TGridTable& table) {
    std::vector<std::string> columns;
    for (int c = 0; c < table.ColumnCount(); ++c)
        columns.push_back(describe(table.Column(c)));
    return columns;
}

int lineCount(const std::string& text) {
    int count = 1;
    for (const char c : text)
        count += c == '\r' ? 1 : 0;
    return count;
}

void expectRelative(long double actual, long double expected, long double tolerance = 1e-15L) {
    EXPECT_NEAR(static_cast<double>(actual / expected), 1.0, static_cast<double>(tolerance))
        << static_cast<double>(actual) << " vs " << static_cast<double>(expected);
}

// ---------------------------------------------------------------------------------------------------
// A new problem

TEST(NewProblem, FieldsHoldTheirDefaults) {
    Problem p;
    const TProgramData d(p.tables);
    EXPECT_EQ(d.FileName, "NewWall.dn5d");
    EXPECT_EQ(d.Title, "New Wall");
    EXPECT_EQ(d.MaxDeflection, 100.0L);
    EXPECT_EQ(d.DeflectionTolerance, 1e-5L);
    EXPECT_EQ(d.ActivePressureFactor, 1.0L);
    for (const long double value :
         {d.IncrementLength, d.FreeHeight, d.ActiveWidth, d.PYWidth, d.WaterDepthBackfill,
          d.WaterDepthExcavation, d.BackfillSlope, d.TopSurcharge})
        EXPECT_EQ(value, 0.0L);
    for (const long double value : d.LegacySurcharge)
        EXPECT_EQ(value, 0.0L);
    EXPECT_EQ(
        (std::vector<int>{d.UnitSystem(), d.IncrementCount, d.EarthPressureCount, d.EarthPressureChoice,
                          d.GeneratePY, d.LongTermMarker, d.StageCount, d.CurrentStage, d.EarthPressureCode,
                          d.PYCode, d.MomentEISetCount, d.TiebackCount, d.EarthPressureValuesPerRecord}),
        (std::vector<int>{1, 0, 1, 2, 1, 0, 1, 1, 0, 0, 0, 0, 4}));
    for (const bool flag : {d.UserEarthPressure, d.GeneratedEarthPressureRead, d.ApplyExternalPY,
                            d.ApplyMomentEI, d.ApplyPYModification, d.ApplyConcentratedLoads, d.ApplySprings,
                            d.ApplyTiebacks, d.ApplySurcharge, d.ApplyRestraints, d.LongTerm})
        EXPECT_FALSE(flag);
    EXPECT_TRUE(d.StageFileHasMomentEICount);
    EXPECT_TRUE(d.StageFileHasTiebackCount);
    EXPECT_EQ(d.Results.CaseCount(), 0);
}

TEST(NewProblem, ResetsPlainTablesToDefaultRowsButKeepsChartRows) {
    Problem p;
    TProblemTables& t = p.tables;
    TProgramData first(t);
    first.SetUnitSystem(2);
    t.PileSect.SetRowCount(4);
    t.PileSect.Cell(3, 0).SetFloat(5.0L);
    t.DistLoad.SetRowCount(7);
    t.NewSoil.Cell(0, 0).SetInt(4);
    t.TblClay1.Cell(0, 1).SetFloat(3.0L);
    t.PYMod.Cell(1, 0).SetFloat(2.5L);
    t.PYCurves2.SetRowCount(5);
    t.PYCurves2.Cell(0, 4).SetInt(12);
    t.MEICurves2.SetRowCount(3);

    const TProgramData second(t);
    EXPECT_EQ(second.UnitSystem(), 1);
    EXPECT_EQ(t.PileSect.RowCount(), 1);
    EXPECT_EQ(t.PileSect.Cell(3, 0).AsFloat(), 0.0L);
    EXPECT_EQ(t.DistLoad.RowCount(), 2);
    EXPECT_EQ(t.PYMod.Cell(1, 0).AsFloat(), 1.0L);
    EXPECT_EQ(t.TblClay1.Cell(0, 1).AsFloat(), 0.0L);
    EXPECT_EQ(t.NewSoil.Cell(0, 0).AsInt(), 1);
    ASSERT_NE(t.NewSoil.Cell(2, 0).AsTable(), nullptr);
    EXPECT_EQ(t.NewSoil.Cell(2, 0).AsTable()->Caption(), "Clay");
    EXPECT_EQ(t.PYCurves2.RowCount(), 5);
    EXPECT_EQ(t.PYCurves2.Cell(0, 4).AsInt(), 12);
    EXPECT_EQ(t.MEICurves2.RowCount(), 3);
    for (const TGridTable* table : t.All()) {
        EXPECT_FALSE(table->IsChanged()) << table->Caption();
        EXPECT_EQ(table->Units(), 1) << table->Caption();
        if (!table->IsChart()) {
            EXPECT_EQ(table->RowCount(), table->MinRows()) << table->Caption();
        }
    }
}

// ---------------------------------------------------------------------------------------------------
// Table definitions

struct ExpectedTable {
    const TGridTable* table;
    int identifier;
    const char* caption;
    int minRows, maxRows;
    std::vector<std::string> columns;
};

TEST(ProblemTables, EveryTableHasItsIdentifierCaptionLimitsAndColumns) {
    Problem p;
    const TProblemTables& t = p.tables;
    const std::string interpolate = "Linear Interpolate to End Node of Next Line;";
    const std::string constantValues =
        "E Constant or Interpolate?|Use Constant Values for all Nodes on this Line;";
    const std::vector<std::string> soilLayers = {
        "E Soil Type|Soft Clay;Stiff Clay with Free Water;Stiff Clay w/o Free Water;Sand;Silt (c-phi soil);"
        "Strong Rock;Weak Rock;",
        "R Depth at Bottom of the Layer|'L2' 0.000000", "T Edit Soil Parameters|18;18;18;17;29;30;31;"};
    const std::vector<std::string> distributed = {"R Depth measured from the top of the wall|'L2' 0.000000",
                                                  "R Lateral distributed line load|'F/L2' 0.000000"};
    const std::string unitWeight = "R Total Unit Weight|'F/L2^3' 0.000000";
    const std::string compressive = "R Uniaxial Compressive Strength|'F/L^2' 0.000000";
    const std::string coefficient = "R Optional Earth Pressure Coefficient|'' 0.000000";
    const std::string friction = "R Friction Angle, deg.|'' 0.000000";
    // clang-format off
    const std::vector<ExpectedTable> expected = {
        {&t.PileSect, 15, "Wall Stiffness", 1, 10,
         {"I From Node No. (Start)|0 0..2147483600", "I To Node No. (End)|1 0..2147483647",
          "E Constant or Interpolate?|Use Constant Value for all Nodes on this Line;" + interpolate,
          "R Flexural Stiffness (EI)|'F-L^2' 0.000000"}},
        {&t.Soillayer, 0, "Specify Deflection and Slope on Wall", 1, 10,
         {"E Case|Specify Deflection;Specify Slope;", "I Nodal No.|0 0..2147483600", "R Deflection|'L' 0.000000",
          "R Slope|'' 0.000000"}},
        {&t.BoundCond, 123, "Concentrated Loads on Wall", 1, 20,
         {constantValues + interpolate, "I From Node No. (Start)|0 0..2147483600",
          "I To Node No. (End)|1 0..2147483647", "R Lateral Load|'F' 0.000000", "R Moment|'F-L' 0.000000",
          "R Axial Load|'F' 0.000000"}},
        {&t.SoilStrength, 4, "Lateral Spring and Rotation Spring", 1, 20,
         {constantValues + interpolate, "I From Node No. (Start)|0 0..2147483647",
          "I To Node No. (End)|0 -2147483648..2147483647", "R Lateral Spring Stiffness|'F/L' 0.000000",
          "R Rotational Spr. Stiff.|'F-L/RAD.' 0.000000"}},
        {&t.TiebackTable1, 77, "Tieback (ground anchor) Table", 1, 20,
         {"R Depth from top of wall|'L2' 0.000000", "R Cross sectional area of steel rod|'L^2' 0.000000",
          "R Elastic modulus of steel|'F/L^2' 0.000000", "R Unbonded anchor length|'L2' 0.000000",
          "R Angle from horizontal|'DEG.' 0.000000", "R Anchor spacing in each row|'L2' 0.000000"}},
        {&t.PYMod, 16, "p-y Modification Factors", 2, 30,
         {"R Depth|'L2' 0.000000", "R p-Multiplier|'' 1.000000", "R y-Multiplier|'' 1.000000"}},
        {&t.DistLoad, 22, "Distributed Loads", 2, 100, distributed},
        {&t.LongDist, 104, "Distributed Load (Long-Term)", 1, 0, distributed},
        {&t.SurchargeTable, 23, "Surcharge Loads", 1, 20,
         {"E Load Types|Point Load;Line Load;Strip Load;", "R Load Magnitude|'SEE NOTES' 0.000000",
          "R Distance, X|'L1' 0.000000", "R Width of Strip Load, W|'L1' 0.000000"}},
        {&t.NewSoil, 19, "Soil Layers", 1, 10, soilLayers},
        {&t.LongSoil, 44, "Soil Layers (Long-Term)", 1, 10, soilLayers},
        {&t.TblClay1, 18, "Clay", 2, 2,
         {unitWeight, "R Cohesive Strength|'F/L2^2' 0.000000", "R E50|'' 0.000000", "R k(py)|'F/L^3' 0.000000",
          coefficient}},
        {&t.TblSand1, 17, "Sand", 2, 2, {unitWeight, friction, "R k(py)|'F/L^3' 0.000000", coefficient}},
        {&t.TblSilt1, 29, "Silt", 2, 2,
         {unitWeight, friction, "R Cohesive Strength|'F/L2^2' 0.000000", "R E50|'' 0.000000",
          "R K(py)|'F/L^3' 0.000000", coefficient}},
        {&t.TblRock1, 30, "Strong Rock", 2, 2, {unitWeight, compressive}},
        {&t.TblRock2, 31, "Weak Rock", 2, 2,
         {unitWeight, compressive, "R krm *|'' 0.000000", "R Elastic Modulus|'F/L^2' 0.000000", "R RQD %|'' 0.000000"}},
        {&t.PYCurves2, 37, "Sets of Ext. p-y Curves", 2, 30,
         {"I Node #|0 -2147483648..2147483647", "T Curve Sets|38;", "R Multiplier for p-value|'' 1.000000",
          "R Multiplier for y-value|'' 1.000000"}},
        {&t.PYCurve2, 38, "External p-y Curve", 2, 17,
         {"R Lateral Deflection, y (*)|'L' 0.000000", "R Soil Resistance, p|'F/L' 0.000000"}},
        {&t.MEICurves2, 36, "Nonlinear Moment vs EI Curves", 1, 20,
         {"I From Node No. (Start)|0 0..1000", "I To Node No. (End)|0 0..1000", "T 0;"}},
        {&t.Rows2, 0, "Moment and EI data", 1, 100,
         {"R Bending moment|'F-L' 0.000000", "R Flexural rigidity|'F-L^2' 0.000000"}},
    };
    // clang-format on
    ASSERT_EQ(expected.size(), TProblemTables::kCount);
    std::set<const TGridTable*> covered;
    for (const ExpectedTable& e : expected) {
        SCOPED_TRACE(e.caption);
        covered.insert(e.table);
        EXPECT_EQ(e.table->Identifier(), e.identifier);
        EXPECT_EQ(e.table->Caption(), e.caption);
        EXPECT_EQ(e.table->MinRows(), e.minRows);
        EXPECT_EQ(e.table->MaxRows(), e.maxRows);
        EXPECT_EQ(e.table->RowCount(), e.minRows);
        EXPECT_EQ(e.table->RowGroup(), 1);
        EXPECT_FALSE(e.table->IsChanged());
        EXPECT_EQ(describeColumns(*e.table), e.columns);
        // Each identifier finds its own table in its registry, so template references resolve.
        EXPECT_EQ(e.table->Registry().Find(e.identifier), e.table);
    }
    EXPECT_EQ(covered.size(), TProblemTables::kCount);

    // Plain and chart tables keep to their own registries.
    for (const TGridTable* table : t.All())
        EXPECT_EQ(&table->Registry(), table->IsChart() ? &p.chart : &p.plain) << table->Caption();
    EXPECT_EQ(t.PYCurves2.IsChart() + t.PYCurve2.IsChart() + t.MEICurves2.IsChart() + t.Rows2.IsChart(), 4);
}

TEST(ProblemTables, NestedColumnsCloneTheirTemplates) {
    Problem p;
    TProblemTables& t = p.tables;
    for (TGridTable* layers : {&t.NewSoil, &t.LongSoil}) {
        SCOPED_TRACE(layers->Caption());
        layers->SetRowCount(2);
        const char* const captions[] = {"Clay", "Clay", "Clay", "Sand", "Silt", "Strong Rock", "Weak Rock"};
        for (int type = 1; type <= 7; ++type) {
            layers->Cell(0, 1).SetInt(type);
            const TGridTable* parameters = layers->Cell(2, 1).AsTable();
            ASSERT_NE(parameters, nullptr);
            EXPECT_EQ(parameters->Caption(), captions[type - 1]);
            EXPECT_EQ(parameters->RowCount(), 2);
            EXPECT_EQ(parameters->EditorTitle(), std::string(captions[type - 1]).append(" 2"));
        }
    }

    const auto* curve = dynamic_cast<const TGridTableChart*>(t.PYCurves2.Cell(1, 1).AsTable());
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->Caption(), "External p-y Curve");
    EXPECT_EQ(curve->RowCount(), 2);
    EXPECT_TRUE(curve->GetDataFromFile());
    EXPECT_TRUE(curve->GraphicParameters().ShowGraph);
    EXPECT_EQ(curve->GraphicParameters().XColumn, 0);
    EXPECT_EQ(curve->GraphicParameters().YColumn, 1);

    const auto* moments = dynamic_cast<const TGridTableChart*>(t.MEICurves2.Cell(2, 0).AsTable());
    ASSERT_NE(moments, nullptr);
    EXPECT_EQ(moments->Caption(), "Moment and EI data");
    EXPECT_EQ(moments->RowCount(), 1);
    EXPECT_TRUE(moments->GetDataFromFile());
    EXPECT_TRUE(moments->GraphicParameters().ShowGraph);
    EXPECT_TRUE(t.MEICurves2.Column(2).Captions().empty());

    EXPECT_FALSE(t.PYCurves2.GetDataFromFile());
    EXPECT_FALSE(t.MEICurves2.GraphicParameters().ShowGraph);
}

TEST(ProblemTables, HelpTextsAndPictures) {
    Problem p;
    const TProblemTables& t = p.tables;
    const std::string interpolation =
        "Linear interpolation (when selected) is performed from START node of previous line to END node of "
        "the following line.";
    EXPECT_EQ(t.PileSect.Comments(),
              std::string("The nodal number at the top of the wall is set to be 0.\r")
                  .append("Values of Flexural Stiffness (EI) must be specified for all nodes of the wall.\r")
                  .append(interpolation));
    EXPECT_EQ(t.BoundCond.Comments(), std::string("The concentrated loads are applied at nodal points only "
                                                  "(including the specified START and END nodes).\r")
                                          .append(interpolation));
    EXPECT_EQ(t.SoilStrength.Comments(),
              std::string("The spring stiffnesses are applied at nodal points only "
                          "(including the specified START and END nodes).\r")
                  .append(interpolation));
    EXPECT_EQ(t.TblRock2.Comments(),
              "* krm is a strain constant that seve to establish the overall stiffness of the curves");
    EXPECT_EQ(t.SurchargeTable.Comments(),
              "The unit for point load is lbs or kN \rThe unit for line load is lbs/in. or kN/m \r"
              "The unit for strip load is lbs/in^2 or kN/m^2 ");

    const std::string curveStart = "* Use negative (-) values for deflections to the left (to backfill)\r";
    EXPECT_EQ(t.PYCurve2.Comments().substr(0, curveStart.size()), curveStart);
    EXPECT_EQ(lineCount(t.PYCurve2.Comments()), 8);
    const std::string noteStart =
        "The user may optionally enter an earth pressure coefficient for generating \r";
    for (const TGridTable* table : {&t.TblSand1, &t.TblClay1, &t.TblSilt1}) {
        EXPECT_EQ(table->Comments().substr(0, noteStart.size()), noteStart) << table->Caption();
        EXPECT_EQ(lineCount(table->Comments()), 5) << table->Caption();
    }
    for (const TGridTable* table : std::initializer_list<const TGridTable*>{
             &t.Soillayer, &t.TiebackTable1, &t.PYMod, &t.DistLoad, &t.NewSoil, &t.TblRock1, &t.PYCurves2,
             &t.MEICurves2, &t.Rows2})
        EXPECT_EQ(table->Comments(), "") << table->Caption();

    EXPECT_EQ(t.DistLoad.HelpPicture(), kPressureDistributionPicture);
    EXPECT_EQ(t.LongDist.HelpPicture(), kPressureDistributionPicture);
    EXPECT_EQ(t.SoilStrength.HelpPicture(), kSpringArrangementPicture);
    EXPECT_EQ(t.PileSect.HelpPicture(), "");
}

// ---------------------------------------------------------------------------------------------------
// Unit system

TEST(UnitSystem, EnglishToSIAndBackUsesTheTwoUnreciprocalFactors) {
    Problem p;
    TProgramData data(p.tables);
    data.SetUnitSystem(2);
    EXPECT_EQ(data.UnitSystem(), 2);
    expectRelative(data.MaxDeflection, 2.54L);
    expectRelative(data.DeflectionTolerance, 2.54e-7L);
    data.SetUnitSystem(1);
    EXPECT_EQ(data.UnitSystem(), 1);
    expectRelative(data.MaxDeflection, 100.000054L);
    expectRelative(data.DeflectionTolerance, 1.00000054e-5L);
}

TEST(UnitSystem, ConvertsEveryDimensionalFieldByItsDimension) {
    Problem p;
    TProgramData data(p.tables);
    const std::vector<long double TProgramData::*> lengths = {
        &TProgramData::IncrementLength,    &TProgramData::FreeHeight,
        &TProgramData::ActiveWidth,        &TProgramData::PYWidth,
        &TProgramData::WaterDepthBackfill, &TProgramData::WaterDepthExcavation};
    for (const auto field : lengths)
        data.*field = 12.0L;
    data.TopSurcharge = 2.0L;
    data.LegacySurcharge = {10.0L, 1000.0L, 50.0L, 3.0L, 6.0L};
    data.BackfillSlope = 15.0L;
    data.ActivePressureFactor = 0.8L;

    data.SetUnitSystem(2);
    const long double force = 0.004448222468060650624L, toMetres = 0.0254L;
    expectRelative(kForceToSI, force);
    for (const auto field : lengths)
        expectRelative(data.*field, 12.0L * toMetres);
    expectRelative(data.TopSurcharge, 2.0L * force / (toMetres * toMetres));
    const std::array<long double, 5> legacy = {10.0L * toMetres, 1000.0L * force, 50.0L * force / toMetres,
                                               3.0L * force / (toMetres * toMetres), 6.0L * toMetres};
    for (int i = 0; i < 5; ++i)
        expectRelative(data.LegacySurcharge[static_cast<size_t>(i)], legacy[static_cast<size_t>(i)]);
    EXPECT_EQ(data.BackfillSlope, 15.0L);  // degrees and ratios have no unit
    EXPECT_EQ(data.ActivePressureFactor, 0.8L);

    data.SetUnitSystem(1);
    const long double toInches = 39.3701L, toPounds = 224.8089L;
    expectRelative(data.FreeHeight, 12.0L * toMetres * toInches);
    expectRelative(data.TopSurcharge,
                   2.0L * force / (toMetres * toMetres) * toPounds / (toInches * toInches));
    expectRelative(data.LegacySurcharge[kLegacyPointLoad], 1000.0L * force * toPounds);
    expectRelative(data.LegacySurcharge[kLegacyLineLoad], 50.0L * force / toMetres * toPounds / toInches);
}

TEST(UnitSystem, OtherUnitsConvertNothingAndValuesAreClamped) {
    Problem p;
    TProgramData data(p.tables);
    p.tables.PileSect.Cell(3, 0).SetFloat(1000.0L);
    data.SetUnitSystem(3);
    EXPECT_EQ(data.UnitSystem(), 3);
    data.SetUnitSystem(2);
    EXPECT_EQ(data.UnitSystem(), 2);
    EXPECT_EQ(data.MaxDeflection, 100.0L);
    EXPECT_EQ(data.DeflectionTolerance, 1e-5L);
    EXPECT_EQ(p.tables.PileSect.Cell(3, 0).AsFloat(), 1000.0L);
    EXPECT_EQ(p.tables.PileSect.Units(), 2);

    data.SetUnitSystem(9);
    EXPECT_EQ(data.UnitSystem(), 3);
    EXPECT_EQ(p.tables.TblClay1.Units(), 3);
    data.SetUnitSystem(-4);
    EXPECT_EQ(data.UnitSystem(), 1);
    EXPECT_EQ(data.MaxDeflection, 100.0L);
    EXPECT_EQ(p.tables.Rows2.Units(), 1);
}

TEST(UnitSystem, TablesConvertWithTheirOwner) {
    Problem p;
    TProblemTables& t = p.tables;
    TProgramData data(t);
    const long double force = 224.8089237L, inch = 39.37007874L, foot = 3.280839895L;
    t.PileSect.Cell(3, 0).SetFloat(1e9L);
    t.NewSoil.Cell(0, 0).SetInt(4);
    TGridTable* sand = t.NewSoil.Cell(2, 0).AsTable();
    ASSERT_NE(sand, nullptr);
    sand->Cell(0, 0).SetFloat(120.0L);
    t.PYCurves2.Cell(2, 0).SetFloat(1.5L);
    TGridTable* curve = t.PYCurves2.Cell(1, 0).AsTable();
    ASSERT_NE(curve, nullptr);
    curve->Cell(0, 1).SetFloat(0.5L);

    bool refreshed = false;
    data.OnUnitsChanged = [&] { refreshed = true; };
    data.SetUnitSystem(2);
    EXPECT_TRUE(refreshed);
    for (const TGridTable* table : t.All())
        EXPECT_EQ(table->Units(), 2) << table->Caption();
    EXPECT_EQ(sand->Units(), 2);
    expectRelative(t.PileSect.Cell(3, 0).AsFloat(), 1e9L / (force * inch * inch), 1e-12L);
    expectRelative(sand->Cell(0, 0).AsFloat(), 120.0L / (force / (foot * foot * foot)), 1e-12L);
    expectRelative(curve->Cell(0, 1).AsFloat(), 0.5L / inch, 1e-12L);
    EXPECT_EQ(t.PYCurves2.Cell(2, 0).AsFloat(), 1.5L);  // a multiplier has no unit

    data.SetUnitSystem(1);
    expectRelative(t.PileSect.Cell(3, 0).AsFloat(), 1e9L, 1e-12L);
    expectRelative(sand->Cell(0, 0).AsFloat(), 120.0L, 1e-12L);
}

TEST(UnitSystem, SurchargeMagnitudesConvertByLoadType) {
    Problem p;
    TGridTable& s = p.tables.SurchargeTable;
    TProgramData data(p.tables);
    s.SetRowCount(3);
    for (int row = 0; row < 3; ++row) {
        s.Cell(0, row).SetInt(row + 1);
        s.Cell(1, row).SetFloat(1.0L);
        s.Cell(2, row).SetFloat(10.0L);
    }
    data.SetUnitSystem(2);
    const long double force = 0.004448222468060650624L;
    expectRelative(s.Cell(1, 0).AsFloat(), force);
    expectRelative(s.Cell(1, 1).AsFloat(), force / 0.0254L);
    expectRelative(s.Cell(1, 2).AsFloat(), force / (0.0254L * 0.0254L));
    // The distance column converts by its own label: inches to millimetres.
    expectRelative(s.Cell(2, 0).AsFloat(), 10.0L / 0.03937007874L, 1e-12L);

    data.SetUnitSystem(3);
    data.SetUnitSystem(1);
    expectRelative(s.Cell(1, 2).AsFloat(), force / (0.0254L * 0.0254L));

    TProgramData fresh(p.tables);
    fresh.SetUnitSystem(2);
    s.Cell(0, 0).SetInt(3);
    s.Cell(1, 0).SetFloat(2.0L);
    fresh.SetUnitSystem(1);
    expectRelative(s.Cell(1, 0).AsFloat(), 2.0L * 224.8089L / (39.3701L * 39.3701L));
}

// ---------------------------------------------------------------------------------------------------
// Options

TEST(Options, SwitchingOffClosesOnlyTheOptionsOwnTable) {
    Problem p;
    TProblemTables& t = p.tables;
    p.plain.SetEditorFactory(openingFactory());
    p.chart.SetEditorFactory(openingFactory());
    TProgramData data(t);

    struct Toggle {
        void (TProgramData::*toggle)();
        bool TProgramData::*flag;
        TGridTable* table;
    };
    const std::vector<Toggle> toggles = {
        {&TProgramData::ToggleRestraints, &TProgramData::ApplyRestraints, &t.Soillayer},
        {&TProgramData::ToggleConcentratedLoads, &TProgramData::ApplyConcentratedLoads, &t.BoundCond},
        {&TProgramData::ToggleSprings, &TProgramData::ApplySprings, &t.SoilStrength},
        {&TProgramData::ToggleExternalPY, &TProgramData::ApplyExternalPY, &t.PYCurves2},
        {&TProgramData::ToggleMomentEI, &TProgramData::ApplyMomentEI, &t.MEICurves2},
        {&TProgramData::TogglePYModification, &TProgramData::ApplyPYModification, &t.PYMod},
        {&TProgramData::ToggleSurcharge, &TProgramData::ApplySurcharge, &t.SurchargeTable},
    };
    for (const Toggle& option : toggles) {
        SCOPED_TRACE(option.table->Caption());
        for (TGridTable* table : t.All())
            ASSERT_TRUE(table->ShowEditor());
        (data.*option.toggle)();
        EXPECT_TRUE(data.*option.flag);
        EXPECT_TRUE(option.table->IsEditorOpen());
        (data.*option.toggle)();
        EXPECT_FALSE(data.*option.flag);
        for (const TGridTable* table : t.All())
            EXPECT_EQ(table->IsEditorOpen(), table != option.table) << table->Caption();
    }

    ASSERT_TRUE(t.TiebackTable1.ShowEditor());
    t.TiebackTable1.Cell(0, 0).SetFloat(7.0L);
    data.ToggleTiebacks();
    EXPECT_TRUE(data.ApplyTiebacks);
    data.ToggleTiebacks();
    EXPECT_FALSE(data.ApplyTiebacks);
    EXPECT_TRUE(t.TiebackTable1.IsEditorOpen());
    EXPECT_EQ(t.TiebackTable1.Cell(0, 0).AsFloat(), 7.0L);  // data stay in the table
}

TEST(Options, LongTermGeneratePYAndEarthPressureChoice) {
    Problem p;
    TProgramData data(p.tables);
    data.ToggleLongTerm();
    EXPECT_TRUE(data.LongTerm);
    EXPECT_EQ(data.LongTermMarker, 9);
    data.ToggleLongTerm();
    EXPECT_FALSE(data.LongTerm);
    EXPECT_EQ(data.LongTermMarker, 0);

    data.ToggleGeneratePY();
    EXPECT_EQ(data.GeneratePY, 0);
    data.ToggleGeneratePY();
    EXPECT_EQ(data.GeneratePY, 1);
    data.GeneratePY = 5;  // normalised to 1, then toggled
    data.ToggleGeneratePY();
    EXPECT_EQ(data.GeneratePY, 0);
    data.GeneratePY = -3;  // normalised to 0, then toggled
    data.ToggleGeneratePY();
    EXPECT_EQ(data.GeneratePY, 1);

    data.SetEarthPressureChoice(1);
    EXPECT_EQ(data.EarthPressureChoice, 1);
    EXPECT_TRUE(data.UserEarthPressure);
    data.SetEarthPressureChoice(3);
    EXPECT_EQ(data.EarthPressureChoice, 3);
    EXPECT_FALSE(data.UserEarthPressure);

    data.EarthPressureChoice = 0;
    data.NormaliseEarthPressureChoice();
    EXPECT_EQ(data.EarthPressureChoice, 1);
    EXPECT_FALSE(data.UserEarthPressure);  // re-derived only when the menu opens
    data.DeriveUserEarthPressure();
    EXPECT_TRUE(data.UserEarthPressure);
    data.EarthPressureChoice = 2;
    data.NormaliseEarthPressureChoice();
    data.DeriveUserEarthPressure();
    EXPECT_EQ(data.EarthPressureChoice, 2);
    EXPECT_FALSE(data.UserEarthPressure);
}

// ---------------------------------------------------------------------------------------------------
// Results store

TEST(ResultsStore, FillsWithinTheEngineLimitsAndClears) {
    TResultsStore store;
    EXPECT_EQ(store.CaseCount(), 0);
    EXPECT_EQ(store.Response(0, 0).Deflection, 0.0L);

    EXPECT_TRUE(store.SetPressure(0, 2, {24.0L, 1.5L}));
    EXPECT_TRUE(store.SetResponse(1, 3, {1.0L, -0.2L, 30.0L, 4.0L, -5.0L}));
    // 407 increments give 409 response rows; the pressure table may be far longer.
    EXPECT_TRUE(store.SetResponse(10, 408, {9.0L, 0.1L, 0.2L, 0.3L, 0.4L}));
    EXPECT_FALSE(store.SetResponse(TResultsStore::kMaxCases, 0, {1.0L, 1.0L, 1.0L, 1.0L, 1.0L}));
    EXPECT_FALSE(store.SetResponse(0, 409, {1.0L, 1.0L, 1.0L, 1.0L, 1.0L}));
    EXPECT_TRUE(store.SetPressure(1, 1198, {1.0L, 1.0L}));
    EXPECT_FALSE(store.SetPressure(1, TResultsStore::kMaxPressurePoints, {1.0L, 1.0L}));
    EXPECT_FALSE(store.SetPressure(-1, 0, {1.0L, 1.0L}));
    EXPECT_FALSE(store.SetPressure(0, -1, {1.0L, 1.0L}));

    EXPECT_EQ(store.CaseCount(), 11);
    EXPECT_EQ(store.PressurePointCount(0), 3);
    EXPECT_EQ(store.ResponsePointCount(0), 0);
    EXPECT_EQ(store.ResponsePointCount(1), 4);
    EXPECT_EQ(store.ResponsePointCount(10), 409);
    EXPECT_EQ(store.PressurePointCount(1), 1199);
    EXPECT_EQ(store.Pressure(0, 2).Depth, 24.0L);
    EXPECT_EQ(store.Pressure(0, 2).Total, 1.5L);
    EXPECT_EQ(store.Pressure(0, 1).Total, 0.0L);  // never filled
    const TResponsePoint& row = store.Response(1, 3);
    EXPECT_EQ(row.Depth, 1.0L);
    EXPECT_EQ(row.Deflection, -0.2L);
    EXPECT_EQ(row.Moment, 30.0L);
    EXPECT_EQ(row.Shear, 4.0L);
    EXPECT_EQ(row.SoilReaction, -5.0L);
    EXPECT_EQ(store.Response(10, 408).SoilReaction, 0.4L);
    EXPECT_EQ(store.Response(11, 0).Depth, 0.0L);

    store.NotePressurePointCount(12);
    store.NotePressurePointCount(7);
    EXPECT_EQ(store.MaxPressurePoints(), 12);
    store.NotePressurePointCount(5000);
    EXPECT_EQ(store.MaxPressurePoints(), 5000);
    store.NotePressurePointCount(1 << 30);
    EXPECT_EQ(store.MaxPressurePoints(), TResultsStore::kMaxPressurePoints);

    store.Clear();
    EXPECT_EQ(store.CaseCount(), 0);
    EXPECT_EQ(store.MaxPressurePoints(), 0);
    EXPECT_EQ(store.ResponsePointCount(1), 0);
    EXPECT_EQ(store.Response(1, 3).Moment, 0.0L);
    EXPECT_TRUE(store.SetResponse(0, 0, {2.0L, 0.0L, 0.0L, 0.0L, 0.0L}));
    EXPECT_EQ(store.CaseCount(), 1);
}

}  // namespace
}  // namespace app::model
