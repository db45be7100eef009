#include "app/model/problem_tables.h"

#include <climits>
#include <initializer_list>
#include <string>
#include <vector>

namespace app::model {

namespace {

constexpr int kNodeLimit = 2147483600;  // the node columns' upper limit below INT_MAX

const char* const kInterpolationNote =
    "Linear interpolation (when selected) is performed from START node of previous line to END node of "
    "the following line.";

const char* const kOptionalCoefficientNote =
    "The user may optionally enter an earth pressure coefficient for generating \r"
    "the lateral earth pressure. The coefficient is multiplied by the vertical \r"
    "soil pressure to give the lateral earth pressure. \r"
    "Leave the coefficient as zero to use the active earth pressure \r"
    "coefficient calculated internally by the program. ";

const char* const kExternalCurveNote =
    "* Use negative (-) values for deflections to the left (to backfill)\r"
    "  and positive (+) values for deflections to the right (to excavation).\r"
    "* Enter the points so that y runs from negative to positive values.\r"
    "* Positive (+) values of p correspond to negative (-) values of y,\r"
    "  negative (-) values of p correspond to positive (+) values of y.\r"
    "* The soil resistance p acts against the deflection of the wall:\r"
    "  towards the excavation where the wall deflects towards the backfill,\r"
    "  towards the backfill where the wall deflects towards the excavation.";

void define(TGridTable& table, int identifier, const char* caption, int minRows, int maxRows) {
    table.SetIdentifier(identifier);
    table.SetCaption(caption);
    table.SetMinRows(minRows);
    table.SetMaxRows(maxRows);
    table.SetRowGroup(1);
}

void addEnum(TGridTable& table, const char* caption, std::vector<std::string> choices) {
    auto& column = table.AddColumn<TEnumColumn>(kEnumColumn);
    column.Captions() = {caption};
    column.SetChoices(std::move(choices));
}

void addInt(TGridTable& table, const char* caption, int defaultValue, int minimum, int maximum) {
    auto& column = table.AddColumn<TIntColumn>(kIntColumn);
    column.Captions() = {caption};
    column.SetDefault(defaultValue);
    column.SetRange(minimum, maximum);
}

void addReal(TGridTable& table, const char* caption, const char* label, long double defaultValue = 0.0L) {
    auto& column = table.AddColumn<TFloatColumn>(kFloatColumn);
    column.Captions() = {caption};
    column.SetUnitLabel(label);
    column.SetDefault(defaultValue);
}

// An empty caption gives a column without header lines.
void addNested(TGridTable& table, const char* caption, std::initializer_list<int> identifiers) {
    auto& column = table.AddColumn<TTableColumn>(kTableColumn);
    if (*caption != '\0') column.Captions() = {caption};
    column.Templates().Resize(static_cast<int>(identifiers.size()));
    int i = 0;
    for (const int identifier : identifiers)
        column.Templates().Set(i++, TIntWrapper::Identifier(identifier));
}

std::vector<std::string> constantOrInterpolate(const char* constant) {
    return {constant, "Linear Interpolate to End Node of Next Line"};
}

void defineSoilLayers(TGridTable& table, int identifier, const char* caption) {
    define(table, identifier, caption, 1, 10);
    addEnum(table, "Soil Type",
            {"Soft Clay", "Stiff Clay with Free Water", "Stiff Clay w/o Free Water", "Sand",
             "Silt (c-phi soil)", "Strong Rock", "Weak Rock"});
    addReal(table, "Depth at Bottom of the Layer", "L2");
    addNested(table, "Edit Soil Parameters", {18, 18, 18, 17, 29, 30, 31});
}

void defineDistributedLoad(TGridTable& table, int identifier, const char* caption, int minRows, int maxRows) {
    define(table, identifier, caption, minRows, maxRows);
    addReal(table, "Depth measured from the top of the wall", "L2");
    addReal(table, "Lateral distributed line load", "F/L2");
    table.SetHelpPicture(kPressureDistributionPicture);
}

void defineCurveTemplate(TGridTableChart& table) {
    table.SetGetDataFromFile(true);
    TGraphicParameters graphic;
    graphic.ShowGraph = true;
    graphic.XColumn = 0;
    graphic.YColumn = 1;
    table.SetGraphicParameters(graphic);
}

std::string lines(std::initializer_list<const char*> parts) {
    std::string text;
    for (const char* part : parts) {
        if (!text.empty()) text.append("\r");
        text.append(part);
    }
    return text;
}

void defineSoilParameters(TProblemTables& t) {
    define(t.TblClay1, 18, "Clay", 2, 2);
    addReal(t.TblClay1, "Total Unit Weight", "F/L2^3");
    addReal(t.TblClay1, "Cohesive Strength", "F/L2^2");
    addReal(t.TblClay1, "E50", "");
    addReal(t.TblClay1, "k(py)", "F/L^3");
    addReal(t.TblClay1, "Optional Earth Pressure Coefficient", "");
    t.TblClay1.SetComments(kOptionalCoefficientNote);

    define(t.TblSand1, 17, "Sand", 2, 2);
    addReal(t.TblSand1, "Total Unit Weight", "F/L2^3");
    addReal(t.TblSand1, "Friction Angle, deg.", "");
    addReal(t.TblSand1, "k(py)", "F/L^3");
    addReal(t.TblSand1, "Optional Earth Pressure Coefficient", "");
    t.TblSand1.SetComments(kOptionalCoefficientNote);

    define(t.TblSilt1, 29, "Silt", 2, 2);
    addReal(t.TblSilt1, "Total Unit Weight", "F/L2^3");
    addReal(t.TblSilt1, "Friction Angle, deg.", "");
    addReal(t.TblSilt1, "Cohesive Strength", "F/L2^2");
    addReal(t.TblSilt1, "E50", "");
    addReal(t.TblSilt1, "K(py)", "F/L^3");
    addReal(t.TblSilt1, "Optional Earth Pressure Coefficient", "");
    t.TblSilt1.SetComments(kOptionalCoefficientNote);

    define(t.TblRock1, 30, "Strong Rock", 2, 2);
    addReal(t.TblRock1, "Total Unit Weight", "F/L2^3");
    addReal(t.TblRock1, "Uniaxial Compressive Strength", "F/L^2");

    define(t.TblRock2, 31, "Weak Rock", 2, 2);
    addReal(t.TblRock2, "Total Unit Weight", "F/L2^3");
    addReal(t.TblRock2, "Uniaxial Compressive Strength", "F/L^2");
    addReal(t.TblRock2, "krm *", "");
    addReal(t.TblRock2, "Elastic Modulus", "F/L^2");
    addReal(t.TblRock2, "RQD %", "");
    t.TblRock2.SetComments(
        "* krm is a strain constant that seve to establish the overall stiffness of the curves");
}

void defineWallTables(TProblemTables& t) {
    define(t.PileSect, 15, "Wall Stiffness", 1, 10);
    addInt(t.PileSect, "From Node No. (Start)", 0, 0, kNodeLimit);
    addInt(t.PileSect, "To Node No. (End)", 1, 0, INT_MAX);
    addEnum(t.PileSect, "Constant or Interpolate?",
            constantOrInterpolate("Use Constant Value for all Nodes on this Line"));
    addReal(t.PileSect, "Flexural Stiffness (EI)", "F-L^2");
    t.PileSect.SetComments(
        lines({"The nodal number at the top of the wall is set to be 0.",
               "Values of Flexural Stiffness (EI) must be specified for all nodes of the wall.",
               kInterpolationNote}));

    define(t.Soillayer, 0, "Specify Deflection and Slope on Wall", 1, 10);
    addEnum(t.Soillayer, "Case", {"Specify Deflection", "Specify Slope"});
    addInt(t.Soillayer, "Nodal No.", 0, 0, kNodeLimit);
    addReal(t.Soillayer, "Deflection", "L");
    addReal(t.Soillayer, "Slope", "");

    const auto constantValues = constantOrInterpolate("Use Constant Values for all Nodes on this Line");
    define(t.BoundCond, 123, "Concentrated Loads on Wall", 1, 20);
    addEnum(t.BoundCond, "Constant or Interpolate?", constantValues);
    addInt(t.BoundCond, "From Node No. (Start)", 0, 0, kNodeLimit);
    addInt(t.BoundCond, "To Node No. (End)", 1, 0, INT_MAX);
    addReal(t.BoundCond, "Lateral Load", "F");
    addReal(t.BoundCond, "Moment", "F-L");
    addReal(t.BoundCond, "Axial Load", "F");
    t.BoundCond.SetComments(
        lines({"The concentrated loads are applied at nodal points only (including the "
               "specified START and END nodes).",
               kInterpolationNote}));

    define(t.SoilStrength, 4, "Lateral Spring and Rotation Spring", 1, 20);
    addEnum(t.SoilStrength, "Constant or Interpolate?", constantValues);
    addInt(t.SoilStrength, "From Node No. (Start)", 0, 0, INT_MAX);
    addInt(t.SoilStrength, "To Node No. (End)", 0, INT_MIN, INT_MAX);
    addReal(t.SoilStrength, "Lateral Spring Stiffness", "F/L");
    addReal(t.SoilStrength, "Rotational Spr. Stiff.", "F-L/RAD.");
    t.SoilStrength.SetComments(
        lines({"The spring stiffnesses are applied at nodal points only (including the "
               "specified START and END nodes).",
               kInterpolationNote}));
    t.SoilStrength.SetHelpPicture(kSpringArrangementPicture);

    define(t.TiebackTable1, 77, "Tieback (ground anchor) Table", 1, 20);
    addReal(t.TiebackTable1, "Depth from top of wall", "L2");
    addReal(t.TiebackTable1, "Cross sectional area of steel rod", "L^2");
    addReal(t.TiebackTable1, "Elastic modulus of steel", "F/L^2");
    addReal(t.TiebackTable1, "Unbonded anchor length", "L2");
    addReal(t.TiebackTable1, "Angle from horizontal", "DEG.");
    addReal(t.TiebackTable1, "Anchor spacing in each row", "L2");
}

void defineSoilAndLoadTables(TProblemTables& t) {
    define(t.PYMod, 16, "p-y Modification Factors", 2, 30);
    addReal(t.PYMod, "Depth", "L2");
    addReal(t.PYMod, "p-Multiplier", "", 1.0L);
    addReal(t.PYMod, "y-Multiplier", "", 1.0L);

    defineDistributedLoad(t.DistLoad, 22, "Distributed Loads", 2, 100);
    defineDistributedLoad(t.LongDist, 104, "Distributed Load (Long-Term)", 1, 0);

    define(t.SurchargeTable, 23, "Surcharge Loads", 1, 20);
    addEnum(t.SurchargeTable, "Load Types", {"Point Load", "Line Load", "Strip Load"});
    addReal(t.SurchargeTable, "Load Magnitude", "SEE NOTES");
    addReal(t.SurchargeTable, "Distance, X", "L1");
    addReal(t.SurchargeTable, "Width of Strip Load, W", "L1");
    t.SurchargeTable.SetComments(
        lines({"The unit for point load is lbs or kN ", "The unit for line load is lbs/in. or kN/m ",
               "The unit for strip load is lbs/in^2 or kN/m^2 "}));

    defineSoilLayers(t.NewSoil, 19, "Soil Layers");
    defineSoilLayers(t.LongSoil, 44, "Soil Layers (Long-Term)");
}

void defineChartTables(TProblemTables& t) {
    define(t.PYCurve2, 38, "External p-y Curve", 2, 17);
    addReal(t.PYCurve2, "Lateral Deflection, y (*)", "L");
    addReal(t.PYCurve2, "Soil Resistance, p", "F/L");
    defineCurveTemplate(t.PYCurve2);
    t.PYCurve2.SetComments(kExternalCurveNote);

    define(t.Rows2, 0, "Moment and EI data", 1, 100);
    addReal(t.Rows2, "Bending moment", "F-L");
    addReal(t.Rows2, "Flexural rigidity", "F-L^2");
    defineCurveTemplate(t.Rows2);

    define(t.PYCurves2, 37, "Sets of Ext. p-y Curves", 2, 30);
    addInt(t.PYCurves2, "Node #", 0, INT_MIN, INT_MAX);
    addNested(t.PYCurves2, "Curve Sets", {38});
    addReal(t.PYCurves2, "Multiplier for p-value", "", 1.0L);
    addReal(t.PYCurves2, "Multiplier for y-value", "", 1.0L);

    define(t.MEICurves2, 36, "Nonlinear Moment vs EI Curves", 1, 20);
    addInt(t.MEICurves2, "From Node No. (Start)", 0, 0, 1000);
    addInt(t.MEICurves2, "To Node No. (End)", 0, 0, 1000);
    addNested(t.MEICurves2, "", {0});
}

}  // namespace

TProblemTables::TProblemTables(TGridTableRegistry& plain, TGridTableRegistry& chart)
    : TblClay1(plain),
      TblSand1(plain),
      TblSilt1(plain),
      TblRock1(plain),
      TblRock2(plain),
      PileSect(plain),
      Soillayer(plain),
      BoundCond(plain),
      SoilStrength(plain),
      TiebackTable1(plain),
      PYMod(plain),
      DistLoad(plain),
      LongDist(plain),
      SurchargeTable(plain),
      NewSoil(plain),
      LongSoil(plain),
      PYCurve2(chart),
      Rows2(chart),
      PYCurves2(chart),
      MEICurves2(chart) {
    // Tables are defined without rows; the rows (and the nested clones) follow once every template
    // has its identifier.
    defineSoilParameters(*this);
    defineWallTables(*this);
    defineSoilAndLoadTables(*this);
    defineChartTables(*this);
    for (TGridTable* table : All()) {
        table->SetRowCount(table->MinRows());
        table->ResetChanged();
    }
}

std::array<TGridTable*, TProblemTables::kCount> TProblemTables::All() {
    return {&TblClay1,  &TblSand1,     &TblSilt1,      &TblRock1, &TblRock2,  &PileSect,  &Soillayer,
            &BoundCond, &SoilStrength, &TiebackTable1, &PYMod,    &DistLoad,  &LongDist,  &SurchargeTable,
            &NewSoil,   &LongSoil,     &PYCurve2,      &Rows2,    &PYCurves2, &MEICurves2};
}

std::array<const TGridTable*, TProblemTables::kCount> TProblemTables::All() const {
    std::array<const TGridTable*, kCount> tables{};
    const auto mutableTables = const_cast<TProblemTables*>(this)->All();
    for (std::size_t i = 0; i < kCount; ++i)
        tables[i] = mutableTables[i];
    return tables;
}

void TProblemTables::ResetForNewProblem() {
    // English first, so the fresh defaults are not converted afterwards.
    SetUnits(1);
    for (TGridTable* table : All()) {
        if (!table->IsChart()) {
            table->SetRowCount(0);
            table->SetRowCount(table->MinRows());
        }
        table->ResetChanged();
    }
}

void TProblemTables::SetUnits(int units) {
    for (TGridTable* table : All())
        table->SetUnits(units);
}

}  // namespace app::model
