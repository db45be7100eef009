#include "app/model/table_import.h"

#include <gtest/gtest.h>

#include <limits>

#include "app/model/number_format.h"
#include "app/model/units.h"
#include "model_test_support.h"

namespace app::model {
namespace {

TEST(TableImport, LinesNumbersAndTheColumnCount) {
    EXPECT_EQ(ImportLines("0.1,200\r\n0.2 400\r\nabc\r\n"),
              (std::vector<std::string>{"0.1,200", "0.2 400", "abc"}));
    EXPECT_EQ(ImportLines("1 2\n3 4"), (std::vector<std::string>{"1 2", "3 4"}));  // last line kept
    EXPECT_EQ(ImportLines("a\rb\n\nc"), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(ImportNumbers(" 1.5\t-2e3 , 7"), (std::vector<long double>{1.5L, -2000.0L, 7.0L}));
    EXPECT_TRUE(ImportNumbers("1 two 3").empty());
    EXPECT_TRUE(ImportNumbers("1 inf").empty());
    EXPECT_TRUE(ImportNumbers("1 1e999").empty());  // beyond what a data file holds
    std::string sixteen;
    for (int k = 1; k <= 16; ++k)
        sixteen += std::to_string(k) + " ";
    EXPECT_EQ(ImportNumbers(sixteen).size(), 15u);  // at most fifteen a line

    testsupport::Problem p;
    EXPECT_EQ(ImportColumnCount(p.tables.PYCurve2), 2);
    EXPECT_EQ(ImportColumnCount(p.tables.PYCurves2), 3);  // node and two multipliers, not the curve sets
}

TEST(TableImport, FillsMatchingLinesAndDeletesTheRest) {
    testsupport::Problem p;
    TGridTableChart& curve = p.tables.PYCurve2;
    curve.SetRowCount(5);
    ASSERT_EQ(ImportRows(curve, ImportLines("0.1,200\r\n0.2 400\r\nabc\r\n")), 2);
    ASSERT_EQ(curve.RowCount(), 2);
    EXPECT_EQ(curve.Column(0).FloatAt(1), 0.2L);
    EXPECT_EQ(curve.Column(1).FloatAt(0), 200.0L);

    // Rows are added as needed, up to MaxRows (17).
    std::string many;
    for (int k = 0; k < 25; ++k)
        many += std::to_string(k) + " " + std::to_string(10 * k) + "\n";
    EXPECT_EQ(ImportRows(curve, ImportLines(many)), 17);
    EXPECT_EQ(curve.RowCount(), 17);
    EXPECT_EQ(curve.Column(1).FloatAt(16), 160.0L);

    // Nothing that fits: the table stays as it was.
    EXPECT_EQ(ImportRows(curve, ImportLines("1 2 3\n4\nx y\n")), 0);
    EXPECT_EQ(curve.RowCount(), 17);
    EXPECT_EQ(curve.Column(0).FloatAt(3), 3.0L);

    // An integer column skips a line with a fractional value there.
    TGridTableChart& sets = p.tables.PYCurves2;
    EXPECT_EQ(ImportRows(sets, ImportLines("2.5 1 1\n4 0.8 1.2\n")), 1);
    EXPECT_EQ(sets.Column(0).IntAt(0), 4);
}

TEST(TableImport, AxisNumberFormats) {
    EXPECT_FALSE(ScientificAxis(0, 100000));
    EXPECT_TRUE(ScientificAxis(0, 100001));
    EXPECT_TRUE(ScientificAxis(-250000, 10));
    EXPECT_TRUE(ScientificAxis(0.0002L, 0.0009L));
    EXPECT_FALSE(ScientificAxis(0, 0));
    EXPECT_FALSE(ScientificAxis(0.0005L, 0.5L));
    EXPECT_EQ(FormatAxisNumber(1234567.891L, false), "1,234,567.891");
    EXPECT_EQ(FormatAxisNumber(-1500.25L, false), "-1,500.25");
    EXPECT_EQ(FormatAxisNumber(0.00049L, false), "0");
    EXPECT_EQ(FormatAxisNumber(999.9996L, false), "1,000");
    EXPECT_EQ(FormatAxisNumber(150000, true), "1.5E5");
    EXPECT_EQ(FormatAxisNumber(0.000234567L, true), "2.346E-4");
    EXPECT_EQ(FormatAxisNumber(-3e6L, true), "-3.0E6");
    EXPECT_EQ(FormatAxisNumber(1e300L, true), "1.0E300");
    EXPECT_EQ(FormatAxisNumber(1e-300L, true), "1.0E-300");
    // A value that is no number is named, not a fault.
    EXPECT_EQ(FormatAxisNumber(std::numeric_limits<long double>::infinity(), true), "Inf");
    EXPECT_EQ(FormatAxisNumber(-std::numeric_limits<long double>::infinity(), false), "-Inf");
    EXPECT_EQ(FormatAxisNumber(std::numeric_limits<long double>::quiet_NaN(), true), "NaN");
}

TEST(TablePreview, FlatCurveAndTheThirdColumn) {
    testsupport::Problem p;
    TGridTableChart& curve = p.tables.PYCurve2;
    curve.SetRowCount(3);
    for (int r = 0; r < 3; ++r) {
        curve.Column(0).SetFloat(r, r);
        curve.Column(1).SetFloat(r, 50);
    }
    TPreview flat = PreviewCurves(curve);
    ASSERT_EQ(flat.Curves.size(), 1u);
    EXPECT_EQ(flat.Curves[0].Name, "Soil Resistance, p");
    EXPECT_EQ(flat.XTitle, "Lateral Deflection, y (*)");
    EXPECT_EQ(flat.Curves[0].Points[1].second, 50 * 1.001L);  // the second point a hair higher
    EXPECT_EQ(flat.Curves[0].Points[2].second, 50);
    EXPECT_EQ(flat.YMin, 45);
    EXPECT_EQ(flat.YMax, 55);
    EXPECT_EQ(flat.XMin, 0);
    EXPECT_EQ(flat.XMax, 2);

    curve.Column(1).SetFloat(2, -20);
    TPreview sloped = PreviewCurves(curve);
    EXPECT_EQ(sloped.Curves[0].Points[1].second, 50);
    EXPECT_EQ(sloped.YMin, -20);
    EXPECT_EQ(sloped.YMax, 50);

    // Three data columns over column 0: a second curve named by its column.
    TGridTableRegistry registry;
    TGridTableChart three(registry);
    for (const char* caption : {"Depth", "Moment", "Shear"}) {
        auto& column = three.AddColumn<TFloatColumn>(kFloatColumn);
        column.Captions() = {caption};
    }
    three.SetMinRows(2);
    three.SetRowCount(2);
    three.Column(2).SetFloat(1, 7);
    TGraphicParameters graphic;
    graphic.ShowGraph = true;
    three.SetGraphicParameters(graphic);
    TPreview two = PreviewCurves(three);
    ASSERT_EQ(two.Curves.size(), 2u);
    EXPECT_EQ(two.Curves[0].Name, "Moment");
    EXPECT_EQ(two.Curves[1].Name, "Shear");
    EXPECT_EQ(two.Curves[1].Points[1].second, 7);
    EXPECT_EQ(two.YMax, 7);  // both curves on one axis; the flat rule is for a single curve
    EXPECT_EQ(two.Curves[0].Points[1].second, 0);
}

TEST(EditUnitText, OnlyTheFirstForceAndLengthFormsAreReplaced) {
    EXPECT_EQ(EditUnitText("F/L2^2", kUnitsEnglish), "lbs/ft^2");
    EXPECT_EQ(EditUnitText("F/L2^2", kUnitsSI), "kN/m^2");
    EXPECT_EQ(EditUnitText("L2", kUnitsEnglish), "ft");
    EXPECT_EQ(EditUnitText("L", kUnitsSI), "m");
    EXPECT_EQ(EditUnitText("deg.", kUnitsEnglish), "deg.");
    EXPECT_EQ(EditUnitText("F/L2^2", kUnitsOther), "F/L2^2");
    // Where the table labels replace every token, the field replaces only the first form found.
    EXPECT_EQ(EditUnitText("F1-L2/L", kUnitsEnglish), "kips-ft/L");
    EXPECT_EQ(UnitText("F1-L2/L", kUnitsEnglish), "kips-ft/in");
}

}  // namespace
}  // namespace app::model
